// Where a menu window goes and which row the keyboard moves to: pure rules over
// rectangles and row flags, so that they are tested without windows.
#pragma once

#include <vector>

#include "uilib/Base.h"

namespace orvella {

// The wanted rectangle moved inside the work area: pushed up (or to the top when taller
// than the area) and pushed left (or to the left edge when wider). Size kept.
RECT KeepInWorkArea(const RECT& wanted, const RECT& work);

struct MenuPlacement {
    RECT rect{};
    bool openedLeft = false;  // the menu grows leftwards; its submenus follow
    bool scroll = false;      // height was cut to the work area: the list must scroll
};

// A drop-down menu below its button (anchor: the button's bottom-left corner, screen).
// Near the right edge it opens to the left so that its right edge meets the button's.
MenuPlacement PlaceDropDown(POINT anchor, int buttonWidth, SIZE menu, const RECT& work);

// A submenu beside its item (anchor: the item's top-left corner, screen). parentWidth is
// the width of the menu holding the item, itemWidth the item's own width.
MenuPlacement PlaceSubmenu(POINT anchor, int itemWidth, int parentWidth, SIZE menu,
                           bool parentOpenedLeft, const RECT& work);

// A context menu with its top-left corner at the cursor, kept inside the work area.
RECT PlaceContextMenu(POINT cursor, SIZE menu, const RECT& work);

// The tray menu: right edge at the cursor, bottom on the work area's bottom (above the
// panel), kept inside the work area; below a panel along the top edge, its top on the
// work area's top.
RECT PlaceTrayMenu(POINT cursor, SIZE menu, const RECT& work);

// Keys a menu moves its highlight with.
enum class MenuMove { Up, Down, Home, End };

// The row the highlight goes to from current (-1: none) over rows that can be chosen
// (disabled rows and separators cannot). Up and Down wrap around; -1 when no row can be.
int MoveMenuHighlight(const std::vector<bool>& choosable, int current, MenuMove move);

}  // namespace orvella
