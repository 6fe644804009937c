// The language folders of a skin ("<program>skin/language/<name>/") and the rule for
// the stored "language": it is one of their names, never a path.
#pragma once

#include <string>
#include <vector>

namespace orvella {

constexpr const char* kFallbackLanguage = "eng";

// "<programFolder>skin/language/" for skin index 1, "<programFolder>skin_classic/language/"
// for 0; empty for any other index.
std::string LanguagesFolder(const std::string& programFolder, int skinIndex);

// The names of the folders inside languagesFolder, sorted by name; empty when it cannot
// be read.
std::vector<std::string> LanguageFolderNames(const std::string& languagesFolder);

// value when it names one of folders; "eng" for an empty value, one holding "/", "\" or
// "..", and one no folder has.
std::string UsableLanguage(const std::string& value, const std::vector<std::string>& folders);

// UsableLanguage over the folders of the skin.
std::string UsableLanguageOf(const std::string& value, const std::string& programFolder, int skinIndex);

}  // namespace orvella
