// The GTK backend and the window manager: close requests, signals that end the process,
// moves, sizes, state changes and size limits.
#include "platform/gtk/GtkBackend.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "platform/gtk/NativeWindow.h"

namespace platform {
namespace gtk {
namespace {

// A window manager answers a map request within a few frames. One that has just started
// can read the request during its own start-up and then sleep until its next event, so
// the window would never appear: the request is repeated, which also wakes the manager.
constexpr guint kMapAnswerMs = 250;
constexpr int kMapRequestsAtMost = 12;

}  // namespace

void GtkBackend::FollowMapRequest(HWND hwnd) {
    StopMapFollowUp(hwnd);
    if (hwnd->mapped) return;
    hwnd->mapRequests = 1;
    hwnd->mapFollowUp = g_timeout_add(kMapAnswerMs, &GtkBackend::OnMapUnanswered, hwnd);
}

void GtkBackend::StopMapFollowUp(HWND hwnd) {
    if (hwnd->mapFollowUp) g_source_remove(hwnd->mapFollowUp);
    hwnd->mapFollowUp = 0;
}

int GtkBackend::OnMapChanged(GtkWidget*, void* event, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    hwnd->mapped = static_cast<GdkEvent*>(event)->type == GDK_MAP;
    if (hwnd->mapped) hwnd->backend->StopMapFollowUp(hwnd);
    if (hwnd->mapped && hwnd->activateOnMap) {
        hwnd->activateOnMap = false;
        // With the server's time the request is newer than any input the manager saw.
        GdkWindow* window = gtk_widget_get_window(hwnd->window);
        if (window && GDK_IS_X11_WINDOW(window))
            gtk_window_present_with_time(GTK_WINDOW(hwnd->window), gdk_x11_get_server_time(window));
    }
    return FALSE;
}

int GtkBackend::OnMapUnanswered(void* data) {
    HWND hwnd = static_cast<HWND>(data);
    // Still hidden on purpose (minimised before it was ever mapped) or given up: done.
    if (hwnd->mapped || !hwnd->visible || hwnd->iconified || hwnd->mapRequests >= kMapRequestsAtMost) {
        hwnd->mapFollowUp = 0;
        return G_SOURCE_REMOVE;
    }
    GdkWindow* window = gtk_widget_get_window(hwnd->window);
    if (window && GDK_IS_X11_WINDOW(window)) {
        XMapWindow(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window));
        gdk_display_flush(gdk_window_get_display(window));
    }
    ++hwnd->mapRequests;
    return G_SOURCE_CONTINUE;
}

void GtkBackend::SetMainWindow(HWND hwnd) {
    mainWindow_ = IsWindow(hwnd) ? hwnd : nullptr;
    // Disc removal is watched from an idle moment: the volume monitor can be slow to start.
    if (mainWindow_) g_idle_add_full(G_PRIORITY_LOW, &GtkBackend::WatchDiscRemoval, this, nullptr);
}

int GtkBackend::OnQuitSignal(void* data) {
    auto* self = static_cast<GtkBackend*>(data);
    if (!self->PostMessage(self->mainWindow_, WM_SYSCOMMAND, SC_CLOSE, 0)) self->PostQuitMessage(0);
    return G_SOURCE_CONTINUE;
}

int GtkBackend::OnDeleteEvent(GtkWidget*, void*, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    hwnd->backend->PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;  // the window stays until its code decides
}

int GtkBackend::OnConfigure(GtkWidget*, void* event, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    auto* configure = static_cast<GdkEventConfigure*>(event);
    GtkBackend& self = *hwnd->backend;
    hwnd->rect = {configure->x, configure->y, configure->x + configure->width,
                  configure->y + configure->height};
    self.Moved(hwnd, configure->x, configure->y);
    if (self.IsWindow(hwnd) && !hwnd->iconified)
        self.SizeChanged(hwnd, configure->width, configure->height,
                         hwnd->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
    return FALSE;
}

int GtkBackend::OnWindowState(GtkWidget*, void* event, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    auto* state = static_cast<GdkEventWindowState*>(event);
    GtkBackend& self = *hwnd->backend;
    const GdkWindowState s = state->new_window_state;
    hwnd->maximized = s & GDK_WINDOW_STATE_MAXIMIZED;
    hwnd->iconified = s & GDK_WINDOW_STATE_ICONIFIED;
    hwnd->fullscreen = s & GDK_WINDOW_STATE_FULLSCREEN;
    if (state->changed_mask & GDK_WINDOW_STATE_ABOVE) hwnd->topmost = s & GDK_WINDOW_STATE_ABOVE;
    if (state->changed_mask & (GDK_WINDOW_STATE_MAXIMIZED | GDK_WINDOW_STATE_ICONIFIED)) {
        if (hwnd->iconified) self.SizeChanged(hwnd, 0, 0, SIZE_MINIMIZED);
        else self.SizeChanged(hwnd, Width(hwnd->rect), Height(hwnd->rect),
                              hwnd->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
    }
    return FALSE;
}

void GtkBackend::Moved(HWND hwnd, int x, int y) {
    if (x == hwnd->lastX && y == hwnd->lastY) return;
    hwnd->lastX = x, hwnd->lastY = y;
    // WM_MOVE carries the client area's origin: screen for top-levels, parent client for children.
    SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(x, y));
}

void GtkBackend::SizeChanged(HWND hwnd, int width, int height, WPARAM state) {
    if (width == hwnd->lastClientWidth && height == hwnd->lastClientHeight && state == hwnd->lastSizeState) return;
    hwnd->lastClientWidth = width, hwnd->lastClientHeight = height, hwnd->lastSizeState = state;
    SendMessage(hwnd, WM_SIZE, state, MAKELPARAM(width, height));
    if (IsWindow(hwnd) && hwnd->window && !hwnd->isPopup) ApplySizeLimits(hwnd);
}

void GtkBackend::UpdateSizeLimits(HWND hwnd) {
    if (IsWindow(hwnd) && hwnd->window && !hwnd->isPopup) ApplySizeLimits(hwnd);
}

void GtkBackend::ApplySizeLimits(HWND hwnd) {
    MINMAXINFO info{};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    if (!IsWindow(hwnd) || !hwnd->window) return;
    GdkGeometry geometry{};
    int hints = 0;
    if (info.ptMinTrackSize.x > 0 && info.ptMinTrackSize.y > 0) {
        geometry.min_width = info.ptMinTrackSize.x;
        geometry.min_height = info.ptMinTrackSize.y;
        hints |= GDK_HINT_MIN_SIZE;
    }
    if (info.ptMaxTrackSize.x > 0 && info.ptMaxTrackSize.y > 0) {
        geometry.max_width = info.ptMaxTrackSize.x;
        geometry.max_height = info.ptMaxTrackSize.y;
        hints |= GDK_HINT_MAX_SIZE;
    }
    if (hints == hwnd->sizeHints && geometry.min_width == hwnd->minWidth &&
        geometry.min_height == hwnd->minHeight && geometry.max_width == hwnd->maxWidth &&
        geometry.max_height == hwnd->maxHeight) {
        return;  // unchanged: don't bother the window manager on every resize
    }
    hwnd->sizeHints = hints;
    hwnd->minWidth = geometry.min_width, hwnd->minHeight = geometry.min_height;
    hwnd->maxWidth = geometry.max_width, hwnd->maxHeight = geometry.max_height;
    gtk_window_set_geometry_hints(GTK_WINDOW(hwnd->window), nullptr, &geometry,
                                  static_cast<GdkWindowHints>(hints));
}

}  // namespace gtk
}  // namespace platform
