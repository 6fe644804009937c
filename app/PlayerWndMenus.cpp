// The main window's side of the menus: the snapshot they mark their items from, and the
// window steps their commands ask for.
#include "app/PlayerWnd.h"

#include "app/PlayerMenuStates.h"
#include "app/WebPages.h"
#include "ui/FileInfoTexts.h"
#include "ui/QuestionTexts.h"
#include "ui/MenuUI.h"
#include "ui/SkinWindow.h"
#include "uilib/Base.h"
#include "uilib/PaintManager.h"

namespace orvella {

MenuState CPlayerWnd::CurrentMenuState() const {
    MenuStateSources sources;
    sources.backgroundColour = m_pm ? m_pm->GetMainBKColor() : 0;
    sources.rotation = m_playback.Rotation();
    sources.dvdNavigation = m_playback.IsDvdNavigation();
    sources.keepPlayMemory = m_playlistControl.SavesPlaylistAtExit();
    sources.sortOrder = m_playlist.SortMode();
    sources.muted = m_playback.SlaveStateRef().mute;
    sources.playlistShown = m_playback.PlaylistPanelShown();
    RECT window{};
    if (m_hWnd) GetWindowRect(m_hWnd, &window);
    sources.windowSize = SIZE{window.right - window.left, window.bottom - window.top};
    sources.programFolder = uilib::GetAppPath();
    // The engine's tables are copied under its lock; none while no engine runs.
    std::optional<MediaTables> tables = m_playback.RunningTables();
    if (tables) {
        tables->chapters = m_playback.Engine()->GetChapters();
        sources.engineTables = &*tables;
    }
    return BuildMenuState(m_settings, m_display.State(), sources);
}

std::shared_ptr<const IMenuItemStates> CPlayerWnd::MenuItemStates() {
    // The answers come while the user goes down to the submenu that shows them.
    m_playback.AskWhatPlays();
    const PlaybackControl* playback = &m_playback;
    auto whatPlays = [playback](MediaTables& tables) {
        CCmdMplayer* engine = playback->Engine();
        if (!engine || !playback->IsEngineRunning()) return;
        const MediaTables now = engine->GetTables();
        tables.currentAudio = now.currentAudio;
        tables.currentSubtitle = now.currentSubtitle;
        tables.currentChapter = now.currentChapter;
    };
    return std::make_shared<PlayerMenuStates>(CurrentMenuState(), whatPlays);
}

void CPlayerWnd::OpenFileInfoWindow() {
    const std::optional<MediaTables> tables = m_playback.RunningTables();
    m_dialogs.OpenFileInfo(MakeFileInfoRecord(m_playback.CurrentMediaPath(), m_playback.Media(),
                                              tables ? &*tables : nullptr));
}

MenuOwner CPlayerWnd::MenuOwnerInfo() {
    MenuOwner owner;
    owner.hwnd = m_hWnd;
    owner.notifier = this;
    owner.paintManager = m_pm.get();
    owner.language = m_settings.language;
    owner.skinIndex = m_settings.skinindex;
    owner.states = MenuItemStates();
    return owner;
}

void CPlayerWnd::OpenMenuOf(uilib::CControlUI* button) {
    if (!m_pm || !button) return;
    if (auto* menuButton = dynamic_cast<CMenuUI*>(button))
        m_ownMenu = CMenuWnd::OpenDropDown(MenuOwnerInfo(), menuButton);
}

bool CPlayerWnd::IsFromOwnMenu(uilib::CControlUI* sender) const {
    // A row of a menu this window opened (not one of the top bar's menus, which tell
    // the top bar and through it this window).
    if (!m_ownMenu || GetOpenPopupMenu() != m_ownMenu || !sender) return false;
    for (CMenuWnd* level = m_ownMenu; level; level = level->GetSubmenu()) {
        if (&level->PaintManager() == sender->GetManager()) return true;
    }
    return false;
}

namespace {
POINT PointerOnScreen() {
    POINT pt{0, 0};
    GetCursorPos(&pt);
    return pt;
}
}  // namespace

void CPlayerWnd::ShowVideoContextMenu() {
    if (m_pm) m_ownMenu = CMenuWnd::OpenContextMenu(MenuOwnerInfo(), "ID_MAIN_RIGHT_MENU", PointerOnScreen());
}

void CPlayerWnd::ShowPlaylistContextMenu() {
    if (m_pm) m_ownMenu = CMenuWnd::OpenContextMenu(MenuOwnerInfo(), "ID_PLAYLIST_RIGHT_MENU", PointerOnScreen());
}

void CPlayerWnd::ShowTrayMenu() {
    if (m_pm) m_ownMenu = CMenuWnd::OpenTrayMenu(MenuOwnerInfo(), PointerOnScreen());
}

void CPlayerWnd::CloseContextMenu() {
    // Chosen from inside the menu's own notification: it goes once that has returned.
    PostMessage(WM_CLOSE_POPUP_MENU, 0, 0);
}

void CPlayerWnd::ShowMainWindow() {
    // From the tray or the desktop's media controls: a minimised window comes back too.
    ::ShowWindow(m_hWnd, IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOW);
    ::SetFocus(m_hWnd);
}

void CPlayerWnd::OpenWebPage(WPARAM which) {
    const std::string address = WebPageAddress(static_cast<int>(which), m_playback.CurrentMediaPath(),
                                               std::string(uilib::GetAppPath()));
    if (!address.empty()) OpenPage(address);
}

void CPlayerWnd::OpenPage(const std::string& address) {
    // The user asked for the page: a desktop without a browser is told, not left silent.
    if (!platform::GetBackend().ShellOpen(address)) m_dialogs.AskQuestion(kNoBrowserQuestion, address);
}

}  // namespace orvella
