#include "engine/LaunchOptions.h"
#include "library/PlayerSettings.h"
#include "playlist/MediaFiles.h"
#include "tests/engine/LaunchGolden.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orvella {
namespace {

using orvella_test::Arguments;
using orvella_test::BaseOptions;
using orvella_test::Golden;
using orvella_test::GoldenCase;
using orvella_test::GoldenCases;

// Where two vectors first differ, for a readable failure.
std::string FirstDifference(const Arguments& expected, const Arguments& actual) {
    for (size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        std::string e = i < expected.size() ? expected[i] : "<end>";
        std::string a = i < actual.size() ? actual[i] : "<end>";
        if (e != a) return "argument " + std::to_string(i) + ": expected '" + e + "', got '" + a + "'";
    }
    return "equal";
}

class LaunchGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(LaunchGolden, MatchesTheGoldenVector) {
    LaunchOptions options = BaseOptions();
    GetParam().change(options);
    Arguments expected = Golden(GetParam().name);
    ASSERT_FALSE(expected.empty()) << "missing tests/data/launch/" << GetParam().name << ".txt";
    Arguments actual = BuildEngineArguments(options);
    EXPECT_EQ(expected, actual) << FirstDifference(expected, actual);
}

INSTANTIATE_TEST_SUITE_P(Settings, LaunchGolden, testing::ValuesIn(GoldenCases()),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name);
                         });

// Every value outside a table falls back the same way as its neighbours in the table.
TEST(LaunchArguments, CodesOutsideTheTablesAddNothingOrTheFallback) {
    const Arguments defaults = BuildEngineArguments(BaseOptions());
    struct Change { const char* what; std::function<void(LaunchOptions&)> change; };
    const std::vector<Change> noEffect = {
        {"rotation -1", [](LaunchOptions& o) { o.rotation = -1; }},
        {"rotation 5", [](LaunchOptions& o) { o.rotation = 5; }},
        {"deinterleave 0", [](LaunchOptions& o) { o.deinterleave = 0; }},
        {"deinterleave -1", [](LaunchOptions& o) { o.deinterleave = -1; }},
        {"deinterleave 12", [](LaunchOptions& o) { o.deinterleave = 12; }},
        {"audiomode 5", [](LaunchOptions& o) { o.audiomode = 5; }},
        {"audiomode -1", [](LaunchOptions& o) { o.audiomode = -1; }},
        {"playerchannels 9", [](LaunchOptions& o) { o.playerchannels = 9; }},
        {"playsequence 4", [](LaunchOptions& o) { o.playsequence = 4; }},
        {"every priority", [](LaunchOptions& o) { o.playerpriority = 0; }},
        {"priority 7", [](LaunchOptions& o) { o.playerpriority = 7; }},
        {"short names", [](LaunchOptions& o) { o.useshortname = true; }},
    };
    for (const Change& c : noEffect) {
        LaunchOptions options = BaseOptions();
        c.change(options);
        Arguments actual = BuildEngineArguments(options);
        EXPECT_EQ(defaults, actual) << c.what << ": " << FirstDifference(defaults, actual);
    }
}

TEST(LaunchArguments, NeverPassesThePriorityOption) {
    for (int priority = -1; priority <= 6; ++priority) {
        LaunchOptions options = BaseOptions();
        options.playerpriority = priority;
        for (const std::string& a : BuildEngineArguments(options))
            EXPECT_EQ(a.find("priority"), std::string::npos) << priority;
    }
}

TEST(LaunchArguments, SubtitleCodePagesPassAsTheyAre) {
    for (const char* name : {"BIG5", "CP936", "ISO-8859-15", "KOI8-U/RU", "UTF-8", "UTF-16", "utf-16"}) {
        LaunchOptions options = BaseOptions();
        options.subtitleencode = name;
        Arguments a = BuildEngineArguments(options);
        auto at = std::find(a.begin(), a.end(), "-subcp");
        ASSERT_NE(at, a.end()) << name;
        ASSERT_NE(at + 1, a.end());
        EXPECT_EQ(*(at + 1), name);
        EXPECT_EQ(*(at + 2), "-sub-fuzziness") << "keeps its place before the fuzziness";
    }
}

std::string ValueAfter(const Arguments& a, const std::string& option) {
    auto at = std::find(a.begin(), a.end(), option);
    return at != a.end() && at + 1 != a.end() ? *(at + 1) : std::string("<none>");
}

TEST(LaunchArguments, DecoderThreadsAreTheSettingPlusOne) {
    const std::vector<std::pair<int, const char*>> table = {
        {0, "threads=1"}, {1, "threads=2"}, {7, "threads=8"}, {-1, "threads=1"}, {99, "threads=32"}};
    for (const auto& row : table) {
        LaunchOptions options = BaseOptions();
        options.decodethread = row.first;
        EXPECT_EQ(ValueAfter(BuildEngineArguments(options), "-lavdopts"), row.second);
    }
}

// Values the engine would refuse ("Error parsing option") are kept in its range, so a
// hand-edited settings file cannot stop every launch.
TEST(LaunchArguments, NumbersStayInTheEnginesRange) {
    struct Row {
        int volume, maxamplification, fuzziness;
        const char *volumeText, *maxText, *fuzzText;
    } rows[] = {
        {50, 100, 1, "50", "100", "1"},
        {-5, 5, -3, "0", "10", "0"},
        {250, 20000, 9, "100", "10000", "2"},
    };
    for (const Row& r : rows) {
        LaunchOptions options = BaseOptions();
        options.volume = r.volume;
        options.maxamplification = r.maxamplification;
        options.subtitlefuzziness = r.fuzziness;
        Arguments a = BuildEngineArguments(options);
        EXPECT_EQ(ValueAfter(a, "-volume"), r.volumeText);
        EXPECT_EQ(ValueAfter(a, "-softvol-max"), r.maxText);
        EXPECT_EQ(ValueAfter(a, "-sub-fuzziness"), r.fuzzText);
    }
}

TEST(LaunchArguments, ResumePositionIsTheLow32BitsOfTheStartTime) {
    const std::vector<std::pair<int64_t, const char*>> table = {
        {0, "0"}, {754, "754"}, {-3, "-3"}, {(int64_t{1} << 32) + 5, "5"},
        {int64_t{0x80000000}, "-2147483648"}};
    for (const auto& row : table) {
        LaunchOptions options = BaseOptions();
        options.entryStartTime = row.first;
        EXPECT_EQ(ValueAfter(BuildEngineArguments(options), "-ss"), row.second) << row.first;
    }
}

TEST(LaunchArguments, WithoutACurrentEntryNeitherResumeNorSubtitle) {
    LaunchOptions options = BaseOptions();
    options.hasEntry = false;
    options.entryStartTime = 99;
    options.entrySubtitle = "/s/a.srt";
    Arguments a = BuildEngineArguments(options);
    EXPECT_EQ(std::count(a.begin(), a.end(), "-ss"), 0);
    EXPECT_EQ(std::count(a.begin(), a.end(), "-sub"), 0);
}

TEST(LaunchPlan, FlagsTheMainWindowKeeps) {
    LaunchOptions options = BaseOptions();
    LaunchPlan plan = BuildLaunch(options);
    EXPECT_FALSE(plan.discMode);
    EXPECT_FALSE(plan.mutedAtLaunch);
    EXPECT_TRUE(plan.startFullScreen);
    EXPECT_FALSE(plan.resumeOnce);

    options.mute = true;
    options.resumeOnce = true;
    options.savelocation = false;
    plan = BuildLaunch(options);
    EXPECT_TRUE(plan.mutedAtLaunch);
    EXPECT_FALSE(plan.resumeOnce) << "the resume step consumes the flag";

    // Outputs 3 and 4 and every disc start windowed and clear the flag for later launches.
    for (int format : {3, 4}) {
        LaunchOptions o = BaseOptions();
        o.videoformat = format;
        EXPECT_FALSE(BuildLaunch(o).startFullScreen) << format;
    }
    LaunchOptions disc = BaseOptions();
    disc.mediaPath = "br:// -bluray-device /media/bd";
    plan = BuildLaunch(disc);
    EXPECT_TRUE(plan.discMode);
    EXPECT_FALSE(plan.startFullScreen);

    LaunchOptions windowed = BaseOptions();
    windowed.startFullScreen = false;
    Arguments a = BuildEngineArguments(windowed);
    EXPECT_EQ(std::count(a.begin(), a.end(), "-nofs"), 1);
    EXPECT_EQ(std::count(a.begin(), a.end(), "-fs"), 0);
}

TEST(LaunchPlan, AnEmptyMediaPathStartsNothingAndChangesNoFlag) {
    LaunchOptions options = BaseOptions();
    options.mediaPath.clear();
    options.resumeOnce = true;
    options.startFullScreen = true;
    LaunchPlan plan = BuildLaunch(options);
    EXPECT_TRUE(plan.child.argv.empty());
    EXPECT_TRUE(plan.resumeOnce);
    EXPECT_TRUE(plan.startFullScreen);
}

TEST(LaunchPlan, NicenessStandsInForThePriority) {
    const std::vector<std::pair<int, int>> table = {
        {0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 10}, {5, 19}, {-1, 0}, {6, 0}};
    for (const auto& row : table) {
        EXPECT_EQ(EngineNiceness(row.first), row.second) << row.first;
        LaunchOptions options = BaseOptions();
        options.playerpriority = row.first;
        EXPECT_EQ(BuildLaunch(options).child.niceness, row.second) << row.first;
    }
}

TEST(LaunchPlan, WorkingFolderIsTheScreenshotFolderMadeAbsolute) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"/home/user/.config/Orvella", "/home/user/.config/Orvella"},
        {"shots", "/home/user/videos/shots"},
        {"-shots", "/home/user/videos/-shots"},
        {"", ""}};
    for (const auto& row : table) {
        LaunchOptions options = BaseOptions();
        options.snappath = row.first;
        EXPECT_EQ(EngineWorkingFolder(options), row.second);
        EXPECT_EQ(BuildLaunch(options).child.workingFolder, row.second);
    }
}

TEST(LaunchPlan, TakesTheSettingsRecordWhole) {
    PlayerSettings settings("/home/user/.config/Orvella");
    settings.videoformat = 2;
    settings.audiomode = 2;
    settings.subtitleencode = "CP1251";
    settings.playerpriority = 4;
    LaunchOptions options = BaseOptions();
    static_cast<EngineSettings&>(options) = settings;
    EXPECT_EQ(options.videoformat, 2);
    EXPECT_EQ(options.audiomode, 2);
    EXPECT_EQ(options.subtitleencode, "CP1251");
    EXPECT_EQ(options.snappath, "/home/user/.config/Orvella");

    // The settings defaults give the golden default vector.
    LaunchOptions fromDefaults = BaseOptions();
    static_cast<EngineSettings&>(fromDefaults) = PlayerSettings();
    EXPECT_EQ(BuildEngineArguments(fromDefaults), Golden("defaults"));
}

// Media file names the shell would mangle or run reach the engine as one exact argument
// in the media position; nothing else in the vector changes. A name the engine would echo
// as lines of their own goes by its alias; a name that only looks like a disc is a file.
TEST(LaunchMediaPath, HostileFileNamesPassAsOneExactArgument) {
    const Arguments defaults = BuildEngineArguments(BaseOptions());
    const size_t mediaIndex = 15;
    ASSERT_EQ(defaults[mediaIndex], "/home/user/videos/clip.mp4");
    const std::vector<std::pair<std::string, std::string>> table = {
        {"my clip  two.mp4", "/home/user/videos/my clip  two.mp4"},
        {"it's \"quoted\".mp4", "/home/user/videos/it's \"quoted\".mp4"},
        {"$(touch pwned).mp4", "/home/user/videos/$(touch pwned).mp4"},
        {"`reboot`.mp4", "/home/user/videos/`reboot`.mp4"},
        {"-vo.mp4", "/home/user/videos/-vo.mp4"},
        {"-", "/home/user/videos/-"},
        {"a;b|c&d>e.mp4", "/home/user/videos/a;b|c&d>e.mp4"},
        {std::string("caf\xE9\xFF.mp4"), std::string("/home/user/videos/caf\xE9\xFF.mp4")},
        {"line\nbreak.mp4", "alias of /home/user/videos/line\nbreak.mp4"},
        {"/v/cr\rID_EXIT=EOF\r.mp4", "alias of /v/cr\rID_EXIT=EOF\r.mp4"},
        {"http://host/a\nID_EXIT=EOF", "http://host/a%0AID_EXIT=EOF"},
        {"dvdnav.mp4", "/home/user/videos/dvdnav.mp4"},
        {"/videos/dvdnav_intro.mp4", "/videos/dvdnav_intro.mp4"},
        {"/x/br://y.mp4", "/x/br:/y.mp4"},
        {"back\\slash\\\\.mp4", "/home/user/videos/back\\slash\\\\.mp4"},
        {"a,b.mp4", "/home/user/videos/a,b.mp4"},
        {"/abs/-x.mp4", "/abs/-x.mp4"},
        {"http://host/a b.mp4", "http://host/a b.mp4"},
        {"dvd://1", "dvd://1"},
    };
    for (const auto& row : table) {
        LaunchOptions options = BaseOptions();
        options.mediaPath = row.first;
        options.aliasFor = [](const std::string& path) { return "alias of " + path; };
        Arguments actual = BuildEngineArguments(options);
        ASSERT_EQ(actual.size(), defaults.size()) << row.first;
        EXPECT_EQ(actual[mediaIndex], row.second);
        actual[mediaIndex] = defaults[mediaIndex];
        EXPECT_EQ(actual, defaults) << row.first;
    }
}

TEST(LaunchMediaPath, RelativePathsWithoutAFolderStillNeverLookLikeOptions) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"-x.mp4", "./-x.mp4"}, {"a.mp4", "./a.mp4"}, {"/a.mp4", "/a.mp4"},
        {"smb://h/a.mp4", "smb://h/a.mp4"}, {"://x", "./://x"}, {"1http://x", "./1http://x"}};
    for (const auto& row : table) EXPECT_EQ(AbsoluteMediaPath(row.first, ""), row.second);
    EXPECT_EQ(AbsoluteMediaPath("a.mp4", "/v/"), "/v/a.mp4");
}

TEST(LaunchMediaPath, DiscLocatorsBecomeSeparateArguments) {
    struct Row { std::string path; Arguments media; };
    const std::vector<Row> table = {
        {"dvdnav:// -dvd-device /media/my dvd", {"dvdnav://", "-dvd-device", "/media/my dvd"}},
        {"dvdnav:// -dvd-device disc/VIDEO_TS", {"dvdnav://", "-dvd-device",
                                                 "/home/user/videos/disc/VIDEO_TS"}},
        {"dvdnav:// -dvd-device -odd", {"dvdnav://", "-dvd-device", "/home/user/videos/-odd"}},
        {"br:// -bluray-device /media/bd", {"br://", "-bluray-device", "/media/bd"}},
        {"dvdnav:// -dvd-device", {"dvdnav://", "-dvd-device", ""}},
        // The drive menu's and Blu-ray's trailing blank is not part of the device; a
        // folder's own trailing blank is kept behind a "/" by the locator.
        {"dvdnav:// -dvd-device /dev/sr0 ", {"dvdnav://", "-dvd-device", "/dev/sr0"}},
        {"br:// -bluray-device /media/bd ", {"br://", "-bluray-device", "/media/bd"}},
        {"br:// -bluray-device /x/a -dvd-device b ", {"br://", "-bluray-device", "/x/a -dvd-device b"}},
        {DiscLocator(kDiscDvd, "/x/d ", false), {"dvdnav://", "-dvd-device", "/x/d /"}},
        {"dvdnav://", {"dvdnav://"}},
        {"dvdnav:// -dvd-device /x/a\nb", {"dvdnav://", "-dvd-device", "alias of /x/a\nb"}},
    };
    for (const Row& row : table) {
        LaunchOptions options = BaseOptions();
        options.mediaPath = row.path;
        options.aliasFor = [](const std::string& path) { return "alias of " + path; };
        LaunchPlan plan = BuildLaunch(options);
        EXPECT_TRUE(plan.discMode) << row.path;
        const Arguments& a = plan.child.argv;
        Arguments media(a.begin() + 15, std::find(a.begin(), a.end(), "-vo"));
        EXPECT_EQ(media, row.media) << row.path;
    }
}

TEST(LaunchMediaPath, SubtitlePathsAreAbsoluteWithCommasEscaped) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"/s/a.srt", "/s/a.srt"},
        {"b.srt", "/home/user/videos/b.srt"},
        {"-b.srt", "/home/user/videos/-b.srt"},
        {"/s/one,two.srt", "/s/one\\,two.srt"},
        {"/s/back\\slash.srt", "/s/back\\slash.srt"},
        {"/s/a\nb.srt", "alias of /s/a\nb.srt"},
    };
    for (const auto& row : table) {
        LaunchOptions options = BaseOptions();
        options.entrySubtitle = row.first;
        options.aliasFor = [](const std::string& path) { return "alias of " + path; };
        EXPECT_EQ(ValueAfter(BuildEngineArguments(options), "-sub"), row.second);
    }
    // Without a safe name for a file the engine is not started at all.
    LaunchOptions options = BaseOptions();
    options.mediaPath = "/v/a\nb.mp4";
    EXPECT_TRUE(BuildEngineArguments(options).empty());
}

TEST(LaunchArguments, ProgramFolderAndOutputOverrides) {
    LaunchOptions options = BaseOptions();
    options.programFolder = "/opt/orvella";
    options.videoOutputOverride = "null";
    options.audioOutputOverride = "null";
    options.videoWindow = 0x3a00007;
    Arguments a = BuildEngineArguments(options);
    EXPECT_EQ(a[0], "/opt/orvella/gnu/mplayer");
    EXPECT_EQ(ValueAfter(a, "-wid"), "60817415");
    EXPECT_EQ(ValueAfter(a, "-vo"), "null");
    EXPECT_EQ(ValueAfter(a, "-ao"), "null");
    EXPECT_EQ(ValueAfter(a, "null"), "-zoom");
}

}  // namespace
}  // namespace orvella
