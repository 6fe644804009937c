#include "uilib/Container.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "uilib/AttributeValue.h"
#include "uilib/LayoutShare.h"
#include "uilib/controls/ScrollBar.h"

namespace uilib {

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    if (m_bAutoDestroy)
        for (CControlUI* c : items) delete c;
}

const char* CContainerUI::GetClass() const { return "ContainerUI"; }

void* CContainerUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Container") == 0) return this;
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[index];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= static_cast<int>(m_items.size())) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + index, control);
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, static_cast<int>(m_items.size()));
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (!control || control == this) return false;
    // Only a child of this container can already be in it: a new control skips the
    // search, so filling a long list is not quadratic.
    if (control->GetParent() == this && GetItemIndex(control) >= 0) return false;
    if (index < 0 || index > static_cast<int>(m_items.size())) return false;
    m_items.insert(m_items.begin() + index, control);
    if (m_pManager)
        m_pManager->InitControls(control, this);
    else
        control->SetManager(nullptr, this, false);
    if (!IsVisible()) control->SetInternVisible(false);
    NeedUpdate();
    return true;
}

void CContainerUI::Detach(CControlUI* control) {
    if (!m_pManager) {
        if (m_bAutoDestroy)
            delete control;
        else
            control->SetManager(nullptr, nullptr, false);
        return;
    }
    // The manager forgets the whole subtree now (names, focus, hover, timers).
    CPaintManagerUI* manager = m_pManager;
    control->FindControl(
        [](CControlUI* c, void* data) -> CControlUI* {
            static_cast<CPaintManagerUI*>(data)->ReapObjects(c);
            return nullptr;
        },
        manager, UIFIND_ALL);
    if (!m_bAutoDestroy) {
        control->SetManager(nullptr, nullptr, false);
        return;
    }
    // A control may be removed from inside its own event or notification: delete it
    // once that has returned.
    if (m_bDelayedDestroy) {
        control->SetManager(manager, nullptr, false);  // this container may go first
        manager->AddDelayedCleanup(control);
    }
    else
        delete control;
}

bool CContainerUI::Remove(CControlUI* control) {
    int index = GetItemIndex(control);
    if (index < 0) return false;
    return RemoveAt(index);
}

bool CContainerUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    if (!control) return false;
    m_items.erase(m_items.begin() + index);
    Detach(control);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* c : items) Detach(c);
    NeedUpdate();
}

void CContainerUI::SetInset(RECT rc) {
    m_rcInset = rc;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
    m_iChildPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetMouseChildEnabled(bool enable) { m_bMouseChildEnabled = enable; }

void CContainerUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetMouseEnabled(bool enable) {
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetMouseEnabled(enable);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetMouseEnabled(enable);
    CControlUI::SetMouseEnabled(enable);
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SETFOCUS || event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = event.Type == UIEVENT_SETFOCUS;
        Invalidate();
        return;
    }
    if (event.Type == UIEVENT_SCROLLWHEEL) {
        CScrollBarUI* bar = m_pVerticalScrollBar.get();
        if (!(bar && bar->IsVisible() && bar->IsEnabled())) bar = m_pHorizontalScrollBar.get();
        if (bar && bar->IsVisible() && bar->IsEnabled()) {
            int direction = CScrollBarUI::WheelDirection(event);
            bool vertical = bar == m_pVerticalScrollBar.get();
            if (direction < 0)
                vertical ? LineUp() : SetScrollPos(SIZE{GetScrollPos().cx - bar->GetLineSize(),
                                                        GetScrollPos().cy});
            else if (direction > 0)
                vertical ? LineDown() : SetScrollPos(SIZE{GetScrollPos().cx + bar->GetLineSize(),
                                                          GetScrollPos().cy});
            return;
        }
    }
    CControlUI::DoEvent(event);
}

RECT CContainerUI::ContentRect(const RECT& rc) const {
    RECT r{rc.left + m_rcInset.left, rc.top + m_rcInset.top, rc.right - m_rcInset.right,
           rc.bottom - m_rcInset.bottom};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        r.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        r.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

void CContainerUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    if (m_items.empty()) return;
    RECT inner = ContentRect(m_rcItem);
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        CControlUI* c = m_items[i];
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT pad = c->GetPadding();
        RECT r{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right,
               inner.bottom - pad.bottom};
        c->SetPos(r, needInvalidate);
    }
}

void CContainerUI::SetFloatPos(int index) {
    CControlUI* c = GetItemAt(index);
    if (!c || !c->IsFloat()) return;
    SIZE xy = c->GetFixedXY();
    int cx = c->GetFixedWidth(), cy = c->GetFixedHeight();
    if (cx <= 0) cx = std::max<LONG>(0, m_rcItem.right - m_rcItem.left - xy.cx);
    if (cy <= 0) cy = std::max<LONG>(0, m_rcItem.bottom - m_rcItem.top - xy.cy);
    RECT r{m_rcItem.left + xy.cx, m_rcItem.top + xy.cy, m_rcItem.left + xy.cx + cx,
           m_rcItem.top + xy.cy + cy};
    c->SetPos(r, false);
}

void CContainerUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    CRect paint;
    if (!paint.Intersect(rcPaint, m_rcItem)) return;
    m_rcPaint = paint;
    cairo_save(cr);
    cairo_rectangle(cr, paint.left, paint.top, paint.GetWidth(), paint.GetHeight());
    cairo_clip(cr);
    PaintBkColor(cr);
    PaintBkImage(cr);
    PaintStatusImage(cr);
    PaintText(cr);
    // Children in order, floating ones above the others.
    for (int pass = 0; pass < 2; ++pass) {
        for (CControlUI* c : m_items) {
            if (!c->IsVisible() || c->IsFloat() != (pass == 1)) continue;
            CRect inter;
            if (!inter.Intersect(paint, c->GetPos())) continue;
            c->DoPaint(cr, paint);
        }
    }
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        m_pVerticalScrollBar->DoPaint(cr, paint);
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        m_pHorizontalScrollBar->DoPaint(cr, paint);
    m_rcPaint = paint;
    PaintBorder(cr);
    cairo_restore(cr);
}

void CContainerUI::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(CContainerUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"inset", [](CContainerUI* c, const char* v) { c->SetInset(attr::ParseRect(v)); }},
        {"childpadding",
         [](CContainerUI* c, const char* v) { c->SetChildPadding(attr::ParseInt(v)); }},
        {"mousechild",
         [](CContainerUI* c, const char* v) { c->SetMouseChildEnabled(attr::ParseBool(v)); }},
        {"vscrollbar",
         [](CContainerUI* c, const char* v) {
             c->EnableScrollBar(attr::ParseBool(v), c->GetHorizontalScrollBar() != nullptr);
         }},
        {"hscrollbar",
         [](CContainerUI* c, const char* v) {
             c->EnableScrollBar(c->GetVerticalScrollBar() != nullptr, attr::ParseBool(v));
         }},
    };
    auto it = name ? table.find(name) : table.end();
    if (it != table.end()) {
        it->second(this, value ? value : "");
        return;
    }
    CControlUI::SetAttribute(name, value);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* c : m_items) c->SetManager(manager, this, init);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(manager, this, init);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & UIFIND_HITTEST) != 0;
    if (hitTest && !PtInRect(&m_rcItem, *static_cast<POINT*>(data))) return nullptr;
    auto self = [&]() -> CControlUI* {
        if (hitTest && !m_bMouseEnabled) return nullptr;
        return proc(this, data);
    };
    if (flags & UIFIND_ME_FIRST) {
        if (CControlUI* r = self()) return r;
    }
    if (hitTest && !m_bMouseChildEnabled) return (flags & UIFIND_ME_FIRST) ? nullptr : self();
    for (CScrollBarUI* bar : {m_pVerticalScrollBar.get(), m_pHorizontalScrollBar.get()}) {
        if (!bar) continue;
        if (CControlUI* r = bar->FindControl(proc, data, flags)) return r;
    }
    if (flags & UIFIND_TOP_FIRST) {
        // What is painted last is on top: floating children, then the rest, last first.
        for (int pass = 0; pass < 2; ++pass) {
            for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
                if ((*it)->IsFloat() != (pass == 0)) continue;
                if (CControlUI* r = (*it)->FindControl(proc, data, flags)) return r;
            }
        }
    } else {
        // Copy: the visitor may add or remove children.
        std::vector<CControlUI*> items = m_items;
        for (CControlUI* c : items)
            if (CControlUI* r = c->FindControl(proc, data, flags)) return r;
    }
    return (flags & UIFIND_ME_FIRST) ? nullptr : self();
}

// ---------------------------------------------------------------- scrolling

SIZE CContainerUI::GetScrollPos() const {
    SIZE s{};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        s.cy = m_pVerticalScrollBar->GetScrollPos();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        s.cx = m_pHorizontalScrollBar->GetScrollPos();
    return s;
}

SIZE CContainerUI::GetScrollRange() const {
    SIZE s{};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        s.cy = m_pVerticalScrollBar->GetScrollRange();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        s.cx = m_pHorizontalScrollBar->GetScrollRange();
    return s;
}

void CContainerUI::SetScrollPos(SIZE pos) {
    SIZE old = GetScrollPos();
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
        m_pVerticalScrollBar->SetScrollPos(pos.cy);
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
        m_pHorizontalScrollBar->SetScrollPos(pos.cx);
    SIZE now = GetScrollPos();
    if (now.cx == old.cx && now.cy == old.cy) return;
    // Lay the children out again at the new offset.
    SetPos(m_rcItem, true);
    Invalidate();
}

void CContainerUI::LineUp() {
    int line = m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : 8;
    SIZE p = GetScrollPos();
    p.cy = std::max<LONG>(0, p.cy - line);
    SetScrollPos(p);
}

void CContainerUI::LineDown() {
    int line = m_pVerticalScrollBar ? m_pVerticalScrollBar->GetLineSize() : 8;
    SIZE p = GetScrollPos();
    p.cy += line;
    SetScrollPos(p);
}

void CContainerUI::PageUp() {
    RECT inner = ContentRect(m_rcItem);
    SIZE p = GetScrollPos();
    p.cy = std::max<LONG>(0, p.cy - (inner.bottom - inner.top));
    SetScrollPos(p);
}

void CContainerUI::PageDown() {
    RECT inner = ContentRect(m_rcItem);
    SIZE p = GetScrollPos();
    p.cy += inner.bottom - inner.top;
    SetScrollPos(p);
}

void CContainerUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
    if (enableVertical && !m_pVerticalScrollBar) {
        m_pVerticalScrollBar = std::make_unique<CScrollBarUI>();
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetManager(m_pManager, this, m_pManager != nullptr);
    } else if (!enableVertical && m_pVerticalScrollBar) {
        if (m_pManager) m_pManager->ReapObjects(m_pVerticalScrollBar.get());
        m_pVerticalScrollBar.reset();
    }
    if (enableHorizontal && !m_pHorizontalScrollBar) {
        m_pHorizontalScrollBar = std::make_unique<CScrollBarUI>();
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetVisible(false);
        m_pHorizontalScrollBar->SetManager(m_pManager, this, m_pManager != nullptr);
    } else if (!enableHorizontal && m_pHorizontalScrollBar) {
        if (m_pManager) m_pManager->ReapObjects(m_pHorizontalScrollBar.get());
        m_pHorizontalScrollBar.reset();
    }
    NeedUpdate();
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
    // rc is the content area without the bars; a bar shows when the content overflows.
    bool relayout = false;
    if (CScrollBarUI* bar = m_pVerticalScrollBar.get()) {
        int view = rc.bottom - rc.top;
        bool need = cyRequired > view;
        if (need) {
            bar->SetScrollRange(cyRequired - view);
            bar->SetPageSize(view);
            int w = bar->GetFixedWidth() > 0 ? bar->GetFixedWidth() : 12;
            int bottom = rc.bottom;
            bar->SetPos(RECT{rc.right, rc.top, rc.right + w, bottom}, false);
        } else {
            bar->SetScrollRange(0);
            bar->SetScrollPos(0);
        }
        if (need != bar->IsVisible()) {
            bar->SetVisible(need);
            relayout = true;
        }
    }
    if (CScrollBarUI* bar = m_pHorizontalScrollBar.get()) {
        int view = rc.right - rc.left;
        bool need = cxRequired > view;
        if (need) {
            bar->SetScrollRange(cxRequired - view);
            bar->SetPageSize(view);
            int h = bar->GetFixedHeight() > 0 ? bar->GetFixedHeight() : 12;
            bar->SetPos(RECT{rc.left, rc.bottom, rc.right, rc.bottom + h}, false);
        } else {
            bar->SetScrollRange(0);
            bar->SetScrollPos(0);
        }
        if (need != bar->IsVisible()) {
            bar->SetVisible(need);
            relayout = true;
        }
    }
    // Showing or hiding a bar changes the content width: lay out once more.
    if (relayout && !m_bInScrollRelayout) {
        m_bInScrollRelayout = true;
        SetPos(m_rcItem, false);
        m_bInScrollRelayout = false;
    }
}

void CContainerUI::LayOutInLine(bool vertical, bool needInvalidate) {
    // Written once for both directions: "main" is the direction of the flow, "cross" the
    // other one.
    auto mainOf = [vertical](SIZE s) { return static_cast<int>(vertical ? s.cy : s.cx); };
    auto crossOf = [vertical](SIZE s) { return static_cast<int>(vertical ? s.cx : s.cy); };
    auto before = [vertical](const RECT& p) { return static_cast<int>(vertical ? p.top : p.left); };
    auto after = [vertical](const RECT& p) { return static_cast<int>(vertical ? p.bottom : p.right); };
    auto crossBefore = [vertical](const RECT& p) { return static_cast<int>(vertical ? p.left : p.top); };
    auto crossAfter = [vertical](const RECT& p) { return static_cast<int>(vertical ? p.right : p.bottom); };
    auto minMain = [vertical](CControlUI* c) { return vertical ? c->GetMinHeight() : c->GetMinWidth(); };
    auto maxMain = [vertical](CControlUI* c) { return vertical ? c->GetMaxHeight() : c->GetMaxWidth(); };
    auto minCross = [vertical](CControlUI* c) { return vertical ? c->GetMinWidth() : c->GetMinHeight(); };
    auto maxCross = [vertical](CControlUI* c) { return vertical ? c->GetMaxWidth() : c->GetMaxHeight(); };

    RECT inner = ContentRect(m_rcItem);
    const SIZE available{inner.right - inner.left, inner.bottom - inner.top};
    const int length = mainOf(available), breadth = crossOf(available);

    // Visible children in the flow, with what they ask for.
    std::vector<int> flow;
    std::vector<LayoutSlot> slots;
    std::vector<SIZE> wanted;
    int spacing = 0;
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        CControlUI* c = m_items[i];
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT pad = c->GetPadding();
        SIZE sz = c->EstimateSize(available);
        flow.push_back(i);
        wanted.push_back(sz);
        slots.push_back(LayoutSlot{mainOf(sz), minMain(c), maxMain(c)});
        spacing += before(pad) + after(pad);
    }
    if (!flow.empty()) spacing += static_cast<int>(flow.size() - 1) * m_iChildPadding;
    std::vector<int> lengths = ShareLength(length - spacing, slots);

    const SIZE scroll = GetScrollPos();
    int pos = (vertical ? inner.top : inner.left) - mainOf(scroll);
    const int crossStart = (vertical ? inner.left : inner.top) - crossOf(scroll);
    int needed = 0, neededCross = 0;
    for (size_t k = 0; k < flow.size(); ++k) {
        CControlUI* c = m_items[flow[k]];
        RECT pad = c->GetPadding();
        int size = crossOf(wanted[k]);
        if (size <= 0) size = breadth - crossBefore(pad) - crossAfter(pad);
        size = std::max(minCross(c), std::min(size, std::max(minCross(c), maxCross(c))));
        if (size < 0) size = 0;
        pos += before(pad);
        const int c0 = crossStart + crossBefore(pad);
        RECT r = vertical ? RECT{c0, pos, c0 + size, pos + lengths[k]}
                          : RECT{pos, c0, pos + lengths[k], c0 + size};
        c->SetPos(r, needInvalidate);
        pos += lengths[k] + after(pad) + m_iChildPadding;
        needed += lengths[k] + before(pad) + after(pad) + (k ? m_iChildPadding : 0);
        neededCross = std::max(neededCross, size + crossBefore(pad) + crossAfter(pad));
    }
    if (vertical) {
        ProcessScrollBar(inner, neededCross, needed);
    } else {
        ProcessScrollBar(inner, needed, neededCross);
    }
}

}  // namespace uilib
