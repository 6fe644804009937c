#include "uilib/controls/Button.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "uilib/AttributeValue.h"

namespace uilib {

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

const char* CButtonUI::GetClass() const { return "ButtonUI"; }

void* CButtonUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Button") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    Notify("click");
    return true;
}

void CButtonUI::SetEnabled(bool enable) {
    CControlUI::SetEnabled(enable);
    if (!IsEnabled()) m_uButtonState &= UISTATE_SELECTED;  // no hot or pushed look left
}

void CButtonUI::DoEvent(TEventUI& event) {
    const bool mouseEvent = event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
    if (mouseEvent && (!IsMouseEnabled() || !IsEnabled())) {
        CLabelUI::DoEvent(event);
        return;
    }
    const bool inside = PtInRect(&m_rcItem, event.ptMouse);
    switch (event.Type) {
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();  // may delete this
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (inside) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            UINT before = m_uButtonState;
            if (inside)
                m_uButtonState |= UISTATE_PUSHED;
            else
                m_uButtonState &= ~UISTATE_PUSHED;
            if (before != m_uButtonState) Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) {
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (inside) Activate();  // may delete this
        }
        return;
    case UIEVENT_MOUSEENTER:
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_SETCURSOR:
        if (m_pManager && m_pManager->GetPaintWindow() && platform::HasBackend())
            platform::GetBackend().SetCursor(m_pManager->GetPaintWindow(), CursorShape::Hand);
        return;
    case UIEVENT_SETFOCUS:
        m_uButtonState |= UISTATE_FOCUSED;
        break;
    case UIEVENT_KILLFOCUS:
        m_uButtonState &= ~UISTATE_FOCUSED;
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(const char* image) { m_sNormalImage = image; Invalidate(); }
void CButtonUI::SetHotImage(const char* image) { m_sHotImage = image; Invalidate(); }
void CButtonUI::SetPushedImage(const char* image) { m_sPushedImage = image; Invalidate(); }
void CButtonUI::SetFocusedImage(const char* image) { m_sFocusedImage = image; Invalidate(); }
void CButtonUI::SetDisabledImage(const char* image) { m_sDisabledImage = image; Invalidate(); }
void CButtonUI::SetForeImage(const char* image) { m_sForeImage = image; Invalidate(); }
void CButtonUI::SetHotForeImage(const char* image) { m_sHotForeImage = image; Invalidate(); }
void CButtonUI::SetHotBkColor(DWORD c) { m_dwHotBkColor = c; Invalidate(); }
void CButtonUI::SetPushedBkColor(DWORD c) { m_dwPushedBkColor = c; Invalidate(); }
void CButtonUI::SetHotTextColor(DWORD c) { m_dwHotTextColor = c; Invalidate(); }
void CButtonUI::SetPushedTextColor(DWORD c) { m_dwPushedTextColor = c; Invalidate(); }
void CButtonUI::SetFocusedTextColor(DWORD c) { m_dwFocusedTextColor = c; Invalidate(); }

SIZE CButtonUI::EstimateSize(SIZE available) { return CLabelUI::EstimateSize(available); }

void CButtonUI::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(CButtonUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"normalimage", [](CButtonUI* c, const char* v) { c->SetNormalImage(v); }},
        {"hotimage", [](CButtonUI* c, const char* v) { c->SetHotImage(v); }},
        {"pushedimage", [](CButtonUI* c, const char* v) { c->SetPushedImage(v); }},
        {"focusedimage", [](CButtonUI* c, const char* v) { c->SetFocusedImage(v); }},
        {"disabledimage", [](CButtonUI* c, const char* v) { c->SetDisabledImage(v); }},
        {"foreimage", [](CButtonUI* c, const char* v) { c->SetForeImage(v); }},
        {"hotforeimage", [](CButtonUI* c, const char* v) { c->SetHotForeImage(v); }},
        {"pushedforeimage",
         [](CButtonUI* c, const char* v) { c->m_sPushedForeImage = v; c->Invalidate(); }},
        {"hotbkcolor", [](CButtonUI* c, const char* v) { c->SetHotBkColor(attr::ParseColor(v)); }},
        {"pushedbkcolor",
         [](CButtonUI* c, const char* v) { c->SetPushedBkColor(attr::ParseColor(v)); }},
        {"hottextcolor",
         [](CButtonUI* c, const char* v) { c->SetHotTextColor(attr::ParseColor(v)); }},
        {"pushedtextcolor",
         [](CButtonUI* c, const char* v) { c->SetPushedTextColor(attr::ParseColor(v)); }},
        {"focusedtextcolor",
         [](CButtonUI* c, const char* v) { c->SetFocusedTextColor(attr::ParseColor(v)); }},
    };
    auto it = name ? table.find(name) : table.end();
    if (it != table.end()) {
        it->second(this, value ? value : "");
        return;
    }
    CLabelUI::SetAttribute(name, value);
}

DWORD CButtonUI::GetStateBkColor() const {
    if (IsEnabled()) {
        if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedBkColor) return m_dwPushedBkColor;
        if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && m_dwHotBkColor)
            return m_dwHotBkColor;
    }
    return GetEffectiveBkColor();
}

DWORD CButtonUI::GetEffectiveTextColor() const {
    if (IsEnabled()) {
        if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor) return m_dwPushedTextColor;
        if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && m_dwHotTextColor)
            return m_dwHotTextColor;
        if ((m_uButtonState & UISTATE_FOCUSED) && m_dwFocusedTextColor)
            return m_dwFocusedTextColor;
    }
    return CLabelUI::GetEffectiveTextColor();
}

void CButtonUI::PaintBkColor(cairo_t* cr) {
    DWORD c = GetStateBkColor();
    if (c != GetEffectiveBkColor() && c) {
        CRenderEngine::DrawColor(cr, m_rcItem, c);
        return;
    }
    CLabelUI::PaintBkColor(cr);
}

const CStdString& CButtonUI::StateImage() const {
    auto pick = [&](const CStdString& preferred) -> const CStdString& {
        return preferred.empty() ? m_sNormalImage : preferred;
    };
    if (!IsEnabled()) return pick(m_sDisabledImage);
    if (m_uButtonState & UISTATE_PUSHED) return pick(m_sPushedImage.empty() ? m_sHotImage : m_sPushedImage);
    if (m_uButtonState & UISTATE_HOT) return pick(m_sHotImage);
    if (m_uButtonState & UISTATE_FOCUSED) return pick(m_sFocusedImage);
    return m_sNormalImage;
}

void CButtonUI::PaintStatusImage(cairo_t* cr) {
    const CStdString& image = StateImage();
    if (!image.empty()) DrawImage(cr, image.c_str());
    const CStdString* fore = &m_sForeImage;
    if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedForeImage.empty())
        fore = &m_sPushedForeImage;
    else if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && !m_sHotForeImage.empty())
        fore = &m_sHotForeImage;
    if (!fore->empty()) DrawImage(cr, fore->c_str());
}

void CButtonUI::PaintBorder(cairo_t* cr) {
    CLabelUI::PaintBorder(cr);
    // Keyboard focus without a focus border of the layout: a ring just inside the edge,
    // in a colour that stands out on the button's own background.
    if (!m_bFocused || m_dwFocusBorderColor || !m_pManager || !m_pManager->IsFocusFromKeyboard())
        return;
    DWORD behind = GetBackgroundBehind();
    DWORD ring = (behind ? CRenderEngine::ReadableTextColor(behind) : 0xFF000000);
    ring = (ring & 0x00FFFFFF) | 0xB0000000;
    RECT rc{m_rcItem.left + 1, m_rcItem.top + 1, m_rcItem.right - 1, m_rcItem.bottom - 1};
    if (m_cxyBorderRound.cx > 0)
        CRenderEngine::DrawRoundRect(cr, rc, 1, m_cxyBorderRound.cx, m_cxyBorderRound.cy, ring);
    else
        CRenderEngine::DrawRect(cr, rc, 1, ring);
}

}  // namespace uilib
