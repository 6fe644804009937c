// The translations of the program's own texts: a language folder's "strings.xml" holds
// the numbered messages ("root/string/data", the n-th element is message n) and the names
// of the hotkey actions ("root/hotkey/<action>"), each in its "string" attribute.
//
// Every caller keeps the English text in the code: a missing file, a missing element or
// an empty value leaves it as it is. A translation is plain text, never a format: only
// FillPlaceholder gives it a value.
#pragma once

#include <memory>
#include <string>

namespace orvella {

class XmlDocument;

class CLocalStrings {
public:
    CLocalStrings();
    ~CLocalStrings();

    // Reads the file (UTF-8 or UTF-16); false, with every text English, when it does not
    // open whole.
    bool Load(const std::string& path);
    void Clear();
    const std::string& GetPath() const { return m_path; }

    // Message number's translation, else english.
    std::string String(int number, const std::string& english) const;
    // The action's display name, else english (the action name when none is given).
    std::string ActionName(const std::string& action, const std::string& english = std::string()) const;

private:
    std::string Value(const std::string& path, size_t index) const;

    std::unique_ptr<XmlDocument> m_document;  // kept while its language is the current one
    std::string m_path;
};

// "<programFolder>skin/language/<language>/strings.xml" (skin index 1), or under
// "skin_classic" (0); empty for any other index.
std::string StringsFilePath(const std::string& programFolder, int skinIndex, const std::string& language);

// The program's current table: the main window selects it when the language or skin
// changes; reading again only when the file is another one.
CLocalStrings& CurrentLocalStrings();
void SelectLocalStrings(const std::string& programFolder, int skinIndex, const std::string& language);
// The language a skin shows for the wanted one ("eng" unless it is one of the skin's
// language folders), with its table selected.
std::string SelectLanguage(const std::string& programFolder, int skinIndex, const std::string& wanted);

// The current table's lookups.
std::string LocalString(int number, const std::string& english);
std::string LocalActionName(const std::string& action, const std::string& english = std::string());

// text with its first "%s" replaced by value, as is; any other "%" stays text.
std::string FillPlaceholder(const std::string& text, const std::string& value);
// LocalString with its "%s" filled.
std::string LocalString(int number, const std::string& english, const std::string& value);

}  // namespace orvella
