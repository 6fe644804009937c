#include <gtest/gtest.h>

#include "tests/TestPlatform.h"
#include "uilib/controls/ScrollBar.h"

using namespace uilib;

namespace {

TEST(ScrollBarTest, ThumbSizeAndPositionFollowRangeAndPosition) {
    // A 10×200 vertical bar; the page is the bar's length unless set.
    struct Case { int range; int pos; bool buttons; RECT thumb; };
    const Case cases[] = {
        {0, 0, false, {0, 0, 10, 200}},      // nothing to scroll: the whole track
        {200, 0, false, {0, 0, 10, 100}},    // half the content visible: half the track
        {200, 100, false, {0, 50, 10, 150}},
        {200, 200, false, {0, 100, 10, 200}},
        {200, 500, false, {0, 100, 10, 200}},  // clamped to the range
        {100000, 0, false, {0, 0, 10, 16}},  // never thinner than the minimum
        {180, 90, true, {0, 53, 10, 147}},   // arrows take 10 px at each end
    };
    for (const Case& c : cases) {
        CScrollBarUI bar;
        bar.SetShowButton1(c.buttons);
        bar.SetShowButton2(c.buttons);
        bar.SetPos(RECT{0, 0, 10, 200});
        bar.SetScrollRange(c.range);
        bar.SetScrollPos(c.pos);
        EXPECT_EQ(CRect(bar.GetThumbRect()), CRect(c.thumb)) << "range " << c.range << " pos " << c.pos;
    }
}

TEST(ScrollBarTest, HorizontalBarUsesTheWidth) {
    CScrollBarUI bar;
    bar.SetHorizontal(true);
    EXPECT_EQ(bar.GetFixedHeight(), 10);
    bar.SetPos(RECT{0, 0, 300, 10});
    bar.SetScrollRange(300);
    bar.SetScrollPos(300);
    EXPECT_EQ(CRect(bar.GetThumbRect()), CRect(150, 0, 300, 10));
}

TEST(ScrollBarTest, DragTrackAndArrowsMoveAStandaloneBar) {
    ScopedFakeBackend fake;
    CScrollBarUI bar;
    bar.SetShowButton1(true);
    bar.SetShowButton2(true);
    bar.SetPos(RECT{0, 0, 10, 220});
    bar.SetScrollRange(200);
    bar.SetLineSize(7);
    bar.SetPageSize(200);
    auto send = [&](int type, int y) {
        TEventUI e;
        e.Type = type;
        e.pSender = &bar;
        e.ptMouse = POINT{5, y};
        bar.Event(e);
    };
    // Track 10..210 (200 px), thumb 100 px: 100 px of travel for 200 of range.
    RECT thumb = bar.GetThumbRect();
    send(UIEVENT_BUTTONDOWN, thumb.top + 5);
    EXPECT_TRUE(bar.GetThumbState() & UISTATE_PUSHED);
    send(UIEVENT_MOUSEMOVE, thumb.top + 30);
    EXPECT_EQ(bar.GetScrollPos(), 50);
    send(UIEVENT_BUTTONUP, thumb.top + 30);
    EXPECT_FALSE(bar.GetThumbState() & UISTATE_PUSHED);

    send(UIEVENT_BUTTONDOWN, 215);  // the down arrow
    send(UIEVENT_BUTTONUP, 215);
    EXPECT_EQ(bar.GetScrollPos(), 57);
    send(UIEVENT_BUTTONDOWN, 5);    // the up arrow
    send(UIEVENT_BUTTONUP, 5);
    EXPECT_EQ(bar.GetScrollPos(), 50);
    send(UIEVENT_BUTTONDOWN, 205);  // the track below the thumb: a page
    send(UIEVENT_BUTTONUP, 205);
    EXPECT_EQ(bar.GetScrollPos(), 200);
}

TEST(ScrollBarTest, WheelDirectionReadsBothEncodings) {
    TEventUI e;
    e.wParam = static_cast<WPARAM>(MAKELPARAM(0, 120));
    EXPECT_EQ(CScrollBarUI::WheelDirection(e), -1);
    e.wParam = static_cast<WPARAM>(MAKELPARAM(1, -120));
    EXPECT_EQ(CScrollBarUI::WheelDirection(e), 1);
    e.wParam = 1;  // SB_LINEDOWN alone
    EXPECT_EQ(CScrollBarUI::WheelDirection(e), 1);
    e.wParam = 0;
    EXPECT_EQ(CScrollBarUI::WheelDirection(e), -1);
}

}  // namespace
