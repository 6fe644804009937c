#include "uilib/controls/AttributeValue.h"

#include <cstdlib>
#include <cctype>
#include <cstring>
#include <string>

namespace uilib {
namespace attr {

bool ParseBool(const char* value) {
    if (!value) return false;
    return std::strcmp(value, "true") == 0 || std::strcmp(value, "1") == 0;
}

int ParseInt(const char* value, int fallback) {
    if (!value || !*value) return fallback;
    char* end = nullptr;
    long v = std::strtol(value, &end, 10);
    if (end == value) return fallback;
    return static_cast<int>(v);
}

DWORD ParseColor(const char* value, DWORD fallback) {
    if (!value) return fallback;
    while (*value == ' ') ++value;
    if (*value == '#') {
        ++value;
    } else if (value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
        value += 2;
    }
    size_t n = 0;
    while (std::isxdigit(static_cast<unsigned char>(value[n]))) ++n;
    if (n != 6 && n != 8) return fallback;
    DWORD c = static_cast<DWORD>(std::strtoul(std::string(value, n).c_str(), nullptr, 16));
    if (n == 6) c |= 0xFF000000u;
    return c;
}

static void ParseInts(const char* value, long* out, int count) {
    for (int i = 0; i < count; ++i) out[i] = 0;
    if (!value) return;
    const char* p = value;
    for (int i = 0; i < count && *p; ++i) {
        char* end = nullptr;
        out[i] = std::strtol(p, &end, 10);
        if (end == p) return;
        p = end;
        while (*p == ' ') ++p;
        if (*p != ',') return;
        ++p;
    }
}

RECT ParseRect(const char* value) {
    long v[4];
    ParseInts(value, v, 4);
    RECT rc;
    rc.left = v[0]; rc.top = v[1]; rc.right = v[2]; rc.bottom = v[3];
    return rc;
}

SIZE ParseSize(const char* value) {
    long v[2];
    ParseInts(value, v, 2);
    SIZE sz;
    sz.cx = v[0]; sz.cy = v[1];
    return sz;
}

bool IsName(const char* name, const char* expected) {
    return name && expected && std::strcmp(name, expected) == 0;
}

}  // namespace attr
}  // namespace uilib
