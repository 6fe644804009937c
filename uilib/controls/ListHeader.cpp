#include "uilib/controls/ListHeader.h"

#include <algorithm>

#include "uilib/AttributeValue.h"
#include "uilib/RenderEngine.h"

namespace uilib {

CListHeaderUI::CListHeaderUI() = default;

const char* CListHeaderUI::GetClass() const { return "ListHeaderUI"; }

void* CListHeaderUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListHeader")) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::EstimateSize(SIZE available) {
    SIZE sz{m_cxyFixed.cx, m_cxyFixed.cy};
    if (m_items.empty()) return SIZE{sz.cx, 0};
    if (sz.cy > 0) return sz;
    for (CControlUI* item : m_items) {
        if (item->IsVisible()) sz.cy = std::max<LONG>(sz.cy, item->EstimateSize(available).cy);
    }
    if (sz.cy == 0) {
        sz.cy = CRenderEngine::GetTextSize(m_pManager, "Ag", -1, DT_SINGLELINE).cy + 8;
    }
    return sz;
}

}  // namespace uilib
