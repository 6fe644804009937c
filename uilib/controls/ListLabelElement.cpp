#include "uilib/controls/ListLabelElement.h"

#include "uilib/AttributeValue.h"

namespace uilib {

CListLabelElementUI::CListLabelElementUI() = default;

const char* CListLabelElementUI::GetClass() const { return "ListLabelElementUI"; }

void* CListLabelElementUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListLabelElement")) return this;
    return CListElementUI::GetInterface(name);
}

SIZE CListLabelElementUI::EstimateSize(SIZE available) {
    if (m_cxyFixed.cy > 0) return m_cxyFixed;
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    return SIZE{m_cxyFixed.cx, info ? info->nItemHeight : 0};
}

void CListLabelElementUI::DrawItemText(cairo_t* cr, const RECT& rcItem) {
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    DWORD color = RowTextColor(this, this, m_uButtonState);
    // Under a header the callback's cells win; a single column shows the row's own text.
    const bool columns = info && !info->columns.empty();
    if ((columns || m_sText.empty()) && DrawCallbackCells(cr, this, m_pOwner, m_iIndex, rcItem, color))
        return;
    DrawRowText(cr, m_pManager, info, rcItem, m_sText.c_str(), color);
}

}  // namespace uilib
