#include "app/PlayerWnd.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include "app/NotBuiltYet.h"
#include "app/WindowFrame.h"
#include "hotkeys/HotkeyText.h"
#include "library/LocalStrings.h"
#include "ui/ControlTreeDump.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/MediaUI.h"
#include "ui/QuestionTexts.h"
#include "ui/SkinWindow.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Progress.h"

namespace orvella {

using uilib::CControlUI;
using uilib::CPaintManagerUI;
using uilib::TNotifyUI;

namespace {
HWND g_mainWindow = nullptr;
constexpr uint32_t kTrayRecordSize = 956;
constexpr uint32_t kTrayIconId = 100;
}  // namespace

HWND GetMainWindowHandle() { return g_mainWindow; }
void SetMainWindowHandle(HWND hwnd) { g_mainWindow = hwnd; }

// The main window's message table: every message it handles itself, in one place.
const CPlayerWnd::MessageRoute CPlayerWnd::kMessageRoutes[] = {
    {WM_CREATE, &CPlayerWnd::OnCreate},
    {WM_DESTROY, &CPlayerWnd::OnDestroy},
    {WM_MOVE, &CPlayerWnd::OnMove},
    {WM_SIZE, &CPlayerWnd::OnSize},
    {WM_SHOWWINDOW, &CPlayerWnd::OnShowWindow},
    {WM_SCREEN_SETTLE, &CPlayerWnd::OnScreenSettle},
    {WM_GETMINMAXINFO, &CPlayerWnd::OnGetMinMaxInfo},
    {WM_HELP, &CPlayerWnd::OnHelp},
    {WM_TRAY_NOTIFY, &CPlayerWnd::OnTrayNotify},
    {WM_NCCALCSIZE, &CPlayerWnd::OnNcCalcSize},
    {WM_NCHITTEST, &CPlayerWnd::OnNcHitTest},
    {WM_NCACTIVATE, &CPlayerWnd::OnNcActivate},
    {WM_KEYDOWN, &CPlayerWnd::OnKeyDown},
    {WM_SYSKEYDOWN, &CPlayerWnd::OnKeyDown},
    {WM_SYSCOMMAND, &CPlayerWnd::OnSysCommand},
    {WM_TIMER, &CPlayerWnd::OnTimer},
    {WM_DEVICECHANGE, &CPlayerWnd::OnDeviceChange},
    {WM_DROPFILES, &CPlayerWnd::OnDropFiles},
    {WM_DISC_MOUNTED, &CPlayerWnd::OnDiscMounted},
    {WM_FOLDERS_WALKED, &CPlayerWnd::OnFoldersWalked},
    {WM_ENGINE_EVENT, &CPlayerWnd::OnEngineEventMessage},
    {WM_ENGINE_FENCE, &CPlayerWnd::OnEngineFence},
    {WM_RELOAD_LAYOUT, &CPlayerWnd::OnReloadLayout},
    {WM_OPEN_WEB_PAGE, &CPlayerWnd::OnOpenWebPage},
    {WM_SHOW_QUESTION, &CPlayerWnd::OnShowQuestion},
    {WM_PLAYLIST_FILE, &CPlayerWnd::OnPlaylistFile},
    {WM_UPDATE_AVAILABLE, &CPlayerWnd::OnUpdateAvailable},
    {WM_UPDATE_CURRENT, &CPlayerWnd::OnUpdateCurrent},
    {WM_UPDATE_FAILED, &CPlayerWnd::OnUpdateFailed},
    {WM_CLOSE_POPUP_MENU, &CPlayerWnd::OnClosePopupMenu},
    {WM_LBUTTONDOWN, &CPlayerWnd::OnPress},
    {WM_MEDIA_CONTROL, &CPlayerWnd::OnMediaControl},
    {WM_PLAY_MEMORY_READ, &CPlayerWnd::OnPlayMemoryRead},
};

CPlayerWnd::CPlayerWnd(std::vector<std::string> args)
    : m_pm(std::make_unique<CPaintManagerUI>()),
      m_args(std::move(args)),
      m_settings(std::string(), DefaultLanguage()) {
    m_playback.SetListener(&m_playlistControl);
    m_view.SetDisplayModes(&m_display);
    m_display.SetTopBar(&m_dialogs);
    m_playlist.SetObserver(&m_playlistRows);
}

CPlayerWnd::~CPlayerWnd() {
    SaveSettings();
    RemoveTrayIcon();  // the tray icon goes with the window
    ReleaseAll();
}

void CPlayerWnd::OnFinalMessage(HWND) { delete this; }

void CPlayerWnd::ReportFirstFrame() {
    // The start-up benchmark asks for this line; nobody else sets the variable.
    const char* wanted = std::getenv("ORVELLA_BENCH_FIRST_FRAME");
    if (!wanted || std::strcmp(wanted, "1") != 0) return;
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    long rssKb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char* line = nullptr;
        size_t cap = 0;
        while (getline(&line, &cap, f) > 0) {
            if (std::sscanf(line, "VmRSS: %ld", &rssKb) == 1) break;
        }
        std::free(line);
        std::fclose(f);
    }
    std::fprintf(stderr, "orvella-first-frame %lld %ld\n",
                 static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec, rssKb);
    std::fflush(stderr);
}

LRESULT CPlayerWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        LRESULT result = RouteMessage(msg, wParam, lParam);
        if (!m_firstFrameReported) {
            m_firstFrameReported = true;
            ReportFirstFrame();
        }
        if (m_pm) WriteControlTreeIfAsked(m_pm.get(), m_hWnd);
        return result;
    }
    // A close can delete this window while the message is routed.
    const std::weak_ptr<char> alive = m_alive;
    const LRESULT result = RouteMessage(msg, wParam, lParam);
    if (alive.expired()) return result;
    // Whatever the message changed reaches the desktop's media controls and the play
    // memory's saver.
    if (!m_released) {
        m_mpris.Follow();
        m_memorySaver.Wake();
    }
    return result;
}

LRESULT CPlayerWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // After the system close released everything, only the default handling is left:
    // nothing may reach the released paint manager.
    if (m_released) return CWindowWnd::HandleMessage(msg, wParam, lParam);
    for (const MessageRoute& route : kMessageRoutes) {
        if (route.message != msg) continue;
        bool handled = true;
        LRESULT result = (this->*route.handler)(wParam, lParam, handled);
        if (handled) return result;
        break;
    }
    return DefaultProcessing(msg, wParam, lParam);
}

LRESULT CPlayerWnd::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (m_pm && m_pm->MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

LRESULT CPlayerWnd::OnCreate(WPARAM, LPARAM, bool&) {
    LONG style = GetWindowLong(m_hWnd, GWL_STYLE);
    SetWindowLong(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG>(WS_CAPTION)) |
                                         static_cast<LONG>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    LONG exStyle = GetWindowLong(m_hWnd, GWL_EXSTYLE);
    SetWindowLong(m_hWnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG>(WS_EX_APPWINDOW));

    m_dataFolder = DataFolderPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    MakeFolders(m_dataFolder);  // a folder that cannot be made only means no settings file
    m_settings = PlayerSettings(ScreenshotFolderPath(platform::GetBackend().PicturesFolder()),
                                DefaultLanguage());
    // The engine works here while the screenshot folder does not exist yet.
    m_playback.SetSpareEngineFolder(m_dataFolder);

    m_pm->Init(m_hWnd);
    ReadEarlySettings();
    BuildMainLayout(*m_pm);
    BindMainLayout();
    SIZE initSize = m_pm->GetInitSize();
    SetWindowPos(m_hWnd, nullptr, 0, 0, initSize.cx, initSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    LoadSettings(true);
    // A play memory read apart is saved again only once it is in.
    if (!m_deferredMemory) m_memorySaver.Start();
    PrepareWindowExtras();
    // A file from the command line starts now rather than at the first show: the engine
    // needs only its video window, laid out here, and starting it is the slowest step
    // to the first picture.
    if (!m_args.empty()) {
        m_pm->UpdateLayout();
        PlayStartupArgument();
    }
    if (!m_playback.IsEngineRunning()) StartDeferredPlayMemory();
    else if (m_deferredMemory || m_firstStartAssociation) SetTimer(m_hWnd, TIMER_DEFERRED_START, 1000);
    // Once per start: a rebuilt layout asks the server nothing.
    if (m_settings.checkforupgrades) StartUpdateCheck(false);
    return 0;
}

bool CPlayerWnd::BuildMainLayout(CPaintManagerUI& pm) {
    const std::string folder =
        m_programFolder.empty() ? std::string(uilib::GetAppPath()) : m_programFolder;
    // A language without its own main layout yet falls back to English rather than
    // leaving the user an empty window.
    const std::string file = SkinLayoutFile(folder, m_settings.skinindex, m_settings.language, "main.xml");
    if (file.empty()) return false;
    uilib::CDialogBuilder builder;
    CDialogBuilderCallbackEx factory;
    CControlUI* root = builder.Create(file.c_str(), &factory, &pm);
    if (!root) {
        std::fprintf(stderr, "orvella: cannot build the layout %s: %s\n", file.c_str(),
                     builder.GetLastError().c_str());
        return false;
    }
    m_layoutFile = file;
    pm.AttachDialog(root);
    pm.AddNotifier(this);
    return true;
}

void CPlayerWnd::BindMainLayout() {
    m_view.Attach(m_hWnd, m_pm.get(), m_settings.skinindex);
    CControlUI* list = m_pm->FindControl("playlist");
    m_playlistRows.Bind(list ? static_cast<uilib::CListUI*>(list->GetInterface("List")) : nullptr);
    m_closeButton = m_pm->FindControl("closebtn");
    m_maxButton = m_pm->FindControl("maxbtn");
    m_restoreButton = m_pm->FindControl("restorebtn");
    m_minButton = m_pm->FindControl("minbtn");
}

void CPlayerWnd::ForgetLayoutControls() {
    m_playlistRows.Bind(nullptr);
    m_view.Attach(m_hWnd, nullptr, m_settings.skinindex);
    m_closeButton = m_maxButton = m_restoreButton = m_minButton = nullptr;
}

void CPlayerWnd::PrepareWindowExtras() {
    SetIcon(kAppIconResource);
    platform::GetBackend().DragAcceptFiles(m_hWnd, true);
    m_trayIcon = TrayIconRecord{};
    m_trayIcon.size = kTrayRecordSize;
    m_trayIcon.id = kTrayIconId;
    m_trayIcon.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_trayIcon.callbackMessage = WM_TRAY_NOTIFY;
    m_trayIcon.window = m_hWnd;
    m_trayIcon.iconPath = std::string(uilib::GetAppPath()) + "icon/orvella.png";
    m_version = ParseProgramVersion(kProgramVersion);
    g_mainWindow = m_hWnd;
}

LRESULT CPlayerWnd::OnDestroy(WPARAM wParam, LPARAM lParam, bool&) {
    m_playback.StopEngine();  // while the video window still exists
    m_mpris.Withdraw();
    RemoveTrayIcon();
    DiscardEngineEvents(m_hWnd);
    if (g_mainWindow == m_hWnd) g_mainWindow = nullptr;
    PostQuitMessage(0);
    return DefaultProcessing(WM_DESTROY, wParam, lParam);
}

LRESULT CPlayerWnd::OnMove(WPARAM, LPARAM, bool& handled) {
    // The top bar belongs over the video where it was: it goes when the window moves.
    if (m_dialogs.TopBarExists()) m_dialogs.HideTopBar();
    handled = false;
    return 0;
}

LRESULT CPlayerWnd::OnSize(WPARAM wParam, LPARAM, bool& handled) {
    ApplyWindowRegion();
    bool zoomed = wParam == SIZE_MAXIMIZED;
    if (wParam != SIZE_MINIMIZED && zoomed != m_wasZoomed) UpdateCaptionButtonsForZoom(zoomed);
    FollowWindowShown();
    handled = false;
    return 0;
}

void CPlayerWnd::ApplyWindowRegion() {
    if (!m_pm) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    RegionPlan plan =
        MainWindowRegion(client, m_pm->GetRoundCorner(), IsIconic(m_hWnd), m_display.State().fullScreen);
    if (plan.change != RegionChange::Keep) {
        platform::GetBackend().SetWindowRegion(m_hWnd, plan.region);
    }
}

LRESULT CPlayerWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam, bool&) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info) return 0;
    if (m_pm) m_pm->GetMinMaxInfo(info);
    RECT work = platform::GetBackend().GetWorkArea(m_hWnd);
    info->ptMaxPosition = POINT{0, 0};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
    return 0;
}

LRESULT CPlayerWnd::OnHelp(WPARAM, LPARAM, bool&) {
    OpenHelp();
    return 0;
}

void CPlayerWnd::OpenHelp() { OpenPage(std::string(uilib::GetAppPath()) + "help/index.html"); }

LRESULT CPlayerWnd::OnNcCalcSize(WPARAM, LPARAM, bool&) { return 0; }

LRESULT CPlayerWnd::OnNcActivate(WPARAM wParam, LPARAM, bool&) { return wParam == 0 ? 1 : 0; }

LRESULT CPlayerWnd::OnNcHitTest(WPARAM, LPARAM lParam, bool& handled) {
    if (m_display.State().fullScreen || !m_pm) {
        handled = false;
        return 0;
    }
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(m_hWnd, &pt);
    RECT client;
    GetClientRect(m_hWnd, &client);
    CControlUI* under = m_pm->FindControl(pt);
    return MainWindowHitTest(client, pt, m_pm->GetCaptionRect().bottom,
                             under ? under->GetClass() : "");
}

LRESULT CPlayerWnd::OnKeyDown(WPARAM wParam, LPARAM, bool& handled) {
    // The open menu does not hold the keyboard: its keys arrive here.
    if (CMenuWnd::HandleMenuKey(static_cast<UINT>(wParam))) return 0;
    // An open dialog takes Escape even when the keys reach the player: never Minimize then.
    if (wParam == VK_ESCAPE && m_dialogs.AnswerEscape()) return 0;
    // Modifiers alone never trigger a hotkey. A key that ran an action is spent: the
    // focused control must not act on it a second time (Space on a focused button).
    const bool modifier = wParam == VK_SHIFT || wParam == VK_CONTROL || wParam == VK_MENU;
    handled = !modifier && (DispatchHotkey(wParam) || FocusedListKey(wParam));
    return 0;
}

bool CPlayerWnd::FocusedListKey(WPARAM key) {
    // The play list's own keys come after the hotkeys: a key the user bound wins.
    uilib::CControlUI* focus = m_pm ? m_pm->GetFocus() : nullptr;
    if (!focus || focus->GetName() != "playlist") return false;
    for (int vk : {VK_CONTROL, VK_MENU, VK_SHIFT})
        if (::GetKeyState(vk) & 0x8000) return false;
    return m_playlistControl.OnListKey(key);
}

namespace {
// Keys the focused control uses itself: whatever is typed into a text field (the address
// bar), the arrows, Home and End on a slider (the position slider seeks by them).
bool FocusTakesKey(uilib::CControlUI* focus, WPARAM key) {
    if (!focus || !focus->IsVisible()) return false;
    if (focus->GetInterface("Edit")) return true;
    static const WPARAM kSliderKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END};
    return focus->GetInterface("Slider") &&
           std::find(std::begin(kSliderKeys), std::end(kSliderKeys), key) != std::end(kSliderKeys);
}
}  // namespace

bool CPlayerWnd::DispatchHotkey(WPARAM key) {
    if (FocusTakesKey(m_pm ? m_pm->GetFocus() : nullptr, key)) return false;
    auto down = [](int vk) { return (::GetKeyState(vk) & 0x8000) != 0; };
    const HotkeyCode code =
        HotkeyCodeOf(static_cast<int>(key), down(VK_CONTROL), down(VK_MENU), down(VK_SHIFT));
    const std::vector<std::string> actions = ActionsForKey(m_hotkeys.Live(), code);
    for (const std::string& action : actions) m_menuCommands.RunHotkeyAction(action);
    if (!actions.empty()) m_settingsEffects.Refresh();
    return !actions.empty();
}

void CPlayerWnd::RunKeyAction(const std::string& action) {
    m_menuCommands.RunHotkeyAction(action);
    m_settingsEffects.Refresh();
}

LRESULT CPlayerWnd::OnSysCommand(WPARAM wParam, LPARAM lParam, bool&) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The system close: release everything and end the loop without destroying
        // the window first. What the user did is saved on this way out too.
        SaveSettings();
        ReleaseAll();
        PostQuitMessage(0);
        return 0;
    }
    bool zoomedBefore = IsZoomed(m_hWnd);
    LRESULT result = CWindowWnd::HandleMessage(WM_SYSCOMMAND, wParam, lParam);
    bool zoomedAfter = IsZoomed(m_hWnd);
    if (zoomedBefore != zoomedAfter) UpdateCaptionButtonsForZoom(zoomedAfter);
    return result;
}

void CPlayerWnd::UpdateCaptionButtonsForZoom(bool zoomed) {
    m_wasZoomed = zoomed;
    m_view.ShowControl("maxbtn", !zoomed);
    m_view.ShowControl("restorebtn", zoomed);
}

LRESULT CPlayerWnd::OnTimer(WPARAM wParam, LPARAM, bool& handled) {
    handled = false;
    if (m_playback.OnTimer(wParam) || m_memorySaver.OnTimer(wParam)) return 0;
    // Dialogs asked for from a menu or a key open once that handling has finished.
    switch (wParam) {
    case TIMER_OPEN_FILES:
        KillTimer(m_hWnd, wParam);
        m_playlistControl.OpenFilesDialog();
        break;
    case TIMER_OPEN_FOLDER:
        KillTimer(m_hWnd, wParam);
        m_discs.OpenFolder();
        break;
    case TIMER_LOAD_SUBTITLE:
        KillTimer(m_hWnd, wParam);
        m_playlistControl.LoadSubtitleFromDialog();
        break;
    case TIMER_DEFERRED_START: FinishDeferredStart(); break;
    default: break;
    }
    return 0;
}

LRESULT CPlayerWnd::OnDeviceChange(WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam == platform::DBT_DEVICEREMOVECOMPLETE && lParam)
        m_discs.OnDiscRemoved(*reinterpret_cast<const platform::RemovedDisc*>(lParam));
    return 0;
}

LRESULT CPlayerWnd::OnDropFiles(WPARAM wParam, LPARAM, bool&) {
    m_discs.OnDropFiles(wParam);
    return 0;
}

LRESULT CPlayerWnd::OnDiscMounted(WPARAM wParam, LPARAM, bool&) {
    m_discs.OnDiscMounted(wParam);
    return 0;
}

LRESULT CPlayerWnd::OnFoldersWalked(WPARAM wParam, LPARAM, bool&) {
    m_discs.OnFoldersWalked(wParam);
    return 0;
}

LRESULT CPlayerWnd::OnEngineEventMessage(WPARAM wParam, LPARAM lParam, bool&) {
    if (wParam > kLastEngineEvent) return 0;
    OnEngineEventForDeferredStart(wParam);
    return m_playback.OnEngineEvent(wParam, lParam);
}

LRESULT CPlayerWnd::OnEngineFence(WPARAM, LPARAM, bool&) {
    m_playback.OnEngineFence();
    return 0;
}

LRESULT CPlayerWnd::OnReloadLayout(WPARAM, LPARAM, bool&) {
    m_rebuild.OnReloadMessage();
    return 0;
}

LRESULT CPlayerWnd::OnOpenWebPage(WPARAM wParam, LPARAM, bool&) {
    OpenWebPage(wParam);
    return 0;
}

LRESULT CPlayerWnd::OnShowQuestion(WPARAM wParam, LPARAM lParam, bool&) {
    ShowQuestion(wParam, lParam);
    return 0;
}

LRESULT CPlayerWnd::OnPlaylistFile(WPARAM wParam, LPARAM, bool&) {
    if (wParam != 0) {
        m_playlistControl.SavePlaylistDialog();
    } else {
        m_playlistControl.LoadPlaylistDialog();
    }
    return 1;
}

LRESULT CPlayerWnd::OnUpdateAvailable(WPARAM wParam, LPARAM lParam, bool&) {
    ShowUpdateWindow(UpdateOutcome::Newer, wParam, lParam);
    return 0;
}

LRESULT CPlayerWnd::OnPress(WPARAM, LPARAM, bool& handled) {
    // A click outside the skin window puts it away, even where the window manager keeps
    // the focus on it.
    m_dialogs.HideFacade();
    handled = false;
    return 0;
}

LRESULT CPlayerWnd::OnClosePopupMenu(WPARAM, LPARAM, bool&) {
    CMenuWnd::CloseOpenPopupMenu();
    return 0;
}

LRESULT CPlayerWnd::OnUpdateCurrent(WPARAM wParam, LPARAM lParam, bool&) {
    ShowUpdateWindow(UpdateOutcome::Current, wParam, lParam);
    return 0;
}

LRESULT CPlayerWnd::OnUpdateFailed(WPARAM wParam, LPARAM lParam, bool&) {
    ShowUpdateWindow(UpdateOutcome::Failed, wParam, lParam);
    return 0;
}

void CPlayerWnd::ShowUpdateWindow(UpdateOutcome outcome, WPARAM version, LPARAM build) {
    const bool manual = m_updates.Finish();
    if (ShowsUpdateAnswer(outcome, manual))
        m_dialogs.ShowUpdate(outcome, m_version, UnpackVersion(version, build));
}

void CPlayerWnd::OnWindowInit() {
    // Once the window is on screen: nothing of it delays the first picture.
    m_mpris.Offer(m_hWnd, WM_MEDIA_CONTROL);
    DisableNotBuiltButtons(m_view);
    ShowVolume(m_settings.volume);
    m_windowInitDone = true;
    TellDamagedSettings();
    if (!m_playback.IsEngineRunning()) FinishDeferredStart();
}

void CPlayerWnd::PlayStartupArgument() {
    // Several files (a file manager's "open with" of a selection) all join the list in
    // their order, and the first plays.
    if (m_args.size() > 1) return m_playlistControl.OpenStartupFiles(m_args);
    OpenArgument(m_args.front());
}

void CPlayerWnd::OpenArgument(const std::string& argument) {
    // The whole path is kept, however long. A folder opens as a dropped one would.
    if (!m_discs.OpenStartupFolder(argument)) m_playlistControl.OpenStartupArgument(argument);
}

void CPlayerWnd::ReadEarlySettings() {
    // Read once for both reads; the play memory in it is left for later.
    m_settingsFile =
        std::make_unique<SettingsFileParts>(ReadSettingsFile(PlayerSettings::FilePath(m_dataFolder)));
    m_settings.skinindex = m_settings.ReadEarly(*m_settingsFile);
    // Only 0 and 1 name a skin folder; a hand-edited file must not leave an empty window.
    if (m_settings.skinindex != 0 && m_settings.skinindex != 1) m_settings.skinindex = 0;
    // "language" names a folder of the skin; anything else (a path, a folder removed
    // since) shows English rather than files from elsewhere or nothing.
    m_settings.language = SelectLanguage(uilib::GetAppPath(), m_settings.skinindex, m_settings.language);
}

void CPlayerWnd::LoadSettings(bool firstLoad) {
    if (!firstLoad || !m_settingsFile) return;  // later loads only re-apply what is in memory
    if (m_pm) m_settings.color = m_pm->GetMainBKColor();
    m_settings.ReadFull(m_dataFolder, *m_settingsFile, m_hotkeys.Live(), *this);
    m_settingsFile.reset();
    m_playback.TakeSoundSettings();
}

void CPlayerWnd::SaveSettings() {
    if (m_settingsSaved || m_dataFolder.empty()) return;
    m_settingsSaved = true;
    FinishDeferredStart();  // nothing remembered is lost by a close before it was in
    TakePlayMemory(false);
    if (!m_memorySaver.SaveFinal()) {
        std::fprintf(stderr, "orvella: cannot write the settings to %s\n",
                     PlayerSettings::FilePath(m_dataFolder).c_str());
    }
}

void CPlayerWnd::ShowVolume(int volume) {
    if (CControlUI* c = m_pm ? m_pm->FindControl("volumeslider") : nullptr) {
        if (auto* slider = static_cast<uilib::CProgressUI*>(c->GetInterface("Progress"))) {
            slider->SetValue(volume);
        }
    }
}

void CPlayerWnd::ShowMute(bool mute) { m_playback.SetMuteButtons(mute); }

void CPlayerWnd::ReadPlayMemory(const XmlDocument& document) {
    m_playlistControl.ReadPlayMemory(document);
}

void CPlayerWnd::WritePlayMemory(XmlDocument& document) {
    m_playlistControl.WritePlayMemory(document);
}

void CPlayerWnd::ReportDamagedSettings(const std::string& where) { m_damagedSettings = where; }

void CPlayerWnd::ReleaseAll() {
    m_updates.Stop();  // a stalled transfer ends now rather than hold up the exit
    m_mpris.Withdraw();
    // The engine goes before the window it draws into: a window destroyed under it
    // floods X errors and ends it without its exit line. StopEngine takes the video
    // window after it.
    m_playback.StopEngine();
    m_dialogs.CloseAll();
    ForgetLayoutControls();
    m_pm.reset();
    m_playlist.Clear();
    m_released = true;
}

}  // namespace orvella
