// The least and largest sizes a window may be given: the layout's own limits, raised to
// what its visible controls of fixed size need.
#include <algorithm>

#include "uilib/LayoutNeeds.h"
#include "uilib/PaintManager.h"

namespace uilib {

SIZE CPaintManagerUI::GetLeastWindowSize() const {
    const SIZE need = LeastSize(m_root.get());
    return SIZE{std::max(need.cx, m_szMinWindow.cx), std::max(need.cy, m_szMinWindow.cy)};
}

void CPaintManagerUI::GetMinMaxInfo(MINMAXINFO* info) const {
    if (!info) return;
    const SIZE least = GetLeastWindowSize();
    if (least.cx > 0) info->ptMinTrackSize.x = least.cx;
    if (least.cy > 0) info->ptMinTrackSize.y = least.cy;
    if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
    if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
}

}  // namespace uilib
