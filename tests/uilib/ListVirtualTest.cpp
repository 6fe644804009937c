// The list in virtual mode: rows from a row source, drawn, hit and navigated by index.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/controls/ListBody.h"
#include "uilib/controls/ListLabelElement.h"
#include "uilib/controls/ScrollBar.h"

using namespace uilib;
using platform::FakeBackend;

namespace {

constexpr int kRowHeight = 20;
constexpr int kViewHeight = 200;  // ten rows

// Rows "row N" with tooltips "tip N"; remembers every row whose text was asked for.
class RecordingRows : public IListRowSource {
public:
    explicit RecordingRows(size_t n) : count(n) {}
    size_t GetRowCount() const override { return count; }
    std::string GetRowText(size_t row) const override {
        EXPECT_LT(row, count) << "asked past the end";
        asked.push_back(row);
        return longText.empty() ? "row " + std::to_string(row) : longText;
    }
    std::string GetRowTooltip(size_t row) const override {
        return tooltips ? "tip " + std::to_string(row) : std::string();
    }
    std::set<size_t> Asked() const { return std::set<size_t>(asked.begin(), asked.end()); }

    size_t count;
    bool tooltips = true;
    std::string longText;
    mutable std::vector<size_t> asked;
};

std::set<size_t> Range(size_t from, size_t to) {  // from..to inclusive
    std::set<size_t> out;
    for (size_t i = from; i <= to; ++i) out.insert(i);
    return out;
}

// A 200×200 list without a header, rows 20 pixels high, showing rows from a source.
class ListVirtualTest : public FakePlatformTest {
protected:
    void Build(size_t rows, bool open = true) {
        source = std::make_unique<RecordingRows>(rows);
        list = new CListUI;
        list->SetAttribute("itemheight", "20");
        list->SetRowSource(source.get());
        list->RowsChanged();
        if (open) Open();
    }
    void Open() {
        host.Open(list, 200, kViewHeight);
        host.pm.UpdateLayout();
    }
    HWND hwnd() { return host.hwnd(); }
    // Window y of the middle of a row, where it is drawn now.
    int YOf(int row) { return row * kRowHeight - list->GetScrollPos().cy + kRowHeight / 2; }
    void Click(int row, unsigned mods = FakeBackend::kNone) {
        fake().LeftDown(hwnd(), 50, YOf(row), mods);
        fake().LeftUp(hwnd(), 50, YOf(row), mods);
    }
    CListBodyUI* Body() { return static_cast<CListBodyUI*>(list->GetList()); }
    void Paint() {
        source->asked.clear();
        ASSERT_TRUE(fake().Render(hwnd()) != nullptr);
    }

    std::unique_ptr<RecordingRows> source;
    CListUI* list = nullptr;
    ControlHost host;
};

// ---- drawing only what shows -----------------------------------------------------------

TEST_F(ListVirtualTest, PaintAsksOnlyForTheVisibleRows) {
    Build(100000);
    EXPECT_EQ(list->GetCount(), 100000);
    Paint();
    EXPECT_EQ(source->asked.size(), 10u) << "each visible row once";
    EXPECT_EQ(source->Asked(), Range(0, 9));

    list->EnsureVisible(50000);
    Paint();
    EXPECT_EQ(source->Asked(), Range(49991, 50000));

    list->SetScrollPos(SIZE{0, list->GetScrollPos().cy + 10});  // half rows at both ends
    Paint();
    EXPECT_EQ(source->Asked(), Range(49991, 50001));
}

TEST_F(ListVirtualTest, ScrollBarCoversEveryRow) {
    Build(100000);
    EXPECT_EQ(list->GetScrollRange().cy, 100000 * kRowHeight - kViewHeight);
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(bar->GetScrollRange(), 100000 * kRowHeight - kViewHeight);
    EXPECT_EQ(list->GetListHeight(), 100000 * kRowHeight);
}

TEST_F(ListVirtualTest, EmptySourcePaintsNothingAndIgnoresInput) {
    Build(0);
    Paint();
    EXPECT_TRUE(source->asked.empty());
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_FALSE(list->GetVerticalScrollBar()->IsVisible());
    Click(0);
    fake().KeyPress(VK_DOWN, FakeBackend::kNone, hwnd());
    fake().KeyPress(VK_END, FakeBackend::kNone, hwnd());
    fake().Wheel(hwnd(), 50, 100, -WHEEL_DELTA);
    fake().RightClick(hwnd(), 50, 10);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->SelectItem(0));
    EXPECT_EQ(host.notes.Count("itemselect"), 0);
    EXPECT_EQ(host.notes.Count("itemclick"), 0);
    EXPECT_EQ(list->GetRightClickedRow(), -1);
}

TEST_F(ListVirtualTest, RowTextOfAnyLengthIsDrawn) {
    Build(3);
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "\xC3\xA9";  // é: two bytes each
    source->longText = text;
    list->SetAttribute("itemtextcolor", "#FF000000");
    auto surface = fake().Render(hwnd());
    ASSERT_TRUE(surface);
    int ink = 0;  // rows have no background here: anything drawn is text
    for (int x = 0; x < 200; ++x) ink += FakeBackend::PixelAt(surface.get(), x, YOf(1)) >> 24 != 0;
    EXPECT_GT(ink, 10) << "the row's text shows";
}

// ---- the same looks as label rows ------------------------------------------------------

// A virtual list and a list of label rows with the same item attributes, each in its own
// window, must paint the same pixels in every row state.
TEST_F(ListVirtualTest, RowsLookLikeLabelRows) {
    const char* attrs[][2] = {
        {"itemheight", "20"}, {"itembkcolor", "#FFF4F4F4"}, {"itemaltbk", "#FFE0E8F0"},
        {"itemselectedbkcolor", "#FF3366CC"}, {"itemselectedtextcolor", "#FFFFFFFF"},
        {"itemhotbkcolor", "#FFCCDDEE"}, {"itemtextcolor", "#FF202020"},
        {"itemlinecolor", "#FF999999"}, {"itemtextpadding", "6,0,6,0"},
    };
    source = std::make_unique<RecordingRows>(8);
    list = new CListUI;
    auto* labels = new CListUI;
    for (auto& a : attrs) {
        list->SetAttribute(a[0], a[1]);
        labels->SetAttribute(a[0], a[1]);
    }
    list->SetRowSource(source.get());
    for (int i = 0; i < 8; ++i) {
        auto* row = new CListLabelElementUI;
        row->SetText(("row " + std::to_string(i)).c_str());
        labels->Add(row);
    }
    Open();
    ControlHost other;
    other.Open(labels, 200, kViewHeight);
    list->SelectItem(2);
    labels->SelectItem(2);
    // One pointer: each window is hovered and drawn in turn.
    fake().MouseMove(hwnd(), 50, YOf(5));
    ASSERT_EQ(Body()->GetHotRow(), 5);
    auto a = fake().Render(hwnd());
    fake().MouseMove(other.hwnd(), 50, YOf(5));
    auto b = fake().Render(other.hwnd());
    ASSERT_TRUE(a && b);
    int differing = 0;
    for (int y = 0; y < kViewHeight; ++y)
        for (int x = 0; x < 200; ++x)
            differing += FakeBackend::PixelAt(a.get(), x, y) != FakeBackend::PixelAt(b.get(), x, y);
    EXPECT_EQ(differing, 0);
    // And the states are really drawn: selected, hot, striped.
    EXPECT_EQ(FakeBackend::PixelAt(a.get(), 190, YOf(2)), 0xFF3366CCu);
    EXPECT_EQ(FakeBackend::PixelAt(a.get(), 190, YOf(5)), 0xFFCCDDEEu);
    EXPECT_EQ(FakeBackend::PixelAt(a.get(), 190, YOf(1)), 0xFFE0E8F0u);
    EXPECT_EQ(FakeBackend::PixelAt(a.get(), 190, YOf(0)), 0xFFF4F4F4u);
    EXPECT_EQ(FakeBackend::PixelAt(a.get(), 190, 3 * kRowHeight - 1), 0xFF999999u);
}

TEST_F(ListVirtualTest, SelectedRowHasTheSelectedBackground) {
    Build(1000);
    list->SetAttribute("itemselectedbkcolor", "#FF3366CC");
    list->SelectItem(500);
    auto surface = fake().Render(hwnd());
    ASSERT_TRUE(surface);
    EXPECT_EQ(FakeBackend::PixelAt(surface.get(), 150, YOf(500)), 0xFF3366CCu);
    EXPECT_NE(FakeBackend::PixelAt(surface.get(), 150, YOf(499)), 0xFF3366CCu);
}

// ---- selection and notifications -------------------------------------------------------

TEST_F(ListVirtualTest, ClickSelectsTheRowAndNotifiesFromTheList) {
    Build(100);
    Click(2);
    EXPECT_EQ(list->GetCurSel(), 2);
    ASSERT_EQ(host.notes.Types(), (std::vector<std::string>{"itemselect", "itemclick"}));
    RecordedNote sel = host.notes.Last("itemselect");
    EXPECT_EQ(sel.sender, list);
    EXPECT_EQ(sel.wParam, 2u);
    EXPECT_EQ(sel.lParam, -1);
    RecordedNote click = host.notes.Last("itemclick");
    EXPECT_EQ(click.sender, list);
    EXPECT_EQ(click.wParam, 0u);
    EXPECT_EQ(click.lParam, 2);

    Click(4);
    EXPECT_EQ(host.notes.Last("itemselect").wParam, 4u);
    EXPECT_EQ(host.notes.Last("itemselect").lParam, 2);
    Click(4);  // the same row again: clicked, not selected anew
    EXPECT_EQ(host.notes.Count("itemselect"), 2);
    EXPECT_EQ(host.notes.Count("itemclick"), 3);
    EXPECT_EQ(host.pm.GetFocus(), list);
}

TEST_F(ListVirtualTest, ModifierClicksSelectOneRow) {
    Build(100);
    Click(1);
    Click(3, FakeBackend::kControl);
    Click(6, FakeBackend::kShift);
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{6});
    EXPECT_TRUE(list->IsItemSelected(6));
    EXPECT_FALSE(list->IsItemSelected(3));
}

TEST_F(ListVirtualTest, DoubleClickAndReturnActivateTheRow) {
    Build(100);
    fake().DoubleClick(hwnd(), 50, YOf(3));
    RecordedNote act = host.notes.Last("itemactivate");
    EXPECT_EQ(act.sender, list);
    EXPECT_EQ(act.lParam, 3);
    EXPECT_EQ(host.notes.Count("itemactivate"), 1);
    fake().KeyPress(VK_DOWN, FakeBackend::kNone, hwnd());
    fake().KeyPress(VK_RETURN, FakeBackend::kNone, hwnd());
    EXPECT_EQ(host.notes.Last("itemactivate").lParam, 4);
}

TEST_F(ListVirtualTest, RightClickReportsTheRowWithoutSelecting) {
    Build(5);
    list->SelectItem(1);
    host.notes.Clear();
    fake().RightClick(hwnd(), 50, YOf(3));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetRightClickedRow(), 3);
    ASSERT_EQ(host.notes.Types(), std::vector<std::string>{"listrightclick"});
    EXPECT_EQ(host.notes.Last("listrightclick").sender, list);
    EXPECT_EQ(host.notes.Last("listrightclick").wParam, 3u);
    fake().RightClick(hwnd(), 50, kViewHeight - 2);  // below the last row
    EXPECT_EQ(list->GetRightClickedRow(), -1);
    EXPECT_EQ(static_cast<int>(host.notes.Last("listrightclick").wParam), -1);
}

TEST_F(ListVirtualTest, SelectItemReportsNewAndOldIndexAndMinusOneClears) {
    Build(10);
    list->SelectItem(5);
    list->SelectItem(7);
    list->SelectItem(7);  // no change: no notification
    list->SelectItem(-1);
    ASSERT_EQ(host.notes.Count("itemselect"), 3);
    EXPECT_EQ(host.notes.notes[1].wParam, 7u);
    EXPECT_EQ(host.notes.notes[1].lParam, 5);
    EXPECT_EQ(static_cast<int>(host.notes.notes[2].wParam), -1);
    EXPECT_EQ(host.notes.notes[2].lParam, 7);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_TRUE(list->GetSelectedItems().empty());
    EXPECT_FALSE(list->SelectItem(10));
}

// ---- keys and scrolling ----------------------------------------------------------------

TEST_F(ListVirtualTest, KeysMoveTheSelectionAndKeepItVisible) {
    Build(1000);
    Click(0);
    host.notes.Clear();
    struct Step { int vk; int sel; int scroll; };
    const Step steps[] = {
        {VK_DOWN, 1, 0},
        {VK_NEXT, 11, 11 * kRowHeight + kRowHeight - kViewHeight},
        {VK_END, 999, 1000 * kRowHeight - kViewHeight},
        {VK_UP, 998, 1000 * kRowHeight - kViewHeight},
        {VK_PRIOR, 988, 988 * kRowHeight},
        {VK_HOME, 0, 0},
        {VK_UP, 0, 0},
    };
    int old = 0;
    for (const Step& s : steps) {
        fake().KeyPress(s.vk, FakeBackend::kNone, hwnd());
        EXPECT_EQ(list->GetCurSel(), s.sel) << "key " << s.vk;
        EXPECT_EQ(list->GetScrollPos().cy, s.scroll) << "key " << s.vk;
        if (s.sel != old) {
            EXPECT_EQ(host.notes.Last("itemselect").wParam, static_cast<WPARAM>(s.sel));
            EXPECT_EQ(host.notes.Last("itemselect").lParam, old);
        }
        old = s.sel;
    }
    EXPECT_EQ(host.notes.Count("itemselect"), 6) << "Up on the first row changes nothing";
}

TEST_F(ListVirtualTest, WheelAndScrollBarScroll) {
    Build(1000);
    fake().Wheel(hwnd(), 50, 100, -WHEEL_DELTA);
    EXPECT_EQ(list->GetScrollPos().cy, 3 * kRowHeight);
    fake().Wheel(hwnd(), 50, 100, WHEEL_DELTA);
    EXPECT_EQ(list->GetScrollPos().cy, 0);

    CScrollBarUI* bar = list->GetVerticalScrollBar();
    RECT thumb = bar->GetThumbRect();
    int x = (thumb.left + thumb.right) / 2;
    fake().LeftDown(hwnd(), x, thumb.top + 2);
    fake().MouseMove(hwnd(), x, kViewHeight + 50, 0, MK_LBUTTON);
    fake().LeftUp(hwnd(), x, kViewHeight + 50);
    EXPECT_EQ(list->GetScrollPos().cy, 1000 * kRowHeight - kViewHeight);
    EXPECT_EQ(list->GetCurSel(), -1) << "dragging the bar selects nothing";
    // Rows are hit where they are drawn after scrolling.
    fake().LeftDown(hwnd(), 50, kViewHeight - 5);
    fake().LeftUp(hwnd(), 50, kViewHeight - 5);
    EXPECT_EQ(list->GetCurSel(), 999);
}

TEST_F(ListVirtualTest, SelectionBeforeTheFirstLayoutIsShownByIt) {
    Build(100000, false);
    list->SelectItem(70000);
    Open();
    int top = list->GetScrollPos().cy;
    EXPECT_LE(top, 70000 * kRowHeight);
    EXPECT_GE(top, 70001 * kRowHeight - kViewHeight);
    Paint();
    EXPECT_TRUE(source->Asked().count(70000));
}

TEST_F(ListVirtualTest, EnsureVisibleScrollsTheLeastNeeded) {
    Build(1000);
    list->EnsureVisible(500);
    EXPECT_EQ(list->GetScrollPos().cy, 501 * kRowHeight - kViewHeight);
    list->EnsureVisible(495);  // already visible: stays
    EXPECT_EQ(list->GetScrollPos().cy, 501 * kRowHeight - kViewHeight);
    list->EnsureVisible(400);
    EXPECT_EQ(list->GetScrollPos().cy, 400 * kRowHeight);
}

// ---- rows that change ------------------------------------------------------------------

TEST_F(ListVirtualTest, ShrinkingClampsSelectionAndScroll) {
    Build(1000);
    list->SelectItem(900);
    fake().MouseMove(hwnd(), 50, 190);
    source->count = 100;
    list->RowsChanged();
    EXPECT_EQ(list->GetCount(), 100);
    EXPECT_EQ(list->GetCurSel(), 99);
    EXPECT_EQ(list->GetScrollRange().cy, 100 * kRowHeight - kViewHeight);
    EXPECT_EQ(list->GetScrollPos().cy, 100 * kRowHeight - kViewHeight);
    Paint();
    EXPECT_EQ(source->Asked(), Range(90, 99));

    source->count = 3;
    list->RowsChanged();
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    EXPECT_FALSE(list->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(Body()->GetHotRow(), -1) << "nothing under the pointer any more";

    source->count = 0;
    list->RowsChanged();
    EXPECT_EQ(list->GetCurSel(), -1);
    Paint();
    EXPECT_TRUE(source->asked.empty());
}

TEST_F(ListVirtualTest, GrowingExtendsTheRange) {
    Build(5);
    EXPECT_FALSE(list->GetVerticalScrollBar()->IsVisible());
    source->count = 500;
    list->RowsChanged();
    EXPECT_EQ(list->GetScrollRange().cy, 500 * kRowHeight - kViewHeight);
    Click(0);  // the list takes the keys
    fake().KeyPress(VK_END, FakeBackend::kNone, hwnd());
    EXPECT_EQ(list->GetCurSel(), 499);
}

TEST_F(ListVirtualTest, SelectingARowAddedBeforeRowsChangedTakesTheNewCount) {
    Build(5);
    source->count = 40;  // the owner selects its new entry before telling the list
    EXPECT_TRUE(list->SelectItem(30));
    EXPECT_EQ(list->GetCount(), 40);
    EXPECT_EQ(list->GetCurSel(), 30);
    EXPECT_EQ(list->GetScrollPos().cy, 31 * kRowHeight - kViewHeight);
    EXPECT_FALSE(list->SelectItem(40));
    EXPECT_EQ(list->GetCurSel(), 30);
}

TEST_F(ListVirtualTest, SourceThatShrankUntoldIsNotAskedPastItsEnd) {
    Build(1000);
    list->EnsureVisible(999);
    source->count = 995;  // RowsChanged not called yet
    Paint();
    EXPECT_EQ(source->Asked(), Range(990, 994));
}

// ---- hover ---------------------------------------------------------------------------

TEST_F(ListVirtualTest, HoveredRowIsHotAndShowsItsTooltip) {
    Build(100);
    fake().MouseMove(hwnd(), 50, YOf(3));
    EXPECT_EQ(Body()->GetHotRow(), 3);
    fake().AdvanceTime(600);
    EXPECT_EQ(host.pm.GetToolTipText(), "tip 3");
    fake().MouseMove(hwnd(), 50, YOf(5));
    EXPECT_EQ(Body()->GetHotRow(), 5);
    EXPECT_EQ(host.pm.GetToolTipText(), "") << "another row hides the old tip at once";
    fake().AdvanceTime(600);
    EXPECT_EQ(host.pm.GetToolTipText(), "tip 5");
    fake().MouseLeave(hwnd());
    EXPECT_EQ(Body()->GetHotRow(), -1);
    EXPECT_EQ(host.pm.GetToolTipText(), "");
}

TEST_F(ListVirtualTest, RowsWithoutTooltipShowNone) {
    Build(100);
    source->tooltips = false;
    fake().MouseMove(hwnd(), 50, YOf(3));
    fake().MouseMove(hwnd(), 50, YOf(4));
    fake().AdvanceTime(600);
    EXPECT_EQ(host.pm.GetToolTipText(), "");
}

// ---- switching modes -------------------------------------------------------------------

TEST_F(ListVirtualTest, NullSourceGoesBackToTheChildRows) {
    Build(100, false);
    for (int i = 0; i < 3; ++i) {
        auto* row = new CListLabelElementUI;
        row->SetText(("child " + std::to_string(i)).c_str());
        list->Add(row);
    }
    Open();
    EXPECT_EQ(list->GetCount(), 100);
    Click(1);
    EXPECT_EQ(host.notes.Last("itemclick").sender, list);
    EXPECT_EQ(list->GetCurSel(), 1);

    list->SetRowSource(nullptr);
    host.pm.UpdateLayout();
    EXPECT_EQ(list->GetRowSource(), nullptr);
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetCurSel(), -1) << "the old index meant another row";
    Click(1);
    EXPECT_EQ(host.notes.Last("itemclick").sender, list->GetItemAt(1));
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{1});

    list->SetRowSource(source.get());
    EXPECT_EQ(list->GetCount(), 100);
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_FALSE(list->IsItemSelected(1));
    auto* child = static_cast<IListItemUI*>(list->GetItemAt(1)->GetInterface("ListItem"));
    EXPECT_FALSE(child->IsSelected()) << "no child row stays selected underneath";
}

}  // namespace
