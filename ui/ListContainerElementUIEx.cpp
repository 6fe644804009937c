#include "ui/ListContainerElementUIEx.h"

namespace orvella {

void CListContainerElementUIEx::DoEvent(uilib::TEventUI& event) {
    switch (event.Type) {
    case uilib::UIEVENT_MOUSELEAVE:
        Notify("itemmouseleave", 0);
        break;  // the row drops its hot look
    case uilib::UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            Notify("itemmouseenter", 3);
            m_uButtonState |= uilib::UISTATE_HOT;
            Invalidate();
        }
        return;
    case uilib::UIEVENT_BUTTONDOWN:
    case uilib::UIEVENT_BUTTONUP:
        return;  // a press neither selects the row nor clicks it
    default:
        break;
    }
    CListContainerElementUI::DoEvent(event);
}

}  // namespace orvella
