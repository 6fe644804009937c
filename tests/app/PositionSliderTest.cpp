// The position slider by real input on the headless platform: where it seeks to.
#include <gtest/gtest.h>

#include "app/PlaybackRules.h"
#include "tests/app/PlaybackFixture.h"
#include "uilib/controls/Slider.h"

namespace orvella {
namespace {

// It seeks to the time it shows (the length times its value), in seconds: after a drag,
// a wheel step and a key step; a press on the thumb that does not move it seeks nowhere.
TEST_F(PlaybackTest, PositionSliderSeeksToTheTimeItShows) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetLength(7200);
    engine_->SetPosition(3625);
    Tick();
    Tick();
    ASSERT_EQ(Slider(), 50);
    auto* slider = static_cast<uilib::CSliderUI*>(Find("playslider")->GetInterface("Slider"));
    const RECT track = slider->GetPos();
    const RECT thumb = slider->GetThumbRect();
    const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    const int far = track.left + (track.right - track.left) * 3 / 4;
    const struct {
        const char* gesture;
        std::function<void()> act;
        bool seeks;
    } cases[] = {
        {"press on the thumb", [&] { fake().LeftDown(hwnd_, x, y); fake().LeftUp(hwnd_, x, y); }, false},
        {"drag", [&] {
             fake().LeftDown(hwnd_, x, y);
             fake().MouseMove(hwnd_, far, y, 0, MK_LBUTTON);
             fake().LeftUp(hwnd_, far, y);
         }, true},
        {"wheel", [&] { fake().Wheel(hwnd_, x, y, -WHEEL_DELTA); }, true},
        {"key", [&] { slider->SetFocus(); fake().KeyPress(VK_LEFT, 0, hwnd_); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gesture);
        slider->SetValue(50);
        engine_->ForgetCommands();
        c.act();
        fake().DispatchPending();
        const std::string seek = "pausing_keep seek " + std::to_string(72 * Slider()) + ".00 2";
        EXPECT_EQ(Pump([&] { return !engine_->Commands().empty(); }, c.seeks ? 2000 : 200), c.seeks);
        EXPECT_EQ(engine_->Commands(), c.seeks ? std::vector<std::string>{seek} : std::vector<std::string>{});
        EXPECT_NE(Slider(), c.seeks ? 50 : -1);
    }
}

}  // namespace
}  // namespace orvella
