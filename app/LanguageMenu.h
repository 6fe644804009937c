// The language submenu: one row per language folder of the current skin.
#pragma once

#include <string>
#include <vector>

#include "app/DiscMenus.h"
#include "app/MenuState.h"

namespace orvella {

// A row per folder in the order given, named "ID_MAINMENU_LANGUAGE_<folder>" and showing
// the language by its own name ("de" as "Deutsch"), a folder we know no name for by the
// folder's name; the current language marked.
std::vector<DiscMenuRow> LanguageMenuRows(const std::vector<std::string>& folders, const std::string& current);

// The rows for the folders of the snapshot's skin, sorted by folder name.
std::vector<DiscMenuRow> LanguageMenuRows(const MenuState& state);

}  // namespace orvella
