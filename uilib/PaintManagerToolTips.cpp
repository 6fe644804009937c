#include "uilib/PaintManagerToolTips.h"

#include "uilib/Control.h"
#include "uilib/PaintManager.h"
#include "uilib/ToolTipWnd.h"

namespace uilib {

namespace {

// Far above the small ids windows use for their own timers, and below the ids the
// manager gives control timers.
constexpr UINT_PTR kToolTipTimerId = 0x7E000000;
constexpr UINT kToolTipDelayMs = 500;

}  // namespace

CPaintManagerToolTips::CPaintManagerToolTips(CPaintManagerUI& manager) : m_manager(manager) {}

CPaintManagerToolTips::~CPaintManagerToolTips() = default;

bool CPaintManagerToolTips::WindowAlive() const {
    HWND hwnd = m_manager.GetPaintWindow();
    return hwnd && platform::HasBackend() && ::IsWindow(hwnd);
}

void CPaintManagerToolTips::Show(CControlUI* control, POINT pt) {
    if (!control) return;
    CStdString text = control->GetToolTip();
    if (text.empty()) return;
    m_text = text;
    m_control = control;
    if (!WindowAlive()) return;
    HWND owner = m_manager.GetPaintWindow();
    POINT screen = pt;
    ::ClientToScreen(owner, &screen);
    screen.y += 20;  // below the pointer's arrow
    if (!m_window) m_window = std::make_unique<CToolTipWnd>(&m_manager);
    m_window->ShowAt(owner, text, screen);
}

void CPaintManagerToolTips::Hide() {
    CancelDelay();
    m_control = nullptr;
    m_text.clear();
    if (m_window) m_window->Hide();
}

void CPaintManagerToolTips::StartDelay(CControlUI* control) {
    if (!control || control->GetToolTip().empty() || !WindowAlive()) return;
    m_delayRunning =
        ::SetTimer(m_manager.GetPaintWindow(), kToolTipTimerId, kToolTipDelayMs) != 0;
}

void CPaintManagerToolTips::CancelDelay() {
    if (m_delayRunning && WindowAlive()) ::KillTimer(m_manager.GetPaintWindow(), kToolTipTimerId);
    m_delayRunning = false;
}

bool CPaintManagerToolTips::OnTimer(UINT_PTR timerId) {
    if (timerId != kToolTipTimerId) return false;
    ::KillTimer(m_manager.GetPaintWindow(), kToolTipTimerId);
    m_delayRunning = false;
    // Not while a button is held: the press owns the pointer.
    CControlUI* hover = m_manager.GetEventHover();
    if (hover && !m_manager.GetEventClick()) Show(hover, m_manager.GetMousePos());
    return true;
}

void CPaintManagerToolTips::DestroyWindow() { m_window.reset(); }

}  // namespace uilib
