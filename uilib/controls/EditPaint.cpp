// The edit control's view: where text and caret stand, horizontal scrolling, painting.
#include "uilib/controls/Edit.h"

#include <cairo.h>

#include <algorithm>

namespace uilib {

namespace {
const char kBullet[] = "\xE2\x80\xA2";  // U+2022, three bytes
constexpr int kBulletBytes = 3;
}  // namespace

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
