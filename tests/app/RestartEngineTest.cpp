// A restart keeps what the user chose: the real engine plays the same audio track with
// the same delays, speed and volume; subtitle files keep the code page they say they are in.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <mutex>

#include "library/PlayerSettings.h"
#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

using RestartEngineTest = PlayerWndEngineTest;

TEST_F(RestartEngineTest, RotatingKeepsTrackDelaysSpeedAndVolume) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->PlaylistCommands().AddAndPlay({media_ + "two_audio.mkv"});
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().videoWidth == 320; }, 8000));
    CSlaveCommands& slave = window_->Slave();
    const std::vector<std::tuple<std::string, std::function<void()>, double>> cases = {
        {"switch_audio", [&] { window_->RunMenuCommand("ID_MAINMENU_DVD_AUDIO_1"); }, 1.0},
        {"audio_delay", [&] { slave.Delay(DelayKind::Audio, 0.5f, true); }, 0.5},
        {"sub_delay", [&] { slave.Delay(DelayKind::Subtitle, -0.2f, false); }, -0.2},
        {"speed", [&] { slave.SpeedSet(1.5f); }, 1.5},
        {"volume", [&] { window_->Playback().SetVolume(30); }, 30.0},
    };
    for (const auto& c : cases) std::get<1>(c)();
    const pid_t before = window_->GetEngine()->GetChildPid();
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_NE(window_->GetEngine()->GetChildPid(), before);
    std::mutex lock;
    std::string seen;  // "ANS_speed=1.500000" lines
    window_->GetEngine()->SetLineTapForTesting([&](std::string_view line) {
        std::lock_guard<std::mutex> hold(lock);
        seen.append(line).append("\n");
    });
    for (const auto& c : cases) slave.Send(SlaveCommand{"pausing_keep_force get_property " + std::get<0>(c) + "\n"});
    RunInRealTime([&] { std::lock_guard<std::mutex> hold(lock); return seen.find("ANS_volume=") != std::string::npos; }, 8000);
    std::lock_guard<std::mutex> hold(lock);
    for (const auto& c : cases) {
        const std::string key = "ANS_" + std::get<0>(c) + "=";
        const size_t at = seen.find(key);
        ASSERT_NE(at, std::string::npos) << key << " missing from:\n" << seen;
        EXPECT_NEAR(std::stod(seen.substr(at + key.size())), std::get<2>(c), 0.01) << key;
    }
}

const std::string kUtf8 = "1\n00:00:00,000 --> 00:00:05,000\n\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9\n";
const std::string kPlain = "1\n00:00:00,000 --> 00:00:05,000\nplain\n";

enum class Arrival { Beside, Loaded, Dropped };  // "a.srt" beside "a.mp4", or while playing

struct SubtitleCase {
    const char* setting;
    const std::string* bytes;
    Arrival arrival;
    const char* codePage;  // the "-subcp" of every launch once the file is in
    bool restarts;         // the running engine reads another code page: a new one takes the file
};

class RestartSubtitlesTest : public PlaybackTest, public ::testing::WithParamInterface<SubtitleCase> {};

TEST_P(RestartSubtitlesTest, TheFileDecidesItsCodePageAcrossRestarts) {
    const SubtitleCase& c = GetParam();
    const std::string subtitle = temp_ + (c.arrival == Arrival::Beside ? "/a.srt" : "/loaded.srt");
    std::ofstream(subtitle, std::ios::binary) << *c.bytes;
    StartWithEngine();
    const_cast<PlayerSettings&>(window_->GetSettings()).subtitleencode = c.setting;
    OpenClips({clips_[0]});
    int launches = engine_->Launches();
    if (c.arrival == Arrival::Loaded) window_->Playback().LoadSubtitle(subtitle);
    if (c.arrival == Arrival::Dropped) fake().DropFiles(hwnd_, {subtitle});
    if (c.restarts) {
        ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
        EXPECT_EQ(engine_->Option(++launches, "-sub"), subtitle);
    } else if (c.arrival != Arrival::Beside) {
        EXPECT_TRUE(Pump([&] { return Sent("pausing_keep sub_load \"" + subtitle + "\""); }));
    }
    EXPECT_EQ(engine_->Option(launches, "-subcp"), c.codePage);
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
    EXPECT_EQ(engine_->Option(launches + 1, "-subcp"), c.codePage) << "after the restart";
    EXPECT_EQ(window_->GetSettings().subtitleencode, c.setting);
}

INSTANTIATE_TEST_SUITE_P(Files, RestartSubtitlesTest,
                         ::testing::Values(SubtitleCase{"UTF-16", &kUtf8, Arrival::Loaded, "UTF-8", true},
                                           SubtitleCase{"CP1251", &kUtf8, Arrival::Dropped, "UTF-8", true},
                                           SubtitleCase{"CP1251", &kPlain, Arrival::Loaded, "CP1251", false},
                                           SubtitleCase{"CP1251", &kUtf8, Arrival::Beside, "UTF-8", false}));

}  // namespace
}  // namespace orvella
