// Stand-in engines that stop reading, flood their output or end without a word: the
// window keeps answering, the engine's end is told, "play" starts again, and closing
// saves the settings.
#include <signal.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

// Kills the stand-in should the window freeze on it, so that the test fails instead of
// hanging the run.
struct HangGuard {
    explicit HangGuard(std::string pidFile)
        : watcher([this, pidFile] {
              for (int waited = 0; waited < 20000 && !done; waited += 50)
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
              if (done) return;
              fired = true;
              int pid = 0;
              std::ifstream(pidFile) >> pid;
              if (pid > 0) ::kill(pid, SIGKILL);
          }) {}
    ~HangGuard() { done = true, watcher.join(); }
    std::atomic<bool> done{false}, fired{false};
    std::thread watcher;
};

struct StandInCase {
    const char* name;
    const char* behaviour;  // shell lines after the start lines
    int distinctSeeks;      // commands the window sends meanwhile
    const char* told;       // what "filename" says once it is over
};

class EngineLivenessTest : public PlaybackTest, public ::testing::WithParamInterface<StandInCase> {
protected:
    void TearDown() override {
        CRedirector::SetHungTimeoutForTesting(0);
        PlaybackTest::TearDown();
    }
};

TEST_P(EngineLivenessTest, WindowAnswersAndTellsTheEnd) {
    const StandInCase& c = GetParam();
    const std::string dir = temp_ + "/engine";
    std::ofstream(engine_->ProgramFolder() + "gnu/mplayer")
        << "#!/bin/bash\necho $$ > '" << dir << "/pid'\necho x >> '" << dir << "/runs'\n"
        << "printf 'ID_VIDEO_WIDTH=320\\nID_VIDEO_HEIGHT=240\\nID_LENGTH=60\\nStarting playback...\\n'\n"
        << c.behaviour << "\n";
    CRedirector::SetHungTimeoutForTesting(300);
    StartWithEngine();
    window_->PlaylistCommands().AddAndPlay({clips_[0]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }));
    HangGuard guard(dir + "/pid");
    size_t mostWaiting = 0;
    for (int i = 0; i < c.distinctSeeks; ++i) window_->Playback().SeekToTime(i);
    // The volume re-sent for every "Starting playback..." waits once at most.
    Pump([&] {
        if (CCmdMplayer* engine = window_->GetEngine()) mostWaiting = std::max(mostWaiting, engine->WaitingCommandCount());
        return !window_->IsEngineRunning();
    }, 10000);
    EXPECT_FALSE(guard.fired) << "the window froze";
    EXPECT_EQ(std::string(Find("filename")->GetText()), c.told);
    if (c.distinctSeeks == 0) {
        EXPECT_LE(mostWaiting, 1u);
    }
    Click("play");
    EXPECT_TRUE(Pump([&] { return ReadBytes(dir + "/runs") == "x\nx\n"; }));
    SendMessage(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_NE(ReadBytes(DataFolder() + "/settings.xml"), "");
}

INSTANTIATE_TEST_SUITE_P(
    StandIns, EngineLivenessTest,
    ::testing::Values(
        StandInCase{"StopsReading", "exec sleep 600", 4000, "The engine stopped answering and was ended"},
        StandInCase{"FloodsPlaybackStarts", "exec yes 'Starting playback...'", 0,
                    "The engine stopped answering and was ended"},
        StandInCase{"ExitsAtOnce", "exit 3", 0, "The engine stopped unexpectedly (exit status 3)"}),
    [](const ::testing::TestParamInfo<StandInCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvella
