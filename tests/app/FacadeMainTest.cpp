// The main window and its skin window: opening it below its button, applying the picture
// and the colour it chooses to every open window, and keeping them for the next start.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/PlayerWndFixture.h"
#include "ui/FacadeWnd.h"
#include "ui/MenuWnd.h"
#include "ui/SettingsWnd.h"

namespace orvella {
namespace {

class FacadeMainTest : public PlayerWndTest {
protected:
    CFacadeWnd* OpenFacade() {
        const RECT& b = Find("facade")->GetPos();
        fake().LeftClick(hwnd_, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
        fake().DispatchPending();
        return window_->Dialogs().Facade();
    }
    // What the skin window says, as it says it, to every window registered with it.
    void Tell(CFacadeWnd* facade, const char* type, WPARAM wParam) {
        facade->PaintManager().SendNotify(facade, type, wParam, 0);
        fake().DispatchPending();
    }
    std::string Shading() { return Find("shading")->GetBkImage().c_str(); }
};

TEST_F(FacadeMainTest, OpensBelowItsButtonOnTheWindowsColourAndOnlyHidesAfterwards) {
    Start();
    ASSERT_TRUE(Find("facade")->IsEnabled());
    CFacadeWnd* facade = OpenFacade();
    ASSERT_NE(facade, nullptr);
    EXPECT_TRUE(IsWindowVisible(facade->GetHWND()));
    POINT corner{Find("facade")->GetPos().left, Find("facade")->GetPos().bottom + 1};
    ClientToScreen(hwnd_, &corner);
    RECT placed{};
    GetWindowRect(facade->GetHWND(), &placed);
    EXPECT_EQ(placed.top, corner.y);
    EXPECT_EQ(placed.left, corner.x);
    const uint32_t colour = window_->GetPaintManager()->GetMainBKColor();
    EXPECT_EQ(facade->Sliders(), SlidersForColour(colour));
    SetFocus(hwnd_);
    EXPECT_FALSE(IsWindowVisible(facade->GetHWND()));
    EXPECT_EQ(OpenFacade(), facade) << "made once, then shown again";
    EXPECT_TRUE(IsWindowVisible(facade->GetHWND()));
}

TEST_F(FacadeMainTest, PictureAndColourApplyToOpenWindowsAndComeBackAtTheNextStart) {
    Start();
    CFacadeWnd* facade = OpenFacade();
    ASSERT_NE(facade, nullptr);
    window_->RunMenuCommand("ID_MAINMENU_SETTING");
    fake().DispatchPending();
    CSettingsWnd* settings = window_->Dialogs().Settings();
    ASSERT_NE(settings, nullptr);
    uilib::TNotifyUI open;
    open.sType = "showmenu";
    open.pSender = Find("tools");
    window_->Notify(open);
    auto* menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);

    struct Case {
        WPARAM picture;
        const char* background;  // remembered; unchanged for an index out of the table
        const char* file;
    } cases[] = {
        {3, "dragon", "skin/dragon.PNG"},   {8, "gear", "skin_classic/gear.PNG"},
        {9, "gear", "skin_classic/gear.PNG"}, {static_cast<WPARAM>(-1), "gear", "skin_classic/gear.PNG"},
        {0, "river", "skin/river.PNG"},
    };
    for (const Case& c : cases) {
        Tell(facade, "changeshading", c.picture);
        EXPECT_EQ(window_->GetSettings().background, c.background) << c.picture;
        EXPECT_NE(Shading().find(c.file), std::string::npos) << Shading();
    }
    Tell(facade, "changecolor", 0xFFABD632);
    for (uilib::CPaintManagerUI* pm : {window_->GetPaintManager(), &facade->PaintManager(),
                                       &settings->PaintManager(), &menu->PaintManager()})
        EXPECT_EQ(pm->GetMainBKColor(), 0xFFABD632u);

    // The next start shows them again.
    DestroyWindow(hwnd_);
    fake().DispatchPending();
    Start();
    EXPECT_EQ(window_->GetPaintManager()->GetMainBKColor(), 0xFFABD632u);
    EXPECT_NE(Shading().find("skin/river.PNG"), std::string::npos) << Shading();
    EXPECT_EQ(window_->GetSettings().background, "river");
}

}  // namespace
}  // namespace orvella
