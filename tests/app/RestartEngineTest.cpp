// A restart of the real engine (a rotation) keeps what the user chose while it played:
// the new engine answers the same track, delays, speed and volume.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "tests/TestMedia.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

class RestartEngineTest : public PlayerWndEngineTest {};

TEST_F(RestartEngineTest, RotatingKeepsTrackDelaysSpeedAndVolume) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->PlaylistCommands().AddAndPlay({media_ + "two_audio.mkv"});
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().videoWidth == 320; }, 8000));

    CSlaveCommands& slave = window_->Slave();
    const struct {
        const char* property;
        std::function<void()> choose;
        double expected;
    } cases[] = {
        {"switch_audio", [&] { window_->RunMenuCommand("ID_MAINMENU_DVD_AUDIO_1"); }, 1.0},
        {"audio_delay", [&] { slave.Delay(DelayKind::Audio, 0.5f, true); }, 0.5},
        {"sub_delay", [&] { slave.Delay(DelayKind::Subtitle, -0.2f, false); }, -0.2},
        {"speed", [&] { slave.SpeedSet(1.5f); }, 1.5},
        {"volume", [&] { window_->Playback().SetVolume(30); }, 30.0},
    };
    for (const auto& c : cases) c.choose();
    const pid_t before = window_->GetEngine()->GetChildPid();
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_TRUE(window_->IsEngineRunning());
    ASSERT_NE(window_->GetEngine()->GetChildPid(), before);

    std::mutex lock;
    std::map<std::string, std::string> answers;
    window_->GetEngine()->SetLineTapForTesting([&](std::string_view line) {
        if (line.substr(0, 4) != "ANS_") return;
        const size_t equals = line.find('=');
        std::lock_guard<std::mutex> hold(lock);
        answers[std::string(line.substr(4, equals - 4))] = std::string(line.substr(equals + 1));
    });
    for (const auto& c : cases)
        slave.Send(SlaveCommand{std::string("pausing_keep_force get_property ") + c.property + "\n"});
    RunInRealTime([&] {
        std::lock_guard<std::mutex> hold(lock);
        return answers.size() >= std::size(cases);
    }, 8000);
    std::lock_guard<std::mutex> hold(lock);
    for (const auto& c : cases) {
        ASSERT_TRUE(answers.count(c.property)) << c.property << " was not answered";
        EXPECT_NEAR(std::atof(answers[c.property].c_str()), c.expected, 0.01) << c.property;
    }
}

}  // namespace
}  // namespace orvella
