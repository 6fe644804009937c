// The fake backend's messages and timers on a test-driven clock, and the message log.
#include <algorithm>
#include <string>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using namespace fake;

LRESULT FakeBackend::SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return Deliver(Live(hwnd), msg, wParam, lParam);
}

bool FakeBackend::PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (!hwnd || !impl_->live.count(hwnd)) return false;
    impl_->queue.push_back({hwnd, msg, wParam, lParam});
    return true;
}

void FakeBackend::PostQuitMessage(int exitCode) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    impl_->quit = true;
    impl_->quitCode = exitCode;
}

bool FakeBackend::QuitPosted(int* exitCode) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (exitCode) *exitCode = impl_->quitCode;
    return impl_->quit;
}

size_t FakeBackend::PendingCount() {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->queue.size();
}

// -1: queue empty; 0: dropped (window gone); 1: delivered.
int FakeBackend::DeliverOnePost() {
    Post post;
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        if (impl_->queue.empty()) return -1;
        post = impl_->queue.front();
        impl_->queue.pop_front();
    }
    FakeWindow* w = Live(post.hwnd);
    if (!w) return 0;
    Deliver(w, post.msg, post.wParam, post.lParam);
    return 1;
}

int FakeBackend::DispatchPending() {
    int delivered = 0;
    for (int r; (r = DeliverOnePost()) >= 0;) delivered += r;
    return delivered;
}

bool FakeBackend::FireNextTimer(uint64_t limit) {
    auto& timers = impl_->timers;
    auto next = std::min_element(timers.begin(), timers.end(), [](const Timer& a, const Timer& b) {
        return a.due != b.due ? a.due < b.due : a.order < b.order;
    });
    if (next == timers.end() || next->due > limit) return false;
    now_ = std::max(now_, next->due);
    next->due += next->interval;
    next->order = ++impl_->timerOrder;
    FakeWindow* w = next->window;
    UINT_PTR id = next->id;
    Deliver(w, WM_TIMER, id, 0);
    return true;
}

void FakeBackend::AdvanceTime(uint64_t ms) {
    uint64_t target = now_ + ms;
    DispatchPending();
    while (FireNextTimer(target)) DispatchPending();
    now_ = std::max(now_, target);
    DispatchPending();
}

int FakeBackend::RunMessageLoop() {
    uint64_t start = now_;
    for (;;) {
        if (DeliverOnePost() >= 0) continue;
        {
            std::lock_guard<std::mutex> lock(impl_->mutex);
            if (impl_->quit) {
                impl_->quit = false;
                return impl_->quitCode;
            }
        }
        if (impl_->timers.empty()) return -1;
        if (!FireNextTimer(start + runLimitMs_)) return -1;
    }
}

UINT_PTR FakeBackend::SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs) {
    FakeWindow* w = Live(hwnd);
    if (!w) return 0;
    UINT interval = std::max<UINT>(1, elapseMs);
    for (Timer& t : impl_->timers) {
        if (t.window == w && t.id == id) {  // setting an id again restarts it
            t.interval = interval;
            t.due = now_ + interval;
            t.order = ++impl_->timerOrder;
            return id ? id : 1;
        }
    }
    impl_->timers.push_back({w, id, interval, now_ + interval, ++impl_->timerOrder});
    return id ? id : 1;
}

bool FakeBackend::KillTimer(HWND hwnd, UINT_PTR id) {
    FakeWindow* w = Known(hwnd);
    auto& timers = impl_->timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.window == w && t.id == id; });
    if (!w || it == timers.end()) return false;
    timers.erase(it);
    return true;
}

bool FakeBackend::HasTimer(HWND hwnd, UINT_PTR id) const { return TimerInterval(hwnd, id) != 0; }

UINT FakeBackend::TimerInterval(HWND hwnd, UINT_PTR id) const {
    FakeWindow* w = Known(hwnd);
    for (const Timer& t : impl_->timers)
        if (w && t.window == w && t.id == id) return t.interval;
    return 0;
}

uint64_t FakeBackend::GetTickCount() { return now_; }

// ---- message log ----

std::vector<FakeBackend::LoggedMessage> FakeBackend::MessageLog(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w ? w->log : std::vector<LoggedMessage>();
}

std::vector<UINT> FakeBackend::MessageIds(HWND hwnd) const {
    std::vector<UINT> out;
    if (FakeWindow* w = Known(hwnd))
        for (const auto& m : w->log) out.push_back(m.msg);
    return out;
}

int FakeBackend::CountMessages(HWND hwnd, UINT msg) const {
    FakeWindow* w = Known(hwnd);
    if (!w) return 0;
    return static_cast<int>(std::count_if(w->log.begin(), w->log.end(),
                                          [msg](const LoggedMessage& m) { return m.msg == msg; }));
}

void FakeBackend::ClearMessageLog(HWND hwnd) {
    if (!hwnd) {
        for (auto& w : impl_->windows) w->log.clear();
    } else if (FakeWindow* w = Known(hwnd)) {
        w->log.clear();
    }
}

std::string FakeBackend::MessageName(UINT msg) {
    static const struct { UINT msg; const char* name; } kNames[] = {
        {WM_NULL, "WM_NULL"}, {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"}, {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"}, {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"}, {WM_QUIT, "WM_QUIT"}, {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"}, {WM_HELP, "WM_HELP"},
        {WM_CONTEXTMENU, "WM_CONTEXTMENU"}, {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"}, {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"}, {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
        {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"}, {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"}, {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_RBUTTONDBLCLK, "WM_RBUTTONDBLCLK"}, {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
        {WM_MBUTTONUP, "WM_MBUTTONUP"}, {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_DEVICECHANGE, "WM_DEVICECHANGE"},
        {WM_DROPFILES, "WM_DROPFILES"}, {WM_IME_COMPOSITION, "WM_IME_COMPOSITION"},
        {WM_MOUSEHOVER, "WM_MOUSEHOVER"}, {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
    };
    for (const auto& n : kNames)
        if (n.msg == msg) return n.name;
    if (msg >= WM_USER) return "WM_USER+" + std::to_string(msg - WM_USER);
    static const char kHex[] = "0123456789ABCDEF";
    std::string hex = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) hex += kHex[(msg >> shift) & 0xF];
    return hex;
}

}  // namespace platform
