#include "library/SettingsFileParts.h"

#include <cstring>

#include "library/AtomicFile.h"

namespace orvella {
namespace {

enum class Units { Utf8, Utf16Le, Utf16Be };

Units UnitsOf(const std::string& b) {
    auto at = [&](size_t i) { return i < b.size() ? static_cast<unsigned char>(b[i]) : 0x100u; };
    if ((at(0) == 0xFF && at(1) == 0xFE) || (at(0) == '<' && at(1) == 0)) return Units::Utf16Le;
    if ((at(0) == 0xFE && at(1) == 0xFF) || (at(0) == 0 && at(1) == '<')) return Units::Utf16Be;
    return Units::Utf8;
}

// ASCII text in the file's own code units.
std::string Encoded(const char* text, Units units) {
    std::string out;
    for (; *text; ++text) {
        if (units == Units::Utf16Be) out.push_back('\0');
        out.push_back(*text);
        if (units == Units::Utf16Le) out.push_back('\0');
    }
    return out;
}

// The next occurrence of `what` from `from` that starts on a code unit.
size_t FindUnit(const std::string& bytes, const std::string& what, size_t from, size_t unit) {
    for (size_t at = bytes.find(what, from); at != std::string::npos; at = bytes.find(what, at + 1))
        if (at % unit == 0) return at;
    return std::string::npos;
}

// The code unit at `at` as a character (0 past the end or outside ASCII).
char UnitAt(const std::string& bytes, size_t at, Units units) {
    if (units == Units::Utf8) return at < bytes.size() ? bytes[at] : 0;
    if (at + 1 >= bytes.size()) return 0;
    const char low = units == Units::Utf16Le ? bytes[at] : bytes[at + 1];
    const char high = units == Units::Utf16Le ? bytes[at + 1] : bytes[at];
    return high == 0 ? low : 0;
}

}  // namespace

bool FindMediaElement(const std::string& bytes, size_t* begin, size_t* end) {
    const Units units = UnitsOf(bytes);
    const size_t unit = units == Units::Utf8 ? 1 : 2;
    const std::string open = Encoded("<Media", units);
    size_t start = FindUnit(bytes, open, 0, unit);
    // "<MediaList" is another element.
    while (start != std::string::npos &&
           std::strchr(" \t\r\n/>", UnitAt(bytes, start + open.size(), units)) == nullptr)
        start = FindUnit(bytes, open, start + unit, unit);
    if (start == std::string::npos) return false;
    *begin = start;
    *end = bytes.size();
    const std::string close = Encoded(">", units);
    const size_t tagEnd = FindUnit(bytes, close, start, unit);
    if (tagEnd == std::string::npos) return true;
    if (UnitAt(bytes, tagEnd - unit, units) == '/') {
        *end = tagEnd + unit;
        return true;
    }
    const size_t closing = FindUnit(bytes, Encoded("</Media", units), tagEnd, unit);
    const size_t closingEnd = closing == std::string::npos ? closing : FindUnit(bytes, close, closing, unit);
    if (closingEnd != std::string::npos) *end = closingEnd + unit;
    return true;
}

SettingsFileParts ReadSettingsFile(const std::string& path) {
    SettingsFileParts parts;
    parts.path = path;
    auto bytes = std::make_shared<std::string>();
    parts.read = ReadWholeFile(path, bytes.get());
    size_t begin = 0, end = 0;
    parts.memoryApart = parts.read && FindMediaElement(*bytes, &begin, &end);
    if (parts.memoryApart) {
        parts.rest.reserve(bytes->size() - (end - begin));
        parts.rest.append(*bytes, 0, begin).append(*bytes, end, std::string::npos);
    } else {
        parts.rest = *bytes;
    }
    parts.whole = std::move(bytes);
    return parts;
}

}  // namespace orvella
