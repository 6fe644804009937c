// The paint manager's tooltips: the delay after the pointer settles on a control, and
// the one popup window that shows the control's text.
#pragma once

#include <memory>

#include "uilib/WindowWnd.h"

namespace uilib {

class CControlUI;
class CPaintManagerUI;
class CToolTipWnd;

class CPaintManagerToolTips {
public:
    explicit CPaintManagerToolTips(CPaintManagerUI& manager);
    ~CPaintManagerToolTips();
    CPaintManagerToolTips(const CPaintManagerToolTips&) = delete;
    CPaintManagerToolTips& operator=(const CPaintManagerToolTips&) = delete;

    // Shows control's tooltip below pt (client coordinates); nothing when it has none.
    void Show(CControlUI* control, POINT pt);
    void Hide();
    // Starts the delay after which the hovered control's tooltip shows.
    void StartDelay(CControlUI* control);
    // Stops the delay without hiding a tooltip already showing.
    void CancelDelay();
    // True when timerId is the delay's window timer (then it has been handled).
    bool OnTimer(UINT_PTR timerId);
    // Closes the popup window for good (the manager is going away).
    void DestroyWindow();

    const CStdString& GetText() const { return m_text; }
    CControlUI* GetControl() const { return m_control; }

private:
    bool WindowAlive() const;

    CPaintManagerUI& m_manager;
    CStdString m_text;
    CControlUI* m_control = nullptr;
    bool m_delayRunning = false;
    std::unique_ptr<CToolTipWnd> m_window;
};

}  // namespace uilib
