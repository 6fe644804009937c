#include "library/IniFile.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace orvella {

namespace {

std::string Trim(const std::string& text) {
    const char* space = " \t\r";
    const size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

IniFile IniFile::Parse(const std::string& text) {
    IniFile ini;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string section;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            // A broken header opens no section: its keys must not land in the previous one.
            section = close == std::string::npos ? std::string("\n") : Trim(line.substr(1, close - 1));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = Lower(Trim(line.substr(0, equals)));
        if (!key.empty()) ini.m_sections[section][key] = Trim(line.substr(equals + 1));
    }
    return ini;
}

std::optional<std::string> IniFile::Value(const std::string& section, const std::string& key) const {
    const auto found = m_sections.find(section);
    if (found == m_sections.end()) return std::nullopt;
    const auto value = found->second.find(Lower(key));
    if (value == found->second.end()) return std::nullopt;
    return value->second;
}

std::optional<long> IniFile::Integer(const std::string& section, const std::string& key, long low,
                                     long high) const {
    const std::optional<std::string> text = Value(section, key);
    if (!text || text->empty() || !(std::isdigit(static_cast<unsigned char>((*text)[0])) ||
                                    (*text)[0] == '-' || (*text)[0] == '+'))
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text->c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < low || number > high) return std::nullopt;
    return number;
}

}  // namespace orvella
