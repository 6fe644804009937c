#include "uilib/controls/ListExpandElement.h"

#include <algorithm>

#include <cairo.h>

#include "uilib/AttributeValue.h"

namespace uilib {

namespace {
constexpr int kArrowSpace = 16;
}

CListExpandElementUI::CListExpandElementUI() = default;

const char* CListExpandElementUI::GetClass() const { return "ListExpandElementUI"; }

void* CListExpandElementUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListExpandElement")) return this;
    if (attr::IsName(name, "IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CListContainerElementUI::GetInterface(name);
}

TListInfoUI* CListExpandElementUI::GetListInfo() {
    return m_pOwner ? m_pOwner->GetListInfo() : &m_fallbackInfo;
}

int CListExpandElementUI::RowHeight() const {
    if (m_nRowHeight > 0) return m_nRowHeight;
    TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    return info && info->nItemHeight > 0 ? info->nItemHeight : 24;
}

RECT CListExpandElementUI::BandRect() const {
    RECT rc = m_rcItem;
    rc.bottom = std::min<LONG>(rc.bottom, rc.top + RowHeight());
    return rc;
}

void CListExpandElementUI::Reindex() {
    for (size_t i = 0; i < m_items.size(); ++i) {
        auto* item = static_cast<IListItemUI*>(m_items[i]->GetInterface("ListItem"));
        if (item) {
            item->SetOwner(this);
            item->SetIndex(static_cast<int>(i));
        }
        m_items[i]->SetInternVisible(m_bExpanded && IsVisible());
    }
}

bool CListExpandElementUI::Add(CControlUI* control) {
    return AddAt(control, static_cast<int>(m_items.size()));
}

bool CListExpandElementUI::AddAt(CControlUI* control, int index) {
    if (!CListContainerElementUI::AddAt(control, index)) return false;
    Reindex();
    if (m_iCurSel >= index) ++m_iCurSel;
    return true;
}

bool CListExpandElementUI::Remove(CControlUI* control) {
    int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index);
}

bool CListExpandElementUI::RemoveAt(int index) {
    if (!CListContainerElementUI::RemoveAt(index)) return false;
    if (m_iCurSel == index) m_iCurSel = -1;
    else if (m_iCurSel > index) --m_iCurSel;
    Reindex();
    return true;
}

void CListExpandElementUI::RemoveAll() {
    CListContainerElementUI::RemoveAll();
    m_iCurSel = -1;
}

bool CListExpandElementUI::Expand(bool expand) {
    if (m_bExpanded == expand) return true;
    m_bExpanded = expand;
    for (CControlUI* child : m_items) child->SetInternVisible(expand && IsVisible());
    NeedParentUpdate();
    Invalidate();
    return true;
}

bool CListExpandElementUI::SelectItem(int index, bool takeFocus) {
    if (index >= static_cast<int>(m_items.size())) return false;
    int old = m_iCurSel;
    for (size_t i = 0; i < m_items.size(); ++i) {
        auto* item = static_cast<IListItemUI*>(m_items[i]->GetInterface("ListItem"));
        if (item) item->Select(static_cast<int>(i) == index);
    }
    m_iCurSel = index;
    if (takeFocus && index >= 0) m_items[index]->SetFocus();
    if (old != index) Notify("itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
    return true;
}

void CListExpandElementUI::ItemRightClicked(int index) {
    if (m_pOwner) m_pOwner->ItemRightClicked(m_iIndex);
}

SIZE CListExpandElementUI::EstimateSize(SIZE available) {
    int cy = RowHeight();
    if (m_bExpanded) {
        TListInfoUI* info = GetListInfo();
        for (CControlUI* child : m_items) {
            if (!child->IsVisible()) continue;
            int h = child->EstimateSize(available).cy;
            if (h <= 0) h = info && info->nItemHeight > 0 ? info->nItemHeight : RowHeight();
            cy += h;
        }
    }
    return SIZE{m_cxyFixed.cx, cy};
}

void CListExpandElementUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    TListInfoUI* info = GetListInfo();
    int y = m_rcItem.top + RowHeight();
    for (CControlUI* child : m_items) {
        if (!m_bExpanded || !child->IsVisible()) {
            child->SetPos(RECT{m_rcItem.left, y, m_rcItem.right, y}, false);
            continue;
        }
        int h = child->EstimateSize(SIZE{m_rcItem.right - m_rcItem.left, 0}).cy;
        if (h <= 0) h = info && info->nItemHeight > 0 ? info->nItemHeight : RowHeight();
        child->SetPos(RECT{m_rcItem.left + kArrowSpace, y, m_rcItem.right, y + h}, false);
        y += h;
    }
}

void CListExpandElementUI::DoEvent(TEventUI& event) {
    if ((event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK) && IsEnabled()) {
        RECT band = BandRect();
        if (::uilib::PtInRect(&band, event.ptMouse)) {
            if (event.Type == UIEVENT_BUTTONDOWN) {
                if (m_pOwner) m_pOwner->SelectItemByUser(m_iIndex, event.wKeyState);
                Notify("itemclick", 0, static_cast<LPARAM>(event.wKeyState));
            }
            IListUI* list = dynamic_cast<IListUI*>(m_pOwner);
            if (list) list->ExpandItem(m_iIndex, !m_bExpanded);
            else Expand(!m_bExpanded);
            return;
        }
    }
    CListContainerElementUI::DoEvent(event);
}

void CListExpandElementUI::DrawItemText(cairo_t* cr, const RECT& rcItem) {
    TListInfoUI* info = GetListInfo();
    RECT band = BandRect();
    DWORD color = CListElementUI::RowTextColor(this, this, m_uButtonState);
    // The disclosure arrow: pointing right when collapsed, down when expanded.
    double cx = band.left + kArrowSpace / 2.0, cy = (band.top + band.bottom) / 2.0, r = 3.5;
    cairo_save(cr);
    cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                          (color & 0xFF) / 255.0, ((color >> 24) & 0xFF) / 255.0);
    if (m_bExpanded) {
        cairo_move_to(cr, cx - r, cy - r / 2);
        cairo_line_to(cr, cx + r, cy - r / 2);
        cairo_line_to(cr, cx, cy + r);
    } else {
        cairo_move_to(cr, cx - r / 2, cy - r);
        cairo_line_to(cr, cx + r, cy);
        cairo_line_to(cr, cx - r / 2, cy + r);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
    // A row without its own text shows the cells its list's text callback gives it.
    if (m_sText.empty()) {
        CListElementUI::DrawCallbackCells(cr, this, m_pOwner, m_iIndex, band, color, kArrowSpace);
        return;
    }
    RECT rc = band;
    rc.left += kArrowSpace + info->rcTextPadding.left;
    rc.right -= info->rcTextPadding.right;
    CRenderEngine::DrawText(cr, m_pManager, rc, m_sText.c_str(), color, info->nFont,
                            info->uTextStyle);
}

void CListExpandElementUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    // The band's pictures are clipped to this paint: set it first.
    if (!::uilib::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(cr, BandRect());
    DrawItemText(cr, m_rcItem);
    if (!m_bExpanded) return;
    for (CControlUI* child : m_items) {
        if (child->IsVisible()) child->DoPaint(cr, rcPaint);
    }
}

void CListExpandElementUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "expanded")) Expand(attr::ParseBool(value));
    else if (attr::IsName(name, "rowheight")) m_nRowHeight = attr::ParseInt(value, 0);
    else CListContainerElementUI::SetAttribute(name, value);
}

}  // namespace uilib
