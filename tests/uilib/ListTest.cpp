#include <gtest/gtest.h>

#include <set>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/controls/ListExpandElement.h"
#include "uilib/controls/ListHeader.h"
#include "uilib/controls/ListHeaderItem.h"
#include "uilib/controls/ListLabelElement.h"
#include "uilib/controls/ScrollBar.h"

using namespace uilib;
using platform::FakeBackend;

namespace {

constexpr int kRowHeight = 20;
constexpr int kViewHeight = 200;  // ten rows

// A 200×200 list of label rows, 20 pixels each, without a header.
class ListTest : public FakePlatformTest {
protected:
    void Build(int rows) {
        list = new CListUI;
        list->SetAttribute("itemheight", "20");
        for (int i = 0; i < rows; ++i) {
            auto* row = new CListLabelElementUI;
            row->SetText(CStdString::Printf("row %d", i).c_str());
            list->Add(row);
        }
        host.Open(list, 200, kViewHeight);
        host.pm.UpdateLayout();
    }
    HWND hwnd() { return host.hwnd(); }
    int YOf(int row) { return list->GetItemAt(row)->GetPos().top + kRowHeight / 2; }
    void Click(int row, unsigned mods = FakeBackend::kNone) {
        fake().LeftDown(hwnd(), 50, YOf(row), mods);
        fake().LeftUp(hwnd(), 50, YOf(row), mods);
    }

    CListUI* list = nullptr;
    ControlHost host;
};

TEST_F(ListTest, ClickSelectsOneRowAndNotifies) {
    Build(20);
    Click(2);
    EXPECT_EQ(list->GetCurSel(), 2);
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{2});
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"itemselect", "itemclick"}));
    RecordedNote sel = host.notes.Last("itemselect");
    EXPECT_EQ(sel.sender, list);
    EXPECT_EQ(sel.wParam, 2u);
    EXPECT_EQ(sel.lParam, -1);
    RecordedNote click = host.notes.Last("itemclick");
    EXPECT_EQ(click.sender, list->GetItemAt(2));
    EXPECT_EQ(click.wParam, 0u);

    Click(4);
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{4});
    EXPECT_EQ(host.notes.Last("itemselect").wParam, 4u);
    EXPECT_EQ(host.notes.Last("itemselect").lParam, 2);
}

TEST_F(ListTest, CtrlClickTogglesRows) {
    Build(20);
    Click(1);
    Click(3, FakeBackend::kControl);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{1, 3}));
    Click(1, FakeBackend::kControl);
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{3});
    Click(5);  // a plain click starts over
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{5});
}

TEST_F(ListTest, ShiftClickSelectsARangeFromTheAnchor) {
    Build(20);
    Click(6);
    Click(3, FakeBackend::kShift);
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{3, 4, 5, 6}));
    EXPECT_EQ(list->GetCurSel(), 3);
    Click(8, FakeBackend::kShift);  // same anchor, new end
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{6, 7, 8}));
}

TEST_F(ListTest, SingleSelectListIgnoresModifiers) {
    Build(10);
    list->SetMultiSelect(false);
    Click(1);
    Click(3, FakeBackend::kControl);
    EXPECT_EQ(list->GetSelectedItems(), std::vector<int>{3});
}

TEST_F(ListTest, KeyboardNavigationMovesAndScrolls) {
    Build(1000);
    Click(0);
    struct Step { int vk; unsigned mods; int sel; int scroll; };
    const Step steps[] = {
        {VK_DOWN, FakeBackend::kNone, 1, 0},
        {VK_NEXT, FakeBackend::kNone, 11, 11 * kRowHeight + kRowHeight - kViewHeight},
        {VK_END, FakeBackend::kNone, 999, 1000 * kRowHeight - kViewHeight},
        {VK_UP, FakeBackend::kNone, 998, 1000 * kRowHeight - kViewHeight},
        {VK_PRIOR, FakeBackend::kNone, 988, 988 * kRowHeight},
        {VK_HOME, FakeBackend::kNone, 0, 0},
        {VK_UP, FakeBackend::kNone, 0, 0},
    };
    for (const Step& s : steps) {
        fake().KeyPress(s.vk, s.mods, hwnd());
        EXPECT_EQ(list->GetCurSel(), s.sel) << "key " << s.vk;
        EXPECT_EQ(list->GetScrollPos().cy, s.scroll) << "key " << s.vk;
    }
    fake().KeyPress(VK_DOWN, FakeBackend::kShift, hwnd());
    fake().KeyPress(VK_DOWN, FakeBackend::kShift, hwnd());
    EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{0, 1, 2}));
}

TEST_F(ListTest, SelectItemReportsNewAndOldIndex) {
    Build(10);
    list->SelectItem(5);
    list->SelectItem(7);
    list->SelectItem(7);  // no change: no notification
    list->SelectItem(-1);
    ASSERT_EQ(host.notes.Count("itemselect"), 3);
    EXPECT_EQ(host.notes.notes[1].wParam, 7u);
    EXPECT_EQ(host.notes.notes[1].lParam, 5);
    EXPECT_EQ(static_cast<int>(host.notes.notes[2].wParam), -1);
    EXPECT_FALSE(list->SelectItem(10));
}

TEST_F(ListTest, EnsureVisibleScrollsTheLeastNeededWithAThousandRows) {
    Build(1000);
    EXPECT_EQ(list->GetScrollRange().cy, 1000 * kRowHeight - kViewHeight);
    list->EnsureVisible(500);
    EXPECT_EQ(list->GetScrollPos().cy, 501 * kRowHeight - kViewHeight);
    list->EnsureVisible(495);  // already visible: stays
    EXPECT_EQ(list->GetScrollPos().cy, 501 * kRowHeight - kViewHeight);
    list->EnsureVisible(400);
    EXPECT_EQ(list->GetScrollPos().cy, 400 * kRowHeight);
    // Rows are hit where they are drawn after scrolling.
    fake().LeftDown(hwnd(), 50, 5);
    fake().LeftUp(hwnd(), 50, 5);
    EXPECT_EQ(list->GetCurSel(), 400);
    fake().LeftDown(hwnd(), 50, kViewHeight - 5);
    fake().LeftUp(hwnd(), 50, kViewHeight - 5);
    EXPECT_EQ(list->GetCurSel(), 409);
}

class CountingCallback : public IListCallbackUI {
public:
    CStdString GetItemText(CControlUI*, int index, int subItem) override {
        rows.insert(index);
        return CStdString::Printf("%d/%d", index, subItem);
    }
    std::set<int> rows;
};

TEST_F(ListTest, PaintingAsksOnlyForVisibleRows) {
    Build(0);
    auto* header = new CListHeaderItemUI;
    header->SetFixedWidth(100);
    list->Add(header);
    for (int i = 0; i < 1000; ++i) list->Add(new CListLabelElementUI);
    CountingCallback callback;
    list->SetTextCallback(&callback);
    host.pm.NeedUpdate();
    list->EnsureVisible(600);
    ASSERT_TRUE(fake().Render(hwnd()) != nullptr);
    ASSERT_FALSE(callback.rows.empty());
    EXPECT_LE(callback.rows.size(), 12u);
    EXPECT_GE(*callback.rows.begin(), 590);
    EXPECT_LE(*callback.rows.rbegin(), 600);
    list->SetTextCallback(nullptr);
}

class CellCallback : public IListCallbackUI {
public:
    CStdString GetItemText(CControlUI*, int index, int subItem) override {
        asked.insert({index, subItem});
        return CStdString::Printf("%d/%d", index, subItem);
    }
    std::set<std::pair<int, int>> asked;
};

// Rows without a text of their own show their list's cells: every column of each row
// under a header, the first column without one.
TEST_F(ListTest, RowsWithoutTextAskTheListForTheirCells) {
    const struct { int columns; bool expandRows; } cases[] = {{3, true}, {0, true}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + (c.expandRows ? " expand rows" : " label rows"));
        auto* rows = new CListUI;
        rows->SetAttribute("itemheight", "20");
        for (int k = 0; k < c.columns; ++k) {
            auto* header = new CListHeaderItemUI;
            header->SetFixedWidth(60);
            rows->Add(header);
        }
        for (int i = 0; i < 2; ++i) rows->Add(c.expandRows ? static_cast<CControlUI*>(new CListExpandElementUI)
                                                           : new CListLabelElementUI);
        CellCallback callback;
        rows->SetTextCallback(&callback);
        ControlHost window;
        window.Open(rows, 200, kViewHeight);
        ASSERT_TRUE(fake().Render(window.hwnd()) != nullptr);
        std::set<std::pair<int, int>> expected;
        for (int i = 0; i < 2; ++i)
            for (int k = 0; k < std::max(c.columns, 1); ++k) expected.insert({i, k});
        EXPECT_EQ(callback.asked, expected);
        rows->SetTextCallback(nullptr);
    }
}

TEST_F(ListTest, RightClickReportsTheRowWithoutSelecting) {
    Build(5);
    list->SelectItem(1);
    host.notes.Clear();
    fake().RightClick(hwnd(), 50, YOf(3));
    EXPECT_EQ(list->GetCurSel(), 1);
    EXPECT_EQ(list->GetContextItem(), 3);
    ASSERT_EQ(host.notes.Types(), std::vector<std::string>{"listrightclick"});
    EXPECT_EQ(host.notes.Last("listrightclick").sender, list);
    EXPECT_EQ(host.notes.Last("listrightclick").wParam, 3u);
    fake().RightClick(hwnd(), 50, kViewHeight - 2);  // below the last row
    EXPECT_EQ(list->GetContextItem(), -1);
}

TEST_F(ListTest, DoubleClickActivatesTheRow) {
    Build(5);
    CControlUI* row = list->GetItemAt(2);
    TEventUI e;
    e.Type = UIEVENT_DBLCLICK;
    e.pSender = row;
    e.ptMouse = POINT{50, YOf(2)};
    row->Event(e);
    EXPECT_EQ(host.notes.Last("itemactivate").sender, row);
}

TEST_F(ListTest, RemovingRowsKeepsIndexesAndSelectionConsistent) {
    Build(6);
    list->SelectItem(4);
    list->RemoveAt(1);
    EXPECT_EQ(list->GetCurSel(), 3);
    for (int i = 0; i < list->GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(list->GetItemAt(i)->GetInterface("ListItem"));
        EXPECT_EQ(item->GetIndex(), i);
    }
    list->RemoveAt(3);
    EXPECT_EQ(list->GetCurSel(), -1);
    list->RemoveAll();
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetScrollPos().cy, 0);
}

TEST_F(ListTest, AddingARowTwiceIsRefused) {
    Build(3);
    CControlUI* row = list->GetItemAt(1);
    EXPECT_FALSE(list->Add(row));
    EXPECT_FALSE(list->AddAt(row, 0));
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetItemAt(1), row);
    // A row taken out of one list may go into another.
    auto* other = new CListUI;
    list->GetList()->SetAutoDestroy(false);
    ASSERT_TRUE(list->Remove(row));
    list->GetList()->SetAutoDestroy(true);
    EXPECT_TRUE(other->Add(row));
    EXPECT_EQ(other->GetCount(), 1);
    delete other;
}

TEST_F(ListTest, ListHeightSumsRowsForMenus) {
    Build(3);
    EXPECT_EQ(list->GetListHeight(), 3 * kRowHeight);
    list->GetList()->SetInset(RECT{0, 2, 0, 2});
    EXPECT_EQ(list->GetListHeight(), 3 * kRowHeight + 4);
}

TEST_F(ListTest, HeaderColumnsAndHiddenHeader) {
    Build(3);
    auto* a = new CListHeaderItemUI;
    a->SetFixedWidth(60);
    auto* b = new CListHeaderItemUI;
    b->SetFixedWidth(80);
    list->Add(a);
    list->Add(b);
    EXPECT_EQ(list->GetCount(), 3) << "header items are not rows";
    list->SetPos(RECT{0, 0, 200, 200});
    ASSERT_EQ(list->GetListInfo()->columns.size(), 2u);
    EXPECT_EQ(list->GetListInfo()->columns[1].left, 60);
    EXPECT_GT(list->GetItemAt(0)->GetPos().top, 0) << "rows start below the header";
    list->SetAttribute("header", "hidden");
    list->SetPos(RECT{0, 0, 200, 200});
    EXPECT_EQ(list->GetItemAt(0)->GetPos().top, 0);
}

TEST_F(ListTest, ExpandElementShowsItsChildRows) {
    Build(2);
    auto* group = new CListExpandElementUI;
    group->SetText("group");
    group->Add(new CListLabelElementUI);
    group->Add(new CListLabelElementUI);
    list->Add(group);
    list->SetPos(RECT{0, 0, 200, 200});
    EXPECT_EQ(group->GetHeight(), kRowHeight);
    EXPECT_TRUE(list->ExpandItem(2, true));
    EXPECT_EQ(group->GetHeight(), 3 * kRowHeight);
    EXPECT_EQ(list->GetExpandedItem(), 2);
    EXPECT_EQ(list->GetListHeight(), 5 * kRowHeight);
    group->SelectItem(1);
    EXPECT_EQ(host.notes.Last("itemselect").sender, group);
    list->ExpandItem(2, false);
    EXPECT_EQ(group->GetHeight(), kRowHeight);
}

TEST_F(ListTest, ScrollBarDragScrollsTheList) {
    Build(100);
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->IsVisible());
    RECT thumb = bar->GetThumbRect();
    int x = (thumb.left + thumb.right) / 2;
    fake().LeftDown(hwnd(), x, thumb.top + 2);
    fake().MouseMove(hwnd(), x, thumb.top + 2 + 90, 0, MK_LBUTTON);
    fake().LeftUp(hwnd(), x, thumb.top + 2 + 90);
    // The thumb is 20 px on a 200 px track: 180 px of travel for 1800 px of range.
    EXPECT_EQ(list->GetScrollPos().cy, 900);
    EXPECT_EQ(bar->GetScrollPos(), 900);
    fake().Wheel(hwnd(), 50, 100, WHEEL_DELTA);
    EXPECT_EQ(list->GetScrollPos().cy, 900 - 3 * kRowHeight);
}

}  // namespace
