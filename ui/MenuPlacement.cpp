#include "ui/MenuPlacement.h"

namespace orvella {

namespace {
int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
RECT At(int x, int y, SIZE size) { return RECT{x, y, x + size.cx, y + size.cy}; }
}  // namespace

RECT KeepInWorkArea(const RECT& wanted, const RECT& work) {
    RECT r = wanted;
    const int w = Width(r), h = Height(r);
    if (r.bottom > work.bottom) r.top = h <= Height(work) ? work.bottom - h : work.top;
    if (r.right > work.right) r.left = w <= Width(work) ? work.right - w : work.left;
    // A context menu at a point left of or above a second monitor's area comes back too.
    if (r.top < work.top) r.top = work.top;
    if (r.left < work.left) r.left = work.left;
    r.right = r.left + w;
    r.bottom = r.top + h;
    return r;
}

MenuPlacement PlaceDropDown(POINT anchor, int buttonWidth, SIZE menu, const RECT& work) {
    MenuPlacement p;
    int x = anchor.x;
    if (x + menu.cx > work.right) {
        x = anchor.x - menu.cx + buttonWidth;
        p.openedLeft = true;
    }
    p.rect = KeepInWorkArea(At(x, anchor.y, menu), work);
    return p;
}

MenuPlacement PlaceSubmenu(POINT anchor, int itemWidth, int parentWidth, SIZE menu,
                           bool parentOpenedLeft, const RECT& work) {
    MenuPlacement p;
    p.openedLeft = parentOpenedLeft;
    int x;
    if (parentOpenedLeft) {
        x = anchor.x + 1 - menu.cx;
    } else if (anchor.x + parentWidth + menu.cx > work.right) {
        p.openedLeft = true;
        x = anchor.x + 1 - menu.cx;
    } else {
        x = anchor.x + parentWidth - 2;
    }
    if (x + menu.cx > work.right) {
        x = x - menu.cx + itemWidth;
        p.openedLeft = true;
    }
    // Opening leftwards must not leave the area on the left either: then the submenu
    // lies over its parent rather than off screen.
    if (x < work.left) x = work.left;
    int h = menu.cy;
    // A list taller than the whole area scrolls inside it; a shorter one that does not
    // fit below its item is lifted (KeepInWorkArea).
    if (h > Height(work)) {
        h = Height(work);
        p.scroll = true;
    }
    p.rect = KeepInWorkArea(RECT{x, anchor.y, x + menu.cx, anchor.y + h}, work);
    return p;
}

RECT PlaceContextMenu(POINT cursor, SIZE menu, const RECT& work) {
    return KeepInWorkArea(At(cursor.x, cursor.y, menu), work);
}

RECT PlaceTrayMenu(POINT cursor, SIZE menu, const RECT& work) {
    // A panel along the top edge (the cursor in the upper half): the menu hangs below it.
    const bool panelOnTop = cursor.y < work.top + (work.bottom - work.top) / 2;
    const LONG top = panelOnTop ? work.top : work.bottom - menu.cy;
    return KeepInWorkArea(At(cursor.x - menu.cx, top, menu), work);
}

int MoveMenuHighlight(const std::vector<bool>& choosable, int current, MenuMove move) {
    const int n = static_cast<int>(choosable.size());
    auto ok = [&](int i) { return i >= 0 && i < n && choosable[static_cast<size_t>(i)]; };
    switch (move) {
    case MenuMove::Home:
        for (int i = 0; i < n; ++i) if (ok(i)) return i;
        return -1;
    case MenuMove::End:
        for (int i = n - 1; i >= 0; --i) if (ok(i)) return i;
        return -1;
    case MenuMove::Down:
    case MenuMove::Up: {
        const int step = move == MenuMove::Down ? 1 : -1;
        // From no highlight, Down starts at the top and Up at the bottom.
        int i = current < 0 || current >= n ? (step > 0 ? -1 : n) : current;
        for (int k = 0; k < n; ++k) {
            i = (i + step + n) % n;
            if (ok(i)) return i;
        }
        return -1;
    }
    }
    return -1;
}

}  // namespace orvella
