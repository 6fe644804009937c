// The GTK backend's geometry: rectangles, show states, full screen, window shapes, the
// work area and the scale factor.
#include "platform/gtk/GtkBackend.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#undef CursorShape  // X.h's constant, not our enum

#include <algorithm>

#include "platform/gtk/EngineSurface.h"
#include "platform/gtk/GtkInput.h"
#include "platform/gtk/NativeWindow.h"
#include "platform/gtk/WindowShape.h"

namespace platform {
namespace gtk {
namespace {

GdkMonitor* MonitorFor(GdkWindow* window) {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = window ? gdk_display_get_monitor_at_window(display, window) : nullptr;
    if (!monitor) monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

}  // namespace

bool GtkBackend::GetWindowRect(HWND hwnd, RECT* rect) {
    if (!IsWindow(hwnd) || !rect) return false;
    if (!hwnd->isChild) {
        *rect = hwnd->rect;
        return true;
    }
    POINT origin;
    ClientToScreen(hwnd->parent, &origin);
    *rect = {origin.x + hwnd->rect.left, origin.y + hwnd->rect.top, origin.x + hwnd->rect.right,
             origin.y + hwnd->rect.bottom};
    return true;
}

bool GtkBackend::GetClientRect(HWND hwnd, RECT* rect) {
    if (!IsWindow(hwnd) || !rect) return false;
    *rect = {0, 0, Width(hwnd->rect), Height(hwnd->rect)};
    return true;
}

bool GtkBackend::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!IsWindow(hwnd)) return false;
    if (!(flags & SWP_NOZORDER) && hwnd->window &&
        (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)) {
        hwnd->topmost = insertAfter == HWND_TOPMOST;
        hwnd->exStyle = hwnd->topmost ? (hwnd->exStyle | WS_EX_TOPMOST) : (hwnd->exStyle & ~WS_EX_TOPMOST);
        gtk_window_set_keep_above(GTK_WINDOW(hwnd->window), hwnd->topmost);
    }
    RECT r = hwnd->rect;
    if (!(flags & SWP_NOMOVE)) r = {x, y, x + Width(r), y + Height(r)};
    if (!(flags & SWP_NOSIZE)) r.right = r.left + std::max(cx, 0), r.bottom = r.top + std::max(cy, 0);
    const bool moved = r.left != hwnd->rect.left || r.top != hwnd->rect.top;
    const bool sized = Width(r) != Width(hwnd->rect) || Height(r) != Height(hwnd->rect);
    hwnd->rect = r;
    if (hwnd->isChild) {
        if (moved) gtk_layout_move(GTK_LAYOUT(hwnd->parent->surface), hwnd->surface, r.left, r.top);
        if (sized) gtk_widget_set_size_request(hwnd->surface, std::max<int>(Width(r), 1), std::max<int>(Height(r), 1));
        // GTK allocates at its next layout pass, but another program draws into this
        // window and follows its size (the engine reads it at start and on each change):
        // give the native windows their place at once, and make sure the X server has it.
        if (moved || sized) {
            GdkWindow* native = gtk_widget_get_window(hwnd->surface);
            GdkWindow* surface = SurfaceWindow(hwnd);
            if (native && surface && gdk_window_has_native(native)) {
                const int width = std::max<int>(Width(r), 1), height = std::max<int>(Height(r), 1);
                gdk_window_move_resize(native, r.left, r.top, width, height);
                gdk_window_resize(surface, width, height);
            }
            if (surface) {
                ResizeEngineSurface(surface, hwnd->engineSurface, Width(r), Height(r));
                gdk_display_flush(gdk_window_get_display(surface));
            }
        }
        if (moved) Moved(hwnd, r.left, r.top);
        if (sized && IsWindow(hwnd)) SizeChanged(hwnd, Width(r), Height(r), SIZE_RESTORED);
    } else {
        // Top-levels hear back through configure-event, as the window manager decides.
        if (moved) gtk_window_move(GTK_WINDOW(hwnd->window), r.left, r.top);
        if (sized) gtk_window_resize(GTK_WINDOW(hwnd->window), std::max<int>(Width(r), 1), std::max<int>(Height(r), 1));
    }
    if (!IsWindow(hwnd)) return true;
    if (flags & SWP_SHOWWINDOW) SetVisible(hwnd, true, !(flags & SWP_NOACTIVATE));
    else if (flags & SWP_HIDEWINDOW) SetVisible(hwnd, false, false);
    return true;
}

void GtkBackend::SetVisible(HWND hwnd, bool visible, bool activate) {
    if (!IsWindow(hwnd)) return;
    const bool changed = visible != hwnd->visible;
    hwnd->visible = visible;
    if (!visible && input_->GetCapture() && TopLevelOf(input_->GetCapture()) == TopLevelOf(hwnd))
        input_->ReleaseCapture();
    if (hwnd->window) {
        if (visible) {
            gtk_window_set_focus_on_map(GTK_WINDOW(hwnd->window), activate && !hwnd->isPopup);
            gtk_window_move(GTK_WINDOW(hwnd->window), hwnd->rect.left, hwnd->rect.top);
            gtk_widget_show(hwnd->window);
            if (!hwnd->isPopup) FollowMapRequest(hwnd);
        } else {
            StopMapFollowUp(hwnd);
            gtk_widget_hide(hwnd->window);
        }
    } else {
        gtk_widget_set_visible(hwnd->surface, visible);
    }
    if (changed) SendMessage(hwnd, WM_SHOWWINDOW, visible, 0);
}

bool GtkBackend::ShowWindow(HWND hwnd, int cmd) {
    if (!IsWindow(hwnd)) return false;
    const bool wasVisible = hwnd->visible;
    GtkWindow* window = hwnd->window ? GTK_WINDOW(hwnd->window) : nullptr;
    switch (cmd) {
    case SW_HIDE:
        SetVisible(hwnd, false, false);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
        SetVisible(hwnd, true, false);
        if (window) gtk_window_iconify(window), hwnd->iconified = true;
        break;
    case SW_MAXIMIZE:
        SetVisible(hwnd, true, true);
        if (window) gtk_window_maximize(window), hwnd->maximized = true;
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        SetVisible(hwnd, true, true);
        if (window && hwnd->iconified) {
            gtk_window_deiconify(window);
            hwnd->iconified = false;
            gtk_window_present(window);
        } else if (window && hwnd->maximized) {
            gtk_window_unmaximize(window);
            hwnd->maximized = false;
        }
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        SetVisible(hwnd, true, false);
        break;
    default:
        SetVisible(hwnd, true, true);
        break;
    }
    return wasVisible;
}

bool GtkBackend::IsWindowVisible(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    for (HWND w = hwnd; w; w = w->isChild ? w->parent : nullptr)
        if (!w->visible) return false;
    return true;
}

bool GtkBackend::IsZoomed(HWND hwnd) { return IsWindow(hwnd) && hwnd->maximized; }
bool GtkBackend::IsIconic(HWND hwnd) { return IsWindow(hwnd) && hwnd->iconified; }
bool GtkBackend::IsTopmost(HWND hwnd) { return IsWindow(hwnd) && hwnd->topmost; }
bool GtkBackend::IsFullScreen(HWND hwnd) { return IsWindow(hwnd) && hwnd->fullscreen; }

bool GtkBackend::SetFullScreen(HWND hwnd, bool on) {
    if (!IsWindow(hwnd) || !hwnd->window) return false;
    hwnd->fullscreen = on;
    if (on) gtk_window_fullscreen(GTK_WINDOW(hwnd->window));
    else gtk_window_unfullscreen(GTK_WINDOW(hwnd->window));
    return true;
}

bool GtkBackend::ClientToScreen(HWND hwnd, POINT* pt) {
    if (!IsWindow(hwnd) || !pt) return false;
    GdkWindow* window = SurfaceWindow(hwnd);
    int x = 0, y = 0;
    if (window && gdk_window_is_viewable(window)) {
        gdk_window_get_origin(window, &x, &y);
    } else {
        RECT r;
        GetWindowRect(hwnd, &r);
        x = r.left, y = r.top;
    }
    pt->x += x;
    pt->y += y;
    return true;
}

bool GtkBackend::ScreenToClient(HWND hwnd, POINT* pt) {
    if (!IsWindow(hwnd) || !pt) return false;
    POINT origin;
    ClientToScreen(hwnd, &origin);
    pt->x -= origin.x;
    pt->y -= origin.y;
    return true;
}

bool GtkBackend::SetWindowRegion(HWND hwnd, const WindowRegion& region) {
    if (!IsWindow(hwnd)) return false;
    hwnd->region = region;
    ApplyRegion(hwnd);
    return true;
}

WindowRegion GtkBackend::GetWindowRegion(HWND hwnd) { return IsWindow(hwnd) ? hwnd->region : WindowRegion(); }

void GtkBackend::ApplyRegion(HWND hwnd) {
    cairo_region_t* shape = nullptr;
    if (hwnd->region.rounded) {
        shape = cairo_region_create();
        for (const ShapeSpan& span : RoundedRectSpans(hwnd->region)) {
            cairo_rectangle_int_t row = {span.left, span.y, span.right - span.left, 1};
            cairo_region_union_rectangle(shape, &row);
        }
    }
    if (hwnd->window) {
        gtk_widget_shape_combine_region(hwnd->window, shape);
        gtk_widget_input_shape_combine_region(hwnd->window, shape);
    } else if (GdkWindow* window = gtk_widget_get_window(hwnd->surface)) {
        gdk_window_shape_combine_region(window, shape, 0, 0);
        gdk_window_input_shape_combine_region(window, shape, 0, 0);
    }
    if (shape) cairo_region_destroy(shape);
    gtk_widget_queue_draw(hwnd->surface);
}

RECT GtkBackend::GetWorkArea(HWND hwnd) {
    GdkWindow* window = nullptr;
    if (HWND top = IsWindow(hwnd) ? TopLevelOf(hwnd) : nullptr) window = gtk_widget_get_window(top->window);
    RECT r;
    if (GdkMonitor* monitor = MonitorFor(window)) {
        GdkRectangle area;
        gdk_monitor_get_workarea(monitor, &area);
        r = {area.x, area.y, area.x + area.width, area.y + area.height};
    }
    return r;
}

SIZE GtkBackend::GetScreenSize() {
    SIZE size;
    if (GdkMonitor* monitor = MonitorFor(nullptr)) {
        GdkRectangle area;
        gdk_monitor_get_geometry(monitor, &area);
        size = {area.width, area.height};
    }
    return size;
}

int GtkBackend::GetScaleFactor(HWND hwnd) {
    if (IsWindow(hwnd)) return std::max(1, gtk_widget_get_scale_factor(hwnd->surface));
    GdkMonitor* monitor = MonitorFor(nullptr);
    return monitor ? std::max(1, gdk_monitor_get_scale_factor(monitor)) : 1;
}

unsigned long GtkBackend::GetNativeWindowId(HWND hwnd) {
    if (!IsWindow(hwnd)) return 0;
    if (hwnd->engineSurface) return hwnd->engineSurface;
    GdkWindow* window = hwnd->window ? gtk_widget_get_window(hwnd->window) : SurfaceWindow(hwnd);
    if (!window || !GDK_IS_X11_WINDOW(window)) return 0;
    gdk_window_ensure_native(window);
    return gdk_x11_window_get_xid(window);
}

}  // namespace gtk
}  // namespace platform
