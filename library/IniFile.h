// A small INI reader: "[section]" lines and "key = value" lines. Sections keep their
// spelling; keys are found whatever their case. Lines starting with ";" or "#" are
// comments; a UTF-8 byte-order mark and CR before LF are taken.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace orvella {

class IniFile {
public:
    static IniFile Parse(const std::string& text);

    // The value of key in section, trimmed; nothing when either is missing.
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    // The value read whole as a decimal integer in [low, high]; nothing when it is
    // missing, not a number, has anything after the digits or lies outside.
    std::optional<long> Integer(const std::string& section, const std::string& key, long low,
                                long high) const;

private:
    std::map<std::string, std::map<std::string, std::string>> m_sections;  // keys lower-cased
};

}  // namespace orvella
