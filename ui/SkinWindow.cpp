#include "ui/SkinWindow.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "library/LanguageFolders.h"
#include "ui/ControlTreeDump.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "uilib/Control.h"
#include "uilib/DialogBuilder.h"

namespace orvella {

namespace {

uilib::CWindowWnd* g_openPopupMenu = nullptr;

// Every window of the pattern alive now: a failed creation may or may not have
// deleted its object, and this is how the opener tells.
std::unordered_set<const CSkinWindow*>& LiveWindows() {
    static std::unordered_set<const CSkinWindow*> live;
    return live;
}

bool FileExists(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

LRESULT SkinWindowHitTest(const RECT& client, POINT pt, const RECT& captionMargins,
                          const std::string& classUnderPoint) {
    const RECT band{client.left + captionMargins.left, captionMargins.top,
                    client.right - captionMargins.right, captionMargins.bottom};
    const bool inBand =
        pt.x >= band.left && pt.x < band.right && pt.y >= band.top && pt.y < band.bottom;
    if (inBand && !classUnderPoint.empty() && classUnderPoint != "ButtonUI") return HTCAPTION;
    return HTCLIENT;
}

WindowRegion RoundedClientRegion(const RECT& client, SIZE roundCorner) {
    WindowRegion region;
    region.rect = client;
    if (roundCorner.cx <= 0 || roundCorner.cy <= 0) return region;
    region.rounded = true;
    region.rect.right += 1;
    region.rect.bottom += 1;
    region.cornerWidth = roundCorner.cx;
    region.cornerHeight = roundCorner.cy;
    return region;
}

std::string LayoutPath(const std::string& appPath, int skinIndex, const std::string& language,
                       const std::string& file) {
    const std::string folder = LanguagesFolder(appPath, skinIndex);
    if (folder.empty()) return folder;
    return folder + language + "/" + file;
}

std::string SkinLayoutFile(const std::string& programFolder, int skinIndex,
                           const std::string& language, const std::string& file) {
    std::string path = LayoutPath(programFolder, skinIndex, language, file);
    // A language without its own copy of this layout shows the English one rather than
    // an empty window.
    if (!path.empty() && language != "eng" && !FileExists(path)) {
        path = LayoutPath(programFolder, skinIndex, "eng", file);
    }
    return path;
}

uilib::CWindowWnd* GetOpenPopupMenu() { return g_openPopupMenu; }
void SetOpenPopupMenu(uilib::CWindowWnd* menu) { g_openPopupMenu = menu; }

CSkinWindow::CSkinWindow(const char* layoutFile, bool programControls)
    : m_pm(std::make_unique<uilib::CPaintManagerUI>()),
      m_layoutFile(layoutFile),
      m_programControls(programControls) {
    LiveWindows().insert(this);
}

CSkinWindow::~CSkinWindow() {
    LiveWindows().erase(this);
    // Other windows may tell this one (the skin window tells every open window of its
    // colour): none may keep telling it once it is gone.
    for (const CSkinWindow* other : LiveWindows()) other->m_pm->RemoveNotifier(this);
}

bool CSkinWindow::IsAlive(const CSkinWindow* obj) { return LiveWindows().count(obj) != 0; }

void CSkinWindow::OnFinalMessage(HWND) { delete this; }

LRESULT CSkinWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        return 0;  // no system frame
    case WM_NCACTIVATE:
        return wParam == 0 ? 1 : 0;
    case WM_NCHITTEST:
        if (DrawsOwnFrame()) return OnNcHitTest(lParam);
        break;
    case WM_SIZE:
        if (DrawsOwnFrame()) OnSize();
        break;  // the paint manager lays out again
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(lParam);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && OnEscape()) return 0;
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm->MessageHandler(msg, wParam, lParam, result)) {
        // End-to-end tests read where our controls are ("controls.txt.about").
        if (msg == WM_PAINT) {
            const std::string file = m_layoutFile;
            WriteControlTreeIfAsked(m_pm.get(), m_hWnd, "." + file.substr(0, file.rfind('.')));
        }
        return result;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

LRESULT CSkinWindow::OnCreate() {
    LONG style = GetWindowLong(m_hWnd, GWL_STYLE);
    SetWindowLong(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG>(WS_CAPTION)) |
                                         static_cast<LONG>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    RECT client;
    GetClientRect(m_hWnd, &client);
    m_pm->Init(m_hWnd);
    BuildLayout();
    m_pm->AddNotifier(this);
    SIZE size = m_pm->GetInitSize();
    // Without a layout the window keeps the size it was created with.
    if (size.cx > 0 && size.cy > 0) {
        SetWindowPos(m_hWnd, nullptr, client.left, client.top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    return 0;
}

void CSkinWindow::BuildLayout() {
    const std::string folder =
        m_programFolder.empty() ? std::string(uilib::GetAppPath()) : m_programFolder;
    m_layoutPath = SkinLayoutFile(folder, m_skinIndex, m_language, m_layoutFile);
    if (m_layoutPath.empty()) {
        std::fprintf(stderr, "orvella: no layout %s for skin index %d\n", m_layoutFile,
                     m_skinIndex);
        return;
    }
    uilib::CDialogBuilder builder;
    CDialogBuilderCallbackEx factory;
    uilib::CControlUI* root =
        builder.Create(m_layoutPath.c_str(), m_programControls ? &factory : nullptr, m_pm.get());
    if (!root) {
        std::fprintf(stderr, "orvella: cannot build the layout %s: %s\n", m_layoutPath.c_str(),
                     builder.GetLastError().c_str());
        return;
    }
    m_pm->AttachDialog(root);
}

LRESULT CSkinWindow::OnNcHitTest(LPARAM lParam) {
    POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(m_hWnd, &pt);
    RECT client;
    GetClientRect(m_hWnd, &client);
    uilib::CControlUI* under = m_pm->FindControl(pt);
    return SkinWindowHitTest(client, pt, m_pm->GetCaptionRect(), under ? under->GetClass() : "");
}

bool CSkinWindow::OnEscape() {
    // A hotkey field takes Escape as the key it is given.
    uilib::CControlUI* focus = m_pm->GetFocus();
    if (focus && focus->GetInterface("HotKey")) return false;
    return AnswerEscape();
}

void CSkinWindow::OnSize() {
    if (IsIconic(m_hWnd)) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    platform::GetBackend().SetWindowRegion(m_hWnd,
                                           RoundedClientRegion(client, m_pm->GetRoundCorner()));
}

void CSkinWindow::OnGetMinMaxInfo(LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info) return;
    m_pm->GetMinMaxInfo(info);
    RECT work = platform::GetBackend().GetWorkArea(m_hWnd);
    info->ptMaxPosition = POINT{0, 0};
    info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
}

void CSkinWindow::NotifyFromWindow(uilib::TNotifyUI& msg) {
    if (msg.sType == "changecolor") m_pm->SetColor(static_cast<DWORD>(msg.wParam));
    // A picture change carries no colour of its own (0): the windows keep theirs until
    // the colour that follows it.
    if (msg.sType == "changeshading" && TakesShadingColour() && msg.lParam != 0)
        m_pm->SetColor(static_cast<DWORD>(msg.lParam));
}

void CSkinWindow::SendWindowNotify(const char* type, WPARAM wParam, LPARAM lParam) {
    m_pm->SendNotify(this, type, wParam, lParam);
}

bool CSkinWindow::IsOwnControl(const uilib::CControlUI* control) const {
    return control && control->GetManager() == m_pm.get();
}

void CSkinWindow::ShowControl(const char* name, bool show) {
    if (uilib::CControlUI* c = m_pm->FindControl(name)) c->SetVisible(show);
}

void CSkinWindow::SetControlText(const char* name, const std::string& text) {
    if (uilib::CControlUI* c = m_pm->FindControl(name)) c->SetText(text.c_str());
}

bool CreateSkinWindow(CSkinWindow* window, const SkinWindowOwner& owner) {
    if (owner.notifier) window->PaintManager().AddNotifier(owner.notifier);
    window->SetLanguage(owner.language);
    window->SetSkin(owner.skinIndex);
    HWND hwnd = window->Create(owner.hwnd, window->GetWindowTitle(),
                               WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 20);
    if (!hwnd) {
        // A window destroyed during creation has deleted itself already.
        if (CSkinWindow::IsAlive(window)) delete window;
        return false;
    }
    if (owner.paintManager) {
        window->PaintManager().SetColor(owner.paintManager->GetMainBKColor());
        window->PaintManager().UseParentResource(owner.paintManager);
    }
    return true;
}

void PlaceSkinWindow(CSkinWindow* window) {
    SetWindowPos(window->GetHWND(), nullptr, 10, 10, -1, -1,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    window->ShowWindow(true);
    window->CenterWindow();
    // Keys go to the dialog, not to its owner (whose Escape minimises the player).
    SetFocus(window->GetHWND());
}

}  // namespace orvella
