#include "platform/gtk/EngineSurface.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <algorithm>

namespace platform {
namespace gtk {

unsigned long CreateEngineSurface(GdkWindow* host, int width, int height) {
    if (!host || !GDK_IS_X11_WINDOW(host) || !gdk_window_ensure_native(host)) return 0;
    Display* display = GDK_WINDOW_XDISPLAY(host);
    XSetWindowAttributes attributes{};
    // Opaque black, in a visual with an alpha channel too.
    attributes.background_pixel = gdk_visual_get_depth(gdk_window_get_visual(host)) == 32 ? 0xFF000000ul : 0ul;
    attributes.border_pixel = 0;
    attributes.bit_gravity = ForgetGravity;  // a resize clears it rather than keep a corner
    // The pointer and keys pass through to the surface around it, which takes our input
    // (the engine is started with -nomouseinput and selects none of them here).
    const int scale = gdk_window_get_scale_factor(host);
    const Window window =
        XCreateWindow(display, GDK_WINDOW_XID(host), 0, 0, std::max(width * scale, 1), std::max(height * scale, 1), 0,
                      CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWBorderPixel | CWBitGravity,
                      &attributes);
    XMapWindow(display, window);
    XFlush(display);
    return window;
}

void ResizeEngineSurface(GdkWindow* host, unsigned long surface, int width, int height) {
    if (!host || !surface || !GDK_IS_X11_WINDOW(host)) return;
    // X counts device pixels; GDK's sizes are scaled ones.
    const int scale = gdk_window_get_scale_factor(host);
    XResizeWindow(GDK_WINDOW_XDISPLAY(host), surface, std::max(width * scale, 1), std::max(height * scale, 1));
}

void ClearEngineSurface(GdkWindow* host, unsigned long surface) {
    if (!host || !surface || !GDK_IS_X11_WINDOW(host)) return;
    XClearArea(GDK_WINDOW_XDISPLAY(host), surface, 0, 0, 0, 0, True);
    XFlush(GDK_WINDOW_XDISPLAY(host));
}

}  // namespace gtk
}  // namespace platform
