#include "uilib/ToolTipWnd.h"

#include <algorithm>

#include "uilib/PaintManager.h"
#include "uilib/RenderEngine.h"

namespace uilib {

namespace {
constexpr int kPadX = 6, kPadY = 3, kMaxWidth = 400;
constexpr DWORD kBack = 0xFF2E3136, kBorder = 0xFF5A5F66, kText = 0xFFEDEFF2;
constexpr UINT kStyle = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
}  // namespace

CToolTipWnd::~CToolTipWnd() {
    if (m_hWnd && platform::HasBackend() && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CToolTipWnd::ShowAt(HWND owner, const CStdString& text, POINT screenPt) {
    if (!platform::HasBackend()) return;
    m_sText = text;
    SIZE sz = CRenderEngine::GetTextSize(m_pManager, text.c_str(), -1, kStyle, kMaxWidth);
    int cx = sz.cx + 2 * kPadX, cy = sz.cy + 2 * kPadY;
    RECT work = platform::GetBackend().GetWorkArea(owner);
    int x = std::max<int>(work.left, std::min<int>(screenPt.x, work.right - cx));
    int y = screenPt.y;
    if (y + cy > work.bottom) y = screenPt.y - cy - 24;  // above the pointer instead
    y = std::max<int>(work.top, y);
    if (!m_hWnd || !::IsWindow(m_hWnd)) {
        m_hWnd = nullptr;
        Create(owner, "", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, x, y, cx, cy);
        if (!m_hWnd) return;
    } else {
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, cx, cy, SWP_NOACTIVATE);
    }
    ::InvalidateRect(m_hWnd, nullptr);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    m_bShowing = true;
}

void CToolTipWnd::Hide() {
    m_bShowing = false;
    m_sText.clear();
    if (m_hWnd && ::IsWindow(m_hWnd)) ::ShowWindow(m_hWnd, SW_HIDE);
}

LRESULT CToolTipWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        if (platform::GetBackend().BeginPaint(m_hWnd, &ps) && ps.cr) {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            CRenderEngine::DrawColor(ps.cr, rc, kBack);
            CRenderEngine::DrawRect(ps.cr, rc, 1, kBorder);
            RECT rcText{rc.left + kPadX, rc.top + kPadY, rc.right - kPadX, rc.bottom - kPadY};
            CRenderEngine::DrawText(ps.cr, m_pManager, rcText, m_sText.c_str(), kText, -1, kStyle);
        }
        platform::GetBackend().EndPaint(m_hWnd, &ps);
        return 0;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

}  // namespace uilib
