// The menu window's view of the player: marks and enabled states from one MenuState
// snapshot, taken when a top-level menu opens, and the rows of the submenus made at run
// time.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "app/DiscDrives.h"
#include "app/DiscMenus.h"
#include "app/LanguageMenu.h"
#include "app/MenuState.h"
#include "app/NotBuiltYet.h"
#include "ui/MenuWnd.h"

namespace orvella {

class PlayerMenuStates : public IMenuItemStates {
public:
    // whatPlays, when given, brings the engine's latest answers about the playing track,
    // subtitle and chapter into the snapshot's tables before a submenu is made (they
    // arrive just after the menu opened).
    explicit PlayerMenuStates(MenuState state, std::function<void(MediaTables&)> whatPlays = nullptr)
        : m_state(std::move(state)), m_whatPlays(std::move(whatPlays)) {}

    bool IsChecked(const std::string& item) const override {
        return IsMenuItemMarked(m_state, item) || m_madeMarks.count(item) != 0;
    }
    bool IsEnabled(const std::string& item) const override {
        if (IsNotBuiltYet(item)) return false;
        // The disc's own menu and its titles only with a DVD's menus; the rest of the
        // disc menu wherever the media has something to choose.
        if (item == "ID_MAINMENU_DVD_NAV_MENU") return m_state.dvdNavigation;
        if (item == "ID_MAINMENU_DVD_TITLE") return m_state.dvdNavigation || !m_state.tables.titleLengths.empty();
        if (item == "ID_MAINMENU_DVD" || item == "ID_MAIN_RIGHT_MENU_DVD") return HasDiscChoices(m_state);
        return true;
    }
    // Rows made as the submenu opens: the optical drives, the languages, the titles,
    // chapters and tracks.
    void FillSubmenu(const std::string& item, uilib::CListUI& list) const override {
        if (item == "ID_MAINMENU_FILE_OPENDISC") {
            FillOpenDiscRows(list);
            return;
        }
        if (m_whatPlays) m_whatPlays(m_state.tables);
        const std::vector<DiscMenuRow> rows =
            item == "ID_MAINMENU_LANGUAGE" ? LanguageMenuRows(m_state) : DiscMenuRows(m_state, item);
        for (const DiscMenuRow& row : rows)
            if (row.marked) m_madeMarks.insert(row.name);
        AddDiscMenuRows(rows, list);
    }
    const MenuState& State() const { return m_state; }

private:
    mutable MenuState m_state;
    std::function<void(MediaTables&)> m_whatPlays;
    mutable std::set<std::string> m_madeMarks;  // rows made marked
};

}  // namespace orvella
