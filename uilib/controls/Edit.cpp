// The edit control: its properties, text, selection, clipboard and layout attributes.
#include "uilib/controls/Edit.h"

#include <algorithm>

#include "uilib/AttributeValue.h"

namespace uilib {

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
    while (start > 0 && start < n && IsUtf8Continuation(static_cast<unsigned char>(m_sText[start]))) --start;
    while (end > 0 && end < n && IsUtf8Continuation(static_cast<unsigned char>(m_sText[end]))) --end;
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

void CEditUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "readonly")) SetReadOnly(attr::ParseBool(value));
    else if (attr::IsName(name, "password")) SetPasswordMode(attr::ParseBool(value));
    else if (attr::IsName(name, "maxchar")) SetMaxChar(attr::ParseInt(value, m_nMaxChar));
    else if (attr::IsName(name, "nativebkcolor")) SetNativeEditBkColor(attr::ParseColor(value));
    else if (attr::IsName(name, "selectioncolor")) m_dwSelectionColor = attr::ParseColor(value, m_dwSelectionColor);
    else CLabelUI::SetAttribute(name, value);
}

}  // namespace uilib
