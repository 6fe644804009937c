#include "uilib/controls/ListBody.h"

#include <algorithm>
#include <climits>
#include <string>

#include <cairo.h>

#include "uilib/AttributeValue.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListElement.h"
#include "uilib/controls/ScrollBar.h"

namespace uilib {

namespace {
constexpr int kWheelRows = 3;
constexpr UINT kToolTipTimer = 1;
constexpr UINT kToolTipDelayMs = 500;  // as the manager waits for a control's tooltip

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

// A row shows one line: shaping a megabyte of text for it would cost whole frames. No
// glyph is narrower than half a pixel, so what is cut could never be seen.
void ShortenForRow(std::string& text, int width) {
    const size_t limit = static_cast<size_t>(std::max(width, 0)) * 2 + 256;  // code points
    if (text.size() <= limit) return;
    size_t points = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (points++ == limit) {
            text.resize(i);
            return;
        }
    }
}
}  // namespace

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
        m_pVerticalScrollBar = std::make_unique<CScrollBarUI>();
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, this, false);
        if (m_pManager) {
            const char* defaults = m_pManager->GetDefaultAttributeList("VScrollBar");
            if (defaults) m_pVerticalScrollBar->ApplyAttributeList(defaults);
        }
    } else if (!enableVertical && m_pVerticalScrollBar) {
        if (m_pManager) m_pManager->ReapObjects(m_pVerticalScrollBar.get());
        m_pVerticalScrollBar.reset();
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
    if (IsVirtual()) {
        int count = VirtualCount();
        return count > 0 ? ClampToInt(VirtualTop(count) - m_iChildPadding) : 0;
    }
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
    if (IsVirtual()) return ClampToInt(VirtualTop(std::max(index, 0)));
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
    if (IsVirtual()) return index >= 0 && index < VirtualCount() ? m_pOwner->GetItemHeight() : 0;
    if (index < 0 || index >= static_cast<int>(m_items.size())) return 0;
    CControlUI* row = m_items[index];
    if (!row->IsVisible()) return 0;
    return HeightOf(row, m_rcItem.right - m_rcItem.left - m_rcInset.left - m_rcInset.right);
}

int CListBodyUI::RowsPerPage() {
    int h = IsVirtual() ? VirtualPitch() : m_pOwner ? m_pOwner->GetItemHeight() : 24;
    return std::max(1, ViewHeight() / std::max(h, 1));
}

void CListBodyUI::Relayout() { SetPos(m_rcItem, false); }

void CListBodyUI::PlaceScrollBar(int total, int view, RECT& inner, bool needInvalidate) {
    m_nRange = std::max(0, total - view);
    m_nScrollY = std::clamp(m_nScrollY, 0, m_nRange);
    CScrollBarUI* bar = m_pVerticalScrollBar.get();
    if (!bar) return;
    bar->SetOwner(this);
    if (m_nRange > 0) {
        int w = bar->GetFixedWidth();
        inner.right -= w;
        bar->SetVisible(true);
        bar->SetScrollRange(m_nRange);
        bar->SetPageSize(view);
        bar->SetLineSize(m_pOwner ? m_pOwner->GetItemHeight() : 24);
        bar->SetScrollPos(m_nScrollY);
        bar->SetPos(RECT{inner.right, m_rcItem.top + m_rcInset.top, inner.right + w,
                         m_rcItem.bottom - m_rcInset.bottom}, needInvalidate);
    } else {
        bar->SetScrollRange(0);
        bar->SetScrollPos(0);
        bar->SetVisible(false);
    }
}

void CListBodyUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    rc = m_rcItem;
    RECT inner{rc.left + m_rcInset.left, rc.top + m_rcInset.top, rc.right - m_rcInset.right,
               rc.bottom - m_rcInset.bottom};
    int view = std::max<int>(0, inner.bottom - inner.top);

    if (IsVirtual()) {
        // Nothing per row: the rows are where their index puts them.
        m_rowTops.clear();
        PlaceScrollBar(ContentHeight(), view, inner, needInvalidate);
        if (m_iPendingVisible >= 0 && view > 0) {
            int row = m_iPendingVisible;
            m_iPendingVisible = -1;
            if (row < VirtualCount()) {
                m_nScrollY = ScrollToShow(VirtualTop(row), VirtualTop(row) + m_pOwner->GetItemHeight());
                if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(m_nScrollY);
            }
        }
        // The rows moved under a still pointer: the hot row is the one under it now.
        if (m_iHotRow >= 0 && m_pManager) SetHotRow(RowAtPoint(m_pManager->GetMousePos()), false);
        m_bUpdateNeeded = false;
        if (needInvalidate) Invalidate();
        return;
    }

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
    PlaceScrollBar(total, view, inner, needInvalidate);

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
    if (IsVirtual()) {
        RECT inner = InnerRect();
        if (!::uilib::PtInRect(&inner, pt)) return -1;
        int64_t offset = static_cast<int64_t>(pt.y) - inner.top + m_nScrollY;
        int64_t row = offset / VirtualPitch();
        // A point in the padding between two rows is on neither.
        if (offset - row * VirtualPitch() >= m_pOwner->GetItemHeight()) return -1;
        return row < VirtualCount() ? static_cast<int>(row) : -1;
    }
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
        if (!IsVirtual() && ::uilib::PtInRect(&inner, pt)) {
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
    if (::uilib::IntersectRect(&rows, &clip, &inner) && (IsVirtual() || !m_items.empty())) {
        cairo_save(cr);
        cairo_rectangle(cr, rows.left, rows.top, rows.right - rows.left, rows.bottom - rows.top);
        cairo_clip(cr);
        if (IsVirtual()) {
            PaintVirtualRows(cr, rows);
        } else {
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
    if (IsVirtual() && DoVirtualEvent(event)) return;
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

// ---- virtual rows --------------------------------------------------------------------

bool CListBodyUI::IsVirtual() const { return m_pOwner && m_pOwner->GetRowSource(); }
int CListBodyUI::VirtualCount() const { return m_pOwner ? m_pOwner->GetCount() : 0; }
int CListBodyUI::VirtualPitch() const {
    return std::max(1, m_pOwner->GetItemHeight() + m_iChildPadding);
}
int64_t CListBodyUI::VirtualTop(int row) const {
    return static_cast<int64_t>(row) * VirtualPitch();
}

int CListBodyUI::ScrollToShow(int64_t top, int64_t bottom) const {
    int64_t pos = m_nScrollY;
    if (top < pos) pos = top;
    else if (bottom > pos + ViewHeight()) pos = bottom - ViewHeight();
    return ClampToInt(std::clamp<int64_t>(pos, 0, m_nRange));
}

void CListBodyUI::RowsChanged() {
    int count = VirtualCount();
    if (m_iHotRow >= count) m_iHotRow = -1;
    if (m_iPendingVisible >= count) m_iPendingVisible = -1;
    // Before the list has a manager the item height is not known yet: the first
    // layout does this.
    if (m_pManager) Relayout();
    Invalidate();
}

void CListBodyUI::ResetScroll() {
    m_nScrollY = 0;
    m_iHotRow = m_iPendingVisible = -1;
}

void CListBodyUI::InvalidateRow(int row) {
    if (!IsVirtual() || row < 0 || row >= VirtualCount() || !m_pManager || !IsVisible()) return;
    RECT inner = InnerRect();
    int64_t top = inner.top - m_nScrollY + VirtualTop(row);
    RECT rc{inner.left, ClampToInt(top), inner.right, ClampToInt(top + m_pOwner->GetItemHeight())};
    RECT shown;
    if (::uilib::IntersectRect(&shown, &rc, &inner)) m_pManager->Invalidate(shown);
}

void CListBodyUI::EnsureVirtualRowVisible(int row) {
    if (row < 0 || row >= VirtualCount()) return;
    if (ViewHeight() <= 0) {
        m_iPendingVisible = row;
        return;
    }
    m_iPendingVisible = -1;
    Relayout();  // the range may be older than the last count
    int pos = ScrollToShow(VirtualTop(row), VirtualTop(row) + m_pOwner->GetItemHeight());
    SetScrollPos(SIZE{0, pos});
}

void CListBodyUI::PaintVirtualRows(cairo_t* cr, const RECT& rows) {
    IListRowSource* source = m_pOwner->GetRowSource();
    const TListInfoUI* info = m_pOwner->GetListInfo();
    // A source that shrank without telling yet is never asked past its end.
    const int64_t count = std::min<int64_t>(VirtualCount(), static_cast<int64_t>(
                                                std::min<size_t>(source->GetRowCount(), INT_MAX)));
    if (count <= 0) return;
    const RECT inner = InnerRect();
    const int height = m_pOwner->GetItemHeight();
    const int64_t pitch = VirtualPitch();
    const int64_t origin = static_cast<int64_t>(inner.top) - m_nScrollY;  // window y of row 0
    const int sel = m_pOwner->GetCurSel();
    const bool enabled = m_pOwner->IsEnabled();
    const DWORD behind = BackgroundBehind(this, GetEffectiveBkColor());
    std::string text;
    for (int64_t i = std::max<int64_t>(0, (rows.top - origin) / pitch); i < count; ++i) {
        const int64_t top = origin + i * pitch;
        if (top >= rows.bottom) break;
        if (top + height <= rows.top) continue;
        RECT rc{inner.left, ClampToInt(top), inner.right, ClampToInt(top + height)};
        RECT paint;
        ::uilib::IntersectRect(&paint, &rc, &rows);
        TListRowLook look;
        look.index = static_cast<int>(i);
        look.selected = i == sel;
        look.hot = i == m_iHotRow;
        look.enabled = enabled;
        CListElementUI::PaintRowBackground(cr, m_pManager, *info, look, rc, [&](const char* image) {
            CRenderEngine::DrawImageString(cr, m_pManager, rc, paint, image);
        });
        text = source->GetRowText(static_cast<size_t>(i));
        ShortenForRow(text, rc.right - rc.left);
        CListElementUI::DrawRowText(cr, m_pManager, info, rc, text.c_str(),
                                    CListElementUI::RowTextColor(m_pManager, info, look, behind));
    }
}

// Mouse on virtual rows: what a row control does for itself, with the row index.
bool CListBodyUI::DoVirtualEvent(TEventUI& event) {
    const bool mouse = event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
    if (mouse && !(m_pOwner->IsEnabled() && m_pOwner->IsMouseEnabled())) {
        SetHotRow(-1, false);
        return false;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN: {
        int row = RowAtPoint(event.ptMouse);
        if (row < 0) return false;  // empty space: the list takes the focus
        m_pOwner->SelectItemByUser(row, event.wKeyState);
        m_pOwner->Notify("itemclick", 0, static_cast<LPARAM>(row));
        return true;
    }
    case UIEVENT_DBLCLICK: {
        int row = RowAtPoint(event.ptMouse);
        if (row < 0) return false;
        m_pOwner->Notify("itemactivate", 0, static_cast<LPARAM>(row));
        return true;
    }
    case UIEVENT_RBUTTONDOWN:
        m_pOwner->ItemRightClicked(RowAtPoint(event.ptMouse));
        return true;
    case UIEVENT_CONTEXTMENU:
        return RowAtPoint(event.ptMouse) >= 0;  // a row's menu comes from "listrightclick"
    case UIEVENT_MOUSEENTER:
        // The manager starts the tooltip timer for the row entered.
        SetHotRow(RowAtPoint(event.ptMouse), false);
        return true;
    case UIEVENT_MOUSEMOVE:
        SetHotRow(RowAtPoint(event.ptMouse), true);
        return true;
    case UIEVENT_MOUSELEAVE:
        SetHotRow(-1, false);
        return true;
    case UIEVENT_TIMER:
        if (event.wParam != kToolTipTimer) return false;
        if (m_pManager) {
            m_pManager->KillTimer(this, kToolTipTimer);
            if (m_iHotRow >= 0 && !m_pManager->GetEventClick())
                m_pManager->ShowToolTip(this, m_pManager->GetMousePos());
        }
        return true;
    default:
        return false;
    }
}

void CListBodyUI::SetHotRow(int row, bool startToolTip) {
    if (row == m_iHotRow) return;
    InvalidateRow(m_iHotRow);
    m_iHotRow = row;
    InvalidateRow(row);
    if (!m_pManager) return;
    // The manager times tooltips per control; from row to row inside the body it is
    // done here.
    m_pManager->KillTimer(this, kToolTipTimer);
    if (!startToolTip) return;
    m_pManager->HideToolTip();
    if (row >= 0 && !GetToolTip().empty()) m_pManager->SetTimer(this, kToolTipTimer, kToolTipDelayMs);
}

CStdString CListBodyUI::GetToolTip() const {
    if (IsVirtual() && m_iHotRow >= 0 && m_iHotRow < VirtualCount())
        return m_pOwner->GetRowSource()->GetRowTooltip(static_cast<size_t>(m_iHotRow));
    return CVerticalLayoutUI::GetToolTip();
}

}  // namespace uilib
