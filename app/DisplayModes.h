// The display modes of the main window: full screen, topmost, the size factor and the
// picture's aspect, and the bars that come and go over the video in full screen. Reaches
// the window through PlayerView and its native handle; the full-screen top bar through
// TopBarHost.
#pragma once

#include "platform/Platform.h"

namespace orvella {

class PlayerView;
class PlaybackControl;

// What the display modes need of the full-screen top bar.
class TopBarHost {
public:
    virtual ~TopBarHost() = default;
    virtual bool TopBarExists() const = 0;
    virtual void HideTopBar() = 0;
    virtual void SetTopBarWidth(int width) = 0;
};

struct DisplayState {
    bool fullScreen = false;
    bool topmost = false;
    RECT savedRect{};      // the window before full screen
    RECT savedInset{};     // the inset of "main" before full screen
    bool savedPanel = false;  // the play list beside the video before full screen
    float sizeFactor = 1.0f;
    SIZE fittedSize{};     // the window's size when last fitted to the video at sizeFactor
    int aspectChoice = 0;  // 0 the video's own, 3 for 4:3, 7 for 16:9
};

class DisplayModes {
public:
    DisplayModes(PlayerView& view, PlaybackControl& playback) : m_view(view), m_playback(playback) {}

    void SetTopBar(TopBarHost* bar) { m_topBar = bar; }
    const DisplayState& State() const { return m_state; }

    void ToggleFullScreen();
    void EnterFullScreen();
    void LeaveFullScreen();
    void ToggleTopmost();

    // The window fitted to the video at this factor (kept within 0.5 … 4.0).
    void ResizeToFactor(float factor);
    // A size step from the settings window or a menu: 1 doubles, -1 halves, 0 is 1.0.
    void ChangeSize(long step);
    void Zoom(bool larger);
    // An aspect choice (0, 3 or 7) for the engine; other choices change nothing.
    void SetAspect(long choice);
    // The aspect the menus mark, for a ratio the caller sends itself (0 automatic, 1-10).
    void SetAspectChoice(int choice) { m_state.aspectChoice = choice; }

    // The bars below the video come back while the pointer is at the bottom edge in
    // full screen.
    void ShowBottomBars(bool show);
    // The video area moved or changed size: the top bar follows its width.
    void FitTopBar(int mediaWidth);

    // A layout rebuilt under a window that stays (skin or language change): in full
    // screen the video keeps the whole window, and leaving it brings back the new
    // layout's own margins, not the old one's.
    void TakeNewLayout();

private:
    void ShowWindowBars(bool show);
    void ShowPlaylistPanel(bool show);
    // Out of full screen into a window with its bars and play list back; the rectangle
    // from before only when asked.
    void QuitFullScreen(bool restoreRect);
    void HideTopBar();
    void RestoreMainInset();

    PlayerView& m_view;
    PlaybackControl& m_playback;
    TopBarHost* m_topBar = nullptr;
    DisplayState m_state;
};

}  // namespace orvella
