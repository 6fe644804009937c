// The video window and the full-screen top bar over it, on the headless platform with a
// scripted engine: a paused picture drawn again after a change of size, and the bar
// getting out of the way once the pointer leaves it.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/PlaybackFixture.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {
namespace {

const char* const kRedraw = "pausing_keep get_property pause";

class VideoWindowTest : public PlaybackTest {
protected:
    void Play() {
        StartWithEngine();
        OpenClips({clips_[0]});
        engine_->ForgetCommands();
    }
    HWND Video() {
        auto* media = static_cast<CMediaUI*>(Find("media")->GetInterface("Media"));
        return media && media->GetVideoWindow() ? media->GetVideoWindow()->GetHWND() : nullptr;
    }
    size_t Redraws() {
        Pump([] { return false; }, 50);
        const std::vector<std::string> c = engine_->Commands();
        return static_cast<size_t>(std::count(c.begin(), c.end(), kRedraw));
    }
};

TEST_F(VideoWindowTest, PausedPictureIsDrawnAgainOnceTheSizeSettles) {
    Play();
    HWND video = Video();
    ASSERT_NE(video, nullptr);
    // Playing, the next frame fits the new size by itself, also when a pause comes
    // before the size settles.
    SetWindowPos(video, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    Click("pause");
    ASSERT_TRUE(Pump([&] { return window_->Playback().IsPaused(); }));
    fake().AdvanceTime(CMediaWnd::kSizeSettleMs);
    EXPECT_EQ(Redraws(), 0u);

    // A drag by the corner: many sizes, one redraw after the last.
    for (int width : {420, 440, 460}) {
        SetWindowPos(video, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
        fake().AdvanceTime(CMediaWnd::kSizeSettleMs / 2);
    }
    EXPECT_EQ(Redraws(), 0u) << "not while the size still changes";
    fake().AdvanceTime(CMediaWnd::kSizeSettleMs);
    EXPECT_EQ(Redraws(), 1u);
    fake().AdvanceTime(CMediaWnd::kSizeSettleMs * 3);
    EXPECT_EQ(Redraws(), 1u) << "once";
}

TEST_F(VideoWindowTest, TopBarHidesOnceThePointerLeavesIt) {
    struct Case {
        const char* what;
        bool moveOverBar;   // the pointer moved over the bar before it left
        bool menuOpen;      // one of the bar's menus was open when it left
        bool pointerOnBar;  // where the pointer is when that menu closes
        bool shownAfter;
    } cases[] = {
        {"left after moving over it", true, false, false, false},
        {"left at once, never moving over it", false, false, false, false},
        {"left for its menu, which closed elsewhere", false, true, false, false},
        {"left for its menu, which closed over the bar", false, true, true, true},
    };
    Play();
    for (const Case& c : cases) {
        TNotifyUIForTest("media", "showtopbar");
        CFullScreenTopBarWnd* bar = window_->Dialogs().TopBar();
        ASSERT_NE(bar, nullptr);
        HWND h = bar->GetHWND();
        ASSERT_TRUE(IsWindowVisible(h)) << c.what;
        if (c.moveOverBar) fake().MouseMove(h, 50, 10);
        uilib::CWindowWnd* menu = bar;  // any window stands for the menu here
        if (c.menuOpen) SetOpenPopupMenu(menu);
        fake().MouseLeave(h);
        if (c.menuOpen) {
            EXPECT_TRUE(IsWindowVisible(h)) << c.what << ": the menu is open";
            RECT placed{};
            GetWindowRect(h, &placed);
            fake().SetCursorPos(placed.left + 50, placed.top + (c.pointerOnBar ? 10 : 200));
            uilib::CPaintManagerUI menuPm;
            menuPm.AddNotifier(bar);
            menuPm.SendNotify(menu, "menu_release");
        }
        EXPECT_EQ(IsWindowVisible(h), c.shownAfter) << c.what;
        TNotifyUIForTest("media", "hidetopbar");
    }
}

}  // namespace
}  // namespace orvella
