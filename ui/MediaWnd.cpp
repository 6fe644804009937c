#include "ui/MediaWnd.h"

#include <cairo.h>

#include "ui/MediaAreaRules.h"
#include "ui/MediaUI.h"
#include "uilib/PaintManager.h"

namespace orvella {

LRESULT CMediaWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSELEAVE:
        m_trackingMouse = false;
        return 0;
    case WM_LBUTTONDOWN:
        if (wParam & kForwarded) {
            SendToMain("pausemedia");
        } else {
            // Wait whether a second click follows: then it is a double click.
            m_clickPending = true;
            SetTimer(m_hWnd, kClickTimer, kClickDelayMs);
        }
        return 0;
    case WM_SIZE:
        SendToMain("videoresizing");
        SetTimer(m_hWnd, kSizeSettledTimer, kSizeSettleMs);
        break;
    case WM_TIMER:
        if (wParam == kSizeSettledTimer) {
            // The engine may have drawn a frame for the size before last beside its
            // picture: black again, then drawn again.
            KillTimer(m_hWnd, kSizeSettledTimer);
            InvalidateRect(m_hWnd, nullptr);
            SendToMain("videoresized");
            return 0;
        }
        if (wParam != kClickTimer) break;
        KillTimer(m_hWnd, kClickTimer);
        if (m_clickPending) {
            m_clickPending = false;
            PostMessage(WM_LBUTTONDOWN, kForwarded | MK_LBUTTON, 0);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        m_clickPending = false;
        SendToMain("fullscreen");
        return 0;
    case WM_RBUTTONDOWN:
        SendToMain("showmainrightkeymenu");
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    default: break;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CMediaWnd::OnPaint() {
    PAINTSTRUCT ps;
    if (!platform::GetBackend().BeginPaint(m_hWnd, &ps)) return;
    // Black behind the picture until the engine draws; afterwards the engine repaints
    // its own frames.
    if (ps.cr && m_needsBlackFill) {
        cairo_set_source_rgb(ps.cr, 0, 0, 0);
        cairo_paint(ps.cr);
        m_needsBlackFill = false;
    }
    platform::GetBackend().EndPaint(m_hWnd, &ps);
}

void CMediaWnd::SendToMain(const char* type, WPARAM wParam, LPARAM lParam) {
    if (m_owner && m_owner->GetManager()) m_owner->GetManager()->SendNotify(m_owner, type, wParam, lParam);
}

void CMediaWnd::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!m_trackingMouse) {
        m_trackingMouse = platform::GetBackend().TrackMouseLeave(m_hWnd);
    }
    if (!m_owner || !m_owner->GetManager()) return;
    const RECT& area = m_owner->GetPos();
    const RECT media{area.left, 0, area.right, area.bottom - area.top};
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    // The top bar is only for a video at the top of the window (full screen), or for a
    // move the video area passed on.
    RECT mine{}, main{};
    GetWindowRect(m_hWnd, &mine);
    GetWindowRect(m_owner->GetManager()->GetPaintWindow(), &main);
    const bool checkTop = mine.top <= main.top + 50 || (wParam & kForwarded);
    const BarRequests bars = BarsForPointer(media, point, checkTop);
    if (bars.topBar != BarRequest::None) {
        SendToMain(bars.topBar == BarRequest::Show ? "showtopbar" : "hidetopbar");
    }
    SendToMain(bars.bottomBars == BarRequest::Show ? "showbottombar" : "hidebottombar");
    SendToMain("dvdnavmousemove", wParam, lParam);
}

void CMediaWnd::OnFinalMessage(HWND) {
    if (m_owner) m_owner->VideoWindowGone(this);
    delete this;
}

void CMediaWnd::RepaintBlack() {
    m_needsBlackFill = true;
    if (m_hWnd) InvalidateRect(m_hWnd, nullptr);
}

unsigned long CMediaWnd::GetNativeId() const {
    return m_hWnd ? platform::GetBackend().GetNativeWindowId(m_hWnd) : 0;
}

}  // namespace orvella
