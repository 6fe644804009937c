// The fake backend's geometry: rectangles, show states, full screen and the screen itself.
#include <algorithm>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using namespace fake;

bool FakeBackend::GetWindowRect(HWND hwnd, RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w || !rect) return false;
    POINT origin;
    ClientToScreen(hwnd, &origin);
    *rect = Rect(origin.x, origin.y, origin.x + Width(w->rect), origin.y + Height(w->rect));
    return true;
}

bool FakeBackend::GetClientRect(HWND hwnd, RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w || !rect) return false;
    *rect = Rect(0, 0, Width(w->rect), Height(w->rect));
    return true;
}

void FakeBackend::ApplyGeometry(FakeWindow* w, RECT rect, WPARAM sizeType, bool forceSize) {
    RECT old = w->rect;
    WPARAM oldType = w->sizeType;
    w->rect = rect;
    w->sizeType = sizeType;
    bool sized = forceSize || oldType != sizeType || Width(old) != Width(rect) ||
                 Height(old) != Height(rect);
    bool moved = old.left != rect.left || old.top != rect.top;
    if (sized) {
        w->invalid = true;
        w->invalidRect = Rect(0, 0, Width(rect), Height(rect));
        bool iconic = sizeType == SIZE_MINIMIZED;
        Deliver(w, WM_SIZE, sizeType, iconic ? 0 : MAKELPARAM(Width(rect), Height(rect)));
    }
    if (moved && w->alive) Deliver(w, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
}

// Brings the rectangle in line with the state: full screen covers the screen,
// maximised the work area; minimising keeps the rectangle (WM_SIZE reports 0x0).
static RECT TargetRect(const FakeWindow* w, SIZE screen, RECT workArea) {
    if (w->fullscreen) return Rect(0, 0, screen.cx, screen.cy);
    if (w->maximized) return workArea;
    return w->normal;
}

static WPARAM SizeType(const FakeWindow* w) {
    return w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

bool FakeBackend::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                               UINT flags) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) w->topmost = true;
        else if (insertAfter == HWND_NOTOPMOST) w->topmost = false;
    }
    RECT n = w->normal;
    if (!(flags & SWP_NOMOVE)) {
        n = Rect(x, y, x + Width(n), y + Height(n));
    }
    if (!(flags & SWP_NOSIZE)) {
        n.right = n.left + std::max(0, cx);
        n.bottom = n.top + std::max(0, cy);
    }
    // Like a window manager, a maximised or full-screen window keeps its place and the
    // new rectangle becomes the one it restores to.
    w->normal = n;
    ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    if (w->alive && (flags & SWP_SHOWWINDOW)) {
        SetVisible(w, true);
        if (!(flags & SWP_NOACTIVATE)) Activate(w);
    }
    if (w->alive && (flags & SWP_HIDEWINDOW)) SetVisible(w, false);
    return true;
}

void FakeBackend::SetVisible(FakeWindow* w, bool visible) {
    if (!visible) {
        // Hiding a window ends a capture held inside its top-level window.
        auto top = [](FakeWindow* x) {
            while (x && x->parent) x = x->parent;
            return x;
        };
        FakeWindow* c = Live(capture_);
        if (c && top(c) == top(w)) ReleaseCapture();
    }
    if (w->visible == visible) return;
    w->visible = visible;
    Deliver(w, WM_SHOWWINDOW, visible ? 1 : 0, 0);
}

void FakeBackend::Activate(FakeWindow* w) {
    // Popups (menus) never take the focus from their owner, as with the GTK backend.
    if (!w->alive || w->parent || (w->style & WS_POPUP)) return;
    for (FakeWindow* f = Live(focus_); f; f = f->parent)
        if (f == w) return;  // focus already inside
    SetFocus(H(w));
}

bool FakeBackend::ShowWindow(HWND hwnd, int cmd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    bool wasVisible = w->visible;
    bool activate = false;
    switch (cmd) {
    case SW_HIDE:
        SetVisible(w, false);
        return wasVisible;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (w->minimized) w->minimized = false;  // back to what it was, maximised or not
        else w->maximized = false;
        activate = true;
        break;
    case SW_SHOWMAXIMIZED:
        w->maximized = true;
        w->minimized = false;
        activate = true;
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        w->minimized = true;
        break;
    case SW_SHOW:
        activate = true;
        break;
    default:  // SW_SHOWNOACTIVATE, SW_SHOWNA
        break;
    }
    SetVisible(w, true);
    if (w->alive) ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    if (activate && w->alive) Activate(w);
    return wasVisible;
}

bool FakeBackend::IsWindowVisible(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    for (; w; w = w->parent)
        if (!w->visible) return false;
    return true;
}

bool FakeBackend::IsZoomed(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->maximized && !w->minimized;
}

bool FakeBackend::IsIconic(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->minimized;
}

bool FakeBackend::IsTopmost(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->topmost;
}

bool FakeBackend::SetFullScreen(HWND hwnd, bool on) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->fullscreen = on;
    ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    return true;
}

bool FakeBackend::IsFullScreen(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->fullscreen;
}

bool FakeBackend::ClientToScreen(HWND hwnd, POINT* pt) {
    FakeWindow* w = Live(hwnd);
    if (!w || !pt) return false;
    for (; w; w = w->parent) {
        pt->x += w->rect.left;
        pt->y += w->rect.top;
    }
    return true;
}

bool FakeBackend::ScreenToClient(HWND hwnd, POINT* pt) {
    if (!pt) return false;
    POINT origin;
    if (!ClientToScreen(hwnd, &origin)) return false;
    pt->x -= origin.x;
    pt->y -= origin.y;
    return true;
}

bool FakeBackend::SetWindowRegion(HWND hwnd, const WindowRegion& region) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->region = region;
    return true;
}

WindowRegion FakeBackend::GetWindowRegion(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->region : WindowRegion();
}

RECT FakeBackend::GetWorkArea(HWND) { return workArea_; }
SIZE FakeBackend::GetScreenSize() { return screen_; }
int FakeBackend::GetScaleFactor(HWND) { return scale_; }

unsigned long FakeBackend::GetNativeWindowId(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? 0x2000000UL + static_cast<unsigned long>(w->serial) : 0;
}

void FakeBackend::SetScreenSize(int width, int height) {
    screen_.cx = std::max(0, width);
    screen_.cy = std::max(0, height);
    SetWorkArea(Rect(0, 0, screen_.cx, screen_.cy));
}

void FakeBackend::SetWorkArea(const RECT& area) {
    workArea_ = area;
    // The window manager refits maximised and full-screen windows.
    for (auto& w : impl_->windows)
        if (w->alive && !w->parent && (w->maximized || w->fullscreen))
            ApplyGeometry(w.get(), TargetRect(w.get(), screen_, workArea_), SizeType(w.get()), false);
}

void FakeBackend::SetScaleFactor(int factor) { scale_ = std::max(1, factor); }

}  // namespace platform
