#include "platform/gtk/GtkBackend.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#undef CursorShape  // X.h's constant, not our enum

#include <algorithm>
#include <cmath>
#include <csignal>

#include "platform/gtk/GtkInput.h"
#include "platform/gtk/NativeWindow.h"
#include "platform/gtk/PostedMessageQueue.h"
#include "platform/gtk/TrayIcons.h"
#include "platform/gtk/VideoOutputProbe.h"
#include "platform/gtk/WindowShape.h"

bool InitGtkPlatform(int* argc, char*** argv) {
    // The engine draws into X11 windows: under Wayland we run through XWayland.
    gdk_set_allowed_backends("x11");
    // We paint with cairo on the CPU and never ask GTK for OpenGL; without this GDK loads
    // and probes the GL drivers at start-up to pick visuals, which costs tens of
    // milliseconds and megabytes. The engine opens its own GL context when it needs one.
    g_setenv("GDK_GL", "disable", FALSE);
    return gtk_init_check(argc, argv);
}

std::unique_ptr<platform::Backend> CreateGtkBackend() {
    return std::make_unique<platform::gtk::GtkBackend>();
}

namespace platform {
namespace gtk {
namespace {

constexpr gint kPointerEvents = GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                GDK_POINTER_MOTION_MASK | GDK_SCROLL_MASK |
                                GDK_SMOOTH_SCROLL_MASK | GDK_ENTER_NOTIFY_MASK |
                                GDK_LEAVE_NOTIFY_MASK;

constexpr UINT kMinTimerMs = 10;  // as USER_TIMER_MINIMUM

GdkWindow* SurfaceWindow(HWND hwnd) {
    if (!hwnd->surface || !gtk_widget_get_realized(hwnd->surface)) return nullptr;
    return gtk_layout_get_bin_window(GTK_LAYOUT(hwnd->surface));
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

const char* CursorName(CursorShape shape) {
    static const char* const kNames[] = {"default",     "text",        "pointer",
                                         "wait",        "ew-resize",   "ns-resize",
                                         "nwse-resize", "nesw-resize", "move"};
    size_t i = static_cast<size_t>(shape);
    return i < sizeof(kNames) / sizeof(kNames[0]) ? kNames[i] : "default";
}

GdkMonitor* MonitorFor(GdkWindow* window) {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = window ? gdk_display_get_monitor_at_window(display, window) : nullptr;
    if (!monitor) monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    return monitor;
}

}  // namespace

struct GtkBackend::TimerRecord {
    GtkBackend* backend;
    HWND hwnd;
    uint64_t serial;
    UINT_PTR id;
};

GtkBackend::GtkBackend()
    : queue_(std::make_unique<PostedMessageQueue>(
          [this](const PostedMessage& m) { return DispatchPosted(m); })),
      input_(std::make_unique<GtkInput>(*this)) {
    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int i = 0; i < 3; ++i) signalSources_[i] = g_unix_signal_add(signals[i], &GtkBackend::OnQuitSignal, this);
    // What the display offers the engine is asked now, so the answer is there by the
    // first launch.
    PreferredVideoOutputProbe();
}

GtkBackend::~GtkBackend() {
    for (unsigned id : signalSources_)
        if (id) g_source_remove(id);
    // Whatever is left goes without messages: its owners are gone with the process.
    std::vector<HWND> left;
    for (auto& entry : live_)
        if (!entry.first->isChild) left.push_back(entry.first);
    for (HWND hwnd : left) {
        KillAllTimers(hwnd);
        input_->Forget(hwnd);
        DestroyNative(hwnd);
    }
    for (auto& entry : live_) delete entry.first;
    live_.clear();
    for (auto& entry : cursors_) g_object_unref(entry.second);
}

// ---------------------------------------------------------------- windows

HWND GtkBackend::CreateWindowEx(const CreateParams& params) {
    HWND parent = IsWindow(params.parent) ? params.parent : nullptr;
    auto* w = new NativeWindow;
    w->backend = this;
    w->className = params.className;
    w->title = params.title;
    w->style = params.style & ~WS_VISIBLE;
    w->exStyle = params.exStyle;
    w->proc = params.proc;
    w->userData = params.userData;
    w->parent = parent;
    w->isChild = (params.style & WS_CHILD) && parent;
    w->isPopup = !w->isChild && (params.style & WS_POPUP);
    w->rect = {params.x, params.y, params.x + std::max(params.width, 0), params.y + std::max(params.height, 0)};
    w->topmost = params.exStyle & WS_EX_TOPMOST;

    w->surface = gtk_layout_new(nullptr, nullptr);
    gtk_widget_set_app_paintable(w->surface, TRUE);
    gtk_widget_add_events(w->surface, kPointerEvents);
    const int width = std::max(params.width, 1), height = std::max(params.height, 1);
    if (w->isChild) {
        // Drawn by the engine or by its own WM_PAINT; GTK must not clear it on expose.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_widget_set_double_buffered(w->surface, FALSE);
        G_GNUC_END_IGNORE_DEPRECATIONS
        gtk_widget_set_size_request(w->surface, width, height);
        gtk_layout_put(GTK_LAYOUT(parent->surface), w->surface, params.x, params.y);
    } else {
        w->window = gtk_window_new(w->isPopup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
        GtkWindow* window = GTK_WINDOW(w->window);
        gtk_window_set_decorated(window, FALSE);
        gtk_widget_set_app_paintable(w->window, TRUE);
        gtk_window_set_title(window, params.title.c_str());
        gtk_window_set_default_size(window, width, height);
        gtk_window_move(window, params.x, params.y);
        if (parent) {
            HWND owner = TopLevelOf(parent);
            if (owner && owner->window) gtk_window_set_transient_for(window, GTK_WINDOW(owner->window));
        }
        if (params.exStyle & WS_EX_TOOLWINDOW) {
            gtk_window_set_skip_taskbar_hint(window, TRUE);
            gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_UTILITY);
        }
        if (w->topmost) gtk_window_set_keep_above(window, TRUE);
        gtk_container_add(GTK_CONTAINER(w->window), w->surface);
        gtk_widget_show(w->surface);
        g_signal_connect(w->window, "delete-event", G_CALLBACK(&GtkBackend::OnDeleteEvent), w);
        g_signal_connect(w->window, "configure-event", G_CALLBACK(&GtkBackend::OnConfigure), w);
        g_signal_connect(w->window, "window-state-event", G_CALLBACK(&GtkBackend::OnWindowState), w);
        input_->ConnectTopLevel(w);
    }
    g_signal_connect(w->surface, "draw", G_CALLBACK(&GtkBackend::OnDraw), w);
    input_->ConnectSurface(w);

    if (w->window) {
        gtk_widget_realize(w->window);
    } else {
        gtk_widget_realize(w->surface);
        gdk_window_ensure_native(SurfaceWindow(w));
    }
    {
        std::lock_guard<std::mutex> lock(registryMutex_);
        w->serial = nextSerial_++;
        live_.emplace(w, w->serial);
    }
    if (parent) parent->children.push_back(w);

    CreateParams copy = params;
    SendMessage(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&copy));
    if (!IsWindow(w)) return nullptr;
    if (SendMessage(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&copy)) == -1) {
        DestroyWindow(w);
        return nullptr;
    }
    if (!IsWindow(w)) return nullptr;
    if (!w->isChild && !w->isPopup) ApplySizeLimits(w);
    if (w->isChild) {
        Moved(w, params.x, params.y);
        SizeChanged(w, Width(w->rect), Height(w->rect), SIZE_RESTORED);
    }
    if (params.style & WS_VISIBLE) SetVisible(w, true, true);
    return IsWindow(w) ? w : nullptr;
}

bool GtkBackend::DestroyWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return false;
    if (hwnd->destroying) return true;
    hwnd->destroying = true;
    if (input_->GetCapture() == hwnd) input_->ReleaseCapture();
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    // Children and owned windows go before their parent's last message.
    std::vector<HWND> children = hwnd->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it) DestroyWindow(*it);
    KillAllTimers(hwnd);
    input_->Forget(hwnd);
    if (trayIcons_) trayIcons_->RemoveWindow(hwnd);
    SendMessage(hwnd, WM_NCDESTROY, 0, 0);
    {
        std::lock_guard<std::mutex> lock(registryMutex_);
        live_.erase(hwnd);
    }
    if (mainWindow_ == hwnd) mainWindow_ = nullptr;
    if (hwnd->parent && IsWindow(hwnd->parent)) {
        auto& siblings = hwnd->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), hwnd), siblings.end());
    }
    DestroyNative(hwnd);
    delete hwnd;
    return true;
}

void GtkBackend::DestroyNative(HWND hwnd) {
    if (hwnd->inputMethod) {
        g_signal_handlers_disconnect_by_data(hwnd->inputMethod, hwnd);
        gtk_im_context_set_client_window(hwnd->inputMethod, nullptr);
        g_object_unref(hwnd->inputMethod);
        hwnd->inputMethod = nullptr;
    }
    g_signal_handlers_disconnect_by_data(hwnd->surface, hwnd);
    if (hwnd->window) {
        g_signal_handlers_disconnect_by_data(hwnd->window, hwnd);
        gtk_widget_destroy(hwnd->window);
    } else {
        gtk_widget_destroy(hwnd->surface);
    }
    hwnd->window = hwnd->surface = nullptr;
}

bool GtkBackend::IsWindow(HWND hwnd) {
    if (!hwnd) return false;
    std::lock_guard<std::mutex> lock(registryMutex_);
    return live_.count(hwnd) != 0;
}

void* GtkBackend::GetWindowUserData(HWND hwnd) { return IsWindow(hwnd) ? hwnd->userData : nullptr; }

void GtkBackend::SetWindowUserData(HWND hwnd, void* data) {
    if (IsWindow(hwnd)) hwnd->userData = data;
}

LONG GtkBackend::GetWindowLong(HWND hwnd, int index) {
    if (!IsWindow(hwnd)) return 0;
    if (index == GWL_STYLE) return static_cast<LONG>(hwnd->style | (hwnd->visible ? WS_VISIBLE : 0));
    if (index == GWL_EXSTYLE) return static_cast<LONG>(hwnd->exStyle);
    return 0;
}

LONG GtkBackend::SetWindowLong(HWND hwnd, int index, LONG value) {
    if (!IsWindow(hwnd)) return 0;
    LONG previous = GetWindowLong(hwnd, index);
    if (index == GWL_STYLE) {
        DWORD style = static_cast<DWORD>(value);
        hwnd->style = style & ~WS_VISIBLE;
        bool visible = style & WS_VISIBLE;
        if (visible != hwnd->visible) SetVisible(hwnd, visible, false);
    } else if (index == GWL_EXSTYLE) {
        hwnd->exStyle = static_cast<DWORD>(value);
        bool topmost = hwnd->exStyle & WS_EX_TOPMOST;
        if (hwnd->window && topmost != hwnd->topmost) {
            hwnd->topmost = topmost;
            gtk_window_set_keep_above(GTK_WINDOW(hwnd->window), topmost);
        }
    }
    return previous;
}

HWND GtkBackend::GetParent(HWND hwnd) {
    return IsWindow(hwnd) && IsWindow(hwnd->parent) ? hwnd->parent : nullptr;
}

bool GtkBackend::SetWindowText(HWND hwnd, const std::string& text) {
    if (!IsWindow(hwnd)) return false;
    hwnd->title = text;
    if (hwnd->window) gtk_window_set_title(GTK_WINDOW(hwnd->window), text.c_str());
    return true;
}

std::string GtkBackend::GetWindowText(HWND hwnd) { return IsWindow(hwnd) ? hwnd->title : std::string(); }

bool GtkBackend::SetWindowIcon(HWND hwnd, const std::string& pngPath) {
    if (!IsWindow(hwnd) || !hwnd->window) return false;
    GError* error = nullptr;
    bool ok = gtk_window_set_icon_from_file(GTK_WINDOW(hwnd->window), pngPath.c_str(), &error);
    if (error) g_error_free(error);
    return ok;
}

std::string GtkBackend::GetClassName(HWND hwnd) { return IsWindow(hwnd) ? hwnd->className : std::string(); }

HWND GtkBackend::TopLevelOf(HWND hwnd) {
    while (hwnd && hwnd->isChild) hwnd = hwnd->parent;
    return hwnd;
}

// ---------------------------------------------------------------- geometry

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
        // GTK allocates at its next layout pass, but another program may be handed this
        // window right now (the engine reads its size once at start): give the native
        // window its place at once, and make sure the X server has it.
        if (moved || sized) {
            GdkWindow* native = gtk_widget_get_window(hwnd->surface);
            if (native && gdk_window_has_native(native)) {
                gdk_window_move_resize(native, r.left, r.top, std::max<int>(Width(r), 1),
                                       std::max<int>(Height(r), 1));
                gdk_display_flush(gdk_window_get_display(native));
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
        } else {
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
    GdkWindow* window = hwnd->window ? gtk_widget_get_window(hwnd->window) : SurfaceWindow(hwnd);
    if (!window || !GDK_IS_X11_WINDOW(window)) return 0;
    gdk_window_ensure_native(window);
    return gdk_x11_window_get_xid(window);
}

// ---------------------------------------------------------------- painting

int GtkBackend::OnDraw(GtkWidget* widget, cairo_t* cr, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    if (!gtk_cairo_should_draw_window(cr, gtk_layout_get_bin_window(GTK_LAYOUT(widget)))) return FALSE;
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    hwnd->paintRect = {static_cast<LONG>(std::floor(x1)), static_cast<LONG>(std::floor(y1)),
                       static_cast<LONG>(std::ceil(x2)), static_cast<LONG>(std::ceil(y2))};
    hwnd->paintContext = cr;
    cairo_save(cr);
    GtkBackend& backend = *hwnd->backend;
    backend.SendMessage(hwnd, WM_PAINT, 0, 0);
    cairo_restore(cr);
    if (backend.IsWindow(hwnd)) hwnd->paintContext = nullptr;
    return FALSE;  // the children draw next
}

void GtkBackend::InvalidateRect(HWND hwnd, const RECT* rect) {
    if (!IsWindow(hwnd)) return;
    if (rect) gtk_widget_queue_draw_area(hwnd->surface, rect->left, rect->top, Width(*rect), Height(*rect));
    else gtk_widget_queue_draw(hwnd->surface);
}

void GtkBackend::UpdateWindow(HWND hwnd) {
    GdkWindow* window = IsWindow(hwnd) ? SurfaceWindow(hwnd) : nullptr;
    if (!window) return;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gdk_window_process_updates(window, TRUE);
    G_GNUC_END_IGNORE_DEPRECATIONS
}

bool GtkBackend::BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!IsWindow(hwnd) || !ps || !hwnd->paintContext) return false;
    ps->cr = hwnd->paintContext;
    ps->rcPaint = hwnd->paintRect;
    return true;
}

void GtkBackend::EndPaint(HWND, PAINTSTRUCT* ps) {
    if (ps) ps->cr = nullptr;
}

// ---------------------------------------------------------------- messages and timers

LRESULT GtkBackend::SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    return hwnd->proc ? hwnd->proc(hwnd, msg, wParam, lParam) : DefWindowProc(hwnd, msg, wParam, lParam);
}

bool GtkBackend::PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostedMessage message{hwnd, 0, msg, wParam, lParam};
    {
        std::lock_guard<std::mutex> lock(registryMutex_);
        auto it = live_.find(hwnd);
        if (it == live_.end()) return false;
        message.serial = it->second;
    }
    queue_->Post(message);
    return true;
}

void GtkBackend::PostQuitMessage(int exitCode) {
    queue_->Post(PostedMessage{nullptr, 0, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

bool GtkBackend::DispatchPosted(const PostedMessage& message) {
    if (!message.hwnd) {
        if (message.msg != WM_QUIT) return true;
        quitCode_ = static_cast<int>(message.wParam);
        ++quitRequests_;
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(registryMutex_);
        auto it = live_.find(message.hwnd);
        if (it == live_.end() || it->second != message.serial) return true;  // window is gone
    }
    SendMessage(message.hwnd, message.msg, message.wParam, message.lParam);
    return true;
}

int GtkBackend::RunMessageLoop() {
    ++loopDepth_;
    while (quitRequests_ == 0) g_main_context_iteration(nullptr, TRUE);
    --quitRequests_;
    --loopDepth_;
    return quitCode_;
}

UINT_PTR GtkBackend::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    if (!IsWindow(hwnd) || id == 0) return 0;
    auto it = hwnd->timers.find(id);
    if (it != hwnd->timers.end()) g_source_remove(it->second);
    auto* record = new TimerRecord{this, hwnd, hwnd->serial, id};
    guint source = g_timeout_add_full(G_PRIORITY_DEFAULT + 1, std::max(elapseMs, kMinTimerMs),
                                      &GtkBackend::OnTimer, record,
                                      [](gpointer p) { delete static_cast<TimerRecord*>(p); });
    hwnd->timers[id] = source;
    return id;
}

bool GtkBackend::KillTimer(HWND hwnd, UINT_PTR id) {
    if (!IsWindow(hwnd)) return false;
    auto it = hwnd->timers.find(id);
    if (it == hwnd->timers.end()) return false;
    g_source_remove(it->second);
    hwnd->timers.erase(it);
    return true;
}

void GtkBackend::KillAllTimers(HWND hwnd) {
    for (auto& timer : hwnd->timers) g_source_remove(timer.second);
    hwnd->timers.clear();
}

int GtkBackend::OnTimer(void* data) {
    auto* record = static_cast<TimerRecord*>(data);
    GtkBackend* self = record->backend;
    {
        std::lock_guard<std::mutex> lock(self->registryMutex_);
        auto it = self->live_.find(record->hwnd);
        if (it == self->live_.end() || it->second != record->serial) return G_SOURCE_REMOVE;
    }
    self->SendMessage(record->hwnd, WM_TIMER, record->id, 0);
    return G_SOURCE_CONTINUE;  // KillTimer inside the handler has removed the source already
}

uint64_t GtkBackend::GetTickCount() { return static_cast<uint64_t>(g_get_monotonic_time() / 1000); }

// ---------------------------------------------------------------- input

HWND GtkBackend::SetFocus(HWND hwnd) { return input_->SetFocus(IsWindow(hwnd) ? hwnd : nullptr); }
HWND GtkBackend::GetFocus() { return input_->GetFocus(); }
HWND GtkBackend::SetCapture(HWND hwnd) { return IsWindow(hwnd) ? input_->SetCapture(hwnd) : input_->GetCapture(); }
bool GtkBackend::ReleaseCapture() { return input_->ReleaseCapture(); }
HWND GtkBackend::GetCapture() { return input_->GetCapture(); }
short GtkBackend::GetKeyState(int vk) { return input_->GetKeyState(vk); }
bool GtkBackend::TrackMouseLeave(HWND hwnd) { return IsWindow(hwnd) && input_->TrackMouseLeave(hwnd); }

void GtkBackend::SetInputMethod(HWND hwnd, bool on, const RECT& caret) {
    if (IsWindow(hwnd)) input_->SetInputMethod(hwnd, on, caret);
}

bool GtkBackend::GetCursorPos(POINT* pt) {
    if (!pt) return false;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    GdkDevice* pointer = seat ? gdk_seat_get_pointer(seat) : nullptr;
    if (!pointer) return false;
    int x = 0, y = 0;
    gdk_device_get_position(pointer, nullptr, &x, &y);
    *pt = {x, y};
    return true;
}

GdkCursor* GtkBackend::CursorFor(CursorShape shape) {
    auto it = cursors_.find(static_cast<int>(shape));
    if (it != cursors_.end()) return it->second;
    GdkCursor* cursor = gdk_cursor_new_from_name(gdk_display_get_default(), CursorName(shape));
    if (cursor) cursors_[static_cast<int>(shape)] = cursor;
    return cursor;
}

void GtkBackend::SetCursor(HWND hwnd, CursorShape shape) {
    GdkWindow* window = IsWindow(hwnd) ? SurfaceWindow(hwnd) : nullptr;
    if (window) gdk_window_set_cursor(window, shape == CursorShape::Arrow ? nullptr : CursorFor(shape));
}

bool GtkBackend::SetClipboardText(const std::string& utf8) {
    GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
    gtk_clipboard_set_text(clipboard, utf8.data(), static_cast<gint>(utf8.size()));
    gtk_clipboard_store(clipboard);
    return true;
}

std::string GtkBackend::GetClipboardText() {
    gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

// ---------------------------------------------------------------- process end, window manager

void GtkBackend::SetMainWindow(HWND hwnd) { mainWindow_ = IsWindow(hwnd) ? hwnd : nullptr; }

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

LRESULT GtkBackend::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    LRESULT result = 0;
    StandardDefWindowProc(*this, hwnd, msg, wParam, lParam, &result);
    return result;
}

}  // namespace gtk
}  // namespace platform
