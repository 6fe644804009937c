#include "library/LanguageFolders.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace orvella {

std::string LanguagesFolder(const std::string& programFolder, int skinIndex) {
    const char* skin = skinIndex == 0 ? "skin_classic" : skinIndex == 1 ? "skin" : nullptr;
    if (!skin) return std::string();
    return programFolder + skin + "/language/";
}

std::vector<std::string> LanguageFolderNames(const std::string& languagesFolder) {
    std::vector<std::string> names;
    DIR* listing = languagesFolder.empty() ? nullptr : ::opendir(languagesFolder.c_str());
    if (!listing) return names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        // stat, not lstat: a language may be a link to another folder.
        struct stat st {};
        if (::stat((languagesFolder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

std::string UsableLanguage(const std::string& value, const std::vector<std::string>& folders) {
    // The value becomes part of every layout path: a path in it would read files elsewhere.
    const bool path = value.find_first_of("/\\") != std::string::npos || value.find("..") != std::string::npos;
    if (value.empty() || path || std::find(folders.begin(), folders.end(), value) == folders.end())
        return kFallbackLanguage;
    return value;
}

std::string UsableLanguageOf(const std::string& value, const std::string& programFolder, int skinIndex) {
    return UsableLanguage(value, LanguageFolderNames(LanguagesFolder(programFolder, skinIndex)));
}

}  // namespace orvella
