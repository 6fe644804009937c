#include <algorithm>
#include <cstring>
#include <vector>

#include "uilib/Container.h"
#include "uilib/LayoutShare.h"

namespace uilib {

const char* CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    RECT inner = ContentRect(m_rcItem);
    const int width = inner.right - inner.left;
    const int height = inner.bottom - inner.top;

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
        SIZE sz = c->EstimateSize(SIZE{width, height});
        flow.push_back(i);
        wanted.push_back(sz);
        slots.push_back(LayoutSlot{static_cast<int>(sz.cy), c->GetMinHeight(), c->GetMaxHeight()});
        spacing += pad.top + pad.bottom;
    }
    if (!flow.empty()) spacing += static_cast<int>(flow.size() - 1) * m_iChildPadding;
    std::vector<int> heights = ShareLength(height - spacing, slots);

    int y = inner.top - GetScrollPos().cy;
    int x0 = inner.left - GetScrollPos().cx;
    int needed = 0, neededWidth = 0;
    for (size_t k = 0; k < flow.size(); ++k) {
        CControlUI* c = m_items[flow[k]];
        RECT pad = c->GetPadding();
        int cx = wanted[k].cx;
        if (cx <= 0) cx = width - pad.left - pad.right;
        cx = std::max(c->GetMinWidth(), std::min(cx, std::max(c->GetMinWidth(), c->GetMaxWidth())));
        if (cx < 0) cx = 0;
        y += pad.top;
        RECT r{x0 + pad.left, y, x0 + pad.left + cx, y + heights[k]};
        c->SetPos(r, needInvalidate);
        y += heights[k] + pad.bottom + m_iChildPadding;
        needed += heights[k] + pad.top + pad.bottom + (k ? m_iChildPadding : 0);
        neededWidth = std::max(neededWidth, cx + static_cast<int>(pad.left + pad.right));
    }
    ProcessScrollBar(inner, neededWidth, needed);
}

}  // namespace uilib
