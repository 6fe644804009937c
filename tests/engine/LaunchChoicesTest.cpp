// What a restarted engine is told at its launch: the choices made while the engine
// before it played, and the subtitles' code page.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/LaunchOptions.h"
#include "tests/engine/LaunchGolden.h"

namespace orvella {
namespace {

using orvella_test::Arguments;
using orvella_test::BaseOptions;

bool Has(const Arguments& a, const Arguments& run) {
    return std::search(a.begin(), a.end(), run.begin(), run.end()) != a.end();
}

TEST(LaunchChoices, EachChoiceReachesTheEngineInItsRange) {
    const struct {
        const char* what;
        std::function<void(PlayingChoices&)> choose;
        Arguments expected;  // empty: the vector stays the default one
    } cases[] = {
        {"nothing chosen", [](PlayingChoices&) {}, {}},
        {"second audio track", [](PlayingChoices& p) { p.audioTrack = 1; }, {"-aid", "1"}},
        {"DVD audio track", [](PlayingChoices& p) { p.audioTrack = 129; }, {"-aid", "129"}},
        {"embedded subtitle", [](PlayingChoices& p) { p.subtitleSource = SubtitleSource::Track; p.subtitleTrack = 2; },
         {"-sid", "2"}},
        {"subtitles off", [](PlayingChoices& p) { p.subtitleSource = SubtitleSource::Off; }, {"-nosub", "-noautosub"}},
        {"audio delay", [](PlayingChoices& p) { p.audioDelay = -0.3f; }, {"-delay", "-0.300"}},
        {"audio delay past the end", [](PlayingChoices& p) { p.audioDelay = 250.0f; }, {"-delay", "100.000"}},
        {"subtitle delay", [](PlayingChoices& p) { p.subtitleDelay = 0.1f + 0.1f + 0.1f; }, {"-subdelay", "0.300"}},
        {"speed", [](PlayingChoices& p) { p.speed = 1.5f; }, {"-speed", "1.500"}},
        {"speed too slow", [](PlayingChoices& p) { p.speed = 0.0f; }, {"-speed", "0.010"}},
        {"brightness", [](PlayingChoices& p) { p.brightness = 20; }, {"-brightness", "20"}},
        {"contrast past the end", [](PlayingChoices& p) { p.contrast = 130; }, {"-contrast", "100"}},
        {"saturation", [](PlayingChoices& p) { p.saturation = -40; }, {"-saturation", "-40"}},
        {"hue", [](PlayingChoices& p) { p.hue = 10; }, {"-hue", "10"}},
        {"gamma", [](PlayingChoices& p) { p.gamma = -5; }, {"-gamma", "-5"}},
    };
    const Arguments defaults = BuildEngineArguments(BaseOptions());
    for (const auto& c : cases) {
        LaunchOptions options = BaseOptions();
        c.choose(options.playing);
        const Arguments a = BuildEngineArguments(options);
        if (c.expected.empty()) {
            EXPECT_EQ(a, defaults) << c.what;
        } else {
            EXPECT_TRUE(Has(a, c.expected)) << c.what << ": " << c.expected.front();
            EXPECT_EQ(a.size(), defaults.size() + c.expected.size()) << c.what;
        }
    }
}

TEST(LaunchChoices, SubtitlesSwitchedOffPassNoFileAndTheCodePageIsTheDecidedOne) {
    LaunchOptions options = BaseOptions();
    options.resumeOnce = true;
    options.entrySubtitle = "film.srt";
    options.subtitleCodePage = "UTF-8";
    LaunchPlan plan = BuildLaunch(options);
    EXPECT_TRUE(Has(plan.child.argv, {"-sub", "/home/user/videos/film.srt"}));
    EXPECT_TRUE(Has(plan.child.argv, {"-subcp", "UTF-8"}));
    EXPECT_EQ(plan.subtitleCodePage, "UTF-8");

    options.playing.subtitleSource = SubtitleSource::Off;
    EXPECT_EQ(PassedSubtitleFile(options), "");
    const Arguments off = BuildEngineArguments(options);
    EXPECT_EQ(std::count(off.begin(), off.end(), "-sub"), 0);
}

}  // namespace
}  // namespace orvella
