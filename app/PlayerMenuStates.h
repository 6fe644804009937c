// The menu window's view of the player: marks and enabled states from one MenuState
// snapshot, taken when a top-level menu opens.
#pragma once

#include <string>
#include <utility>

#include "app/DiscDrives.h"
#include "app/MenuState.h"
#include "ui/MenuWnd.h"

namespace orvella {

class PlayerMenuStates : public IMenuItemStates {
public:
    explicit PlayerMenuStates(MenuState state) : m_state(std::move(state)) {}

    bool IsChecked(const std::string& item) const override { return IsMenuItemMarked(m_state, item); }
    // The DVD menus only work while a disc plays with its menus.
    bool IsEnabled(const std::string& item) const override {
        if (item == "ID_MAINMENU_DVD" || item == "ID_MAIN_RIGHT_MENU_DVD") return m_state.dvdNavigation;
        return true;
    }
    // Rows made as the submenu opens.
    void FillSubmenu(const std::string& item, uilib::CListUI& list) const override {
        if (item == "ID_MAINMENU_FILE_OPENDISC") FillOpenDiscRows(list);
    }
    const MenuState& State() const { return m_state; }

private:
    MenuState m_state;
};

}  // namespace orvella
