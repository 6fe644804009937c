// A single-line text field drawn by the library: caret, selection by mouse and keys,
// clipboard, input-method pre-edit, password bullets, read-only and a character limit.
// The text is valid UTF-8 at all times; the caret and the selection move by characters.
// Notifications: "textchanged" on every change by the user, "return" on Enter,
// "setfocus" and "killfocus".
#pragma once

#include "uilib/controls/Label.h"

namespace uilib {

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    const char* GetClass() const override;          // "EditUI"
    void* GetInterface(const char* name) override;  // "Edit"
    UINT GetControlFlags() const override;          // tab stop and I-beam while enabled

    void SetText(const char* text) override;  // no notification; invalid bytes become U+FFFD
    void SetEnabled(bool enable = true) override;

    bool IsReadOnly() const { return m_bReadOnly; }
    void SetReadOnly(bool readOnly = true);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordMode(bool password = true);
    int GetMaxChar() const { return m_nMaxChar; }  // in characters; 0: no limit
    void SetMaxChar(int max);
    DWORD GetNativeEditBkColor() const { return m_dwEditBkColor; }
    void SetNativeEditBkColor(DWORD color);

    // Byte offsets into GetText(); the selection runs between anchor and caret.
    int GetCaretPos() const { return m_nCaret; }
    void SetSel(int start, int end);  // -1 for end: to the end of the text
    void SetSelAll() { SetSel(0, -1); }
    void GetSel(int* start, int* end) const;
    CStdString GetSelText() const;
    void ReplaceSel(const char* text);  // as typing: limit applies, "textchanged" sent
    const std::string& GetPreedit() const { return m_sPreedit; }
    int GetScrollOffset() const { return m_nScrollX; }
    bool IsCaretShown() const { return m_bCaretOn; }

    bool Copy();
    bool Cut();
    bool Paste();

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintText(cairo_t* cr) override;
    void PaintBorder(cairo_t* cr) override;

    // ---- UTF-8 helpers (public for tests and other text controls) ----
    static std::string Sanitize(const std::string& text);        // invalid bytes → U+FFFD
    static std::string EncodeCodePoint(uint32_t cp);             // empty for invalid points
    static int NextCharOffset(const std::string& s, int offset);
    static int PrevCharOffset(const std::string& s, int offset);
    static int CountChars(const std::string& s);

protected:
    RECT TextRect() const;          // the text area (inside padding)
    std::string DisplayText() const;
    int ToDisplay(int offset) const;  // byte offset of the text → of the display text
    int FromDisplay(int offset) const;
    int HitTest(POINT pt) const;
    void MoveCaret(int offset, bool extend);
    void EnsureCaretVisible();
    void RestartBlink();
    void UpdateInputMethod();
    bool DeleteSelection();
    void TextChanged();
    int WordStart(int offset) const;
    int WordEnd(int offset) const;
    bool HandleKey(const TEventUI& event);
    RECT CaretRect() const;

    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    int m_nMaxChar = 255;
    DWORD m_dwEditBkColor = 0;
    DWORD m_dwSelectionColor = 0x803D8FE0;
    int m_nCaret = 0;
    int m_nAnchor = 0;
    int m_nScrollX = 0;
    bool m_bCaretOn = false;
    bool m_bDragging = false;
    UINT m_uButtonState = 0;
    std::string m_sPreedit;
};

}  // namespace uilib
