// The video window and the full-screen top bar over it, with a scripted engine: a paused
// picture drawn again after a change of size, the bar going once the pointer leaves it.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/PlaybackFixture.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {
namespace {

TEST_F(PlaybackTest, PausedPictureIsDrawnAgainOnceTheSizeSettles) {
    StartWithEngine();
    OpenClips({clips_[0]});
    HWND video = static_cast<CMediaUI*>(Find("media")->GetInterface("Media"))->GetVideoWindow()->GetHWND();
    const auto resize = [&](int width, uint64_t wait) {
        SetWindowPos(video, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
        fake().AdvanceTime(wait);
        Pump([] { return false; }, 50);
        const std::vector<std::string> c = engine_->Commands();
        return std::count(c.begin(), c.end(), "pausing_keep get_property pause");
    };
    const uint64_t settle = CMediaWnd::kSizeSettleMs;
    // Resized while playing: the next frame fits, also when a pause comes first.
    SetWindowPos(video, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    Click("pause");
    ASSERT_TRUE(Pump([&] { return window_->Playback().IsPaused(); }));
    fake().AdvanceTime(settle);
    // A drag by the corner while paused: one redraw, after the last size.
    EXPECT_EQ(resize(420, settle / 2), 0);
    EXPECT_EQ(resize(440, settle / 2), 0) << "not while the size still changes";
    EXPECT_EQ(resize(460, settle), 1);
    fake().AdvanceTime(settle * 3);
    EXPECT_EQ(resize(460, settle), 1) << "once";
}

TEST_F(PlaybackTest, TopBarHidesOnceThePointerLeavesIt) {
    struct Case {
        const char* what;
        bool moveOverBar, menuOpen, menuClosesOverBar, shownAfter;
    } cases[] = {
        {"left after moving over it", true, false, false, false},
        {"left at once, never moving over it", false, false, false, false},
        {"left for its menu, which closed elsewhere", false, true, false, false},
        {"left for its menu, which closed over the bar", false, true, true, true},
    };
    StartWithEngine();
    OpenClips({clips_[0]});
    for (const Case& c : cases) {
        TNotifyUIForTest("media", "showtopbar");
        CFullScreenTopBarWnd* bar = window_->Dialogs().TopBar();
        ASSERT_NE(bar, nullptr);
        HWND h = bar->GetHWND();
        if (c.moveOverBar) fake().MouseMove(h, 50, 10);
        if (c.menuOpen) SetOpenPopupMenu(bar);  // any window stands for the menu here
        fake().MouseLeave(h);
        if (c.menuOpen) {
            EXPECT_TRUE(IsWindowVisible(h)) << c.what << ": the menu is open";
            RECT placed{};
            GetWindowRect(h, &placed);
            fake().SetCursorPos(placed.left + 50, placed.top + (c.menuClosesOverBar ? 10 : 200));
            uilib::CPaintManagerUI menu;
            menu.AddNotifier(bar);
            menu.SendNotify(bar, "menu_release");
        }
        EXPECT_EQ(IsWindowVisible(h), c.shownAfter) << c.what;
        TNotifyUIForTest("media", "hidetopbar");
    }
}

}  // namespace
}  // namespace orvella
