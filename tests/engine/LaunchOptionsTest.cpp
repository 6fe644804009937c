#include "engine/LaunchOptions.h"
#include "playlist/MediaFiles.h"
#include "tests/engine/LaunchGolden.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "tests/TestMedia.h"
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "library/PlayerSettings.h"
#include "tests/library/SettingsTestSupport.h"

// Last, and its macros that clash with the test framework's names dropped.
#include <X11/Xlib.h>
#undef None
#undef Bool
#undef Status
#undef True
#undef False
#undef Success

namespace orvella {
namespace {

using orvella_test::Arguments;
using orvella_test::BaseOptions;
using orvella_test::Golden;

// Where two vectors first differ, for a readable failure.
std::string FirstDifference(const Arguments& expected, const Arguments& actual) {
    for (size_t i = 0; i < expected.size() || i < actual.size(); ++i) {
        std::string e = i < expected.size() ? expected[i] : "<end>";
        std::string a = i < actual.size() ? actual[i] : "<end>";
        if (e != a) return "argument " + std::to_string(i) + ": expected '" + e + "', got '" + a + "'";
    }
    return "equal";
}

struct GoldenCase {
    const char* name;
    std::function<void(LaunchOptions&)> change;
};

const std::vector<GoldenCase>& GoldenCases() {
    static const std::vector<GoldenCase> cases = {
        {"defaults", [](LaunchOptions&) {}},
        {"videoformat_0", [](LaunchOptions& o) { o.videoformat = 0; }},
        {"videoformat_1", [](LaunchOptions& o) { o.videoformat = 1; }},
        {"videoformat_2", [](LaunchOptions& o) { o.videoformat = 2; }},
        {"videoformat_3", [](LaunchOptions& o) { o.videoformat = 3; }},
        {"videoformat_4", [](LaunchOptions& o) { o.videoformat = 4; }},
        {"videoformat_5", [](LaunchOptions& o) { o.videoformat = 5; }},
        {"videoformat_6", [](LaunchOptions& o) { o.videoformat = 6; }},
        {"mute", [](LaunchOptions& o) { o.mute = true; o.volume = 80; }},
        {"crop", [](LaunchOptions& o) {
             o.cropText = "320:240:16:8"; o.videoWidth = 640; o.videoHeight = 480; }},
        {"resume_subtitle", [](LaunchOptions& o) {
             o.entryStartTime = 754; o.entrySubtitle = "subs/b.srt"; }},
        {"resume_off", [](LaunchOptions& o) {
             o.savelocation = false; o.entryStartTime = 754; o.entrySubtitle = "b.srt"; }},
        {"resume_once", [](LaunchOptions& o) {
             o.savelocation = false; o.resumeOnce = true;
             o.entryStartTime = 61; o.entrySubtitle = "/s/b.srt"; }},
        {"dvd", [](LaunchOptions& o) {
             o.mediaPath = "dvdnav:// -dvd-device /media/cdrom0";
             o.entryStartTime = 754; o.entrySubtitle = "/s/b.srt"; }},
        {"bluray", [](LaunchOptions& o) {
             o.mediaPath = "br:// -bluray-device /media/bd"; o.entryStartTime = 30; }},
        {"mts", [](LaunchOptions& o) { o.mediaPath = "/cam/00001.MTS.m2ts"; }},
        {"rotation_0", [](LaunchOptions& o) { o.rotation = 0; }},
        {"rotation_1", [](LaunchOptions& o) { o.rotation = 1; }},
        {"rotation_2", [](LaunchOptions& o) { o.rotation = 2; }},
        {"rotation_3", [](LaunchOptions& o) { o.rotation = 3; }},
        {"rotation_4", [](LaunchOptions& o) { o.rotation = 4; }},
        {"deinterlace_7", [](LaunchOptions& o) { o.deinterleave = 7; }},
        {"deinterlace_8", [](LaunchOptions& o) { o.deinterleave = 8; }},
        {"deinterlace_9", [](LaunchOptions& o) { o.deinterleave = 9; }},
        {"deinterlace_10", [](LaunchOptions& o) { o.deinterleave = 10; }},
        {"deinterlace_11", [](LaunchOptions& o) { o.deinterleave = 11; }},
        {"single_loop", [](LaunchOptions& o) { o.playsequence = 3; }},
        {"subtitle_scale", [](LaunchOptions& o) { o.playing.subtitleScale = 1.4f; }},
        {"subcp_cp1251", [](LaunchOptions& o) { o.subtitleencode = "CP1251"; }},
        {"decodethread_3", [](LaunchOptions& o) { o.decodethread = 3; }},
        {"audiomode_1", [](LaunchOptions& o) { o.audiomode = 1; }},
        {"audiomode_2", [](LaunchOptions& o) { o.audiomode = 2; }},
        {"channels_6", [](LaunchOptions& o) {
             o.playerchannels = 2; o.usesoftwarevolume = false; o.showOSD = true;
             o.subtitlefuzziness = 2; }},
        {"no_subtitles_in_shots", [](LaunchOptions& o) { o.includeSubtitlesInScreenshots = false; }},
        {"everything", [](LaunchOptions& o) {
             o.mediaPath = "/cam/a.m2ts"; o.videoformat = 4;
             o.cropText = "100:80:0:0"; o.videoWidth = 720; o.videoHeight = 576;
             o.entryStartTime = 12; o.entrySubtitle = "/s/a.srt"; o.rotation = 3;
             o.deinterleave = 8; o.playsequence = 3; o.playerpriority = 5; o.decodethread = 1;
             o.showOSD = true; o.subtitleencode = "SHIFT-JIS"; o.subtitlefuzziness = 1;
             o.audiomode = 2; o.mute = true; o.playerchannels = 1; o.maxamplification = 400; }},
    };
    return cases;
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

// ---- The vectors on the real engine, with media made here by ffmpeg. ----

// Whether a run's output so far holds all that is wanted of it (then the run is ended).
using OutputEnough = std::function<bool(const std::string&)>;

// Runs argv directly (no shell) in `folder` at `niceness`; returns standard output and
// error together, or "<not run>". A run still going after `limitTenths` tenths of a
// second is killed (a hang, or an endless loop on purpose) and "<killed>" appended; so is
// one whose output is `enough` already.
std::string RunProgram(const Arguments& argv, const std::string& folder = std::string(),
                       int niceness = 0, int* niceSeen = nullptr, int limitTenths = 600,
                       const OutputEnough& enough = nullptr) {
    orvella_test::TempFolder scratch;
    const std::string log = scratch.File("output");
    pid_t child = ::fork();
    if (child < 0) return "<not run>";
    if (child == 0) {
        int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || in < 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(out, 2);
        if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
        if (niceness) ::setpriority(PRIO_PROCESS, 0, niceness);
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    // Polled often: most runs end within a second.
    const int stepMs = 10;
    for (int waitedMs = 0; ::waitpid(child, &status, WNOHANG) == 0; waitedMs += stepMs) {
        if (niceSeen && waitedMs == 200) {
            errno = 0;
            *niceSeen = ::getpriority(PRIO_PROCESS, child);
        }
        if (waitedMs > limitTenths * 100 || (enough && enough(orvella_test::ReadBytes(log)))) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return orvella_test::ReadBytes(log) + "<killed>";
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return orvella_test::ReadBytes(log);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Which(const char* program) {
    for (const char* folder : {"/usr/bin/", "/usr/local/bin/", "/bin/"}) {
        std::string path = std::string(folder) + program;
        if (::access(path.c_str(), X_OK) == 0) return path;
    }
    return std::string();
}

// Two small files, a sound-only left/right pair, an MPEG transport stream, a subtitle;
// and a program folder whose gnu/mplayer is the installed engine.
class LaunchRealEngine : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new orvella_test::TempFolder();
        std::string mplayer = Which("mplayer"), ffmpeg = Which("ffmpeg");
        if (mplayer.empty() || ffmpeg.empty()) return;
        std::filesystem::create_directories(folder_->File("prog/gnu"));
        std::filesystem::create_symlink(mplayer, folder_->File("prog/gnu/mplayer"));
        std::filesystem::create_directories(folder_->File("media"));
        const std::string video = "testsrc=size=160x120:rate=25";
        const std::vector<Arguments> makes = {
            {"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000",
             "-t", "1", "-c:v", "mpeg4", "-c:a", "aac", "-ac", "1", "mono.mp4"},
            // Left silent, right a tone: the channel modes are told apart by energy.
            {"-f", "lavfi", "-i", video, "-f", "lavfi", "-i", "anullsrc=r=48000:cl=mono",
             "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000", "-filter_complex",
             "[1][2]amerge=inputs=2[a]", "-map", "0:v", "-map", "[a]", "-t", "1",
             "-c:v", "mpeg4", "-c:a", "aac", "stereo.mp4"},
            {"-f", "lavfi", "-i", video, "-t", "1", "-c:v", "mpeg2video", "-f", "mpegts",
             "clip.m2ts"},
        };
        for (const Arguments& make : makes) {
            Arguments argv = {ffmpeg, "-hide_banner", "-loglevel", "error", "-y"};
            argv.insert(argv.end(), make.begin(), make.end());
            RunProgram(argv, folder_->File("media"));
        }
        orvella_test::WriteBytes(folder_->File("media/clip.srt"),
                                 "1\n00:00:00,000 --> 00:00:01,000\nHello\n");
        ready_ = std::filesystem::file_size(folder_->File("media/stereo.mp4")) > 0 &&
                 std::filesystem::exists(folder_->File("media/clip.m2ts"));
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override {
        if (!ready_) ORVELLA_SKIP_OR_FAIL("no mplayer or ffmpeg here");
    }

    // The golden base, on the made media, drawing nothing and playing a few frames.
    static LaunchOptions Options(const std::string& media = "mono.mp4") {
        LaunchOptions o = BaseOptions();
        o.programFolder = folder_->File("prog/");
        o.currentFolder = folder_->File("media");
        o.mediaPath = media;
        o.snappath = folder_->File("shots");
        o.videoOutputOverride = "null";
        o.audioOutputOverride = "null";
        return o;
    }
    static std::string Play(const LaunchOptions& options, const Arguments& extra = {"-frames", "3"},
                            int limitTenths = 600, const OutputEnough& enough = nullptr) {
        LaunchPlan plan = BuildLaunch(options);
        std::filesystem::create_directories(plan.child.workingFolder);
        Arguments argv = plan.child.argv;
        argv.insert(argv.end(), extra.begin(), extra.end());
        return RunProgram(argv, plan.child.workingFolder, 0, nullptr, limitTenths, enough);
    }

    static orvella_test::TempFolder* folder_;
    static bool ready_;
};

orvella_test::TempFolder* LaunchRealEngine::folder_ = nullptr;
bool LaunchRealEngine::ready_ = false;

// Every golden combination but the discs is accepted by the engine and plays.
TEST_F(LaunchRealEngine, EveryGoldenCombinationPlays) {
    for (const GoldenCase& c : GoldenCases()) {
        std::string name = c.name;
        if (name == "dvd" || name == "bluray") continue;  // no disc here
        LaunchOptions options = Options();
        c.change(options);
        options.mediaPath = folder_->File(Has(options.mediaPath, "m2ts") ? "media/clip.m2ts"
                                                                         : "media/mono.mp4");
        options.videoOutputOverride = options.audioOutputOverride = "null";
        if (!options.entrySubtitle.empty()) options.entrySubtitle = folder_->File("media/clip.srt");
        const bool loops = options.playsequence == 3;
        // A looping run is ended once the file has opened its output a second time.
        auto reopened = [](const std::string& out) {
            size_t first = out.find("VO: [");
            return first != std::string::npos && out.find("VO: [", first + 1) != std::string::npos;
        };
        std::string output = loops ? Play(options, {}, 40, reopened) : Play(options);
        EXPECT_FALSE(Has(output, "rror parsing option")) << name;
        if (loops) {
            // Single loop never ends by itself: the one-second file opens its output again
            // each time round.
            size_t first = output.find("VO: [");
            EXPECT_NE(output.find("VO: [", first + 1), std::string::npos) << name << output;
        } else {
            EXPECT_TRUE(Has(output, "ID_EXIT=EOF")) << name << ":\n" << output;
        }
        if (!options.entrySubtitle.empty() && name != "resume_off") {
            EXPECT_TRUE(Has(output, "ID_FILE_SUB_FILENAME=" + options.entrySubtitle)) << name;
        }
    }
}

TEST_F(LaunchRealEngine, HostileFileNamesPlayAndRunNothing) {
    const std::vector<std::string> names = {
        "my clip  two.mp4", "it's \"quoted\".mp4", "$(touch pwned).mp4", "`touch pwned`.mp4",
        "-vo.mp4", "-", "a;touch pwned;b.mp4", std::string("caf\xE9\xFF.mp4"), "a,b.mp4",
        "back\\slash.mp4"};
    for (const std::string& name : names) {
        std::filesystem::copy_file(folder_->File("media/mono.mp4"), folder_->File("media/" + name),
                                   std::filesystem::copy_options::overwrite_existing);
        std::string output = Play(Options(name));
        EXPECT_TRUE(Has(output, "ID_FILENAME=" + folder_->File("media/" + name) + "\n")) << output;
        EXPECT_TRUE(Has(output, "ID_EXIT=EOF")) << name << ":\n" << output;
        std::filesystem::remove(folder_->File("media/" + name));
    }
    EXPECT_FALSE(std::filesystem::exists(folder_->File("media/pwned")));
    EXPECT_FALSE(std::filesystem::exists(folder_->File("shots/pwned")));
}

TEST_F(LaunchRealEngine, ResumeSeeksAndLoadsTheSubtitleWithACommaInItsName) {
    std::filesystem::copy_file(folder_->File("media/clip.srt"), folder_->File("media/a,b.srt"),
                               std::filesystem::copy_options::overwrite_existing);
    LaunchOptions options = Options("stereo.mp4");
    options.entryStartTime = 0;
    options.entrySubtitle = "a,b.srt";
    std::string output = Play(options);
    EXPECT_TRUE(Has(output, "SUB: Added subtitle file (1): " + folder_->File("media/a,b.srt")))
        << output;
}

// Reads a WAV the engine wrote (16-bit or float samples) as per-channel energies.
std::vector<double> ChannelEnergy(const std::string& bytes) {
    std::vector<double> energy;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return energy;
    int format = 0, channels = 0, bits = 0;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        std::string id = bytes.substr(at, 4);
        const char* body = bytes.data() + at + 8;
        if (id == "fmt " && size >= 16) {
            uint16_t f = 0, c = 0, b = 0;
            std::memcpy(&f, body, 2);
            std::memcpy(&c, body + 2, 2);
            std::memcpy(&b, body + 14, 2);
            format = f; channels = c; bits = b;
        } else if (id == "data" && channels > 0) {
            size_t available = std::min<size_t>(size, bytes.size() - at - 8);
            size_t frame = static_cast<size_t>(channels) * bits / 8;
            energy.assign(channels, 0.0);
            for (size_t i = 0; frame && i + frame <= available; i += frame)
                for (int ch = 0; ch < channels; ++ch) {
                    double v = 0;
                    if (format == 3 && bits == 32) {
                        float s; std::memcpy(&s, body + i + ch * 4, 4); v = s;
                    } else if (bits == 16) {
                        int16_t s; std::memcpy(&s, body + i + ch * 2, 2); v = s / 32768.0;
                    }
                    energy[ch] += v * v;
                }
            return energy;
        }
        at += 8 + size + (size & 1);
    }
    return energy;
}

// Left or right channel on both speakers, from mono and from stereo; the plain routing
// of the right channel is fatal on mono, the chain used here is not.
TEST_F(LaunchRealEngine, ChannelModesWorkForMonoAndStereo) {
    struct Row { const char* media; int mode; bool sound; };
    const std::vector<Row> table = {
        {"mono.mp4", 1, true}, {"mono.mp4", 2, true},
        {"stereo.mp4", 1, false}, {"stereo.mp4", 2, true}};  // stereo: left silent, right tone
    for (const Row& row : table) {
        LaunchOptions options = Options(row.media);
        options.audiomode = row.mode;
        options.audioOutputOverride = "pcm:fast:file=" + folder_->File("out.wav");
        std::string output = Play(options, {});
        EXPECT_TRUE(Has(output, "ID_EXIT=EOF")) << row.media << " " << row.mode << ":\n" << output;
        std::vector<double> energy = ChannelEnergy(orvella_test::ReadBytes(folder_->File("out.wav")));
        ASSERT_EQ(energy.size(), 2u) << row.media << " " << row.mode;
        EXPECT_NEAR(energy[0], energy[1], 1e-6 * (1 + energy[0])) << "both speakers alike";
        EXPECT_EQ(energy[0] > 1.0, row.sound) << row.media << " " << row.mode << " " << energy[0];
    }
}

TEST_F(LaunchRealEngine, RunsAtTheNicenessOfThePriority) {
    LaunchOptions options = Options();
    options.playerpriority = 5;
    LaunchPlan plan = BuildLaunch(options);
    std::filesystem::create_directories(plan.child.workingFolder);
    Arguments argv = plan.child.argv;
    argv.insert(argv.end(), {"-frames", "200"});  // long enough to be seen running
    int nice = -100;
    RunProgram(argv, plan.child.workingFolder, plan.child.niceness, &nice);
    EXPECT_EQ(nice, 19);
}

// Under a display: every video output of the table opens in a real window of ours.
TEST_F(LaunchRealEngine, EveryVideoFormatOpensItsOutputInOurWindow) {
    Display* display = std::getenv("DISPLAY") ? XOpenDisplay(nullptr) : nullptr;
    if (!display) GTEST_SKIP() << "no display";
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240,
                                        0, 0, 0);
    XMapWindow(display, window);
    XSync(display, 0);
    for (int format = 0; format <= 6; ++format) {
        LaunchOptions options = Options();
        options.videoWindow = window;
        options.videoformat = format;
        options.videoOutputOverride.clear();
        std::string output = Play(options, {"-frames", "5"});
        EXPECT_TRUE(Has(output, "VO: [")) << format << ":\n" << output;
        EXPECT_TRUE(Has(output, "ID_EXIT=EOF")) << format << ":\n" << output;
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

}  // namespace
}  // namespace orvella
