#include "ui/MenuUI.h"

#include <algorithm>

namespace orvella {

using uilib::TEventUI;
using uilib::UISTATE_CAPTURED;
using uilib::UISTATE_HOT;
using uilib::UISTATE_PUSHED;

namespace {
// Never destroyed: a button outliving the program's statics must still find its list.
std::vector<CMenuUI*>& OpenedList() {
    static auto* list = new std::vector<CMenuUI*>;
    return *list;
}
bool g_menuBarMode = false;
}  // namespace

CMenuUI::~CMenuUI() { Forget(this); }

void CMenuUI::RememberOpened(CMenuUI* button) {
    if (!button) return;
    std::vector<CMenuUI*>& list = OpenedList();
    const uilib::CStdString name = button->GetName();
    auto sameButton = [&](CMenuUI* b) { return b == button || (!name.empty() && b->GetName() == name); };
    list.erase(std::remove_if(list.begin(), list.end(), sameButton), list.end());
    list.push_back(button);
}

void CMenuUI::Forget(CMenuUI* button) {
    std::vector<CMenuUI*>& list = OpenedList();
    list.erase(std::remove(list.begin(), list.end(), button), list.end());
}

void CMenuUI::ForgetAll() { OpenedList().clear(); }
const std::vector<CMenuUI*>& CMenuUI::OpenedButtons() { return OpenedList(); }
bool CMenuUI::IsMenuBarMode() { return g_menuBarMode; }
void CMenuUI::SetMenuBarMode(bool on) { g_menuBarMode = on; }

void CMenuUI::ShowNormal() {
    m_uButtonState &= ~(UISTATE_HOT | UISTATE_PUSHED | UISTATE_CAPTURED);
    Selected(false, false);
    Invalidate();
}

void CMenuUI::OpenMenu() {
    for (CMenuUI* button : OpenedList()) button->ShowNormal();
    m_uButtonState = (m_uButtonState & ~UISTATE_CAPTURED) | UISTATE_PUSHED;
    Selected(true, false);
    Invalidate();
    // The menu window adds the button once its menu is up; until that window exists,
    // opening records it here, so that the next button of a row can put this one back.
    RememberOpened(this);
    Notify("showmenu");
}

void CMenuUI::DoEvent(TEventUI& event) {
    const bool mouse = event.Type > uilib::UIEVENT__MOUSEBEGIN && event.Type < uilib::UIEVENT__MOUSEEND;
    if (mouse && (!IsMouseEnabled() || !IsEnabled())) {
        COptionUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case uilib::UIEVENT_BUTTONUP:
        if (!uilib::PtInRect(&m_rcItem, event.ptMouse)) {
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            return;
        }
        SetMenuBarMode(true);
        OpenMenu();
        return;
    case uilib::UIEVENT_MOUSEENTER:
        if (IsMenuBarMode()) {
            OpenMenu();
            return;
        }
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case uilib::UIEVENT_KILLFOCUS:
        // The menu window takes the keyboard while this button still stands for it.
        return;
    default:
        COptionUI::DoEvent(event);
        return;
    }
}

}  // namespace orvella
