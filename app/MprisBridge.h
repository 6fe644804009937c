// The player as the desktop's media controls see it (MPRIS 2): what their calls come to
// in the player's own commands, and what they read of the player. The rules are small
// pure functions; MprisBridge runs them for the main window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MediaControls.h"

namespace orvella {

class PlaybackControl;
class Playlist;

// Posted to the main window when a controller's calls wait (MprisBridge::RunRequests).
constexpr UINT WM_MEDIA_CONTROL = WM_USER + 133;

// What the rules need to know of the player now.
struct PlayerNow {
    bool engineRunning = false, paused = false;
    int volume = 0;  // 0-100
    size_t entries = 0, current = 0;
    std::string path, title;  // of the current entry; empty when there is none
    double position = 0.0, length = 0.0;  // seconds; 0 while nothing plays or not known
};

namespace mpris {

constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

int64_t Micros(double seconds);
// An object path that stays the entry's own wherever it moves in the list.
std::string TrackId(const std::string& path);
// A path as a "file://" address; an address ("http://...") as it is.
std::string AddressOf(const std::string& path);
platform::MediaPlayerState StateOf(const PlayerNow& now);
// The names of the properties that differ, in a fixed order.
std::vector<std::string> ChangedProperties(const platform::MediaPlayerState& before,
                                           const platform::MediaPlayerState& after);

const std::vector<std::string>& UriSchemes();
// What a controller's address opens: a "file://" address as its local path, an address of
// another scheme the player reads as it is; empty for anything else.
std::string PlayableAddress(const std::string& uri);

// What a controller's call comes to: a menu item or a keyboard action that runs as if
// chosen, a seek, a volume, something to open, or nothing.
struct Command {
    enum class Type { None, MenuItem, KeyAction, SeekTo, Volume, Open };
    Type type = Type::None;
    std::string name;     // MenuItem, KeyAction: its name; Open: the path or address
    double seconds = 0;   // SeekTo
    int volume = 0;       // Volume: 0-100
    bool operator==(const Command& o) const {
        return type == o.type && name == o.name && seconds == o.seconds && volume == o.volume;
    }
};
Command CommandFor(const platform::MediaRequest& request, const PlayerNow& now);

}  // namespace mpris

// What the bridge needs of the main window.
class MprisHost {
public:
    virtual ~MprisHost() = default;
    virtual void RunMenuCommand(const std::string& name) = 0;
    virtual void RunKeyAction(const std::string& action) = 0;
    // As a file, folder or address given on the command line.
    virtual void OpenArgument(const std::string& pathOrAddress) = 0;
    virtual void ShowVolume(int volume) = 0;
};

class MprisBridge {
public:
    MprisBridge(PlaybackControl& playback, const Playlist& playlist, MprisHost& host)
        : m_playback(playback), m_playlist(playlist), m_host(host) {}
    ~MprisBridge() { Withdraw(); }
    MprisBridge(const MprisBridge&) = delete;
    MprisBridge& operator=(const MprisBridge&) = delete;

    // Offers the player to the desktop (again: only the window changes); calls arrive as
    // `message` to hwnd.
    void Offer(HWND hwnd, UINT message);
    void Withdraw();
    // The calls that came, each run as its command.
    void RunRequests();
    // After anything that may have changed the player: what changed is announced.
    void Follow();

private:
    PlayerNow Now() const;

    PlaybackControl& m_playback;
    const Playlist& m_playlist;
    MprisHost& m_host;
    platform::MediaControls* m_controls = nullptr;
    platform::MediaPlayerState m_published;
    int m_seeksSeen = 0;
};

}  // namespace orvella
