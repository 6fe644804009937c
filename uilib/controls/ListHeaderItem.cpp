#include "uilib/controls/ListHeaderItem.h"

#include <algorithm>

#include "uilib/AttributeValue.h"

namespace uilib {

namespace {
constexpr int kMinColumnWidth = 16;
}

CListHeaderItemUI::CListHeaderItemUI() {
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    m_rcTextPadding = RECT{4, 0, 4, 0};
}

const char* CListHeaderItemUI::GetClass() const { return "ListHeaderItemUI"; }

void* CListHeaderItemUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListHeaderItem")) return this;
    return CLabelUI::GetInterface(name);
}

RECT CListHeaderItemUI::SeparatorRect() const {
    RECT rc = m_rcItem;
    rc.left = std::max<LONG>(rc.left, rc.right - m_iSepWidth);
    return rc;
}

void CListHeaderItemUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) return;
        RECT sep = SeparatorRect();
        if (m_bDragable && ::uilib::PtInRect(&sep, event.ptMouse)) {
            m_uButtonState |= UISTATE_CAPTURED;
            m_ptLastMouse = event.ptMouse;
        } else {
            m_uButtonState |= UISTATE_PUSHED;
            Notify("headerclick");
        }
        Invalidate();
        return;
    }
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) NeedParentUpdate();
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            int width = std::max<int>(kMinColumnWidth,
                                      GetWidth() + event.ptMouse.x - m_ptLastMouse.x);
            m_ptLastMouse = event.ptMouse;
            SetFixedWidth(width);
            NeedParentUpdate();  // the list recomputes its columns
        }
        return;
    case UIEVENT_SETCURSOR: {
        RECT sep = SeparatorRect();
        if (m_bDragable && IsEnabled() && ::uilib::PtInRect(&sep, event.ptMouse) &&
            platform::HasBackend() && m_pManager) {
            platform::GetBackend().SetCursor(m_pManager->GetPaintWindow(), CursorShape::SizeWE);
            return;
        }
        break;
    }
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) { m_uButtonState |= UISTATE_HOT; Invalidate(); }
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CListHeaderItemUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "dragable")) m_bDragable = attr::ParseBool(value);
    else if (attr::IsName(name, "sepwidth")) m_iSepWidth = attr::ParseInt(value, m_iSepWidth);
    else if (attr::IsName(name, "sepcolor")) m_dwSepColor = attr::ParseColor(value, m_dwSepColor);
    else if (attr::IsName(name, "normalimage")) m_sNormalImage = value ? value : "";
    else if (attr::IsName(name, "hotimage")) m_sHotImage = value ? value : "";
    else if (attr::IsName(name, "pushedimage")) m_sPushedImage = value ? value : "";
    else if (attr::IsName(name, "sepimage")) m_sSepImage = value ? value : "";
    else CLabelUI::SetAttribute(name, value);
}

void CListHeaderItemUI::PaintStatusImage(cairo_t* cr) {
    const CStdString* image = &m_sNormalImage;
    if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.empty()) image = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.empty()) image = &m_sHotImage;
    if (!image->empty()) DrawImage(cr, image->c_str());
    RECT sep = SeparatorRect();
    if (!m_sSepImage.empty()) {
        CStdString dest = CStdString::Printf("dest='%ld,%ld,%ld,%ld'", sep.left - m_rcItem.left, 0L,
                                             sep.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top);
        DrawImage(cr, m_sSepImage.c_str(), dest.c_str());
    } else {
        // A thin rule at the right edge separates the columns.
        RECT line{m_rcItem.right - 1, m_rcItem.top + 4, m_rcItem.right, m_rcItem.bottom - 4};
        CRenderEngine::DrawColor(cr, line, m_dwSepColor);
    }
}

}  // namespace uilib
