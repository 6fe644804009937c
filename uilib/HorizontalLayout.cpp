#include <algorithm>
#include <cstring>
#include <vector>

#include "uilib/Container.h"
#include "uilib/LayoutShare.h"

namespace uilib {

const char* CHorizontalLayoutUI::GetClass() const { return "HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    RECT inner = ContentRect(m_rcItem);
    const int width = inner.right - inner.left;
    const int height = inner.bottom - inner.top;

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
        slots.push_back(LayoutSlot{static_cast<int>(sz.cx), c->GetMinWidth(), c->GetMaxWidth()});
        spacing += pad.left + pad.right;
    }
    if (!flow.empty()) spacing += static_cast<int>(flow.size() - 1) * m_iChildPadding;
    std::vector<int> widths = ShareLength(width - spacing, slots);

    int x = inner.left - GetScrollPos().cx;
    int y0 = inner.top - GetScrollPos().cy;
    int needed = 0, neededHeight = 0;
    for (size_t k = 0; k < flow.size(); ++k) {
        CControlUI* c = m_items[flow[k]];
        RECT pad = c->GetPadding();
        int cy = wanted[k].cy;
        if (cy <= 0) cy = height - pad.top - pad.bottom;
        cy = std::max(c->GetMinHeight(),
                      std::min(cy, std::max(c->GetMinHeight(), c->GetMaxHeight())));
        if (cy < 0) cy = 0;
        x += pad.left;
        RECT r{x, y0 + pad.top, x + widths[k], y0 + pad.top + cy};
        c->SetPos(r, needInvalidate);
        x += widths[k] + pad.right + m_iChildPadding;
        needed += widths[k] + pad.left + pad.right + (k ? m_iChildPadding : 0);
        neededHeight = std::max(neededHeight, cy + static_cast<int>(pad.top + pad.bottom));
    }
    ProcessScrollBar(inner, needed, neededHeight);
}

}  // namespace uilib
