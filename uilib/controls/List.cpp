#include "uilib/controls/List.h"

#include <algorithm>
#include <climits>

#include "uilib/AttributeValue.h"
#include "uilib/controls/ListBody.h"
#include "uilib/controls/ListHeader.h"
#include "uilib/controls/ScrollBar.h"

namespace uilib {

// ---- CListUI -------------------------------------------------------------------------

CListUI::CListUI() {
    m_pHeader = new CListHeaderUI;
    m_pList = new CListBodyUI(this);
    // Qualified calls: the virtual Add/AddAt of the list take rows, not these two.
    CVerticalLayoutUI::AddAt(m_pHeader, 0);
    CVerticalLayoutUI::AddAt(m_pList, 1);
    m_pList->EnableScrollBar(true, false);
}

CListUI::~CListUI() = default;  // header and body are children: the container deletes them

const char* CListUI::GetClass() const { return "ListUI"; }

void* CListUI::GetInterface(const char* name) {
    if (attr::IsName(name, "List")) return this;
    if (attr::IsName(name, "IList")) return static_cast<IListUI*>(this);
    if (attr::IsName(name, "IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

CContainerUI* CListUI::GetList() const { return m_pList; }

CControlUI* CListUI::GetItemAt(int index) const { return m_pList->GetItemAt(index); }
int CListUI::GetItemIndex(CControlUI* control) const { return m_pList->GetItemIndex(control); }
int CListUI::GetCount() const { return m_pRowSource ? m_nRowCount : ChildCount(); }
int CListUI::ChildCount() const { return m_pList->GetCount(); }

static IListItemUI* AsItem(CControlUI* control) {
    return control ? static_cast<IListItemUI*>(control->GetInterface("ListItem")) : nullptr;
}

bool CListUI::SetItemIndex(CControlUI* control, int index) {
    int old = m_pList->GetItemIndex(control);
    if (old < 0 || !m_pList->SetItemIndex(control, index)) return false;
    int lo = std::min(old, index), hi = std::max(old, index);
    for (int i = lo; i <= hi && i < ChildCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) item->SetIndex(i);
    }
    if (!m_pRowSource && m_iCurSel == old) m_iCurSel = index;
    return true;
}

bool CListUI::Add(CControlUI* control) {
    if (!control) return false;
    // A header given in the layout replaces the default one.
    if (control->GetInterface("ListHeader")) {
        if (m_pHeader != control) {
            // The container's Remove would look the header up among the rows.
            auto it = std::find(m_items.begin(), m_items.end(), m_pHeader);
            if (it != m_items.end()) m_items.erase(it);
            if (m_pManager) m_pManager->ReapObjects(m_pHeader);
            delete m_pHeader;
            m_pHeader = static_cast<CListHeaderUI*>(control);
            return CVerticalLayoutUI::AddAt(control, 0);
        }
        return true;
    }
    if (control->GetInterface("ListHeaderItem")) return m_pHeader->Add(control);
    return AddAt(control, ChildCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
    if (!control) return false;
    if (control->GetInterface("ListHeader") || control->GetInterface("ListHeaderItem"))
        return Add(control);
    index = std::clamp(index, 0, ChildCount());
    if (!m_pList->AddAt(control, index)) return false;
    if (IListItemUI* item = AsItem(control)) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    for (int i = index + 1; i < ChildCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) item->SetIndex(i);
    }
    if (m_pRowSource) return true;  // the selection belongs to the virtual rows
    if (m_iCurSel >= index) ++m_iCurSel;
    if (m_iAnchor >= index) ++m_iAnchor;
    if (m_iExpandedItem >= index) ++m_iExpandedItem;
    return true;
}

bool CListUI::Remove(CControlUI* control) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    return RemoveAt(index);
}

bool CListUI::RemoveAt(int index) {
    if (index < 0 || index >= ChildCount()) return false;
    if (!m_pList->RemoveAt(index)) return false;
    for (int i = index; i < ChildCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) item->SetIndex(i);
    }
    if (m_pRowSource) return true;
    auto shift = [index](int& v) {
        if (v == index) v = -1;
        else if (v > index) --v;
    };
    shift(m_iCurSel);
    shift(m_iAnchor);
    shift(m_iExpandedItem);
    shift(m_iContextItem);
    return true;
}

void CListUI::RemoveAll() {
    m_iExpandedItem = -1;
    m_pList->RemoveAll();
    if (m_pRowSource) return;  // the virtual rows stay where they are
    m_iCurSel = m_iAnchor = m_iContextItem = -1;
    m_pList->SetScrollPos(SIZE{0, 0});
}

void CListUI::NotifySelect(int oldSel) {
    if (oldSel != m_iCurSel)
        Notify("itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(oldSel));
}

// ---- virtual rows --------------------------------------------------------------------

void CListUI::SetRowSource(IListRowSource* source) {
    if (source != m_pRowSource) {
        // Indexes of the old rows mean nothing to the new ones.
        UnselectAll();
        m_iCurSel = m_iAnchor = m_iContextItem = -1;
        m_pRowSource = source;
        m_pList->ResetScroll();
    }
    RowsChanged();
}

void CListUI::RowsChanged() {
    size_t count = m_pRowSource ? m_pRowSource->GetRowCount() : 0;
    m_nRowCount = static_cast<int>(std::min<size_t>(count, INT_MAX));
    if (m_pRowSource) {
        m_iCurSel = std::min(m_iCurSel, m_nRowCount - 1);
        m_iAnchor = std::min(m_iAnchor, m_nRowCount - 1);
        if (m_iContextItem >= m_nRowCount) m_iContextItem = -1;
    }
    m_pList->RowsChanged();
}

// A row the source has but the list was not told of yet (the owner selects an entry it
// has just added, before its RowsChanged) takes the new count first.
bool CListUI::CatchUpWithSource(int index) {
    if (index < m_nRowCount) return true;
    if (!m_pRowSource || static_cast<size_t>(index) >= m_pRowSource->GetRowCount()) return false;
    RowsChanged();
    return true;
}

bool CListUI::SelectVirtualRow(int index, bool takeFocus) {
    if (!CatchUpWithSource(index)) return false;
    int old = m_iCurSel;
    m_iCurSel = m_iAnchor = std::max(index, -1);
    m_pList->InvalidateRow(old);
    m_pList->InvalidateRow(m_iCurSel);
    if (m_iCurSel >= 0) {
        EnsureVisible(m_iCurSel);
        if (takeFocus) SetFocus();
    }
    NotifySelect(old);
    return true;
}

// ---- selection -----------------------------------------------------------------------

bool CListUI::SelectItem(int index, bool takeFocus) {
    if (m_pRowSource) return SelectVirtualRow(index, takeFocus);
    if (index >= GetCount()) return false;
    int old = m_iCurSel;
    for (int i = 0; i < GetCount(); ++i) {
        IListItemUI* item = AsItem(GetItemAt(i));
        if (item && i != index && item->IsSelected()) item->Select(false);
    }
    if (index < 0) {
        m_iCurSel = m_iAnchor = -1;
        NotifySelect(old);
        return true;
    }
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = AsItem(control);
    if (!item || !control->IsVisible() || !control->IsEnabled()) return false;
    item->Select(true);
    m_iCurSel = m_iAnchor = index;
    EnsureVisible(index);
    if (takeFocus) SetFocus();
    NotifySelect(old);
    return true;
}

void CListUI::SetMultiSelect(bool multi) {
    m_bMultiSelect = multi;
    if (!multi && m_iCurSel >= 0) SelectItem(m_iCurSel);
}

bool CListUI::IsItemSelected(int index) const {
    if (m_pRowSource) return index >= 0 && index == m_iCurSel;
    IListItemUI* item = AsItem(GetItemAt(index));
    return item && item->IsSelected();
}

std::vector<int> CListUI::GetSelectedItems() const {
    std::vector<int> out;
    if (m_pRowSource) {
        if (m_iCurSel >= 0) out.push_back(m_iCurSel);
        return out;
    }
    for (int i = 0; i < GetCount(); ++i) {
        if (IsItemSelected(i)) out.push_back(i);
    }
    return out;
}

void CListUI::SelectRange(int from, int to) {
    if (m_pRowSource || GetCount() == 0) return;
    if (from > to) std::swap(from, to);
    from = std::max(from, 0);
    to = std::min(to, GetCount() - 1);
    for (int i = from; i <= to; ++i) {
        CControlUI* control = GetItemAt(i);
        IListItemUI* item = AsItem(control);
        if (item && control->IsVisible() && control->IsEnabled()) item->Select(true);
    }
}

void CListUI::UnselectAll() {
    if (m_pRowSource) {
        m_pList->InvalidateRow(m_iCurSel);
        m_iCurSel = m_iAnchor = -1;
        return;
    }
    for (int i = 0; i < ChildCount(); ++i) {
        if (IListItemUI* item = AsItem(GetItemAt(i))) item->Select(false);
    }
}

bool CListUI::SelectItemByUser(int index, WORD keyState) {
    if (index < 0 || index >= GetCount()) return false;
    if (m_pRowSource) return SelectVirtualRow(index, true);
    bool ctrl = m_bMultiSelect && (keyState & MK_CONTROL);
    bool shift = m_bMultiSelect && (keyState & MK_SHIFT);
    if (!ctrl && !shift) return SelectItem(index, true);
    int old = m_iCurSel;
    if (shift) {
        int anchor = m_iAnchor >= 0 ? m_iAnchor : index;
        if (!ctrl) UnselectAll();
        SelectRange(anchor, index);
        m_iAnchor = anchor;
    } else {
        IListItemUI* item = AsItem(GetItemAt(index));
        if (item) item->Select(!item->IsSelected());
        m_iAnchor = index;
    }
    m_iCurSel = index;
    EnsureVisible(index);
    SetFocus();
    NotifySelect(old);
    return true;
}

void CListUI::ItemRightClicked(int index) {
    m_iContextItem = index;
    Notify("listrightclick", static_cast<WPARAM>(index));
}

bool CListUI::ExpandItem(int index, bool expand) {
    if (m_pRowSource || index < 0 || index >= GetCount()) return false;
    IListItemUI* item = AsItem(GetItemAt(index));
    if (!item) return false;
    if (expand && !m_ListInfo.bMultiExpandable && m_iExpandedItem >= 0 && m_iExpandedItem != index) {
        if (IListItemUI* other = AsItem(GetItemAt(m_iExpandedItem))) other->Expand(false);
    }
    if (!item->Expand(expand)) return false;
    if (expand) m_iExpandedItem = index;
    else if (m_iExpandedItem == index) m_iExpandedItem = -1;
    m_pList->Relayout();
    Invalidate();
    return true;
}

// ---- scrolling -----------------------------------------------------------------------

void CListUI::EnsureVisible(int index) {
    if (m_pRowSource) {
        if (index < 0 || !CatchUpWithSource(index)) return;
        m_pList->EnsureVirtualRowVisible(index);
        return;
    }
    if (index < 0 || index >= GetCount()) return;
    m_pList->Relayout();
    int top = m_pList->RowTop(index);
    int bottom = top + m_pList->RowHeight(index);
    int view = m_pList->ViewHeight();
    int pos = m_pList->GetScrollPos().cy;
    if (top < pos) pos = top;
    else if (bottom > pos + view) pos = bottom - view;
    else return;
    m_pList->SetScrollPos(SIZE{0, pos});
}

void CListUI::Scroll(int dx, int dy) {
    SIZE pos = m_pList->GetScrollPos();
    m_pList->SetScrollPos(SIZE{pos.cx + dx, pos.cy + dy});
}

SIZE CListUI::GetScrollPos() const { return m_pList->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pList->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE pos) { m_pList->SetScrollPos(pos); }
void CListUI::LineUp() { m_pList->LineUp(); }
void CListUI::LineDown() { m_pList->LineDown(); }
void CListUI::PageUp() { m_pList->PageUp(); }
void CListUI::PageDown() { m_pList->PageDown(); }
void CListUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
    m_pList->EnableScrollBar(enableVertical, enableHorizontal);
}
CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_pList->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return nullptr; }

int CListUI::GetItemHeight() {
    if (m_ListInfo.nItemHeight <= 0) {
        m_ListInfo.nItemHeight =
            CRenderEngine::GetTextSize(m_pManager, "Ag", m_ListInfo.nFont, DT_SINGLELINE).cy + 10;
    }
    return m_ListInfo.nItemHeight;
}

int CListUI::GetListHeight() {
    GetItemHeight();
    int h = m_rcInset.top + m_rcInset.bottom + 2 * m_nBorderSize;
    if (m_pHeader && m_pHeader->IsVisible()) {
        int hh = m_pHeader->EstimateSize(SIZE{GetWidth(), 0}).cy;
        if (hh > 0) h += hh + m_iChildPadding;
    }
    RECT inset = m_pList->GetInset();
    h += inset.top + inset.bottom + m_pList->ContentHeight();
    return h;
}

// ---- layout, events, attributes ------------------------------------------------------

void CListUI::UpdateColumns() {
    m_ListInfo.columns.clear();
    if (!m_pHeader || !m_pHeader->IsVisible() || m_pHeader->GetCount() == 0) {
        if (m_pHeader) {
            // A hidden header still sets the columns, laid out over the list's width.
            if (m_pHeader->GetCount() > 0 && !m_pHeader->IsVisible()) {
                int x = m_pList->GetPos().left;
                for (int i = 0; i < m_pHeader->GetCount(); ++i) {
                    CControlUI* item = m_pHeader->GetItemAt(i);
                    int w = item->GetFixedWidth();
                    if (w <= 0) w = m_pList->GetWidth() - (x - m_pList->GetPos().left);
                    m_ListInfo.columns.push_back(RECT{x, 0, x + w, 0});
                    x += w;
                }
            }
        }
        return;
    }
    for (int i = 0; i < m_pHeader->GetCount(); ++i) {
        CControlUI* item = m_pHeader->GetItemAt(i);
        if (!item->IsVisible()) continue;
        const RECT& r = item->GetPos();
        m_ListInfo.columns.push_back(RECT{r.left, 0, r.right, 0});
    }
}

void CListUI::SetPos(RECT rc, bool needInvalidate) {
    GetItemHeight();
    // Laid out here rather than by the vertical layout: a header without items must
    // take no height, not a share of the free space.
    CControlUI::SetPos(rc, needInvalidate);
    RECT in{m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top,
            m_rcItem.right - m_rcInset.right, m_rcItem.bottom - m_rcInset.bottom};
    int hh = 0;
    if (m_pHeader && m_pHeader->IsVisible())
        hh = std::max<int>(0, m_pHeader->EstimateSize(SIZE{in.right - in.left, 0}).cy);
    if (m_pHeader) m_pHeader->SetPos(RECT{in.left, in.top, in.right, in.top + hh}, needInvalidate);
    int top = in.top + hh + (hh > 0 ? m_iChildPadding : 0);
    m_pList->SetPos(RECT{in.left, std::min<LONG>(top, in.bottom), in.right, in.bottom}, needInvalidate);
    UpdateColumns();
}

int CListUI::StepFrom(int index, int key) const {
    int count = GetCount();
    if (count == 0) return -1;
    int page = m_pList->RowsPerPage();
    int target = index;
    int dir = 1;
    switch (key) {
    case VK_UP: target = index < 0 ? 0 : index - 1; dir = -1; break;
    case VK_DOWN: target = index + 1; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; dir = -1; break;
    case VK_PRIOR: target = index - page; dir = -1; break;
    case VK_NEXT: target = index + page; break;
    default: return index;
    }
    target = std::clamp(target, 0, count - 1);
    if (m_pRowSource) return target;  // every virtual row can be selected
    // Skip rows that cannot be selected, in the direction of travel, then back.
    for (int d : {dir, -dir}) {
        for (int i = target; i >= 0 && i < count; i += d) {
            CControlUI* c = GetItemAt(i);
            if (c->IsVisible() && c->IsEnabled() && AsItem(c)) return i;
        }
    }
    return index;
}

void CListUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CVerticalLayoutUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        m_bFocused = event.Type == UIEVENT_SETFOCUS;
        Invalidate();
        return;
    case UIEVENT_KEYDOWN: {
        int key = static_cast<int>(event.chKey);
        if (key == VK_RETURN) {
            if (m_pRowSource) {
                if (m_iCurSel >= 0 && IsEnabled())
                    Notify("itemactivate", 0, static_cast<LPARAM>(m_iCurSel));
            } else if (CControlUI* row = GetItemAt(m_iCurSel)) {
                row->Activate();
            }
            return;
        }
        int target = StepFrom(m_iCurSel, key);
        if (target == m_iCurSel && target >= 0) {
            EnsureVisible(target);
            return;
        }
        if (target < 0) break;
        bool shift = (event.wKeyState & MK_SHIFT) ||
                     (platform::HasBackend() && (::GetKeyState(VK_SHIFT) & 0x8000));
        if (shift && m_bMultiSelect) SelectItemByUser(target, MK_SHIFT);
        else SelectItem(target, true);
        return;
    }
    case UIEVENT_SCROLLWHEEL:
        m_pList->DoEvent(event);
        return;
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled()) ItemRightClicked(-1);
        return;
    case UIEVENT_BUTTONDOWN:
        if (IsEnabled()) SetFocus();
        return;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(const char* name, const char* value) {
    if (m_ListInfo.SetAttribute(name, value)) {
        NeedUpdate();
        return;
    }
    if (attr::IsName(name, "header")) {
        m_pHeader->SetVisible(!attr::IsName(value, "hidden") && !attr::IsName(value, "false"));
    } else if (attr::IsName(name, "vscrollbar")) {
        EnableScrollBar(attr::ParseBool(value), false);
    } else if (attr::IsName(name, "hscrollbar")) {
        // Rows always fit the list's width.
    } else if (attr::IsName(name, "multiselect")) {
        SetMultiSelect(attr::ParseBool(value));
    } else if (attr::IsName(name, "inset")) {
        // The inset belongs to the body, so the header spans the whole width.
        m_pList->SetInset(attr::ParseRect(value));
    } else {
        CVerticalLayoutUI::SetAttribute(name, value);
    }
}

}  // namespace uilib
