#include "platform/gtk/GtkInput.h"

#include <gtk/gtk.h>

#include <cmath>
#include <string>

#include "platform/gtk/GtkBackend.h"
#include "platform/gtk/KeyTable.h"
#include "platform/gtk/NativeWindow.h"

namespace platform {
namespace gtk {
namespace {

constexpr UINT WM_MBUTTONDBLCLK = 0x0209;

struct ButtonMessages {
    UINT down, up, doubleClick;
    WPARAM key;
};
// Indexed by GDK button number 1..3.
constexpr ButtonMessages kButtons[] = {
    {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, MK_LBUTTON},
    {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, MK_MBUTTON},
    {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, MK_RBUTTON},
};

struct EdgeMapping {
    LRESULT hit;
    GdkWindowEdge edge;
};
constexpr EdgeMapping kEdges[] = {
    {HTLEFT, GDK_WINDOW_EDGE_WEST},           {HTRIGHT, GDK_WINDOW_EDGE_EAST},
    {HTTOP, GDK_WINDOW_EDGE_NORTH},           {HTBOTTOM, GDK_WINDOW_EDGE_SOUTH},
    {HTTOPLEFT, GDK_WINDOW_EDGE_NORTH_WEST},  {HTTOPRIGHT, GDK_WINDOW_EDGE_NORTH_EAST},
    {HTBOTTOMLEFT, GDK_WINDOW_EDGE_SOUTH_WEST}, {HTBOTTOMRIGHT, GDK_WINDOW_EDGE_SOUTH_EAST},
};

unsigned ModifiersOf(unsigned gdkState) {
    unsigned m = 0;
    if (gdkState & GDK_SHIFT_MASK) m |= kModShift;
    if (gdkState & GDK_CONTROL_MASK) m |= kModControl;
    if (gdkState & GDK_MOD1_MASK) m |= kModAlt;
    return m;
}

GtkInput& InputOf(void* data) { return static_cast<HWND>(data)->backend->Input(); }

}  // namespace

GtkInput::GtkInput(GtkBackend& backend) : backend_(backend) {}

GtkInput::~GtkInput() {
    if (grabbing_) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
}

void GtkInput::ConnectSurface(HWND hwnd) {
    GtkWidget* w = hwnd->surface;
    g_signal_connect(w, "button-press-event", G_CALLBACK(&GtkInput::OnButton), hwnd);
    g_signal_connect(w, "button-release-event", G_CALLBACK(&GtkInput::OnButton), hwnd);
    g_signal_connect(w, "motion-notify-event", G_CALLBACK(&GtkInput::OnMotion), hwnd);
    g_signal_connect(w, "scroll-event", G_CALLBACK(&GtkInput::OnScroll), hwnd);
    g_signal_connect(w, "leave-notify-event", G_CALLBACK(&GtkInput::OnLeave), hwnd);
}

void GtkInput::ConnectTopLevel(HWND hwnd) {
    GtkWidget* w = hwnd->window;
    gtk_widget_add_events(w, GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_FOCUS_CHANGE_MASK |
                                 GDK_STRUCTURE_MASK);
    g_signal_connect(w, "key-press-event", G_CALLBACK(&GtkInput::OnKey), hwnd);
    g_signal_connect(w, "key-release-event", G_CALLBACK(&GtkInput::OnKey), hwnd);
    g_signal_connect(w, "focus-in-event", G_CALLBACK(&GtkInput::OnFocusIn), hwnd);
    g_signal_connect(w, "focus-out-event", G_CALLBACK(&GtkInput::OnFocusOut), hwnd);
}

void GtkInput::Forget(HWND hwnd) {
    if (focus_ == hwnd) focus_ = nullptr;
    if (capture_ == hwnd) {
        if (grabbing_) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
        grabbing_ = false;
        capture_ = nullptr;
    }
    HWND top = backend_.TopLevelOf(hwnd);
    if (top && top->focusChild == hwnd) top->focusChild = nullptr;
}

// ---------------------------------------------------------------- focus and capture

void GtkInput::MoveFocus(HWND to) {
    if (to == focus_) return;
    HWND old = focus_;
    focus_ = to;
    if (to) backend_.TopLevelOf(to)->focusChild = to;
    if (backend_.IsWindow(old)) backend_.SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
    if (focus_ == to && backend_.IsWindow(to))
        backend_.SendMessage(to, WM_SETFOCUS, backend_.IsWindow(old) ? reinterpret_cast<WPARAM>(old) : 0, 0);
}

HWND GtkInput::SetFocus(HWND hwnd) {
    HWND previous = focus_;
    if (hwnd) {
        HWND top = backend_.TopLevelOf(hwnd);
        if (top->window && !top->isPopup && top->visible && !gtk_window_is_active(GTK_WINDOW(top->window))) {
            gtk_window_present(GTK_WINDOW(top->window));
            // The manager ignores an activation of a window it has not mapped yet.
            top->activateOnMap = !top->mapped;
        }
    }
    MoveFocus(hwnd);
    return previous;
}

HWND GtkInput::SetCapture(HWND hwnd) {
    HWND previous = capture_;
    if (previous == hwnd) return previous;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (grabbing_) gdk_seat_ungrab(seat);
    grabbing_ = false;
    capture_ = hwnd;
    if (backend_.IsWindow(previous))
        backend_.SendMessage(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    // A popup (a menu) takes the whole pointer and keyboard, so that a click anywhere
    // else reaches it and closes it.
    HWND top = backend_.IsWindow(hwnd) ? backend_.TopLevelOf(hwnd) : nullptr;
    if (top && capture_ == hwnd && top->isPopup && top->visible) {
        // Events from outside come to the grab window: the surface whose handlers turn
        // them into the capture window's messages.
        GdkWindow* window = SurfaceWindow(hwnd);
        const GdkGrabStatus status =
            window ? gdk_seat_grab(seat, window, GDK_SEAT_CAPABILITY_ALL, TRUE, nullptr, nullptr, nullptr, nullptr)
                   : GDK_GRAB_NOT_VIEWABLE;
        grabbing_ = status == GDK_GRAB_SUCCESS;
        // Without the grab the menu still closes when our windows lose the focus.
        if (!grabbing_) g_debug("the popup could not grab the pointer and keyboard (status %d)", status);
    }
    return previous;
}

bool GtkInput::ReleaseCapture() {
    HWND previous = capture_;
    capture_ = nullptr;
    if (grabbing_) gdk_seat_ungrab(gdk_display_get_default_seat(gdk_display_get_default()));
    grabbing_ = false;
    if (backend_.IsWindow(previous)) backend_.SendMessage(previous, WM_CAPTURECHANGED, 0, 0);
    return true;
}

short GtkInput::GetKeyState(int vk) const {
    bool down = false;
    switch (vk) {
    case VK_SHIFT: down = modifiers_ & kModShift; break;
    case VK_CONTROL: down = modifiers_ & kModControl; break;
    case VK_MENU: down = modifiers_ & kModAlt; break;
    case VK_LBUTTON: down = buttons_ & MK_LBUTTON; break;
    case VK_RBUTTON: down = buttons_ & MK_RBUTTON; break;
    default: break;
    }
    return down ? static_cast<short>(0x8000) : 0;
}

bool GtkInput::TrackMouseLeave(HWND hwnd) {
    hwnd->trackLeave = true;
    return true;
}

int GtkInput::OnFocusIn(GtkWidget*, GdkEvent*, void* data) {
    HWND top = static_cast<HWND>(data);
    if (top->isPopup) return FALSE;  // menus never take the focus from their owner
    GtkInput& self = InputOf(data);
    HWND target = top->focusChild && self.backend_.IsWindow(top->focusChild) ? top->focusChild : top;
    self.MoveFocus(target);
    return FALSE;
}

int GtkInput::OnFocusOut(GtkWidget*, GdkEvent*, void* data) {
    HWND top = static_cast<HWND>(data);
    GtkInput& self = InputOf(data);
    self.modifiers_ = 0;
    self.keysDown_.clear();
    // While our popup holds the keyboard the window manager takes the focus from the
    // main window: that is not a real loss.
    if (top->isPopup || self.grabbing_) return FALSE;
    if (self.focus_ && self.backend_.TopLevelOf(self.focus_) == top) self.MoveFocus(nullptr);
    return FALSE;
}

// ---------------------------------------------------------------- pointer

HWND GtkInput::PointerTarget(HWND hwnd, GdkEvent* event, POINT* client) {
    HWND target = capture_ && capture_ != hwnd && backend_.IsWindow(capture_) ? capture_ : hwnd;
    double x = 0, y = 0;
    if (target == hwnd && event->any.window == SurfaceWindow(hwnd) && gdk_event_get_coords(event, &x, &y)) {
        *client = {static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(y))};
        return target;
    }
    gdk_event_get_root_coords(event, &x, &y);
    *client = {static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(y))};
    backend_.ScreenToClient(target, client);
    return target;
}

WPARAM GtkInput::MouseKeys(unsigned gdkState, int button, bool pressed) const {
    WPARAM keys = 0;
    if (gdkState & GDK_BUTTON1_MASK) keys |= MK_LBUTTON;
    if (gdkState & GDK_BUTTON2_MASK) keys |= MK_MBUTTON;
    if (gdkState & GDK_BUTTON3_MASK) keys |= MK_RBUTTON;
    if (gdkState & GDK_SHIFT_MASK) keys |= MK_SHIFT;
    if (gdkState & GDK_CONTROL_MASK) keys |= MK_CONTROL;
    // The event's state is from before the button changed.
    if (button >= 1 && button <= 3) {
        WPARAM bit = kButtons[button - 1].key;
        keys = pressed ? (keys | bit) : (keys & ~bit);
    }
    return keys;
}

void GtkInput::NoteModifiers(unsigned gdkState) { modifiers_ = ModifiersOf(gdkState); }

int GtkInput::OnButton(GtkWidget*, GdkEvent* event, void* data) {
    InputOf(data).HandleButton(static_cast<HWND>(data), event);
    return TRUE;
}

void GtkInput::HandleButton(HWND hwnd, GdkEvent* event) {
    const GdkEventButton& b = event->button;
    if (b.button < 1 || b.button > 3 || event->type == GDK_3BUTTON_PRESS) return;
    const bool doubleClick = event->type == GDK_2BUTTON_PRESS;
    const bool press = event->type == GDK_BUTTON_PRESS || doubleClick;
    if (event->type == GDK_BUTTON_PRESS) {
        // GDK queues the double-click right behind the second plain press; Windows sends
        // only the double-click for it.
        if (GdkEvent* next = gdk_event_peek()) {
            const bool secondOfDouble = next->type == GDK_2BUTTON_PRESS && next->button.button == b.button &&
                                        next->button.window == b.window;
            gdk_event_free(next);
            if (secondOfDouble) return;
        }
    }
    NoteModifiers(b.state);
    const WPARAM keys = MouseKeys(b.state, static_cast<int>(b.button), press);
    buttons_ = keys & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON);

    POINT pt;
    HWND target = PointerTarget(hwnd, event, &pt);
    if (b.button == 1 && press && target->window && !target->isPopup && !capture_) {
        if (HandleNonClientPress(target, event)) return;
        if (!backend_.IsWindow(target)) return;
    }
    const ButtonMessages& m = kButtons[b.button - 1];
    const UINT msg = doubleClick ? m.doubleClick : press ? m.down : m.up;
    backend_.SendMessage(target, msg, keys, MAKELPARAM(pt.x, pt.y));
}

bool GtkInput::HandleNonClientPress(HWND top, GdkEvent* event) {
    const GdkEventButton& b = event->button;
    const LPARAM screen = MAKELPARAM(static_cast<int>(std::floor(b.x_root)), static_cast<int>(std::floor(b.y_root)));
    const LRESULT hit = backend_.SendMessage(top, WM_NCHITTEST, 0, screen);
    if (!backend_.IsWindow(top)) return true;
    if (event->type == GDK_2BUTTON_PRESS) {
        if (hit != HTCAPTION) return false;
        backend_.SendMessage(top, WM_NCLBUTTONDBLCLK, static_cast<WPARAM>(HTCAPTION), screen);
        return true;
    }
    GtkWindow* window = GTK_WINDOW(top->window);
    const int x = static_cast<int>(b.x_root), y = static_cast<int>(b.y_root);
    if (hit == HTCAPTION) {
        gtk_window_begin_move_drag(window, 1, x, y, b.time);
        buttons_ &= ~MK_LBUTTON;  // the window manager takes the release
        return true;
    }
    for (const EdgeMapping& e : kEdges) {
        if (e.hit != hit) continue;
        gtk_window_begin_resize_drag(window, e.edge, 1, x, y, b.time);
        buttons_ &= ~MK_LBUTTON;
        return true;
    }
    return false;
}

int GtkInput::OnMotion(GtkWidget*, GdkEvent* event, void* data) {
    GtkInput& self = InputOf(data);
    HWND hwnd = static_cast<HWND>(data);
    self.NoteModifiers(event->motion.state);
    const WPARAM keys = self.MouseKeys(event->motion.state, 0, false);
    self.buttons_ = keys & (MK_LBUTTON | MK_MBUTTON | MK_RBUTTON);
    POINT pt;
    HWND target = self.PointerTarget(hwnd, event, &pt);
    self.backend_.SendMessage(target, WM_MOUSEMOVE, keys, MAKELPARAM(pt.x, pt.y));
    return TRUE;
}

int GtkInput::OnScroll(GtkWidget*, GdkEvent* event, void* data) {
    GtkInput& self = InputOf(data);
    HWND hwnd = static_cast<HWND>(data);
    const GdkEventScroll& s = event->scroll;
    int delta = 0;
    if (s.direction == GDK_SCROLL_UP) delta = WHEEL_DELTA;
    else if (s.direction == GDK_SCROLL_DOWN) delta = -WHEEL_DELTA;
    else if (s.direction == GDK_SCROLL_SMOOTH) delta = static_cast<int>(std::lround(-s.delta_y * WHEEL_DELTA));
    if (delta == 0) return TRUE;
    self.NoteModifiers(s.state);
    POINT pt;
    HWND target = self.PointerTarget(hwnd, event, &pt);
    const WPARAM keys = self.MouseKeys(s.state, 0, false);
    const WPARAM wParam = (static_cast<WPARAM>(static_cast<WORD>(static_cast<short>(delta))) << 16) | keys;
    // Like Windows, the wheel reports the point in screen coordinates.
    const LPARAM lParam = MAKELPARAM(static_cast<int>(std::floor(s.x_root)), static_cast<int>(std::floor(s.y_root)));
    self.backend_.SendMessage(target, WM_MOUSEWHEEL, wParam, lParam);
    return TRUE;
}

int GtkInput::OnLeave(GtkWidget*, GdkEvent*, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    if (hwnd->trackLeave) {
        hwnd->trackLeave = false;
        hwnd->backend->SendMessage(hwnd, WM_MOUSELEAVE, 0, 0);
    }
    return FALSE;
}

// ---------------------------------------------------------------- keyboard

int GtkInput::OnKey(GtkWidget*, GdkEvent* event, void* data) {
    InputOf(data).HandleKey(static_cast<HWND>(data), event);
    return TRUE;  // all keys are ours: no GTK mnemonics or focus moves
}

void GtkInput::HandleKey(HWND top, GdkEvent* event) {
    const GdkEventKey& k = event->key;
    const bool press = event->type == GDK_KEY_PRESS;
    // While our popup holds the keyboard, keys go to the window with our focus (a menu
    // level), whichever of our windows X reports them to.
    const bool focusValid = focus_ && backend_.IsWindow(focus_);
    HWND target = focusValid && (grabbing_ || backend_.TopLevelOf(focus_) == top) ? focus_ : top;
    if (target->inputMethodOn && target->inputMethod &&
        gtk_im_context_filter_keypress(target->inputMethod, &event->key))
        return;

    // Layout-independent codes: the key's unshifted value in the first group.
    guint unshifted = 0;
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_window_get_display(k.window));
    gdk_keymap_translate_keyboard_state(keymap, k.hardware_keycode, static_cast<GdkModifierType>(0), 0,
                                        &unshifted, nullptr, nullptr, nullptr);
    const int vk = VirtualKeyForKey(k.keyval, unshifted);
    const unsigned before = ModifiersOf(k.state);
    modifiers_ = ModifiersAfterKey(before, vk, press);

    const bool wasDown = keysDown_.count(k.hardware_keycode) != 0;
    if (press) keysDown_.insert(k.hardware_keycode);
    else keysDown_.erase(k.hardware_keycode);
    LPARAM lParam = 1 | (static_cast<LPARAM>((k.hardware_keycode - 8) & 0xFF) << 16);
    if (wasDown || !press) lParam |= 1L << 30;
    if (!press) lParam |= static_cast<LPARAM>(static_cast<uint32_t>(1u << 31));

    if (vk != 0) {
        const bool system = ((before | modifiers_) & kModAlt) && !(before & kModControl);
        const UINT msg = press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
        backend_.SendMessage(target, msg, static_cast<WPARAM>(vk), lParam);
    }
    if (!press || (before & (kModControl | kModAlt)) || !backend_.IsWindow(target)) return;
    const gunichar ch = gdk_keyval_to_unicode(k.keyval);
    if (ch >= 0x20 && ch != 0x7F) backend_.SendMessage(target, WM_CHAR, ch, lParam);
}

// ---------------------------------------------------------------- input method

void GtkInput::SetInputMethod(HWND hwnd, bool on, const RECT& caret) {
    if (on) {
        if (!hwnd->inputMethod) {
            hwnd->inputMethod = gtk_im_multicontext_new();
            g_signal_connect(hwnd->inputMethod, "commit", G_CALLBACK(&GtkInput::OnCommit), hwnd);
            g_signal_connect(hwnd->inputMethod, "preedit-changed", G_CALLBACK(&GtkInput::OnPreeditChanged), hwnd);
        }
        gtk_im_context_set_client_window(hwnd->inputMethod, SurfaceWindow(hwnd));
        if (!hwnd->inputMethodOn) gtk_im_context_focus_in(hwnd->inputMethod);
        hwnd->inputMethodOn = true;
        GdkRectangle area = {static_cast<int>(caret.left), static_cast<int>(caret.top),
                             static_cast<int>(caret.right - caret.left), static_cast<int>(caret.bottom - caret.top)};
        gtk_im_context_set_cursor_location(hwnd->inputMethod, &area);
    } else if (hwnd->inputMethod && hwnd->inputMethodOn) {
        hwnd->inputMethodOn = false;
        gtk_im_context_focus_out(hwnd->inputMethod);
        gtk_im_context_reset(hwnd->inputMethod);
    }
}

void GtkInput::OnCommit(void*, const char* text, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    GtkBackend& backend = *hwnd->backend;
    if (!text || !g_utf8_validate(text, -1, nullptr)) return;
    for (const char* p = text; *p && backend.IsWindow(hwnd); p = g_utf8_next_char(p))
        backend.SendMessage(hwnd, WM_CHAR, g_utf8_get_char(p), 1);
}

void GtkInput::OnPreeditChanged(void* context, void* data) {
    HWND hwnd = static_cast<HWND>(data);
    gchar* preedit = nullptr;
    gtk_im_context_get_preedit_string(GTK_IM_CONTEXT(context), &preedit, nullptr, nullptr);
    std::string text = preedit ? preedit : "";
    g_free(preedit);
    hwnd->backend->SendMessage(hwnd, WM_IME_COMPOSITION, 0, reinterpret_cast<LPARAM>(&text));
}

}  // namespace gtk
}  // namespace platform
