// The GTK backend's focus, capture, keyboard state, pointer and clipboard; the event
// handling itself is GtkInput's.
#include "platform/gtk/GtkBackend.h"

#include <gtk/gtk.h>

#include "platform/gtk/GtkInput.h"
#include "platform/gtk/KeyTable.h"
#include "platform/gtk/NativeWindow.h"

namespace platform {
namespace gtk {
namespace {

const char* CursorName(CursorShape shape) {
    static const char* const kNames[] = {"default",     "text",        "pointer",
                                         "wait",        "ew-resize",   "ns-resize",
                                         "nwse-resize", "nesw-resize", "move"};
    size_t i = static_cast<size_t>(shape);
    return i < sizeof(kNames) / sizeof(kNames[0]) ? kNames[i] : "default";
}

// A dead key types nothing by itself; it is shown by the accent it puts on the next.
gunichar DeadKeyCharacter(guint keyval) {
    static const struct {
        guint keyval;
        gunichar ch;
    } kDeadKeys[] = {{GDK_KEY_dead_grave, 0x60}, {GDK_KEY_dead_acute, 0xB4}, {GDK_KEY_dead_circumflex, 0x5E},
                     {GDK_KEY_dead_tilde, 0x7E}, {GDK_KEY_dead_diaeresis, 0xA8}};
    for (const auto& key : kDeadKeys)
        if (key.keyval == keyval) return key.ch;
    return 0;
}

}  // namespace

HWND GtkBackend::SetFocus(HWND hwnd) { return input_->SetFocus(IsWindow(hwnd) ? hwnd : nullptr); }
HWND GtkBackend::GetFocus() { return input_->GetFocus(); }
HWND GtkBackend::SetCapture(HWND hwnd) { return IsWindow(hwnd) ? input_->SetCapture(hwnd) : input_->GetCapture(); }
bool GtkBackend::ReleaseCapture() { return input_->ReleaseCapture(); }
HWND GtkBackend::GetCapture() { return input_->GetCapture(); }
short GtkBackend::GetKeyState(int vk) { return input_->GetKeyState(vk); }

std::string GtkBackend::KeyCharacter(int vk) {
    // The key of the layout that gives this code (as key presses are given it: from the
    // unshifted value of the first group), and what that value types.
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
    for (guint keycode = 8; keycode < 256; ++keycode) {
        guint unshifted = 0;
        if (!gdk_keymap_translate_keyboard_state(keymap, keycode, static_cast<GdkModifierType>(0), 0, &unshifted,
                                                 nullptr, nullptr, nullptr))
            continue;
        if (VirtualKeyForKey(unshifted, unshifted) != vk) continue;
        const gunichar ch = DeadKeyCharacter(unshifted) ? DeadKeyCharacter(unshifted) : gdk_keyval_to_unicode(unshifted);
        if (ch < 0x20 || ch == 0x7F) continue;
        char utf8[8] = {};
        g_unichar_to_utf8(ch, utf8);
        return utf8;
    }
    return std::string();
}
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

}  // namespace gtk
}  // namespace platform
