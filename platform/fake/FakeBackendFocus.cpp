// The fake backend's focus, capture, keyboard and pointer state.
#include <climits>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using namespace fake;

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

std::string FakeBackend::KeyCharacter(int vk) {
    // Letters and digits type themselves (in lower case); the punctuation keys differ.
    if (vk >= '0' && vk <= '9') return std::string(1, static_cast<char>(vk));
    if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk - 'A' + 'a'));
    struct Punctuation {
        int vk;
        const char* us;
        const char* de;
    };
    static const Punctuation kKeys[] = {
        {0xBA, ";", "\xC3\xBC"}, {0xBB, "=", "+"},  {0xBC, ",", ","},  {0xBD, "-", "-"},
        {0xBE, ".", "."},          {0xBF, "/", "#"},  {0xC0, "`", "\xC3\xB6"},
        {0xDB, "[", "\xC3\x9F"}, {0xDC, "\\", "^"}, {0xDD, "]", "\xC2\xB4"},
        {0xDE, "'", "\xC3\xA4"}, {0xE2, "", "<"},
    };
    for (const Punctuation& key : kKeys)
        if (key.vk == vk) return keyboardLayout_ == "de" ? key.de : key.us;
    return std::string();
}

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

}  // namespace platform
