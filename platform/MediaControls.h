// The desktop's media controls (MPRIS 2 on the session bus): panel applets, lock screens
// and the media keys the desktop itself takes drive the player through them. The backend
// carries calls in and state out; what they mean for the player is the program's to say.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {

// One call of a controller, as it came.
struct MediaRequest {
    enum class Kind { Raise, Quit, Play, Pause, PlayPause, Stop, Next, Previous, Seek, SetPosition, OpenUri, SetVolume };
    Kind kind = Kind::Play;
    int64_t microseconds = 0;  // Seek: the offset; SetPosition: the position
    double volume = 0.0;       // SetVolume: as the controller gave it (1.0 is full)
    std::string text;          // SetPosition: the track id; OpenUri: the address
};

// What the controllers read of the entry that plays.
struct MediaTrack {
    std::string id;            // an object path; the "no track" path when there is none
    int64_t lengthMicros = 0;  // 0: not known
    std::string title, url;
    bool operator==(const MediaTrack& o) const {
        return id == o.id && lengthMicros == o.lengthMicros && title == o.title && url == o.url;
    }
};

// What the controllers read of the player; the position is asked for when read.
struct MediaPlayerState {
    std::string status = "Stopped";  // "Playing", "Paused" or "Stopped"
    double volume = 1.0;
    MediaTrack track;
    bool canGoNext = false, canGoPrevious = false, canPlay = false, canPause = false, canSeek = false;
};

// What the player opens: the address schemes and the MIME types of its files.
struct MediaFormats {
    std::vector<std::string> uriSchemes, mimeTypes;
};

class MediaControls {
public:
    using PositionSource = std::function<int64_t()>;  // microseconds

    virtual ~MediaControls() = default;
    // Offers the player to the controllers. Each call is queued for TakeRequests and
    // `message` posted to hwnd; without a session bus, or with the name taken by another
    // player, nothing fails: the player is offered under a name of its own or not at all.
    virtual void Offer(HWND hwnd, UINT message, const MediaFormats& formats, PositionSource position) = 0;
    virtual void Withdraw() = 0;
    virtual std::vector<MediaRequest> TakeRequests() = 0;
    // The state now; the properties named in `changed` are announced as changed.
    virtual void Publish(const MediaPlayerState& state, const std::vector<std::string>& changed) = 0;
    // The position jumped (a seek, not the next entry).
    virtual void AnnounceSeek(int64_t positionMicros) = 0;
};

}  // namespace platform
