#include "library/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace orvella {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int DecimalValue(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

bool HexValue(const std::string& text, uint32_t* value) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && IsSpace(text[end - 1])) --end;
    if (end - begin > 2 && text[begin] == '0' && (text[begin + 1] == 'x' || text[begin + 1] == 'X'))
        begin += 2;
    if (begin == end || end - begin > 8) return false;
    uint32_t result = 0;
    for (size_t i = begin; i < end; ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) return false;
        result = result << 4 | static_cast<uint32_t>(digit);
    }
    *value = result;
    return true;
}

std::string DecimalText(int value) { return std::to_string(value); }

std::string HexText(uint32_t value) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::string FixedText(double value, int decimals) {
    if (!std::isfinite(value)) value = 0.0;
    char buf[352];  // the largest double in full with its decimals
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return "0";
    return std::string(buf, res.ptr);
}

}  // namespace orvella
