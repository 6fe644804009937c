#include "uilib/controls/ListContainerElement.h"

#include "uilib/AttributeValue.h"

namespace uilib {

CListContainerElementUI::CListContainerElementUI() = default;

const char* CListContainerElementUI::GetClass() const { return "ListContainerElementUI"; }

void* CListContainerElementUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListItem")) return static_cast<IListItemUI*>(this);
    if (attr::IsName(name, "ListContainerElement")) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CListContainerElementUI::SetOwner(CControlUI* owner) {
    m_pOwner = CListElementUI::OwnerFrom(owner);
}

bool CListContainerElementUI::Select(bool select) {
    if (m_bSelected == select) return true;
    m_bSelected = select;
    Invalidate();
    return true;
}

bool CListContainerElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    Notify("itemactivate");
    return true;
}

void CListContainerElementUI::SetEnabled(bool enable) {
    CHorizontalLayoutUI::SetEnabled(enable);
    if (!enable) m_uButtonState = 0;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (!CListElementUI::HandleRowEvent(this, this, m_uButtonState, event))
        CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "selected")) Select(attr::ParseBool(value));
    else CHorizontalLayoutUI::SetAttribute(name, value);
}

void CListContainerElementUI::DrawItemBk(cairo_t* cr, const RECT& rcItem) {
    CListElementUI::PaintRowBackground(cr, this, this, m_uButtonState, rcItem);
}

void CListContainerElementUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    // The row's pictures (a marked row's tick) are clipped to this paint: set it first.
    if (!::uilib::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(cr, m_rcItem);
    CHorizontalLayoutUI::DoPaint(cr, rcPaint);
}

}  // namespace uilib
