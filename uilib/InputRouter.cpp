#include "uilib/InputRouter.h"

#include <algorithm>
#include <vector>

#include "uilib/Control.h"
#include "uilib/PaintManager.h"
#include "uilib/PaintManagerToolTips.h"

namespace uilib {

namespace {

WORD KeyStateFlags() {
    if (!platform::HasBackend()) return 0;
    WORD flags = 0;
    if (::GetKeyState(VK_SHIFT) & 0x8000) flags |= MK_SHIFT;
    if (::GetKeyState(VK_CONTROL) & 0x8000) flags |= MK_CONTROL;
    return flags;
}

POINT PointFromLParam(LPARAM lParam) {
    POINT pt;
    pt.x = GET_X_LPARAM(lParam);
    pt.y = GET_Y_LPARAM(lParam);
    return pt;
}

}  // namespace

const CInputRouter::MessageRoute CInputRouter::kMessageRoutes[] = {
    {WM_MOUSEMOVE, &CInputRouter::OnMouseMove},
    {WM_MOUSELEAVE, &CInputRouter::OnMouseLeave},
    {WM_LBUTTONDOWN, &CInputRouter::OnLButtonDown},
    {WM_LBUTTONDBLCLK, &CInputRouter::OnLButtonDoubleClick},
    {WM_LBUTTONUP, &CInputRouter::OnLButtonUp},
    {WM_RBUTTONDOWN, &CInputRouter::OnRButtonDown},
    {WM_RBUTTONUP, &CInputRouter::OnRButtonUp},
    {WM_CONTEXTMENU, &CInputRouter::OnContextMenu},
    {WM_MOUSEWHEEL, &CInputRouter::OnMouseWheel},
    {WM_SETCURSOR, &CInputRouter::OnSetCursor},
    {WM_KILLFOCUS, &CInputRouter::OnKillFocus},
    {WM_SETFOCUS, &CInputRouter::OnSetFocus},
    {WM_CAPTURECHANGED, &CInputRouter::OnCaptureChanged},
    {WM_KEYDOWN, &CInputRouter::OnKeyDown},
    {WM_KEYUP, &CInputRouter::OnKeyUp},
    {WM_CHAR, &CInputRouter::OnChar},
    {WM_SYSKEYDOWN, &CInputRouter::OnSysKeyDown},
    {WM_IME_COMPOSITION, &CInputRouter::OnImeComposition},
};

CInputRouter::CInputRouter(CPaintManagerUI& manager, CPaintManagerToolTips& toolTips)
    : m_manager(manager), m_toolTips(toolTips) {
    m_lastMousePos.x = m_lastMousePos.y = -1;
}

bool CInputRouter::Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const MessageRoute& route : kMessageRoutes)
        if (route.message == msg) return (this->*route.handler)(wParam, lParam, result);
    return false;
}

bool CInputRouter::WindowAlive() const {
    HWND hwnd = m_manager.GetPaintWindow();
    return hwnd && platform::HasBackend() && ::IsWindow(hwnd);
}

CControlUI* CInputRouter::OwnControlAt(POINT pt) const {
    CControlUI* control = m_manager.FindControl(pt);
    return control && control->GetManager() == &m_manager ? control : nullptr;
}

void CInputRouter::SendEvent(CControlUI* control, int type, WPARAM wParam, LPARAM lParam,
                             uint32_t key) {
    if (!control) return;
    TEventUI event;
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
    event.ptMouse = m_lastMousePos;
    event.chKey = key;
    event.wKeyState = KeyStateFlags();
    event.wParam = wParam;
    event.lParam = lParam;
    control->Event(event);
}

void CInputRouter::Forget(CControlUI* control) {
    if (!control) return;
    if (control == m_eventKey) m_eventKey = nullptr;
    if (control == m_eventHover) m_eventHover = nullptr;
    if (control == m_eventClick) m_eventClick = nullptr;
    if (control == m_focus) m_focus = nullptr;
}

void CInputRouter::ForgetAll() {
    m_eventHover = m_eventClick = m_eventKey = m_focus = nullptr;
}

// ---------------------------------------------------------------- focus and capture

void CInputRouter::SetFocus(CControlUI* control) {
    HWND hwnd = m_manager.GetPaintWindow();
    // Keyboard input must reach this window before a control can have it.
    if (control && WindowAlive() && ::GetFocus() != hwnd) ::SetFocus(hwnd);
    if (control == m_focus) return;
    if (m_focus) {
        CControlUI* old = m_focus;
        m_focus = nullptr;
        TEventUI event;
        event.Type = UIEVENT_KILLFOCUS;
        event.pSender = control;
        event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
        old->Event(event);
    }
    if (control && control->GetManager() == &m_manager && control->IsVisible() &&
        control->IsEnabled()) {
        m_focus = control;
        TEventUI event;
        event.Type = UIEVENT_SETFOCUS;
        event.pSender = control;
        event.dwTimestamp = platform::HasBackend() ? ::GetTickCount64() : 0;
        control->Event(event);
    }
}

bool CInputRouter::SetNextTabControl(bool forward) {
    CControlUI* root = m_manager.GetRoot();
    if (!root) return false;
    std::vector<CControlUI*> stops;
    root->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            if ((c->GetControlFlags() & UIFLAG_TABSTOP) && c->IsKeyboardEnabled())
                static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
            return nullptr;
        },
        &stops, UIFIND_VISIBLE | UIFIND_ENABLED);
    if (stops.empty()) return false;
    auto it = std::find(stops.begin(), stops.end(), m_focus);
    size_t next;
    int n = static_cast<int>(stops.size());
    if (it == stops.end()) {
        next = forward ? 0 : n - 1;
    } else {
        int i = static_cast<int>(it - stops.begin());
        next = static_cast<size_t>((i + (forward ? 1 : n - 1)) % n);
    }
    m_focusFromKeyboard = true;
    SetFocus(stops[next]);
    return true;
}

void CInputRouter::SetCapture() {
    if (WindowAlive()) ::SetCapture(m_manager.GetPaintWindow());
    m_mouseCapture = true;
}

void CInputRouter::ReleaseCapture() {
    if (m_mouseCapture && platform::HasBackend()) ::ReleaseCapture();
    m_mouseCapture = false;
}

// ---------------------------------------------------------------- mouse

bool CInputRouter::OnMouseMove(WPARAM, LPARAM lParam, LRESULT&) {
    HWND hwnd = m_manager.GetPaintWindow();
    if (!m_mouseTracking && WindowAlive()) {
        platform::GetBackend().TrackMouseLeave(hwnd);
        m_mouseTracking = true;
    }
    POINT pt = PointFromLParam(lParam);
    m_lastMousePos = pt;
    CControlUI* control = OwnControlAt(pt);
    if (control != m_eventHover) {
        m_toolTips.Hide();
        if (m_eventHover) {
            CControlUI* old = m_eventHover;
            m_eventHover = nullptr;
            SendEvent(old, UIEVENT_MOUSELEAVE, 0, lParam);
        }
        m_eventHover = control;
        if (control) {
            SendEvent(control, UIEVENT_MOUSEENTER, 0, lParam);
            m_toolTips.StartDelay(m_eventHover);
        }
    }
    if (m_eventClick) {
        SendEvent(m_eventClick, UIEVENT_MOUSEMOVE, 0, lParam);
    } else if (m_eventHover) {
        SendEvent(m_eventHover, UIEVENT_MOUSEMOVE, 0, lParam);
    }
    // The pointer shape follows the control under it.
    CControlUI* shape = m_eventClick ? m_eventClick : m_eventHover;
    if (shape && (shape->GetControlFlags() & UIFLAG_SETCURSOR))
        SendEvent(shape, UIEVENT_SETCURSOR, 0, lParam);
    else if (WindowAlive())
        platform::GetBackend().SetCursor(hwnd, CursorShape::Arrow);
    return false;
}

bool CInputRouter::OnMouseLeave(WPARAM, LPARAM, LRESULT&) {
    m_mouseTracking = false;
    m_toolTips.Hide();
    if (m_mouseCapture) return false;  // the pressed control still owns the pointer
    if (m_eventHover) {
        CControlUI* old = m_eventHover;
        m_eventHover = nullptr;
        SendEvent(old, UIEVENT_MOUSELEAVE, 0, MAKELPARAM(m_lastMousePos.x, m_lastMousePos.y));
    }
    m_lastMousePos.x = m_lastMousePos.y = -1;
    return false;
}

void CInputRouter::PressAt(int type, WPARAM wParam, LPARAM lParam) {
    POINT pt = PointFromLParam(lParam);
    m_lastMousePos = pt;
    m_toolTips.Hide();
    HWND hwnd = m_manager.GetPaintWindow();
    if (WindowAlive() && ::GetFocus() != hwnd) ::SetFocus(hwnd);
    CControlUI* control = OwnControlAt(pt);
    if (!control) return;
    m_focusFromKeyboard = false;
    if (type != UIEVENT_RBUTTONDOWN) {
        control->SetFocus();
        // The focus change may have removed it.
        control = OwnControlAt(pt);
        if (!control) return;
    }
    if (type == UIEVENT_RBUTTONDOWN) {
        m_eventClick = nullptr;
        SendEvent(control, type, wParam, lParam);
        return;
    }
    m_eventClick = control;
    SetCapture();
    SendEvent(control, type, wParam, lParam);
}

bool CInputRouter::OnLButtonDown(WPARAM wParam, LPARAM lParam, LRESULT&) {
    PressAt(UIEVENT_BUTTONDOWN, wParam, lParam);
    return false;
}

bool CInputRouter::OnLButtonDoubleClick(WPARAM wParam, LPARAM lParam, LRESULT&) {
    PressAt(UIEVENT_DBLCLICK, wParam, lParam);
    return false;
}

bool CInputRouter::OnRButtonDown(WPARAM wParam, LPARAM lParam, LRESULT&) {
    PressAt(UIEVENT_RBUTTONDOWN, wParam, lParam);
    return false;
}

bool CInputRouter::OnLButtonUp(WPARAM wParam, LPARAM lParam, LRESULT&) {
    m_lastMousePos = PointFromLParam(lParam);
    ReleaseCapture();
    CControlUI* click = m_eventClick;
    m_eventClick = nullptr;
    if (click) SendEvent(click, UIEVENT_BUTTONUP, wParam, lParam);
    return false;
}

bool CInputRouter::OnRButtonUp(WPARAM wParam, LPARAM lParam, LRESULT&) {
    // The context menu belongs to the control the release happens over.
    POINT pt = PointFromLParam(lParam);
    m_lastMousePos = pt;
    if (CControlUI* control = OwnControlAt(pt))
        SendEvent(control, UIEVENT_CONTEXTMENU, wParam, lParam);
    return false;
}

bool CInputRouter::OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT&) {
    // From the keyboard (menu key): the focused control's menu.
    if (lParam == -1 && m_focus) SendEvent(m_focus, UIEVENT_CONTEXTMENU, wParam, lParam);
    return false;
}

bool CInputRouter::OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT&) {
    POINT pt = PointFromLParam(lParam);  // screen coordinates
    ::ScreenToClient(m_manager.GetPaintWindow(), &pt);
    m_lastMousePos = pt;
    m_toolTips.Hide();
    CControlUI* control = OwnControlAt(pt);
    if (!control) return false;
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    // LOWORD: SB_LINEUP (0) / SB_LINEDOWN (1); HIWORD: the raw delta.
    WPARAM w = static_cast<WPARAM>(MAKELPARAM(delta < 0 ? 1 : 0, delta));
    SendEvent(control, UIEVENT_SCROLLWHEEL, w, MAKELPARAM(pt.x, pt.y));
    return false;
}

bool CInputRouter::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    CControlUI* control = m_eventClick ? m_eventClick : m_eventHover;
    if (!control || !(control->GetControlFlags() & UIFLAG_SETCURSOR)) return false;
    SendEvent(control, UIEVENT_SETCURSOR, wParam, lParam);
    result = 1;
    return true;
}

// ---------------------------------------------------------------- window focus

bool CInputRouter::OnKillFocus(WPARAM, LPARAM, LRESULT&) {
    // The window lost the keyboard: a press in progress ends, and the focused control
    // shows it no longer has the keyboard.
    if (m_mouseCapture) ReleaseCapture();
    m_eventClick = nullptr;
    m_toolTips.Hide();
    if (m_focus) SendEvent(m_focus, UIEVENT_KILLFOCUS);
    return false;
}

bool CInputRouter::OnSetFocus(WPARAM, LPARAM, LRESULT&) {
    if (m_focus && !m_focus->IsFocused()) SendEvent(m_focus, UIEVENT_SETFOCUS);
    return false;
}

bool CInputRouter::OnCaptureChanged(WPARAM, LPARAM, LRESULT&) {
    m_mouseCapture = false;
    return false;
}

// ---------------------------------------------------------------- keys

void CInputRouter::SendKey(CControlUI* control, int type, WPARAM wParam, LPARAM lParam) {
    if (control) SendEvent(control, type, wParam, lParam, static_cast<uint32_t>(wParam));
}

bool CInputRouter::OnKeyDown(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const bool focusWantsAll = m_focus && (m_focus->GetControlFlags() & UIFLAG_WANTALLKEYS);
    if (wParam == VK_TAB && !focusWantsAll) {
        bool backward = platform::HasBackend() && (::GetKeyState(VK_SHIFT) & 0x8000);
        if (SetNextTabControl(!backward)) {
            result = 0;
            return true;
        }
    }
    if (!m_focus) return false;
    m_eventKey = m_focus;
    SendKey(m_focus, UIEVENT_KEYDOWN, wParam, lParam);
    return false;
}

bool CInputRouter::OnKeyUp(WPARAM wParam, LPARAM lParam, LRESULT&) {
    // The key up goes where its key down went, even if the focus moved meanwhile.
    CControlUI* target = m_eventKey ? m_eventKey : m_focus;
    m_eventKey = nullptr;
    SendKey(target, UIEVENT_KEYUP, wParam, lParam);
    return false;
}

bool CInputRouter::OnChar(WPARAM wParam, LPARAM lParam, LRESULT&) {
    SendKey(m_focus, UIEVENT_CHAR, wParam, lParam);
    return false;
}

bool CInputRouter::OnSysKeyDown(WPARAM wParam, LPARAM lParam, LRESULT&) {
    SendKey(m_focus, UIEVENT_SYSKEY, wParam, lParam);
    return false;
}

bool CInputRouter::OnImeComposition(WPARAM wParam, LPARAM lParam, LRESULT&) {
    if (m_focus) SendEvent(m_focus, UIEVENT_IME, wParam, lParam);
    return false;
}

}  // namespace uilib
