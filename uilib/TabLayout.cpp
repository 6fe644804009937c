#include <algorithm>
#include <cstring>
#include <string>

#include "uilib/AttributeValue.h"
#include "uilib/Container.h"

namespace uilib {

const char* CTabLayoutUI::GetClass() const { return "TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "TabLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    int at = GetItemIndex(control);
    if (m_iCurSel >= at && m_iCurSel >= 0 && GetCount() > 1 && at <= m_iCurSel &&
        m_items[m_iCurSel] != control)
        ++m_iCurSel;  // the selected page moved one place down
    bool wantThis = (m_iPendingSel >= 0 && at == m_iPendingSel) ||
                    (m_iPendingSel < 0 && m_iCurSel < 0 && control->IsVisible());
    if (wantThis) {
        if (CControlUI* old = GetItemAt(m_iCurSel)) old->SetVisible(false);
        m_iCurSel = at;
        control->SetVisible(true);
    } else {
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    if (!CContainerUI::Remove(control)) return false;
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        if (GetCount() > 0) SelectItem(std::min(index, GetCount() - 1));
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    m_iCurSel = index;
    m_iPendingSel = -1;
    for (int i = 0; i < GetCount(); ++i) m_items[i]->SetVisible(i == index);
    NeedParentUpdate();
    NeedUpdate();
    Notify("tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control) {
    int index = GetItemIndex(control);
    return index >= 0 && SelectItem(index);
}

bool CTabLayoutUI::SelectItem(const char* name) {
    if (!name) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (m_items[i]->GetName() == name) return SelectItem(i);
    return false;
}

void CTabLayoutUI::SetPos(RECT rc, bool needInvalidate) {
    // Pages lie on top of each other, as a plain container lays its children; only the
    // selected one is visible.
    CContainerUI::SetPos(rc, needInvalidate);
}

void CTabLayoutUI::SetAttribute(const char* name, const char* value) {
    if (name && std::strcmp(name, "selectedid") == 0) {
        int index = attr::ParseInt(value, 0);
        // Pages usually follow the attribute in the layout: remember it for Add.
        if (!SelectItem(index)) m_iPendingSel = index;
        return;
    }
    CContainerUI::SetAttribute(name, value);
}

}  // namespace uilib
