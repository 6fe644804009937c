// The player's main window: its creation, the routing of its window messages, its
// notifications and the two ways it ends.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/StartupRules.h"
#include "engine/CmdMplayer.h"
#include "engine/MediaInfo.h"
#include "engine/SlaveCommands.h"
#include "hotkeys/HotkeyBindings.h"
#include "library/PlayerSettings.h"
#include "library/SettingsHost.h"
#include "uilib/Control.h"
#include "uilib/WindowWnd.h"

namespace orvella {

struct PlaylistItem;   // the play list's entries come with the play list

// What the tray icon will show; prepared at creation, added when minimising to the tray.
struct TrayIconRecord {
    uint32_t size = 0;
    uint32_t id = 0;
    uint32_t flags = 0;
    UINT callbackMessage = 0;
    HWND window = nullptr;
    std::string iconPath;
    std::string tip;
    bool added = false;
};
constexpr uint32_t NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4;

class CPlayerWnd : public uilib::CWindowWnd,
                   public uilib::INotifyUI,
                   public SettingsHost,
                   public ISlaveListener {
public:
    // args: the command-line arguments after the program name.
    explicit CPlayerWnd(std::vector<std::string> args = {});
    ~CPlayerWnd() override;

    const char* GetWindowClassName() const override { return "UIMainFrame"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

    void NotifyFromWindow(uilib::TNotifyUI& msg) override;
    void Notify(uilib::TNotifyUI& msg) override;

    // Read access for tests and for the windows that come later.
    uilib::CPaintManagerUI* GetPaintManager() const { return m_pm; }
    const std::string& GetDataFolder() const { return m_dataFolder; }
    const std::string& GetLanguage() const { return m_settings.language; }
    int GetSkinIndex() const { return m_settings.skinindex; }
    const PlayerSettings& GetSettings() const { return m_settings; }
    const HotkeyBindings& GetHotkeys() const { return m_hotkeys; }
    const std::string& GetLayoutFile() const { return m_layoutFile; }
    const std::string& GetCurrentMediaPath() const { return m_currentMediaPath; }
    const TrayIconRecord& GetTrayIcon() const { return m_trayIcon; }
    const ProgramVersion& GetVersion() const { return m_version; }
    const MediaInfo& GetMediaInfo() const { return m_media; }
    CCmdMplayer* GetEngine() const { return m_engine.get(); }
    // Every command to the engine goes through here (guarded, escaped, state kept).
    CSlaveCommands& Slave() { return m_slave; }
    bool IsEngineRunning() const { return m_engineRunning; }
    bool IsDiscMode() const { return m_discMode; }

    // Starts the engine on the current media path, replacing any engine that runs.
    // True when it started (or when the layout has no video area); false for an empty
    // path or an engine that could not be started.
    bool LaunchEngine();
    // Re-launches the current media at the current position after a launch-time
    // setting changed; nothing when no engine runs.
    void RestartEngine();
    // Stops the engine (before the window it draws into goes) and forgets it.
    void StopEngine();
    // Where to play from (the command line, the play list, a disc).
    void SetCurrentMediaPath(const std::string& path) { m_currentMediaPath = path; }
    // Test seam: "-vo"/"-ao" replacements ("null") for engines started by tests.
    void SetEngineOutputsForTesting(const std::string& vo, const std::string& ao) {
        m_videoOutputOverride = vo;
        m_audioOutputOverride = ao;
    }
    bool IsReleased() const { return m_released; }

    // Test seam: the program folder the layouts are read from (default GetAppPath()).
    void SetProgramFolder(const std::string& folder) { m_programFolder = folder; }

private:
    using MessageHandlerFn = LRESULT (CPlayerWnd::*)(WPARAM, LPARAM, bool& handled);
    struct MessageRoute {
        UINT message;
        MessageHandlerFn handler;
    };
    static const MessageRoute kMessageRoutes[];

    // Message handlers; set handled = false to fall through to default processing.
    LRESULT OnCreate(WPARAM, LPARAM, bool& handled);
    LRESULT OnDestroy(WPARAM, LPARAM, bool& handled);
    LRESULT OnMove(WPARAM, LPARAM, bool& handled);
    LRESULT OnSize(WPARAM, LPARAM, bool& handled);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM, bool& handled);
    LRESULT OnHelp(WPARAM, LPARAM, bool& handled);
    LRESULT OnTrayNotify(WPARAM, LPARAM, bool& handled);
    LRESULT OnNcCalcSize(WPARAM, LPARAM, bool& handled);
    LRESULT OnNcHitTest(WPARAM, LPARAM, bool& handled);
    LRESULT OnNcActivate(WPARAM, LPARAM, bool& handled);
    LRESULT OnKeyDown(WPARAM, LPARAM, bool& handled);
    LRESULT OnSysCommand(WPARAM, LPARAM, bool& handled);
    LRESULT OnTimer(WPARAM, LPARAM, bool& handled);
    LRESULT OnDeviceChange(WPARAM, LPARAM, bool& handled);
    LRESULT OnDropFiles(WPARAM, LPARAM, bool& handled);
    LRESULT OnEngineEventMessage(WPARAM, LPARAM, bool& handled);
    LRESULT OnReloadLayout(WPARAM, LPARAM, bool& handled);
    LRESULT OnOpenWebPage(WPARAM, LPARAM, bool& handled);
    LRESULT OnShowQuestion(WPARAM, LPARAM, bool& handled);
    LRESULT OnPlaylistFile(WPARAM, LPARAM, bool& handled);
    LRESULT OnUpdateAvailable(WPARAM, LPARAM, bool& handled);
    LRESULT OnUpdateCurrent(WPARAM, LPARAM, bool& handled);

    LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);
    void ReportFirstFrame();

    // Creation steps that run again whenever the main layout is rebuilt.
    void BuildMainLayout();
    void PrepareWindowExtras();
    void OnWindowInit();
    void ReleaseAll();
    void ApplyWindowRegion();
    void UpdateCaptionButtonsForZoom(bool zoomed);

    // Settings, hotkeys and play memory in "settings.xml" of the data folder.
    void ReadEarlySettings();
    void LoadSettings(bool firstLoad);
    void SaveSettings();

    // What reading the settings does to the window.
    void ShowVolume(int volume) override;
    void ShowMute(bool mute) override;
    void ApplyColor(uint32_t argb) override;
    void ApplyBackgroundImage(const std::string& image) override;

    // What the engine commands change in the window.
    void OnPositionPoll(bool run) override;
    void OnMuteChanged(bool muted) override;
    void OnSubtitleFilesCleared() override;

    // Steps that later parts of the program fill in.
    void StartUpdateCheck() {}             // the update-check thread
    void DispatchHotkey(WPARAM key) {}     // the hotkey table
    void OnPlaybackTimer(WPARAM id) {}     // the position poll
    void OnDiscRemoved() {}                // the playing disc was removed
    void HandleDroppedFiles(WPARAM drop) {}
    LRESULT OnEngineEvent(WPARAM code, LPARAM payload);
    void LayOutForVideo() {}               // fit the window to the video (playback issue)
    void FinishPlayback() {}               // the start view again (playback issue)
    void ShowTrayMenu() {}
    void ShowQuestion(WPARAM kind, LPARAM argument) {}
    void PlaylistFile(bool save) {}
    void ShowUpdateWindow(bool newer, WPARAM version, LPARAM build) {}
    void OpenWebPage(WPARAM which) {}
    void ReloadLayoutInLanguage() {}      // WM_RELOAD_LAYOUT: rebuild in the current language
    void OpenHelp();
    void PlayStartupArgument();            // plays a single command-line argument
    void AddToPlaylist(const std::string& path) {}
    void MinimizeWindow();

    // Owned for the window's life
    uilib::CPaintManagerUI* m_pm = nullptr;
    bool m_released = false;
    bool m_settingsSaved = false;  // written once on the way out, whichever way that is
    bool m_firstFrameReported = false;
    std::vector<std::string> m_args;
    std::string m_programFolder;

    // Caption buttons, cached at "windowinit" and recognised by identity
    uilib::CControlUI* m_closeButton = nullptr;
    uilib::CControlUI* m_maxButton = nullptr;
    uilib::CControlUI* m_restoreButton = nullptr;
    uilib::CControlUI* m_minButton = nullptr;

    std::unique_ptr<CCmdMplayer> m_engine;
    MediaInfo m_media;
    SlaveState m_slaveState;
    CSlaveCommands m_slave{m_slaveState, this};
    bool m_discMode = false;
    bool m_resumeOnce = false;
    std::string m_videoOutputOverride, m_audioOutputOverride;
    std::vector<PlaylistItem*> m_playlist;

    PlayerSettings m_settings;
    HotkeyBindings m_hotkeys;
    std::string m_layoutFile;
    std::string m_dataFolder;
    std::string m_currentMediaPath;
    std::string m_discLabel;
    std::string m_cropText;
    int m_currentEntry = 0;
    int m_rotation = -1;
    bool m_startInFullScreen = true;
    bool m_engineRunning = false;
    bool m_paused = false;
    bool m_sliderDragging = false;
    bool m_afterSeek = false;
    bool m_fullScreen = false;
    bool m_mutedAtLaunch = false;
    bool m_subtitlesInScreenshots = true;
    bool m_wasZoomed = false;
    TrayIconRecord m_trayIcon;
    ProgramVersion m_version;
};

// The window handle kept program-wide (the popup windows and the update thread use it).
HWND GetMainWindowHandle();
void SetMainWindowHandle(HWND hwnd);

}  // namespace orvella
