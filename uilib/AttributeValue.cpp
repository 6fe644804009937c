#include "uilib/AttributeValue.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

namespace uilib {
namespace attr {

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The text between begin and end without the space around it.
std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsSpace(*begin)) ++begin;
    while (end > begin && IsSpace(end[-1])) --end;
    return std::string(begin, end);
}

std::string Trimmed(const char* value) {
    return value ? Trimmed(value, value + std::strlen(value)) : std::string();
}

bool ReadNumber(const std::string& text, long* out) {
    const char* p = text.c_str();
    char* end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (end == p) return false;
    // strtol saturates on overflow; the clamp below then gives the right end of the range.
    *out = std::clamp(v, static_cast<long>(-kMaxLayoutNumber), static_cast<long>(kMaxLayoutNumber));
    return true;
}

// Fills out[0..count) from "a,b,c…"; a missing or unreadable part is 0.
void ParseList(const char* value, long* out, int count) {
    std::fill(out, out + count, 0L);
    if (!value) return;
    const char* p = value;
    for (int i = 0; i < count; ++i) {
        const char* comma = std::strchr(p, ',');
        const char* end = comma ? comma : p + std::strlen(p);
        long v = 0;
        if (ReadNumber(Trimmed(p, end), &v)) out[i] = v;
        if (!comma) return;
        p = comma + 1;
    }
}

}  // namespace

bool ParseBool(const char* value) {
    const std::string v = Trimmed(value);
    return strcasecmp(v.c_str(), "true") == 0 || v == "1";
}

int ParseInt(const char* value, int fallback) {
    long v = 0;
    return ReadNumber(Trimmed(value), &v) ? static_cast<int>(v) : fallback;
}

bool TryParseColor(const char* value, DWORD* out) {
    std::string hex = Trimmed(value);
    if (!hex.empty() && hex[0] == '#')
        hex.erase(0, 1);
    else if (hex.size() > 2 && hex[0] == '0' && (hex[1] == 'x' || hex[1] == 'X'))
        hex.erase(0, 2);
    if (hex.size() != 6 && hex.size() != 8) return false;
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    DWORD c = static_cast<DWORD>(std::strtoul(hex.c_str(), nullptr, 16));
    if (out) *out = hex.size() == 6 ? (c | 0xFF000000u) : c;
    return true;
}

DWORD ParseColor(const char* value, DWORD fallback) {
    DWORD c = fallback;
    TryParseColor(value, &c);
    return c;
}

RECT ParseRect(const char* value) {
    long v[4];
    ParseList(value, v, 4);
    RECT rc;
    rc.left = v[0];
    rc.top = v[1];
    rc.right = v[2];
    rc.bottom = v[3];
    return rc;
}

SIZE ParseSize(const char* value) {
    long v[2];
    ParseList(value, v, 2);
    SIZE sz;
    sz.cx = v[0];
    sz.cy = v[1];
    return sz;
}

std::string Trim(const std::string& value) {
    return Trimmed(value.data(), value.data() + value.size());
}

bool IsName(const char* name, const char* expected) {
    return name && expected && std::strcmp(name, expected) == 0;
}

}  // namespace attr
}  // namespace uilib
