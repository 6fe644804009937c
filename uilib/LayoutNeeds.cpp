#include "uilib/LayoutNeeds.h"

#include <algorithm>

#include "uilib/Container.h"

namespace uilib {

namespace {

enum class Flow { Overlap, Across, Down };

Flow FlowOf(CControlUI* control) {
    if (control->GetInterface("HorizontalLayout")) return Flow::Across;
    if (control->GetInterface("VerticalLayout")) return Flow::Down;
    return Flow::Overlap;
}

// What the visible children of a container need, with its inset.
SIZE ContentNeeds(CContainerUI* box, Flow flow) {
    LONG across = 0, down = 0;
    int shown = 0;
    for (int i = 0; i < box->GetCount(); ++i) {
        CControlUI* child = box->GetItemAt(i);
        if (!child || !child->IsVisible() || child->IsFloat()) continue;
        const SIZE need = LeastSize(child);
        const RECT pad = child->GetPadding();
        const LONG w = need.cx + pad.left + pad.right, h = need.cy + pad.top + pad.bottom;
        across = flow == Flow::Across ? across + w : std::max(across, w);
        down = flow == Flow::Down ? down + h : std::max(down, h);
        ++shown;
    }
    if (shown > 1 && flow == Flow::Across) across += (shown - 1) * box->GetChildPadding();
    if (shown > 1 && flow == Flow::Down) down += (shown - 1) * box->GetChildPadding();
    const RECT inset = box->GetInset();
    // Content that scrolls never widens its box in that direction.
    if (box->GetHorizontalScrollBar()) across = 0;
    if (box->GetVerticalScrollBar()) down = 0;
    return SIZE{across + inset.left + inset.right, down + inset.top + inset.bottom};
}

}  // namespace

SIZE LeastSize(CControlUI* control) {
    if (!control || !control->IsVisible()) return SIZE{};
    SIZE content{};
    auto* box = static_cast<CContainerUI*>(control->GetInterface("Container"));
    // A list or a combo shows its items in a scrolled body or a drop-down.
    if (box && !control->GetInterface("List") && !control->GetInterface("Combo"))
        content = ContentNeeds(box, FlowOf(control));
    auto pick = [](int fixed, int least, LONG need) {
        return fixed > 0 ? static_cast<LONG>(fixed) : std::max(static_cast<LONG>(least), need);
    };
    return SIZE{pick(control->GetFixedWidth(), control->GetMinWidth(), content.cx),
                pick(control->GetFixedHeight(), control->GetMinHeight(), content.cy)};
}

}  // namespace uilib
