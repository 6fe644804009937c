#include "uilib/controls/Slider.h"

#include <algorithm>
#include <cmath>

#include <cairo.h>

#include "uilib/AttributeValue.h"
#include "uilib/controls/ScrollBar.h"

namespace uilib {

namespace {
constexpr DWORD kDefaultForeColor = 0xFF3D8FE0;
constexpr int kTrackThickness = 4;

CStdString DestOf(const RECT& rc, const RECT& item) {
    return CStdString::Printf("dest='%ld,%ld,%ld,%ld'", rc.left - item.left, rc.top - item.top,
                              rc.right - item.left, rc.bottom - item.top);
}

void SetSource(cairo_t* cr, DWORD c) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}
}  // namespace

CSliderUI::CSliderUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

const char* CSliderUI::GetClass() const { return "SliderUI"; }

void* CSliderUI::GetInterface(const char* name) {
    if (attr::IsName(name, "Slider")) return this;
    return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP : 0; }

void CSliderUI::SetThumbSize(SIZE size) {
    m_szThumb = size;
    Invalidate();
}

void CSliderUI::SetThumbImage(const char* image) { m_sThumbImage = image ? image : ""; Invalidate(); }
void CSliderUI::SetThumbHotImage(const char* image) { m_sThumbHotImage = image ? image : ""; Invalidate(); }
void CSliderUI::SetThumbPushedImage(const char* image) { m_sThumbPushedImage = image ? image : ""; Invalidate(); }

void CSliderUI::SetEnabled(bool enable) {
    CProgressUI::SetEnabled(enable);
    if (!enable) m_uButtonState = 0;
}

RECT CSliderUI::GetThumbRect() const {
    const RECT& rc = m_rcItem;
    long long range = SafeMax() - m_nMin;
    long long v = std::clamp(m_nValue, m_nMin, SafeMax()) - m_nMin;
    if (m_bHorizontal) {
        LONG left = rc.left + static_cast<LONG>((rc.right - rc.left - m_szThumb.cx) * v / range);
        LONG top = (rc.bottom + rc.top - m_szThumb.cy) / 2;
        return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
    }
    LONG top = rc.bottom - m_szThumb.cy -
               static_cast<LONG>((rc.bottom - rc.top - m_szThumb.cy) * v / range);
    LONG left = (rc.right + rc.left - m_szThumb.cx) / 2;
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

int CSliderUI::ValueFromPoint(POINT pt) const {
    long long range = SafeMax() - m_nMin;
    if (m_bHorizontal) {
        LONG half = m_szThumb.cx / 2;
        LONG track = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
        if (pt.x >= m_rcItem.right - half || track <= 0) return pt.x >= m_rcItem.left + half ? m_nMax : m_nMin;
        if (pt.x <= m_rcItem.left + half) return m_nMin;
        return m_nMin + static_cast<int>((pt.x - m_rcItem.left - half) * range / track);
    }
    // Vertical: the minimum is at the bottom.
    LONG half = m_szThumb.cy / 2;
    LONG track = m_rcItem.bottom - m_rcItem.top - m_szThumb.cy;
    if (pt.y <= m_rcItem.top + half || track <= 0) return pt.y <= m_rcItem.bottom - half ? m_nMax : m_nMin;
    if (pt.y >= m_rcItem.bottom - half) return m_nMin;
    return m_nMin + static_cast<int>((m_rcItem.bottom - half - pt.y) * range / track);
}

void CSliderUI::ChangeValueBy(int delta) {
    int old = m_nValue;
    SetValue(m_nValue + delta);
    if (m_nValue != old) Notify("valuechanged", static_cast<WPARAM>(m_nValue));
}

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CProgressUI::DoEvent(event);  // passes it to the parent
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) return;
        RECT thumb = GetThumbRect();
        // On the thumb the value stays, so a press alone does not nudge it.
        if (!::uilib::PtInRect(&thumb, event.ptMouse)) SetValue(ValueFromPoint(event.ptMouse));
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        if (m_pManager && m_pManager->GetPaintWindow()) m_pManager->SetCapture();
        Invalidate();
        return;
    }
    case UIEVENT_BUTTONUP: {
        if (!(m_uButtonState & UISTATE_CAPTURED)) return;
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        if (m_pManager && m_pManager->IsCaptured()) m_pManager->ReleaseCapture();
        Invalidate();
        Notify("valuechanged", static_cast<WPARAM>(m_nValue));
        Notify("valuechangeend", static_cast<WPARAM>(m_nValue));
        return;
    }
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            SetValue(ValueFromPoint(event.ptMouse));
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) { m_uButtonState |= UISTATE_HOT; Invalidate(); }
        return;
    case UIEVENT_MOUSELEAVE:
        if (m_uButtonState & UISTATE_HOT) { m_uButtonState &= ~UISTATE_HOT; Invalidate(); }
        return;
    case UIEVENT_SCROLLWHEEL:
        if (!IsEnabled()) return;
        ChangeValueBy(CScrollBarUI::WheelDirection(event) < 0 ? m_nStep : -m_nStep);
        return;
    case UIEVENT_KEYDOWN:
        if (!IsEnabled()) break;
        switch (static_cast<int>(event.chKey)) {
        case VK_RIGHT: case VK_UP: ChangeValueBy(m_nStep); return;
        case VK_LEFT: case VK_DOWN: ChangeValueBy(-m_nStep); return;
        case VK_HOME: ChangeValueBy(m_nMin - m_nValue); return;
        case VK_END: ChangeValueBy(m_nMax - m_nValue); return;
        default: break;
        }
        break;
    default:
        break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "thumbimage")) SetThumbImage(value);
    else if (attr::IsName(name, "thumbhotimage")) SetThumbHotImage(value);
    else if (attr::IsName(name, "thumbpushedimage")) SetThumbPushedImage(value);
    else if (attr::IsName(name, "thumbsize")) SetThumbSize(attr::ParseSize(value));
    else if (attr::IsName(name, "step")) SetChangeStep(attr::ParseInt(value, m_nStep));
    else if (attr::IsName(name, "trackcolor")) { m_dwTrackColor = attr::ParseColor(value); Invalidate(); }
    else if (attr::IsName(name, "thumbcolor")) { m_dwThumbColor = attr::ParseColor(value); Invalidate(); }
    else if (attr::IsName(name, "thumbbordercolor")) { m_dwThumbBorderColor = attr::ParseColor(value); Invalidate(); }
    else CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintBkColor(cairo_t* cr) {
    CProgressUI::PaintBkColor(cr);
    if (GetEffectiveBkColor() != 0 || !m_sBkImage.empty()) return;
    // No background given: a thin rounded track along the axis.
    RECT track = m_rcItem;
    if (m_bHorizontal) {
        track.left += m_szThumb.cx / 2; track.right -= m_szThumb.cx / 2;
        track.top = (m_rcItem.top + m_rcItem.bottom - kTrackThickness) / 2;
        track.bottom = track.top + kTrackThickness;
    } else {
        track.top += m_szThumb.cy / 2; track.bottom -= m_szThumb.cy / 2;
        track.left = (m_rcItem.left + m_rcItem.right - kTrackThickness) / 2;
        track.right = track.left + kTrackThickness;
    }
    CRenderEngine::FillRoundRect(cr, track, kTrackThickness, kTrackThickness, m_dwTrackColor);
}

void CSliderUI::PaintStatusImage(cairo_t* cr) {
    bool drawnLook = m_sBkImage.empty() && m_sForeImage.empty() && GetEffectiveBkColor() == 0;
    if (drawnLook) {
        // The filled part of the drawn track, up to the thumb's centre.
        RECT thumb = GetThumbRect();
        RECT fore = m_rcItem;
        if (m_bHorizontal) {
            fore.left += m_szThumb.cx / 2;
            fore.right = (thumb.left + thumb.right) / 2;
            fore.top = (m_rcItem.top + m_rcItem.bottom - kTrackThickness) / 2;
            fore.bottom = fore.top + kTrackThickness;
        } else {
            fore.bottom -= m_szThumb.cy / 2;
            fore.top = (thumb.top + thumb.bottom) / 2;
            fore.left = (m_rcItem.left + m_rcItem.right - kTrackThickness) / 2;
            fore.right = fore.left + kTrackThickness;
        }
        DWORD color = m_dwForeColor ? m_dwForeColor : kDefaultForeColor;
        if (!IsEnabled()) color = 0x80808080;
        CRenderEngine::FillRoundRect(cr, fore, kTrackThickness, kTrackThickness, color);
    } else {
        CProgressUI::PaintStatusImage(cr);
    }

    RECT thumb = GetThumbRect();
    CStdString dest = DestOf(thumb, m_rcItem);
    const CStdString* image = &m_sThumbImage;
    if ((m_uButtonState & UISTATE_CAPTURED) && !m_sThumbPushedImage.empty()) image = &m_sThumbPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sThumbHotImage.empty()) image = &m_sThumbHotImage;
    if (!image->empty() && DrawImage(cr, image->c_str(), dest.c_str())) return;
    if (!m_sThumbImage.empty() && image != &m_sThumbImage) {
        if (DrawImage(cr, m_sThumbImage.c_str(), dest.c_str())) return;
    }
    // The drawn thumb: a round knob, a little larger while hot or dragged.
    double cx = (thumb.left + thumb.right) / 2.0, cy = (thumb.top + thumb.bottom) / 2.0;
    double r = std::min(m_szThumb.cx, m_szThumb.cy) / 2.0 - 0.5;
    if (!(m_uButtonState & (UISTATE_HOT | UISTATE_CAPTURED))) r -= 1;
    if (r <= 0) return;
    cairo_save(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    SetSource(cr, IsEnabled() ? m_dwThumbColor : 0xFFB0B0B0);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1);
    SetSource(cr, m_dwThumbBorderColor);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace uilib
