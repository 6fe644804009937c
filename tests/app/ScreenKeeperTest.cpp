// The screen stays on only while a video plays in sight: what the main window asks of the
// platform as the user plays, pauses, minimises, moves on and leaves.
#include <gtest/gtest.h>

#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

TEST_F(PlaybackTest, ScreenStaysOnWhileAVideoPlaysInSight) {
    StartWithEngine();
    const std::vector<std::string>& calls = fake().ScreenSaverCalls();
    auto video = [&] { ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; })); };
    auto endEntry = [&] {
        engine_->End();
        ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2 || !window_->IsEngineRunning(); }));
    };
    auto startLines = [&](std::vector<std::string> lines) { engine_->SetStartLines(lines); };
    const struct {
        const char* step;
        std::function<void()> act;
        size_t calls;  // made so far: inhibit and release in turn, so an odd count holds the screen on
    } steps[] = {
        {"a video plays", [&] { window_->PlaylistCommands().AddAndPlay({clips_[0], clips_[1]}), video(); }, 1},
        {"pause", [&] { Click("pause"); }, 2},
        {"play", [&] { Click("play"); }, 3},
        {"the next entry", [&] { endEntry(), video(); }, 3},
        {"minimise", [&] { Click("minbtn"); }, 4},
        {"restore", [&] { ShowWindow(hwnd_, SW_RESTORE); }, 5},
        {"to the tray", [&] { fake().SetTrayAvailable(platform::TrayKind::XEmbed), Click("minbtn"); }, 6},
        {"back from the tray", [&] { fake().ActivateTrayIcon(hwnd_, fake().TrayIcons().front().id); }, 7},
        {"the end of the list", [&] { endEntry(); }, 8},
        {"audio", [&] {
             startLines({"Audio only file format detected.", "ID_LENGTH=2.00"});
             window_->PlaylistCommands().AddAndPlay({clips_[2]});
             Pump([&] { return window_->GetMediaInfo().audioOnly; });
         }, 8},
        {"stop", [&] { Click("stop"); }, 8},
        {"a video again",
         [&] { startLines({"ID_VIDEO_WIDTH=320"}), window_->PlaylistCommands().AddAndPlay({clips_[0]}), video(); }, 9},
        {"stop", [&] { Click("stop"); }, 10},
        {"play", [&] { Click("play"), video(); }, 11},
        {"exit while playing", [&] { DestroyWindow(hwnd_), hwnd_ = nullptr; }, 12},
    };
    for (const auto& s : steps) {
        s.act();
        Pump([] { return false; }, 60);
        EXPECT_EQ(calls.size(), s.calls) << s.step;
    }
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i], i % 2 ? "uninhibit" : "inhibit Orvella: Playing a video") << i;
}

}  // namespace
}  // namespace orvella
