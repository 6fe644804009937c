// The default keys pressed in the main window, checked by asking the real engine what
// they did: Space pauses and resumes, Right seeks ten seconds on, Up raises the volume,
// F8 writes a screenshot into a screenshot folder that did not exist before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "app/ScreenshotFiles.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

class HotkeysEngineTest : public PlayerWndEngineTest {
protected:
    void Press(int vk) { fake().KeyPress(vk, platform::FakeBackend::kNone, hwnd_); }

    // The engine's own answer for a property ("" when none came), asked without letting
    // a paused engine move.
    std::string Ask(const std::string& property) {
        size_t from;
        {
            std::lock_guard<std::mutex> hold(lock_);
            from = lines_.size();
        }
        window_->GetEngine()->WriteToChild("pausing_keep_force get_property " + property + "\n");
        const std::string key = "ANS_" + property + "=";
        std::string answer;
        RunInRealTime([&] {
            std::lock_guard<std::mutex> hold(lock_);
            for (size_t i = from; i < lines_.size(); ++i)
                if (lines_[i].compare(0, key.size(), key) == 0) return answer = lines_[i].substr(key.size()), true;
            return false;
        }, 3000);
        return answer;
    }
    double AskNumber(const std::string& property) {
        const std::string answer = Ask(property);
        return answer.empty() ? -1 : std::atof(answer.c_str());
    }

    std::mutex lock_;
    std::vector<std::string> lines_;
};

TEST_F(HotkeysEngineTest, SpaceRightUpAndF8ReachTheEngine) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    auto& settings = const_cast<PlayerSettings&>(window_->GetSettings());
    settings.playsequence = kPlaySequence;
    const std::string shots = temp_ + "/shots/new";
    settings.snappath = shots;
    window_->PlaylistCommands().AddAndPlay({media_ + "long_sound.mp4"});
    ASSERT_TRUE(window_->IsEngineRunning());
    window_->GetEngine()->SetLineTapForTesting([this](std::string_view line) {
        std::lock_guard<std::mutex> hold(lock_);
        lines_.emplace_back(line);
    });
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().position > 0.2f; }, 10000));
    EXPECT_FALSE(IsFolder(shots)) << "made before a shot was taken";

    // F8: the folder is made, and the shot the engine wrote elsewhere is moved into it.
    Press(VK_F1 + 7);
    const std::string shot = shots + "/shot0001.png";
    ASSERT_TRUE(RunInRealTime([&] { return IsFolder(shots) && std::ifstream(shot).good(); }, 5000));
    std::ifstream png(shot, std::ios::binary);
    char magic[4] = {};
    png.read(magic, 4);
    EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    EXPECT_FALSE(std::ifstream(DataFolder() + "/shot0001.png").good()) << "left behind";

    // Up: one step is three volume units.
    const double volume = AskNumber("volume");
    ASSERT_GE(volume, 0);
    Press(VK_UP);
    EXPECT_TRUE(RunInRealTime([&] { return AskNumber("volume") > volume + 2.5; }, 3000)) << volume;
    EXPECT_NEAR(AskNumber("volume"), volume + 3, 0.5);

    // Space pauses; Right seeks ten seconds on while paused; Space resumes.
    Press(VK_SPACE);
    EXPECT_TRUE(RunInRealTime([&] { return Ask("pause") == "yes"; }, 3000));
    const double at = AskNumber("time_pos");
    ASSERT_GE(at, 0);
    Press(VK_RIGHT);
    // The engine lands on a key frame (one a second), mostly the one after the target.
    EXPECT_TRUE(RunInRealTime([&] { return AskNumber("time_pos") > at + 8.5; }, 3000)) << at;
    const double landed = AskNumber("time_pos");
    EXPECT_GE(landed, at + 9.4);
    EXPECT_LE(landed, at + 11.6);
    EXPECT_EQ(Ask("pause"), "yes");
    Press(VK_SPACE);
    EXPECT_TRUE(RunInRealTime([&] { return Ask("pause") == "no"; }, 3000));
    EXPECT_TRUE(window_->IsEngineRunning());
}

}  // namespace
}  // namespace orvella
