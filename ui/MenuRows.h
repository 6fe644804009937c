// The rows of the menu window: rows that show the keyboard's highlight like the pointer's
// (and keep it while their submenu is open), the control factory that makes them from
// "menu.xml", and small helpers the menu window shares.
#pragma once

#include "ui/DialogBuilderCallbackEx.h"
#include "uilib/Control.h"
#include "uilib/DialogBuilder.h"
#include "platform/Platform.h"

namespace uilib {
class CListContainerElementUI;
}

namespace orvella {

// A row the menu can highlight from the keyboard. Its hot look also shows over the check
// mark of a marked row, so that the highlight never hides on a marked item.
class IMenuRow {
public:
    virtual ~IMenuRow() = default;
    virtual void SetHot(bool hot) = 0;
    // While its submenu is open the row stays highlighted, wherever the pointer is.
    virtual void SetKeepHot(bool keep) = 0;
};

// The row's highlight interface; null for a control that is not such a row.
IMenuRow* MenuRowOf(uilib::CControlUI* control);

// Rows made elsewhere show the keyboard highlight the way the pointer gives it to them.
void SetRowHot(uilib::CControlUI* row, bool hot);

// A row the user can choose: shown, enabled, a list item.
bool Choosable(uilib::CControlUI* row);

// A plain menu row, as the layout's "MenuItem" makes it.
uilib::CListContainerElementUI* NewMenuRow();

RECT ScreenRect(HWND hwnd);

// The program's controls, with the menu rows in place of the plain ones.
class MenuLayoutFactory : public uilib::IDialogBuilderCallback {
public:
    uilib::CControlUI* CreateControl(const char* tag) override;

private:
    CDialogBuilderCallbackEx m_program;
};

}  // namespace orvella
