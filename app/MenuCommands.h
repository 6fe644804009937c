// The menu command dispatcher: the name of a chosen menu item to its action. First the
// items whose names carry an argument (DVD tracks, titles and chapters, discs,
// languages), found by a part of their name; then the fixed names, each to one action.
// It keeps no state: what it changes lives in the settings, the display modes, playback
// and the play list; the rest of the window is reached through MenuCommandHost.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace orvella {

class ChildWindows;
class DisplayModes;
class PlaybackControl;
class PlayerSettings;
class PlayerView;
class Playlist;
class PlaylistControl;

// What the dispatcher needs of the main window beyond its collaborators.
class MenuCommandHost {
public:
    virtual ~MenuCommandHost() = default;
    virtual void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void ShowMainWindow() = 0;
    // Into the tray, or iconified where there is none.
    virtual void MinimizeMainWindow() = 0;
    // The address bar over the start picture, in the window's background colour.
    virtual void OpenUrlBar() = 0;
    // The open context menu, if any, goes.
    virtual void CloseContextMenu() = 0;
    virtual void OpenHelp() = 0;
    // Steps of windows and subsystems that come later.
    virtual void OpenSettingsWindow(bool playerPage) = 0;
    virtual void OpenFileInfoWindow() = 0;
    virtual void StartUpdateCheck() = 0;
    // The disc chosen in the disc menu ("MOVIE(/media/cdrom)") plays once it is mounted
    // and looked at; this returns before that, while the menu is still closing.
    virtual void OpenDisc(const std::string& disc) = 0;
};

class MenuCommands {
public:
    MenuCommands(PlayerView& view, PlayerSettings& settings, PlaybackControl& playback,
                 const Playlist& entries, PlaylistControl& playlist, DisplayModes& display,
                 ChildWindows& dialogs, MenuCommandHost& host)
        : m_view(view), m_settings(settings), m_playback(playback), m_entries(entries),
          m_playlist(playlist),
          m_display(display), m_dialogs(dialogs), m_host(host) {}

    void Dispatch(const std::string& name);
    // An action of the keyboard table ("Pause", "Forward0", ...); false for a name that
    // is none.
    bool RunHotkeyAction(const std::string& action);

    // Whether the item's name is one the dispatcher has an action for.
    static bool IsCommand(const std::string& name);
    // The number after the last "_" of an item name; 0 when it is not a number.
    static int NumberAfterLastUnderscore(const std::string& name);

    enum class Action;

private:
    bool DispatchArgumentItem(const std::string& name);
    void Run(Action action, double value);
    void ChooseAspect(int choice, double ratio);
    void ChangeVolume(int steps);
    void ToggleMute();
    void TogglePlaylistBar();
    void OpenAddressBar();
    void SetPlaySequence(int sequence);

    PlayerView& m_view;
    PlayerSettings& m_settings;
    PlaybackControl& m_playback;
    const Playlist& m_entries;
    PlaylistControl& m_playlist;
    DisplayModes& m_display;
    ChildWindows& m_dialogs;
    MenuCommandHost& m_host;
};

// ShortPath: the path as the engine is to be given it. Linux has no short names.
inline std::string ShortPath(const std::string& path) { return path; }

}  // namespace orvella
