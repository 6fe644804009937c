// The GTK backend: start-up, and its windows (creation, destruction, attributes). Geometry,
// the main loop, input and the window manager have files of their own.
#include "platform/gtk/GtkBackend.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <csignal>

#include "platform/gtk/EngineSurface.h"
#include "platform/gtk/GtkInput.h"
#include "platform/gtk/NativeWindow.h"
#include "platform/gtk/PostedMessageQueue.h"
#include "platform/gtk/MprisService.h"
#include "platform/gtk/ScreenSaverInhibitor.h"
#include "platform/gtk/TrayIcons.h"
#include "platform/gtk/VideoOutputProbe.h"

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

}  // namespace

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
    // The display probe's thread may still be inside Xlib: a process ending under it
    // crashes on the way out. Its answer comes within the probe's own time limit.
    PreferredVideoOutputProbe().Answer();
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
    if (volumeMonitor_) {
        g_signal_handlers_disconnect_by_data(volumeMonitor_, this);
        g_object_unref(volumeMonitor_);
    }
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
        // The drawing surface is exactly as large as the window, whatever its size.
        gtk_layout_set_size(GTK_LAYOUT(w->surface), 1, 1);
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
        g_signal_connect(w->window, "map-event", G_CALLBACK(&GtkBackend::OnMapChanged), w);
        g_signal_connect(w->window, "unmap-event", G_CALLBACK(&GtkBackend::OnMapChanged), w);
        input_->ConnectTopLevel(w);
    }
    g_signal_connect(w->surface, "draw", G_CALLBACK(&GtkBackend::OnDraw), w);
    input_->ConnectSurface(w);

    if (w->window) {
        gtk_widget_realize(w->window);
    } else {
        gtk_widget_realize(w->surface);
        gdk_window_ensure_native(SurfaceWindow(w));
        // A child window hosts the engine's picture.
        w->engineSurface = CreateEngineSurface(SurfaceWindow(w), width, height);
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
    StopMapFollowUp(hwnd);
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

LRESULT GtkBackend::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hwnd)) return 0;
    LRESULT result = 0;
    StandardDefWindowProc(*this, hwnd, msg, wParam, lParam, &result);
    return result;
}

}  // namespace gtk
}  // namespace platform
