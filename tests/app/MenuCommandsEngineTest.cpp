// Menu items against the real engine: looping really starts and stops, a ratio changes
// the picture's aspect, and a launch choice restarts the engine where it was.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/TestMedia.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

class MenuCommandsEngineTest : public PlayerWndEngineTest {
protected:
    void StartPlaying(const std::string& clip) {
        Start();
        window_->SetEngineOutputsForTesting("null", "null");
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlaySequence;
        window_->PlaylistCommands().AddAndPlay({media_ + clip});
        ASSERT_TRUE(window_->IsEngineRunning());
    }
    bool Run(const std::function<bool()>& done, int ms) { return RunInRealTime(done, ms); }
};

TEST_F(MenuCommandsEngineTest, LoopItemsStartAndStopTheEnginesLoop) {
    StartPlaying("short1.mp4");
    const pid_t engine = window_->GetEngine()->GetChildPid();
    window_->RunMenuCommand("ID_PLAYLISTMENU_PLAY_SINGLE_LOOP");
    Run([] { return false; }, 5000);  // two and a half times the clip
    ASSERT_TRUE(window_->IsEngineRunning());
    EXPECT_EQ(window_->GetEngine()->GetChildPid(), engine) << "the same engine loops; none was started";

    // Leaving single loop from the main menu ends the loop at the clip's end.
    window_->RunMenuCommand("ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE");
    EXPECT_TRUE(Run([&] { return !window_->IsEngineRunning(); }, 5000));
}

TEST_F(MenuCommandsEngineTest, RotateRestartsAtTheSamePosition) {
    StartPlaying("long.mp4");
    ASSERT_TRUE(Run([&] { return window_->PlaylistModel().Current()->starttime >= 2; }, 8000));
    const int64_t at = window_->PlaylistModel().Current()->starttime;
    const pid_t before = window_->GetEngine()->GetChildPid();
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_TRUE(window_->IsEngineRunning());
    const pid_t after = window_->GetEngine()->GetChildPid();
    EXPECT_NE(after, before);
    // The new engine was given the rotation (its arguments, NUL-separated).
    std::ifstream cmdline("/proc/" + std::to_string(after) + "/cmdline");
    const std::string arguments((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    EXPECT_NE(arguments.find(std::string("-vf-add\0rotate=1", 16)), std::string::npos);
    window_->Slave().Send(slave::GetTimePos());
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().position > 0; }, 5000));
    EXPECT_GE(window_->GetMediaInfo().position, at - 0.5f);
}

TEST_F(MenuCommandsEngineTest, RatioItemsChangeTheEnginesAspect) {
    StartPlaying("long.mp4");
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().aspect > 1.3f; }, 8000));
    EXPECT_NEAR(window_->GetMediaInfo().aspect, 4.0f / 3.0f, 0.01f);
    // The engine answers a new ratio with the picture's new aspect.
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_RATIO_16:9");
    EXPECT_TRUE(Run([&] { return window_->GetMediaInfo().aspect > 1.7f; }, 5000));
    EXPECT_NEAR(window_->GetMediaInfo().aspect, 16.0f / 9.0f, 0.01f);
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_RATIO_1:1");
    EXPECT_TRUE(Run([&] { return window_->GetMediaInfo().aspect < 1.1f; }, 5000));
    EXPECT_NEAR(window_->GetMediaInfo().aspect, 1.0f, 0.01f);
}

}  // namespace
}  // namespace orvella
