#include "uilib/controls/ListLabelElement.h"

#include "uilib/controls/AttributeValue.h"

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
    int font = info ? info->nFont : -1;
    UINT style = info ? info->uTextStyle : (DT_VCENTER | DT_SINGLELINE);
    RECT pad = info ? info->rcTextPadding : RECT{4, 0, 4, 0};
    DWORD color = RowTextColor(this, this, m_uButtonState);
    IListUI* list = dynamic_cast<IListUI*>(m_pOwner);
    IListCallbackUI* callback = list ? list->GetTextCallback() : nullptr;

    auto draw = [&](RECT rc, const CStdString& text) {
        if (text.empty()) return;
        rc.left += pad.left; rc.top += pad.top; rc.right -= pad.right; rc.bottom -= pad.bottom;
        if (rc.right <= rc.left) return;
        CRenderEngine::DrawText(cr, m_pManager, rc, text.c_str(), color, font, style);
    };
    if (callback && info && !info->columns.empty()) {
        for (size_t i = 0; i < info->columns.size(); ++i) {
            RECT rc{info->columns[i].left, rcItem.top, info->columns[i].right, rcItem.bottom};
            draw(rc, callback->GetItemText(this, m_iIndex, static_cast<int>(i)));
        }
        return;
    }
    CStdString text = m_sText;
    if (text.empty() && callback) text = callback->GetItemText(this, m_iIndex, 0);
    draw(rcItem, text);
}

}  // namespace uilib
