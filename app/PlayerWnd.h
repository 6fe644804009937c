// The player's main window: its creation, the routing of its window messages, its
// notifications and the two ways it ends.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ChildWindows.h"
#include "app/DiscOpening.h"
#include "app/DisplayModes.h"
#include "app/LayoutRebuild.h"
#include "app/MainWindowView.h"
#include "app/MemorySaver.h"
#include "app/MenuCommands.h"
#include "app/MenuState.h"
#include "app/MprisBridge.h"
#include "app/PlaybackControl.h"
#include "app/PlaylistControl.h"
#include "app/PlaylistView.h"
#include "app/PlayMemoryReader.h"
#include "app/FileAssociations.h"
#include "app/SettingsEffects.h"
#include "app/StartupRules.h"
#include "app/UpdateCheck.h"
#include "hotkeys/HotkeyBindings.h"
#include "library/PlayerSettings.h"
#include "library/SettingsFileParts.h"
#include "library/SettingsHost.h"
#include "playlist/Playlist.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MenuWnd.h"
#include "uilib/Control.h"
#include "uilib/WindowWnd.h"

namespace orvella {

class IMenuItemStates;

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
    platform::TrayKind kind = platform::TrayKind::None;  // where it shows, once added
};
constexpr uint32_t NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4;

class CPlayerWnd : public uilib::CWindowWnd,
                   public uilib::INotifyUI,
                   public SettingsHost,
                   public IMenuCommandRunner,
                   private MenuCommandHost,
                   private MprisHost,
                   private LayoutRebuildHost {
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
    uilib::CPaintManagerUI* GetPaintManager() const { return m_pm.get(); }
    const std::string& GetDataFolder() const { return m_dataFolder; }
    const std::string& GetLanguage() const { return m_settings.language; }
    int GetSkinIndex() const { return m_settings.skinindex; }
    const PlayerSettings& GetSettings() const { return m_settings; }
    const HotkeyBindings& GetHotkeys() const { return m_hotkeys; }
    const std::string& GetLayoutFile() const { return m_layoutFile; }
    const std::string& GetCurrentMediaPath() const { return m_playback.CurrentMediaPath(); }
    const TrayIconRecord& GetTrayIcon() const { return m_trayIcon; }
    const ProgramVersion& GetVersion() const { return m_version; }

    // The collaborators: playback, the play list and its commands.
    PlaybackControl& Playback() { return m_playback; }
    PlaylistControl& PlaylistCommands() { return m_playlistControl; }
    DiscOpening& Discs() { return m_discs; }
    Playlist& PlaylistModel() { return m_playlist; }
    const PlaylistView& PlaylistRows() const { return m_playlistRows; }
    DisplayModes& Display() { return m_display; }
    ChildWindows& Dialogs() { return m_dialogs; }
    const UpdateCheck& Updates() const { return m_updates; }
    MemorySaver& PlayMemorySaver() { return m_memorySaver; }

    const MediaInfo& GetMediaInfo() const { return m_playback.Media(); }
    CCmdMplayer* GetEngine() const { return m_playback.Engine(); }
    // Every command to the engine goes through here (guarded, escaped, state kept).
    CSlaveCommands& Slave() { return m_playback.Slave(); }
    bool IsEngineRunning() const { return m_playback.IsEngineRunning(); }
    bool PlayMemoryPending() const { return m_deferredMemory || m_memoryReader.Waiting(); }
    bool IsDiscMode() const { return m_playback.IsDiscMode(); }
    bool LaunchEngine() { return m_playback.LaunchEngine(); }
    void RestartEngine() { m_playback.RestartEngine(); }
    void StopEngine() { m_playback.StopEngine(); }
    void SetCurrentMediaPath(const std::string& path) { m_playback.SetCurrentMediaPath(path); }
    // Test seam: "-vo"/"-ao" replacements ("null") for engines started by tests.
    void SetEngineOutputsForTesting(const std::string& vo, const std::string& ao) {
        m_playback.SetEngineOutputsForTesting(vo, ao);
    }
    bool IsReleased() const { return m_released; }

    // Test seam: the program folder the layouts and the engine are found in (default
    // GetAppPath()).
    void SetProgramFolder(const std::string& folder) {
        m_programFolder = folder;
        m_playback.SetProgramFolder(folder);
    }
    // A command of the menus, by its item name.
    void RunMenuCommand(const std::string& command) override {
        m_menuCommands.Dispatch(command);
        m_settingsEffects.Refresh();
        m_mpris.Follow();  // also when it came from another window
    }
    MenuOwner MenuOwnerForTopBar() override { return MenuOwnerInfo(); }
    // What the menus mark and enable, as the player is now.
    MenuState CurrentMenuState() const;
    // The same for the menu window, which keeps it while it and its submenus are open;
    // the engine is asked what plays, for the marks of the disc menu.
    std::shared_ptr<const IMenuItemStates> MenuItemStates();
    // The window's tray icon, or iconified where no tray exists.
    void MinimizeWindow();

private:
    using NotifyHandlerFn = void (CPlayerWnd::*)(uilib::TNotifyUI&);
    struct NotifyRoute {
        const char* type;
        const char* sender;  // the sender's name, or null for any sender
        NotifyHandlerFn handler;
    };
    static const NotifyRoute kNotifyRoutes[];

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
    LRESULT OnShowWindow(WPARAM, LPARAM, bool& handled);
    LRESULT OnScreenSettle(WPARAM, LPARAM, bool& handled);
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
    LRESULT OnDiscMounted(WPARAM, LPARAM, bool& handled);
    LRESULT OnFoldersWalked(WPARAM, LPARAM, bool& handled);
    LRESULT OnEngineEventMessage(WPARAM, LPARAM, bool& handled);
    LRESULT OnEngineFence(WPARAM, LPARAM, bool& handled);
    LRESULT OnReloadLayout(WPARAM, LPARAM, bool& handled);
    LRESULT OnOpenWebPage(WPARAM, LPARAM, bool& handled);
    LRESULT OnShowQuestion(WPARAM, LPARAM, bool& handled);
    LRESULT OnPlaylistFile(WPARAM, LPARAM, bool& handled);
    LRESULT OnUpdateAvailable(WPARAM, LPARAM, bool& handled);
    LRESULT OnUpdateCurrent(WPARAM, LPARAM, bool& handled);
    LRESULT OnUpdateFailed(WPARAM, LPARAM, bool& handled);
    LRESULT OnClosePopupMenu(WPARAM, LPARAM, bool& handled);
    LRESULT OnPress(WPARAM, LPARAM, bool& handled);
    LRESULT OnMediaControl(WPARAM, LPARAM, bool& handled);
    LRESULT OnPlayMemoryRead(WPARAM, LPARAM, bool& handled);

    LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);
    void ReportFirstFrame();

    // Creation steps that run again whenever the main layout is rebuilt.
    bool BuildMainLayout(uilib::CPaintManagerUI& pm) override;
    void BindMainLayout() override;
    void PrepareWindowExtras() override;
    // LayoutRebuildHost
    uilib::CPaintManagerUI* CurrentPaintManager() override { return m_pm.get(); }
    std::unique_ptr<uilib::CPaintManagerUI> SwapPaintManager(
        std::unique_ptr<uilib::CPaintManagerUI> next) override {
        m_pm.swap(next);
        return next;
    }
    void ForgetLayoutControls() override;
    void ApplyBackground() override { m_settings.ApplyBackground(*this); }
    void OnWindowInit();
    void ReleaseAll();
    void ApplyWindowRegion();
    void UpdateCaptionButtonsForZoom(bool zoomed);

    // Settings, hotkeys and play memory in "settings.xml" of the data folder.
    void ReadEarlySettings();
    void LoadSettings(bool firstLoad);
    void SaveSettings();

    // What reading the settings does to the window.
    void ReadPlayMemory(const XmlDocument& document) override;
    // The play memory is read on a worker while the command line's file starts.
    bool ReadsPlayMemoryApart() const override { return true; }
    void StartPlayMemory(std::shared_ptr<const std::string> file, bool rewrite) override;
    // What waits until the command line's file shows its first picture (or fails, or a
    // second has passed; at once without a file), so that it never competes with the
    // engine's start: the play memory's worker and the first start's file types.
    void FinishDeferredStart();
    void StartDeferredPlayMemory();
    void OnEngineEventForDeferredStart(WPARAM code);
    // Applies the memory read apart once it is in (waiting for it when not yet); `playing`:
    // the player goes on, so an entry that plays may start again at its resume point.
    void TakePlayMemory(bool playing);
    void TellDamagedSettings();
    void WritePlayMemory(XmlDocument& document) override;
    void ShowVolume(int volume) override;
    void ShowMute(bool mute) override;
    // The scheme colour: this window, the open menu, and remembered.
    void ApplyColor(uint32_t argb) override;
    void ApplyBackgroundImage(const std::string& image) override;
    void ReportDamagedSettings(const std::string& where) override;
    // Left until the first picture is on its way: the slowest step of a first start.
    void RunFirstStartAssociation(bool associate) override { m_firstStartAssociation = associate; }

    // Notifications of the layout's controls, in the order of kNotifyRoutes.
    void OnWindowInitNotify(uilib::TNotifyUI& msg);
    void OnDvdMouseMove(uilib::TNotifyUI& msg);
    void OnVideoClicked(uilib::TNotifyUI& msg);
    void OnVideoContextMenu(uilib::TNotifyUI& msg);
    void OnFullScreenNotify(uilib::TNotifyUI& msg);
    void OnShowTopBar(uilib::TNotifyUI& msg);
    void OnHideTopBar(uilib::TNotifyUI& msg);
    void OnBottomBars(uilib::TNotifyUI& msg);
    void OnMediaMoved(uilib::TNotifyUI& msg);
    void OnVideoResizing(uilib::TNotifyUI& msg);
    void OnVideoResized(uilib::TNotifyUI& msg);
    void OnPlaylistItemClick(uilib::TNotifyUI& msg);
    void OnPositionSliderMoved(uilib::TNotifyUI& msg);
    void OnVolumeSliderMoved(uilib::TNotifyUI& msg);
    void OnPositionSliderReleased(uilib::TNotifyUI& msg);
    void OnPositionSliderHover(uilib::TNotifyUI& msg);
    void OnPositionSliderLeft(uilib::TNotifyUI& msg);
    void OnSeekComboSelect(uilib::TNotifyUI& msg);
    void OnFileComboSelect(uilib::TNotifyUI& msg);
    void OnClickNotify(uilib::TNotifyUI& msg);
    void OnShowMenuNotify(uilib::TNotifyUI& msg);
    void OnMenuSelectedNotify(uilib::TNotifyUI& msg);
    void OnPlaylistRightClick(uilib::TNotifyUI& msg);
    void OnClick(uilib::CControlUI* sender);
    bool InDvdMenu() const;
    void ShowUrlBar();
    // Plays the typed address (nothing changes for an empty one); either way the bar goes.
    void PlayUrlBarAddress();
    void CloseUrlBar();
    void OnUrlEditKey(uilib::TNotifyUI& msg);
    // Notifications of the program's other windows (one of the window-note table's rows).
    void OnWindowNote(int note, uilib::TNotifyUI& msg);
    // The skin, settings and top bar windows go before the main window closes.
    void CloseChildWindows();
    void RemoveTrayIcon();
    // Iconified or hidden: the screen need not stay on for a video nobody sees.
    void FollowWindowShown();
    // WM_SHOW_QUESTION: the question window for a kind (0: clear the play list?).
    void ShowQuestion(WPARAM kind, LPARAM argument);

    // Steps that later parts of the program fill in.
    void StartUpdateCheck() override { StartUpdateCheck(true); }  // the help menu's
    void StartUpdateCheck(bool manual) { m_updates.Start(manual, m_version, m_hWnd, m_dataFolder); }
    void OpenSettingsWindow(bool playerPage) override { m_settingsEffects.Open(playerPage); }
    void OpenFileInfoWindow() override;    // filled with what is known of the media now
    void OpenDisc(const std::string& disc) override { m_discs.OpenDrive(disc); }
    void CloseContextMenu() override;      // the open context menu goes
    // Every action the live key table binds to the key with the modifiers held now;
    // true when at least one ran.
    bool DispatchHotkey(WPARAM key);
    bool FocusedListKey(WPARAM key);
    void ShowTrayMenu();
    void ShowVideoContextMenu();           // the right button on the video
    void ShowPlaylistContextMenu();        // the right button on the play list
    MenuOwner MenuOwnerInfo();
    bool IsFromOwnMenu(uilib::CControlUI* sender) const;
    void OpenMenuOf(uilib::CControlUI* button);  // a menu button's popup menu
    void OnMenuReleased() {}               // the popup menu closed
    // The skin and colour window, shown just below the button.
    void OpenSkinWindow(uilib::CControlUI* button);
    void CloseSkinWindowOfMain() { m_dialogs.CloseFacade(); }
    void ReloadLayoutInSkin(int skinIndex) { m_rebuild.RequestSkin(skinIndex); }
    // The title bar's picture of an index 0-8, remembered as the background; any other
    // index changes nothing.
    void ApplyShading(int picture);
    void OnSettingsNotification(uilib::TNotifyUI& msg) { m_settingsEffects.OnNotification(msg); }
    void CloseSettingsWindow() { m_dialogs.CloseSettings(); }
    void CloseFileInfoWindow() { m_dialogs.CloseFileInfo(); }
    void CloseUpdateWindow() { m_dialogs.CloseUpdate(); }
    // A check's answer (the version as the message carries it), shown when its origin wants it.
    void ShowUpdateWindow(UpdateOutcome outcome, WPARAM version, LPARAM build);
    void OpenWebPage(WPARAM which);
    // Help and web pages open in the desktop's browser; without one a question says so.
    void OpenPage(const std::string& address);
    void OpenHelp() override;
    // MenuCommandHost
    void PostToMain(UINT message, WPARAM wParam, LPARAM lParam) override {
        PostMessage(message, wParam, lParam);
    }
    void ShowMainWindow() override;
    void MinimizeMainWindow() override { MinimizeWindow(); }
    void OpenUrlBar() override { ShowUrlBar(); }
    void PlayStartupArgument();            // plays the command-line arguments
    // MprisHost
    void RunKeyAction(const std::string& action) override;
    void OpenArgument(const std::string& argument) override;

    // Owned for the window's life
    std::unique_ptr<uilib::CPaintManagerUI> m_pm;
    bool m_released = false;
    std::shared_ptr<char> m_alive = std::make_shared<char>();  // gone with the window
    CMenuWnd* m_ownMenu = nullptr;  // the last menu this window opened; trusted only while it is the open popup menu
    bool m_settingsSaved = false;  // written once on the way out, whichever way that is
    bool m_firstFrameReported = false;
    std::vector<std::string> m_args;
    std::string m_programFolder;

    // Caption buttons, cached at "windowinit" and recognised by identity
    uilib::CControlUI* m_closeButton = nullptr;
    uilib::CControlUI* m_maxButton = nullptr;
    uilib::CControlUI* m_restoreButton = nullptr;
    uilib::CControlUI* m_minButton = nullptr;

    PlayerSettings m_settings;
    HotkeyBindings m_hotkeys;
    std::string m_layoutFile;
    std::string m_dataFolder;
    std::string m_damagedSettings;  // where a damaged settings file is kept, until told
    bool m_windowInitDone = false;
    std::unique_ptr<SettingsFileParts> m_settingsFile;  // read once, until the full read
    bool m_rewriteSettings = false;
    std::shared_ptr<const std::string> m_deferredMemory;  // the file, until its worker starts
    std::optional<bool> m_firstStartAssociation;  // a damaged file is replaced once the memory is in
    bool m_wasZoomed = false;

    // The collaborators, in the order they need each other.
    MainWindowView m_view;
    Playlist m_playlist;
    PlaylistView m_playlistRows{m_playlist};
    PlaybackControl m_playback{m_view, m_settings, m_playlist};
    PlaylistControl m_playlistControl{m_view, m_settings, m_playlist, m_playlistRows, m_playback};
    MemorySaver m_memorySaver{m_view, m_settings, m_hotkeys, m_playback, m_playlist, m_playlistControl,
                              m_dataFolder, [this] { return m_pm ? m_pm->GetMainBKColor() : m_settings.color; }};
    DisplayModes m_display{m_view, m_playback};
    ChildWindows m_dialogs{*this};
    DiscOpening m_discs{m_view, m_playback, m_playlist, m_playlistControl, m_dialogs};
    SettingsEffects m_settingsEffects{m_settings, m_playback, m_display, m_dialogs, m_hotkeys,
                                     m_dataFolder};
    MenuCommands m_menuCommands{m_view,     m_settings, m_playback, m_playlist,
                                m_playlistControl, m_display, m_dialogs, *this};
    MprisBridge m_mpris{m_playback, m_playlist, *this};
    LayoutRebuild m_rebuild{*this, m_view, m_settings, m_playback, m_playlist, m_display, m_dialogs};
    TrayIconRecord m_trayIcon;
    ProgramVersion m_version;
    UpdateCheck m_updates;
    PlayMemoryReader m_memoryReader;
};

// The window handle kept program-wide (the popup windows and the update thread use it).
HWND GetMainWindowHandle();
void SetMainWindowHandle(HWND hwnd);

}  // namespace orvella
