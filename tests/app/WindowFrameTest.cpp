#include "app/WindowFrame.h"

#include <gtest/gtest.h>

namespace orvella {
namespace {

const RECT kClient{0, 0, 800, 500};
constexpr int kCaption = 36;

TEST(WindowFrame, CaptionBandDragsOverPlainControlsOnly) {
    struct Case {
        POINT pt;
        const char* cls;
        LRESULT expected;
    } cases[] = {
        {{100, 20}, "HorizontalLayoutUI", HTCAPTION},
        {{100, 20}, "LabelUI", HTCAPTION},
        {{100, 20}, "ContainerUI", HTCAPTION},
        {{100, 20}, "ButtonUI", HTCLIENT},
        {{100, 20}, "OptionUI", HTCLIENT},
        {{100, 20}, "TextUI", HTCLIENT},
        {{100, 20}, "CMenuUI", HTCLIENT},
        {{100, 20}, "", HTCLIENT},                  // no control under the point
        {{100, 36}, "HorizontalLayoutUI", HTCLIENT},  // the band ends at the caption height
        {{100, 35}, "HorizontalLayoutUI", HTCAPTION},
        {{5, 20}, "HorizontalLayoutUI", HTCAPTION},   // 5-pixel inset: x = 5 is inside
        {{796, 20}, "HorizontalLayoutUI", HTCLIENT},  // right inset is outside the band
        {{798, 20}, "HorizontalLayoutUI", HTRIGHT},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindowHitTest(kClient, c.pt, kCaption, c.cls), c.expected)
            << c.pt.x << "," << c.pt.y << " " << c.cls;
    }
}

TEST(WindowFrame, BordersAndCornersResize) {
    struct Case {
        POINT pt;
        LRESULT expected;
    } cases[] = {
        {{0, 0}, HTTOPLEFT},       {{2, 2}, HTTOPLEFT},        {{799, 499}, HTBOTTOMRIGHT},
        {{798, 0}, HTTOPRIGHT},    {{0, 498}, HTBOTTOMLEFT},   {{1, 200}, HTLEFT},
        {{799, 200}, HTRIGHT},     {{400, 499}, HTBOTTOM},     {{400, 200}, HTCLIENT},
        {{3, 200}, HTCLIENT},      {{797, 200}, HTCLIENT},     {{400, 497}, HTCLIENT},
        {{400, 1}, HTTOP},  // above the caption band's 5-pixel inset
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindowHitTest(kClient, c.pt, kCaption, "HorizontalLayoutUI"), c.expected)
            << c.pt.x << "," << c.pt.y;
    }
}

TEST(WindowFrame, RegionFollowsStateAndCorners) {
    RegionPlan keepMin = MainWindowRegion(kClient, SIZE{8, 8}, true, false);
    EXPECT_EQ(keepMin.change, RegionChange::Keep);
    RegionPlan keepSquare = MainWindowRegion(kClient, SIZE{0, 0}, false, false);
    EXPECT_EQ(keepSquare.change, RegionChange::Keep);

    RegionPlan full = MainWindowRegion(kClient, SIZE{8, 8}, false, true);
    EXPECT_EQ(full.change, RegionChange::Rectangle);
    EXPECT_FALSE(full.region.rounded);
    EXPECT_EQ(full.region.rect.right, 800);

    RegionPlan round = MainWindowRegion(kClient, SIZE{8, 6}, false, false);
    EXPECT_EQ(round.change, RegionChange::Rounded);
    EXPECT_TRUE(round.region.rounded);
    EXPECT_EQ(round.region.rect.right, 801);
    EXPECT_EQ(round.region.rect.bottom, 501);
    EXPECT_EQ(round.region.cornerWidth, 8);
    EXPECT_EQ(round.region.cornerHeight, 6);
}

}  // namespace
}  // namespace orvella
