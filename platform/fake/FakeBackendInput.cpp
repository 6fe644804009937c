// The fake's input helpers: the message sequences that real input produces through the
// GTK backend, delivered directly, followed by whatever the handlers posted.
#include <climits>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using fake::H;

namespace {

bool IsBorderHit(LRESULT ht) { return ht >= HTLEFT && ht <= HTBOTTOMRIGHT; }

// Decodes UTF-8; a malformed sequence yields U+FFFD for its first byte and goes on.
std::vector<uint32_t> CodePoints(const std::string& text) {
    std::vector<uint32_t> out;
    size_t i = 0, n = text.size();
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= n) { ok = false; break; }
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (cc & 0x3F);
        }
        static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (ok) {
            out.push_back(cp);
            i += extra + 1;
        } else {
            out.push_back(0xFFFD);
            ++i;
        }
    }
    return out;
}

}  // namespace

WPARAM FakeBackend::MouseFlags(unsigned modifiers, WPARAM buttons) const {
    return buttons | ((modifiers & kShift) ? MK_SHIFT : 0) | ((modifiers & kControl) ? MK_CONTROL : 0);
}

// Only a left press on a normal top-level window asks the hit test (never a child, a
// popup, or while some window has the capture).
bool FakeBackend::TakesHitTest(FakeWindow* w) const {
    return !w->parent && !(w->style & WS_POPUP) && !Live(capture_);
}

POINT FakeBackend::ToScreen(HWND hwnd, int x, int y) {
    POINT p;
    p.x = x;
    p.y = y;
    ClientToScreen(hwnd, &p);
    return p;
}

// The pointer is now at this client point of hwnd: GetCursorPos reports it.
POINT FakeBackend::MovePointer(HWND hwnd, int x, int y) {
    cursor_ = ToScreen(hwnd, x, y);
    return cursor_;
}

LRESULT FakeBackend::HitTest(FakeWindow* w, int x, int y) {
    const POINT p = ToScreen(H(w), x, y);
    return Deliver(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
}

// The window that gets mouse messages for a point of w: the capture window when there
// is one (the point converted to its client coordinates), else w.
FakeWindow* FakeBackend::MouseTarget(FakeWindow* w, int* x, int* y) {
    FakeWindow* c = Live(capture_);
    if (!c || c == w) return w;
    POINT p;
    p.x = *x;
    p.y = *y;
    ClientToScreen(H(w), &p);
    ScreenToClient(H(c), &p);
    *x = p.x;
    *y = p.y;
    return c;
}

void FakeBackend::UpdateLeave(FakeWindow* w, int x, int y) {
    RECT client;
    GetClientRect(H(w), &client);
    bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
    FakeWindow* last = Live(H(lastMouse_));
    if (last && last != w && last->trackLeave) {
        last->trackLeave = false;
        Deliver(last, WM_MOUSELEAVE, 0, 0);
    }
    lastMouse_ = inside ? w : nullptr;
    if (!inside && w->alive && w->trackLeave) {
        w->trackLeave = false;
        Deliver(w, WM_MOUSELEAVE, 0, 0);
    }
}

void FakeBackend::LeftDown(HWND hwnd, int x, int y, unsigned modifiers) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    modifiers_ = modifiers;
    MovePointer(hwnd, x, y);
    FakeWindow* t = MouseTarget(w, &x, &y);
    SetKeyState(VK_LBUTTON, true);
    Deliver(t, WM_LBUTTONDOWN, MouseFlags(modifiers, MK_LBUTTON), MAKELPARAM(x, y));
}

void FakeBackend::LeftUp(HWND hwnd, int x, int y, unsigned modifiers) {
    FakeWindow* w = Live(hwnd);
    SetKeyState(VK_LBUTTON, false);
    if (!w) return;
    modifiers_ = modifiers;
    FakeWindow* t = MouseTarget(w, &x, &y);
    Deliver(t, WM_LBUTTONUP, MouseFlags(modifiers, 0), MAKELPARAM(x, y));
}

void FakeBackend::LeftClick(HWND hwnd, int x, int y, unsigned modifiers) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    modifiers_ = modifiers;
    const POINT p = MovePointer(hwnd, x, y);
    if (TakesHitTest(w)) {
        LRESULT ht = HitTest(w, x, y);
        if (!w->alive) return;
        if (ht == HTCAPTION || IsBorderHit(ht)) {
            drags_.push_back({hwnd, ht, p});
            DispatchPending();
            return;
        }
    }
    LeftDown(hwnd, x, y, modifiers);
    LeftUp(hwnd, x, y, modifiers);
    DispatchPending();
}

void FakeBackend::DoubleClick(HWND hwnd, int x, int y, unsigned modifiers) {
    LeftClick(hwnd, x, y, modifiers);
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    const POINT p = ToScreen(hwnd, x, y);
    if (TakesHitTest(w)) {
        LRESULT ht = HitTest(w, x, y);
        if (!w->alive) return;
        if (ht == HTCAPTION) {
            Deliver(w, WM_NCLBUTTONDBLCLK, static_cast<WPARAM>(HTCAPTION), MAKELPARAM(p.x, p.y));
            DispatchPending();
            return;
        }
    }
    int tx = x, ty = y;
    FakeWindow* t = MouseTarget(w, &tx, &ty);
    SetKeyState(VK_LBUTTON, true);
    Deliver(t, WM_LBUTTONDBLCLK, MouseFlags(modifiers, MK_LBUTTON), MAKELPARAM(tx, ty));
    LeftUp(hwnd, x, y, modifiers);
    DispatchPending();
}

void FakeBackend::RightClick(HWND hwnd, int x, int y, unsigned modifiers) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    modifiers_ = modifiers;
    MovePointer(hwnd, x, y);
    FakeWindow* t = MouseTarget(w, &x, &y);
    Deliver(t, WM_RBUTTONDOWN, MouseFlags(modifiers, MK_RBUTTON), MAKELPARAM(x, y));
    Deliver(t, WM_RBUTTONUP, MouseFlags(modifiers, 0), MAKELPARAM(x, y));
    DispatchPending();
}

void FakeBackend::MouseMove(HWND hwnd, int x, int y, unsigned modifiers, WPARAM buttons) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    modifiers_ = modifiers;
    MovePointer(hwnd, x, y);
    FakeWindow* t = MouseTarget(w, &x, &y);
    RECT client;
    GetClientRect(H(t), &client);
    bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
    if (inside || t == Live(capture_))
        Deliver(t, WM_MOUSEMOVE, MouseFlags(modifiers, buttons), MAKELPARAM(x, y));
    if (t->alive) UpdateLeave(t, x, y);
    DispatchPending();
}

void FakeBackend::MouseLeave(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    if (lastMouse_ == w) lastMouse_ = nullptr;
    if (w->trackLeave) {
        w->trackLeave = false;
        Deliver(w, WM_MOUSELEAVE, 0, 0);
    }
    DispatchPending();
}

void FakeBackend::Wheel(HWND hwnd, int x, int y, int delta, unsigned modifiers) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    modifiers_ = modifiers;
    const POINT p = MovePointer(hwnd, x, y);
    WPARAM wp = MouseFlags(modifiers, 0) |
                (static_cast<WPARAM>(static_cast<WORD>(static_cast<short>(delta))) << 16);
    Deliver(w, WM_MOUSEWHEEL, wp, MAKELPARAM(p.x, p.y));
    DispatchPending();
}

FakeWindow* FakeBackend::KeyTarget(HWND target) { return Live(target ? target : focus_); }

// The character a key types on a US layout with no Ctrl or Alt (0: none).
static uint32_t TypedChar(int vk, unsigned modifiers) {
    if (modifiers & (FakeBackend::kControl | FakeBackend::kAlt)) return 0;
    if (vk == VK_SPACE) return ' ';
    if (vk >= '0' && vk <= '9' && !(modifiers & FakeBackend::kShift)) return static_cast<uint32_t>(vk);
    if (vk >= 'A' && vk <= 'Z')
        return static_cast<uint32_t>((modifiers & FakeBackend::kShift) ? vk : vk - 'A' + 'a');
    return 0;
}

void FakeBackend::Key(int vk, unsigned modifiers, HWND target, bool press) {
    bool wasDown = GetKeyState(vk) < 0 && vk != VK_SHIFT && vk != VK_CONTROL && vk != VK_MENU;
    modifiers_ = modifiers;
    SetKeyState(vk, press);
    FakeWindow* w = KeyTarget(target);
    if (!w) return;
    // Alt makes it a system key unless Ctrl is down too (AltGr, Ctrl+Alt shortcuts).
    bool sys = ((modifiers & kAlt) || vk == VK_MENU) && !(modifiers & kControl);
    uint32_t lp = 1u | ((wasDown || !press) ? (1u << 30) : 0) | (press ? 0 : (1u << 31)) |
                  ((modifiers & kAlt) ? (1u << 29) : 0);
    UINT msg = press ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    Deliver(w, msg, static_cast<WPARAM>(vk), static_cast<LPARAM>(lp));
    if (press && w->alive)
        if (uint32_t ch = TypedChar(vk, modifiers)) Deliver(w, WM_CHAR, ch, static_cast<LPARAM>(lp));
    DispatchPending();
}

void FakeBackend::KeyDown(int vk, unsigned modifiers, HWND target) { Key(vk, modifiers, target, true); }
void FakeBackend::KeyUp(int vk, unsigned modifiers, HWND target) { Key(vk, modifiers, target, false); }

void FakeBackend::KeyPress(int vk, unsigned modifiers, HWND target) {
    KeyDown(vk, modifiers, target);
    KeyUp(vk, modifiers, target);
}

void FakeBackend::TypeText(const std::string& utf8, HWND target) {
    for (uint32_t cp : CodePoints(utf8)) {
        FakeWindow* w = KeyTarget(target);
        if (!w) return;
        Deliver(w, WM_CHAR, cp, 1);
    }
    DispatchPending();
}

void FakeBackend::Compose(const std::string& preedit, HWND target) {
    FakeWindow* w = KeyTarget(target);
    if (!w) return;
    std::string text = preedit;
    Deliver(w, WM_IME_COMPOSITION, 0, reinterpret_cast<LPARAM>(&text));
    DispatchPending();
}

void FakeBackend::CloseRequest(HWND hwnd) { PostMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }

void FakeBackend::Signal() {
    if (mainWindow_) PostMessage(mainWindow_, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace platform
