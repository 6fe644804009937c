// The launch vectors on the real engine, with media made here by ffmpeg: every golden
// combination plays, hostile file names run nothing, resume and subtitles, channel modes,
// niceness and every video output.
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
using orvella_test::GoldenCase;
using orvella_test::GoldenCases;

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
