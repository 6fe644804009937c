// A slider with an optional second thumb (layout tag "SliderEx"): the library slider's
// thumb, value and range are the first thumb; "thumbimage2" adds a second thumb with a
// range and value of its own, to the right of the first (above it when vertical). The
// thumbs never pass each other. Besides the library slider's notifications it sends
//   "valuechangebegin"  / "valuechangebegin2"  on every move of a dragged thumb and on a jump,
//   "valuechangeend2"   on every button up (after the library's "valuechangeend"),
//   "valuechangebegin" and "valuechangeend" for a step by the wheel or a key, which is a
//                       whole change as a drag is (in place of the library's "valuechanged"),
//   "currentmousevaluechanged" with the first-range value under a hovering pointer,
//   "mouseleave"        when the pointer leaves.
// Takes the tab stop only while enabled (as the library slider does).
#pragma once

#include "uilib/controls/Slider.h"

namespace orvella {

class CSliderUIEx : public uilib::CSliderUI {
public:
    const char* GetClass() const override { return "SliderUIEx"; }
    void* GetInterface(const char* name) override;  // "SliderEx"

    const uilib::CStdString& GetThumbImage2() const { return m_sThumbImage2; }
    void SetThumbImage2(const char* image);
    // The second thumb exists only while it has a picture (see HasSecondThumb).
    bool HasSecondThumb() const { return !m_sThumbImage2.empty(); }

    int GetMinValue2() const { return m_nMin2; }
    void SetMinValue2(int min);
    int GetMaxValue2() const { return m_nMax2; }
    void SetMaxValue2(int max);
    int GetValue2() const { return m_nValue2; }
    void SetValue2(int value);  // clamped into [min2, max2]
    UINT GetButtonState2() const { return m_uButtonState2; }  // UISTATE_CAPTURED while dragged

    // The second thumb, in window coordinates (same size as the first).
    RECT GetThumbRect2() const;
    // The value of the range [min, max] that a thumb centred under pt stands for.
    int ValueAt(POINT pt, int min, int max) const;

    void SetEnabled(bool enable = true) override;
    void DoEvent(uilib::TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(cairo_t* cr) override;

private:
    // A stretch along the slider's axis, in coordinates that grow with the value: x for a
    // horizontal slider, y mirrored inside the control for a vertical one. Both thumbs
    // share one arithmetic this way.
    struct Span {
        LONG start;
        LONG end;
    };
    LONG Along(POINT pt) const;
    Span SpanOf(const RECT& thumb) const;
    int ValueAtAlong(LONG along, int min, int max) const;

    void OnPress(POINT pt);
    void OnMove(POINT pt);
    void OnRelease(uilib::TEventUI& event);
    void ChangeValueBy(int delta) override;

    uilib::CStdString m_sThumbImage2;
    UINT m_uButtonState2 = 0;
    int m_nMin2 = 0;
    int m_nMax2 = 100;
    int m_nValue2 = 100;
};

}  // namespace orvella
