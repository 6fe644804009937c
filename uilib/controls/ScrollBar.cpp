#include "uilib/controls/ScrollBar.h"

#include <algorithm>
#include <cstring>

#include <cairo.h>

#include "uilib/AttributeValue.h"
#include "uilib/Container.h"
#include "uilib/RenderEngine.h"

namespace uilib {

namespace {
constexpr UINT kRepeatTimerId = 0x5C01;
constexpr UINT kRepeatIntervalMs = 50;
constexpr int kRepeatDelayTicks = 6;  // hold ~300 ms before repeating
constexpr int kMinThumbLength = 16;
constexpr int kDefaultThickness = 10;

CStdString DestModifier(const RECT& rc, const RECT& item) {
    return CStdString::Printf("dest='%ld,%ld,%ld,%ld'", rc.left - item.left, rc.top - item.top,
                              rc.right - item.left, rc.bottom - item.top);
}
}  // namespace

CScrollBarUI::CScrollBarUI() {
    m_cxyFixed.cx = kDefaultThickness;
    m_cxyFixed.cy = 0;
}

CScrollBarUI::~CScrollBarUI() {
    if (m_pManager) m_pManager->KillTimer(this);
}

const char* CScrollBarUI::GetClass() const { return "ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ScrollBar")) return this;
    return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    // The thickness follows the axis: a vertical bar has a fixed width, a horizontal one
    // a fixed height.
    if (horizontal) {
        if (m_cxyFixed.cy == 0) { m_cxyFixed.cy = m_cxyFixed.cx; m_cxyFixed.cx = 0; }
    } else {
        if (m_cxyFixed.cx == 0) { m_cxyFixed.cx = m_cxyFixed.cy; m_cxyFixed.cy = 0; }
    }
    NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range) {
    range = std::max(range, 0);
    if (m_nRange == range) return;
    m_nRange = range;
    m_nScrollPos = std::clamp(m_nScrollPos, 0, m_nRange);
    UpdateThumb();
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
    pos = std::clamp(pos, 0, m_nRange);
    if (m_nScrollPos == pos) return;
    m_nScrollPos = pos;
    UpdateThumb();
    Invalidate();
}

void CScrollBarUI::SetLineSize(int size) { m_nLineSize = std::max(size, 1); }

int CScrollBarUI::GetPageSize() const {
    if (m_nPageSize > 0) return m_nPageSize;
    int len = m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
    return std::max(len, 1);
}

void CScrollBarUI::SetPageSize(int size) {
    if (m_nPageSize == size) return;
    m_nPageSize = size;
    UpdateThumb();
    Invalidate();
}

void CScrollBarUI::SetShowButton1(bool show) {
    m_bShowButton1 = show;
    UpdateThumb();
    Invalidate();
}

void CScrollBarUI::SetShowButton2(bool show) {
    m_bShowButton2 = show;
    UpdateThumb();
    Invalidate();
}

void CScrollBarUI::ScrollTo(int pos) {
    pos = std::clamp(pos, 0, m_nRange);
    if (m_pOwner) {
        SIZE sz = m_pOwner->GetScrollPos();
        (m_bHorizontal ? sz.cx : sz.cy) = pos;
        m_pOwner->SetScrollPos(sz);
        // An owner that does not echo the position back still gets a consistent bar.
        SetScrollPos(pos);
        return;
    }
    if (pos == m_nScrollPos) return;
    SetScrollPos(pos);
    Notify("scroll", static_cast<WPARAM>(m_nScrollPos));
}

void CScrollBarUI::LineUp() { ScrollTo(m_nScrollPos - m_nLineSize); }
void CScrollBarUI::LineDown() { ScrollTo(m_nScrollPos + m_nLineSize); }
void CScrollBarUI::PageUp() { ScrollTo(m_nScrollPos - std::max(GetPageSize() - m_nLineSize, m_nLineSize)); }
void CScrollBarUI::PageDown() { ScrollTo(m_nScrollPos + std::max(GetPageSize() - m_nLineSize, m_nLineSize)); }

int CScrollBarUI::WheelDirection(const TEventUI& event) {
    int delta = GET_WHEEL_DELTA_WPARAM(event.wParam);
    if (delta != 0) return delta > 0 ? -1 : 1;
    return LOWORD(event.wParam) == 1 ? 1 : -1;
}

int CScrollBarUI::TrackStart() const {
    return m_bHorizontal ? (m_bShowButton1 ? m_rcButton1.right : m_rcItem.left)
                         : (m_bShowButton1 ? m_rcButton1.bottom : m_rcItem.top);
}

int CScrollBarUI::TrackEnd() const {
    return m_bHorizontal ? (m_bShowButton2 ? m_rcButton2.left : m_rcItem.right)
                         : (m_bShowButton2 ? m_rcButton2.top : m_rcItem.bottom);
}

void CScrollBarUI::SetPos(RECT rc, bool needInvalidate) {
    CControlUI::SetPos(rc, needInvalidate);
    UpdateThumb();
}

void CScrollBarUI::UpdateThumb() {
    const RECT& rc = m_rcItem;
    int thickness = m_bHorizontal ? rc.bottom - rc.top : rc.right - rc.left;
    // Arrow buttons are squares at the ends.
    if (m_bHorizontal) {
        m_rcButton1 = RECT{rc.left, rc.top, rc.left + (m_bShowButton1 ? thickness : 0), rc.bottom};
        m_rcButton2 = RECT{rc.right - (m_bShowButton2 ? thickness : 0), rc.top, rc.right, rc.bottom};
    } else {
        m_rcButton1 = RECT{rc.left, rc.top, rc.right, rc.top + (m_bShowButton1 ? thickness : 0)};
        m_rcButton2 = RECT{rc.left, rc.bottom - (m_bShowButton2 ? thickness : 0), rc.right, rc.bottom};
    }
    int start = TrackStart(), end = TrackEnd();
    int track = std::max(end - start, 0);
    int page = GetPageSize();
    int thumb = track;
    if (m_nRange > 0) {
        thumb = static_cast<int>(static_cast<long long>(track) * page / (page + m_nRange));
        thumb = std::min(std::max(thumb, std::min(kMinThumbLength, track)), track);
    }
    int offset = 0;
    if (m_nRange > 0 && track > thumb) {
        offset = static_cast<int>(static_cast<long long>(track - thumb) * m_nScrollPos / m_nRange);
    }
    if (m_bHorizontal) {
        m_rcThumb = RECT{start + offset, rc.top, start + offset + thumb, rc.bottom};
    } else {
        m_rcThumb = RECT{rc.left, start + offset, rc.right, start + offset + thumb};
    }
}

void CScrollBarUI::RunRepeat() {
    switch (m_repeat) {
    case Repeat::LineUp: LineUp(); break;
    case Repeat::LineDown: LineDown(); break;
    case Repeat::PageUp:
        // Stop paging once the thumb has reached the pointer.
        if (Along(m_pManager ? m_pManager->GetMousePos() : m_ptDragStart) <
            (m_bHorizontal ? m_rcThumb.left : m_rcThumb.top))
            PageUp();
        break;
    case Repeat::PageDown:
        if (Along(m_pManager ? m_pManager->GetMousePos() : m_ptDragStart) >=
            (m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom))
            PageDown();
        break;
    case Repeat::None: break;
    }
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pOwner) m_pOwner->DoEvent(event);
        else CControlUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) return;
        m_ptDragStart = event.ptMouse;
        m_nRepeatTicks = 0;
        m_repeat = Repeat::None;
        if (::uilib::PtInRect(&m_rcThumb, event.ptMouse)) {
            m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            m_nDragStartPos = m_nScrollPos;
        } else if (m_bShowButton1 && ::uilib::PtInRect(&m_rcButton1, event.ptMouse)) {
            m_uButton1State |= UISTATE_PUSHED;
            m_repeat = Repeat::LineUp;
        } else if (m_bShowButton2 && ::uilib::PtInRect(&m_rcButton2, event.ptMouse)) {
            m_uButton2State |= UISTATE_PUSHED;
            m_repeat = Repeat::LineDown;
        } else {
            bool before = Along(event.ptMouse) < (m_bHorizontal ? m_rcThumb.left : m_rcThumb.top);
            m_repeat = before ? Repeat::PageUp : Repeat::PageDown;
        }
        if (m_repeat != Repeat::None) {
            RunRepeat();
            if (m_pManager) m_pManager->SetTimer(this, kRepeatTimerId, kRepeatIntervalMs);
        }
        Invalidate();
        return;
    }
    case UIEVENT_BUTTONUP:
        if (m_pManager) m_pManager->KillTimer(this, kRepeatTimerId);
        m_repeat = Repeat::None;
        m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        m_uButton1State &= ~UISTATE_PUSHED;
        m_uButton2State &= ~UISTATE_PUSHED;
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE: {
        if (m_uThumbState & UISTATE_CAPTURED) {
            int start = TrackStart(), end = TrackEnd();
            int thumbLen = m_bHorizontal ? m_rcThumb.right - m_rcThumb.left
                                         : m_rcThumb.bottom - m_rcThumb.top;
            int free = end - start - thumbLen;
            if (free > 0) {
                long long moved = Along(event.ptMouse) - Along(m_ptDragStart);
                ScrollTo(m_nDragStartPos + static_cast<int>(moved * m_nRange / free));
            }
            return;
        }
        UINT hot = ::uilib::PtInRect(&m_rcThumb, event.ptMouse) ? UISTATE_HOT : 0;
        if ((m_uThumbState & UISTATE_HOT) != hot) {
            m_uThumbState = (m_uThumbState & ~UISTATE_HOT) | hot;
            Invalidate();
        }
        return;
    }
    case UIEVENT_MOUSEENTER:
        return;
    case UIEVENT_MOUSELEAVE:
        if (m_uThumbState & UISTATE_HOT) {
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kRepeatTimerId) {
            if (++m_nRepeatTicks > kRepeatDelayTicks) RunRepeat();
            return;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pOwner) {
            m_pOwner->DoEvent(event);
        } else if (WheelDirection(event) < 0) {
            LineUp();
        } else {
            LineDown();
        }
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

void CScrollBarUI::SetAttribute(const char* name, const char* value) {
    struct ImageAttr { const char* name; CStdString CScrollBarUI::*field; };
    static const ImageAttr kImages[] = {
        {"thumbnormalimage", &CScrollBarUI::m_sThumbNormalImage},
        {"thumbhotimage", &CScrollBarUI::m_sThumbHotImage},
        {"thumbpushedimage", &CScrollBarUI::m_sThumbPushedImage},
        {"button1normalimage", &CScrollBarUI::m_sButton1Image},
        {"button2normalimage", &CScrollBarUI::m_sButton2Image},
        {"railimage", &CScrollBarUI::m_sRailImage},
    };
    struct ColorAttr { const char* name; DWORD CScrollBarUI::*field; };
    static const ColorAttr kColors[] = {
        {"trackcolor", &CScrollBarUI::m_dwTrackColor},
        {"thumbcolor", &CScrollBarUI::m_dwThumbColor},
        {"thumbhotcolor", &CScrollBarUI::m_dwThumbHotColor},
        {"thumbpushedcolor", &CScrollBarUI::m_dwThumbPushedColor},
        {"arrowcolor", &CScrollBarUI::m_dwArrowColor},
    };
    for (const auto& a : kImages) {
        if (attr::IsName(name, a.name)) { this->*a.field = value ? value : ""; Invalidate(); return; }
    }
    for (const auto& a : kColors) {
        if (attr::IsName(name, a.name)) { this->*a.field = attr::ParseColor(value); Invalidate(); return; }
    }
    if (attr::IsName(name, "hor")) SetHorizontal(attr::ParseBool(value));
    else if (attr::IsName(name, "linesize")) SetLineSize(attr::ParseInt(value, m_nLineSize));
    else if (attr::IsName(name, "range")) SetScrollRange(attr::ParseInt(value, m_nRange));
    else if (attr::IsName(name, "value")) SetScrollPos(attr::ParseInt(value, m_nScrollPos));
    else if (attr::IsName(name, "showbutton1")) SetShowButton1(attr::ParseBool(value));
    else if (attr::IsName(name, "showbutton2")) SetShowButton2(attr::ParseBool(value));
    else CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::PaintArrow(cairo_t* cr, const RECT& rc, bool towardsStart, UINT state) const {
    double cx = (rc.left + rc.right) / 2.0, cy = (rc.top + rc.bottom) / 2.0;
    double r = std::min(rc.right - rc.left, rc.bottom - rc.top) / 4.0;
    DWORD c = m_dwArrowColor;
    if (state & UISTATE_PUSHED) c = m_dwThumbPushedColor;
    cairo_save(cr);
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
    double s = towardsStart ? -1 : 1;
    if (m_bHorizontal) {
        cairo_move_to(cr, cx + s * r, cy);
        cairo_line_to(cr, cx - s * r, cy - r);
        cairo_line_to(cr, cx - s * r, cy + r);
    } else {
        cairo_move_to(cr, cx, cy + s * r);
        cairo_line_to(cr, cx - r, cy - s * r);
        cairo_line_to(cr, cx + r, cy - s * r);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void CScrollBarUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    if (!::uilib::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBkColor(cr);
    PaintBkImage(cr);
    RECT track = m_rcItem;
    if (m_bHorizontal) { track.left = TrackStart(); track.right = TrackEnd(); }
    else { track.top = TrackStart(); track.bottom = TrackEnd(); }
    int thickness = m_bHorizontal ? m_rcItem.bottom - m_rcItem.top : m_rcItem.right - m_rcItem.left;
    int round = thickness;  // diameters: fully rounded ends
    if (!m_sRailImage.empty()) DrawImage(cr, m_sRailImage.c_str(), DestModifier(track, m_rcItem).c_str());
    else CRenderEngine::FillRoundRect(cr, track, round, round, m_dwTrackColor);

    if (m_bShowButton1 && (m_sButton1Image.empty() ||
                           !DrawImage(cr, m_sButton1Image.c_str(), DestModifier(m_rcButton1, m_rcItem).c_str())))
        PaintArrow(cr, m_rcButton1, true, m_uButton1State);
    if (m_bShowButton2 && (m_sButton2Image.empty() ||
                           !DrawImage(cr, m_sButton2Image.c_str(), DestModifier(m_rcButton2, m_rcItem).c_str())))
        PaintArrow(cr, m_rcButton2, false, m_uButton2State);

    if (m_nRange <= 0 || !IsEnabled()) return;  // nothing to scroll: no thumb
    const CStdString* image = &m_sThumbNormalImage;
    DWORD color = m_dwThumbColor;
    if (m_uThumbState & UISTATE_PUSHED) {
        if (!m_sThumbPushedImage.empty()) image = &m_sThumbPushedImage;
        color = m_dwThumbPushedColor;
    } else if (m_uThumbState & UISTATE_HOT) {
        if (!m_sThumbHotImage.empty()) image = &m_sThumbHotImage;
        color = m_dwThumbHotColor;
    }
    if (!image->empty() && DrawImage(cr, image->c_str(), DestModifier(m_rcThumb, m_rcItem).c_str())) return;
    RECT thumb = m_rcThumb;
    // Inset the drawn thumb a little so it floats on the track.
    if (m_bHorizontal) { thumb.top += 2; thumb.bottom -= 2; }
    else { thumb.left += 2; thumb.right -= 2; }
    int r = std::max(1, thickness - 4);
    CRenderEngine::FillRoundRect(cr, thumb, r, r, color);
}

}  // namespace uilib
