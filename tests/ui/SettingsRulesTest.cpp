// What the settings window computes: the go-to time, the crop text both ways, the scales,
// and which preference changes need the engine started again.
#include <gtest/gtest.h>

#include "ui/SettingsRules.h"

namespace orvella {
namespace {

TEST(SettingsRules, SeekTimesAndCropTexts) {
    const struct {
        const char* text;
        int seconds;  // -1: refused
    } times[] = {
        {"1:2:3", 3723}, {"01:02:03", 3723}, {"00:00:00", 0}, {"99:59:59", 359999},
        {"1:2", -1},     {"1:2:3x", -1},     {"", -1},        {"100:0:0", -1},
        {" 1:2:3", -1},  {"1:2:3\n", -1},    {"a:b:c", -1},
    };
    for (const auto& t : times) {
        const std::optional<int> got = ParseSeekTime(t.text);
        EXPECT_EQ(got.value_or(-1), t.seconds) << t.text;
    }

    const CropFields f = SplitCropGeometry("640x360+8+16");
    EXPECT_EQ(f.width + "," + f.height + "," + f.x + "," + f.y, "640,360,8,16");
    EXPECT_EQ(CropFilterText(f), "640:360:8:16");
    EXPECT_EQ(SplitCropGeometry(VideoCropGeometry(320, 240)).height, "240");
    // Broken geometry leaves the missing fields empty; the filter reads them as 0.
    const CropFields partial = SplitCropGeometry("320x240");
    EXPECT_EQ(partial.height, "240");
    EXPECT_EQ(partial.x, "");
    EXPECT_EQ(SplitCropGeometry("junk").width, "");
    EXPECT_EQ(CropFilterText({"abc", "-2", "", "7x"}), "0:-2:0:7");
}

TEST(SettingsRules, ScalesAndLimits) {
    EXPECT_FLOAT_EQ(SpeedFromSlider(0), 0.1f);
    EXPECT_FLOAT_EQ(SpeedFromSlider(25), 1.0f);
    EXPECT_FLOAT_EQ(SpeedFromSlider(100), 4.0f);
    EXPECT_EQ(SliderFromSpeed(1.5f), 37);
    EXPECT_EQ(ColourSlider(-100), 0);
    EXPECT_EQ(ColourValue(ColourSlider(40)), 40);
    EXPECT_DOUBLE_EQ(BalanceFromSlider(0), -1.0);
    EXPECT_DOUBLE_EQ(BalanceFromSlider(75), 0.5);
    EXPECT_EQ(ClampAmplification(5), 10);
    EXPECT_EQ(ClampAmplification(5000), 1000);
    EXPECT_EQ(EncodingOfItem("CP1251(Cyrillic)"), "CP1251");
    EXPECT_EQ(EncodingOfItem("UTF-16"), "UTF-16");
}

TEST(SettingsRules, WhichChangesRestartTheEngine) {
    using P = PlayerPreferences;
    const struct {
        void (*change)(P&);
        bool restart, osd, association;
    } cases[] = {
        {[](P& p) { p.deinterlace = 7; }, true, false, false},
        {[](P& p) { p.videoOutput = 1; }, true, false, false},
        {[](P& p) { p.subtitleEncoding = "CP1251"; }, true, false, false},
        {[](P& p) { p.priority = 4; }, true, false, false},
        {[](P& p) { p.subtitlesInScreenshots = false; }, true, false, false},
        {[](P& p) { p.maxAmplification = 300; }, true, false, false},
        // The amplification does not count while the software volume is off.
        {[](P& p) { p.volumeControl = false; }, true, false, false},
        {[](P& p) { p.showOsd = false; }, false, true, false},
        {[](P& p) { p.associateFiles = false; }, false, false, true},
        {[](P& p) { p.minimizeToTray = false; }, false, false, false},
        {[](P& p) { p.keepWindowSize = false; }, false, false, false},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        P after = DefaultPreferences();
        cases[i].change(after);
        EXPECT_NE(after, DefaultPreferences()) << i;
        const PreferenceEffects e = EffectsOfChange(DefaultPreferences(), after);
        EXPECT_EQ(e.restartEngine, cases[i].restart) << i;
        EXPECT_EQ(e.osdChanged, cases[i].osd) << i;
        EXPECT_EQ(e.associationChanged, cases[i].association) << i;
    }
    P quiet = DefaultPreferences();
    quiet.volumeControl = false;
    P louder = quiet;
    louder.maxAmplification = 500;
    EXPECT_FALSE(EffectsOfChange(quiet, louder).restartEngine);
}

}  // namespace
}  // namespace orvella
