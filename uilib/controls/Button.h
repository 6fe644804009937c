// A push button: pictures and colours per state, "click" on release inside after a
// press, or on Space/Enter while focused.
#pragma once

#include "uilib/controls/Label.h"

namespace uilib {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    const char* GetClass() const override;          // "ButtonUI"
    void* GetInterface(const char* name) override;  // "Button"
    UINT GetControlFlags() const override;          // tab stop, hand cursor

    bool Activate() override;  // sends "click"
    void SetEnabled(bool enable = true) override;
    void DoEvent(TEventUI& event) override;

    const CStdString& GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(const char* image);
    const CStdString& GetHotImage() const { return m_sHotImage; }
    void SetHotImage(const char* image);
    const CStdString& GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(const char* image);
    const CStdString& GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(const char* image);
    const CStdString& GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(const char* image);
    const CStdString& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const char* image);
    const CStdString& GetHotForeImage() const { return m_sHotForeImage; }
    void SetHotForeImage(const char* image);

    void SetHotBkColor(DWORD c);
    DWORD GetHotBkColor() const { return m_dwHotBkColor; }
    void SetPushedBkColor(DWORD c);
    DWORD GetPushedBkColor() const { return m_dwPushedBkColor; }
    void SetHotTextColor(DWORD c);
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetPushedTextColor(DWORD c);
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetFocusedTextColor(DWORD c);
    DWORD GetFocusedTextColor() const { return m_dwFocusedTextColor; }

    UINT GetButtonState() const { return m_uButtonState; }

    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(const char* name, const char* value) override;
    DWORD GetEffectiveTextColor() const override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintBorder(cairo_t* cr) override;

protected:
    DWORD GetStateBkColor() const override;
    // Picture for the current state (empty when none applies).
    virtual const CStdString& StateImage() const;

    UINT m_uButtonState = 0;
    CStdString m_sNormalImage;
    CStdString m_sHotImage;
    CStdString m_sHotForeImage;
    CStdString m_sPushedImage;
    CStdString m_sPushedForeImage;
    CStdString m_sFocusedImage;
    CStdString m_sDisabledImage;
    CStdString m_sForeImage;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwPushedBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
};

}  // namespace uilib
