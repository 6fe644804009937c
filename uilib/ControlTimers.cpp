#include "uilib/ControlTimers.h"

#include <algorithm>

#include "uilib/PaintManager.h"

namespace uilib {

HWND CControlTimers::LiveWindow() const {
    HWND hwnd = m_manager.GetPaintWindow();
    return hwnd && platform::HasBackend() && ::IsWindow(hwnd) ? hwnd : nullptr;
}

bool CControlTimers::Set(CControlUI* control, UINT timerId, UINT elapseMs) {
    if (!control) return false;
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
        return t.control == control && t.localId == timerId;
    });
    UINT_PTR windowId;
    if (it != m_timers.end()) {
        windowId = it->windowId;
    } else {
        windowId = m_nextWindowId++;
        m_timers.push_back(Timer{control, timerId, windowId});
    }
    HWND hwnd = LiveWindow();
    if (!hwnd) return false;
    return ::SetTimer(hwnd, windowId, elapseMs) != 0;
}

bool CControlTimers::Kill(CControlUI* control, UINT timerId) {
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) {
        return t.control == control && t.localId == timerId;
    });
    if (it == m_timers.end()) return false;
    if (HWND hwnd = LiveWindow()) ::KillTimer(hwnd, it->windowId);
    m_timers.erase(it);
    return true;
}

void CControlTimers::KillAll(CControlUI* control) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control == control) {
            if (HWND hwnd = LiveWindow()) ::KillTimer(hwnd, it->windowId);
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

void CControlTimers::RemoveAll() {
    for (const Timer& t : m_timers)
        if (HWND hwnd = LiveWindow()) ::KillTimer(hwnd, t.windowId);
    m_timers.clear();
}

bool CControlTimers::Find(UINT_PTR windowId, CControlUI*& control, UINT& timerId) const {
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.windowId == windowId; });
    if (it == m_timers.end()) return false;
    control = it->control;
    timerId = it->localId;
    return true;
}

}  // namespace uilib
