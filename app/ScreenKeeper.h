// The screen stays on while a video plays in a window the user can see: the screen
// saver and the display's idle blanking are held off through the platform, and let go
// on pause, stop, the end of the list, audio, minimising and exit.
#pragma once

#include "platform/Platform.h"

namespace orvella {

class PlayerView;
struct MediaInfo;

// Posted by a change that lets the screen go; see ScreenKeeper::Settle.
constexpr UINT WM_SCREEN_SETTLE = WM_USER + 160;

enum class PlayState { Stopped, Playing, Paused };
// Whether the media shows pictures; not known until the engine has said.
enum class HasVideo { NotKnown, Yes, No };

struct ScreenActivity {
    PlayState play = PlayState::Stopped;
    HasVideo video = HasVideo::NotKnown;
    bool minimised = false;  // iconified, or hidden behind the tray icon
};

HasVideo VideoOf(const MediaInfo& media);

// Whether the screen is to stay on; keptOn: whether it is now. Media not known yet keeps
// what is: the screen saver gets no moment between two videos, and an audio file never
// takes the screen.
bool KeepScreenOn(const ScreenActivity& now, bool keptOn);

class ScreenKeeper {
public:
    explicit ScreenKeeper(PlayerView& view) : m_view(view) {}
    ~ScreenKeeper();  // the screen goes with the player
    ScreenKeeper(const ScreenKeeper&) = delete;
    ScreenKeeper& operator=(const ScreenKeeper&) = delete;

    void FollowPlayback(PlayState play, HasVideo video);
    void FollowWindow(bool minimised);
    // WM_SCREEN_SETTLE: the step that let the screen go is over; what holds now decides.
    void Settle();
    bool KeepsOn() const { return m_on; }

private:
    void Follow();
    void Apply(bool on);

    PlayerView& m_view;
    ScreenActivity m_now;
    bool m_on = false;
    bool m_settlePosted = false;
};

}  // namespace orvella
