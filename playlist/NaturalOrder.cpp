#include "playlist/NaturalOrder.h"

#include <glib.h>

#include <algorithm>
#include <memory>

namespace orvella {
namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

// A run of decimal digits (of any script) as its value: a marker, the count of its
// digits without leading zeros, then those digits. More digits is the larger number, so
// the count orders before the digits do. Digits never stand in a key as themselves, so
// the marker cannot be mistaken for one.
void AppendNumber(std::string* key, const std::string& digits) {
    size_t first = digits.find_first_not_of('0');
    std::string value = first == std::string::npos ? "0" : digits.substr(first);
    key->push_back('0');
    key->push_back(static_cast<char>(value.size() < 255 ? value.size() : 255));
    key->append(value);
}

// One level of the key: the folded, decomposed text, digit runs as numbers; combining
// marks dropped unless keepAccents.
void AppendLevel(std::string* key, const gchar* decomposed, bool keepAccents) {
    std::string digits;
    for (const gchar* p = decomposed; *p; p = g_utf8_next_char(p)) {
        const auto byte = static_cast<unsigned char>(*p);
        const gunichar c = byte < 0x80 ? byte : g_utf8_get_char(p);
        const int digit = byte < 0x80 ? (g_ascii_isdigit(byte) ? byte - '0' : -1) : g_unichar_digit_value(c);
        if (digit >= 0) {
            digits.push_back(static_cast<char>('0' + digit));
            continue;
        }
        if (!digits.empty()) {
            AppendNumber(key, digits);
            digits.clear();
        }
        if (!keepAccents && g_unichar_type(c) == G_UNICODE_NON_SPACING_MARK) continue;
        key->append(p, g_utf8_next_char(p) - p);
    }
    if (!digits.empty()) AppendNumber(key, digits);
}

}  // namespace

std::string NaturalSortKey(const std::string& name, bool withBytes) {
    // File names are bytes: what is not UTF-8 is compared as U+FFFD here and by its bytes
    // at the end.
    std::string key;
    key.reserve(3 * name.size() + 8);
    // Most names are ASCII, which folds by itself and holds no accents: the common case
    // stays quick on long lists.
    const bool ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    GText decomposed;
    if (ascii) {
        decomposed.reset(g_ascii_strdown(name.c_str(), -1));
    } else {
        GText valid(g_utf8_make_valid(name.data(), static_cast<gssize>(name.size())));
        GText folded(g_utf8_casefold(valid.get(), -1));
        decomposed.reset(g_utf8_normalize(folded.get(), -1, G_NORMALIZE_NFD));
    }
    // No level holds a NUL byte (a number's count is never 0): a name that ends where
    // another goes on comes first at every level.
    AppendLevel(&key, decomposed.get(), false);
    key.push_back('\0');
    AppendLevel(&key, decomposed.get(), true);
    if (!withBytes) return key;
    key.push_back('\0');
    key.append(name);
    return key;
}

bool NaturalLess(const std::string& a, const std::string& b) {
    return NaturalSortKey(a) < NaturalSortKey(b);
}

}  // namespace orvella
