// The menu window: where menus go, how the highlight moves, and the window itself on the
// headless platform, opened the way the main window opens it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/MenuPlacement.h"

namespace orvella {
namespace {

std::string Text(const RECT& r) {
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}
bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const RECT kWork{0, 0, 1920, 1040};  // a panel of 40 pixels below

TEST(MenuPlacementRules, DropDownOpensBelowOrLeftOfItsButton) {
    struct Case {
        const char* what;
        POINT anchor;
        int buttonWidth;
        SIZE menu;
        RECT expected;
        bool left;
    } cases[] = {
        {"room on the right", {100, 36}, 34, {220, 300}, {100, 36, 320, 336}, false},
        {"right edge: ends at the button's right", {1800, 36}, 34, {220, 300}, {1614, 36, 1834, 336}, true},
        {"exactly fits", {1700, 36}, 34, {220, 300}, {1700, 36, 1920, 336}, false},
        {"too low: lifted", {100, 900}, 34, {220, 300}, {100, 740, 320, 1040}, false},
        {"taller than the area: at its top", {100, 900}, 34, {220, 1200}, {100, 0, 320, 1200}, false},
    };
    for (const Case& c : cases) {
        MenuPlacement p = PlaceDropDown(c.anchor, c.buttonWidth, c.menu, kWork);
        EXPECT_TRUE(Same(p.rect, c.expected)) << c.what << ": " << Text(p.rect);
        EXPECT_EQ(p.openedLeft, c.left) << c.what;
    }
}

TEST(MenuPlacementRules, SubmenuBesideItsItemAndFollowsItsParent) {
    struct Case {
        const char* what;
        POINT anchor;
        bool parentLeft;
        SIZE menu;
        RECT expected;
        bool left;
        bool scroll;
    } cases[] = {
        // item 220 wide in a 220-wide menu: the submenu overlaps the border by 2
        {"right of the parent", {100, 80}, false, {200, 150}, {318, 80, 518, 230}, false, false},
        {"no room right: left of the item", {1600, 80}, false, {200, 150}, {1401, 80, 1601, 230}, true, false},
        {"parent opened left: left too", {600, 80}, true, {200, 150}, {401, 80, 601, 230}, true, false},
        {"left of a menu at the left edge stays on screen", {50, 80}, true, {200, 150}, {0, 80, 200, 230}, true, false},
        {"too low: lifted", {100, 1000}, false, {200, 150}, {318, 890, 518, 1040}, false, false},
        {"taller than the area: scrolls", {100, 500}, false, {200, 1500}, {318, 0, 518, 1040}, false, true},
    };
    for (const Case& c : cases) {
        MenuPlacement p = PlaceSubmenu(c.anchor, 220, 220, c.menu, c.parentLeft, kWork);
        EXPECT_TRUE(Same(p.rect, c.expected)) << c.what << ": " << Text(p.rect);
        EXPECT_EQ(p.openedLeft, c.left) << c.what;
        EXPECT_EQ(p.scroll, c.scroll) << c.what;
    }
}

TEST(MenuPlacementRules, ContextAndTrayMenusStayInsideTheWorkArea) {
    const SIZE menu{200, 240};
    struct Case {
        const char* what;
        bool tray;
        POINT cursor;
        RECT expected;
    } cases[] = {
        {"context: top-left at the cursor", false, {500, 400}, {500, 400, 700, 640}},
        {"context near the right edge", false, {1850, 400}, {1720, 400, 1920, 640}},
        {"context near the bottom", false, {500, 1000}, {500, 800, 700, 1040}},
        {"context in the corner", false, {1919, 1039}, {1720, 800, 1920, 1040}},
        {"tray: right edge at the cursor, above the panel", true, {1700, 1060}, {1500, 800, 1700, 1040}},
        {"tray at the far left", true, {50, 1060}, {0, 800, 200, 1040}},
    };
    for (const Case& c : cases) {
        RECT r = c.tray ? PlaceTrayMenu(c.cursor, menu, kWork) : PlaceContextMenu(c.cursor, menu, kWork);
        EXPECT_TRUE(Same(r, c.expected)) << c.what << ": " << Text(r);
    }
    // A work area that does not start at 0 (a panel on top, a second monitor).
    EXPECT_TRUE(Same(PlaceContextMenu({10, 5}, menu, RECT{0, 30, 1920, 1080}), RECT{10, 30, 210, 270}));
}

TEST(MenuPlacementRules, HighlightSkipsRowsThatCannotBeChosen) {
    // rows: item, separator, disabled, item, item, separator
    const std::vector<bool> rows{true, false, false, true, true, false};
    struct Case {
        int from;
        MenuMove move;
        int expected;
    } cases[] = {
        {-1, MenuMove::Down, 0}, {0, MenuMove::Down, 3}, {3, MenuMove::Down, 4},
        {4, MenuMove::Down, 0},  // wraps
        {-1, MenuMove::Up, 4},   {3, MenuMove::Up, 0}, {0, MenuMove::Up, 4},
        {4, MenuMove::Home, 0},  {0, MenuMove::End, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveMenuHighlight(rows, c.from, c.move), c.expected)
            << "from " << c.from << " move " << static_cast<int>(c.move);
    }
    EXPECT_EQ(MoveMenuHighlight({false, false}, -1, MenuMove::Down), -1);
    EXPECT_EQ(MoveMenuHighlight({}, -1, MenuMove::End), -1);
}

}  // namespace
}  // namespace orvella
