#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "uilib/Base.h"

using uilib::CRect;
using uilib::CStdString;

namespace {

TEST(CStdStringTest, FormatHasNoLengthLimit) {
    std::string big(100000, 'x');
    CStdString s;
    EXPECT_EQ(s.Format("[%s] %d %.2f %05x", big.c_str(), -42, 1.5, 0xab), 100000 + 17);
    EXPECT_EQ(s.substr(0, 3), "[xx");
    EXPECT_EQ(s.substr(s.size() - 16), "] -42 1.50 000ab");
    EXPECT_EQ(CStdString::Printf("%s/%s", "a", "b"), "a/b");
}

TEST(CStdStringTest, Replace) {
    struct Case {
        const char *text, *from, *to, *result;
        int count;
    } cases[] = {
        {"a.b.c", ".", "::", "a::b::c", 2},
        {"aaa", "a", "aa", "aaaaaa", 3},  // the replacement is not searched again
        {"abc", "", "x", "abc", 0},
        {"abc", "d", "x", "abc", 0},
        {"abcabc", "abc", "", "", 2},
        {"skin\\river.PNG", "\\", "/", "skin/river.PNG", 1},
    };
    for (const Case& c : cases) {
        CStdString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text << " " << c.from;
        EXPECT_EQ(s, c.result) << c.text << " " << c.from;
    }
}

TEST(CStdStringTest, PiecesClampToTheString) {
    CStdString s("hello");
    struct Case {
        CStdString got;
        const char* expected;
    } cases[] = {
        {s.Mid(1, 3), "ell"}, {s.Mid(3), "lo"},   {s.Mid(-2, 2), "he"}, {s.Mid(5), ""},
        {s.Mid(99, 2), ""},   {s.Mid(2, 99), "llo"}, {s.Left(2), "he"},  {s.Left(-1), ""},
        {s.Left(99), "hello"}, {s.Right(3), "llo"}, {s.Right(99), "hello"}, {s.Right(-3), ""},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
}

TEST(CStdStringTest, FindCompareAndCase) {
    CStdString s("Hello World");
    EXPECT_EQ(s.Find("o"), 4);
    EXPECT_EQ(s.Find("o", 5), 7);
    EXPECT_EQ(s.Find("zz"), -1);
    EXPECT_EQ(s.Find("o", 100), -1);
    EXPECT_EQ(s.Find(nullptr), -1);
    EXPECT_EQ(s.Find('W'), 6);
    EXPECT_EQ(s.Find('W', 7), -1);
    EXPECT_EQ(s.CompareNoCase("hello world"), 0);
    EXPECT_LT(s.CompareNoCase("hello worlds"), 0);
    EXPECT_GT(s.CompareNoCase("HELLO"), 0);
    EXPECT_GT(s.CompareNoCase(nullptr), 0);
    CStdString u("Grüße aB");
    u.MakeUpper();
    EXPECT_EQ(u, "GRüßE AB");  // ASCII only: multi-byte text is left intact
    u.MakeLower();
    EXPECT_EQ(u, "grüße ab");
}

TEST(CRectTest, IntersectUnionJoin) {
    CRect r;
    EXPECT_TRUE(r.Intersect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(r, CRect(5, 5, 10, 10));
    EXPECT_FALSE(r.Intersect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));  // edges only touch
    EXPECT_TRUE(r.IsNull());

    EXPECT_TRUE(r.Union(CRect(0, 0, 10, 10), CRect(20, 5, 30, 30)));
    EXPECT_EQ(r, CRect(0, 0, 30, 30));
    EXPECT_TRUE(r.Union(CRect(), CRect(1, 2, 3, 4)));  // an empty side does not count
    EXPECT_EQ(r, CRect(1, 2, 3, 4));

    CRect j(10, 10, 20, 20);
    j.Join(CRect(0, 15, 12, 40));
    EXPECT_EQ(j, CRect(0, 10, 20, 40));

    CRect n(10, 20, 0, 5);
    n.Normalize();
    EXPECT_EQ(n, CRect(0, 5, 10, 20));
    n.Deflate(2, 3);
    EXPECT_EQ(n, CRect(2, 8, 8, 17));
    n.ResetOffset();
    EXPECT_EQ(n, CRect(0, 0, 6, 9));

    RECT out;
    RECT a = CRect(0, 0, 4, 4), b = CRect(2, 2, 8, 8);
    EXPECT_TRUE(uilib::IntersectRect(&out, &a, &b));
    EXPECT_EQ(CRect(out), CRect(2, 2, 4, 4));
    EXPECT_FALSE(uilib::IntersectRect(&out, &a, nullptr));
    EXPECT_TRUE(CRect(out).IsEmpty());

    EXPECT_TRUE(uilib::PtInRect(&a, POINT{0, 0}));
    EXPECT_FALSE(uilib::PtInRect(&a, POINT{4, 2}));  // right and bottom are outside
    EXPECT_FALSE(uilib::PtInRect(nullptr, POINT{0, 0}));
}

TEST(ColourTest, KnownHslValues) {
    struct Case {
        DWORD rgb;
        float h, s, l;
    } cases[] = {
        {0xFF0000, 0, 100, 50},   {0x00FF00, 120, 100, 50}, {0x0000FF, 240, 100, 50},
        {0xFFFFFF, 0, 0, 100},    {0x000000, 0, 0, 0},      {0x008000, 120, 100, 25.1f},
        {0xFF00FF, 300, 100, 50}, {0x808080, 0, 0, 50.2f},
    };
    for (const Case& c : cases) {
        float h, s, l;
        uilib::RGBtoHSL(0xFF000000 | c.rgb, &h, &s, &l);
        EXPECT_NEAR(h, c.h, 0.1) << std::hex << c.rgb;
        EXPECT_NEAR(s, c.s, 0.1) << std::hex << c.rgb;
        EXPECT_NEAR(l, c.l, 0.1) << std::hex << c.rgb;
        EXPECT_EQ(uilib::HSLtoRGB(c.h, c.s, c.l), c.rgb) << std::hex << c.rgb;
    }
    EXPECT_EQ(uilib::HSLtoRGB(360, 100, 50), 0xFF0000u);  // hue wraps
    EXPECT_EQ(uilib::HSLtoRGB(0, 150, 120), 0xFFFFFFu);   // out-of-range values clamp
}

TEST(ColourTest, RoundTripsAreStable) {
    for (DWORD argb : {0xFF0370D9u, 0xFFABD632u, 0xFF424242u, 0xFF69C2FFu, 0xFF010203u, 0xFFFEFDFCu}) {
        float h, s, l;
        uilib::RGBtoHSL(argb, &h, &s, &l);
        DWORD once = uilib::HSLtoRGB(h, s, l);
        EXPECT_EQ(once, argb & 0xFFFFFF) << std::hex << argb;
        uilib::RGBtoHSL(once, &h, &s, &l);
        EXPECT_EQ(uilib::HSLtoRGB(h, s, l), once) << std::hex << argb;
    }
}

TEST(AppPathTest, EndsWithSlashAndCanBeOverridden) {
    CStdString real = uilib::GetAppPath();
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(real.back(), '/');
    EXPECT_EQ(real.front(), '/');
    uilib::SetAppPathForTesting("/tmp/orvella-test");
    EXPECT_EQ(uilib::GetAppPath(), "/tmp/orvella-test/");
    uilib::SetAppPathForTesting("");
    EXPECT_EQ(uilib::GetAppPath(), real);
}

}  // namespace
