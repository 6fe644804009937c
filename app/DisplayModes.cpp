#include "app/DisplayModes.h"

#include <algorithm>
#include <optional>

#include "app/DisplayRules.h"
#include "app/PlaybackControl.h"
#include "app/PlayerView.h"
#include "engine/SlaveCommands.h"

namespace orvella {

namespace {
constexpr const char* kWindowBars[] = {"titlebar", "toolbar", "sliderbar"};
}  // namespace

void DisplayModes::ShowWindowBars(bool show) {
    for (const char* bar : kWindowBars) m_view.ShowControl(bar, show);
}

void DisplayModes::ShowPlaylistPanel(bool show) {
    m_playback.SetPlaylistPanelShown(show);
    m_view.ShowControl("playlistbar", show);
    m_view.ShowControl("expandbar", show);
}

void DisplayModes::HideTopBar() {
    if (m_topBar && m_topBar->TopBarExists()) m_topBar->HideTopBar();
}

void DisplayModes::ToggleFullScreen() {
    if (m_state.fullScreen) {
        LeaveFullScreen();
    } else {
        EnterFullScreen();
    }
}

void DisplayModes::EnterFullScreen() {
    HWND window = m_view.Handle();
    if (m_state.fullScreen || !window) return;
    m_state.fullScreen = true;
    // A maximised window comes back as the rectangle it restores to.
    GetWindowRect(window, &m_state.savedRect);
    m_state.savedInset = m_view.ControlInset("main");
    // The window manager's own full-screen state, so that panels and docks step aside.
    platform::GetBackend().SetFullScreen(window, true);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindowBars(false);
    m_state.savedPanel = m_playback.PlaylistPanelShown();
    ShowPlaylistPanel(false);
    m_view.SetControlInset("main", RECT{0, 0, 0, 0});
    HideTopBar();
}

void DisplayModes::RestoreMainInset() {
    const RECT& saved = m_state.savedInset;
    if (saved.left || saved.top || saved.right || saved.bottom) {
        m_view.SetControlInset("main", saved);
    } else if (m_view.SkinIndex() == 1) {
        m_view.SetControlInset("main", RECT{6, 0, 6, 4});
    }
}

void DisplayModes::LeaveFullScreen() { QuitFullScreen(true); }

void DisplayModes::TakeNewLayout() {
    if (!m_state.fullScreen) {
        m_state.savedInset = RECT{};
        return;
    }
    m_state.savedInset = m_view.ControlInset("main");
    m_view.SetControlInset("main", RECT{0, 0, 0, 0});
}

void DisplayModes::QuitFullScreen(bool restoreRect) {
    HWND window = m_view.Handle();
    if (!window) return;
    // Also when only the window manager thinks it is full screen: the bars come back.
    const bool wasOurs = m_state.fullScreen;
    m_state.fullScreen = false;
    ShowWindowBars(true);
    platform::GetBackend().SetFullScreen(window, false);
    if (wasOurs) {
        const RECT& r = m_state.savedRect;
        const HWND band = m_state.topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
        if (restoreRect) {
            // The rectangle from before, wherever the window manager put the window since.
            SetWindowPos(window, band, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
            ShowWindow(window, SW_SHOW);
        } else {
            SetWindowPos(window, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        RestoreMainInset();
        // The play list beside the video comes back as it was.
        if (m_state.savedPanel) ShowPlaylistPanel(true);
    }
    HideTopBar();
}

void DisplayModes::ToggleTopmost() {
    HWND window = m_view.Handle();
    if (!window) return;
    m_state.topmost = !m_state.topmost;
    SetWindowPos(window, m_state.topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void DisplayModes::ResizeToFactor(float factor) {
    m_state.sizeFactor = std::clamp(factor, kSmallestSizeFactor, kLargestSizeFactor);
    m_state.fittedSize = SIZE{};
    HWND window = m_view.Handle();
    if (!window) return;
    // Out of full screen into the new size: the old rectangle is not wanted back.
    if (m_state.fullScreen) QuitFullScreen(false);
    const MediaInfo& media = m_playback.Media();
    // The size the picture is shown at, where the engine told it (a wide DVD is wider
    // than its stored frame).
    const int width = media.displayWidth > 0 ? media.displayWidth : media.videoWidth;
    const int height = media.displayHeight > 0 ? media.displayHeight : media.videoHeight;
    if (width > 0 && height > 0 && !media.audioOnly) {
        const RECT work = m_view.WorkArea();
        // The play list beside the video takes its own width; the video keeps its size.
        const int panel = m_playback.PlaylistPanelShown()
                              ? m_view.ControlWidth("playlistbar") + m_view.ControlWidth("expandbar")
                              : 0;
        const SIZE size = WindowSizeForFactor(width, height, m_state.sizeFactor, m_view.SkinIndex(),
                                              work.right - work.left - panel, work.bottom - work.top);
        m_view.ResizeKeepingPosition(size.cx + panel, size.cy);
        RECT now{};
        GetWindowRect(window, &now);
        m_state.fittedSize = SIZE{now.right - now.left, now.bottom - now.top};
    }
    HideTopBar();
}

void DisplayModes::ChangeSize(long step) {
    if (std::optional<float> factor = SizeFactorAfterStep(m_state.sizeFactor, step)) {
        ResizeToFactor(*factor);
    }
}

void DisplayModes::Zoom(bool larger) { ResizeToFactor(ZoomedSizeFactor(m_state.sizeFactor, larger)); }

void DisplayModes::SetAspect(long choice) {
    const MediaInfo& media = m_playback.Media();
    const int width = media.videoWidth, height = media.videoHeight;
    if (choice != 0 && choice != 3 && choice != 7) return;
    m_state.aspectChoice = static_cast<int>(choice);
    if (std::optional<double> ratio = AspectRatioForChoice(choice, width, height)) {
        m_playback.Slave().Send(slave::SwitchRatio(*ratio));
    }
}

void DisplayModes::ShowBottomBars(bool show) {
    if (!m_state.fullScreen) return;
    m_view.ShowControl("toolbar", show);
    m_view.ShowControl("sliderbar", show);
}

void DisplayModes::FitTopBar(int mediaWidth) {
    if (m_topBar && m_topBar->TopBarExists()) m_topBar->SetTopBarWidth(mediaWidth);
}

}  // namespace orvella
