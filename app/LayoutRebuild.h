// The one rebuild of the main window's layout, for a language switch and a skin switch
// alike. The native window, the engine and its video window stay; the paint manager and
// the layout are replaced, every collaborator holding controls is bound to the new ones,
// and what the user saw (bars, buttons, sliders, texts, the open dialogs) comes back.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace uilib {
class CPaintManagerUI;
}

namespace orvella {

class ChildWindows;
class DisplayModes;
class MainWindowView;
class PlaybackControl;
class Playlist;
class PlayerSettings;

// ---- pure parts, tested directly -------------------------------------------------

// Where the window goes once its layout was rebuilt. Nothing playing: at its place, at
// the new layout's initial size. Playing: the size stays, grown to the new layout's least
// size where that is larger (the paint manager would grow it there anyway). Full screen
// or maximised (pinned): the rectangle stays as it is. A zero initial size keeps the size.
RECT RebuiltWindowRect(const RECT& before, SIZE initSize, SIZE leastSize, bool playing, bool pinned);

// The background a skin switch gives the window: "ocean" for skin 1, "gear" for 0.
const char* BackgroundOfSkin(int skinIndex);

// What a named control of the main layout showed, to show it again in the new layout.
struct CarriedControl {
    std::string name;
    bool visible = true;
    bool enabled = true;
    std::optional<std::string> text;  // only for the controls whose text the player sets
    std::optional<int> value;         // sliders
};
std::vector<CarriedControl> CaptureControls(uilib::CPaintManagerUI& pm);
void ApplyControls(uilib::CPaintManagerUI& pm, const std::vector<CarriedControl>& controls);

// ---- the routine -------------------------------------------------------------------

// The main window's own steps of a rebuild.
class LayoutRebuildHost {
public:
    virtual ~LayoutRebuildHost() = default;
    // The window's paint manager now.
    virtual uilib::CPaintManagerUI* CurrentPaintManager() = 0;
    // Puts next in place and hands back the old one, still alive.
    virtual std::unique_ptr<uilib::CPaintManagerUI> SwapPaintManager(
        std::unique_ptr<uilib::CPaintManagerUI> next) = 0;
    // Every pointer into the layout that is about to go is let go.
    virtual void ForgetLayoutControls() = 0;
    // main.xml of the skin and language now, built into pm; false when it cannot be.
    virtual bool BuildMainLayout(uilib::CPaintManagerUI& pm) = 0;
    // Every collaborator holding controls bound to the layout of the window's manager.
    virtual void BindMainLayout() = 0;
    // The background picture named in the settings.
    virtual void ApplyBackground() = 0;
    // The window's icon, drop target, tray record and version (not the update check).
    virtual void PrepareWindowExtras() = 0;
    virtual void OpenSettingsWindow(bool playerPage) = 0;
    // Filled again from what is known of the media now.
    virtual void OpenFileInfoWindow() = 0;
};

class LayoutRebuild {
public:
    LayoutRebuild(LayoutRebuildHost& host, MainWindowView& view, PlayerSettings& settings,
                  PlaybackControl& playback, const Playlist& playlist, DisplayModes& display,
                  ChildWindows& dialogs)
        : m_host(host), m_view(view), m_settings(settings), m_playback(playback),
          m_playlist(playlist), m_display(display), m_dialogs(dialogs) {}

    // "changeskin" comes inside a notification of the skin window, which the rebuild
    // destroys: the index is kept and the rebuild posted. Only 0 and 1 name a skin.
    void RequestSkin(int skinIndex);
    // WM_RELOAD_LAYOUT arrived: the skin asked for, else the language now.
    void OnReloadMessage();

private:
    void Run(std::optional<int> skinIndex);

    LayoutRebuildHost& m_host;
    MainWindowView& m_view;
    PlayerSettings& m_settings;
    PlaybackControl& m_playback;
    const Playlist& m_playlist;
    DisplayModes& m_display;
    ChildWindows& m_dialogs;
    std::optional<int> m_pendingSkin;
};

}  // namespace orvella
