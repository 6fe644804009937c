#include "ui/SliderUIEx.h"

#include <algorithm>

#include "uilib/AttributeValue.h"

namespace orvella {

using uilib::CStdString;
using uilib::TEventUI;
using uilib::UISTATE_CAPTURED;
using uilib::UISTATE_HOT;
using uilib::UISTATE_PUSHED;

void* CSliderUIEx::GetInterface(const char* name) {
    if (uilib::attr::IsName(name, "SliderEx")) return this;
    return CSliderUI::GetInterface(name);
}

void CSliderUIEx::SetThumbImage2(const char* image) {
    m_sThumbImage2 = image ? image : "";
    if (m_sThumbImage2.empty()) m_uButtonState2 = 0;
    Invalidate();
}

void CSliderUIEx::SetMinValue2(int min) {
    m_nMin2 = min;
    if (m_nValue2 < m_nMin2) m_nValue2 = m_nMin2;
    Invalidate();
}

void CSliderUIEx::SetMaxValue2(int max) {
    m_nMax2 = max;
    if (m_nValue2 > m_nMax2 && m_nMax2 >= m_nMin2) m_nValue2 = m_nMax2;
    Invalidate();
}

void CSliderUIEx::SetValue2(int value) {
    value = std::clamp(value, m_nMin2, std::max(m_nMin2, m_nMax2));
    if (value == m_nValue2) return;
    m_nValue2 = value;
    Invalidate();
}

void CSliderUIEx::SetEnabled(bool enable) {
    CSliderUI::SetEnabled(enable);
    if (!enable) m_uButtonState2 = 0;
}

LONG CSliderUIEx::Along(POINT pt) const {
    return m_bHorizontal ? pt.x : m_rcItem.top + m_rcItem.bottom - pt.y;
}

CSliderUIEx::Span CSliderUIEx::SpanOf(const RECT& thumb) const {
    if (m_bHorizontal) return Span{thumb.left, thumb.right};
    LONG mirror = m_rcItem.top + m_rcItem.bottom;
    return Span{mirror - thumb.bottom, mirror - thumb.top};
}

int CSliderUIEx::ValueAtAlong(LONG along, int min, int max) const {
    const LONG lo = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
    const LONG hi = m_bHorizontal ? m_rcItem.right : m_rcItem.bottom;
    const LONG thumb = m_bHorizontal ? m_szThumb.cx : m_szThumb.cy;
    if (along >= hi - thumb / 2) return max;
    if (along <= lo + thumb / 2) return min;
    const long long travel = hi - lo - thumb;
    if (travel <= 0) return min;
    return min + static_cast<int>((along - lo - thumb / 2) * (static_cast<long long>(max) - min) / travel);
}

int CSliderUIEx::ValueAt(POINT pt, int min, int max) const { return ValueAtAlong(Along(pt), min, max); }

RECT CSliderUIEx::GetThumbRect2() const {
    const RECT& rc = m_rcItem;
    const long long range = m_nMax2 > m_nMin2 ? static_cast<long long>(m_nMax2) - m_nMin2 : 1;
    const long long v =
        std::clamp(m_nValue2, m_nMin2, std::max(m_nMin2, m_nMax2)) - static_cast<long long>(m_nMin2);
    if (m_bHorizontal) {
        LONG left = rc.left + static_cast<LONG>((rc.right - rc.left - m_szThumb.cx) * v / range);
        LONG top = (rc.top + rc.bottom - m_szThumb.cy) / 2;
        return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
    }
    LONG top = rc.bottom - m_szThumb.cy - static_cast<LONG>((rc.bottom - rc.top - m_szThumb.cy) * v / range);
    LONG left = (rc.left + rc.right - m_szThumb.cx) / 2;
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

void CSliderUIEx::OnPress(POINT pt) {
    const LONG along = Along(pt);
    const Span track = SpanOf(m_rcItem);
    const LONG middle = track.start + (track.end - track.start) / 2;
    const bool two = HasSecondThumb();
    // With two thumbs the side of the middle says which one a press on the track moves;
    // with one, the whole track is the first thumb's. A jump also starts a drag, so the
    // release ends it with "valuechangeend" as a drag does (the window seeks on that).
    RECT thumb = GetThumbRect();
    if (uilib::PtInRect(&thumb, pt)) {
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
    } else if (!two || (along < SpanOf(GetThumbRect2()).start && along < middle)) {
        SetValue(ValueAtAlong(along, m_nMin, m_nMax));
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        Notify("valuechangebegin", static_cast<WPARAM>(m_nValue));
    }
    if (two) {
        // Where the thumbs overlap a press takes both: the drag then separates them.
        RECT thumb2 = GetThumbRect2();
        if (uilib::PtInRect(&thumb2, pt)) {
            m_uButtonState2 |= UISTATE_CAPTURED | UISTATE_PUSHED;
        } else if (along > SpanOf(GetThumbRect()).end && along > middle) {
            SetValue2(ValueAtAlong(along, m_nMin2, m_nMax2));
            m_uButtonState2 |= UISTATE_CAPTURED | UISTATE_PUSHED;
            Notify("valuechangebegin2", static_cast<WPARAM>(m_nValue2));
        }
    }
    Invalidate();
}

void CSliderUIEx::OnMove(POINT pt) {
    if (pt.x < 0 || pt.y < 0) return;
    const LONG along = Along(pt);
    const bool first = (m_uButtonState & UISTATE_CAPTURED) != 0;
    const bool second = (m_uButtonState2 & UISTATE_CAPTURED) != 0;
    if (first) {
        // Each thumb stops with its centre on the other's near edge, however fast the
        // pointer passes it; the two limits meet, so a stopped thumb never jumps when
        // the other is dragged. Without a second thumb (the position and volume
        // sliders) the first has the whole track, or it could never reach its maximum.
        LONG limited = HasSecondThumb() ? std::min(along, SpanOf(GetThumbRect2()).start) : along;
        SetValue(ValueAtAlong(limited, m_nMin, m_nMax));
        Notify("valuechangebegin", static_cast<WPARAM>(m_nValue));
        Invalidate();
    }
    if (second) {
        LONG limited = std::max(along, SpanOf(GetThumbRect()).end);
        SetValue2(ValueAtAlong(limited, m_nMin2, m_nMax2));
        Notify("valuechangebegin2", static_cast<WPARAM>(m_nValue2));
        Invalidate();
    }
    // Hovering previews the value under the pointer (the window shows it as a time).
    if (!first && !second && IsEnabled())
        Notify("currentmousevaluechanged", static_cast<WPARAM>(ValueAtAlong(along, m_nMin, m_nMax)));
}

void CSliderUIEx::OnRelease(TEventUI& event) {
    // The library slider ends the first thumb's drag ("valuechanged", "valuechangeend").
    CSliderUI::DoEvent(event);
    m_uButtonState2 &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
    Invalidate();
    Notify("valuechangeend2", static_cast<WPARAM>(m_nValue2));
}

void CSliderUIEx::ChangeValueBy(int delta) {
    // Reported as a drag that begins and ends at once: whoever acts at the end of a drag
    // (the position slider seeks, the adjustments keep their value) acts on a step too.
    const int old = m_nValue;
    SetValue(m_nValue + delta);
    if (m_nValue == old) return;
    Notify("valuechangebegin", static_cast<WPARAM>(m_nValue));
    Notify("valuechangeend", static_cast<WPARAM>(m_nValue));
}

void CSliderUIEx::DoEvent(TEventUI& event) {
    const bool mouse = event.Type > uilib::UIEVENT__MOUSEBEGIN && event.Type < uilib::UIEVENT__MOUSEEND;
    if (mouse && !IsMouseEnabled()) {
        if (m_pParent) m_pParent->DoEvent(event);
        else CSliderUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case uilib::UIEVENT_BUTTONDOWN:
    case uilib::UIEVENT_DBLCLICK:
        if (IsEnabled()) OnPress(event.ptMouse);
        return;
    case uilib::UIEVENT_BUTTONUP:
        OnRelease(event);
        return;
    case uilib::UIEVENT_MOUSEMOVE:
        OnMove(event.ptMouse);
        return;
    case uilib::UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case uilib::UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        Notify("mouseleave");
        return;
    case uilib::UIEVENT_SETCURSOR: {
        RECT thumb = GetThumbRect();
        if (IsEnabled() && uilib::PtInRect(&thumb, event.ptMouse)) return;
        break;
    }
    default:
        break;
    }
    CSliderUI::DoEvent(event);
}

void CSliderUIEx::SetAttribute(const char* name, const char* value) {
    if (uilib::attr::IsName(name, "thumbimage2")) SetThumbImage2(value);
    else CSliderUI::SetAttribute(name, value);
}

void CSliderUIEx::PaintStatusImage(cairo_t* cr) {
    CSliderUI::PaintStatusImage(cr);
    if (m_sThumbImage2.empty()) return;
    RECT thumb = GetThumbRect2();
    CStdString dest = CStdString::Printf(
        "dest='%d,%d,%d,%d'", static_cast<int>(thumb.left - m_rcItem.left),
        static_cast<int>(thumb.top - m_rcItem.top), static_cast<int>(thumb.right - m_rcItem.left),
        static_cast<int>(thumb.bottom - m_rcItem.top));
    // A picture that cannot be loaded is not tried again on every paint; a thumb nobody
    // can see is no longer there for the pointer either.
    if (!DrawImage(cr, m_sThumbImage2.c_str(), dest.c_str())) {
        m_sThumbImage2.clear();
        m_uButtonState2 = 0;
    }
}

}  // namespace orvella
