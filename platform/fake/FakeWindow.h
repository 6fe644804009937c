// The fake backend's record of one window (private to platform/fake). Records are kept
// until the backend goes, so a handle is never reused and a dead one stays recognisable.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/fake/FakeBackend.h"

namespace platform {

struct FakeWindow {
    uint64_t serial = 0;
    bool alive = true, destroying = false;
    WNDPROC proc = nullptr;
    void* userData = nullptr;
    std::string className, title, icon;
    DWORD style = 0, exStyle = 0;
    FakeWindow* parent = nullptr;  // WS_CHILD windows
    FakeWindow* owner = nullptr;   // top-level windows
    std::vector<FakeWindow*> children;
    RECT normal;  // the restored rectangle (parent client coords for children, else screen)
    RECT rect;    // the current rectangle, same coordinates
    WPARAM sizeType = SIZE_RESTORED;
    bool visible = false, maximized = false, minimized = false, fullscreen = false,
         topmost = false;
    WindowRegion region;
    bool invalid = false;
    RECT invalidRect;
    cairo_surface_t* paintSurface = nullptr;  // set while Render sends WM_PAINT
    CursorShape cursor = CursorShape::Arrow;
    bool trackLeave = false;
    FakeBackend::InputMethodState ime;
    std::vector<FakeBackend::LoggedMessage> log;
};

}  // namespace platform
