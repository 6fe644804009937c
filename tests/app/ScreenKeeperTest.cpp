// The screen stays on only while a video plays in sight: the rule, and what the main
// window asks of the platform as the user plays, pauses, minimises, moves on and leaves.
#include <gtest/gtest.h>

#include "app/ScreenKeeper.h"
#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

TEST(ScreenKeeperRule, OnlyAVideoPlayingInSight) {
    using P = PlayState;
    using V = HasVideo;
    const struct {
        ScreenActivity now;
        bool keptOn, on;
    } cases[] = {
        {{P::Playing, V::Yes, false}, false, true},
        {{P::Paused, V::Yes, false}, true, false},
        {{P::Stopped, V::Yes, false}, true, false},
        {{P::Playing, V::No, false}, true, false},
        {{P::Playing, V::Yes, true}, true, false},
        {{P::Playing, V::NotKnown, false}, true, true},    // the next video of the list
        {{P::Playing, V::NotKnown, false}, false, false},  // may be audio
        {{P::Playing, V::NotKnown, true}, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepScreenOn(c.now, c.keptOn), c.on)
            << int(c.now.play) << " " << int(c.now.video) << " " << c.now.minimised << " " << c.keptOn;
}

TEST_F(PlaybackTest, ScreenStaysOnWhileAVideoPlaysInSight) {
    StartWithEngine();
    const std::vector<std::string>& calls = fake().ScreenSaverCalls();
    auto settle = [&] { Pump([] { return false; }, 60); };
    auto playUntilVideo = [&](std::vector<std::string> paths) {
        window_->PlaylistCommands().AddAndPlay(paths);
        ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }));
    };
    auto endEntry = [&](int launchesAfter) {
        engine_->End();
        ASSERT_TRUE(Pump([&] { return engine_->Launches() == launchesAfter || !window_->IsEngineRunning(); }));
    };
    const struct {
        const char* step;
        std::function<void()> act;
        bool on;
        size_t calls;  // made so far
    } steps[] = {
        {"a video plays", [&] { playUntilVideo({clips_[0], clips_[1]}); }, true, 1},
        {"pause", [&] { Click("pause"); }, false, 2},
        {"play", [&] { Click("play"); }, true, 3},
        {"the next entry", [&] { endEntry(2); Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }); },
         true, 3},
        {"minimise", [&] { Click("minbtn"); }, false, 4},
        {"restore", [&] { ShowWindow(hwnd_, SW_RESTORE); }, true, 5},
        {"hide behind the tray icon", [&] { fake().SetTrayAvailable(platform::TrayKind::XEmbed); Click("minbtn"); },
         false, 6},
        {"back from the tray", [&] { fake().ActivateTrayIcon(hwnd_, fake().TrayIcons().front().id); }, true, 7},
        {"the end of the list", [&] { endEntry(-1); }, false, 8},
        {"audio", [&] {
             engine_->SetStartLines({"Audio only file format detected.", "ID_LENGTH=2.00"});
             window_->PlaylistCommands().AddAndPlay({clips_[2]});
             Pump([&] { return window_->GetMediaInfo().audioOnly; });
         }, false, 8},
        {"stop", [&] { Click("stop"); }, false, 8},
        {"a video again", [&] {
             engine_->SetStartLines({"ID_VIDEO_WIDTH=320", "VO: [x11] 320x240 => 320x240 Planar YV12"});
             playUntilVideo({clips_[0]});
         }, true, 9},
        {"stop", [&] { Click("stop"); }, false, 10},
        {"play", [&] { Click("play"); Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }); }, true, 11},
        {"exit while playing", [&] { DestroyWindow(hwnd_); hwnd_ = nullptr; }, false, 12},
    };
    for (const auto& s : steps) {
        s.act();
        settle();
        EXPECT_EQ(calls.size(), s.calls) << s.step;
        EXPECT_EQ(!calls.empty() && calls.back() != "uninhibit", s.on) << s.step;
    }
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i], i % 2 ? "uninhibit" : "inhibit Orvella: Playing a video") << i;
}

}  // namespace
}  // namespace orvella
