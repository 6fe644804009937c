// Buttons, options and check boxes driven by real window messages on the fake platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/Button.h"
#include "uilib/controls/CheckBox.h"
#include "uilib/controls/Option.h"

using namespace uilib;

namespace {

class ButtonTest : public FakePlatformTest {
protected:
    void Open(const char* xml, int w = 300, int h = 40) {
        CDialogBuilder b;
        CControlUI* root = b.CreateFromString(xml, nullptr, &host.pm);
        ASSERT_NE(root, nullptr) << b.GetLastError();
        host.Open(root, w, h);
        fake().DispatchPending();
        host.notes.Clear();
    }
    template <class T>
    T* Find(const char* name) {
        return static_cast<T*>(host.pm.FindControl(name));
    }
    ControlHost host;
};

const char* kRow = R"(<HorizontalLayout>
  <Button name="ok" width="100" text="OK"/>
  <Button name="off" width="100" enabled="false"/>
  <Control name="space"/></HorizontalLayout>)";

TEST_F(ButtonTest, ClickSendsOneClickWithTheSender) {
    Open(kRow);
    fake().LeftClick(host.hwnd(), 20, 20);
    ASSERT_EQ(host.notes.Types(), (std::vector<std::string>{"click"}));
    EXPECT_EQ(host.notes.notes[0].sender, host.pm.FindControl("ok"));
}

TEST_F(ButtonTest, PressStatesFollowThePointer) {
    Open(kRow);
    auto* ok = Find<CButtonUI>("ok");
    fake().MouseMove(host.hwnd(), 20, 20);
    EXPECT_TRUE(ok->GetButtonState() & UISTATE_HOT);
    fake().LeftDown(host.hwnd(), 20, 20);
    EXPECT_TRUE(ok->GetButtonState() & UISTATE_PUSHED);
    fake().MouseMove(host.hwnd(), 250, 20, 0, MK_LBUTTON);
    EXPECT_FALSE(ok->GetButtonState() & UISTATE_PUSHED) << "dragged out: not pushed";
    fake().LeftUp(host.hwnd(), 250, 20);
    EXPECT_TRUE(host.notes.Types().empty()) << "released outside: no click";
    fake().MouseMove(host.hwnd(), 250, 20);
    EXPECT_FALSE(ok->GetButtonState() & UISTATE_HOT);
}

TEST_F(ButtonTest, DisabledButtonIgnoresClicks) {
    Open(kRow);
    fake().LeftClick(host.hwnd(), 150, 20);
    EXPECT_TRUE(host.notes.Types().empty());
}

TEST_F(ButtonTest, SpaceAndEnterClickTheFocusedButton) {
    Open(kRow);
    host.pm.FindControl("ok")->SetFocus();
    fake().KeyPress(VK_SPACE, 0, host.hwnd());
    fake().KeyPress(VK_RETURN, 0, host.hwnd());
    fake().KeyPress('A', 0, host.hwnd());
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"click", "click"}));
}

TEST_F(ButtonTest, ClickHandlerMayRemoveTheButton) {
    Open(kRow);
    struct Remover : INotifyUI {
        void NotifyFromWindow(TNotifyUI&) override {}
        void Notify(TNotifyUI& m) override {
            if (m.sType == "click") {
                auto* parent = static_cast<CContainerUI*>(m.pSender->GetParent()->GetInterface("Container"));
                parent->Remove(m.pSender);
            }
        }
    } remover;
    host.pm.AddNotifier(&remover);
    fake().LeftClick(host.hwnd(), 20, 20);
    EXPECT_EQ(host.pm.FindControl("ok"), nullptr);
    fake().Render(host.hwnd());
    fake().MouseMove(host.hwnd(), 20, 20);
    host.pm.RemoveNotifier(&remover);
}

const char* kOptions = R"(<HorizontalLayout>
  <Option name="a" width="60" group="g" selected="true"/>
  <Option name="b" width="60" group="g"/>
  <Option name="c" width="60" group="other"/>
  <CheckBox name="chk" width="100" text="Loop"/></HorizontalLayout>)";

TEST_F(ButtonTest, OptionGroupKeepsOneSelected) {
    Open(kOptions);
    auto sel = [&] {
        std::string s;
        for (const char* n : {"a", "b", "c", "chk"}) s += Find<COptionUI>(n)->IsSelected() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(sel(), "1000");
    fake().LeftClick(host.hwnd(), 70, 20);
    EXPECT_EQ(sel(), "0100");
    EXPECT_EQ(host.notes.Types(),
              (std::vector<std::string>{"click", "selectchanged", "selectchanged"}));
    EXPECT_EQ(host.notes.notes[1].sender, host.pm.FindControl("a")) << "a lets go first";
    EXPECT_EQ(host.notes.notes[2].sender, host.pm.FindControl("b"));
    fake().LeftClick(host.hwnd(), 70, 20);
    EXPECT_EQ(sel(), "0100") << "clicking the selected one of a group keeps it";
    fake().LeftClick(host.hwnd(), 130, 20);
    EXPECT_EQ(sel(), "0110") << "another group is independent";
}

TEST_F(ButtonTest, CheckBoxToggles) {
    Open(kOptions);
    auto* chk = Find<CCheckBoxUI>("chk");
    ASSERT_NE(chk->GetInterface("CheckBox"), nullptr);
    fake().LeftClick(host.hwnd(), 200, 20);
    EXPECT_TRUE(chk->IsChecked());
    fake().LeftClick(host.hwnd(), 200, 20);
    EXPECT_FALSE(chk->IsChecked());
    EXPECT_EQ(host.notes.Count("selectchanged"), 2);
    EXPECT_EQ(host.notes.Last("selectchanged").wParam, 0u);
    chk->Selected(true, false);
    EXPECT_EQ(host.notes.Count("selectchanged"), 2) << "quiet selection sends nothing";
}

TEST_F(ButtonTest, CheckBoxWithoutPicturesDrawsItsBox) {
    Open(kOptions);
    auto* chk = Find<CCheckBoxUI>("chk");
    auto surface = fake().Render(host.hwnd());
    ASSERT_TRUE(surface);
    const RECT& r = chk->GetPos();
    int cx = r.left + 2 + 8, cy = (r.top + r.bottom) / 2;
    uint32_t before = platform::FakeBackend::PixelAt(surface.get(), cx, cy);
    chk->Selected(true);
    auto after = fake().Render(host.hwnd());
    uint32_t filled = platform::FakeBackend::PixelAt(after.get(), cx - 5, cy - 5);
    EXPECT_NE(before, filled) << "a checked box is filled";
    EXPECT_EQ(filled >> 24, 0xFFu);
}

TEST_F(ButtonTest, AutoTextColourIsReadableOnTheParentsBackground) {
    Open(R"(<HorizontalLayout bkcolor="#FF101010"><Button name="b" textcolor="auto"/></HorizontalLayout>)");
    auto* b = Find<CButtonUI>("b");
    EXPECT_GT(CRenderEngine::ContrastRatio(b->GetEffectiveTextColor(), 0xFF101010), 4.5);
    host.pm.FindControl("b")->GetParent()->SetBkColor(0xFFF0F0F0);
    EXPECT_GT(CRenderEngine::ContrastRatio(b->GetEffectiveTextColor(), 0xFFF0F0F0), 4.5);
}

}  // namespace
