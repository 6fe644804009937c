// The main window's side of the settings window: it opens the window with the values of
// the player as they are, applies what the window reports (engine commands, display
// modes, the settings record, a restart where a launch option changed), and keeps the
// open window showing what the menus and the keys change.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "ui/SettingsRules.h"

namespace uilib {
struct TNotifyUI;
}

namespace orvella {

class ChildWindows;
class CSlaveCommands;
class DisplayModes;
class HotkeyBindings;
class PlaybackControl;
class PlayerSettings;

// The preferences as the settings record holds them, and back.
PlayerPreferences PreferencesOf(const PlayerSettings& settings, bool subtitlesInScreenshots);
void StorePreferences(const PlayerPreferences& p, PlayerSettings& settings);

// How much the engine's on-screen display shows (0-3), from the menu or the settings
// window alike: kept for the next start and the menu marks, and sent to the running engine.
void ChooseOsdLevel(int level, PlayerSettings& settings, CSlaveCommands& slave);

class SettingsEffects {
public:
    SettingsEffects(PlayerSettings& settings, PlaybackControl& playback, DisplayModes& display,
                    ChildWindows& dialogs, HotkeyBindings& hotkeys, const std::string& dataFolder)
        : m_settings(settings), m_playback(playback), m_display(display), m_dialogs(dialogs),
          m_hotkeys(hotkeys), m_dataFolder(dataFolder) {}

    // Opens the window (or brings the open one forward), on the player's page when asked.
    void Open(bool playerPage);
    // The player's values now, as the window shows them.
    SettingsValues CurrentValues() const;
    // A menu command or a key may have changed what the open window shows.
    void Refresh();
    // A notification of the settings window; false for any other.
    bool OnNotification(const uilib::TNotifyUI& msg);
    // The user said yes to restoring the defaults in the open window.
    void RestoreDefaults();

private:
    void Ask(int kind, const std::string& detail = std::string());
    void AskAboutTakenKey(WPARAM action);
    void SeekTo(WPARAM seconds);
    void Crop(WPARAM filterText);
    void ChangeColour(WPARAM value, LPARAM kind);
    void ChangeDelay(bool subtitle, WPARAM direction, LPARAM step);
    void ChangeSubtitleFont(WPARAM direction);
    void SetSnapshotFolder(WPARAM folder);
    void ApplyPreferences(WPARAM record);

    PlayerSettings& m_settings;
    PlaybackControl& m_playback;
    DisplayModes& m_display;
    ChildWindows& m_dialogs;
    HotkeyBindings& m_hotkeys;
    const std::string& m_dataFolder;  // where the handlers the file types had are kept
};

}  // namespace orvella
