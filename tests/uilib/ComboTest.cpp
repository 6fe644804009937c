#include <gtest/gtest.h>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/ComboWnd.h"
#include "uilib/controls/ListLabelElement.h"

using namespace uilib;

namespace {

class ComboTest : public FakePlatformTest {
protected:
    void SetUp() override {
        combo = new CComboUI;
        for (const char* text : {"10 s", "60 s", "600 s"}) {
            auto* item = new CListLabelElementUI;
            item->SetText(text);
            combo->Add(item);
        }
        combo->SetAttribute("itemheight", "20");
        host.Open(combo, 120, 24);
        combo->SelectItem(0);
        host.notes.Clear();
    }
    HWND hwnd() { return host.hwnd(); }

    CComboUI* combo = nullptr;
    ControlHost host;
};

TEST_F(ComboTest, SelectingByCodeDoesNotNotify) {
    EXPECT_TRUE(combo->SelectItem(2));
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetText(), "600 s");
    EXPECT_FALSE(combo->SelectItem(3));
    EXPECT_TRUE(host.notes.notes.empty());
}

TEST(ComboLayoutTest, SelectedIdBeforeTheItemsSelectsOnceItsItemIsAdded) {
    struct Case { const char* id; int items; int selected; };
    const Case cases[] = {{"2", 3, 2}, {"0", 1, 0}, {"5", 3, -1}, {"-1", 3, -1}};
    for (const Case& c : cases) {
        CComboUI combo;
        combo.SetAttribute("selectedid", c.id);
        for (int i = 0; i < c.items; ++i) combo.Add(new CListLabelElementUI);
        EXPECT_EQ(combo.GetCurSel(), c.selected) << "selectedid " << c.id;
    }
}

TEST_F(ComboTest, ArrowKeysChangeTheSelectionWhileClosed) {
    host.pm.SetFocus(combo);
    fake().KeyPress(VK_DOWN, 0, hwnd());
    fake().KeyPress(VK_DOWN, 0, hwnd());
    fake().KeyPress(VK_DOWN, 0, hwnd());  // already on the last item
    EXPECT_EQ(combo->GetCurSel(), 2);
    ASSERT_EQ(host.notes.Count("itemselect"), 2);
    EXPECT_EQ(host.notes.Last("itemselect").wParam, 2u);
    EXPECT_EQ(host.notes.Last("itemselect").lParam, 1);
    EXPECT_EQ(host.notes.Last("itemselect").sender, combo);
}

TEST_F(ComboTest, PickingFromTheDropDownNotifiesAndCloses) {
    fake().LeftDown(hwnd(), 60, 12);
    fake().LeftUp(hwnd(), 60, 12);
    ASSERT_TRUE(combo->IsDropDownOpen());
    HWND popup = combo->GetDropDown()->GetHWND();
    ASSERT_TRUE(IsWindow(popup));
    RECT rc;
    GetWindowRect(popup, &rc);
    RECT owner;
    GetWindowRect(hwnd(), &owner);
    EXPECT_EQ(rc.top, owner.top + 24) << "opens under the combo";

    fake().LeftDown(popup, 30, 1 + 20 + 10);  // the second item
    fake().LeftUp(popup, 30, 1 + 20 + 10);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_FALSE(combo->IsDropDownOpen());
    EXPECT_EQ(combo->GetCurSel(), 1);
    ASSERT_EQ(host.notes.Count("itemselect"), 1);
    EXPECT_EQ(host.notes.Last("itemselect").wParam, 1u);
    EXPECT_EQ(host.notes.Last("itemselect").lParam, 0);
    // The items are back with the combo.
    EXPECT_EQ(combo->GetItemAt(1)->GetManager(), &host.pm);
}

TEST_F(ComboTest, EscapeAndFocusLossClose) {
    host.pm.SetFocus(combo);
    combo->Activate();
    ASSERT_TRUE(combo->IsDropDownOpen());
    fake().KeyPress(VK_ESCAPE, 0, hwnd());
    fake().DispatchPending();
    EXPECT_FALSE(combo->IsDropDownOpen());
    combo->Activate();
    host.pm.SetFocus(nullptr);
    fake().DispatchPending();
    EXPECT_FALSE(combo->IsDropDownOpen());
    EXPECT_EQ(host.notes.Count("itemselect"), 0);
}

TEST(ComboPlacementTest, StaysInsideTheWorkArea) {
    const RECT work{0, 0, 1000, 800};
    struct Case { RECT combo; int width, height; RECT expected; };
    const Case cases[] = {
        {{100, 100, 220, 124}, 120, 200, {100, 124, 220, 324}},    // below
        {{100, 700, 220, 724}, 120, 200, {100, 500, 220, 700}},    // no room below: above
        {{900, 100, 1020, 124}, 200, 100, {800, 124, 1000, 224}},  // pushed left
        {{100, 40, 220, 64}, 120, 900, {100, 64, 220, 800}},       // cut at the bottom
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CRect(CComboWnd::PlaceBelow(c.combo, c.width, c.height, work)), CRect(c.expected));
    }
}

}  // namespace
