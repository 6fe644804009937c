#include <gtest/gtest.h>

#include "tests/uilib/ControlTestHost.h"
#include "uilib/controls/Slider.h"

using namespace uilib;

namespace {

// A 110×20 horizontal slider, range 0..100, 10×10 thumb: the track for the thumb's
// centre runs from x=5 to x=105, one value per pixel.
class SliderTest : public FakePlatformTest {
protected:
    void SetUp() override {
        slider = new CSliderUI;
        slider->SetThumbSize(SIZE{10, 10});
        slider->SetMinValue(0);
        slider->SetMaxValue(100);
        host.Open(slider, 110, 20);
        ASSERT_EQ(CRect(slider->GetPos()), CRect(0, 0, 110, 20));
    }
    HWND hwnd() { return host.hwnd(); }

    CSliderUI* slider = nullptr;
    ControlHost host;
};

TEST_F(SliderTest, ValueFromPointCoversBothEndsAndMiddle) {
    struct Case { int x; int value; };
    const Case cases[] = {{-20, 0}, {0, 0}, {5, 0}, {6, 1}, {55, 50}, {104, 99}, {105, 100}, {300, 100}};
    for (const Case& c : cases) {
        EXPECT_EQ(slider->ValueFromPoint(POINT{c.x, 10}), c.value) << "x=" << c.x;
    }
}

TEST_F(SliderTest, VerticalSliderMeasuresFromTheBottom) {
    slider->SetHorizontal(false);
    slider->SetPos(RECT{0, 0, 20, 110});
    EXPECT_EQ(slider->ValueFromPoint(POINT{10, 105}), 0);
    EXPECT_EQ(slider->ValueFromPoint(POINT{10, 55}), 50);
    EXPECT_EQ(slider->ValueFromPoint(POINT{10, 5}), 100);
    slider->SetValue(100);
    EXPECT_EQ(slider->GetThumbRect().top, 0);
}

TEST_F(SliderTest, ThumbRectFollowsTheValue) {
    slider->SetValue(0);
    EXPECT_EQ(CRect(slider->GetThumbRect()), CRect(0, 5, 10, 15));
    slider->SetValue(50);
    EXPECT_EQ(CRect(slider->GetThumbRect()), CRect(50, 5, 60, 15));
    slider->SetValue(100);
    EXPECT_EQ(CRect(slider->GetThumbRect()), CRect(100, 5, 110, 15));
    slider->SetValue(250);  // clamped
    EXPECT_EQ(slider->GetValue(), 100);
}

TEST_F(SliderTest, PressJumpsDragFollowsReleaseNotifiesOnce) {
    fake().LeftDown(hwnd(), 30, 10);
    EXPECT_EQ(slider->GetValue(), 25);
    EXPECT_TRUE(slider->GetButtonState() & UISTATE_CAPTURED);
    EXPECT_EQ(host.notes.Count("valuechanged"), 0) << "nothing is sent while the button is held";

    fake().MouseMove(hwnd(), 80, 10, 0, MK_LBUTTON);
    EXPECT_EQ(slider->GetValue(), 75);
    fake().MouseMove(hwnd(), 500, 40, 0, MK_LBUTTON);  // outside: still captured
    EXPECT_EQ(slider->GetValue(), 100);
    fake().MouseMove(hwnd(), 60, 10, 0, MK_LBUTTON);
    fake().LeftUp(hwnd(), 60, 10);

    EXPECT_FALSE(slider->GetButtonState() & UISTATE_CAPTURED);
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"valuechanged", "valuechangeend"}));
    EXPECT_EQ(host.notes.Last("valuechanged").wParam, 55u);
    EXPECT_EQ(host.notes.Last("valuechangeend").wParam, 55u);
    EXPECT_EQ(host.notes.Last("valuechangeend").sender, slider);
}

TEST_F(SliderTest, PressOnTheThumbKeepsTheValue) {
    slider->SetValue(40);
    fake().LeftDown(hwnd(), 47, 10);  // inside the thumb (40..50), off its centre
    EXPECT_EQ(slider->GetValue(), 40);
    fake().LeftUp(hwnd(), 47, 10);
    EXPECT_EQ(host.notes.Count("valuechangeend"), 1);
}

TEST_F(SliderTest, MovesWithoutPressOnlyTrackHotState) {
    fake().MouseMove(hwnd(), 80, 10);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_TRUE(host.notes.notes.empty());
}

TEST_F(SliderTest, WheelStepsTheValueAndNotifies) {
    slider->SetChangeStep(5);
    slider->SetValue(50);
    fake().Wheel(hwnd(), 50, 10, WHEEL_DELTA);
    EXPECT_EQ(slider->GetValue(), 55);
    fake().Wheel(hwnd(), 50, 10, -WHEEL_DELTA);
    fake().Wheel(hwnd(), 50, 10, -WHEEL_DELTA);
    EXPECT_EQ(slider->GetValue(), 45);
    EXPECT_EQ(host.notes.Count("valuechanged"), 3);
    EXPECT_EQ(host.notes.Count("valuechangeend"), 0);
}

TEST_F(SliderTest, DisabledSliderIgnoresTheMouse) {
    slider->SetEnabled(false);
    fake().LeftDown(hwnd(), 80, 10);
    fake().LeftUp(hwnd(), 80, 10);
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_TRUE(host.notes.notes.empty());
}

TEST_F(SliderTest, EmptyRangeDoesNotDivideByZero) {
    slider->SetMinValue(10);
    slider->SetMaxValue(10);
    EXPECT_EQ(slider->ValueFromPoint(POINT{55, 10}), 10);
    RECT thumb = slider->GetThumbRect();
    EXPECT_EQ(thumb.left, 0);
    EXPECT_TRUE(fake().Render(hwnd()) != nullptr);
}

}  // namespace
