// Pointer, keyboard and focus: GDK events of our windows turned into Windows messages,
// plus the input state the window code queries (focus, capture, modifier keys).
#pragma once

#include <set>

#include "platform/Platform.h"

typedef struct _GtkWidget GtkWidget;
typedef union _GdkEvent GdkEvent;

namespace platform {
namespace gtk {

class GtkBackend;

class GtkInput {
public:
    explicit GtkInput(GtkBackend& backend);
    ~GtkInput();

    void ConnectSurface(HWND hwnd);   // pointer events of a window's drawing surface
    void ConnectTopLevel(HWND hwnd);  // keyboard and focus of a top-level or popup
    void Forget(HWND hwnd);           // the window is being destroyed

    HWND SetFocus(HWND hwnd);
    HWND GetFocus() const { return focus_; }
    HWND SetCapture(HWND hwnd);
    bool ReleaseCapture();
    HWND GetCapture() const { return capture_; }
    short GetKeyState(int vk) const;
    bool TrackMouseLeave(HWND hwnd);
    void SetInputMethod(HWND hwnd, bool on, const RECT& caret);

private:
    static int OnButton(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnMotion(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnScroll(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnLeave(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnKey(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnFocusIn(GtkWidget* widget, GdkEvent* event, void* data);
    static int OnFocusOut(GtkWidget* widget, GdkEvent* event, void* data);
    static void OnCommit(void* context, const char* text, void* data);
    static void OnPreeditChanged(void* context, void* data);

    void HandleButton(HWND hwnd, GdkEvent* event);
    bool HandleNonClientPress(HWND top, GdkEvent* event);
    void HandleKey(HWND top, GdkEvent* event);
    // The window that gets a pointer event (the capture, if any) and the event's point
    // in that window's client coordinates.
    HWND PointerTarget(HWND hwnd, GdkEvent* event, POINT* client);
    WPARAM MouseKeys(unsigned gdkState, int button, bool pressed) const;
    void NoteModifiers(unsigned gdkState);
    void MoveFocus(HWND to);

    GtkBackend& backend_;
    HWND focus_ = nullptr;
    HWND capture_ = nullptr;
    bool grabbing_ = false;  // a seat grab for a popup is active
    unsigned modifiers_ = 0;  // KeyModifier bits
    unsigned buttons_ = 0;    // MK_ bits of the buttons held
    std::set<unsigned> keysDown_;  // hardware key codes, to mark auto-repeat
};

}  // namespace gtk
}  // namespace platform
