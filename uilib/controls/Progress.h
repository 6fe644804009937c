// A progress bar: a value between a minimum and a maximum shown as the filled part
// of the control, by a fore picture (cropped, not stretched) or a fore colour.
#pragma once

#include "uilib/controls/Label.h"

namespace uilib {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    const char* GetClass() const override;          // "ProgressUI"
    void* GetInterface(const char* name) override;  // "Progress"

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int min);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int max);
    int GetValue() const { return m_nValue; }
    void SetValue(int value);  // clamped into [min, max]
    const CStdString& GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const char* image);
    DWORD GetForeColor() const { return m_dwForeColor; }
    void SetForeColor(DWORD color);

    // The filled part for the current value (window coordinates) inside rc.
    RECT GetForeRect(const RECT& rc) const;

    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(cairo_t* cr) override;

protected:
    // The range with max > min, for arithmetic that divides by it.
    int SafeMax() const { return m_nMax > m_nMin ? m_nMax : m_nMin + 1; }

    bool m_bHorizontal = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    CStdString m_sForeImage;
    DWORD m_dwForeColor = 0;
};

}  // namespace uilib
