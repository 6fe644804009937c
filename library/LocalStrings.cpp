#include "library/LocalStrings.h"

#include "library/LanguageFolders.h"
#include "library/XmlDocument.h"

namespace orvella {

CLocalStrings::CLocalStrings() = default;
CLocalStrings::~CLocalStrings() = default;

bool CLocalStrings::Load(const std::string& path) {
    Clear();
    m_path = path;
    auto document = std::make_unique<XmlDocument>();
    if (path.empty() || !document->Open(path)) return false;
    m_document = std::move(document);
    return true;
}

void CLocalStrings::Clear() {
    m_document.reset();
    m_path.clear();
}

std::string CLocalStrings::Value(const std::string& path, size_t index) const {
    std::string value;
    if (!m_document || m_document->GetAttribute(path, "string", &value, index) != XmlDocument::kOk)
        return std::string();
    return value;
}

std::string CLocalStrings::String(int number, const std::string& english) const {
    if (number < 0) return english;
    const std::string value = Value("root/string/data", static_cast<size_t>(number));
    return value.empty() ? english : value;
}

std::string CLocalStrings::ActionName(const std::string& action, const std::string& english) const {
    // The path splits at "/": such a name is no action and finds nothing.
    const std::string value = action.empty() ? std::string() : Value("root/hotkey/" + action, 0);
    if (!value.empty()) return value;
    return english.empty() ? action : english;
}

std::string StringsFilePath(const std::string& programFolder, int skinIndex, const std::string& language) {
    const std::string folder = LanguagesFolder(programFolder, skinIndex);
    return folder.empty() ? folder : folder + language + "/strings.xml";
}

CLocalStrings& CurrentLocalStrings() {
    static CLocalStrings table;
    return table;
}

void SelectLocalStrings(const std::string& programFolder, int skinIndex, const std::string& language) {
    const std::string path = StringsFilePath(programFolder, skinIndex, language);
    CLocalStrings& table = CurrentLocalStrings();
    if (path != table.GetPath()) table.Load(path);
}

std::string SelectLanguage(const std::string& programFolder, int skinIndex, const std::string& wanted) {
    const std::string language = UsableLanguageOf(wanted, programFolder, skinIndex);
    SelectLocalStrings(programFolder, skinIndex, language);
    return language;
}

std::string LocalString(int number, const std::string& english) {
    return CurrentLocalStrings().String(number, english);
}

std::string LocalActionName(const std::string& action, const std::string& english) {
    return CurrentLocalStrings().ActionName(action, english);
}

std::string FillPlaceholder(const std::string& text, const std::string& value) {
    std::string out = text;
    const size_t at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, value);
    return out;
}

std::string LocalString(int number, const std::string& english, const std::string& value) {
    return FillPlaceholder(LocalString(number, english), value);
}

}  // namespace orvella
