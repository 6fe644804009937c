// The desktop's media controls: what their calls come to, and what they read of the player.
#include "app/MprisBridge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

using Kind = platform::MediaRequest::Kind;
using Type = mpris::Command::Type;

platform::MediaRequest Request(Kind kind, int64_t micros = 0, std::string text = "", double volume = 0) {
    platform::MediaRequest r;
    r.kind = kind;
    r.microseconds = micros;
    r.text = std::move(text);
    r.volume = volume;
    return r;
}

mpris::Command Cmd(Type type, const char* name = "", double seconds = 0, int volume = 0) {
    mpris::Command c;
    c.type = type;
    c.name = name;
    c.seconds = seconds;
    c.volume = volume;
    return c;
}

TEST(MprisRules, CallsComeToThePlayersCommands) {
    PlayerNow playing;
    playing.engineRunning = true;
    playing.entries = 2;
    playing.path = "/m/a b.mp4";
    playing.position = 10;
    playing.length = 60;
    PlayerNow paused = playing;
    paused.paused = true;
    PlayerNow stopped;
    stopped.entries = 2;
    stopped.current = 1;
    const PlayerNow empty;
    const std::string id = mpris::TrackId(playing.path);
    const auto menu = [](const char* item) { return Cmd(Type::MenuItem, item); };
    const auto seek = [](double s) { return Cmd(Type::SeekTo, "", s); };
    const auto open = [](const char* what) { return Cmd(Type::Open, what); };
    const struct {
        platform::MediaRequest request;
        const PlayerNow& now;
        mpris::Command command;
    } cases[] = {
        {Request(Kind::PlayPause), playing, Cmd(Type::KeyAction, "Pause")},
        {Request(Kind::PlayPause), stopped, menu("ID_MAINMENU_PLAY_PLAY")},
        {Request(Kind::PlayPause), empty, {}},
        {Request(Kind::Play), playing, {}},
        {Request(Kind::Play), paused, menu("ID_MAINMENU_PLAY_PLAY")},
        {Request(Kind::Pause), paused, {}},
        {Request(Kind::Stop), stopped, {}},
        {Request(Kind::Next), playing, menu("ID_MAINMENU_PLAY_NEXT")},
        {Request(Kind::Next), stopped, {}},
        {Request(Kind::Previous), stopped, menu("ID_MAINMENU_PLAY_PREVIOUS")},
        {Request(Kind::Quit), empty, menu("ID_MAINMENU_FILE_EXIT")},
        {Request(Kind::Seek, 5000000), playing, seek(15)},
        {Request(Kind::Seek, -20000000), playing, seek(0)},
        {Request(Kind::Seek, 60000000), playing, menu("ID_MAINMENU_PLAY_NEXT")},
        {Request(Kind::SetPosition, 30000000, id), paused, seek(30)},
        {Request(Kind::SetPosition, 30000000, "/org/orvella/Orvella/Track/other"), playing, {}},
        {Request(Kind::SetPosition, 61000000, id), playing, {}},
        {Request(Kind::SetPosition, 1000000, mpris::kNoTrack), stopped, {}},
        {Request(Kind::SetVolume, 0, "", 0.42), stopped, Cmd(Type::Volume, "", 0, 42)},
        {Request(Kind::SetVolume, 0, "", 1.7), stopped, Cmd(Type::Volume, "", 0, 100)},
        {Request(Kind::SetVolume, 0, "", NAN), stopped, {}},
        {Request(Kind::OpenUri, 0, "file:///m/a%20b.mp4"), empty, open("/m/a b.mp4")},
        {Request(Kind::OpenUri, 0, "FILE://localhost/x%0Ay.mp4"), empty, open("/x\ny.mp4")},
        {Request(Kind::OpenUri, 0, "http://h/v.mp4"), empty, open("http://h/v.mp4")},
        {Request(Kind::OpenUri, 0, "http://h/v\nquit"), empty, {}},
        {Request(Kind::OpenUri, 0, "file://elsewhere/v.mp4"), empty, {}},
        {Request(Kind::OpenUri, 0, "file:///v%00.mp4"), empty, {}},
        {Request(Kind::OpenUri, 0, "smb://h/v.mp4"), empty, {}},
        {Request(Kind::OpenUri, 0, "v.mp4"), empty, {}},
    };
    for (const auto& c : cases) {
        const mpris::Command got = mpris::CommandFor(c.request, c.now);
        EXPECT_TRUE(got == c.command) << static_cast<int>(c.request.kind) << " " << c.request.text << ": "
                                      << static_cast<int>(got.type) << " " << got.name << " " << got.seconds;
    }

    const platform::MediaPlayerState state = mpris::StateOf(playing);
    EXPECT_EQ(state.status, "Playing");
    EXPECT_EQ(state.track.id, id);
    EXPECT_EQ(state.track.lengthMicros, 60000000);
    EXPECT_EQ(state.track.url, "file:///m/a%20b.mp4");
    EXPECT_TRUE(state.canGoNext && !state.canGoPrevious && state.canSeek);
    EXPECT_EQ(mpris::StateOf(empty).track.id, mpris::kNoTrack);
    EXPECT_EQ(mpris::ChangedProperties(state, mpris::StateOf(paused)), std::vector<std::string>{"PlaybackStatus"});
    EXPECT_EQ(mpris::ChangedProperties(mpris::StateOf(stopped), mpris::StateOf(empty)),
              (std::vector<std::string>{"CanGoPrevious", "CanPlay"}));
}

// A controller drives the player through the same commands as its buttons and keys, and
// hears of each change once.
TEST_F(PlaybackTest, MediaControlsDriveThePlayerAndFollowIt) {
    StartWithEngine();
    platform::FakeMediaControls& controls = fake().MediaControlsFake();
    ASSERT_TRUE(controls.Offered());
    OpenClips({clips_[0], clips_[1]});
    Tick();  // the length is known
    ASSERT_EQ(controls.State().status, "Playing");
    EXPECT_EQ(controls.State().track.title, "a.mp4");
    EXPECT_EQ(controls.State().track.lengthMicros, 2000000);
    const std::string first = controls.State().track.id;
    const auto call = [&](platform::MediaRequest r) { return [&controls, r] { controls.Call(r); }; };
    const struct {
        const char* what;
        std::function<void()> act;
        std::vector<std::string> sent;
        const char* status;
        std::vector<std::string> changed;
        std::vector<int64_t> seeks;
    } steps[] = {
        {"PlayPause", call(Request(Kind::PlayPause)), {"pause", "pausing_keep get_time_pos"}, "Paused", {"PlaybackStatus"}, {}},
        {"the play/pause key", [&] { fake().KeyPress(VK_MEDIA_PLAY_PAUSE); }, {"pause"}, "Playing", {"PlaybackStatus"}, {}},
        {"SetPosition", call(Request(Kind::SetPosition, 1500000, first)), {"pausing_keep seek 1.50 2"}, "Playing", {}, {1500000}},
        {"SetPosition elsewhere", call(Request(Kind::SetPosition, 500000, "/x")), {}, "Playing", {}, {}},
        {"Volume", call(Request(Kind::SetVolume, 0, "", 0.3)), {"pausing_keep volume 30 1"}, "Playing", {"Volume"}, {}},
        {"Next", call(Request(Kind::Next)), {}, "Playing", {"Metadata", "CanGoNext", "CanGoPrevious", "CanSeek"}, {}},
        {"Stop", call(Request(Kind::Stop)), {}, "Stopped", {"PlaybackStatus", "CanPause"}, {}},
    };
    for (const auto& step : steps) {
        engine_->ForgetCommands();
        controls.ClearAnnouncements();
        step.act();
        Pump([&] { return engine_->Commands().size() >= step.sent.size() && controls.Changed().size() >= step.changed.size(); });
        if (!step.sent.empty()) {
            EXPECT_EQ(engine_->Commands(), step.sent) << step.what;
        }
        EXPECT_EQ(controls.State().status, step.status) << step.what;
        EXPECT_EQ(controls.Changed(), step.changed) << step.what;
        EXPECT_EQ(controls.Seeks(), step.seeks) << step.what;
    }
    EXPECT_EQ(controls.State().track.title, "b.mp4");
    EXPECT_NE(controls.State().track.id, first);
    ShowWindow(hwnd_, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(hwnd_));
    controls.Call(Request(Kind::Raise));
    EXPECT_TRUE(Pump([&] { return !IsIconic(hwnd_); })) << "Raise brings a minimised window back";
    EXPECT_EQ(Find("volumeslider") ? static_cast<uilib::CProgressUI*>(Find("volumeslider")->GetInterface("Progress"))
                                         ->GetValue()
                                   : -1,
              30);
}

}  // namespace
}  // namespace orvella
