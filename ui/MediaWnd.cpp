#include "ui/MediaWnd.h"

#include <cairo.h>

#include "ui/MediaUI.h"

namespace orvella {

LRESULT CMediaWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (platform::GetBackend().BeginPaint(m_hWnd, &ps)) {
            // Black behind the picture until the engine draws; afterwards the engine
            // repaints its own frames.
            if (m_needsBlackFill && ps.cr) {
                cairo_set_source_rgb(ps.cr, 0, 0, 0);
                cairo_paint(ps.cr);
                m_needsBlackFill = false;
            }
            platform::GetBackend().EndPaint(m_hWnd, &ps);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        m_trackingMouse = false;
        return 0;
    default:
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
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
