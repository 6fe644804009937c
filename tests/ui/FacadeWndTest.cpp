// The skin window on the headless platform: what each of its buttons and sliders tells
// the main window, and when it gets out of the way.
#include <gtest/gtest.h>

#include <vector>

#include "tests/SourceSkins.h"
#include "tests/TestPlatform.h"
#include "tests/ui/MainStandIn.h"
#include "ui/FacadeWnd.h"
#include "ui/FullScreenTopBarWnd.h"
#include "uilib/Container.h"
#include "uilib/Control.h"
#include "uilib/controls/Progress.h"

namespace orvella {
namespace {

class FacadeWndTest : public SkinWindowTest {
protected:
    CFacadeWnd* Open(int skin = 1) {
        auto* facade = new CFacadeWnd();
        EXPECT_TRUE(CreateSkinWindow(facade, Owner(skin)));
        facade->ShowAt(POINT{300, 140});
        fake().Render(facade->GetHWND());
        fake().DispatchPending();
        return facade;
    }

    // A real click on a control of the page shown.
    void Click(CFacadeWnd* facade, const char* name) {
        uilib::CControlUI* c = facade->FindControl(name);
        ASSERT_NE(c, nullptr) << name;
        fake().Render(facade->GetHWND());
        const RECT& r = c->GetPos();
        fake().LeftClick(facade->GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        fake().DispatchPending();
    }
};

TEST_F(FacadeWndTest, EachButtonTellsItsPictureAndColourAndTheSlidersShowThatColour) {
    struct Case {
        const char* page;
        const char* button;
        std::vector<Heard> told;
        uint32_t shown;  // the colour the sliders stand for
    } cases[] = {
        {"shading", "river", {{"changeshading", 0, 0}, {"changecolor", 0xFFABD632, 0}}, 0xFFABD632},
        {"shading", "ocean", {{"changeshading", 1, 0}, {"changecolor", 0xFF0370D9, 0}}, 0xFF0370D9},
        {"shading", "petal", {{"changeshading", 2, 0}, {"changecolor", 0xFFFC7E1C, 0}}, 0xFFFC7E1C},
        {"shading", "dragon", {{"changeshading", 3, 0}, {"changecolor", 0xFFFFC800, 0}}, 0xFFFFC800},
        {"shading", "totem", {{"changeshading", 4, 0}, {"changecolor", 0xFF424242, 0}}, 0xFF424242},
        {"shading", "petal1", {{"changeshading", 5, 0}, {"changecolor", 0xFF8FA415, 0}}, 0xFF8FA415},
        {"shading", "petal2", {{"changeshading", 6, 0}, {"changecolor", 0xFFFF3865, 0}}, 0xFFFF3865},
        {"shading", "guitar", {{"changeshading", 7, 0}, {"changecolor", 0xFFF49819, 0}}, 0xFFF49819},
        {"shading", "gear", {{"changeshading", 8, 0}, {"changecolor", 0xFF424242, 0}}, 0xFF424242},
        // The sliders show what the windows get, also where another colour was once shown.
        {"color", "color1", {{"changecolor", 0xFF0069C2, 0}}, 0xFF0069C2},
        {"color", "color2", {{"changecolor", 0xFF239E4D, 0}}, 0xFF239E4D},
        {"color", "color8", {{"changecolor", 0xFF59B7F9, 0}}, 0xFF59B7F9},
    };
    for (int skin : {0, 1}) {
        CFacadeWnd* facade = Open(skin);
        for (const Case& c : cases) {
            Click(facade, c.page);
            main_.heard.clear();
            Click(facade, c.button);
            EXPECT_EQ(main_.heard, c.told) << c.button << " in skin " << skin;
            EXPECT_EQ(facade->Sliders(), SlidersForColour(c.shown)) << c.button;
            EXPECT_EQ(facade->PaintManager().GetMainBKColor(), c.shown) << "it hears itself";
        }
        DestroyWindow(facade->GetHWND());
    }
}

TEST_F(FacadeWndTest, EveryStepOfASliderDragSendsTheSlidersColour) {
    CFacadeWnd* facade = Open();
    facade->ShowColour(0xFFFF0000);  // hue 0, saturation 100, luminance 50
    uilib::CControlUI* luminance = facade->FindControl("luminance");
    ASSERT_NE(luminance, nullptr);
    const RECT r = luminance->GetPos();
    const int y = (r.top + r.bottom) / 2, mid = (r.left + r.right) / 2, past = r.right + 40;
    main_.heard.clear();
    fake().LeftDown(facade->GetHWND(), mid, y);
    for (int x : {mid + 10, mid + 20, past}) fake().MouseMove(facade->GetHWND(), x, y, 0, MK_LBUTTON);
    fake().LeftUp(facade->GetHWND(), past, y);
    fake().DispatchPending();
    ASSERT_GE(main_.heard.size(), 3u);
    for (const Heard& h : main_.heard) EXPECT_EQ(h.type, "changecolor");
    // Dragged to the right end: white, whatever the hue.
    EXPECT_EQ(main_.heard.back(), (Heard{"changecolor", 0xFFFFFFFF, 0}));

    main_.heard.clear();
    auto* transparence = facade->FindControl("transparence");
    ASSERT_NE(transparence, nullptr);
    facade->PaintManager().SendNotify(transparence, "valuechangebegin", 40);
    EXPECT_EQ(main_.heard, (std::vector<Heard>{{"transparence", 40, 0}}));
}

TEST_F(FacadeWndTest, TabsShowTheirPagesAndTheSkinSetInUseIsNotAskedForAgain) {
    CFacadeWnd* facade = Open(1);
    auto* tabs = static_cast<uilib::CTabLayoutUI*>(facade->FindControl("switch")->GetInterface("TabLayout"));
    Click(facade, "skin");
    EXPECT_EQ(tabs->GetCurSel(), 2);
    for (const char* button : {"classic", "classic", "default", "default"}) Click(facade, button);
    EXPECT_EQ(main_.heard, (std::vector<Heard>{{"changeskin", 0, 0}, {"changeskin", 1, 0}}));
    facade->PaintManager().SendNotify(facade->FindControl("shading"), "setfocus");
    EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST_F(FacadeWndTest, APictureWithoutAColourLeavesTheColoursAndFocusElsewhereHidesIt) {
    CFacadeWnd* facade = Open();
    auto* bar = new CFullScreenTopBarWnd();
    ASSERT_TRUE(CreateSkinWindow(bar, Owner()));
    for (CSkinWindow* window : {static_cast<CSkinWindow*>(facade), static_cast<CSkinWindow*>(bar)}) {
        uilib::TNotifyUI note;
        note.sType = "changeshading";
        note.wParam = 3;
        window->NotifyFromWindow(note);
        EXPECT_EQ(window->PaintManager().GetMainBKColor(), 0xFF345678u) << window->GetWindowTitle();
    }
    facade->ShowAt(POINT{300, 140});
    EXPECT_TRUE(IsWindowVisible(facade->GetHWND()));
    SetFocus(main_.GetHWND());
    EXPECT_FALSE(IsWindowVisible(facade->GetHWND()));
    EXPECT_TRUE(IsWindow(facade->GetHWND())) << "hidden, not closed";
}

}  // namespace
}  // namespace orvella
