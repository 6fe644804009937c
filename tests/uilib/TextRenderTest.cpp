// Text drawing and measuring through CRenderEngine (no paint manager: the default cache).
#include <gtest/gtest.h>

#include <cstring>

#include "tests/uilib/RenderTestSupport.h"
#include "uilib/RenderEngine.h"
#include "uilib/ResourceCache.h"

using namespace uilib;
using rendertest::Canvas;

namespace {

constexpr int kFont = 9301;  // 20 px sans in the default cache
constexpr DWORD kBlack = 0xFF000000;

class TextRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFontInfo font;
        font.family = "Sans";
        font.size = 20;
        CResourceCache::Default().AddFont(kFont, font);
    }
    RECT Draw(Canvas& canvas, RECT rc, const char* text, UINT style) {
        CRenderEngine::DrawText(canvas.Cr(), nullptr, rc, text, kBlack, kFont, style);
        return canvas.Ink();
    }
    static bool Inside(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
};

TEST_F(TextRenderTest, AlignmentPlacesInkInsideRect) {
    const RECT rc{10, 10, 310, 60};
    struct { UINT style; const char* name; } cases[] = {
        {DT_LEFT | DT_TOP | DT_SINGLELINE, "left top"},
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, "centre"},
        {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, "right bottom"},
        {DT_CENTER | DT_VCENTER | DT_WORDBREAK, "centre, wrapping allowed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(320, 70);
        const RECT ink = Draw(canvas, rc, "Play list", c.style);
        ASSERT_GT(ink.right, ink.left) << "no ink";
        EXPECT_TRUE(Inside(ink, rc));
        const double inkMidX = (ink.left + ink.right) / 2.0, inkMidY = (ink.top + ink.bottom) / 2.0;
        if (c.style & DT_CENTER) {
            EXPECT_NEAR(160, inkMidX, 4);
        }
        if (c.style & DT_RIGHT) {
            EXPECT_GE(ink.right, rc.right - 3);
        }
        if (!(c.style & (DT_CENTER | DT_RIGHT))) {
            EXPECT_LE(ink.left, rc.left + 3);
        }
        if (c.style & DT_VCENTER) {
            EXPECT_NEAR(35, inkMidY, 5);
        }
        if (c.style & DT_BOTTOM) {
            EXPECT_GE(ink.bottom, rc.bottom - 8);  // room for descenders
        }
        if (!(c.style & (DT_VCENTER | DT_BOTTOM))) {
            EXPECT_LE(ink.top, rc.top + 8);
        }
    }
}

TEST_F(TextRenderTest, EllipsisEndsInDotsInsideNarrowRect) {
    const RECT rc{5, 5, 95, 45};
    const char* text = "WWWWWWWWWWWWWWWWWWWWWWWW";
    Canvas canvas(200, 50);
    const RECT ink = Draw(canvas, rc, text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    ASSERT_GT(ink.right, ink.left);
    EXPECT_TRUE(Inside(ink, rc));
    // The last few columns hold only the low dots of the ellipsis, no capital letter.
    const int mid = (ink.top + ink.bottom) / 2;
    for (int x = ink.right - 3; x < ink.right; ++x)
        for (int y = ink.top; y < mid; ++y) EXPECT_LE(canvas.Alpha(x, y), 40) << x << "," << y;
}

TEST_F(TextRenderTest, WordBreakWrapsIntoMoreLines) {
    const char* text = "The quick brown fox jumps over the lazy dog again and again";
    const SIZE oneLine = CRenderEngine::GetTextSize(nullptr, text, kFont, DT_SINGLELINE);
    const SIZE wrapped = CRenderEngine::GetTextSize(nullptr, text, kFont, DT_WORDBREAK, 120);
    EXPECT_LE(wrapped.cx, 120);
    EXPECT_GE(wrapped.cy, 3 * oneLine.cy);

    Canvas canvas(140, 300);
    const RECT rc{0, 0, 120, 300};
    const RECT ink = Draw(canvas, rc, text, DT_WORDBREAK);
    EXPECT_GE(ink.bottom - ink.top, 2 * oneLine.cy);
    EXPECT_TRUE(Inside(ink, rc));

    // Word breaks with an ellipsis stop at the rect's last full line.
    Canvas limited(140, 300);
    const RECT ink2 = Draw(limited, RECT{0, 0, 120, oneLine.cy * 2}, text, DT_WORDBREAK | DT_END_ELLIPSIS);
    EXPECT_LE(ink2.bottom, oneLine.cy * 2);
    EXPECT_GT(ink2.bottom, oneLine.cy);
}

TEST_F(TextRenderTest, CalcRectMeasuresWithoutDrawing) {
    Canvas canvas(400, 100);
    RECT rc{10, 20, 400, 100};
    CRenderEngine::DrawText(canvas.Cr(), nullptr, rc, "Measure me", kBlack, kFont,
                            DT_SINGLELINE | DT_CALCRECT);
    const RECT none = canvas.Ink(0);
    EXPECT_EQ(none.right, none.left) << "DT_CALCRECT must not draw";
    const SIZE size = CRenderEngine::GetTextSize(nullptr, "Measure me", kFont, DT_SINGLELINE);
    EXPECT_EQ(10, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_EQ(10 + size.cx, rc.right);
    EXPECT_EQ(20 + size.cy, rc.bottom);
    EXPECT_GT(size.cx, 60);
    EXPECT_GE(size.cy, 20);

    // The measured rect is enough: drawing into it with an ellipsis keeps every letter.
    Canvas exact(400, 100), roomy(400, 100);
    const RECT a = Draw(exact, rc, "Measure me", DT_SINGLELINE | DT_END_ELLIPSIS);
    const RECT b = Draw(roomy, RECT{10, 20, 390, 100}, "Measure me", DT_SINGLELINE);
    EXPECT_EQ(b.right, a.right);

    // A bigger font needs more room; bold needs at least as much.
    TFontInfo big;
    big.size = 40;
    CResourceCache::Default().AddFont(kFont + 1, big);
    big.bold = true;
    CResourceCache::Default().AddFont(kFont + 2, big);
    const SIZE large = CRenderEngine::GetTextSize(nullptr, "Measure me", kFont + 1, DT_SINGLELINE);
    const SIZE bold = CRenderEngine::GetTextSize(nullptr, "Measure me", kFont + 2, DT_SINGLELINE);
    EXPECT_GT(large.cx, size.cx * 3 / 2);
    EXPECT_GE(bold.cx, large.cx);
    EXPECT_EQ(0, CRenderEngine::GetTextSize(nullptr, "", kFont, DT_SINGLELINE).cx);
    EXPECT_EQ(0, CRenderEngine::GetTextSize(nullptr, nullptr, kFont, DT_SINGLELINE).cx);
}

TEST_F(TextRenderTest, CjkHasRealGlyphs) {
    for (const char* text : {"播放列表", "再生リスト", "Playlist 播放列表 再生リスト"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(0, CRenderEngine::CountUnknownGlyphs(nullptr, text, kFont));
        EXPECT_EQ(0, CRenderEngine::CountUnknownGlyphs(nullptr, text, -1));
        Canvas canvas(300, 40);
        const RECT ink = Draw(canvas, RECT{0, 0, 300, 40}, text, DT_SINGLELINE | DT_VCENTER);
        EXPECT_GT(ink.right - ink.left, 40);
    }
    // A family that does not exist still falls back to real glyphs.
    TFontInfo odd;
    odd.family = "No Such Family Anywhere";
    CResourceCache::Default().AddFont(kFont + 3, odd);
    EXPECT_EQ(0, CRenderEngine::CountUnknownGlyphs(nullptr, "播放列表", kFont + 3));
}

TEST_F(TextRenderTest, CaretOffsetsFollowCharacters) {
    const char* text = "aé播b W";  // 1, 2, 3, 1, 1, 1 bytes
    const int boundaries[] = {0, 1, 3, 6, 7, 8, 9};
    int previousX = -1;
    for (int offset : boundaries) {
        SCOPED_TRACE(offset);
        const int x = CRenderEngine::TextOffsetToX(nullptr, text, kFont, offset);
        EXPECT_GT(x, previousX);
        previousX = x;
        // Clicking exactly at a caret position finds that position again.
        EXPECT_EQ(offset, CRenderEngine::HitTestText(nullptr, text, kFont, x)) << "x=" << x;
    }
    const int length = static_cast<int>(strlen(text));
    EXPECT_EQ(CRenderEngine::GetTextSize(nullptr, text, kFont, DT_SINGLELINE).cx,
              CRenderEngine::TextOffsetToX(nullptr, text, kFont, length));
    EXPECT_EQ(CRenderEngine::TextOffsetToX(nullptr, text, kFont, length),
              CRenderEngine::TextOffsetToX(nullptr, text, kFont, length + 50));
    // Inside a character: that character's start.
    EXPECT_EQ(CRenderEngine::TextOffsetToX(nullptr, text, kFont, 3),
              CRenderEngine::TextOffsetToX(nullptr, text, kFont, 4));
    EXPECT_EQ(length, CRenderEngine::HitTestText(nullptr, text, kFont, 5000));
    EXPECT_EQ(0, CRenderEngine::HitTestText(nullptr, text, kFont, -7));
    EXPECT_EQ(0, CRenderEngine::HitTestText(nullptr, "", kFont, 30));
    EXPECT_EQ(0, CRenderEngine::TextOffsetToX(nullptr, nullptr, kFont, 3));
    // Every hit lands on a character boundary.
    const int end = CRenderEngine::TextOffsetToX(nullptr, text, kFont, length);
    for (int x = 0; x <= end; ++x) {
        const int hit = CRenderEngine::HitTestText(nullptr, text, kFont, x);
        EXPECT_TRUE(std::find(std::begin(boundaries), std::end(boundaries), hit) != std::end(boundaries))
            << "x=" << x << " hit=" << hit;
    }
}

TEST_F(TextRenderTest, OddInputIsContained) {
    Canvas canvas(100, 40);
    RECT rc{0, 0, 100, 40};
    CRenderEngine::DrawText(canvas.Cr(), nullptr, rc, nullptr, kBlack, kFont, DT_SINGLELINE);
    CRenderEngine::DrawText(nullptr, nullptr, rc, "no context", kBlack, kFont, DT_SINGLELINE);
    RECT empty{50, 10, 40, 5};
    CRenderEngine::DrawText(canvas.Cr(), nullptr, empty, "inverted", kBlack, kFont, DT_SINGLELINE);
    EXPECT_EQ(canvas.Ink(0).right, 0);
    // Broken UTF-8 and line breaks in a single line still draw, on one line.
    const RECT ink = Draw(canvas, rc, "ab\xff\xfe" "cd\nef", DT_SINGLELINE | DT_VCENTER);
    EXPECT_GT(ink.right, ink.left);
    EXPECT_LT(ink.bottom - ink.top, 30);
    EXPECT_GE(CRenderEngine::HitTestText(nullptr, "ab\xff\xfe", kFont, 500), 0);
    EXPECT_LE(CRenderEngine::HitTestText(nullptr, "ab\xff\xfe", kFont, 500), 4);
    // Colour without alpha is drawn opaque.
    Canvas plain(100, 40);
    RECT rc2{0, 0, 100, 40};
    CRenderEngine::DrawText(plain.Cr(), nullptr, rc2, "Text", 0x00000000, kFont, DT_SINGLELINE);
    EXPECT_GT(plain.Ink().right, 0);
}

}  // namespace
