#include "uilib/controls/Edit.h"

#include <algorithm>
#include <cctype>

#include <cairo.h>

#include "uilib/AttributeValue.h"

namespace uilib {

namespace {
constexpr UINT kCaretTimerId = 0xED17;
constexpr UINT kCaretBlinkMs = 530;
const char kBullet[] = "\xE2\x80\xA2";  // U+2022, three bytes
constexpr int kBulletBytes = 3;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Characters that keep a word together for double clicks and Ctrl+arrows; every
// non-ASCII character counts as a letter.
int CharClass(const std::string& s, int offset) {
    unsigned char c = static_cast<unsigned char>(s[offset]);
    if (c >= 0x80 || std::isalnum(c) || c == '_') return 2;
    if (std::isspace(c)) return 0;
    return 1;
}

bool KeyDown(const TEventUI& event, WORD flag, int vk) {
    if (event.wKeyState & flag) return true;
    return platform::HasBackend() && (::GetKeyState(vk) & 0x8000) != 0;
}
}  // namespace

// ---- UTF-8 --------------------------------------------------------------------------

std::string CEditUI::EncodeCodePoint(uint32_t cp) { return EncodeUtf8(cp); }

std::string CEditUI::Sanitize(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool ok = len > 0 && i + len <= text.size();
        uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if (!IsContinuation(cc)) ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and points past U+10FFFF are not valid UTF-8.
        static const uint32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMinForLength[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (ok && cp != 0) {
            out.append(text, i, len);
            i += len;
        } else {
            if (cp != 0 || !ok) out += "\xEF\xBF\xBD";
            i += ok ? len : 1;
        }
    }
    return out;
}

int CEditUI::NextCharOffset(const std::string& s, int offset) {
    int n = static_cast<int>(s.size());
    if (offset >= n) return n;
    ++offset;
    while (offset < n && IsContinuation(static_cast<unsigned char>(s[offset]))) ++offset;
    return offset;
}

int CEditUI::PrevCharOffset(const std::string& s, int offset) {
    if (offset <= 0) return 0;
    --offset;
    while (offset > 0 && IsContinuation(static_cast<unsigned char>(s[offset]))) --offset;
    return offset;
}

int CEditUI::CountChars(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) {
        if (!IsContinuation(c)) ++n;
    }
    return n;
}

// ---- control ------------------------------------------------------------------------

CEditUI::CEditUI() {
    m_rcTextPadding = RECT{4, 2, 4, 2};
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
}

CEditUI::~CEditUI() {
    if (m_pManager) m_pManager->KillTimer(this);
}

const char* CEditUI::GetClass() const { return "EditUI"; }

void* CEditUI::GetInterface(const char* name) {
    if (attr::IsName(name, "Edit")) return this;
    return CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const {
    return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

void CEditUI::SetText(const char* text) {
    std::string clean = Sanitize(text ? text : "");
    m_nCaret = m_nAnchor = static_cast<int>(clean.size());
    m_nScrollX = 0;
    CLabelUI::SetText(clean.c_str());
    EnsureCaretVisible();
}

void CEditUI::SetEnabled(bool enable) {
    CLabelUI::SetEnabled(enable);
    if (!enable) m_uButtonState = 0;
}

void CEditUI::SetReadOnly(bool readOnly) {
    m_bReadOnly = readOnly;
    Invalidate();
}

void CEditUI::SetPasswordMode(bool password) {
    m_bPasswordMode = password;
    Invalidate();
}

void CEditUI::SetMaxChar(int max) { m_nMaxChar = std::max(max, 0); }

void CEditUI::SetNativeEditBkColor(DWORD color) {
    m_dwEditBkColor = color;
    Invalidate();
}

void CEditUI::SetSel(int start, int end) {
    int n = static_cast<int>(m_sText.size());
    if (start < 0) start = 0;
    if (end < 0 || end > n) end = n;
    start = std::min(start, n);
    // Snap to character starts so the selection never splits a character.
    while (start > 0 && start < n && IsContinuation(static_cast<unsigned char>(m_sText[start]))) --start;
    while (end > 0 && end < n && IsContinuation(static_cast<unsigned char>(m_sText[end]))) --end;
    m_nAnchor = start;
    m_nCaret = end;
    EnsureCaretVisible();
    Invalidate();
}

void CEditUI::GetSel(int* start, int* end) const {
    if (start) *start = std::min(m_nAnchor, m_nCaret);
    if (end) *end = std::max(m_nAnchor, m_nCaret);
}

CStdString CEditUI::GetSelText() const {
    int s, e;
    GetSel(&s, &e);
    return m_sText.substr(s, e - s);
}

bool CEditUI::DeleteSelection() {
    int s, e;
    GetSel(&s, &e);
    if (s == e) return false;
    m_sText.erase(s, e - s);
    m_nCaret = m_nAnchor = s;
    return true;
}

void CEditUI::TextChanged() {
    EnsureCaretVisible();
    RestartBlink();
    Invalidate();
    Notify("textchanged");
}

void CEditUI::ReplaceSel(const char* text) {
    if (m_bReadOnly) return;
    std::string insert = Sanitize(text ? text : "");
    // One line: line breaks become spaces, other control characters go.
    std::string line;
    for (char c : insert) {
        if (c == '\r' || c == '\n' || c == '\t') line += ' ';
        else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) line += c;
    }
    int s, e;
    GetSel(&s, &e);
    if (m_nMaxChar > 0) {
        int room = m_nMaxChar - (CountChars(m_sText) - CountChars(m_sText.substr(s, e - s)));
        if (room <= 0) {
            line.clear();
        } else if (CountChars(line) > room) {
            int cut = 0;
            for (int k = 0; k < room; ++k) cut = NextCharOffset(line, cut);
            line.resize(cut);
        }
    }
    if (line.empty() && s == e) return;
    m_sText.replace(s, e - s, line);
    m_nCaret = m_nAnchor = s + static_cast<int>(line.size());
    TextChanged();
}

bool CEditUI::Copy() {
    if (m_bPasswordMode || !platform::HasBackend()) return false;
    CStdString sel = GetSelText();
    if (sel.empty()) return false;
    return platform::GetBackend().SetClipboardText(sel);
}

bool CEditUI::Cut() {
    if (m_bReadOnly || !Copy()) return false;
    DeleteSelection();
    TextChanged();
    return true;
}

bool CEditUI::Paste() {
    if (m_bReadOnly || !platform::HasBackend()) return false;
    std::string text = platform::GetBackend().GetClipboardText();
    if (text.empty()) return false;
    ReplaceSel(text.c_str());
    return true;
}

// ---- geometry -----------------------------------------------------------------------

RECT CEditUI::TextRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    if (rc.right < rc.left) rc.right = rc.left;
    return rc;
}

std::string CEditUI::DisplayText() const {
    if (!m_bPasswordMode) return m_sText;
    std::string out;
    int n = CountChars(m_sText);
    out.reserve(n * kBulletBytes);
    for (int i = 0; i < n; ++i) out += kBullet;
    return out;
}

int CEditUI::ToDisplay(int offset) const {
    if (!m_bPasswordMode) return offset;
    return CountChars(m_sText.substr(0, offset)) * kBulletBytes;
}

int CEditUI::FromDisplay(int offset) const {
    if (!m_bPasswordMode) return offset;
    int chars = offset / kBulletBytes, pos = 0;
    for (int i = 0; i < chars; ++i) pos = NextCharOffset(m_sText, pos);
    return pos;
}

int CEditUI::HitTest(POINT pt) const {
    RECT rc = TextRect();
    std::string display = DisplayText();
    int x = pt.x - rc.left + m_nScrollX;
    return FromDisplay(CRenderEngine::HitTestText(m_pManager, display.c_str(), m_iFont, x));
}

RECT CEditUI::CaretRect() const {
    RECT rc = TextRect();
    std::string display = DisplayText();
    int at = ToDisplay(m_nCaret);
    display.insert(at, m_sPreedit);
    int x = CRenderEngine::TextOffsetToX(m_pManager, display.c_str(), m_iFont,
                                         at + static_cast<int>(m_sPreedit.size()));
    int lineH = CRenderEngine::GetTextSize(m_pManager, "Ag", m_iFont, DT_SINGLELINE).cy;
    int top = (rc.top + rc.bottom - lineH) / 2;
    LONG cx = rc.left + x - m_nScrollX;
    return RECT{cx, top, cx + 1, top + lineH};
}

void CEditUI::EnsureCaretVisible() {
    RECT rc = TextRect();
    int width = rc.right - rc.left;
    if (width <= 0) return;
    std::string display = DisplayText();
    int at = ToDisplay(m_nCaret);
    display.insert(at, m_sPreedit);
    int caretX = CRenderEngine::TextOffsetToX(m_pManager, display.c_str(), m_iFont,
                                              at + static_cast<int>(m_sPreedit.size()));
    int textW = CRenderEngine::TextOffsetToX(m_pManager, display.c_str(), m_iFont,
                                             static_cast<int>(display.size()));
    if (caretX - m_nScrollX < 0) m_nScrollX = caretX;
    else if (caretX - m_nScrollX > width - 1) m_nScrollX = caretX - width + 1;
    // Do not leave empty space at the right while text is hidden at the left.
    if (textW - m_nScrollX < width - 1) m_nScrollX = std::max(0, textW - width + 1);
    if (m_nScrollX < 0) m_nScrollX = 0;
}

void CEditUI::MoveCaret(int offset, bool extend) {
    m_nCaret = std::clamp(offset, 0, static_cast<int>(m_sText.size()));
    if (!extend) m_nAnchor = m_nCaret;
    EnsureCaretVisible();
    RestartBlink();
    UpdateInputMethod();
    Invalidate();
}

void CEditUI::RestartBlink() {
    if (!m_bFocused) return;
    m_bCaretOn = true;
    if (m_pManager) m_pManager->SetTimer(this, kCaretTimerId, kCaretBlinkMs);
}

void CEditUI::UpdateInputMethod() {
    if (!m_bFocused || !m_pManager || !m_pManager->GetPaintWindow() || !platform::HasBackend()) return;
    platform::GetBackend().SetInputMethod(m_pManager->GetPaintWindow(), !m_bReadOnly, CaretRect());
}

int CEditUI::WordStart(int offset) const {
    if (m_sText.empty()) return 0;
    int at = std::min(offset, static_cast<int>(m_sText.size()) - 1);
    at = std::max(0, at);
    while (at > 0 && IsContinuation(static_cast<unsigned char>(m_sText[at]))) --at;
    int cls = CharClass(m_sText, at);
    while (at > 0) {
        int prev = PrevCharOffset(m_sText, at);
        if (CharClass(m_sText, prev) != cls) break;
        at = prev;
    }
    return at;
}

int CEditUI::WordEnd(int offset) const {
    int n = static_cast<int>(m_sText.size());
    if (offset >= n) return n;
    int cls = CharClass(m_sText, offset);
    int at = offset;
    while (at < n && CharClass(m_sText, at) == cls) at = NextCharOffset(m_sText, at);
    return at;
}

// ---- events -------------------------------------------------------------------------

bool CEditUI::HandleKey(const TEventUI& event) {
    bool shift = KeyDown(event, MK_SHIFT, VK_SHIFT);
    bool ctrl = KeyDown(event, MK_CONTROL, VK_CONTROL);
    int key = static_cast<int>(event.chKey);
    int n = static_cast<int>(m_sText.size());
    switch (key) {
    case VK_LEFT: {
        int s, e;
        GetSel(&s, &e);
        if (!shift && s != e) { MoveCaret(s, false); return true; }
        int to = PrevCharOffset(m_sText, m_nCaret);
        if (ctrl) {
            while (to > 0 && CharClass(m_sText, to) == 0) to = PrevCharOffset(m_sText, to);
            to = WordStart(to);
        }
        MoveCaret(to, shift);
        return true;
    }
    case VK_RIGHT: {
        int s, e;
        GetSel(&s, &e);
        if (!shift && s != e) { MoveCaret(e, false); return true; }
        int to = NextCharOffset(m_sText, m_nCaret);
        if (ctrl) {
            to = WordEnd(m_nCaret);
            while (to < n && CharClass(m_sText, to) == 0) to = NextCharOffset(m_sText, to);
        }
        MoveCaret(to, shift);
        return true;
    }
    case VK_HOME: MoveCaret(0, shift); return true;
    case VK_END: MoveCaret(n, shift); return true;
    case VK_BACK:
        if (m_bReadOnly) return true;
        if (!DeleteSelection()) {
            if (m_nCaret == 0) return true;
            int from = PrevCharOffset(m_sText, m_nCaret);
            m_sText.erase(from, m_nCaret - from);
            m_nCaret = m_nAnchor = from;
        }
        TextChanged();
        return true;
    case VK_DELETE:
        if (m_bReadOnly) return true;
        if (!DeleteSelection()) {
            if (m_nCaret >= n) return true;
            int to = NextCharOffset(m_sText, m_nCaret);
            m_sText.erase(m_nCaret, to - m_nCaret);
        }
        TextChanged();
        return true;
    case VK_RETURN:
        Notify("return");
        return true;
    default:
        break;
    }
    if (!ctrl) return false;
    switch (key) {
    case 'A': SetSelAll(); return true;
    case 'C': Copy(); return true;
    case 'X': Cut(); return true;
    case 'V': Paste(); return true;
    case VK_INSERT: Copy(); return true;
    default: return false;
    }
}

void CEditUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled() && m_pManager && m_pManager->GetPaintWindow() && platform::HasBackend()) {
            platform::GetBackend().SetCursor(m_pManager->GetPaintWindow(), CursorShape::IBeam);
            return;
        }
        break;
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        RestartBlink();
        UpdateInputMethod();
        Invalidate();
        Notify("setfocus");
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        m_bCaretOn = false;
        m_bDragging = false;
        m_sPreedit.clear();
        if (m_pManager) {
            m_pManager->KillTimer(this, kCaretTimerId);
            if (m_pManager->GetPaintWindow() && platform::HasBackend())
                platform::GetBackend().SetInputMethod(m_pManager->GetPaintWindow(), false, RECT{});
        }
        Invalidate();
        Notify("killfocus");
        return;
    case UIEVENT_TIMER:
        if (event.wParam == kCaretTimerId) {
            m_bCaretOn = !m_bCaretOn;
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
        if (!IsEnabled()) return;
        if (!m_bFocused) SetFocus();
        MoveCaret(HitTest(event.ptMouse), (event.wKeyState & MK_SHIFT) != 0);
        m_bDragging = true;
        if (m_pManager && m_pManager->GetPaintWindow()) m_pManager->SetCapture();
        return;
    case UIEVENT_DBLCLICK: {
        if (!IsEnabled()) return;
        int at = HitTest(event.ptMouse);
        if (m_bPasswordMode) {
            SetSelAll();
        } else {
            int start = WordStart(at);
            SetSel(start, WordEnd(start));
        }
        m_bDragging = false;
        return;
    }
    case UIEVENT_MOUSEMOVE:
        if (m_bDragging) MoveCaret(HitTest(event.ptMouse), true);
        return;
    case UIEVENT_BUTTONUP:
        if (m_bDragging && m_pManager && m_pManager->IsCaptured()) m_pManager->ReleaseCapture();
        m_bDragging = false;
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) { m_uButtonState |= UISTATE_HOT; Invalidate(); }
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_KEYDOWN:
        if (IsEnabled() && HandleKey(event)) return;
        break;
    case UIEVENT_CHAR: {
        if (!IsEnabled() || m_bReadOnly) return;
        uint32_t cp = event.chKey;
        if (cp < 0x20 || cp == 0x7F) return;  // Backspace, Enter, Ctrl+letter come as keys
        bool ctrl = KeyDown(event, MK_CONTROL, VK_CONTROL);
        bool alt = platform::HasBackend() && (::GetKeyState(VK_MENU) & 0x8000) != 0;
        if (ctrl && !alt) return;  // shortcuts are handled as keys
        std::string utf8 = EncodeCodePoint(cp);
        if (!utf8.empty()) ReplaceSel(utf8.c_str());
        m_sPreedit.clear();
        return;
    }
    case UIEVENT_IME: {
        if (!IsEnabled() || m_bReadOnly) return;
        const std::string* text = reinterpret_cast<const std::string*>(event.lParam);
        m_sPreedit = text ? Sanitize(*text) : std::string();
        EnsureCaretVisible();
        UpdateInputMethod();
        Invalidate();
        return;
    }
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "readonly")) SetReadOnly(attr::ParseBool(value));
    else if (attr::IsName(name, "password")) SetPasswordMode(attr::ParseBool(value));
    else if (attr::IsName(name, "maxchar")) SetMaxChar(attr::ParseInt(value, m_nMaxChar));
    else if (attr::IsName(name, "nativebkcolor")) SetNativeEditBkColor(attr::ParseColor(value));
    else if (attr::IsName(name, "selectioncolor")) m_dwSelectionColor = attr::ParseColor(value, m_dwSelectionColor);
    else CLabelUI::SetAttribute(name, value);
}

// ---- painting -----------------------------------------------------------------------

void CEditUI::PaintBkColor(cairo_t* cr) {
    CLabelUI::PaintBkColor(cr);
    if (m_dwEditBkColor != 0) {
        RECT rc = m_rcItem;
        rc.left += m_nBorderSize; rc.top += m_nBorderSize;
        rc.right -= m_nBorderSize; rc.bottom -= m_nBorderSize;
        CRenderEngine::DrawColor(cr, rc, m_dwEditBkColor);
    }
}

void CEditUI::PaintBorder(cairo_t* cr) {
    if (m_nBorderSize > 0 && (m_dwBorderColor != 0 || m_dwFocusBorderColor != 0)) {
        CLabelUI::PaintBorder(cr);
        return;
    }
    // No border given: a thin frame, in the accent colour while focused, so the field
    // is visible on any background.
    DWORD color = m_bFocused ? 0xFF3D8FE0 : ((m_uButtonState & UISTATE_HOT) ? 0x90808080 : 0x60808080);
    CRenderEngine::DrawRect(cr, m_rcItem, 1, color);
}

void CEditUI::PaintText(cairo_t* cr) {
    RECT rc = TextRect();
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    std::string display = DisplayText();
    int at = ToDisplay(m_nCaret);
    bool preedit = !m_sPreedit.empty() && m_bFocused;
    if (preedit) display.insert(at, m_sPreedit);
    DWORD color = IsEnabled() ? GetEffectiveTextColor()
                              : (m_dwDisabledTextColor ? m_dwDisabledTextColor
                                                       : (m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA0A0A0));

    cairo_save(cr);
    cairo_rectangle(cr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    cairo_clip(cr);
    int lineH = CRenderEngine::GetTextSize(m_pManager, "Ag", m_iFont, DT_SINGLELINE).cy;
    int lineTop = (rc.top + rc.bottom - lineH) / 2;
    auto xOf = [&](int offset) {
        return rc.left - m_nScrollX +
               CRenderEngine::TextOffsetToX(m_pManager, display.c_str(), m_iFont, offset);
    };

    int s, e;
    GetSel(&s, &e);
    if (s != e && m_bFocused) {
        int ds = ToDisplay(s), de = ToDisplay(e);
        if (preedit) {  // the pre-edit sits at the caret, which is one end of the selection
            if (ds >= at) ds += static_cast<int>(m_sPreedit.size());
            if (de > at || (de == at && m_nCaret != e)) de += static_cast<int>(m_sPreedit.size());
        }
        RECT sel{xOf(ds), lineTop, xOf(de), lineTop + lineH};
        CRenderEngine::DrawColor(cr, sel, m_dwSelectionColor);
    }

    if (!display.empty()) {
        RECT textRc{rc.left - m_nScrollX, rc.top, rc.left - m_nScrollX + 100000, rc.bottom};
        CRenderEngine::DrawText(cr, m_pManager, textRc, display.c_str(), color, m_iFont,
                                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (preedit) {
        RECT line{xOf(at), lineTop + lineH - 1,
                  xOf(at + static_cast<int>(m_sPreedit.size())), lineTop + lineH};
        CRenderEngine::DrawColor(cr, line, color);
    }
    if (m_bFocused && m_bCaretOn && !m_bReadOnly) {
        int caret = at + (preedit ? static_cast<int>(m_sPreedit.size()) : 0);
        RECT c{xOf(caret), lineTop, xOf(caret) + 1, lineTop + lineH};
        CRenderEngine::DrawColor(cr, c, color);
    }
    cairo_restore(cr);
}

}  // namespace uilib
