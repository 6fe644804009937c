// Control timers: each control numbers its own timers from 1; the window sees them as
// window timers with ids of their own, so two controls never share one.
#pragma once

#include <vector>

#include "uilib/WindowWnd.h"

namespace uilib {

class CControlUI;
class CPaintManagerUI;

class CControlTimers {
public:
    explicit CControlTimers(CPaintManagerUI& manager) : m_manager(manager) {}

    bool Set(CControlUI* control, UINT timerId, UINT elapseMs);
    bool Kill(CControlUI* control, UINT timerId);
    void KillAll(CControlUI* control);
    void RemoveAll();
    // The control and its own id for a window timer id; false when it is not ours.
    bool Find(UINT_PTR windowId, CControlUI*& control, UINT& timerId) const;

private:
    struct Timer {
        CControlUI* control = nullptr;
        UINT localId = 0;
        UINT_PTR windowId = 0;
    };
    HWND LiveWindow() const;  // nullptr when there is no window to set timers on

    CPaintManagerUI& m_manager;
    std::vector<Timer> m_timers;
    // Far above the small ids windows use for their own timers (the tooltip delay's id
    // sits just below).
    UINT_PTR m_nextWindowId = 0x7E000001;
};

}  // namespace uilib
