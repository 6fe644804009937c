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

// A screenshot as the engine wrote it: its size, the colour of each corner ("RG/BY": top
// left, top right / bottom left, bottom right) and the box around its black pixels (only
// the outline of the subtitle's letters is black).
struct Shot {
    int width = 0, height = 0;
    std::string corners;
    RECT text{};
};

bool ReadShot(const std::string& path, Shot* shot) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    const bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        shot->width = cairo_image_surface_get_width(s);
        shot->height = cairo_image_surface_get_height(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        const int stride = cairo_image_surface_get_stride(s);
        auto rgb = [&](int x, int y) { return reinterpret_cast<const uint32_t*>(data + y * stride)[x]; };
        auto colour = [&](int x, int y) {
            const uint32_t p = rgb(x, y);
            const bool r = ((p >> 16) & 0xFF) > 150, g = ((p >> 8) & 0xFF) > 150, b = (p & 0xFF) > 150;
            return r && g && !b ? 'Y' : r && !g && !b ? 'R' : g && !r && !b ? 'G' : b && !r && !g ? 'B' : '?';
        };
        const int w = shot->width, h = shot->height;
        shot->corners = {colour(8, 8), colour(w - 9, 8), '/', colour(8, h - 9), colour(w - 9, h - 9)};
        RECT box{w, h, -1, -1};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((rgb(x, y) >> 16 & 0xFF) < 16 && (rgb(x, y) >> 8 & 0xFF) < 16 && (rgb(x, y) & 0xFF) < 16)
                    box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                               std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
        shot->text = box;
    }
    cairo_surface_destroy(s);
    return ok;
}

TEST_F(MenuCommandsEngineTest, RotateItemsTurnThePictureAndKeepSubtitlesUpright) {
    StartPlaying("corners.mp4");  // its subtitle file "corners.srt" is found beside it
    const std::string shots = temp_ + "/Pictures/Orvella";
    const struct {
        const char* item;
        int width, height;
        const char* corners;
    } cases[] = {
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_1", 240, 320, "BR/YG"},  // 90° clockwise
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_2", 240, 320, "GY/RB"},  // 90° anticlockwise
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_0", 240, 320, "RB/GY"},  // anticlockwise, flipped top to bottom
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_3", 240, 320, "YG/BR"},  // clockwise, flipped top to bottom
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_4", 320, 240, "YB/GR"},  // 180°
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_CLOSE", 320, 240, "RG/BY"},
    };
    for (const auto& c : cases) {
        window_->RunMenuCommand(c.item);
        ASSERT_TRUE(window_->IsEngineRunning()) << c.item;
        window_->Playback().TakeScreenshot(0);
        Shot shot;
        std::string taken;
        ASSERT_TRUE(Run([&] {
            std::error_code ec;
            for (const auto& file : std::filesystem::directory_iterator(shots, ec))
                if (ReadShot(file.path().string(), &shot)) taken = file.path().string();
            return !taken.empty();
        }, 10000)) << c.item << ": no screenshot in " << shots;
        std::filesystem::remove(taken);
        EXPECT_EQ(shot.width, c.width) << c.item;
        EXPECT_EQ(shot.height, c.height) << c.item;
        EXPECT_EQ(shot.corners, c.corners) << c.item;
        // The subtitle's letters run across the picture, wider than tall.
        const RECT& text = shot.text;
        ASSERT_GE(text.right, text.left) << c.item << ": no subtitle in the shot";
        EXPECT_GT(text.right - text.left, 3 * (text.bottom - text.top)) << c.item;
    }
}

}  // namespace
}  // namespace orvella
