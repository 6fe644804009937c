// Every menu of the program: the drop-down menus of the menu buttons, the context menus
// of the video area, the play list and the tray icon, and their submenus. A menu is a
// popup window showing one page of "menu.xml" (a list whose rows are named after the
// menu commands); its marks and enabled rows come from a snapshot of the player's state.
// A chosen row reaches the main window as "menuselected".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"

namespace uilib {
class CControlUI;
class CListUI;
class CListContainerElementUI;
}  // namespace uilib

namespace orvella {

class CMenuUI;

// The player's state as the menus see it, taken when a top-level menu opens and shared
// unchanged by its submenus. The command dispatcher's MenuState implements it.
class IMenuItemStates {
public:
    virtual ~IMenuItemStates() = default;
    virtual bool IsChecked(const std::string& item) const = 0;
    virtual bool IsEnabled(const std::string& item) const = 0;
    // Rows made at run time (titles, chapters, tracks, discs, languages): called with the
    // item that opens the submenu and the submenu's empty or layout-given list.
    virtual void FillSubmenu(const std::string& item, uilib::CListUI& list) const {}
};

// What a top-level menu takes from the main window.
struct MenuOwner {
    HWND hwnd = nullptr;                             // owns the popup; gets the focus back
    uilib::INotifyUI* notifier = nullptr;            // hears "menuselected", "menu_release"
    uilib::CPaintManagerUI* paintManager = nullptr;  // scheme colour and resources
    std::string language = "eng";
    int skinIndex = 1;
    std::shared_ptr<const IMenuItemStates> states;   // null: nothing marked, all enabled
    std::string programFolder;                       // test seam; empty: GetAppPath()
};

class CMenuWnd : public uilib::CWindowWnd, public uilib::INotifyUI {
public:
    // Each closes the program's open popup menu first and becomes it; null when the
    // window could not be made. The drop-down opens below button (its list is named like
    // the button); the context menu ("ID_MAIN_RIGHT_MENU", "ID_PLAYLIST_RIGHT_MENU") has
    // its top-left corner at the screen point; the tray menu ("ID_TRAYIOCNMENU") its
    // right edge there and its bottom on the work area's bottom.
    // With a list suffix ("_SUB") the drop-down shows the submenu list of the item named
    // like the button, made as that submenu is.
    static CMenuWnd* OpenDropDown(const MenuOwner& owner, CMenuUI* button, const char* listSuffix = nullptr);
    static CMenuWnd* OpenContextMenu(const MenuOwner& owner, const char* listName, POINT screen);
    static CMenuWnd* OpenTrayMenu(const MenuOwner& owner, POINT screen);
    // Closes the program's open popup menu, if any, and forgets it.
    static void CloseOpenPopupMenu();
    // The program's open popup menu, with its open submenus, takes the scheme colour.
    static void RecolourOpenPopupMenu(uint32_t argb);
    // The name of the row last chosen in a context menu; "menuselected" from a context
    // menu carries its address as wParam.
    static const std::string& LastChosenItem();
    // A key pressed while a menu is open, for windows that receive the keyboard in its
    // place (a popup that does not hold the keyboard): the menu level with the focus, else
    // the deepest open level, handles it. False when no menu is open or the key means
    // nothing to menus.
    static bool HandleMenuKey(UINT key);
    // A plain row for the rows made at run time (FillSubmenu): it highlights from the
    // keyboard like the rows of the layout. The caller adds it to the list.
    static uilib::CListContainerElementUI* CreateRow();
    // The name the language submenu shows for a language folder ("de" → "Deutsch");
    // null for a folder it has no name for.
    static const char* LanguageDisplayName(const std::string& folder);

    CMenuWnd* GetSubmenu() const { return m_submenu; }
    CMenuWnd* GetParentMenu() const { return m_parent; }
    bool OpenedToTheLeft() const { return m_openedLeft; }
    const std::string& GetListName() const { return m_listName; }
    uilib::CListUI* GetList() const { return m_list; }
    uilib::CPaintManagerUI& PaintManager() { return *m_pm; }
    // The highlighted row of the list (-1: none).
    int GetHighlight() const { return m_highlight; }

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;
    void NotifyFromWindow(uilib::TNotifyUI& msg) override {}
    void Notify(uilib::TNotifyUI& msg) override;

protected:
    const char* GetWindowClassName() const override { return "MenuWnd"; }

private:
    CMenuWnd(int skinIndex, std::string language, std::string programFolder,
             std::shared_ptr<const IMenuItemStates> states);
    ~CMenuWnd() override;

    // button: the drop-down's own button, which keeps its pressed look while it reopens.
    static CMenuWnd* Begin(const MenuOwner& owner, const std::string& listName, const std::string& fillFor,
                           CMenuUI* button = nullptr);
    static void CloseOpenPopupFor(CMenuUI* opening);
    bool CreatePopup(HWND owner, const RECT& rc);
    void BuildLayout();
    // Finds the list and its page, fills and marks its rows; false when missing.
    bool ShowList(const std::string& listName, const std::string& fillFor);
    SIZE ListSize() const;
    int FirstRowOffset() const;  // from the window's top to its first row
    void MoveTo(const RECT& rc);
    // Shows a top-level menu as the program's open popup, with the keyboard and pointer.
    void Present();
    // For the level holding the pointer capture: hands a pointer message to the level
    // under the pointer, or closes the menu on a press outside every level. True when
    // the message was dealt with here.
    bool RoutePointer(UINT msg, WPARAM wParam, LPARAM lParam);
    void ApplyStates();
    void SetShape();

    void OpenSubmenu(uilib::CControlUI* item, bool byKeyboard);
    void CloseSubmenu();
    void Choose(uilib::CControlUI* item);
    CMenuWnd* TopMenu();
    bool InMyChain(HWND hwnd);
    // The close rule of the whole menu: ends the menu-bar mode, puts the button back,
    // tells "menu_release", closes every level, gives the focus back to the main window.
    void CloseAll();

    bool OnKeyDown(UINT key);
    void OnMouseMove(POINT pt);
    int RowIndexOf(uilib::CControlUI* control) const;
    uilib::CControlUI* RowAt(int index) const;
    bool IsSubmenuRow(uilib::CControlUI* row) const;
    void SetHighlight(int index);

    std::unique_ptr<uilib::CPaintManagerUI> m_pm;
    int m_skinIndex;
    std::string m_language;
    std::string m_programFolder;
    std::shared_ptr<const IMenuItemStates> m_states;
    HWND m_mainWindow = nullptr;
    CMenuWnd* m_submenu = nullptr;
    CMenuWnd* m_parent = nullptr;
    CMenuUI* m_button = nullptr;
    uilib::CControlUI* m_submenuItem = nullptr;  // the row whose submenu is open
    HWND m_pointerOver = nullptr;                // top level: the level last under the pointer
    uilib::CListUI* m_list = nullptr;
    std::string m_listName;
    bool m_openedLeft = false;
    bool m_closing = false;
    int m_highlight = -1;
};

}  // namespace orvella
