#include "uilib/Control.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "uilib/AttributeValue.h"
#include "uilib/LayoutContext.h"
#include "uilib/RenderEngine.h"

namespace uilib {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager) m_pManager->ReapObjects(this);
}

void CControlUI::SetName(const char* name) {
    CStdString n(name);
    if (n == m_sName) return;
    if (m_pManager) m_pManager->RemoveName(this);
    m_sName = n;
    if (m_pManager) m_pManager->AddName(this);
}

const char* CControlUI::GetClass() const { return "ControlUI"; }

void* CControlUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Control") == 0) return this;
    return nullptr;
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    m_pManager = manager;
    m_pParent = parent;
    if (init) Init();
}

void CControlUI::SetText(const char* text) {
    CStdString t(text);
    if (t == m_sText) return;
    m_sText = std::move(t);
    Invalidate();
}

void CControlUI::SetBkColor(DWORD c) {
    if (c == m_dwBackColor) return;
    m_dwBackColor = c;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD c) {
    if (c == m_dwBackColor2) return;
    m_dwBackColor2 = c;
    Invalidate();
}

void CControlUI::SetBkImage(const char* image) {
    CStdString s(image);
    if (s == m_sBkImage) return;
    m_sBkImage = s;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD c) {
    if (c == m_dwBorderColor) return;
    m_dwBorderColor = c;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD c) {
    if (c == m_dwFocusBorderColor) return;
    m_dwFocusBorderColor = c;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    if (size < 0) size = 0;
    if (size == m_nBorderSize) return;
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round) {
    m_cxyBorderRound = round;
    Invalidate();
}

void CControlUI::SetSchemeMode(int mode) {
    m_nSchemeMode = mode;
    Invalidate();
}

void CControlUI::SetSchemeShade(int shade) {
    if (shade < -100) shade = -100;
    if (shade > 100) shade = 100;
    m_nSchemeShade = shade;
    Invalidate();
}

DWORD CControlUI::GetEffectiveBkColor() const {
    if (m_nSchemeMode == 1 && m_pManager) {
        DWORD scheme = m_pManager->GetMainBKColor();
        if (scheme != 0) {
            DWORD c = m_nSchemeShade != 0
                          ? CRenderEngine::AdjustColor(scheme, 0, 0,
                                                       static_cast<short>(m_nSchemeShade))
                          : scheme;
            // The scheme colour tints opaque areas; keep the layout's own alpha if any.
            DWORD alpha = (m_dwBackColor >> 24) ? (m_dwBackColor & 0xFF000000) : 0xFF000000;
            return (c & 0x00FFFFFF) | alpha;
        }
    }
    return m_dwBackColor;
}

DWORD Over(DWORD a, DWORD b) {
    unsigned alpha = a >> 24;
    auto ch = [&](int shift) {
        unsigned ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        return ((ca * alpha + cb * (255 - alpha)) / 255) << shift;
    };
    return 0xFF000000 | ch(16) | ch(8) | ch(0);
}

DWORD BackgroundBehind(const CControlUI* control, DWORD ownColour) {
    // Colours with alpha are blended over what lies behind them.
    std::vector<DWORD> layers;
    for (const CControlUI* c = control; c; c = c->GetParent()) {
        DWORD col = c == control ? ownColour : c->GetEffectiveBkColor();
        if ((col >> 24) == 0) continue;
        layers.push_back(col);
        if ((col >> 24) == 0xFF) break;
    }
    if (layers.empty()) return 0;
    DWORD result = layers.back();
    if ((result >> 24) != 0xFF) result = Over(result, 0xFFFFFFFF);
    for (auto it = layers.rbegin() + 1; it != layers.rend(); ++it) result = Over(*it, result);
    return result;
}

bool CControlUI::DrawImage(cairo_t* cr, const char* image, const char* modify) {
    if (!image || !*image) return false;
    return CRenderEngine::DrawImageString(cr, m_pManager, m_rcItem, m_rcPaint, image, modify);
}

void CControlUI::SetPos(RECT rc, bool needInvalidate) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    CRect old(m_rcItem);
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (!needInvalidate || !m_pManager) return;
    if (old != rc) {
        if (!old.IsEmpty()) m_pManager->Invalidate(old);
        Invalidate();
    }
}

void CControlUI::SetPadding(RECT rc) {
    m_rcPadding = rc;
    NeedParentUpdate();
}

void CControlUI::SetFixedXY(SIZE xy) {
    m_cXY = xy;
    if (!m_bFloat) return;
    NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
    if (cx < 0 || m_cxyMin.cx == cx) return;
    m_cxyMin.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx) {
    if (cx < 0 || m_cxyMax.cx == cx) return;
    m_cxyMax.cx = cx;
    NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy) {
    if (cy < 0 || m_cxyMin.cy == cy) return;
    m_cxyMin.cy = cy;
    NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy) {
    if (cy < 0 || m_cxyMax.cy == cy) return;
    m_cxyMax.cy = cy;
    NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE /*available*/) { return m_cxyFixed; }

void CControlUI::SetFloat(bool f) {
    if (m_bFloat == f) return;
    m_bFloat = f;
    NeedParentUpdate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_bVisible == visible) return;
    bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (m_bFocused && !visible && m_pManager) m_pManager->SetFocus(nullptr);
    if (wasVisible != IsVisible()) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible) {
    m_bInternVisible = visible;
    if (!visible && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
}

void CControlUI::SetEnabled(bool enable) {
    if (m_bEnabled == enable) return;
    m_bEnabled = enable;
    if (!enable && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
    Invalidate();
}

void CControlUI::SetMouseEnabled(bool enable) { m_bMouseEnabled = enable; }

void CControlUI::SetKeyboardEnabled(bool enable) { m_bKeyboardEnabled = enable; }

void CControlUI::SetFocus() {
    if (m_pManager) m_pManager->SetFocus(this);
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    if ((flags & UIFIND_HITTEST) &&
        (!m_bMouseEnabled || !PtInRect(&m_rcItem, *static_cast<POINT*>(data))))
        return nullptr;
    return proc(this, data);
}

void CControlUI::Invalidate() {
    if (!IsVisible() || !m_pManager) return;
    CRect rc(m_rcItem);
    // Only what the ancestors let through is visible.
    for (CControlUI* p = m_pParent; p; p = p->GetParent()) {
        CRect clipped;
        if (!clipped.Intersect(rc, p->GetPos())) return;
        rc = clipped;
    }
    if (!rc.IsEmpty()) m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate() {
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Init() { DoInit(); }

void CControlUI::Event(TEventUI& event) { DoEvent(event); }

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (m_pManager && m_pManager->GetPaintWindow() && platform::HasBackend())
            platform::GetBackend().SetCursor(m_pManager->GetPaintWindow(), CursorShape::Arrow);
        return;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        Notify("setfocus");
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        Invalidate();
        Notify("killfocus");
        return;
    case UIEVENT_TIMER:
        Notify("timer", event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (m_pManager) {
            Notify("menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    // Unhandled events go up the tree (a wheel over a label scrolls its list).
    if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(CControlUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"name", [](CControlUI* c, const char* v) { c->SetName(v); }},
        {"pos",
         [](CControlUI* c, const char* v) {
             RECT rc = attr::ParseRect(v);
             c->SetFixedXY(SIZE{rc.left, rc.top});
             c->SetFixedWidth(rc.right - rc.left);
             c->SetFixedHeight(rc.bottom - rc.top);
         }},
        {"float", [](CControlUI* c, const char* v) { c->SetFloat(attr::ParseBool(v)); }},
        {"padding", [](CControlUI* c, const char* v) { c->SetPadding(attr::ParseRect(v)); }},
        {"width", [](CControlUI* c, const char* v) { c->SetFixedWidth(attr::ParseInt(v)); }},
        {"height", [](CControlUI* c, const char* v) { c->SetFixedHeight(attr::ParseInt(v)); }},
        {"minwidth", [](CControlUI* c, const char* v) { c->SetMinWidth(attr::ParseInt(v)); }},
        {"maxwidth", [](CControlUI* c, const char* v) { c->SetMaxWidth(attr::ParseInt(v)); }},
        {"minheight", [](CControlUI* c, const char* v) { c->SetMinHeight(attr::ParseInt(v)); }},
        {"maxheight", [](CControlUI* c, const char* v) { c->SetMaxHeight(attr::ParseInt(v)); }},
        {"bkcolor", [](CControlUI* c, const char* v) { c->SetBkColor(attr::ParseColor(v)); }},
        {"bkcolor1", [](CControlUI* c, const char* v) { c->SetBkColor(attr::ParseColor(v)); }},
        {"bkcolor2", [](CControlUI* c, const char* v) { c->SetBkColor2(attr::ParseColor(v)); }},
        {"bordercolor",
         [](CControlUI* c, const char* v) { c->SetBorderColor(attr::ParseColor(v)); }},
        {"focusbordercolor",
         [](CControlUI* c, const char* v) { c->SetFocusBorderColor(attr::ParseColor(v)); }},
        {"bordersize", [](CControlUI* c, const char* v) { c->SetBorderSize(attr::ParseInt(v)); }},
        {"borderround",
         [](CControlUI* c, const char* v) { c->SetBorderRound(attr::ParseSize(v)); }},
        {"bkimage", [](CControlUI* c, const char* v) { c->SetBkImage(v); }},
        {"scheme",
         [](CControlUI* c, const char* v) {
             c->SetSchemeMode(attr::IsName(v, "bk") || attr::ParseBool(v) ? 1 : 0);
         }},
        {"schemeshade",
         [](CControlUI* c, const char* v) { c->SetSchemeShade(attr::ParseInt(v)); }},
        {"text", [](CControlUI* c, const char* v) { c->SetText(v); }},
        {"tooltip", [](CControlUI* c, const char* v) { c->SetToolTip(v); }},
        {"userdata", [](CControlUI* c, const char* v) { c->SetUserData(v); }},
        {"visible", [](CControlUI* c, const char* v) { c->SetVisible(attr::ParseBool(v)); }},
        {"enabled", [](CControlUI* c, const char* v) { c->SetEnabled(attr::ParseBool(v)); }},
        {"mouse", [](CControlUI* c, const char* v) { c->SetMouseEnabled(attr::ParseBool(v)); }},
        {"keyboard",
         [](CControlUI* c, const char* v) { c->SetKeyboardEnabled(attr::ParseBool(v)); }},
    };
    if (!name) return;
    if (!value) value = "";
    auto it = table.find(name);
    if (it != table.end()) {
        it->second(this, value);
        return;
    }
    CLayoutContext::ReportUnknownAttribute(this, name, value);
}

CControlUI* CControlUI::ApplyAttributeList(const char* list) {
    // name="value" pairs; either quote character, the value ends at the same quote.
    const char* p = list ? list : "";
    while (*p) {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (!*p) break;
        const char* nameStart = p;
        while (*p && *p != '=' && *p != ' ') ++p;
        std::string name(nameStart, p);
        while (*p == ' ') ++p;
        if (*p != '=') break;
        ++p;
        while (*p == ' ') ++p;
        char quote = *p;
        if (quote != '"' && quote != '\'') break;
        ++p;
        const char* valueStart = p;
        while (*p && *p != quote) ++p;
        std::string value(valueStart, p);
        if (*p) ++p;
        if (!name.empty()) SetAttribute(name.c_str(), value.c_str());
    }
    return this;
}

namespace {
void RoundedRectPath(cairo_t* cr, const RECT& rc, int cx, int cy) {
    double x = rc.left, y = rc.top, w = rc.right - rc.left, h = rc.bottom - rc.top;
    double rx = std::min<double>(cx / 2.0, w / 2.0), ry = std::min<double>(cy / 2.0, h / 2.0);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    cairo_new_sub_path(cr);
    cairo_save(cr);
    // Elliptic corners: scale a unit arc.
    auto corner = [&](double cxp, double cyp, double a1, double a2) {
        cairo_save(cr);
        cairo_translate(cr, cxp, cyp);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, a1, a2);
        cairo_restore(cr);
    };
    const double pi = 3.14159265358979323846;
    corner(x + w - rx, y + ry, -pi / 2, 0);
    corner(x + w - rx, y + h - ry, 0, pi / 2);
    corner(x + rx, y + h - ry, pi / 2, pi);
    corner(x + rx, y + ry, pi, 3 * pi / 2);
    cairo_restore(cr);
    cairo_close_path(cr);
}
}  // namespace

void CControlUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    CRect paint;
    if (!paint.Intersect(rcPaint, m_rcItem)) return;
    m_rcPaint = paint;
    cairo_save(cr);
    cairo_rectangle(cr, paint.left, paint.top, paint.GetWidth(), paint.GetHeight());
    cairo_clip(cr);
    if (m_cxyBorderRound.cx > 0 && m_cxyBorderRound.cy > 0) {
        RoundedRectPath(cr, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy);
        cairo_clip(cr);
    }
    PaintBkColor(cr);
    PaintBkImage(cr);
    PaintStatusImage(cr);
    PaintText(cr);
    PaintBorder(cr);
    cairo_restore(cr);
}

void CControlUI::PaintBkColor(cairo_t* cr) {
    DWORD c = GetEffectiveBkColor();
    if (c == 0) return;
    if (m_dwBackColor2 != 0 && m_nSchemeMode == 0) {
        CRenderEngine::DrawGradient(cr, m_rcItem, c, m_dwBackColor2);
    } else if (m_dwBackColor2 != 0) {
        // A scheme gradient runs from the scheme colour to a darker shade of it.
        CRenderEngine::DrawGradient(cr, m_rcItem, c, CRenderEngine::AdjustColor(c, 0, 0, -10));
    } else {
        CRenderEngine::DrawColor(cr, m_rcItem, c);
    }
}

void CControlUI::PaintBkImage(cairo_t* cr) {
    if (!m_sBkImage.empty()) DrawImage(cr, m_sBkImage.c_str());
}

void CControlUI::PaintStatusImage(cairo_t* /*cr*/) {}

void CControlUI::PaintText(cairo_t* /*cr*/) {}

void CControlUI::PaintBorder(cairo_t* cr) {
    DWORD c = (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    int size = m_nBorderSize;
    if (m_bFocused && m_dwFocusBorderColor != 0 && size == 0) size = 1;
    if (c == 0 || size <= 0) return;
    if (m_cxyBorderRound.cx > 0 && m_cxyBorderRound.cy > 0)
        CRenderEngine::DrawRoundRect(cr, m_rcItem, size, m_cxyBorderRound.cx,
                                     m_cxyBorderRound.cy, c);
    else
        CRenderEngine::DrawRect(cr, m_rcItem, size, c);
}

void CControlUI::Notify(const char* type, WPARAM wParam, LPARAM lParam, bool async) {
    if (m_pManager) m_pManager->SendNotify(this, type, wParam, lParam, async);
}

}  // namespace uilib
