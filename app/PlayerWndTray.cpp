// Minimising: behind a tray icon where the desktop has a tray, else iconified; either
// way the screen need not stay on for the video. The desktop's media controls.
#include "app/PlayerWnd.h"

#include "uilib/PaintManager.h"

namespace orvella {

using uilib::CControlUI;
using uilib::TNotifyUI;

LRESULT CPlayerWnd::OnTrayNotify(WPARAM, LPARAM lParam, bool&) {
    if (static_cast<UINT>(lParam) == WM_LBUTTONDBLCLK) {
        ::ShowWindow(m_hWnd, IsIconic(m_hWnd) ? SW_RESTORE : SW_SHOWNORMAL);
        ::SetFocus(m_hWnd);
    } else if (static_cast<UINT>(lParam) == WM_RBUTTONDOWN) {
        ShowTrayMenu();
    }
    return 0;
}

LRESULT CPlayerWnd::OnMediaControl(WPARAM, LPARAM, bool&) {
    m_mpris.RunRequests();
    m_settingsEffects.Refresh();  // the settings window follows, as after a menu command
    return 0;
}

void CPlayerWnd::MinimizeWindow() {
    // A full-screen window steps back to its own rectangle instead: minimised, it would
    // be gone where the desktop has no task bar to bring it back.
    if (m_display.State().fullScreen) return m_display.LeaveFullScreen();
    if (m_settings.pausewhenminize) m_playback.Pause();
    if (m_settings.minimizetosystemtray) {
        if (!m_trayIcon.added) {
            m_trayIcon.kind = platform::GetBackend().AddTrayIcon(
                m_hWnd, m_trayIcon.id, m_trayIcon.callbackMessage, m_trayIcon.iconPath,
                m_trayIcon.tip.empty() ? std::string(kProgramTitle) : m_trayIcon.tip);
            m_trayIcon.added = m_trayIcon.kind != platform::TrayKind::None;
        }
        // Hidden only where the tray can bring it back; else it is iconified below.
        if (m_trayIcon.added) {
            m_view.ShowControl("maxbtn", true);
            m_view.ShowControl("restorebtn", false);
            ::ShowWindow(m_hWnd, SW_HIDE);
            return;
        }
    }
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

LRESULT CPlayerWnd::OnShowWindow(WPARAM, LPARAM, bool& handled) {
    FollowWindowShown();
    handled = false;
    return 0;
}

void CPlayerWnd::FollowWindowShown() {
    m_playback.Screen().FollowWindow(IsIconic(m_hWnd) || !IsWindowVisible(m_hWnd));
}

LRESULT CPlayerWnd::OnScreenSettle(WPARAM, LPARAM, bool&) {
    m_playback.Screen().Settle();
    return 0;
}

void CPlayerWnd::RemoveTrayIcon() {
    if (!m_trayIcon.added) return;
    m_trayIcon.added = false;
    if (platform::HasBackend()) platform::GetBackend().RemoveTrayIcon(m_hWnd, m_trayIcon.id);
}

}  // namespace orvella
