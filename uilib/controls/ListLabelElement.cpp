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
    IListUI* list = dynamic_cast<IListUI*>(m_pOwner);
    IListCallbackUI* callback = list ? list->GetTextCallback() : nullptr;

    if (callback && info && !info->columns.empty()) {
        for (size_t i = 0; i < info->columns.size(); ++i) {
            RECT rc{info->columns[i].left, rcItem.top, info->columns[i].right, rcItem.bottom};
            CStdString text = callback->GetItemText(this, m_iIndex, static_cast<int>(i));
            DrawRowText(cr, m_pManager, info, rc, text.c_str(), color);
        }
        return;
    }
    CStdString text = m_sText;
    if (text.empty() && callback) text = callback->GetItemText(this, m_iIndex, 0);
    DrawRowText(cr, m_pManager, info, rcItem, text.c_str(), color);
}

}  // namespace uilib
