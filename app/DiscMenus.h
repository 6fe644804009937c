// The title, chapter, audio track and subtitle submenus, made when they open from the
// tables the engine reported (a DVD's titles and tracks, a file's tracks and chapters).
#pragma once

#include <string>
#include <vector>

#include "app/MenuState.h"

namespace uilib {
class CListUI;
}

namespace orvella {

struct DiscMenuRow {
    std::string name;   // the command the row gives; empty for "none"
    std::string label;  // "number(text)"
    bool marked = false;
};

// The rows of the submenu that item opens ("ID_MAINMENU_DVD_TITLE", "..._CHAPTER",
// "..._AUDIO", "..._SUBTITLE"); empty for any other item. Titles and audio tracks are
// named by the number the engine knows them by (title number, track id), subtitle
// tracks and files by their place from 0, chapters by their index; what plays is marked.
std::vector<DiscMenuRow> DiscMenuRows(const MenuState& state, const std::string& item);

// Whether the disc menu has anything to offer: a DVD with its menus, or media with
// titles, several audio tracks, subtitles or chapters.
bool HasDiscChoices(const MenuState& state);

// Adds the rows to a menu's list, dressed like the layout's own rows.
void AddDiscMenuRows(const std::vector<DiscMenuRow>& rows, uilib::CListUI& list);

}  // namespace orvella
