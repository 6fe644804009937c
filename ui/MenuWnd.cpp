#include "ui/MenuWnd.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "ui/ControlTreeDump.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/ListContainerElementUIEx.h"
#include "ui/MenuPlacement.h"
#include "ui/MenuRows.h"
#include "ui/MenuUI.h"
#include "ui/SkinWindow.h"
#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/ListElement.h"

namespace orvella {

using uilib::CControlUI;
using uilib::CListUI;

namespace {

const char kLayoutFile[] = "menu.xml";
const char kTabName[] = "IDR_MENU";
constexpr int kRoundCorner = 3;
// Posted to the top level when the pointer capture left the menu: it takes it back.
constexpr UINT WM_MENU_TAKE_POINTER = WM_USER + 0x51;

bool IsPress(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN ||
           msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK;
}

bool IsPointerMessage(UINT msg) {
    return IsPress(msg) || msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_RBUTTONUP ||
           msg == WM_MBUTTONUP;
}

std::string g_lastChosen;

// CMenuUI keeps its normal look to itself: the events it answers with it are the way back.
void ReturnButtonToNormal(CMenuUI* button) {
    const auto& opened = CMenuUI::OpenedButtons();
    bool alive = false;
    for (CMenuUI* b : opened) alive = alive || b == button;
    if (!alive) return;  // its layout was rebuilt while the menu was open
    uilib::TEventUI up;
    up.Type = uilib::UIEVENT_BUTTONUP;
    up.pSender = button;
    up.ptMouse = POINT{INT_MIN / 2, INT_MIN / 2};  // released outside: pushed look off
    button->DoEvent(up);
    uilib::TEventUI leave = up;
    leave.Type = uilib::UIEVENT_MOUSELEAVE;
    button->DoEvent(leave);
    button->Selected(false, false);
}

}  // namespace

CMenuWnd::CMenuWnd(int skinIndex, std::string language, std::string programFolder,
                   std::shared_ptr<const IMenuItemStates> states)
    : m_pm(std::make_unique<uilib::CPaintManagerUI>()),
      m_skinIndex(skinIndex),
      m_language(std::move(language)),
      m_programFolder(std::move(programFolder)),
      m_states(std::move(states)) {}

CMenuWnd::~CMenuWnd() = default;

const std::string& CMenuWnd::LastChosenItem() { return g_lastChosen; }

bool CMenuWnd::HandleMenuKey(UINT key) {
    auto* top = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    if (!top || !IsWindow(top->GetHWND())) return false;
    CMenuWnd* level = top;
    while (level->m_submenu && level->GetHWND() != GetFocus()) level = level->m_submenu;
    return level->OnKeyDown(key);
}

uilib::CListContainerElementUI* CMenuWnd::CreateRow() { return NewMenuRow(); }

const char* CMenuWnd::LanguageDisplayName(const std::string& folder) {
    static const struct {
        const char* folder;
        const char* name;
    } kNames[] = {{"chn", "简体中文"}, {"jpn", "日本語"}, {"eng", "English"},
                  {"de", "Deutsch"},   {"fra", "française"}};
    for (const auto& n : kNames)
        if (folder == n.folder) return n.name;
    return nullptr;
}

void CMenuWnd::CloseOpenPopupMenu() { CloseOpenPopupFor(nullptr); }

void CMenuWnd::CloseOpenPopupFor(CMenuUI* opening) {
    auto* open = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    SetOpenPopupMenu(nullptr);
    if (!open || !IsWindow(open->GetHWND())) return;
    open->m_closing = true;
    // Its button goes back to normal, unless that button is just opening its menu again;
    // the menu bar stays live only while a button of it takes over.
    if (open->m_button && open->m_button != opening) ReturnButtonToNormal(open->m_button);
    if (!opening) CMenuUI::ResetMenuBarMode();
    // A closing menu no longer speaks for its button: the layout holding the button may
    // go before the menu does (a rebuilt main window).
    open->m_button = nullptr;
    if (open->InMyChain(GetCapture())) ReleaseCapture();
    open->CloseSubmenu();
    open->Close();
}

void CMenuWnd::RecolourOpenPopupMenu(uint32_t argb) {
    auto* open = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    if (!open || !IsWindow(open->GetHWND())) return;
    for (CMenuWnd* level = open; level; level = level->m_submenu) level->m_pm->SetColor(argb);
}

CMenuWnd* CMenuWnd::Begin(const MenuOwner& owner, const std::string& listName, const std::string& fillFor,
                          CMenuUI* button) {
    CloseOpenPopupFor(button);
    auto* menu = new CMenuWnd(owner.skinIndex, owner.language, owner.programFolder, owner.states);
    menu->m_mainWindow = owner.hwnd;
    menu->m_listName = listName;
    if (owner.notifier) menu->m_pm->AddNotifier(owner.notifier);
    if (!menu->CreatePopup(owner.hwnd, RECT{0, 0, 100, 20})) return nullptr;
    if (owner.paintManager) {
        menu->m_pm->UseParentResource(owner.paintManager);
        menu->m_pm->SetColor(owner.paintManager->GetMainBKColor());
    }
    menu->ShowList(menu->m_listName, fillFor);
    return menu;
}

CMenuWnd* CMenuWnd::OpenDropDown(const MenuOwner& owner, CMenuUI* button, const char* listSuffix) {
    if (!button) return nullptr;
    const std::string name = button->GetName();
    const bool submenuList = listSuffix && *listSuffix;
    CMenuWnd* menu =
        Begin(owner, name + (submenuList ? listSuffix : ""), submenuList ? name : std::string(), button);
    if (!menu) return nullptr;
    menu->m_button = button;
    CMenuUI::RememberOpened(button);
    const RECT& b = button->GetPos();
    POINT anchor{b.left, b.bottom};
    ClientToScreen(button->GetManager()->GetPaintWindow(), &anchor);
    const SIZE size = menu->ListSize();
    if (size.cx > 0 && size.cy > 0) {
        MenuPlacement p = PlaceDropDown(anchor, b.right - b.left, size,
                                        platform::GetBackend().GetWorkArea(owner.hwnd));
        menu->m_openedLeft = p.openedLeft;
        menu->MoveTo(p.rect);
    }
    menu->Present();
    return menu;
}

CMenuWnd* CMenuWnd::OpenContextMenu(const MenuOwner& owner, const char* listName, POINT screen) {
    CMenuWnd* menu = Begin(owner, listName ? listName : "", std::string());
    if (!menu) return nullptr;
    const SIZE size = menu->ListSize();
    if (size.cx > 0 && size.cy > 0) {
        const RECT work = platform::GetBackend().GetWorkArea(owner.hwnd);
        const bool tray = menu->m_listName == "ID_TRAYIOCNMENU";
        menu->MoveTo(tray ? PlaceTrayMenu(screen, size, work) : PlaceContextMenu(screen, size, work));
    }
    menu->Present();
    return menu;
}

void CMenuWnd::Present() {
    ShowWindow(true);
    SetFocus(m_hWnd);
    SetOpenPopupMenu(this);
    // The open menu holds the pointer (and, on X11, the keyboard): a click anywhere else
    // closes it and reaches nothing else.
    SetCapture(m_hWnd);
}

CMenuWnd* CMenuWnd::OpenTrayMenu(const MenuOwner& owner, POINT screen) {
    // The menu's choices act on the main window: bring it forward first when it shows.
    if (owner.hwnd && IsWindowVisible(owner.hwnd)) SetFocus(owner.hwnd);
    return OpenContextMenu(owner, "ID_TRAYIOCNMENU", screen);
}

bool CMenuWnd::CreatePopup(HWND owner, const RECT& rc) {
    if (Create(owner, "MenuWnd", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, rc))
        return true;
    delete this;  // WM_CREATE never fails here, so the object is still ours
    return false;
}

void CMenuWnd::BuildLayout() {
    const std::string folder =
        m_programFolder.empty() ? std::string(uilib::GetAppPath()) : m_programFolder;
    const std::string path = SkinLayoutFile(folder, m_skinIndex, m_language, kLayoutFile);
    if (path.empty()) return;
    uilib::CDialogBuilder builder;
    MenuLayoutFactory factory;
    CControlUI* root = builder.Create(path.c_str(), &factory, m_pm.get());
    if (!root) {
        std::fprintf(stderr, "orvella: cannot build the menus %s: %s\n", path.c_str(),
                     builder.GetLastError().c_str());
        return;
    }
    m_pm->AttachDialog(root);
    if (m_pm->GetRoundCorner().cx <= 0) m_pm->SetRoundCorner(kRoundCorner, kRoundCorner);
}

bool CMenuWnd::ShowList(const std::string& listName, const std::string& fillFor) {
    m_list = static_cast<CListUI*>(m_pm->FindControl(listName.c_str()));
    if (m_list && !m_list->GetInterface("List")) m_list = nullptr;
    auto* tab = static_cast<uilib::CTabLayoutUI*>(m_pm->FindControl(kTabName));
    CControlUI* page = m_pm->FindControl((listName + "_TAB").c_str());
    if (!m_list || !tab || !page) return false;
    if (!fillFor.empty() && m_states) m_states->FillSubmenu(fillFor, *m_list);
    tab->SelectItem(page);
    ApplyStates();
    return true;
}

int CMenuWnd::FirstRowOffset() const {
    if (!m_list) return 0;
    const CControlUI* tab = m_pm->FindControl(kTabName);
    return m_list->GetList()->GetInset().top + m_list->GetBorderSize() + (tab ? tab->GetBorderSize() : 0);
}

SIZE CMenuWnd::ListSize() const {
    if (!m_list) return SIZE{0, 0};
    return SIZE{m_list->GetFixedWidth(), m_list->GetListHeight()};
}

void CMenuWnd::MoveTo(const RECT& rc) {
    SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMenuWnd::ApplyStates() {
    if (!m_list || !m_states) return;
    for (int i = 0; i < m_list->GetCount(); ++i) {
        CControlUI* row = m_list->GetItemAt(i);
        auto* item = row ? static_cast<uilib::IListItemUI*>(row->GetInterface("ListItem")) : nullptr;
        if (!item || row->GetName().empty()) continue;
        const std::string name = row->GetName();
        item->Select(m_states->IsChecked(name));
        row->SetEnabled(m_states->IsEnabled(name));
    }
}

void CMenuWnd::SetShape() {
    if (IsIconic(m_hWnd)) return;
    const SIZE corner = m_pm->GetRoundCorner();
    if (corner.cx <= 0 || corner.cy <= 0) return;
    RECT client;
    GetClientRect(m_hWnd, &client);
    platform::GetBackend().SetWindowRegion(m_hWnd, RoundedClientRegion(client, corner));
}

LRESULT CMenuWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        m_pm->Init(m_hWnd);
        BuildLayout();
        m_pm->AddNotifier(this);
        return 0;
    case WM_SIZE:
        SetShape();
        break;  // the paint manager lays out again
    case WM_MOUSEWHEEL:
        return 0;  // a menu never scrolls what lies under it
    case WM_KEYDOWN:
        if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
        break;
    case WM_CAPTURECHANGED:
        // A row's press ends by giving the pointer up: the menu takes it back.
        if (!TopMenu()->m_closing && !InMyChain(reinterpret_cast<HWND>(lParam)))
            ::PostMessage(TopMenu()->GetHWND(), WM_MENU_TAKE_POINTER, 0, 0);
        break;  // the paint manager ends its press too
    case WM_MENU_TAKE_POINTER:
        if (!m_closing && !m_parent && !InMyChain(GetCapture())) SetCapture(m_hWnd);
        return 0;
    case WM_KILLFOCUS: {
        HWND to = reinterpret_cast<HWND>(wParam);
        // Focus moving between the levels of one menu keeps it open.
        if (!m_closing && !InMyChain(to)) CloseAll();
        break;
    }
    default:
        break;
    }
    if (IsPointerMessage(msg) && RoutePointer(msg, wParam, lParam)) return 0;
    if (msg == WM_MOUSEMOVE) OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    LRESULT result = 0;
    if (m_pm->MessageHandler(msg, wParam, lParam, result)) {
        // End-to-end tests read where the rows are ("controls.txt.menu").
        if (msg == WM_PAINT) WriteControlTreeIfAsked(m_pm.get(), m_hWnd, ".menu");
        return result;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

bool CMenuWnd::RoutePointer(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Only the level holding the capture sees the pointer over other windows.
    if (GetCapture() != m_hWnd) return false;
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(m_hWnd, &screen);
    CMenuWnd* top = TopMenu();
    CMenuWnd* under = nullptr;  // the deepest level under the pointer: submenus lie on top
    for (CMenuWnd* m = top; m; m = m->m_submenu) {
        const RECT r = ScreenRect(m->GetHWND());
        if (uilib::PtInRect(&r, screen)) under = m;
    }
    HWND underWindow = under ? under->GetHWND() : nullptr;
    if (msg == WM_MOUSEMOVE && top->m_pointerOver != underWindow) {
        // The level the pointer left hears so, like a window the pointer leaves.
        HWND left = top->m_pointerOver;
        top->m_pointerOver = underWindow;
        if (InMyChain(left)) ::SendMessage(left, WM_MOUSELEAVE, 0, 0);
    }
    if (under == this) return false;
    if (under) {
        POINT pt = screen;
        ScreenToClient(under->GetHWND(), &pt);
        ::SendMessage(under->GetHWND(), msg, wParam, MAKELPARAM(pt.x, pt.y));
        return true;
    }
    if (IsPress(msg)) {
        CloseAll();  // a press outside every level closes the menu and goes no further
        return true;
    }
    if (msg == WM_MOUSEMOVE && top->m_button) {
        // Over the row of menu buttons, the pointer opens the next menu of the row.
        HWND bar = top->m_button->GetManager()->GetPaintWindow();
        POINT pt = screen;
        ScreenToClient(bar, &pt);
        RECT client{};
        GetClientRect(bar, &client);
        if (uilib::PtInRect(&client, pt)) ::SendMessage(bar, msg, wParam, MAKELPARAM(pt.x, pt.y));
    }
    return msg != WM_MOUSEMOVE;  // a move still tells this level that the pointer left its rows
}

void CMenuWnd::OnFinalMessage(HWND) {
    if (m_parent && m_parent->m_submenu == this) {
        m_parent->m_submenu = nullptr;
        m_parent->m_submenuItem = nullptr;
    }
    if (m_submenu && m_submenu->m_parent == this) m_submenu->m_parent = nullptr;
    if (GetOpenPopupMenu() == this) SetOpenPopupMenu(nullptr);
    delete this;
}

void CMenuWnd::Notify(uilib::TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (!sender || sender->GetManager() != m_pm.get()) return;
    if (msg.sType == "itemmouseenter" && msg.wParam == 3) {
        SetHighlight(RowIndexOf(sender));
        OpenSubmenu(sender, false);
    } else if (msg.sType == "itemmouseleave") {
        if (!m_submenu) return;
        POINT cursor{};
        GetCursorPos(&cursor);
        const RECT sub = ScreenRect(m_submenu->GetHWND());
        if (!uilib::PtInRect(&sub, cursor)) CloseSubmenu();
    } else if (msg.sType == "itemclick") {
        Choose(sender);
    }
}

void CMenuWnd::OpenSubmenu(CControlUI* item, bool byKeyboard) {
    if (m_submenu && m_submenuItem == item) {
        if (!byKeyboard) return;  // already open: the pointer only came back to its row
    } else {
        CloseSubmenu();
    }
    if (!m_submenu) {
        const std::string name = item->GetName();
        auto* sub = new CMenuWnd(m_skinIndex, m_language, m_programFolder, m_states);
        sub->m_parent = this;
        sub->m_mainWindow = m_mainWindow;
        sub->m_openedLeft = m_openedLeft;
        sub->m_listName = name + "_SUB";
        if (!sub->CreatePopup(m_hWnd, RECT{0, 0, 100, 20})) return;
        sub->m_pm->UseParentResource(m_pm.get());
        sub->m_pm->SetColor(m_pm->GetMainBKColor());
        m_submenu = sub;
        m_submenuItem = item;
        if (IMenuRow* row = MenuRowOf(item)) row->SetKeepHot(true);
        sub->ShowList(sub->m_listName, name);
        const RECT& r = item->GetPos();
        // The submenu's first row lines up with the row that opened it.
        POINT anchor{r.left, r.top - sub->FirstRowOffset()};
        ClientToScreen(m_hWnd, &anchor);
        const SIZE size = sub->ListSize();
        if (size.cx > 0 && size.cy > 0) {
            const RECT mine = ScreenRect(m_hWnd);
            MenuPlacement p = PlaceSubmenu(anchor, r.right - r.left, mine.right - mine.left, size,
                                           m_openedLeft, platform::GetBackend().GetWorkArea(m_hWnd));
            if (p.scroll) sub->m_list->EnableScrollBar(true, false);
            sub->m_openedLeft = p.openedLeft;
            sub->MoveTo(p.rect);
        }
        sub->ShowWindow(true, false);
    }
    if (byKeyboard && m_submenu) {
        SetFocus(m_submenu->GetHWND());
        std::vector<bool> rows;
        for (int i = 0; m_submenu->m_list && i < m_submenu->m_list->GetCount(); ++i)
            rows.push_back(Choosable(m_submenu->RowAt(i)));
        m_submenu->SetHighlight(MoveMenuHighlight(rows, -1, MenuMove::Home));
    }
}

void CMenuWnd::CloseSubmenu() {
    CMenuWnd* sub = m_submenu;
    if (IMenuRow* row = MenuRowOf(m_submenuItem)) {
        row->SetKeepHot(false);
        if (RowAt(m_highlight) == m_submenuItem) row->SetHot(true);
    }
    m_submenu = nullptr;
    m_submenuItem = nullptr;
    if (!sub) return;
    if (GetCapture() == sub->GetHWND()) ReleaseCapture();  // the top level takes it back
    sub->m_parent = nullptr;
    sub->m_closing = true;
    sub->CloseSubmenu();
    sub->Close();
}

CMenuWnd* CMenuWnd::TopMenu() {
    CMenuWnd* top = this;
    while (top->m_parent) top = top->m_parent;
    return top;
}

bool CMenuWnd::InMyChain(HWND hwnd) {
    if (!hwnd) return false;
    for (CMenuWnd* m = TopMenu(); m; m = m->m_submenu)
        if (m->GetHWND() == hwnd) return true;
    return false;
}

void CMenuWnd::Choose(CControlUI* item) {
    if (!Choosable(item)) return;
    if (IsSubmenuRow(item)) {
        OpenSubmenu(item, true);
        return;
    }
    CMenuWnd* top = TopMenu();
    g_lastChosen = item->GetName();
    if (top->m_button) {
        CMenuUI* button = top->m_button;
        ReturnButtonToNormal(button);
        CMenuUI::ResetMenuBarMode();
        button->GetManager()->SendNotify(item, "menuselected");
    } else {
        top->m_pm->SendNotify(top, "menuselected", reinterpret_cast<WPARAM>(&g_lastChosen));
    }
    top->CloseAll();
}

void CMenuWnd::CloseAll() {
    CMenuWnd* top = TopMenu();
    if (top->m_closing) return;
    top->m_closing = true;
    CMenuUI::ResetMenuBarMode();
    if (top->m_button) ReturnButtonToNormal(top->m_button);
    if (GetOpenPopupMenu() == top) SetOpenPopupMenu(nullptr);
    if (InMyChain(GetCapture())) ReleaseCapture();
    top->m_pm->SendNotify(top, "menu_release");
    top->CloseSubmenu();
    top->Close();
    if (top->m_mainWindow && IsWindow(top->m_mainWindow)) SetFocus(top->m_mainWindow);
}

bool CMenuWnd::OnKeyDown(UINT key) {
    if (!m_list) return false;
    std::vector<bool> rows;
    for (int i = 0; i < m_list->GetCount(); ++i) rows.push_back(Choosable(RowAt(i)));
    CControlUI* current = RowAt(m_highlight);
    switch (key) {
    case VK_UP: SetHighlight(MoveMenuHighlight(rows, m_highlight, MenuMove::Up)); return true;
    case VK_DOWN: SetHighlight(MoveMenuHighlight(rows, m_highlight, MenuMove::Down)); return true;
    case VK_HOME: SetHighlight(MoveMenuHighlight(rows, m_highlight, MenuMove::Home)); return true;
    case VK_END: SetHighlight(MoveMenuHighlight(rows, m_highlight, MenuMove::End)); return true;
    case VK_RIGHT:
        if (current && Choosable(current) && IsSubmenuRow(current)) OpenSubmenu(current, true);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        if (current) Choose(current);
        return true;
    case VK_ESCAPE:
        if (m_submenu) {
            // A submenu the pointer opened goes first: one level a key.
            CMenuWnd* deepest = m_submenu;
            while (deepest->m_submenu) deepest = deepest->m_submenu;
            CMenuWnd* parent = deepest->m_parent;
            SetFocus(parent->GetHWND());
            parent->CloseSubmenu();
            return true;
        }
        [[fallthrough]];
    case VK_LEFT:
        if (m_parent) {
            CMenuWnd* parent = m_parent;
            SetFocus(parent->GetHWND());
            parent->CloseSubmenu();
        } else if (key == VK_ESCAPE) {
            CloseAll();
        }
        return true;
    default:
        return false;
    }
}

void CMenuWnd::OnMouseMove(POINT pt) {
    for (CControlUI* c = m_pm->FindControl(pt); c; c = c->GetParent()) {
        const int index = RowIndexOf(c);
        if (index >= 0) {
            if (index != m_highlight && Choosable(c)) SetHighlight(index);
            return;
        }
    }
}

int CMenuWnd::RowIndexOf(CControlUI* control) const {
    if (!m_list || !control || !control->GetInterface("ListItem")) return -1;
    return m_list->GetItemIndex(control);
}

CControlUI* CMenuWnd::RowAt(int index) const {
    if (!m_list || index < 0 || index >= m_list->GetCount()) return nullptr;
    return m_list->GetItemAt(index);
}

bool CMenuWnd::IsSubmenuRow(CControlUI* row) const {
    return dynamic_cast<CListContainerElementUIEx*>(row) != nullptr;
}

void CMenuWnd::SetHighlight(int index) {
    // Another row of this menu takes over from the one whose submenu is open.
    if (m_submenu && RowAt(index) != m_submenuItem) CloseSubmenu();
    if (CControlUI* old = RowAt(m_highlight); old && old != m_submenuItem) SetRowHot(old, false);
    m_highlight = RowAt(index) ? index : -1;
    if (CControlUI* now = RowAt(m_highlight)) {
        SetRowHot(now, true);
        if (m_list) m_list->EnsureVisible(m_highlight);
    }
}

}  // namespace orvella
