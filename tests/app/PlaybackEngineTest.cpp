// Playback and the play list with the real engine (video and audio output "null": the
// headless platform has no X window to draw into).
#include <gtest/gtest.h>
#include <signal.h>

#include "tests/TestMedia.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

class PlaybackEngineTest : public PlayerWndEngineTest {
protected:
    void StartPlayer(int sequence) {
        Start();
        window_->SetEngineOutputsForTesting("null", "null");
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = sequence;
    }
    bool Run(const std::function<bool()>& done, int ms) { return RunInRealTime(done, ms); }
};

TEST_F(PlaybackEngineTest, ThreeClipsInSequencePlayThroughToTheStartView) {
    StartPlayer(kPlaySequence);
    window_->PlaylistCommands().AddAndPlay(
        {media_ + "short1.mp4", media_ + "short2.mp4", media_ + "short3.mp4"});
    ASSERT_TRUE(window_->IsEngineRunning());
    ASSERT_TRUE(Run([&] { return !window_->IsEngineRunning(); }, 20000));
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 2u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(window_->PlaylistModel().At(i)->starttime, 0) << i;
    EXPECT_TRUE(Find("startup")->IsVisible());
    EXPECT_TRUE(Find("play")->IsEnabled());
    EXPECT_FALSE(Find("pause")->IsEnabled());
    EXPECT_EQ(window_->GetEngine(), nullptr);
}

TEST_F(PlaybackEngineTest, SingleLoopKeepsPlaying) {
    StartPlayer(kPlaySingleLoop);
    window_->PlaylistCommands().AddAndPlay({media_ + "short1.mp4"});
    ASSERT_TRUE(window_->IsEngineRunning());
    CCmdMplayer* engine = window_->GetEngine();
    Run([] { return false; }, 5000);  // two and a half times the clip
    EXPECT_TRUE(window_->IsEngineRunning());
    EXPECT_EQ(window_->GetEngine(), engine);
    EXPECT_TRUE(engine->IsChildActive());
}

TEST_F(PlaybackEngineTest, ClosedAfterTwoSecondsResumesThereAtTheNextStart) {
    StartPlayer(kPlaySequence);
    const std::string clip = media_ + "long.mp4";  // 8 s: its last 5 s keep no resume point
    window_->PlaylistCommands().AddAndPlay({clip});
    ASSERT_TRUE(Run([&] { return window_->PlaylistModel().Current()->starttime >= 2; }, 8000));
    const int64_t saved = window_->PlaylistModel().Current()->starttime;
    EXPECT_LE(saved, 3);
    DestroyWindow(hwnd_);  // closing the window saves the play memory
    hwnd_ = nullptr;

    StartPlayer(kPlaySequence);
    ASSERT_EQ(window_->PlaylistModel().Count(), 1u);
    EXPECT_EQ(window_->PlaylistModel().Current()->starttime, saved);
    window_->Playback().Play();
    ASSERT_TRUE(window_->IsEngineRunning());
    // Started at the saved point: the first position it tells is past it.
    window_->Slave().Send(slave::GetTimePos());
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().position > 0; }, 5000));
    EXPECT_GE(window_->GetMediaInfo().position, saved - 0.5f);
}

// The engine ends at once on an empty file and on a missing one: a loop over only such
// entries stops after one round and names the first.
TEST_F(PlaybackEngineTest, ALoopOverEntriesThatDoNotOpenStopsAfterOneRound) {
    std::fclose(std::fopen((temp_ + "/notes.mp4").c_str(), "w"));
    StartPlayer(kPlaySequenceLoop);
    window_->PlaylistCommands().AddAndPlay({temp_ + "/notes.mp4", temp_ + "/missing.mp4"});
    EXPECT_TRUE(Run([&] { return !window_->IsEngineRunning(); }, 5000));
    EXPECT_EQ(Find("filename")->GetText(), "Cannot open notes.mp4 or any other entry of the play list");
}

// The engine killed from outside ends playback with its cause, and "play" starts it again.
TEST_F(PlaybackEngineTest, KilledEngineIsToldAndPlayStartsAgain) {
    StartPlayer(kPlaySequence);
    window_->PlaylistCommands().AddAndPlay({media_ + "long.mp4"});
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().length > 0; }, 8000));
    ::kill(window_->GetEngine()->GetChildPid(), SIGKILL);
    ASSERT_TRUE(Run([&] { return !window_->IsEngineRunning(); }, 5000));
    EXPECT_EQ(std::string(Find("filename")->GetText()), "The engine stopped unexpectedly (killed by signal 9)");
    window_->Playback().Play();
    EXPECT_TRUE(Run([&] { return window_->GetMediaInfo().length > 0; }, 8000));
}

}  // namespace
}  // namespace orvella
