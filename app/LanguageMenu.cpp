#include "app/LanguageMenu.h"

#include "library/LanguageFolders.h"
#include "ui/MenuWnd.h"

namespace orvella {

std::vector<DiscMenuRow> LanguageMenuRows(const std::vector<std::string>& folders, const std::string& current) {
    std::vector<DiscMenuRow> rows;
    for (const std::string& folder : folders) {
        const char* name = CMenuWnd::LanguageDisplayName(folder);
        rows.push_back(DiscMenuRow{"ID_MAINMENU_LANGUAGE_" + folder, name ? name : folder, folder == current});
    }
    return rows;
}

std::vector<DiscMenuRow> LanguageMenuRows(const MenuState& state) {
    return LanguageMenuRows(LanguageFolderNames(LanguagesFolder(state.programFolder, state.skinIndex)),
                            state.language);
}

}  // namespace orvella
