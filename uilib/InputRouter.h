// Turns a window's mouse, keyboard and focus messages into control events: which control
// is under the pointer, which one a press belongs to, which one has the keyboard.
#pragma once

#include "uilib/WindowWnd.h"

namespace uilib {

class CControlUI;
class CPaintManagerUI;
class CPaintManagerToolTips;

class CInputRouter {
public:
    CInputRouter(CPaintManagerUI& manager, CPaintManagerToolTips& toolTips);
    CInputRouter(const CInputRouter&) = delete;
    CInputRouter& operator=(const CInputRouter&) = delete;

    // Offers an input message; true when consumed (result then holds its answer).
    bool Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void SendEvent(CControlUI* control, int type, WPARAM wParam = 0, LPARAM lParam = 0,
                   uint32_t key = 0);

    CControlUI* GetFocus() const { return m_focus; }
    void SetFocus(CControlUI* control);
    bool SetNextTabControl(bool forward);
    bool IsFocusFromKeyboard() const { return m_focusFromKeyboard; }
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_mouseCapture; }
    CControlUI* GetEventClick() const { return m_eventClick; }
    CControlUI* GetEventHover() const { return m_eventHover; }
    POINT GetMousePos() const { return m_lastMousePos; }

    // Drops every reference to control (it is about to be deleted).
    void Forget(CControlUI* control);
    // A new tree: nothing is hovered, pressed or focused any more.
    void ForgetAll();

private:
    using Handler = bool (CInputRouter::*)(WPARAM, LPARAM, LRESULT&);
    struct MessageRoute {
        UINT message;
        Handler handler;
    };
    static const MessageRoute kMessageRoutes[];

    bool WindowAlive() const;
    // The control under pt when it belongs to this manager.
    CControlUI* OwnControlAt(POINT pt) const;
    void PressAt(int type, WPARAM wParam, LPARAM lParam);
    void SendKey(CControlUI* control, int type, WPARAM wParam, LPARAM lParam);

    bool OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseLeave(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonDoubleClick(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnLButtonUp(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnRButtonDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnRButtonUp(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKillFocus(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSetFocus(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnCaptureChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnKeyUp(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnChar(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnSysKeyDown(WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnImeComposition(WPARAM wParam, LPARAM lParam, LRESULT& result);

    CPaintManagerUI& m_manager;
    CPaintManagerToolTips& m_toolTips;
    CControlUI* m_focus = nullptr;
    CControlUI* m_eventHover = nullptr;
    CControlUI* m_eventClick = nullptr;
    CControlUI* m_eventKey = nullptr;  // the control that had the key down, for its key up
    POINT m_lastMousePos;
    bool m_mouseTracking = false;
    bool m_mouseCapture = false;
    bool m_focusFromKeyboard = false;
};

}  // namespace uilib
