// The GTK backend's side of the main loop: painting from the draw signal, sent and posted
// messages, timers.
#include "platform/gtk/GtkBackend.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/gtk/EngineSurface.h"
#include "platform/gtk/NativeWindow.h"
#include "platform/gtk/PostedMessageQueue.h"

namespace platform {
namespace gtk {
namespace {

constexpr UINT kMinTimerMs = 10;  // as USER_TIMER_MINIMUM

}  // namespace

struct GtkBackend::TimerRecord {
    GtkBackend* backend;
    HWND hwnd;
    uint64_t serial;
    UINT_PTR id;
};

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
    // The picture of a window the engine draws in is the engine's to paint again.
    if (hwnd->engineSurface) ClearEngineSurface(SurfaceWindow(hwnd), hwnd->engineSurface);
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

}  // namespace gtk
}  // namespace platform
