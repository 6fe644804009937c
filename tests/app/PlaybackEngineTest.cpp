// Playback and the play list with the real engine (video and audio output "null": the
// headless platform has no X window to draw into).
#include <gtest/gtest.h>

#include "tests/TestMedia.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

class PlaybackEngineTest : public PlayerWndTest {
protected:
    void SetUp() override {
        PlayerWndTest::SetUp();
        media_ = orvella_test::TestMediaFolder();
        if (media_.empty()) ORVELLA_SKIP_OR_FAIL("test media could not be made (ffmpeg?)");
        // The build folder holds gnu/mplayer and the skins, like an installed program.
        uilib::SetAppPathForTesting(std::string(ORVELLA_BINARY_DIR) + "/");
    }

    void StartPlayer(int sequence) {
        Start();
        window_->SetEngineOutputsForTesting("null", "null");
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = sequence;
    }

    // Runs the window for up to ms of real time, with its clock (and so the position
    // poll) keeping pace, until done.
    bool Run(const std::function<bool()>& done, int ms) {
        for (int waited = 0; waited < ms && !done(); waited += 20) {
            fake().DispatchPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            fake().AdvanceTime(20);
        }
        fake().DispatchPending();
        return done();
    }

    std::string media_;
};

TEST_F(PlaybackEngineTest, ThreeClipsInSequencePlayThroughToTheStartView) {
    StartPlayer(kPlaySequence);
    window_->PlaylistCommands().AddAndPlay(
        {media_ + "short1.mp4", media_ + "short2.mp4", media_ + "short3.mp4"});
    ASSERT_TRUE(window_->IsEngineRunning());
    bool sawResumePoint = false;
    ASSERT_TRUE(Run([&] {
        if (const PlaylistItem* entry = window_->PlaylistModel().Current())
            sawResumePoint = sawResumePoint || entry->starttime > 0;
        return !window_->IsEngineRunning();
    }, 20000));
    EXPECT_TRUE(sawResumePoint) << "the poll keeps the resume point while a clip plays";
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

TEST_F(PlaybackEngineTest, ClosedAfterThreeSecondsResumesThereAtTheNextStart) {
    StartPlayer(kPlaySequence);
    const std::string clip = media_ + "long.mp4";
    window_->PlaylistCommands().AddAndPlay({clip});
    ASSERT_TRUE(Run([&] { return window_->PlaylistModel().Current()->starttime >= 3; }, 8000));
    const int64_t saved = window_->PlaylistModel().Current()->starttime;
    EXPECT_LE(saved, 5);  // the poll ticks once a second; a busy machine may tick late
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

}  // namespace
}  // namespace orvella
