// The small popup that shows a control's tooltip near the pointer. Drawn by us.
#pragma once

#include "uilib/WindowWnd.h"

namespace uilib {

class CPaintManagerUI;

class CToolTipWnd : public CWindowWnd {
public:
    explicit CToolTipWnd(CPaintManagerUI* manager) : m_pManager(manager) {}
    ~CToolTipWnd() override;

    // Shows text with its top-left near screenPt (kept on the work area).
    void ShowAt(HWND owner, const CStdString& text, POINT screenPt);
    void Hide();
    bool IsShowing() const { return m_bShowing; }
    const CStdString& GetText() const { return m_sText; }

protected:
    const char* GetWindowClassName() const override { return "OrvellaToolTip"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CPaintManagerUI* m_pManager;
    CStdString m_sText;
    bool m_bShowing = false;
};

}  // namespace uilib
