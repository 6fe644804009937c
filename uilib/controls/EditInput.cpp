// The edit control's input: keys, mouse, focus, the caret's blink and the input method.
#include "uilib/controls/Edit.h"

#include <algorithm>
#include <cctype>

namespace uilib {

namespace {
constexpr UINT kCaretTimerId = 0xED17;
constexpr UINT kCaretBlinkMs = 530;

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
    while (at > 0 && IsUtf8Continuation(static_cast<unsigned char>(m_sText[at]))) --at;
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
    case VK_ESCAPE:
        Notify("escape");
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

}  // namespace uilib
