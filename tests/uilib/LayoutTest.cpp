// Geometry of the box layouts, float placement and tab pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/LayoutShare.h"

using namespace uilib;

namespace {

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Builds the layout text, places the root at 0,0,w,h and reports the rectangles of the
// named children in the order given.
std::vector<std::string> Lay(const std::string& xml, int w, int h,
                             const std::vector<std::string>& names) {
    CPaintManagerUI pm;
    CDialogBuilder builder;
    CControlUI* root = builder.CreateFromString(xml.c_str(), nullptr, &pm);
    EXPECT_NE(root, nullptr) << builder.GetLastError();
    if (!root) return {};
    pm.AttachDialog(root);
    root->SetPos(RECT{0, 0, w, h});
    std::vector<std::string> out;
    for (const auto& n : names) {
        CControlUI* c = pm.FindControl(n.c_str());
        out.push_back(c ? RectText(c->GetPos()) : "missing");
    }
    return out;
}

struct LayoutCase {
    const char* what;
    const char* xml;
    int w, h;
    std::vector<std::string> names;
    std::vector<std::string> expected;
};

class BoxLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BoxLayout, PlacesChildren) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(Lay(c.xml, c.w, c.h, c.names), c.expected) << c.what;
}

const LayoutCase kCases[] = {
    {"vertical: free space shared equally",
     R"(<VerticalLayout><Control name="a"/><Control name="b"/></VerticalLayout>)", 100, 100,
     {"a", "b"}, {"0,0,100,50", "0,50,100,100"}},
    {"vertical: fixed height first, rest to the sharer",
     R"(<VerticalLayout><Control name="a" height="30"/><Control name="b"/></VerticalLayout>)",
     100, 100, {"a", "b"}, {"0,0,100,30", "0,30,100,100"}},
    {"vertical: inset, childpadding and padding",
     R"(<VerticalLayout inset="10,5,10,5" childpadding="4">
          <Control name="a" height="20" padding="2,3,4,5"/><Control name="b"/></VerticalLayout>)",
     100, 100, {"a", "b"}, {"12,8,86,28", "10,37,90,95"}},
    {"vertical: invisible children take no space",
     R"(<VerticalLayout childpadding="10"><Control name="a" visible="false" height="40"/>
          <Control name="b"/><Control name="c"/></VerticalLayout>)",
     100, 110, {"b", "c"}, {"0,0,100,50", "0,60,100,110"}},
    {"vertical: fixed width kept, rounding remainder to the last sharer",
     R"(<VerticalLayout><Control name="a" width="40"/><Control name="b"/><Control name="c"/></VerticalLayout>)",
     100, 100, {"a", "b", "c"}, {"0,0,40,33", "0,33,100,66", "0,66,100,100"}},
    {"vertical: a max height gives the rest to the others",
     R"(<VerticalLayout><Control name="a" maxheight="20"/><Control name="b"/></VerticalLayout>)",
     100, 100, {"a", "b"}, {"0,0,100,20", "0,20,100,100"}},
    {"vertical: a min height is kept",
     R"(<VerticalLayout><Control name="a" minheight="80"/><Control name="b"/></VerticalLayout>)",
     100, 100, {"a", "b"}, {"0,0,100,80", "0,80,100,100"}},
    {"horizontal: fixed, sharers and childpadding",
     R"(<HorizontalLayout childpadding="10"><Control name="a" width="30"/>
          <Control name="b"/><Control name="c"/></HorizontalLayout>)",
     150, 40, {"a", "b", "c"}, {"0,0,30,40", "40,0,90,40", "100,0,150,40"}},
    {"horizontal: fixed height and padding",
     R"(<HorizontalLayout inset="1,1,1,1"><Control name="a" height="10" padding="5,2,0,0"/>
          <Control name="b"/></HorizontalLayout>)",
     101, 42, {"a", "b"}, {"6,3,53,13", "53,1,100,41"}},
    {"float: placed by pos relative to the parent, outside the flow",
     R"(<VerticalLayout><Control name="a"/>
          <HorizontalLayout name="h" height="50"><Control name="f" float="true" pos="5,6,25,16"/>
          <Control name="b"/></HorizontalLayout></VerticalLayout>)",
     100, 100, {"a", "h", "f", "b"}, {"0,0,100,50", "0,50,100,100", "5,56,25,66", "0,50,100,100"}},
    {"container: every child fills the inner area",
     R"(<Container inset="2,2,2,2"><Control name="a"/><Control name="b" padding="1,1,1,1"/></Container>)",
     20, 20, {"a", "b"}, {"2,2,18,18", "3,3,17,17"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, BoxLayout, ::testing::ValuesIn(kCases));

TEST(ShareLength, OverflowingFixedSizesLeaveSharersEmpty) {
    std::vector<int> got = ShareLength(50, {{40, 0, 9999}, {0, 0, 9999}, {30, 0, 9999}});
    EXPECT_EQ(got, (std::vector<int>{40, 0, 30}));
}

TEST(ShareLength, LimitsSettleInTurn) {
    // 90 among three: one capped at 10, one needing at least 50, the last takes the rest.
    std::vector<int> got = ShareLength(90, {{0, 0, 10}, {0, 50, 9999}, {0, 0, 9999}});
    EXPECT_EQ(got, (std::vector<int>{10, 50, 30}));
}

TEST(TabLayout, ShowsOnlyTheSelectedPage) {
    CPaintManagerUI pm;
    CDialogBuilder b;
    CControlUI* root = b.CreateFromString(
        R"(<TabLayout name="tabs" selectedid="1"><Control name="p0"/><Control name="p1"/>
             <Control name="p2"/></TabLayout>)",
        nullptr, &pm);
    ASSERT_NE(root, nullptr);
    pm.AttachDialog(root);
    auto* tabs = static_cast<CTabLayoutUI*>(root->GetInterface("TabLayout"));
    ASSERT_NE(tabs, nullptr);
    auto visible = [&] {
        std::string s;
        for (int i = 0; i < tabs->GetCount(); ++i) s += tabs->GetItemAt(i)->IsVisible() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_EQ(visible(), "010");

    struct Recorder : INotifyUI {
        void NotifyFromWindow(TNotifyUI&) override {}
        void Notify(TNotifyUI& m) override {
            if (m.sType == "tabselect") got.push_back({(int)m.wParam, (int)m.lParam});
        }
        std::vector<std::pair<int, int>> got;
    } rec;
    pm.AddNotifier(&rec);
    EXPECT_TRUE(tabs->SelectItem("p2"));
    EXPECT_EQ(visible(), "001");
    EXPECT_TRUE(tabs->SelectItem(pm.FindControl("p0")));
    EXPECT_EQ(visible(), "100");
    EXPECT_FALSE(tabs->SelectItem(7));
    EXPECT_FALSE(tabs->SelectItem("nope"));
    EXPECT_EQ((rec.got), (std::vector<std::pair<int, int>>{{2, 1}, {0, 2}}));

    root->SetPos(RECT{0, 0, 80, 60});
    EXPECT_EQ(RectText(pm.FindControl("p0")->GetPos()), "0,0,80,60");
    // Removing the selected page selects a neighbour.
    EXPECT_TRUE(tabs->Remove(pm.FindControl("p0")));
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(pm.FindControl("p0"), nullptr);
    pm.RemoveNotifier(&rec);
}

TEST(Container, RemoveForgetsNamesAndAutoDestroyOffKeepsTheChild) {
    CPaintManagerUI pm;
    auto* root = new CVerticalLayoutUI;
    auto* kept = new CControlUI;
    kept->SetName("kept");
    auto* gone = new CControlUI;
    gone->SetName("gone");
    root->Add(kept);
    root->Add(gone);
    pm.AttachDialog(root);
    ASSERT_EQ(pm.FindControl("gone"), gone);
    EXPECT_TRUE(root->Remove(gone));
    EXPECT_EQ(pm.FindControl("gone"), nullptr);
    root->SetAutoDestroy(false);
    EXPECT_TRUE(root->Remove(kept));
    EXPECT_EQ(pm.FindControl("kept"), nullptr);
    EXPECT_EQ(kept->GetParent(), nullptr);
    delete kept;
}

}  // namespace
