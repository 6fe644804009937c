// The fake backend's windows: creation, destruction, their attributes and the tree.
#include "platform/fake/FakeBackend.h"

#include <algorithm>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using namespace fake;

FakeBackend::FakeBackend() : impl_(std::make_unique<Impl>()) {
    screen_.cx = 1920;
    screen_.cy = 1080;
    workArea_ = Rect(0, 0, 1920, 1040);
}

FakeBackend::~FakeBackend() = default;

FakeWindow* FakeBackend::Known(HWND hwnd) const {
    if (!hwnd) return nullptr;
    auto it = impl_->known.find(hwnd);
    return it == impl_->known.end() ? nullptr : it->second;
}

FakeWindow* FakeBackend::Live(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w && w->alive ? w : nullptr;
}

LRESULT FakeBackend::Deliver(FakeWindow* w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!w || !w->alive) return 0;
    w->log.push_back({msg, wParam, lParam});
    if (w->proc) return w->proc(H(w), msg, wParam, lParam);
    return DefWindowProc(H(w), msg, wParam, lParam);
}

// ---- windows ----

HWND FakeBackend::CreateWindowEx(const CreateParams& params) {
    FakeWindow* parent = Live(params.parent);
    if ((params.style & WS_CHILD) && !parent) return nullptr;

    auto owned = std::make_unique<FakeWindow>();
    FakeWindow* w = owned.get();
    w->serial = ++impl_->serial;
    w->proc = params.proc;
    w->userData = params.userData;
    w->className = params.className;
    w->title = params.title;
    w->style = params.style & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    w->exStyle = params.exStyle & ~WS_EX_TOPMOST;
    w->topmost = (params.exStyle & WS_EX_TOPMOST) != 0;
    w->visible = (params.style & WS_VISIBLE) != 0;
    w->maximized = (params.style & WS_MAXIMIZE) != 0;
    w->minimized = (params.style & WS_MINIMIZE) != 0;
    w->normal = Rect(params.x, params.y, params.x + std::max(0, params.width),
                     params.y + std::max(0, params.height));
    w->rect = w->maximized ? workArea_ : w->normal;
    w->sizeType = w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    if (params.style & WS_CHILD) {
        w->parent = parent;
        parent->children.push_back(w);
    } else {
        w->owner = parent;
    }
    impl_->windows.push_back(std::move(owned));
    impl_->known[w] = w;
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->live.insert(w);
    }

    HWND h = H(w);
    LPARAM lp = reinterpret_cast<LPARAM>(&params);
    Deliver(w, WM_NCCREATE, 0, lp);
    if (!w->alive) return nullptr;
    if (Deliver(w, WM_CREATE, 0, lp) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (!w->alive) return nullptr;
    // A real window reports its first size and position right after creation.
    Deliver(w, WM_SIZE, w->sizeType, MAKELPARAM(Width(w->rect), Height(w->rect)));
    Deliver(w, WM_MOVE, 0, MAKELPARAM(w->rect.left, w->rect.top));
    if (w->alive && w->visible) {
        Deliver(w, WM_SHOWWINDOW, 1, 0);
        if (!w->parent) Activate(w);
    }
    return w->alive ? h : nullptr;
}

bool FakeBackend::DestroyWindow(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w || w->destroying) return false;
    DestroyTree(w);
    return true;
}

void FakeBackend::DestroyTree(FakeWindow* w) {
    w->destroying = true;
    // Owned windows go first, as on Windows (a transient dialog dies with its owner).
    for (auto& other : impl_->windows)
        if (other->alive && !other->destroying && other->owner == w) DestroyTree(other.get());

    auto within = [w](FakeWindow* x) {
        for (; x; x = x->parent)
            if (x == w) return true;
        return false;
    };
    if (FakeWindow* f = Live(focus_); f && within(f)) {
        focus_ = nullptr;
        Deliver(f, WM_KILLFOCUS, 0, 0);
    }
    if (FakeWindow* c = Live(capture_); c && within(c)) {
        capture_ = nullptr;
        Deliver(c, WM_CAPTURECHANGED, 0, 0);
    }

    Deliver(w, WM_DESTROY, 0, 0);
    std::vector<FakeWindow*> children = w->children;
    for (FakeWindow* child : children)
        if (child->alive && !child->destroying) DestroyTree(child);
    Deliver(w, WM_NCDESTROY, 0, 0);

    w->alive = false;
    {
        std::lock_guard<std::mutex> lock(impl_->mutex);
        impl_->live.erase(w);
    }
    if (w->parent) {
        auto& siblings = w->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), w), siblings.end());
    }
    auto& timers = impl_->timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [w](const Timer& t) { return t.window == w; }),
                 timers.end());
    if (focus_ == H(w)) focus_ = nullptr;
    if (capture_ == H(w)) capture_ = nullptr;
    if (mainWindow_ == H(w)) mainWindow_ = nullptr;
    if (lastMouse_ == w) lastMouse_ = nullptr;
    ForgetTrayIcons(H(w));
}

bool FakeBackend::IsWindow(HWND hwnd) { return Live(hwnd) != nullptr; }

void* FakeBackend::GetWindowUserData(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->userData : nullptr;
}

WNDPROC FakeBackend::GetWindowProc(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->proc : nullptr;
}

void FakeBackend::SetWindowUserData(HWND hwnd, void* data) {
    if (FakeWindow* w = Live(hwnd)) w->userData = data;
}

LONG FakeBackend::GetWindowLong(HWND hwnd, int index) {
    FakeWindow* w = Live(hwnd);
    if (!w) return 0;
    if (index == GWL_STYLE) {
        DWORD s = w->style | (w->visible ? WS_VISIBLE : 0) | (w->maximized ? WS_MAXIMIZE : 0) |
                  (w->minimized ? WS_MINIMIZE : 0);
        return static_cast<LONG>(s);
    }
    if (index == GWL_EXSTYLE) return static_cast<LONG>(w->exStyle | (w->topmost ? WS_EX_TOPMOST : 0));
    return 0;
}

LONG FakeBackend::SetWindowLong(HWND hwnd, int index, LONG value) {
    FakeWindow* w = Live(hwnd);
    if (!w) return 0;
    LONG previous = GetWindowLong(hwnd, index);
    DWORD v = static_cast<DWORD>(value);
    if (index == GWL_STYLE) {
        // The state bits follow ShowWindow; only WS_VISIBLE may be set directly (no message).
        w->style = v & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        w->visible = (v & WS_VISIBLE) != 0;
    } else if (index == GWL_EXSTYLE) {
        w->exStyle = v & ~WS_EX_TOPMOST;  // topmost changes only through SetWindowPos
    }
    return previous;
}

HWND FakeBackend::GetParent(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return nullptr;
    return H(w->parent ? w->parent : w->owner);
}

bool FakeBackend::SetWindowText(HWND hwnd, const std::string& text) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->title = text;
    return true;
}

std::string FakeBackend::GetWindowText(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->title : std::string();
}

bool FakeBackend::SetWindowIcon(HWND hwnd, const std::string& pngPath) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->icon = pngPath;
    return true;
}

std::string FakeBackend::GetClassName(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->className : std::string();
}

std::string FakeBackend::WindowIcon(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w ? w->icon : std::string();
}

void FakeBackend::SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

std::vector<HWND> FakeBackend::Children(HWND hwnd) const {
    std::vector<HWND> out;
    if (FakeWindow* w = Live(hwnd))
        for (FakeWindow* c : w->children) out.push_back(H(c));
    return out;
}

std::vector<HWND> FakeBackend::LiveWindows() const {
    std::vector<HWND> out;
    for (auto& w : impl_->windows)
        if (w->alive) out.push_back(H(w.get()));
    return out;
}

LRESULT FakeBackend::DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (StandardDefWindowProc(*this, hwnd, msg, wParam, lParam, &result)) return result;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
        else ClearInvalidArea(hwnd);
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace platform
