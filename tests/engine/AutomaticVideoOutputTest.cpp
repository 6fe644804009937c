// The automatic video output in the launch: what the display offers replaces the list
// for videoformat 5 and 0 only, and nothing else in the vector moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/LaunchOptions.h"
#include "tests/engine/LaunchGolden.h"

namespace orvella {
namespace {

using orvella_test::Arguments;
using orvella_test::BaseOptions;
using orvella_test::Golden;

std::string Joined(const Arguments& a) {
    std::string text;
    for (const std::string& s : a) text += (text.empty() ? "" : " ") + s;
    return text;
}

// The "-vo" value and what follows it up to "-ao": the only part the choice may change.
Arguments OutputPart(const Arguments& a) {
    auto vo = std::find(a.begin(), a.end(), "-vo");
    auto ao = std::find(a.begin(), a.end(), "-ao");
    return vo < ao ? Arguments(vo, ao) : Arguments();
}

Arguments WithoutOutputPart(const Arguments& a) {
    auto vo = std::find(a.begin(), a.end(), "-vo");
    auto ao = std::find(a.begin(), a.end(), "-ao");
    Arguments rest(a.begin(), vo);
    rest.insert(rest.end(), ao, a.end());
    return rest;
}

struct GoldenCase {
    const char* name;
    int videoformat;
    const char* automatic;
};

class AutomaticOutputGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(AutomaticOutputGolden, MatchesTheGoldenVector) {
    LaunchOptions options = BaseOptions();
    options.videoformat = GetParam().videoformat;
    options.automaticVideoOutput = GetParam().automatic;
    Arguments expected = Golden(GetParam().name);
    ASSERT_FALSE(expected.empty()) << "missing tests/data/launch/" << GetParam().name << ".txt";
    EXPECT_EQ(Joined(expected), Joined(BuildEngineArguments(options)));
}

INSTANTIATE_TEST_SUITE_P(
    Display, AutomaticOutputGolden,
    testing::Values(GoldenCase{"automatic_xv", 5, "xv"}, GoldenCase{"automatic_gl", 5, "gl"},
                    GoldenCase{"automatic_x11", 5, "x11"},
                    GoldenCase{"videoformat_0_automatic_x11", 0, "x11"},
                    // Unknown: the list and the fallback as before.
                    GoldenCase{"defaults", 5, ""}, GoldenCase{"videoformat_0", 0, ""}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

// Every videoformat against every answer of the display: only 5 and 0 take it, only
// known answers count, and the rest of the vector never changes.
TEST(AutomaticVideoOutput, OnlyTheAutomaticFormatsTakeTheDisplaysAnswer) {
    struct Row {
        int videoformat;
        const char* automatic;
        const char* outputPart;
    };
    const std::vector<Row> table = {
        {5, "xv", "-vo xv -zoom"},
        {5, "gl", "-vo gl -zoom"},
        {5, "x11", "-vo x11 -zoom -sws 0"},
        {0, "xv", "-vo xv -zoom"},
        {0, "gl", "-vo gl -zoom"},
        {0, "x11", "-vo x11 -zoom -sws 0"},
        {5, "", "-vo xv,gl,x11, -zoom"},
        {0, "", "-vo gl -zoom"},
        // Anything but the three names keeps the list: the engine would refuse a typo.
        {5, "X11", "-vo xv,gl,x11, -zoom"},
        {5, " x11", "-vo xv,gl,x11, -zoom"},
        {5, "vdpau", "-vo xv,gl,x11, -zoom"},
        {5, "x11,gl", "-vo xv,gl,x11, -zoom"},
        // The explicit choices stay as they are.
        {1, "x11", "-vo gl -zoom"},
        {2, "x11", "-vo gl_tiled -zoom"},
        {3, "x11", "-vo xv,x11, -zoom -nokeepaspect"},
        {4, "xv", "-vo x11 -zoom -nokeepaspect"},
        {4, "gl", "-vo x11 -zoom -nokeepaspect"},
        {1, "xv", "-vo gl -zoom"},
        // Out-of-range codes fall back to 1, not to the automatic choice.
        {6, "x11", "-vo gl -zoom"},
        {-1, "xv", "-vo gl -zoom"},
    };
    for (const Row& row : table) {
        LaunchOptions plain = BaseOptions();
        plain.videoformat = row.videoformat;
        LaunchOptions chosen = plain;
        chosen.automaticVideoOutput = row.automatic;
        Arguments a = BuildEngineArguments(chosen);
        std::string where = std::to_string(row.videoformat) + " '" + row.automatic + "'";
        EXPECT_EQ(Joined(OutputPart(a)), row.outputPart) << where;
        EXPECT_EQ(WithoutOutputPart(a), WithoutOutputPart(BuildEngineArguments(plain))) << where;
    }
}

TEST(AutomaticVideoOutput, TheOverrideStillWins) {
    for (const char* automatic : {"xv", "gl", "x11", ""}) {
        LaunchOptions options = BaseOptions();
        options.automaticVideoOutput = automatic;
        options.videoOutputOverride = "null";
        EXPECT_EQ(Joined(OutputPart(BuildEngineArguments(options))), "-vo null -zoom") << automatic;
    }
}

// The launch flags do not depend on the output the display offers.
TEST(AutomaticVideoOutput, FlagsStayTheSame) {
    for (int videoformat : {0, 5}) {
        for (const char* automatic : {"xv", "gl", "x11"}) {
            LaunchOptions options = BaseOptions();
            options.videoformat = videoformat;
            options.automaticVideoOutput = automatic;
            LaunchPlan plan = BuildLaunch(options);
            EXPECT_TRUE(plan.startFullScreen) << videoformat << automatic;
            EXPECT_FALSE(plan.discMode);
        }
    }
}

}  // namespace
}  // namespace orvella
