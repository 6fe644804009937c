// A control that shows one line (or a wrapped block) of text.
#pragma once

#include "uilib/Control.h"
#include "uilib/RenderEngine.h"

namespace uilib {

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    const char* GetClass() const override;          // "LabelUI"
    void* GetInterface(const char* name) override;  // "Label"

    // Text look. A text colour of 0 means the manager's default; "auto" picks a colour
    // readable on the background actually painted behind the label.
    void SetTextStyle(UINT style);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextColor(DWORD c);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD c);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetAutoTextColor(bool autoColor);
    bool IsAutoTextColor() const { return m_bAutoTextColor; }
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return false; }

    // The colour the text is drawn in now (state, defaults and "auto" resolved).
    virtual DWORD GetEffectiveTextColor() const;
    // The background colour painted under this control: its own, or the nearest
    // ancestor's that paints one; 0 when none paints a colour.
    DWORD GetBackgroundBehind() const;

    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintText(cairo_t* cr) override;

protected:
    // The background colour this control paints in its current state (0: none).
    virtual DWORD GetStateBkColor() const { return GetEffectiveBkColor(); }
    // Draws text in rc (already inset by the text padding) in colour color.
    void DrawLabelText(cairo_t* cr, const CStdString& text, DWORD color);

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    bool m_bAutoTextColor = false;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding{};
};

}  // namespace uilib
