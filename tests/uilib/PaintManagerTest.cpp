// The paint manager on the fake platform: finding controls, notifications, focus,
// timers, the scheme colour, window attributes and tooltips.
#include <gtest/gtest.h>

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/Button.h"

using namespace uilib;

namespace {

class PaintManagerTest : public FakePlatformTest {
protected:
    CControlUI* Build(const char* xml) {
        CDialogBuilder b;
        CControlUI* root = b.CreateFromString(xml, nullptr, &host.pm);
        EXPECT_NE(root, nullptr) << b.GetLastError();
        return root;
    }
    ControlHost host;
};

const char* kHitLayout = R"(
<VerticalLayout name="root">
  <HorizontalLayout name="row" height="50">
    <Button name="left" width="40"/>
    <Control name="mid" width="40" mouse="false"/>
    <Button name="off" width="20" enabled="false"/>
    <Control name="float" float="true" pos="30,10,50,30"/>
  </HorizontalLayout>
  <Label name="hidden" visible="false" height="10"/>
  <Container name="rest"><Label name="inner"/></Container>
</VerticalLayout>)";

TEST_F(PaintManagerTest, FindControlByNameAndPoint) {
    host.Open(Build(kHitLayout), 200, 100);
    EXPECT_EQ(host.pm.FindControl("nothing"), nullptr);
    ASSERT_NE(host.pm.FindControl("left"), nullptr);

    struct Probe {
        POINT pt;
        const char* expected;
    };
    const Probe probes[] = {
        {{5, 5}, "left"},
        {{35, 15}, "float"},   // floats are on top of the flow
        {{60, 5}, "row"},      // mouse="false" lets the point through to the parent
        {{90, 5}, "row"},      // disabled controls are not hit
        {{10, 70}, "inner"},   // children before their parent
        {{150, 5}, "row"},
    };
    for (const Probe& p : probes) {
        CControlUI* c = host.pm.FindControl(p.pt);
        ASSERT_NE(c, nullptr) << p.pt.x << "," << p.pt.y;
        EXPECT_EQ(c->GetName(), p.expected) << p.pt.x << "," << p.pt.y;
    }
    EXPECT_EQ(host.pm.FindSubControlByName(host.pm.FindControl("rest"), "inner"),
              host.pm.FindControl("inner"));
    EXPECT_EQ(host.pm.FindSubControlsByClass(host.pm.GetRoot(), "ButtonUI").size(), 2u);
    EXPECT_EQ(host.pm.FindSubControlByClass(host.pm.GetRoot(), "ButtonUI", 1)->GetName(), "off");
}

struct Recorder : INotifyUI {
    void NotifyFromWindow(TNotifyUI& m) override { fromWindow.push_back(m.sType); }
    void Notify(TNotifyUI& m) override {
        got.push_back(m.sType + "(" + (m.pSender ? m.pSender->GetName() : std::string("-")) +
                      "," + std::to_string(m.wParam) + "," + std::to_string(m.lParam) + ")");
        if (onNotify) onNotify(m);
    }
    std::vector<std::string> got, fromWindow;
    std::function<void(TNotifyUI&)> onNotify;
};

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += (s.empty() ? "" : " ") + x;
    return s;
}

TEST_F(PaintManagerTest, SyncAndAsyncNotificationsKeepTheirOrder) {
    host.Open(Build(kHitLayout), 200, 100);
    fake().DispatchPending();
    Recorder rec;
    host.pm.AddNotifier(&rec);
    CControlUI* left = host.pm.FindControl("left");
    CControlUI* inner = host.pm.FindControl("inner");
    host.pm.SendNotify(left, "first", 1, 2, true);
    host.pm.SendNotify(inner, "second", 3, 4, true);
    host.pm.SendNotify(left, "now", 5, 6);
    EXPECT_EQ(Join(rec.got), "now(left,5,6)");
    fake().DispatchPending();
    EXPECT_EQ(Join(rec.got), "now(left,5,6) first(left,1,2) second(inner,3,4)")
        << "expected the synchronous one, then the queued ones in order";

    host.pm.SendNotify(static_cast<CWindowWnd*>(&host), "fromwindow");
    EXPECT_EQ(Join(rec.fromWindow), "fromwindow");
    host.pm.RemoveNotifier(&rec);
}

TEST_F(PaintManagerTest, NotifierMayRemoveItselfAndDeadSendersAreDropped) {
    host.Open(Build(kHitLayout), 200, 100);
    fake().DispatchPending();
    Recorder a, b;
    a.onNotify = [&](TNotifyUI&) { host.pm.RemoveNotifier(&a); host.pm.RemoveNotifier(&b); };
    host.pm.AddNotifier(&a);
    host.pm.AddNotifier(&b);
    host.pm.SendNotify(host.pm.FindControl("left"), "x");
    EXPECT_EQ(a.got.size(), 1u);
    EXPECT_TRUE(b.got.empty()) << "removed during delivery, must not be told";

    Recorder rec;
    host.pm.AddNotifier(&rec);
    auto* rest = static_cast<CContainerUI*>(host.pm.FindControl("rest")->GetInterface("Container"));
    CControlUI* inner = host.pm.FindControl("inner");
    host.pm.SendNotify(inner, "late", 0, 0, true);
    host.pm.SendNotify(rest, "kept", 0, 0, true);
    rest->Remove(inner);
    fake().DispatchPending();
    EXPECT_EQ(Join(rec.got), "kept(rest,0,0)");
    host.pm.RemoveNotifier(&rec);
}

TEST_F(PaintManagerTest, WindowInitArrivesOnceAfterLayout) {
    Recorder rec;
    host.pm.AddNotifier(&rec);
    rec.onNotify = [&](TNotifyUI& m) {
        if (m.sType == "windowinit") {
            EXPECT_EQ(m.pSender->GetWidth(), 200) << "laid out before windowinit";
        }
    };
    host.Open(Build(kHitLayout), 200, 100);
    fake().DispatchPending();
    fake().Render(host.hwnd());
    fake().Render(host.hwnd());
    int inits = 0;
    for (const auto& s : rec.got) inits += s.rfind("windowinit", 0) == 0;
    EXPECT_EQ(inits, 1);
    host.pm.RemoveNotifier(&rec);
}

TEST_F(PaintManagerTest, SizeRelaysOutTheRoot) {
    host.Open(Build(kHitLayout), 200, 100);
    ::SetWindowPos(host.hwnd(), nullptr, 0, 0, 300, 120, SWP_NOMOVE | SWP_NOZORDER);
    fake().Render(host.hwnd());
    EXPECT_EQ(host.pm.GetRoot()->GetWidth(), 300);
    EXPECT_EQ(host.pm.FindControl("rest")->GetHeight(), 70);
}

TEST_F(PaintManagerTest, TabMovesFocusAmongTabStops) {
    host.Open(Build(R"(<HorizontalLayout><Button name="a"/><Label name="l"/><Button name="b"/>
                          <Button name="c" keyboard="false"/></HorizontalLayout>)"),
              200, 40);
    host.notes.keepFocusNotes = true;
    fake().KeyPress(VK_TAB, 0, host.hwnd());
    EXPECT_EQ(host.pm.GetFocus(), host.pm.FindControl("a"));
    fake().KeyPress(VK_TAB, 0, host.hwnd());
    EXPECT_EQ(host.pm.GetFocus(), host.pm.FindControl("b"));
    fake().KeyPress(VK_TAB, 0, host.hwnd());
    EXPECT_EQ(host.pm.GetFocus(), host.pm.FindControl("a")) << "wraps around";
    fake().KeyPress(VK_TAB, platform::FakeBackend::kShift, host.hwnd());
    EXPECT_EQ(host.pm.GetFocus(), host.pm.FindControl("b"));
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"setfocus", "killfocus", "setfocus",
                                                            "killfocus", "setfocus", "killfocus",
                                                            "setfocus"}));
    EXPECT_TRUE(host.pm.FindControl("b")->IsFocused());
    EXPECT_FALSE(host.pm.FindControl("a")->IsFocused());
}

struct TimerControl : CControlUI {
    void DoEvent(TEventUI& e) override {
        if (e.Type == UIEVENT_TIMER) fired.push_back(static_cast<int>(e.wParam));
        else CControlUI::DoEvent(e);
    }
    std::vector<int> fired;
};

TEST_F(PaintManagerTest, ControlTimersAreNamespacedPerControl) {
    auto* root = new CHorizontalLayoutUI;
    auto* a = new TimerControl;
    auto* b = new TimerControl;
    root->Add(a);
    root->Add(b);
    host.Open(root, 100, 20);
    EXPECT_TRUE(host.pm.SetTimer(a, 1, 100));
    EXPECT_TRUE(host.pm.SetTimer(b, 1, 250));
    fake().AdvanceTime(300);
    EXPECT_EQ(a->fired, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(b->fired, (std::vector<int>{1}));
    host.pm.KillTimer(a, 1);
    root->Remove(b);  // a removed control's timers stop with it
    fake().AdvanceTime(1000);
    EXPECT_EQ(a->fired.size(), 3u);
}

uint32_t PixelOf(CPaintManagerUI& pm, int w, int h, int x, int y) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    pm.PaintTo(cr, RECT{0, 0, w, h});
    cairo_destroy(cr);
    cairo_surface_flush(s);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                            y * cairo_image_surface_get_stride(s));
    uint32_t px = row[x];
    cairo_surface_destroy(s);
    return px;
}

TEST(PaintManagerPaint, SetColorRepaintsSchemeMarkedAreasOnly) {
    CPaintManagerUI pm;
    CDialogBuilder b;
    CControlUI* root = b.CreateFromString(
        R"(<Window bkcolor="#FF204080"><HorizontalLayout>
             <Control name="bar" scheme="bk" bkcolor="#FF000000"/>
             <Control name="plain" bkcolor="#FF101010"/></HorizontalLayout></Window>)",
        nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    root->SetPos(RECT{0, 0, 40, 10});
    EXPECT_EQ(pm.GetMainBKColor(), 0xFF204080u);
    EXPECT_EQ(PixelOf(pm, 40, 10, 5, 5), 0xFF204080u);
    pm.SetColor(0xFF80C040);
    EXPECT_EQ(pm.GetMainBKColor(), 0xFF80C040u);
    EXPECT_EQ(PixelOf(pm, 40, 10, 5, 5), 0xFF80C040u);
    EXPECT_EQ(PixelOf(pm, 40, 10, 30, 5), 0xFF101010u) << "unmarked areas keep their colour";
}

TEST_F(PaintManagerTest, SetColorInvalidatesTheWindow) {
    host.Open(Build(kHitLayout), 200, 100);
    fake().Render(host.hwnd());
    fake().ClearInvalidArea(host.hwnd());
    host.pm.SetColor(0xFF336699);
    ASSERT_TRUE(fake().HasInvalidArea(host.hwnd()));
    RECT r = fake().InvalidArea(host.hwnd());
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 100);
}

TEST_F(PaintManagerTest, WindowAttributesFromTheLayout) {
    std::unique_ptr<CControlUI> root(Build(R"(<Window size="640,400" mininfo="320,200" maxinfo="800,600" caption="0,0,0,30"
                     roundcorner="6,6" sizebox="4,4,4,4" defaultfontcolor="#FF112233">
               <Control/></Window>)"));
    EXPECT_EQ(host.pm.GetInitSize().cx, 640);
    EXPECT_EQ(host.pm.GetInitSize().cy, 400);
    EXPECT_EQ(host.pm.GetCaptionRect().bottom, 30);
    EXPECT_EQ(host.pm.GetRoundCorner().cx, 6);
    EXPECT_EQ(host.pm.GetSizeBox().left, 4);
    EXPECT_EQ(host.pm.GetDefaultFontColor(), 0xFF112233u);
    MINMAXINFO info{};
    host.pm.GetMinMaxInfo(&info);
    EXPECT_EQ(info.ptMinTrackSize.x, 320);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
    EXPECT_EQ(info.ptMaxTrackSize.x, 800);
    EXPECT_EQ(info.ptMaxTrackSize.y, 600);
}

TEST_F(PaintManagerTest, WindowShapeIsLeftToTheWindow) {
    // Each window shapes itself on WM_SIZE (full screen, maximised and minimised differ);
    // the paint manager only reports the corner size.
    host.pm.SetRoundCorner(8, 8);
    host.Open(Build(kHitLayout), 200, 100);
    ::SetWindowPos(host.hwnd(), nullptr, 0, 0, 220, 110, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(platform::GetBackend().GetWindowRegion(host.hwnd()).rounded);
    EXPECT_EQ(host.pm.GetRoundCorner().cx, 8);
}

TEST_F(PaintManagerTest, ToolTipShowsAfterHoverAndHidesOnLeave) {
    host.Open(Build(R"(<HorizontalLayout><Button name="b" tooltip="Play the file"/>
                          <Control name="c"/></HorizontalLayout>)"),
              200, 40);
    fake().MouseMove(host.hwnd(), 10, 10);
    EXPECT_EQ(host.pm.GetToolTipText(), "");
    fake().AdvanceTime(600);
    EXPECT_EQ(host.pm.GetToolTipText(), "Play the file");
    bool popupVisible = false;
    for (HWND w : fake().LiveWindows())
        if (w != host.hwnd() && ::IsWindowVisible(w)) popupVisible = true;
    EXPECT_TRUE(popupVisible);
    fake().MouseMove(host.hwnd(), 150, 10);
    EXPECT_EQ(host.pm.GetToolTipText(), "");
    fake().MouseMove(host.hwnd(), 12, 10);
    fake().AdvanceTime(600);
    EXPECT_EQ(host.pm.GetToolTipText(), "Play the file");
    fake().LeftDown(host.hwnd(), 12, 10);
    EXPECT_EQ(host.pm.GetToolTipText(), "") << "a click hides the tip";
    fake().LeftUp(host.hwnd(), 12, 10);
}

TEST_F(PaintManagerTest, WheelBubblesToTheParent) {
    struct WheelBox : CContainerUI {
        void DoEvent(TEventUI& e) override {
            if (e.Type == UIEVENT_SCROLLWHEEL) wheels.push_back(LOWORD(e.wParam));
            else CContainerUI::DoEvent(e);
        }
        std::vector<int> wheels;
    };
    auto* box = new WheelBox;
    auto* label = new CControlUI;
    box->Add(label);
    host.Open(box, 100, 50);
    fake().Wheel(host.hwnd(), 10, 10, -WHEEL_DELTA);
    fake().Wheel(host.hwnd(), 10, 10, WHEEL_DELTA);
    EXPECT_EQ(box->wheels, (std::vector<int>{1, 0}));
}

TEST(PaintManagerResources, ParentResourcesFillIn) {
    CPaintManagerUI parent, child;
    TFontInfo big;
    big.family = "Serif";
    big.size = 30;
    parent.AddFont(3, big);
    parent.AddDefaultAttributeList("Button", "textcolor=\"#FF00FF00\"");
    parent.SetDefaultFontColor(0xFF445566);
    EXPECT_NE(child.GetFont(3).size, 30);
    child.UseParentResource(&parent);
    EXPECT_EQ(child.GetFont(3).size, 30);
    EXPECT_STREQ(child.GetDefaultAttributeList("Button"), "textcolor=\"#FF00FF00\"");
    EXPECT_EQ(child.GetDefaultAttributeList("Label"), nullptr);
    EXPECT_EQ(child.GetDefaultFontColor(), 0xFF445566u);
    parent.UseParentResource(&child);  // a loop is refused
    EXPECT_EQ(parent.GetParentResource(), nullptr);
}

}  // namespace
