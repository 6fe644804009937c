// What a window handle points to in the GTK backend. Internal to platform/gtk.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace gtk {
class GtkBackend;
}
}  // namespace platform

struct NativeWindow {
    platform::gtk::GtkBackend* backend = nullptr;
    uint64_t serial = 0;  // unique per window for the life of the process
    std::string className, title;
    DWORD style = 0, exStyle = 0;
    WNDPROC proc = nullptr;
    void* userData = nullptr;
    HWND parent = nullptr;  // a child's parent, or a top-level's owner
    std::vector<HWND> children;  // child windows, and for owners their owned windows

    bool isChild = false;  // WS_CHILD: a native child window inside the parent
    bool isPopup = false;  // WS_POPUP: menus and tooltips, not managed by the window manager
    GtkWidget* window = nullptr;   // the GtkWindow of a top-level or popup
    GtkWidget* surface = nullptr;  // GtkLayout we draw on and take input from; holds children
    unsigned long engineSurface = 0;  // children: the X window the engine draws into

    // Window rectangle: screen coordinates for top-levels, parent client ones for children.
    RECT rect;
    bool visible = false;
    bool maximized = false, iconified = false, fullscreen = false, topmost = false;
    bool destroying = false;
    // Top-levels: whether the X server has the window on screen, and the follow-up that
    // repeats a map request the window manager has left unanswered.
    bool mapped = false;
    bool activateOnMap = false;  // given the focus before the manager mapped it
    guint mapFollowUp = 0;
    int mapRequests = 0;
    int lastClientWidth = -1, lastClientHeight = -1;  // what WM_SIZE last reported
    int lastX = INT32_MIN, lastY = INT32_MIN;          // what WM_MOVE last reported
    WPARAM lastSizeState = SIZE_RESTORED;

    std::map<UINT_PTR, guint> timers;  // timer id -> GLib source id
    WindowRegion region;
    int sizeHints = 0;  // the size limits last given to the window manager
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;

    HWND focusChild = nullptr;  // top-levels: the window in it that gets the keyboard
    bool trackLeave = false;    // one WM_MOUSELEAVE wanted
    cairo_t* paintContext = nullptr;  // set while WM_PAINT runs from the draw signal
    RECT paintRect;

    GtkIMContext* inputMethod = nullptr;
    bool inputMethodOn = false;
};

namespace platform {
namespace gtk {

// The GdkWindow a window draws on and takes input from; nullptr until it is realised.
inline GdkWindow* SurfaceWindow(HWND hwnd) {
    if (!hwnd->surface || !gtk_widget_get_realized(hwnd->surface)) return nullptr;
    return gtk_layout_get_bin_window(GTK_LAYOUT(hwnd->surface));
}

inline LONG Width(const RECT& r) { return r.right - r.left; }
inline LONG Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace gtk
}  // namespace platform
