#include "platform/fake/FakeBackend.h"

#include "platform/fake/FakeWindow.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <mutex>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace platform {


namespace {

HWND H(FakeWindow* w) { return reinterpret_cast<HWND>(w); }
LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }
bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
RECT Rect(LONG l, LONG t, LONG r, LONG b) {
    RECT out;
    out.left = l; out.top = t; out.right = r; out.bottom = b;
    return out;
}

struct Timer {
    FakeWindow* window;
    UINT_PTR id;
    UINT interval;
    uint64_t due;
    uint64_t order;  // breaks ties between timers due at the same time
};

struct Post {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

}  // namespace

struct FakeBackend::Impl {
    std::vector<std::unique_ptr<FakeWindow>> windows;  // every window ever made, in order
    std::unordered_map<const void*, FakeWindow*> known;
    uint64_t serial = 0;

    std::mutex mutex;  // guards live, queue and the quit request
    std::unordered_set<const void*> live;
    std::deque<Post> queue;
    bool quit = false;
    int quitCode = 0;

    std::vector<Timer> timers;
    uint64_t timerOrder = 0;
    std::set<int> keysDown;
};

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

// ---- geometry ----

bool FakeBackend::GetWindowRect(HWND hwnd, RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w || !rect) return false;
    POINT origin;
    ClientToScreen(hwnd, &origin);
    *rect = Rect(origin.x, origin.y, origin.x + Width(w->rect), origin.y + Height(w->rect));
    return true;
}

bool FakeBackend::GetClientRect(HWND hwnd, RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w || !rect) return false;
    *rect = Rect(0, 0, Width(w->rect), Height(w->rect));
    return true;
}

void FakeBackend::ApplyGeometry(FakeWindow* w, RECT rect, WPARAM sizeType, bool forceSize) {
    RECT old = w->rect;
    WPARAM oldType = w->sizeType;
    w->rect = rect;
    w->sizeType = sizeType;
    bool sized = forceSize || oldType != sizeType || Width(old) != Width(rect) ||
                 Height(old) != Height(rect);
    bool moved = old.left != rect.left || old.top != rect.top;
    if (sized) {
        w->invalid = true;
        w->invalidRect = Rect(0, 0, Width(rect), Height(rect));
        bool iconic = sizeType == SIZE_MINIMIZED;
        Deliver(w, WM_SIZE, sizeType, iconic ? 0 : MAKELPARAM(Width(rect), Height(rect)));
    }
    if (moved && w->alive) Deliver(w, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
}

// Brings the rectangle in line with the state: full screen covers the screen,
// maximised the work area; minimising keeps the rectangle (WM_SIZE reports 0x0).
static RECT TargetRect(const FakeWindow* w, SIZE screen, RECT workArea) {
    if (w->fullscreen) return Rect(0, 0, screen.cx, screen.cy);
    if (w->maximized) return workArea;
    return w->normal;
}

static WPARAM SizeType(const FakeWindow* w) {
    return w->minimized ? SIZE_MINIMIZED : w->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
}

bool FakeBackend::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                               UINT flags) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST) w->topmost = true;
        else if (insertAfter == HWND_NOTOPMOST) w->topmost = false;
    }
    RECT n = w->normal;
    if (!(flags & SWP_NOMOVE)) {
        n = Rect(x, y, x + Width(n), y + Height(n));
    }
    if (!(flags & SWP_NOSIZE)) {
        n.right = n.left + std::max(0, cx);
        n.bottom = n.top + std::max(0, cy);
    }
    // Like a window manager, a maximised or full-screen window keeps its place and the
    // new rectangle becomes the one it restores to.
    w->normal = n;
    ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    if (w->alive && (flags & SWP_SHOWWINDOW)) {
        SetVisible(w, true);
        if (!(flags & SWP_NOACTIVATE)) Activate(w);
    }
    if (w->alive && (flags & SWP_HIDEWINDOW)) SetVisible(w, false);
    return true;
}

void FakeBackend::SetVisible(FakeWindow* w, bool visible) {
    if (!visible) {
        // Hiding a window ends a capture held inside its top-level window.
        auto top = [](FakeWindow* x) {
            while (x && x->parent) x = x->parent;
            return x;
        };
        FakeWindow* c = Live(capture_);
        if (c && top(c) == top(w)) ReleaseCapture();
    }
    if (w->visible == visible) return;
    w->visible = visible;
    Deliver(w, WM_SHOWWINDOW, visible ? 1 : 0, 0);
}

void FakeBackend::Activate(FakeWindow* w) {
    // Popups (menus) never take the focus from their owner, as with the GTK backend.
    if (!w->alive || w->parent || (w->style & WS_POPUP)) return;
    for (FakeWindow* f = Live(focus_); f; f = f->parent)
        if (f == w) return;  // focus already inside
    SetFocus(H(w));
}

bool FakeBackend::ShowWindow(HWND hwnd, int cmd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    bool wasVisible = w->visible;
    bool activate = false;
    switch (cmd) {
    case SW_HIDE:
        SetVisible(w, false);
        return wasVisible;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        if (w->minimized) w->minimized = false;  // back to what it was, maximised or not
        else w->maximized = false;
        activate = true;
        break;
    case SW_SHOWMAXIMIZED:
        w->maximized = true;
        w->minimized = false;
        activate = true;
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        w->minimized = true;
        break;
    case SW_SHOW:
        activate = true;
        break;
    default:  // SW_SHOWNOACTIVATE, SW_SHOWNA
        break;
    }
    SetVisible(w, true);
    if (w->alive) ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    if (activate && w->alive) Activate(w);
    return wasVisible;
}

bool FakeBackend::IsWindowVisible(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    for (; w; w = w->parent)
        if (!w->visible) return false;
    return true;
}

bool FakeBackend::IsZoomed(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->maximized && !w->minimized;
}

bool FakeBackend::IsIconic(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->minimized;
}

bool FakeBackend::IsTopmost(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->topmost;
}

bool FakeBackend::SetFullScreen(HWND hwnd, bool on) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->fullscreen = on;
    ApplyGeometry(w, TargetRect(w, screen_, workArea_), SizeType(w), false);
    return true;
}

bool FakeBackend::IsFullScreen(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w && w->fullscreen;
}

bool FakeBackend::ClientToScreen(HWND hwnd, POINT* pt) {
    FakeWindow* w = Live(hwnd);
    if (!w || !pt) return false;
    for (; w; w = w->parent) {
        pt->x += w->rect.left;
        pt->y += w->rect.top;
    }
    return true;
}

bool FakeBackend::ScreenToClient(HWND hwnd, POINT* pt) {
    if (!pt) return false;
    POINT origin;
    if (!ClientToScreen(hwnd, &origin)) return false;
    pt->x -= origin.x;
    pt->y -= origin.y;
    return true;
}

bool FakeBackend::SetWindowRegion(HWND hwnd, const WindowRegion& region) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->region = region;
    return true;
}

WindowRegion FakeBackend::GetWindowRegion(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? w->region : WindowRegion();
}

RECT FakeBackend::GetWorkArea(HWND) { return workArea_; }
SIZE FakeBackend::GetScreenSize() { return screen_; }
int FakeBackend::GetScaleFactor(HWND) { return scale_; }

unsigned long FakeBackend::GetNativeWindowId(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    return w ? 0x2000000UL + static_cast<unsigned long>(w->serial) : 0;
}

void FakeBackend::SetScreenSize(int width, int height) {
    screen_.cx = std::max(0, width);
    screen_.cy = std::max(0, height);
    SetWorkArea(Rect(0, 0, screen_.cx, screen_.cy));
}

void FakeBackend::SetWorkArea(const RECT& area) {
    workArea_ = area;
    // The window manager refits maximised and full-screen windows.
    for (auto& w : impl_->windows)
        if (w->alive && !w->parent && (w->maximized || w->fullscreen))
            ApplyGeometry(w.get(), TargetRect(w.get(), screen_, workArea_), SizeType(w.get()), false);
}

void FakeBackend::SetScaleFactor(int factor) { scale_ = std::max(1, factor); }

// ---- painting ----

void FakeBackend::InvalidateRect(HWND hwnd, const RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    RECT client = Rect(0, 0, Width(w->rect), Height(w->rect));
    RECT r = client;
    if (rect) {
        r = Rect(std::max(rect->left, client.left), std::max(rect->top, client.top),
                 std::min(rect->right, client.right), std::min(rect->bottom, client.bottom));
    }
    if (Empty(r)) return;
    if (w->invalid) {
        RECT& u = w->invalidRect;
        u = Rect(std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
                 std::max(u.bottom, r.bottom));
    } else {
        w->invalid = true;
        w->invalidRect = r;
    }
}

void FakeBackend::UpdateWindow(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w || !w->invalid) return;
    int width = Width(w->rect), height = Height(w->rect);
    if (width <= 0 || height <= 0) {
        w->invalid = false;
        return;
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale_, height * scale_));
    cairo_surface_set_device_scale(surface.get(), scale_, scale_);
    w->paintSurface = surface.get();
    Deliver(w, WM_PAINT, 0, 0);
    w->paintSurface = nullptr;
}

FakeBackend::Surface FakeBackend::Render(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return nullptr;
    if (Width(w->rect) <= 0 || Height(w->rect) <= 0) return nullptr;
    w->invalid = false;
    InvalidateRect(hwnd, nullptr);  // a fresh surface needs every pixel
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width(w->rect) * scale_,
                                               Height(w->rect) * scale_));
    cairo_surface_set_device_scale(surface.get(), scale_, scale_);
    w->paintSurface = surface.get();
    Deliver(w, WM_PAINT, 0, 0);
    w->paintSurface = nullptr;
    cairo_surface_flush(surface.get());
    return surface;
}

uint32_t FakeBackend::PixelAt(cairo_surface_t* surface, int x, int y) {
    if (!surface || x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
        y >= cairo_image_surface_get_height(surface))
        return 0;
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
}

bool FakeBackend::BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!ps) return false;
    ps->cr = nullptr;
    FakeWindow* w = Live(hwnd);
    if (!w || !w->paintSurface) return false;
    ps->rcPaint = w->invalid ? w->invalidRect : Rect(0, 0, Width(w->rect), Height(w->rect));
    w->invalid = false;
    ps->cr = cairo_create(w->paintSurface);
    cairo_rectangle(ps->cr, ps->rcPaint.left, ps->rcPaint.top, Width(ps->rcPaint),
                    Height(ps->rcPaint));
    cairo_clip(ps->cr);
    return true;
}

void FakeBackend::EndPaint(HWND, PAINTSTRUCT* ps) {
    if (ps && ps->cr) {
        cairo_destroy(ps->cr);
        ps->cr = nullptr;
    }
}

bool FakeBackend::HasInvalidArea(HWND hwnd) const {
    FakeWindow* w = Live(hwnd);
    return w && w->invalid;
}

RECT FakeBackend::InvalidArea(HWND hwnd) const {
    FakeWindow* w = Live(hwnd);
    return w && w->invalid ? w->invalidRect : RECT();
}

void FakeBackend::ClearInvalidArea(HWND hwnd) {
    if (FakeWindow* w = Live(hwnd)) w->invalid = false;
}

// ---- messages and timers ----

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

// ---- focus, capture, keyboard state, small records ----

HWND FakeBackend::SetFocus(HWND hwnd) {
    FakeWindow* next = nullptr;
    if (hwnd && !(next = Live(hwnd))) return nullptr;
    HWND previous = focus_;
    if (previous == hwnd) return previous;
    focus_ = hwnd;
    if (FakeWindow* old = Live(previous)) Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (next && next->alive && focus_ == hwnd)
        Deliver(next, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND FakeBackend::GetFocus() { return Live(focus_) ? focus_ : nullptr; }

HWND FakeBackend::SetCapture(HWND hwnd) {
    if (hwnd && !Live(hwnd)) return nullptr;
    HWND previous = capture_;
    capture_ = hwnd;
    if (previous != hwnd)
        if (FakeWindow* old = Live(previous))
            Deliver(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

bool FakeBackend::ReleaseCapture() {
    HWND previous = capture_;
    capture_ = nullptr;
    if (FakeWindow* old = Live(previous)) Deliver(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND FakeBackend::GetCapture() { return Live(capture_) ? capture_ : nullptr; }

bool FakeBackend::GetCursorPos(POINT* pt) {
    if (!pt) return false;
    *pt = cursor_;
    return true;
}

void FakeBackend::SetCursorPos(int screenX, int screenY) {
    cursor_.x = screenX;
    cursor_.y = screenY;
}

short FakeBackend::GetKeyState(int vk) {
    bool down = impl_->keysDown.count(vk) > 0 || (vk == VK_SHIFT && (modifiers_ & kShift)) ||
                (vk == VK_CONTROL && (modifiers_ & kControl)) || (vk == VK_MENU && (modifiers_ & kAlt));
    return down ? SHRT_MIN : 0;
}

void FakeBackend::SetModifiers(unsigned modifiers) { modifiers_ = modifiers; }

void FakeBackend::SetKeyState(int vk, bool down) {
    if (down) impl_->keysDown.insert(vk);
    else impl_->keysDown.erase(vk);
}

void FakeBackend::SetCursor(HWND hwnd, CursorShape shape) {
    if (FakeWindow* w = Live(hwnd)) w->cursor = shape;
}

CursorShape FakeBackend::Cursor(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w ? w->cursor : CursorShape::Arrow;
}

bool FakeBackend::TrackMouseLeave(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return false;
    w->trackLeave = true;
    return true;
}

bool FakeBackend::TrackingMouseLeave(HWND hwnd) const {
    FakeWindow* w = Live(hwnd);
    return w && w->trackLeave;
}

void FakeBackend::SetInputMethod(HWND hwnd, bool on, const RECT& caret) {
    if (FakeWindow* w = Live(hwnd)) w->ime = {on, caret};
}

FakeBackend::InputMethodState FakeBackend::InputMethod(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w ? w->ime : InputMethodState();
}

std::string FakeBackend::WindowIcon(HWND hwnd) const {
    FakeWindow* w = Known(hwnd);
    return w ? w->icon : std::string();
}

bool FakeBackend::SetClipboardText(const std::string& utf8) {
    clipboard_ = utf8;
    return true;
}

std::string FakeBackend::GetClipboardText() { return clipboard_; }

void FakeBackend::SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

bool FakeBackend::ShellOpen(const std::string& uriOrPath) {
    shellOpened_.push_back(uriOrPath);
    return shellOpenResult_;
}

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
