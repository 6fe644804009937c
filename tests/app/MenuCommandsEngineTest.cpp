// Menu items against the real engine: looping really starts and stops, a ratio changes
// the picture's aspect, a launch choice restarts the engine where it was, and each
// rotation turns the picture the way its item says.
#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
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
    EXPECT_NE(arguments.find(std::string("-vf\0rotate=1,screenshot", 23)), std::string::npos);
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

// A screenshot as "WxH RG/BY": its size and its corners' colours (top left, top right /
// bottom left, bottom right), then " text" when its black pixels, which only the outline of
// subtitle letters has, lie along its bottom as upright letters do.
std::string ReadShot(const std::string& path) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);  // 0 if unread
    auto at = [&](int x, int y) {
        const unsigned char* row = cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
        const uint32_t p = reinterpret_cast<const uint32_t*>(row)[x];
        return (p & 0xF0F0F0) == 0 ? 'K' : "?BG?R?Y?"[((p >> 16 & 0xFF) > 150) * 4 + ((p >> 8 & 0xFF) > 150) * 2 + ((p & 0xFF) > 150)];
    };
    int bottom = 0, elsewhere = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (at(x, y) == 'K') ++(y >= h * 4 / 5 ? bottom : elsewhere);
    std::string shot = w ? std::to_string(w) + "x" + std::to_string(h) + " " + at(8, 8) + at(w - 9, 8) + "/" +
                           at(8, h - 9) + at(w - 9, h - 9) : "";
    cairo_surface_destroy(s);
    return shot + (bottom > 20 && elsewhere < bottom / 10 ? " text" : "");
}

// Each rotate item turns the picture as its label says, and the subtitle stays upright.
TEST_F(MenuCommandsEngineTest, RotateItemsTurnThePictureAndKeepSubtitlesUpright) {
    StartPlaying("corners.mp4");  // its subtitle file "corners.srt" is found beside it
    const struct { const char* item; const char* shot; } cases[] = {
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_1", "240x320 BR/YG text"},  // 90° clockwise
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_2", "240x320 GY/RB text"},  // 90° anticlockwise
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_0", "240x320 RB/GY text"},  // anticlockwise, flipped top to bottom
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_3", "240x320 YG/BR text"},  // clockwise, flipped top to bottom
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_4", "320x240 YB/GR text"},  // 180°
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_CLOSE", "320x240 RG/BY text"},
    };
    for (const auto& c : cases) {
        window_->RunMenuCommand(c.item);
        window_->Playback().TakeScreenshot(0);
        std::string shot;
        std::error_code none;  // until the folder is made
        Run([&] {
            for (const auto& file : std::filesystem::directory_iterator(temp_ + "/Pictures/Orvella", none))
                if (shot.empty() && !(shot = ReadShot(file.path().string())).empty()) std::filesystem::remove(file);
            return !shot.empty();
        }, 10000);
        EXPECT_EQ(shot, c.shot) << c.item;
    }
}

}  // namespace
}  // namespace orvella
