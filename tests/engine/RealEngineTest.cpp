// The real engine end to end: /usr/bin/mplayer (through the build folder's gnu/mplayer)
// started by CCmdMplayer with the argument vector BuildLaunch makes ("-vo null -ao null"),
// its facts arriving as WM_ENGINE_EVENT at a window of the headless platform.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/CmdMplayer.h"
#include "engine/EngineEvents.h"
#include "engine/LaunchOptions.h"
#include "engine/MediaInfo.h"
#include "engine/SlaveCommands.h"
#include "tests/TestMedia.h"
#include "tests/TestPlatform.h"

namespace orvella {
namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT WM_PROBE = WM_USER + 500;  // a UI message posted while the engine floods

// What the receiving window saw; one per test, reached through the window's user data.
struct Receiver {
    MediaInfo info;
    std::vector<EngineEvent> events;
    bool exited = false;
    int screenshot = 0;
    // Flood probes: when each was posted (steady clock, ns) and how long until handled.
    std::vector<double> probeDelaysMs;
    std::function<void()> onProbe;

    bool Saw(WPARAM code) const {
        return std::any_of(events.begin(), events.end(), [&](const EngineEvent& e) { return e.code == code; });
    }
};

LRESULT ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* r = static_cast<Receiver*>(platform::GetBackend().GetWindowUserData(hwnd));
    if (r && msg == WM_ENGINE_EVENT) {
        EngineEvent event;
        if (TakeEngineEvent(wParam, lParam, &event)) {
            ApplyEngineEvent(r->info, event);
            if (event.code == EV_EXIT) r->exited = true;
            if (event.code == EV_SCREENSHOT) r->screenshot = event.number;
            if (r->events.size() < 10000) r->events.push_back(event);
        }
        return 0;
    }
    if (r && msg == WM_PROBE) {
        auto posted = Clock::time_point(Clock::duration(static_cast<Clock::rep>(lParam)));
        r->probeDelaysMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
        if (r->onProbe) r->onProbe();
        return 0;
    }
    if (msg == WM_DESTROY) DiscardEngineEvents(hwnd);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

class RealEngineTest : public FakePlatformTest {
protected:
    void SetUp() override {
        media_ = orvella_test::TestMediaFolder();
        if (media_.empty()) ORVELLA_SKIP_OR_FAIL("test media could not be made (ffmpeg?)");
        char tmpl[] = "/tmp/orvella-engine-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        shots_ = tmpl;
        platform::CreateParams params;
        params.className = "EngineReceiver";
        params.proc = &ReceiverProc;
        params.userData = &receiver_;
        window_ = CreateWindowEx(params);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        engine_.reset();  // stops the child before the window goes
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        if (!shots_.empty()) {
            std::string cmd = "rm -rf '" + shots_ + "'";
            EXPECT_EQ(std::system(cmd.c_str()), 0);
        }
    }

    LaunchOptions Options(const std::string& mediaPath) {
        LaunchOptions o;
        o.programFolder = std::string(ORVELLA_BINARY_DIR) + "/";
        o.currentFolder = shots_;
        o.mediaPath = mediaPath;
        o.snappath = shots_;
        o.videoOutputOverride = "null";
        o.audioOutputOverride = "null";
        o.startFullScreen = false;
        return o;
    }

    // Starts the engine as the main window does; false when the child could not start.
    bool Launch(const std::string& mediaPath) {
        LaunchPlan plan = BuildLaunch(Options(mediaPath));
        if (plan.child.argv.empty()) return false;
        engine_ = std::make_unique<CCmdMplayer>(window_);
        return engine_->StartChild(plan.child);
    }

    bool PumpUntil(const std::function<bool()>& done, int ms = 8000) {
        auto until = Clock::now() + std::chrono::milliseconds(ms);
        while (!done() && Clock::now() < until) {
            fake().DispatchPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        fake().DispatchPending();
        return done();
    }

    std::string media_, shots_;
    Receiver receiver_;
    HWND window_ = nullptr;
    std::unique_ptr<CCmdMplayer> engine_;
};

TEST_F(RealEngineTest, VideoReportsSizeAspectLengthPositionAndEnd) {
    ASSERT_TRUE(Launch(media_ + "video.mp4"));
    const MediaInfo& info = receiver_.info;
    ASSERT_TRUE(PumpUntil([&] { return receiver_.Saw(EV_VIDEO_OUTPUT_SIZE); }));
    EXPECT_EQ(info.videoWidth, 320);
    EXPECT_EQ(info.videoHeight, 240);
    EXPECT_NEAR(info.aspect, 4.0f / 3.0f, 0.001);
    EXPECT_FALSE(info.audioOnly);

    // Length and position come only as answers to the position poll's queries.
    SlaveState state;
    CSlaveCommands slave(state);
    slave.AttachEngine(engine_.get());
    EXPECT_EQ(slave.Send(slave::GetTimeLength()), SendResult::Sent);
    EXPECT_EQ(slave.Send(slave::GetTimePos()), SendResult::Sent);
    ASSERT_TRUE(PumpUntil([&] { return receiver_.Saw(EV_LENGTH) && receiver_.Saw(EV_TIME_POSITION); }));
    EXPECT_NEAR(info.length, 4.0, 0.15);
    EXPECT_GE(info.position, 0.0f);
    EXPECT_LE(info.position, 4.1f);

    // The clip plays to its end: "ID_EXIT=EOF", and the engine ends by itself.
    ASSERT_TRUE(PumpUntil([&] { return receiver_.exited && !engine_->IsChildActive(); }, 10000));
    EXPECT_EQ(engine_->GetEnd(), ChildEnd::EndedByItself);
    EXPECT_EQ(engine_->GetExitCode(), 0);
    // A command to the ended engine is dropped by the guard.
    EXPECT_EQ(slave.Send(slave::GetTimePos()), SendResult::NoEngine);
    slave.DetachEngine();
}

TEST_F(RealEngineTest, TwoAudioLanguagesOfTheMkv) {
    ASSERT_TRUE(Launch(media_ + "multi.mkv"));
    ASSERT_TRUE(PumpUntil([&] { return receiver_.Saw(EV_VIDEO_OUTPUT_SIZE); }));
    TrackTable audio = engine_->GetAudioTracks();
    std::vector<std::string> languages;
    for (const auto& [id, language] : audio) languages.push_back(language);
    EXPECT_EQ(languages, (std::vector<std::string>{"eng", "fra"}));
    TrackTable subtitles = engine_->GetSubtitleTracks();
    ASSERT_EQ(subtitles.size(), 1u);
    EXPECT_EQ(subtitles.begin()->second, "ger");
}

// The "-vf screenshot" filter BuildLaunch always adds works with "-vo null" too, so no
// display is needed. The engine ignores the folder argument and writes into its working
// folder, which the launch sets to the screenshot folder.
TEST_F(RealEngineTest, ScreenshotLandsInTheScreenshotFolder) {
    ASSERT_TRUE(Launch(media_ + "video.mp4"));
    ASSERT_TRUE(PumpUntil([&] { return receiver_.Saw(EV_VIDEO_OUTPUT_SIZE); }));
    SlaveState state;
    CSlaveCommands slave(state);
    slave.AttachEngine(engine_.get());
    EXPECT_EQ(slave.Send(slave::Screenshot(0, "/nonexistent-elsewhere")), SendResult::Sent);
    ASSERT_TRUE(PumpUntil([&] { return receiver_.screenshot != 0; }));
    EXPECT_EQ(receiver_.screenshot, 1);
    std::string shot = shots_ + "/shot0001.png";
    ASSERT_TRUE(PumpUntil([&] {
        struct stat st {};
        return stat(shot.c_str(), &st) == 0 && st.st_size > 0;
    }, 2000)) << shot;
    slave.DetachEngine();
    engine_.reset();
    struct stat st {};
    EXPECT_NE(stat("/nonexistent-elsewhere", &st), 0);
}

TEST_F(RealEngineTest, DvdFolderGivesMenuTitlesAndChapters) {
    ASSERT_TRUE(Launch("dvdnav:// -dvd-device " + media_ + "dvd"));
    ASSERT_TRUE(PumpUntil([&] { return receiver_.Saw(EV_DVD_MENU); }));
    EXPECT_TRUE(receiver_.info.inDvdMenu);
    TrackTable lengths = engine_->GetTitleLengths();
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_NEAR(std::atof(lengths[1].c_str()), 12.0, 0.6);
    EXPECT_NEAR(std::atof(lengths[2].c_str()), 4.0, 0.6);
    TrackTable lists = engine_->GetTitleChapterLists();
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(std::count(lists[1].begin(), lists[1].end(), ','), 3) << lists[1];
    EXPECT_EQ(std::count(lists[2].begin(), lists[2].end(), ','), 1) << lists[2];
    // The menu belongs to title 1's title set. With the menus the engine lists chapter
    // ENDS in whole seconds (chapters at 0, 4 and 8 s end near 4, 7 or 8, and 12); the
    // chapters are their starts: 0, then every end but the title's own.
    EXPECT_EQ(engine_->GetCurrentTitle(), 1);
    TrackTable chapters = engine_->GetChapters();
    std::vector<std::string> starts;
    for (const auto& [index, start] : chapters) starts.push_back(start);
    std::vector<std::string> expected{"00:00:00"};
    for (size_t at = 0, comma; (comma = lists[1].find(',', at)) != std::string::npos; at = comma + 1)
        expected.push_back(lists[1].substr(at, comma - at));
    expected.pop_back();
    EXPECT_EQ(starts, expected);
    EXPECT_EQ(expected[1], "00:00:04");
}

// A child that prints event lines as fast as it can: the reader thread posts one
// WM_ENGINE_EVENT per line, yet a message posted to the window from elsewhere is still
// handled at once. The delays are printed; the only assertion is a generous guard.
TEST_F(RealEngineTest, FloodingEngineKeepsTheWindowResponsive) {
    engine_ = std::make_unique<CCmdMplayer>(window_);
    ChildLaunch flood;
    flood.argv = {"/usr/bin/yes", "ID_VIDEO_WIDTH=320"};
    ASSERT_TRUE(engine_->StartChild(flood));

    const auto deadline = Clock::now() + std::chrono::milliseconds(1500);
    // Past the deadline the next probe stops the child, so the queue drains for good.
    receiver_.onProbe = [&] {
        if (Clock::now() >= deadline && engine_->IsChildActive()) engine_->StopChild();
    };
    std::atomic<bool> posting{true};
    std::thread poster([&] {
        while (posting) {
            PostMessage(window_, WM_PROBE, 0, static_cast<LPARAM>(Clock::now().time_since_epoch().count()));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    PumpUntil([&] { return Clock::now() >= deadline && !engine_->IsChildActive(); }, 5000);
    posting = false;
    poster.join();
    fake().DispatchPending();
    const bool stopped = !engine_->IsChildActive();
    engine_->StopChild();

    std::vector<double> delays = receiver_.probeDelaysMs;
    ASSERT_GE(delays.size(), 10u);
    std::sort(delays.begin(), delays.end());
    size_t widths = 0;
    for (const EngineEvent& e : receiver_.events) widths += e.code == EV_VIDEO_WIDTH;
    std::printf("[ flood    ] %zu probes: median %.2f ms, max %.2f ms; %zu+ width events handled\n",
                delays.size(), delays[delays.size() / 2], delays.back(), widths);
    EXPECT_TRUE(stopped);
    EXPECT_GT(widths, 1000u);  // the flood really reached the window
    EXPECT_LT(delays.back(), 1000.0);
    EXPECT_EQ(receiver_.info.videoWidth, 320);
}

}  // namespace
}  // namespace orvella
