// The program's own controls, driven by real input on the fake platform.
#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "tests/uilib/ControlTestHost.h"
#include "tests/uilib/RenderTestSupport.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/HotKeyUI.h"
#include "ui/ListContainerElementUIEx.h"
#include "ui/MediaUI.h"
#include "ui/MenuUI.h"
#include "ui/SliderUIEx.h"
#include "ui/SliderUIText.h"
#include "uilib/Container.h"
#include "uilib/controls/List.h"

using namespace uilib;
using Notes = std::vector<std::string>;

namespace orvella {
namespace {

// A 110×20 slider, both ranges 0..100, 10×10 thumbs: a thumb's centre runs from x=5 to
// x=105, one value per pixel; the first thumb starts at 0, the second at 100.
class SliderExTest : public FakePlatformTest {
protected:
    void SetUp() override {
        rendertest::WriteSolidPng(folder.File("thumb2.png"), 10, 10, 0xFFFF0000);
        slider = new CSliderUIEx;
        slider->ApplyAttributeList("thumbsize=\"10,10\" min=\"0\" max=\"100\" value=\"0\"");
        slider->SetAttribute("thumbimage2", ("file='" + folder.File("thumb2.png") + "'").c_str());
        host.Open(slider, 110, 20);
    }
    void Click(int x) {
        fake().LeftDown(host.hwnd(), x, 10);
        fake().LeftUp(host.hwnd(), x, 10);
    }

    rendertest::TempFolder folder;
    CSliderUIEx* slider = nullptr;
    ControlHost host;
};

TEST_F(SliderExTest, ValueAtBothEndsAndInTheMiddle) {
    struct Case { int x, min, max, value; };
    const Case cases[] = {{-3, 0, 100, 0}, {5, 0, 100, 0},  {6, 0, 100, 1},   {55, 0, 100, 50},
                          {104, 0, 100, 99}, {105, 0, 100, 100}, {55, 0, 50, 25}, {55, 20, 30, 25},
                          {400, 20, 30, 30}};
    for (const Case& c : cases)
        EXPECT_EQ(slider->ValueAt(POINT{c.x, 10}, c.min, c.max), c.value) << "x=" << c.x;
}

TEST_F(SliderExTest, ThumbsStopAtEachOtherHoweverFarThePointerGoes) {
    slider->SetValue2(60);  // second thumb at 60..70
    fake().LeftDown(host.hwnd(), 5, 10);  // on the first thumb
    fake().MouseMove(host.hwnd(), 40, 10, 0, MK_LBUTTON);
    fake().MouseMove(host.hwnd(), 100, 10, 0, MK_LBUTTON);
    EXPECT_EQ(slider->GetValue(), 55) << "its centre stops on the second thumb's left edge";
    fake().LeftUp(host.hwnd(), 100, 10);
    EXPECT_EQ(host.notes.Types(), (Notes{"valuechangebegin", "valuechangebegin", "valuechanged",
                                          "valuechangeend", "valuechangeend2"}));
    EXPECT_EQ(host.notes.notes[0].wParam, 35u);
    EXPECT_EQ(host.notes.Last("valuechangeend").wParam, 55u);
    EXPECT_EQ(host.notes.Last("valuechangeend2").wParam, 60u);

    // Dragged left, the second thumb stays where the first one stopped: no jump.
    host.notes.Clear();
    fake().LeftDown(host.hwnd(), 68, 10);
    fake().MouseMove(host.hwnd(), 0, 10, 0, MK_LBUTTON);
    fake().LeftUp(host.hwnd(), 0, 10);
    EXPECT_EQ(slider->GetValue(), 55);
    EXPECT_EQ(slider->GetValue2(), 60);
    EXPECT_EQ(host.notes.Types(), (Notes{"valuechangebegin2", "valuechangeend2"}));
}

TEST_F(SliderExTest, AClickMovesOnlyTheThumbOnItsSideOfTheMiddle) {
    struct Case { int x, value, value2; Notes notes; };
    const Case cases[] = {
        {30, 25, 100, {"valuechangebegin", "valuechanged", "valuechangeend", "valuechangeend2"}},
        {80, 0, 75, {"valuechangebegin2", "valuechangeend2"}},
        {55, 0, 100, {"valuechangeend2"}},  // the middle itself belongs to neither
    };
    for (const Case& c : cases) {
        slider->SetValue(0);
        slider->SetValue2(100);
        host.notes.Clear();
        Click(c.x);
        EXPECT_EQ(slider->GetValue(), c.value) << "x=" << c.x;
        EXPECT_EQ(slider->GetValue2(), c.value2) << "x=" << c.x;
        EXPECT_EQ(host.notes.Types(), c.notes) << "x=" << c.x;
    }
}

TEST_F(SliderExTest, WithoutASecondPictureTheFirstThumbHasTheWholeTrack) {
    slider->SetThumbImage2("");
    fake().LeftDown(host.hwnd(), 80, 10);
    EXPECT_EQ(slider->GetValue(), 75);
    fake().MouseMove(host.hwnd(), 300, 10, 0, MK_LBUTTON);
    fake().LeftUp(host.hwnd(), 300, 10);
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(slider->GetValue2(), 100);
    EXPECT_EQ(host.notes.Last("valuechangeend").wParam, 100u) << "the main window seeks on it";
    EXPECT_EQ(host.notes.Count("valuechangebegin2"), 0);
    EXPECT_EQ(host.notes.Count("currentmousevaluechanged"), 0) << "no preview while dragging";
}

TEST_F(SliderExTest, HoverPreviewsTheValueAndLeavingSaysSo) {
    fake().MouseMove(host.hwnd(), 55, 10);
    fake().MouseMove(host.hwnd(), 105, 10);
    EXPECT_TRUE(slider->GetButtonState() & UISTATE_HOT);
    fake().MouseLeave(host.hwnd());
    EXPECT_EQ(host.notes.Types(), (Notes{"currentmousevaluechanged", "currentmousevaluechanged", "mouseleave"}));
    EXPECT_EQ(host.notes.notes[0].wParam, 50u);
    EXPECT_EQ(host.notes.notes[1].wParam, 100u);
    EXPECT_FALSE(slider->GetButtonState() & UISTATE_HOT);
}

TEST_F(SliderExTest, PaintsTheSecondThumbAndDropsAPictureThatCannotLoad) {
    slider->SetValue2(50);  // 50..60 × 5..15
    auto surface = fake().Render(host.hwnd());
    ASSERT_TRUE(surface);
    EXPECT_EQ(platform::FakeBackend::PixelAt(surface.get(), 55, 10), 0xFFFF0000u);
    EXPECT_TRUE(slider->HasSecondThumb());

    slider->SetThumbImage2(("file='" + folder.File("missing.png") + "'").c_str());
    fake().Render(host.hwnd());
    EXPECT_FALSE(slider->HasSecondThumb());
}

TEST(SliderTextScale, LabelsSpreadFromMinToMax) {
    using Label = CSliderUIText::ScaleLabel;
    struct Case { int count; float min, max; int width; std::vector<Label> labels; };
    const Case cases[] = {
        {5, 0.0f, 4.0f, 120, {{0, "0.0"}, {25, "1.0"}, {50, "2.0"}, {75, "3.0"}, {100, "4.0"}}},
        {3, -1.0f, 1.0f, 60, {{0, "-1.0"}, {20, "0.0"}, {40, "1.0"}}},
        {1, 2.5f, 9.0f, 120, {{0, "2.5"}}},
        {0, 0.0f, 4.0f, 120, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSliderUIText::ScaleLabels(c.count, c.min, c.max, c.width), c.labels) << "count=" << c.count;
}

class SliderTextTest : public FakePlatformTest {};

TEST_F(SliderTextTest, DefaultsAnEmptyRangeAndTheBackgroundHue) {
    auto* outer = new CVerticalLayoutUI;
    auto* inner = new CVerticalLayoutUI;
    auto* slider = new CSliderUIText;
    outer->SetBkColor(0xFF802020);  // the outermost background gives the hue
    inner->SetBkColor(0xFF204080);
    outer->Add(inner);
    inner->Add(slider);
    ControlHost host;
    host.Open(outer, 120, 30);

    std::vector<std::string> texts;
    for (const auto& label : CSliderUIText::ScaleLabels(slider->GetTextCount(), slider->GetMinText(),
                                                        slider->GetMaxText(), slider->GetWidth()))
        texts.push_back(label.text);
    EXPECT_EQ(texts, (Notes{"0.0", "1.0", "2.0", "3.0", "4.0"}));
    EXPECT_EQ(slider->GetSliderHeight(), 10);

    slider->ApplyAttributeList("min=\"10\" max=\"10\" value=\"10\" thumbsize=\"8,8\" textcolor=\"auto\"");
    EXPECT_TRUE(fake().Render(host.hwnd()));  // paints as the range 10..11, no division by zero
    EXPECT_EQ(CRect(slider->GetBandThumbRect()), CRect(0, 1, 8, 9));

    float h, s, l;
    DWORD color = slider->GetEffectiveTextColor();
    RGBtoHSL(color, &h, &s, &l);
    EXPECT_EQ(color >> 24, 0xFFu);
    EXPECT_NEAR(h, 0.0f, 2.0f);
    EXPECT_NEAR(s, 60.0f, 2.0f);
    EXPECT_NEAR(l, 90.0f, 1.0f);
}

// Three menu buttons in a row, 30 pixels each.
class MenuRowTest : public FakePlatformTest {
protected:
    void SetUp() override {
        auto* row = new CHorizontalLayoutUI;
        for (int i = 0; i < 3; ++i) {
            menus[i] = new CMenuUI;
            menus[i]->SetName(("menu" + std::to_string(i)).c_str());
            menus[i]->SetFixedWidth(30);
            row->Add(menus[i]);
        }
        host.Open(row, 90, 30);
    }
    void TearDown() override {
        CMenuUI::ForgetAll();
        CMenuUI::ResetMenuBarMode();
    }
    bool Shown(int i) const { return menus[i]->IsSelected() && (menus[i]->GetButtonState() & UISTATE_PUSHED); }

    CMenuUI* menus[3] = {};
    ControlHost host;
};

TEST_F(MenuRowTest, HoverHighlightsUntilAClickThenOpensEachMenuInTurn) {
    fake().MouseMove(host.hwnd(), 15, 15);
    fake().MouseMove(host.hwnd(), 45, 15);
    EXPECT_TRUE(menus[1]->GetButtonState() & UISTATE_HOT);
    EXPECT_FALSE(menus[0]->GetButtonState() & UISTATE_HOT);
    EXPECT_EQ(host.notes.Count("showmenu"), 0);

    fake().LeftDown(host.hwnd(), 45, 15);
    fake().LeftUp(host.hwnd(), 45, 15);
    EXPECT_TRUE(CMenuUI::IsMenuBarMode());
    EXPECT_EQ(host.notes.Last("showmenu").sender, menus[1]);
    EXPECT_TRUE(Shown(1));

    fake().MouseMove(host.hwnd(), 75, 15);
    EXPECT_EQ(host.notes.Types(), (Notes{"showmenu", "showmenu"}));
    EXPECT_EQ(host.notes.Last("showmenu").sender, menus[2]);
    EXPECT_TRUE(Shown(2));
    EXPECT_FALSE(menus[1]->IsSelected() || (menus[1]->GetButtonState() & UISTATE_PUSHED));
}

TEST(MenuList, OneButtonPerNameAndNoneOnceDestroyed) {
    auto* older = new CMenuUI;
    auto* newer = new CMenuUI;
    older->SetName("help");
    newer->SetName("help");
    CMenuUI::RememberOpened(older);
    CMenuUI::RememberOpened(newer);
    EXPECT_EQ(CMenuUI::OpenedButtons(), std::vector<CMenuUI*>{newer});
    delete newer;
    EXPECT_TRUE(CMenuUI::OpenedButtons().empty());
    delete older;
}

class ListElementExTest : public FakePlatformTest {};

TEST_F(ListElementExTest, ReportsEnterAndLeaveAndIsNeverSelected) {
    auto* list = new CListUI;
    auto* row = new CListContainerElementUIEx;
    row->SetFixedHeight(20);
    list->Add(row);
    ControlHost host;
    host.Open(list, 100, 60);

    fake().MouseMove(host.hwnd(), 10, 10);
    EXPECT_TRUE(row->GetItemState() & UISTATE_HOT);
    fake().LeftDown(host.hwnd(), 10, 10);
    fake().LeftUp(host.hwnd(), 10, 10);
    fake().MouseMove(host.hwnd(), 10, 50);
    EXPECT_FALSE(row->GetItemState() & UISTATE_HOT);
    EXPECT_FALSE(row->IsSelected());
    EXPECT_EQ(list->GetCurSel(), -1);
    EXPECT_EQ(host.notes.Types(), (Notes{"itemmouseenter", "itemmouseleave"}));
    EXPECT_EQ(host.notes.notes[0].wParam, 3u);
    EXPECT_EQ(host.notes.notes[1].wParam, 0u);
}

TEST(ControlFactory, MakesEachProgramTagAndNothingElse) {
    struct Case { const char* tag; const std::type_info* type; };
    const Case cases[] = {
        {"Media", &typeid(CMediaUI)},           {"ListContainerElementEx", &typeid(CListContainerElementUIEx)},
        {"SliderEx", &typeid(CSliderUIEx)},     {"SliderText", &typeid(CSliderUIText)},
        {"Menu", &typeid(CMenuUI)},             {"HotKey", &typeid(CHotKeyUI)},
        {"Slider", nullptr},                    {"", nullptr},
    };
    CDialogBuilderCallbackEx factory;
    for (const Case& c : cases) {
        std::unique_ptr<CControlUI> control(factory.CreateControl(c.tag));
        if (!c.type) {
            EXPECT_FALSE(control) << c.tag;
            continue;
        }
        ASSERT_TRUE(control) << c.tag;
        EXPECT_TRUE(typeid(*control) == *c.type) << c.tag;
    }
}

}  // namespace
}  // namespace orvella
