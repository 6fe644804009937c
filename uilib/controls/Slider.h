// A slider: a progress bar with a thumb the user drags. A press on the track jumps
// the value there and captures the mouse; moves while captured follow the pointer;
// the release sends "valuechanged" and "valuechangeend". The wheel and the arrow keys
// change the value by the step and send "valuechanged".
#pragma once

#include "uilib/controls/Progress.h"

namespace uilib {

class CSliderUI : public CProgressUI {
public:
    CSliderUI();

    const char* GetClass() const override;          // "SliderUI"
    void* GetInterface(const char* name) override;  // "Slider"
    UINT GetControlFlags() const override;          // tab stop while enabled

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step) { m_nStep = step > 0 ? step : 1; }
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE size);
    // The thumb for the current value, in window coordinates.
    RECT GetThumbRect() const;
    // The value a pointer at pt stands for (the thumb's centre under the pointer).
    int ValueFromPoint(POINT pt) const;

    const CStdString& GetThumbImage() const { return m_sThumbImage; }
    void SetThumbImage(const char* image);
    const CStdString& GetThumbHotImage() const { return m_sThumbHotImage; }
    void SetThumbHotImage(const char* image);
    const CStdString& GetThumbPushedImage() const { return m_sThumbPushedImage; }
    void SetThumbPushedImage(const char* image);

    // UISTATE_CAPTURED while the thumb is dragged, UISTATE_HOT, UISTATE_PUSHED.
    UINT GetButtonState() const { return m_uButtonState; }
    void SetButtonState(UINT state) { m_uButtonState = state; Invalidate(); }

    void SetEnabled(bool enable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintStatusImage(cairo_t* cr) override;

protected:
    // A step by the wheel or a key (the user's): notifies when it moved.
    virtual void ChangeValueBy(int delta);

    UINT m_uButtonState = 0;
    SIZE m_szThumb{12, 12};
    int m_nStep = 1;
    CStdString m_sThumbImage;
    CStdString m_sThumbHotImage;
    CStdString m_sThumbPushedImage;
    DWORD m_dwTrackColor = 0x50808080;
    DWORD m_dwThumbColor = 0xFFF2F2F2;
    DWORD m_dwThumbBorderColor = 0x80404040;
};

}  // namespace uilib
