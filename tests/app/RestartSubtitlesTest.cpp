// Subtitle files reach the engine with the code page they say they are in, at the first
// launch, when loaded while playing, and at every restart; the setting stays as chosen.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "library/PlayerSettings.h"
#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

const std::string kUtf8 = "1\n00:00:00,000 --> 00:00:05,000\n\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9\n";
const std::string kPlain = "1\n00:00:00,000 --> 00:00:05,000\nplain\n";

enum class Arrival { Beside, Loaded, Dropped };  // "a.srt" beside "a.mp4", or while playing

struct SubtitleCase {
    const char* what;
    const char* setting;
    const std::string* bytes;
    Arrival arrival;
    const char* codePage;   // the "-subcp" of every launch once the file is in
    bool restartsToLoad;    // the running engine reads another code page: a new one takes the file
};

class RestartSubtitlesTest : public PlaybackTest, public ::testing::WithParamInterface<SubtitleCase> {
protected:
    PlayerSettings& Settings() { return const_cast<PlayerSettings&>(window_->GetSettings()); }
};

TEST_P(RestartSubtitlesTest, TheFileDecidesItsCodePageAcrossRestarts) {
    const SubtitleCase& c = GetParam();
    const std::string subtitle = temp_ + (c.arrival == Arrival::Beside ? "/a.srt" : "/loaded.srt");
    std::ofstream(subtitle, std::ios::binary) << *c.bytes;
    StartWithEngine();
    Settings().subtitleencode = c.setting;
    OpenClips({clips_[0]});
    int launches = engine_->Launches();
    if (c.arrival != Arrival::Beside) {
        EXPECT_EQ(engine_->Option(launches, "-subcp"), c.setting);
        if (c.arrival == Arrival::Dropped) {
            ASSERT_TRUE(fake().DropFiles(hwnd_, {subtitle}));
        } else {
            window_->Playback().LoadSubtitle(subtitle);
        }
        if (c.restartsToLoad) {
            ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
            ++launches;
            EXPECT_EQ(engine_->Option(launches, "-sub"), subtitle);
        } else {
            EXPECT_TRUE(Pump([&] { return Sent("pausing_keep sub_load \"" + subtitle + "\""); }));
            EXPECT_EQ(engine_->Launches(), launches);
        }
    }
    EXPECT_EQ(engine_->Option(launches, "-subcp"), c.codePage) << c.what;

    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
    EXPECT_EQ(engine_->Option(launches + 1, "-subcp"), c.codePage) << c.what << " after the restart";
    EXPECT_EQ(window_->GetSettings().subtitleencode, c.setting);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RestartSubtitlesTest,
    ::testing::Values(SubtitleCase{"UTF-8 under the default", "UTF-16", &kUtf8, Arrival::Loaded, "UTF-8", true},
                      SubtitleCase{"UTF-8 under Cyrillic", "CP1251", &kUtf8, Arrival::Loaded, "UTF-8", true},
                      SubtitleCase{"UTF-8 dropped", "CP1251", &kUtf8, Arrival::Dropped, "UTF-8", true},
                      SubtitleCase{"plain text keeps the setting", "CP1251", &kPlain, Arrival::Loaded, "CP1251", false},
                      SubtitleCase{"UTF-8 found beside the media", "CP1251", &kUtf8, Arrival::Beside, "UTF-8", false}));

// A subtitle track chosen before a restart stays chosen: the file the launch passes again
// does not take its place.
TEST_F(PlaybackTest, ChosenSubtitleTrackOutlivesTheRestartsOwnFile) {
    StartWithEngine();
    OpenClips({clips_[0]});
    const std::string subtitle = temp_ + "/loaded.srt";
    std::ofstream(subtitle) << kPlain;
    window_->Playback().LoadSubtitle(subtitle);
    window_->Slave().ChooseSubtitleTrack(2);
    engine_->SetStartLines({"ID_FILE_SUB_ID=0", "ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240",
                            "Starting playback..."});
    engine_->ForgetCommands();
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_ROTATE_1");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2 && window_->GetMediaInfo().videoWidth == 320; }));
    EXPECT_EQ(engine_->Option(2, "-sub"), subtitle);
    EXPECT_EQ(engine_->Option(2, "-sid"), "2");
    Pump([] { return false; }, 200);
    EXPECT_FALSE(Sent("sub_file 0"));
}

}  // namespace
}  // namespace orvella
