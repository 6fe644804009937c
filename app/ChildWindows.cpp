#include "app/ChildWindows.h"

#include "app/PlayerWnd.h"
#include "ui/AboutWnd.h"
#include "ui/CheckUpdateWnd.h"
#include "ui/FacadeWnd.h"
#include "ui/FileInfoWnd.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MenuUI.h"
#include "ui/MenuWnd.h"
#include "ui/QuestionTexts.h"
#include "ui/QuestionWnd.h"
#include "ui/SettingsWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {

namespace {
constexpr int kTopBarHeight = 20;
}  // namespace

ChildWindows::~ChildWindows() { CloseAll(); }

SkinWindowOwner ChildWindows::Owner(HWND opener) const {
    SkinWindowOwner owner;
    owner.hwnd = opener && IsWindow(opener) ? opener : m_main.GetHWND();
    owner.notifier = &m_main;
    owner.paintManager = m_main.GetPaintManager();
    owner.language = m_main.GetLanguage();
    owner.skinIndex = m_main.GetSkinIndex();
    return owner;
}

void ChildWindows::OpenAbout() {
    if (!m_main.GetPaintManager()) return;
    OpenSkinWindow(m_about, Owner());
    TellFacadeOfOpenWindows();
}

void ChildWindows::CloseAbout() { CloseSkinWindow(m_about, FacadeManager()); }

void ChildWindows::AskQuestion(int kind, const std::string& detail, HWND opener) {
    const QuestionPrompt* prompt = FindQuestionPrompt(kind);
    if (!prompt || !m_main.GetPaintManager()) return;
    const QuestionWords words = LocalQuestionWords(*prompt, detail);
    OpenSkinWindow(m_question, Owner(opener), [&](CQuestionWnd& window) {
        window.SetUp(kind, words.title, words.text, prompt->withCancel, words.ok, words.cancel);
    });
    TellFacadeOfOpenWindows();
}

void ChildWindows::CloseQuestion() { CloseSkinWindow(m_question, FacadeManager()); }

void ChildWindows::ShowUpdate(UpdateOutcome outcome, const ProgramVersion& own,
                              const ProgramVersion& remote) {
    if (!m_main.GetPaintManager()) return;
    m_lastUpdate = {outcome, own, remote};
    OpenSkinWindow(m_update, Owner(), [&](CCheckUpdateWnd& window) {
        window.ShowResult(outcome, own, remote);
    });
    TellFacadeOfOpenWindows();
}

void ChildWindows::ReopenUpdate() {
    ShowUpdate(m_lastUpdate.outcome, m_lastUpdate.own, m_lastUpdate.remote);
}

void ChildWindows::CloseUpdate() { CloseSkinWindow(m_update, FacadeManager()); }

CCheckUpdateWnd* ChildWindows::Update() {
    // The window manager may have closed it meanwhile.
    if (m_update && !CSkinWindow::IsAlive(m_update)) m_update = nullptr;
    return m_update;
}

CSettingsWnd* ChildWindows::OpenSettings(const SettingsValues& values, HotkeyBindings* hotkeys) {
    if (!m_main.GetPaintManager()) return nullptr;
    // The open window keeps what the user has edited in it; it only comes forward.
    if (CSettingsWnd* open = Settings()) {
        open->ShowWindow(true, true);
        return open;
    }
    CSettingsWnd* window = OpenSkinWindow(m_settings, Owner(), [&](CSettingsWnd& opened) {
        opened.SetValues(values);
        opened.SetHotkeys(hotkeys);
    });
    TellFacadeOfOpenWindows();
    return window;
}

CSettingsWnd* ChildWindows::Settings() {
    if (m_settings && !CSkinWindow::IsAlive(m_settings)) m_settings = nullptr;
    return m_settings;
}

void ChildWindows::CloseSettings() { CloseSkinWindow(m_settings, FacadeManager()); }

void ChildWindows::OpenFileInfo(const FileInfoRecord& record) {
    if (!m_main.GetPaintManager()) return;
    OpenSkinWindow(m_fileInfo, Owner(), [&](CFileInfoWnd& window) { window.SetUp(record); });
    TellFacadeOfOpenWindows();
}

CFileInfoWnd* ChildWindows::FileInfo() {
    if (m_fileInfo && !CSkinWindow::IsAlive(m_fileInfo)) m_fileInfo = nullptr;
    return m_fileInfo;
}

void ChildWindows::CloseFileInfo() { CloseSkinWindow(m_fileInfo, FacadeManager()); }

void ChildWindows::ShowFacade(POINT below, const std::string& background) {
    uilib::CPaintManagerUI* pm = m_main.GetPaintManager();
    if (!pm) return;
    if (!Facade()) {
        auto* facade = new CFacadeWnd();
        if (!CreateSkinWindow(facade, Owner())) return;
        m_facade = facade;
        facade->ShowColour(pm->GetMainBKColor());
        facade->ShowCurrent(background);
    }
    TellFacadeOfOpenWindows();
    m_facade->PaintManager().UseParentResource(pm);
    m_facade->ShowAt(below);
}

void ChildWindows::HideFacade() {
    if (Facade()) m_facade->ShowWindow(false, false);
}

void ChildWindows::CloseFacade() { CloseSkinWindow(m_facade); }

CFacadeWnd* ChildWindows::Facade() {
    // The window manager may have closed it meanwhile.
    if (m_facade && !CSkinWindow::IsAlive(m_facade)) m_facade = nullptr;
    return m_facade;
}

uilib::CPaintManagerUI* ChildWindows::FacadeManager() {
    return Facade() ? &m_facade->PaintManager() : nullptr;
}

void ChildWindows::TellFacadeOfOpenWindows() {
    uilib::CPaintManagerUI* facade = FacadeManager();
    if (!facade) return;
    CSkinWindow* open[] = {m_about, m_question, m_settings, m_topBar, m_update, m_fileInfo};
    for (CSkinWindow* window : open) {
        if (window && CSkinWindow::IsAlive(window)) facade->AddNotifier(window);
    }
}

void ChildWindows::ShowTopBar() {
    uilib::CPaintManagerUI* pm = m_main.GetPaintManager();
    uilib::CControlUI* media = pm ? pm->FindControl("media") : nullptr;
    if (!media) return;
    const RECT& area = media->GetPos();
    POINT corner{area.left, area.top};
    ClientToScreen(m_main.GetHWND(), &corner);
    if (!LiveTopBar()) {
        auto* bar = new CFullScreenTopBarWnd();
        bar->SetOwner(&m_main);
        if (!CreateSkinWindow(bar, Owner())) return;
        m_topBar = bar;
        TellFacadeOfOpenWindows();
    }
    SetWindowPos(m_topBar->GetHWND(), HWND_TOPMOST, corner.x, corner.y, area.right - area.left,
                 kTopBarHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_topBar->ShowWindow(true, false);
    m_topBar->ShowTopmostState(m_main.Display().State().topmost);
    m_topBar->ShowDvdButtons(m_main.Playback().IsDiscMode());
    CMenuUI::ResetMenuBarMode();
    CMenuWnd::CloseOpenPopupMenu();
    // Keys still go to the player.
    SetFocus(m_main.GetHWND());
}

CFullScreenTopBarWnd* ChildWindows::LiveTopBar() {
    // The window manager may have closed it meanwhile.
    if (m_topBar && !CSkinWindow::IsAlive(m_topBar)) m_topBar = nullptr;
    return m_topBar;
}

bool ChildWindows::TopBarExists() const { return m_topBar && CSkinWindow::IsAlive(m_topBar); }

void ChildWindows::HideTopBar() {
    if (LiveTopBar()) m_topBar->ShowWindow(false, false);
}

void ChildWindows::SetTopBarWidth(int width) {
    if (!LiveTopBar() || !m_topBar->GetHWND()) return;
    SetWindowPos(m_topBar->GetHWND(), nullptr, 0, 0, width, kTopBarHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool ChildWindows::AnswerEscape() {
    for (CSkinWindow* dialog : {static_cast<CSkinWindow*>(m_question), static_cast<CSkinWindow*>(m_about),
                                static_cast<CSkinWindow*>(Settings()), static_cast<CSkinWindow*>(Update()),
                                static_cast<CSkinWindow*>(FileInfo())}) {
        if (dialog && CSkinWindow::IsAlive(dialog) && IsWindowVisible(dialog->GetHWND()))
            return dialog->AnswerEscape();
    }
    return false;
}

namespace {
// Gone at once rather than at the next turn of the loop: the main window is going.
template <typename Window>
void DestroyNow(Window*& slot) {
    if (slot && CSkinWindow::IsAlive(slot) && slot->GetHWND()) DestroyWindow(slot->GetHWND());
    slot = nullptr;
}
}  // namespace

void ChildWindows::CloseAll() {
    DestroyNow(m_facade);
    DestroyNow(m_about);
    DestroyNow(m_question);
    DestroyNow(m_topBar);
    DestroyNow(m_settings);
    DestroyNow(m_update);
    DestroyNow(m_fileInfo);
}

void ChildWindows::AdoptResources(uilib::CPaintManagerUI& from, uilib::CPaintManagerUI& to) {
    // Every user of the old manager, whichever window it belongs to (menus, tooltips and
    // windows built later included): none may keep a pointer into the one that goes.
    from.HandResourceUsersTo(&to);
}

}  // namespace orvella
