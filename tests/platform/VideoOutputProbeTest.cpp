// The video output probe on the real display (the test runner's Xvfb): it answers, in
// time, without GL in our process; and the GL child is run, read and stopped as it must.
#include "platform/gtk/VideoOutputProbe.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/gtk/GlRendererProbe.h"
#include "platform/gtk/GtkBackend.h"

namespace platform {
namespace gtk {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when DISPLAY is served by Xvfb (scripts/with-display.sh): no Xv adaptor, GL only
// in software.
bool DisplayIsXvfb() {
    const char* display = std::getenv("DISPLAY");
    if (!display || display[0] != ':') return false;
    std::string number(display + 1);
    number = number.substr(0, number.find('.'));
    std::string pid = ReadAll("/tmp/.X" + number + "-lock");
    pid.erase(0, pid.find_first_not_of(' '));
    pid = pid.substr(0, pid.find_first_of(" \n"));
    return !pid.empty() && ReadAll("/proc/" + pid + "/comm") == "Xvfb\n";
}

bool GlMappedHere() {
    std::string maps = ReadAll("/proc/self/maps");
    for (const char* library : {"libGL.so", "libGLX_mesa", "swrast_dri", "libgallium", "libLLVM"})
        if (maps.find(library) != std::string::npos) return true;
    return false;
}

TEST(VideoOutputProbe, XvfbOffersX11WithoutAskingGl) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    const bool xvfb = DisplayIsXvfb();
    // A command that would answer "gl" if it were ever run on this display.
    VideoOutputProbe probe("", {"/bin/echo", "direct Test GPU"});
    Clock::time_point start = Clock::now();
    probe.Start();
    std::string answer = probe.Answer();
    EXPECT_LT(MillisecondsSince(start), 1600.0);
    VideoOutputProbe::Findings found = probe.LastFindings();
    EXPECT_EQ(found.answer, answer);
    if (!xvfb) {
        EXPECT_TRUE(answer == "xv" || answer == "gl" || answer == "x11") << answer;
        return;
    }
    EXPECT_EQ(answer, "x11");
    EXPECT_TRUE(found.offer.xvideo) << "Xvfb lists XVideo";
    EXPECT_FALSE(found.offer.xvImageAdaptor) << "but has no adaptor";
    EXPECT_TRUE(found.offer.glx);
    EXPECT_FALSE(found.offer.gpuRendering);
    EXPECT_FALSE(found.glChildRan) << "software GL is known without the child";
    EXPECT_EQ(probe.Answer(), "x11") << "the answer stays";
}

TEST(VideoOutputProbe, AnUnreachableDisplayGivesNoAnswerInTime) {
    VideoOutputProbe probe(":4711", {}, milliseconds(300));
    Clock::time_point start = Clock::now();
    EXPECT_EQ(probe.Answer(), "") << "Answer starts the probe itself";
    EXPECT_LT(MillisecondsSince(start), 1000.0);
}

TEST(VideoOutputProbe, TheGtkBackendAnswersFromItsProbeWithoutLoadingGl) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
    g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
    if (!InitGtkPlatform(nullptr, nullptr)) GTEST_SKIP() << "no display";
    const bool xvfb = DisplayIsXvfb();
    auto previous = platform::InstallBackend(CreateGtkBackend());
    Clock::time_point start = Clock::now();
    std::string answer = platform::GetBackend().PreferredVideoOutput();
    EXPECT_LT(MillisecondsSince(start), 1600.0);
    if (xvfb) {
        EXPECT_EQ(answer, "x11");
    } else {
        EXPECT_TRUE(answer == "xv" || answer == "gl" || answer == "x11") << answer;
    }
    EXPECT_EQ(platform::GetBackend().PreferredVideoOutput(), answer) << "probed once per run";
    EXPECT_FALSE(GlMappedHere()) << "the GL driver belongs in the child";
    platform::InstallBackend(std::move(previous));
}

// The parent's side of the GL child, with stand-in commands: the line it prints, and a
// child that hangs or never starts costing no more than the limit.
TEST(GlProbeChild, ReadsTheFirstLineAndStopsTheChildInTime) {
    struct Row {
        const char* what;
        std::vector<std::string> command;
        const char* expected;
        double atMostMs;
    };
    const std::vector<Row> table = {
        {"a line", {"/bin/echo", "direct Test GPU"}, "direct Test GPU", 1000},
        {"the first of two lines", {"/bin/sh", "-c", "printf 'direct A\\nB\\n'"}, "direct A", 1000},
        {"no line end, then the end", {"/bin/sh", "-c", "printf 'direct A'"}, "direct A", 1000},
        {"a line, then hanging", {"/bin/sh", "-c", "echo direct A; exec sleep 10"}, "direct A", 1000},
        {"hanging before a line", {"/bin/sh", "-c", "printf direct; exec sleep 10"}, "", 1000},
        {"silent", {"/bin/sh", "-c", "exec sleep 10"}, "", 1000},
        {"failing", {"/bin/false"}, "", 1000},
        {"missing", {"/nonexistent/orvella"}, "", 1000},
        {"empty", {}, "", 1000},
    };
    for (const Row& row : table) {
        Clock::time_point start = Clock::now();
        std::string line = RunGlProbeChild(row.command, start + milliseconds(400));
        EXPECT_EQ(line, row.expected) << row.what;
        EXPECT_LT(MillisecondsSince(start), row.atMostMs) << row.what;
    }
}

TEST(GlProbeChild, OnlyAProgramThatServesTheFlagIsOffered) {
    // This test program never calls ServeGlProbeIfAsked: running itself would start every
    // test again instead of printing a renderer.
    EXPECT_TRUE(GlProbeCommand(":0").empty());
}

// The real child: the player binary of this build, when it is there.
TEST(GlProbeChild, ThePlayerPrintsTheRenderer) {
    const std::string player = std::string(ORVELLA_BINARY_DIR) + "/orvella";
    if (!std::getenv("DISPLAY") || ::access(player.c_str(), X_OK) != 0)
        GTEST_SKIP() << "no display or no player binary";
    std::string line = RunGlProbeChild({player, kGlProbeFlag, std::getenv("DISPLAY")},
                                       Clock::now() + milliseconds(3000));
    if (line.empty()) GTEST_SKIP() << "no GL on this display";
    EXPECT_TRUE(line.rfind("direct ", 0) == 0 || line.rfind("indirect ", 0) == 0) << line;
    if (DisplayIsXvfb()) {
        EXPECT_TRUE(IsSoftwareRenderer(line.substr(line.find(' ') + 1))) << line;
    }
}

}  // namespace
}  // namespace gtk
}  // namespace platform
