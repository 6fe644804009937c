#include "uilib/controls/ListBody.h"

#include <algorithm>

#include <cairo.h>

#include "uilib/controls/AttributeValue.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ScrollBar.h"

namespace uilib {

namespace {
constexpr int kWheelRows = 3;
}

CListBodyUI::CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

const char* CListBodyUI::GetClass() const { return "ListBodyUI"; }

void* CListBodyUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListBody")) return this;
    return CVerticalLayoutUI::GetInterface(name);
}

void CListBodyUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    CVerticalLayoutUI::SetManager(manager, parent, init);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(manager, this, false);
}

void CListBodyUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
    if (enableVertical && !m_pVerticalScrollBar) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, this, false);
        if (m_pManager) {
            const char* defaults = m_pManager->GetDefaultAttributeList("VScrollBar");
            if (defaults) m_pVerticalScrollBar->ApplyAttributeList(defaults);
        }
    } else if (!enableVertical && m_pVerticalScrollBar) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }
    (void)enableHorizontal;  // rows always fit the width
    NeedUpdate();
}

RECT CListBodyUI::InnerRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    return rc;
}

int CListBodyUI::ViewHeight() const {
    return std::max<int>(0, m_rcItem.bottom - m_rcItem.top - m_rcInset.top - m_rcInset.bottom);
}

int CListBodyUI::HeightOf(CControlUI* row, int width) {
    SIZE sz = row->EstimateSize(SIZE{width, 0});
    int cy = sz.cy;
    if (cy <= 0) cy = m_pOwner ? m_pOwner->GetItemHeight() : 24;
    cy = std::clamp<int>(cy, row->GetMinHeight(), row->GetMaxHeight());
    return cy;
}

int CListBodyUI::ContentHeight() {
    int width = m_rcItem.right - m_rcItem.left - m_rcInset.left - m_rcInset.right;
    int total = 0, shown = 0;
    for (CControlUI* row : m_items) {
        if (!row->IsVisible() || row->IsFloat()) continue;
        RECT pad = row->GetPadding();
        total += HeightOf(row, width) + pad.top + pad.bottom;
        ++shown;
    }
    if (shown > 1) total += (shown - 1) * m_iChildPadding;
    return total;
}

int CListBodyUI::RowTop(int index) {
    int width = m_rcItem.right - m_rcItem.left - m_rcInset.left - m_rcInset.right;
    int y = 0;
    for (int i = 0; i < static_cast<int>(m_items.size()) && i < index; ++i) {
        CControlUI* row = m_items[i];
        if (!row->IsVisible() || row->IsFloat()) continue;
        RECT pad = row->GetPadding();
        y += HeightOf(row, width) + pad.top + pad.bottom + m_iChildPadding;
    }
    if (index >= 0 && index < static_cast<int>(m_items.size()))
        y += m_items[index]->GetPadding().top;
    return y;
}

int CListBodyUI::RowHeight(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    CControlUI* row = m_items[index];
    if (!row->IsVisible()) return 0;
    return HeightOf(row, m_rcItem.right - m_rcItem.left - m_rcInset.left - m_rcInset.right);
}

int CListBodyUI::RowsPerPage() {
    int h = m_pOwner ? m_pOwner->GetItemHeight() : 24;
    return std::max(1, ViewHeight() / std::max(h, 1));
}

void CListBodyUI::Relayout() { SetPos(m_rcItem, false); }

void CListBodyUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    rc = m_rcItem;
    RECT inner{rc.left + m_rcInset.left, rc.top + m_rcInset.top, rc.right - m_rcInset.right,
               rc.bottom - m_rcInset.bottom};
    int view = std::max<int>(0, inner.bottom - inner.top);

    // Heights once; whether the bar shows depends on their sum.
    int width = inner.right - inner.left;
    std::vector<int> heights(m_items.size(), 0);
    int total = 0, shown = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        CControlUI* row = m_items[i];
        if (!row->IsVisible() || row->IsFloat()) continue;
        RECT pad = row->GetPadding();
        heights[i] = HeightOf(row, width);
        total += heights[i] + pad.top + pad.bottom;
        ++shown;
    }
    if (shown > 1) total += (shown - 1) * m_iChildPadding;

    m_nRange = std::max(0, total - view);
    m_nScrollY = std::clamp(m_nScrollY, 0, m_nRange);
    if (m_pVerticalScrollBar) {
        CScrollBarUI* bar = m_pVerticalScrollBar;
        bar->SetOwner(this);
        bool need = m_nRange > 0;
        if (need) {
            int w = bar->GetFixedWidth();
            inner.right -= w;
            bar->SetVisible(true);
            bar->SetScrollRange(m_nRange);
            bar->SetPageSize(view);
            bar->SetLineSize(m_pOwner ? m_pOwner->GetItemHeight() : 24);
            bar->SetScrollPos(m_nScrollY);
            bar->SetPos(RECT{inner.right, rc.top + m_rcInset.top, inner.right + w,
                             rc.bottom - m_rcInset.bottom}, needInvalidate);
        } else {
            bar->SetScrollRange(0);
            bar->SetScrollPos(0);
            bar->SetVisible(false);
        }
    }

    m_rowTops.assign(m_items.size(), 0);
    int y = inner.top - m_nScrollY;
    for (size_t i = 0; i < m_items.size(); ++i) {
        CControlUI* row = m_items[i];
        if (!row->IsVisible() || row->IsFloat()) {
            m_rowTops[i] = y;
            continue;
        }
        RECT pad = row->GetPadding();
        y += pad.top;
        m_rowTops[i] = y;
        row->SetPos(RECT{inner.left + pad.left, y, inner.right - pad.right, y + heights[i]}, false);
        y += heights[i] + pad.bottom + m_iChildPadding;
    }
    m_bUpdateNeeded = false;
    if (needInvalidate) Invalidate();
}

int CListBodyUI::RowAtPoint(POINT pt) const {
    if (m_rowTops.size() != m_items.size() || m_items.empty()) return -1;
    // Rows are laid out top-down: the last row whose top is at or above pt.y.
    auto it = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), static_cast<int>(pt.y));
    int i = static_cast<int>(it - m_rowTops.begin()) - 1;
    // Hidden rows share their successor's top; step back to a visible one.
    while (i >= 0 && !m_items[i]->IsVisible()) --i;
    if (i < 0) return -1;
    const RECT& r = m_items[i]->GetPos();
    return ::uilib::PtInRect(&r, pt) ? i : -1;
}

CControlUI* CListBodyUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    if (flags & UIFIND_HITTEST) {
        POINT pt = *static_cast<POINT*>(data);
        if (!::uilib::PtInRect(&m_rcItem, pt)) return nullptr;
        if (!IsMouseChildEnabled()) return IsMouseEnabled() ? proc(this, data) : nullptr;
        if (flags & UIFIND_ME_FIRST) {
            if (CControlUI* c = proc(this, data)) return c;
        }
        if (m_pVerticalScrollBar) {
            if (CControlUI* c = m_pVerticalScrollBar->FindControl(proc, data, flags)) return c;
        }
        RECT inner = InnerRect();
        if (::uilib::PtInRect(&inner, pt)) {
            int row = RowAtPoint(pt);
            if (row >= 0) {
                if (CControlUI* c = m_items[row]->FindControl(proc, data, flags)) return c;
            }
        }
        return IsMouseEnabled() ? proc(this, data) : nullptr;
    }
    if (flags & UIFIND_ME_FIRST) {
        if (CControlUI* c = proc(this, data)) return c;
    }
    if (m_pVerticalScrollBar) {
        if (CControlUI* c = m_pVerticalScrollBar->FindControl(proc, data, flags)) return c;
    }
    for (CControlUI* row : m_items) {
        if (CControlUI* c = row->FindControl(proc, data, flags)) return c;
    }
    return proc(this, data);
}

void CListBodyUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    RECT clip;
    if (!::uilib::IntersectRect(&clip, &rcPaint, &m_rcItem)) return;
    CControlUI::DoPaint(cr, rcPaint);
    RECT inner = InnerRect();
    RECT rows;
    if (::uilib::IntersectRect(&rows, &clip, &inner) && !m_items.empty()) {
        cairo_save(cr);
        cairo_rectangle(cr, rows.left, rows.top, rows.right - rows.left, rows.bottom - rows.top);
        cairo_clip(cr);
        // First row that can reach the paint area: rows are sorted by top.
        size_t first = 0;
        if (m_rowTops.size() == m_items.size()) {
            auto it = std::upper_bound(m_rowTops.begin(), m_rowTops.end(), static_cast<int>(rows.top));
            first = it == m_rowTops.begin() ? 0 : static_cast<size_t>(it - m_rowTops.begin()) - 1;
        }
        for (size_t i = first; i < m_items.size(); ++i) {
            CControlUI* row = m_items[i];
            if (!row->IsVisible()) continue;
            const RECT& r = row->GetPos();
            if (r.top >= rows.bottom) break;
            if (r.bottom <= rows.top) continue;
            row->DoPaint(cr, rows);
        }
        cairo_restore(cr);
    }
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        m_pVerticalScrollBar->DoPaint(cr, rcPaint);
}

void CListBodyUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SCROLLWHEEL) {
        int rows = kWheelRows;
        for (int i = 0; i < rows; ++i) {
            if (CScrollBarUI::WheelDirection(event) < 0) LineUp();
            else LineDown();
        }
        return;
    }
    if (m_pOwner) {
        m_pOwner->DoEvent(event);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

SIZE CListBodyUI::GetScrollPos() const { return SIZE{0, m_nScrollY}; }
SIZE CListBodyUI::GetScrollRange() const { return SIZE{0, m_nRange}; }

void CListBodyUI::SetScrollPos(SIZE pos) {
    int y = std::clamp<int>(pos.cy, 0, m_nRange);
    if (y == m_nScrollY) {
        if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(y);
        return;
    }
    m_nScrollY = y;
    SetPos(m_rcItem, false);
    Invalidate();
}

void CListBodyUI::LineUp() {
    SetScrollPos(SIZE{0, m_nScrollY - (m_pOwner ? m_pOwner->GetItemHeight() : 24)});
}

void CListBodyUI::LineDown() {
    SetScrollPos(SIZE{0, m_nScrollY + (m_pOwner ? m_pOwner->GetItemHeight() : 24)});
}

void CListBodyUI::PageUp() {
    SetScrollPos(SIZE{0, m_nScrollY - std::max(ViewHeight(), 1)});
}

void CListBodyUI::PageDown() {
    SetScrollPos(SIZE{0, m_nScrollY + std::max(ViewHeight(), 1)});
}

}  // namespace uilib
