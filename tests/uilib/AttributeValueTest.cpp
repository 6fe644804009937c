#include "uilib/AttributeValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace uilib;

namespace {

TEST(AttributeValue, Booleans) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {
        {"true", true},   {"1", true},       {"TRUE", true},  {" True\t", true},
        {"false", false}, {"0", false},      {"yes", false},  {"on", false},
        {"", false},      {"truex", false},  {"2", false},    {"1 1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, attr::ParseBool(c.text));
    }
    EXPECT_FALSE(attr::ParseBool(nullptr));
}

TEST(AttributeValue, Numbers) {
    const int max = attr::kMaxLayoutNumber;
    const struct {
        const char* text;
        int value;  // with fallback -7
    } cases[] = {
        {"36", 36},          {"-26", -26},        {"+4", 4},           {"  12  ", 12},
        {"12px", 12},        {"007", 7},          {"", -7},            {"   ", -7},
        {"abc", -7},         {"-", -7},           {"1000000", max},    {"1000001", max},
        {"-99999999", -max}, {"99999999999999999999999", max},         {"0x10", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, attr::ParseInt(c.text, -7));
    }
    EXPECT_EQ(5, attr::ParseInt(nullptr, 5));
}

TEST(AttributeValue, Colours) {
    const DWORD fallback = 0x12345678;
    const struct {
        const char* text;
        bool ok;
        DWORD value;
    } cases[] = {
        {"#FF0370D9", true, 0xFF0370D9},  {"#33ffffff", true, 0x33FFFFFF},
        {"#0370D9", true, 0xFF0370D9},    {"0x80102030", true, 0x80102030},
        {"0X102030", true, 0xFF102030},   {"FF00FF", true, 0xFFFF00FF},
        {"  #00000001 ", true, 0x00000001},
        {"#FFF", false, fallback},        {"#FF0370D", false, fallback},
        {"#FF0370D9AA", false, fallback}, {"#FF0370DZ", false, fallback},
        {"#FF0370D9 x", false, fallback}, {"#", false, fallback},
        {"0x", false, fallback},          {"", false, fallback},
        {"auto", false, fallback},        {"true", false, fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, attr::ParseColor(c.text, fallback));
        DWORD out = fallback;
        EXPECT_EQ(c.ok, attr::TryParseColor(c.text, &out));
        EXPECT_EQ(c.value, out);
    }
    EXPECT_EQ(fallback, attr::ParseColor(nullptr, fallback));
}

TEST(AttributeValue, RectanglesAndSizes) {
    const long max = attr::kMaxLayoutNumber;
    const struct {
        const char* text;
        RECT rect;
        SIZE size;  // the first two parts
    } cases[] = {
        {"4,8,6,0", {4, 8, 6, 0}, {4, 8}},
        {" 1 , 2 , 3 , 4 ", {1, 2, 3, 4}, {1, 2}},
        {"7,8", {7, 8, 0, 0}, {7, 8}},
        {"x,y,1,z", {0, 0, 1, 0}, {0, 0}},
        {",5,,9", {0, 5, 0, 9}, {0, 5}},
        {"1,2,3,4,5", {1, 2, 3, 4}, {1, 2}},
        {"-3,2000000,0,-2000000", {-3, max, 0, -max}, {-3, max}},
        {"", {0, 0, 0, 0}, {0, 0}},
        {"1 2 3 4", {1, 0, 0, 0}, {1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const RECT rc = attr::ParseRect(c.text);
        EXPECT_EQ(c.rect.left, rc.left);
        EXPECT_EQ(c.rect.top, rc.top);
        EXPECT_EQ(c.rect.right, rc.right);
        EXPECT_EQ(c.rect.bottom, rc.bottom);
        const SIZE sz = attr::ParseSize(c.text);
        EXPECT_EQ(c.size.cx, sz.cx);
        EXPECT_EQ(c.size.cy, sz.cy);
    }
    EXPECT_EQ(0, attr::ParseRect(nullptr).right);
    EXPECT_EQ(0, attr::ParseSize(nullptr).cy);
}

}  // namespace
