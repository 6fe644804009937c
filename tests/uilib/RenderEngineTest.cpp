#include "uilib/RenderEngine.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "tests/uilib/RenderTestSupport.h"
#include "uilib/ResourceCache.h"

using namespace uilib;
using rendertest::Canvas;
using rendertest::Rgb;
using rendertest::TempFolder;

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF,
                   kYellow = 0xFFFFFF00, kGrey = 0xFF808080, kWhite = 0xFFFFFFFF;

bool SameRect(const RECT& a, long l, long t, long r, long b) {
    return a.left == l && a.top == t && a.right == r && a.bottom == b;
}

// ---- picture texts -------------------------------------------------------------------

struct ParseCase {
    const char* text;
    bool ok;
    const char* file;
    RECT dest, source, corner;
    DWORD mask;
    int fade;
    bool hole, xtiled, ytiled;
};

TEST(ParseImageString, Table) {
    const ParseCase cases[] = {
        {"bk.png", true, "bk.png", {}, {}, {}, 0, 255, false, false, false},
        {"  skin\\river.PNG  ", true, "skin\\river.PNG", {}, {}, {}, 0, 255, false, false, false},
        {"skin/my picture.png", true, "skin/my picture.png", {}, {}, {}, 0, 255, false, false, false},
        {"file='skin\\river.PNG' dest='0,1,32,33' source='2,3,4,5' corner='4,5,6,7' "
         "mask='#FFFF00FF' fade='200' hole='true' xtiled='true' ytiled='1'",
         true, "skin\\river.PNG", {0, 1, 32, 33}, {2, 3, 4, 5}, {4, 5, 6, 7}, 0xFFFF00FF, 200,
         true, true, true},
        {"  file = 'a/b.png'   dest = ' 1 , 2 , 3 , 4 ' ", true, "a/b.png", {1, 2, 3, 4}, {}, {},
         0, 255, false, false, false},
        {"file='a.png' mask='#00FF00'", true, "a.png", {}, {}, {}, 0xFF00FF00, 255, false, false, false},
        {"file='a.png' mask='0x80102030'", true, "a.png", {}, {}, {}, 0x80102030, 255, false, false, false},
        {"file='a.png' mask='#12' fade='abc' dest='x,y,1,z'", true, "a.png", {0, 0, 1, 0}, {}, {},
         0, 0, false, false, false},
        {"file='a.png' fade='300' dest='7,8'", true, "a.png", {7, 8, 0, 0}, {}, {}, 0, 255, false,
         false, false},
        {"file='a.png' fade='-4' hole='no' xtiled='TRUE'", true, "a.png", {}, {}, {}, 0, 0, false,
         true, false},
        {"file='a.png' unknown='1,2' res='3' dest='1,1,2,2'", true, "a.png", {1, 1, 2, 2}, {}, {}, 0,
         255, false, false, false},
        {"junk file='a.png' = 'x' source='1,2,3,4", true, "a.png", {}, {1, 2, 3, 4}, {}, 0, 255,
         false, false, false},
        {"file=\"dq.png\" fade=\"9\"", true, "dq.png", {}, {}, {}, 0, 9, false, false, false},
        {"FILE='upper.png' Dest='1,2,3,4'", true, "upper.png", {1, 2, 3, 4}, {}, {}, 0, 255, false,
         false, false},
        {"dest='0,0,1,1'", false, "", {0, 0, 1, 1}, {}, {}, 0, 255, false, false, false},
        {"", false, "", {}, {}, {}, 0, 255, false, false, false},
        {"   ", false, "", {}, {}, {}, 0, 255, false, false, false},
        {"file='' fade='", false, "", {}, {}, {}, 0, 0, false, false, false},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        ImageAttributes a;
        a.fade = 17;  // parsing starts from the defaults
        EXPECT_EQ(c.ok, CRenderEngine::ParseImageString(c.text, &a));
        EXPECT_EQ(c.file, a.file);
        EXPECT_TRUE(SameRect(a.dest, c.dest.left, c.dest.top, c.dest.right, c.dest.bottom));
        EXPECT_TRUE(SameRect(a.source, c.source.left, c.source.top, c.source.right, c.source.bottom));
        EXPECT_TRUE(SameRect(a.corner, c.corner.left, c.corner.top, c.corner.right, c.corner.bottom));
        EXPECT_EQ(c.mask, a.mask);
        EXPECT_EQ(c.fade, a.fade);
        EXPECT_EQ(c.hole, a.hole);
        EXPECT_EQ(c.xtiled, a.xtiled);
        EXPECT_EQ(c.ytiled, a.ytiled);
    }
    ImageAttributes a;
    EXPECT_FALSE(CRenderEngine::ParseImageString(nullptr, &a));
    EXPECT_FALSE(CRenderEngine::ParseImageString("a.png", nullptr));
}

// ---- pictures --------------------------------------------------------------------------

class RenderImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        CResourceCache::SetResourceFolder(folder.Path().c_str());
        CResourceCache::Default().RemoveAllImages();
    }
    void TearDown() override {
        CResourceCache::SetResourceFolder("");
        CResourceCache::Default().RemoveAllImages();
    }
    bool Draw(Canvas& canvas, const RECT& item, const char* image, const char* modify = nullptr) {
        RECT paint{0, 0, canvas.Width(), canvas.Height()};
        return CRenderEngine::DrawImageString(canvas.Cr(), nullptr, item, paint, image, modify);
    }
    TempFolder folder;
};

TEST_F(RenderImageTest, SourcePartDrawnIntoDestInsideItem) {
    std::filesystem::create_directory(folder.File("sub"));
    // Left half red, right half blue.
    rendertest::WritePng(folder.File("sub/pic.png"), 20, 20,
                         [](int x, int) { return x < 10 ? kRed : kBlue; });
    Canvas canvas(60, 60);
    ASSERT_TRUE(Draw(canvas, RECT{10, 10, 50, 50}, "file='sub\\pic.png' source='10,0,20,20'",
                     "dest='5,5,15,15'"));
    EXPECT_EQ(0, canvas.Alpha(12, 12)) << "outside dest";
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(16, 16)));
    EXPECT_EQ(Rgb(kBlue), Rgb(canvas.Pixel(24, 24)));
    EXPECT_EQ(0, canvas.Alpha(26, 26)) << "outside dest";

    // One frame of a strip stretched large keeps its own colour up to its edge.
    Canvas frame(40, 40);
    ASSERT_TRUE(Draw(frame, RECT{0, 0, 40, 40}, "file='sub/pic.png' source='0,0,10,20'"));
    EXPECT_EQ(Rgb(kRed), Rgb(frame.Pixel(39, 20)));

    // A plain name fills the whole item; dest past the item is cut at its edge.
    Canvas whole(60, 60);
    ASSERT_TRUE(Draw(whole, RECT{0, 0, 40, 20}, "sub/pic.png", "dest='30,0,90,20'"));
    EXPECT_EQ(0, whole.Alpha(29, 5));
    EXPECT_EQ(255, whole.Alpha(39, 5));
    EXPECT_EQ(0, whole.Alpha(40, 5));
}

TEST_F(RenderImageTest, DrawingStaysInsidePaintRect) {
    rendertest::WriteSolidPng(folder.File("g.png"), 8, 8, kGreen);
    Canvas canvas(40, 40);
    const ImageData* image = CResourceCache::Default().GetImage("g.png");
    ASSERT_NE(nullptr, image);
    CRenderEngine::DrawImage(canvas.Cr(), image, RECT{0, 0, 40, 40}, RECT{10, 10, 20, 20},
                             RECT{}, RECT{});
    EXPECT_EQ(255, canvas.Alpha(15, 15));
    EXPECT_EQ(0, canvas.Alpha(9, 15));
    EXPECT_EQ(0, canvas.Alpha(20, 15));
    EXPECT_EQ(0, canvas.Alpha(15, 25));
}

// A 12x12 nine-patch: 4 px corners red, green, blue, yellow; grey edges; white centre.
uint32_t NinePatchColor(int x, int y) {
    const bool left = x < 4, right = x >= 8, top = y < 4, bottom = y >= 8;
    if (top && left) return kRed;
    if (top && right) return kGreen;
    if (bottom && left) return kBlue;
    if (bottom && right) return kYellow;
    if (left || right || top || bottom) return kGrey;
    return kWhite;
}

TEST_F(RenderImageTest, NinePatchKeepsCornersUnscaled) {
    rendertest::WritePng(folder.File("nine.png"), 12, 12, NinePatchColor);
    for (bool hole : {false, true}) {
        SCOPED_TRACE(hole ? "hole" : "filled");
        Canvas canvas(100, 60);
        std::string image = std::string("file='nine.png' corner='4,4,4,4' hole='") +
                            (hole ? "true'" : "false'");
        ASSERT_TRUE(Draw(canvas, RECT{0, 0, 100, 60}, image.c_str()));
        struct { int x, y; uint32_t color; } expected[] = {
            {0, 0, kRed},     {3, 3, kRed},      {99, 0, kGreen}, {96, 3, kGreen},
            {0, 59, kBlue},   {3, 56, kBlue},    {99, 59, kYellow}, {96, 56, kYellow},
            {1, 30, kGrey},   {50, 1, kGrey},    {98, 30, kGrey},  {50, 58, kGrey},
        };
        for (const auto& e : expected)
            EXPECT_EQ(Rgb(e.color), Rgb(canvas.Pixel(e.x, e.y))) << e.x << "," << e.y;
        // Scaled corners would have spread far past 4 px.
        EXPECT_NE(Rgb(kRed), Rgb(canvas.Pixel(8, 8)));
        EXPECT_NE(Rgb(kYellow), Rgb(canvas.Pixel(90, 50)));
        if (hole) {
            EXPECT_EQ(0, canvas.Alpha(50, 30));
        } else {
            // Stretched patches do not smear their neighbours' colours into the centre.
            for (auto [x, y] : {std::pair{50, 30}, {4, 30}, {95, 30}, {50, 4}, {50, 55}})
                EXPECT_EQ(Rgb(kWhite), Rgb(canvas.Pixel(x, y))) << x << "," << y;
        }
    }
}

TEST_F(RenderImageTest, MaskColourBecomesTransparent) {
    rendertest::WritePng(folder.File("mask.png"), 10, 10,
                         [](int x, int) { return x < 5 ? 0xFFFF00FF : kBlue; });
    Canvas canvas(10, 10);
    ASSERT_TRUE(Draw(canvas, RECT{0, 0, 10, 10}, "file='mask.png' mask='#FF00FF'"));
    EXPECT_EQ(0, canvas.Alpha(2, 5));
    EXPECT_EQ(kBlue, canvas.Pixel(7, 5));

    // The same file without the mask is a separate cache entry, still opaque.
    const ImageData* plain = CResourceCache::Default().GetImage("mask.png");
    const ImageData* masked = CResourceCache::Default().GetImage("mask.png", 0xFFFF00FF);
    ASSERT_TRUE(plain && masked);
    EXPECT_NE(plain, masked);
    EXPECT_FALSE(plain->hasAlpha);
    EXPECT_TRUE(masked->hasAlpha);
}

TEST_F(RenderImageTest, FadeScalesAlpha) {
    rendertest::WriteSolidPng(folder.File("solid.png"), 4, 4, kWhite);
    Canvas canvas(10, 10);
    ASSERT_TRUE(Draw(canvas, RECT{0, 0, 10, 10}, "file='solid.png' fade='128'"));
    EXPECT_NEAR(128, canvas.Alpha(5, 5), 2);
    Canvas none(10, 10);
    ASSERT_TRUE(Draw(none, RECT{0, 0, 10, 10}, "file='solid.png' fade='0'"));
    EXPECT_EQ(0, none.Alpha(5, 5));
}

TEST_F(RenderImageTest, TiledCentreRepeatsAtNaturalSize) {
    // Columns red, blue, then two green ones that only the whole picture shows.
    rendertest::WritePng(folder.File("tile.png"), 4, 2, [](int x, int) {
        return x == 0 ? kRed : x == 1 ? kBlue : kGreen;
    });
    {
        Canvas canvas(20, 6);
        ASSERT_TRUE(Draw(canvas, RECT{0, 0, 20, 6}, "file='tile.png' source='0,0,2,2' xtiled='true'"));
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(Rgb(x % 2 ? kBlue : kRed), Rgb(canvas.Pixel(x, 3))) << x;
    }
    {
        Canvas canvas(20, 6);
        ASSERT_TRUE(Draw(canvas, RECT{0, 0, 20, 6}, "file='tile.png' xtiled='true' ytiled='true'"));
        for (int x = 0; x < 20; ++x)
            for (int y : {0, 5})
                EXPECT_EQ(Rgb(x % 4 == 0 ? kRed : x % 4 == 1 ? kBlue : kGreen), Rgb(canvas.Pixel(x, y)))
                    << x << "," << y;
    }
}

TEST_F(RenderImageTest, MissingOrBrokenPicturesDrawNothing) {
    { std::ofstream(folder.File("broken.png")) << "\x89PNG not really a picture"; }
    { std::ofstream(folder.File("empty.png")); }
    std::filesystem::create_directory(folder.File("dir.png"));
    Canvas canvas(10, 10);
    for (const char* image : {"missing.png", "file='missing.png'", "broken.png", "empty.png",
                              "dir.png", "", "fade='10'"}) {
        SCOPED_TRACE(image);
        EXPECT_FALSE(Draw(canvas, RECT{0, 0, 10, 10}, image));
    }
    EXPECT_EQ(RECT{}.right, canvas.Ink(0).right);
    EXPECT_EQ(nullptr, CRenderEngine::LoadImage(nullptr));
    EXPECT_EQ(nullptr, CRenderEngine::LoadImage(""));
    EXPECT_EQ(nullptr, CRenderEngine::LoadImage(folder.File("broken.png").c_str()));
    // Drawing a null picture or into no context is harmless.
    CRenderEngine::DrawImage(canvas.Cr(), nullptr, RECT{0, 0, 5, 5}, RECT{0, 0, 5, 5}, RECT{}, RECT{});
    CRenderEngine::DrawImage(nullptr, nullptr, RECT{0, 0, 5, 5}, RECT{0, 0, 5, 5}, RECT{}, RECT{});
}

// JPEG and ICO made by gdk-pixbuf; the names lie about the format on purpose.
TEST_F(RenderImageTest, JpegAndIcoDecodeByContent) {
    struct { const char* type; const char* name; } formats[] = {
        {"jpeg", "photo.jpg"}, {"jpeg", "photo_named.png"}, {"ico", "icon.ico"}, {"ico", "icon_named.png"},
    };
    for (const auto& f : formats) {
        SCOPED_TRACE(f.name);
        GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 32, 24);
        gdk_pixbuf_fill(pixbuf, 0x2060C0FF);  // RGBA
        GError* error = nullptr;
        const bool saved = gdk_pixbuf_save(pixbuf, folder.File(f.name).c_str(), f.type, &error, nullptr);
        if (error) g_error_free(error);
        g_object_unref(pixbuf);
        ASSERT_TRUE(saved);
        std::unique_ptr<ImageData> image = CRenderEngine::LoadImage(folder.File(f.name).c_str());
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(32, image->width);
        EXPECT_EQ(24, image->height);
        Canvas canvas(32, 24);
        CRenderEngine::DrawImage(canvas.Cr(), image.get(), RECT{0, 0, 32, 24}, RECT{0, 0, 32, 24},
                                 RECT{}, RECT{});
        const uint32_t p = canvas.Pixel(16, 12);
        EXPECT_EQ(255u, p >> 24);
        EXPECT_NEAR(0x20, (p >> 16) & 255, 6);
        EXPECT_NEAR(0x60, (p >> 8) & 255, 6);
        EXPECT_NEAR(0xC0, p & 255, 6);
    }
}

TEST_F(RenderImageTest, HiDpiSurfacePrefersTwin) {
    rendertest::WriteSolidPng(folder.File("icon.png"), 10, 10, kRed);
    rendertest::WriteSolidPng(folder.File("icon@2x.png"), 20, 20, kGreen);
    rendertest::WriteSolidPng(folder.File("plain.png"), 10, 10, kBlue);
    const ImageData* icon = CResourceCache::Default().GetImage("icon.png");
    ASSERT_NE(nullptr, icon);
    EXPECT_NE(nullptr, icon->Surface2x());
    EXPECT_EQ(10, icon->width);

    Canvas normal(10, 10);
    ASSERT_TRUE(Draw(normal, RECT{0, 0, 10, 10}, "icon.png"));
    EXPECT_EQ(Rgb(kRed), Rgb(normal.Pixel(5, 5)));

    Canvas hidpi(10, 10, 2.0);
    ASSERT_TRUE(Draw(hidpi, RECT{0, 0, 10, 10}, "file='icon.png' source='0,0,5,5'"));
    EXPECT_EQ(Rgb(kGreen), Rgb(hidpi.Pixel(19, 19)));
    EXPECT_EQ(Rgb(kGreen), Rgb(hidpi.Pixel(0, 0)));
    ASSERT_TRUE(Draw(hidpi, RECT{0, 0, 10, 10}, "plain.png"));
    EXPECT_EQ(Rgb(kBlue), Rgb(hidpi.Pixel(10, 10)));
}

// ---- shapes ------------------------------------------------------------------------------

TEST(RenderShapes, ColorGradientLineRect) {
    Canvas canvas(40, 40);
    CRenderEngine::DrawColor(canvas.Cr(), RECT{0, 0, 10, 10}, 0x80FF0000);
    EXPECT_NEAR(128, canvas.Alpha(5, 5), 1);
    EXPECT_EQ(0, canvas.Alpha(10, 5));
    CRenderEngine::DrawColor(canvas.Cr(), RECT{10, 0, 20, 10}, 0x00FF0000);  // no alpha: nothing
    EXPECT_EQ(0, canvas.Alpha(15, 5));

    CRenderEngine::DrawGradient(canvas.Cr(), RECT{20, 0, 30, 40}, kWhite, 0xFF000000);
    EXPECT_GT((canvas.Pixel(25, 0) & 255), 240u);
    EXPECT_LT((canvas.Pixel(25, 39) & 255), 15u);
    EXPECT_NEAR(128, canvas.Pixel(25, 20) & 255, 12);

    CRenderEngine::DrawLine(canvas.Cr(), RECT{0, 20, 20, 20}, 1, kBlue);
    EXPECT_EQ(kBlue, canvas.Pixel(10, 20));
    EXPECT_EQ(0, canvas.Alpha(10, 19));
    EXPECT_EQ(0, canvas.Alpha(10, 21));

    Canvas rect(20, 20);
    CRenderEngine::DrawRect(rect.Cr(), RECT{2, 2, 18, 18}, 2, kGreen);
    EXPECT_EQ(kGreen, rect.Pixel(2, 10));
    EXPECT_EQ(kGreen, rect.Pixel(3, 10));
    EXPECT_EQ(0, rect.Alpha(4, 10));
    EXPECT_EQ(kGreen, rect.Pixel(17, 17));
    EXPECT_EQ(0, rect.Alpha(1, 10));
    EXPECT_EQ(0, rect.Alpha(18, 10));
}

TEST(RenderShapes, RoundRectsCutTheCorners) {
    Canvas filled(40, 40);
    CRenderEngine::FillRoundRect(filled.Cr(), RECT{0, 0, 40, 40}, 16, 16, kRed);
    EXPECT_EQ(0, filled.Alpha(0, 0));
    EXPECT_EQ(0, filled.Alpha(39, 39));
    EXPECT_EQ(kRed, filled.Pixel(20, 20));
    EXPECT_EQ(kRed, filled.Pixel(20, 0));
    EXPECT_EQ(kRed, filled.Pixel(0, 20));

    Canvas outline(40, 40);
    CRenderEngine::DrawRoundRect(outline.Cr(), RECT{0, 0, 40, 40}, 2, 16, 16, kRed);
    EXPECT_EQ(0, outline.Alpha(0, 0));
    EXPECT_EQ(kRed, outline.Pixel(20, 0));
    EXPECT_EQ(kRed, outline.Pixel(39, 20));
    EXPECT_EQ(0, outline.Alpha(20, 20));
}

// ---- colours -----------------------------------------------------------------------------

TEST(RenderColors, ContrastRatioMatchesWcag) {
    struct { DWORD a, b; double ratio; } cases[] = {
        {0xFFFFFFFF, 0xFF000000, 21.0},
        {0xFF000000, 0xFFFFFFFF, 21.0},
        {0xFF336699, 0xFF336699, 1.0},
        {0xFF777777, 0xFFFFFFFF, 4.48},
        {0xFFFF0000, 0xFFFFFFFF, 4.0},
        {0xFF0000FF, 0xFF000000, 2.44},
        {0x00FFFFFF, 0x00000000, 21.0},  // alpha is not part of it
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.ratio, CRenderEngine::ContrastRatio(c.a, c.b), 0.01) << std::hex << c.a << " " << c.b;
}

TEST(RenderColors, ReadableTextColorContrastsMost) {
    for (DWORD bg : {0xFF000000u, 0xFF1E3A5Fu, 0xFF0000FFu, 0xFF7F7F7Fu, 0xFFFFFFFFu, 0xFFFFD700u,
                     0xFF00C000u, 0xFFE06020u}) {
        const DWORD text = CRenderEngine::ReadableTextColor(bg);
        const DWORD other = (text & 0xFF) > 0x80 ? 0xFF121212u : 0xFFF8F8F8u;
        EXPECT_EQ(0xFFu, text >> 24);
        EXPECT_GE(CRenderEngine::ContrastRatio(bg, text), CRenderEngine::ContrastRatio(bg, other))
            << std::hex << bg;
        EXPECT_GE(CRenderEngine::ContrastRatio(bg, text), 4.5) << std::hex << bg;
    }
    EXPECT_GT(CRenderEngine::ReadableTextColor(0xFF000000) & 0xFF, 0xE0u);
    EXPECT_LT(CRenderEngine::ReadableTextColor(0xFFFFFFFF) & 0xFF, 0x30u);
}

TEST(RenderColors, AdjustColorShiftsAndClamps) {
    struct { DWORD in; short h, s, l; DWORD out; } cases[] = {
        {0xFFFF0000, 0, 0, 0, 0xFFFF0000},
        {0xFFFF0000, 120, 0, 0, 0xFF00FF00},
        {0xFFFF0000, -120, 0, 0, 0xFF0000FF},
        {0xFFFF0000, 480, 0, 0, 0xFF00FF00},   // hue wraps
        {0x80FF0000, 240, 0, 0, 0x800000FF},   // alpha kept
        {0xFFFF0000, 0, -100, 0, 0xFF808080},  // no saturation: grey
        {0xFFFF0000, 0, 0, 100, 0xFFFFFFFF},   // lightness clamps at white
        {0xFFFF0000, 0, 0, -200, 0xFF000000},  // and at black
    };
    for (const auto& c : cases) {
        const DWORD got = CRenderEngine::AdjustColor(c.in, c.h, c.s, c.l);
        SCOPED_TRACE(::testing::Message() << std::hex << c.in << " -> " << got);
        EXPECT_EQ(c.out >> 24, got >> 24);
        for (int shift : {16, 8, 0})
            EXPECT_NEAR(int((c.out >> shift) & 255), int((got >> shift) & 255), 1);
    }
}

}  // namespace
