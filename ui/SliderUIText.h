// A slider with a value scale under it (layout tag "SliderText"): the track, its fill
// and the thumb sit in a band at the top, "sliderheight" pixels high; below it
// "textcount" labels, evenly spread, read from "mintext" to "maxtext" ("%.1f").
// With the colour-from-background switch on (textcolor="auto") the labels take the hue
// of the window's background, light and softly saturated.
#pragma once

#include <string>
#include <vector>

#include "uilib/controls/Slider.h"

namespace orvella {

class CSliderUIText : public uilib::CSliderUI {
public:
    const char* GetClass() const override { return "SliderUIText"; }
    void* GetInterface(const char* name) override;  // "SliderText"

    int GetTextCount() const { return m_nTextCount; }
    void SetTextCount(int count);
    float GetMinText() const { return m_fMinText; }
    void SetMinText(float value);
    float GetMaxText() const { return m_fMaxText; }
    void SetMaxText(float value);
    int GetSliderHeight() const { return m_nSliderHeight; }
    void SetSliderHeight(int height);

    // One label of the scale: its left edge from the control's left, and its text.
    struct ScaleLabel {
        int x;
        std::string text;
        bool operator==(const ScaleLabel& other) const { return x == other.x && text == other.text; }
    };
    static constexpr int kLabelWidth = 20;
    // The scale of a control width pixels wide. A count of 1 gives one label, at the
    // left, reading minText (the start of the range is the one value it can name);
    // below 1, none.
    static std::vector<ScaleLabel> ScaleLabels(int count, float minText, float maxText, int width);

    // The thumb for the current value: along the track, centred in the top band.
    RECT GetBandThumbRect() const;

    DWORD GetEffectiveTextColor() const override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintBkImage(cairo_t* cr) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintText(cairo_t* cr) override;

private:
    // The range made safe to divide by (max at least min + 1) and the value inside it.
    struct Range {
        int min;
        int max;
        int value;
    };
    Range NormalRange() const;
    RECT Band() const;
    uilib::CStdString Dest(const RECT& rc) const;  // "dest='l,t,r,b'" relative to the control

    int m_nTextCount = 5;
    float m_fMinText = 0.0f;
    float m_fMaxText = 4.0f;
    int m_nSliderHeight = 10;
};

}  // namespace orvella
