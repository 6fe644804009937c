// The skin window's rules as data: what each scheme and colour button sends, which page
// each tab button shows, and how the hue, saturation and luminance sliders (0-100 each)
// map to and from a colour.
#pragma once

#include <cstdint>
#include <string>

namespace orvella {

// A scheme button: the title bar picture ("changeshading" index) and the scheme colour
// that follows it ("changecolor").
struct SchemeButton {
    const char* name;
    int picture;
    uint32_t colour;
};

// A colour button and the colour it sends; the sliders show that same colour.
struct ColourButton {
    const char* name;
    uint32_t colour;
};

// The skin sets of the "skin" page: the button and the skin index it chooses.
struct SkinButton {
    const char* name;
    int skinIndex;
};

const SchemeButton* FindSchemeButton(const std::string& name);  // null for any other name
const ColourButton* FindColourButton(const std::string& name);
const SkinButton* FindSkinButton(const std::string& name);
// The button of a skin set; null for an index that names none.
const char* SkinButtonOf(int skinIndex);
// The page of "switch" a tab button shows; -1 for any other name.
int FacadePageOf(const std::string& tabButton);
// The tab button of a page; null for a page that does not exist.
const char* FacadeTabOf(int page);

// Whole tables, for the layout and for tests.
const SchemeButton* SchemeButtons(int* count);
const ColourButton* ColourButtons(int* count);

struct SliderPositions {
    int hue = 0;  // the hue's 0-360 on 0-100
    int saturation = 0;
    int luminance = 0;
    bool operator==(const SliderPositions& o) const {
        return hue == o.hue && saturation == o.saturation && luminance == o.luminance;
    }
};

// Where the sliders stand for a colour (its alpha is not shown).
SliderPositions SlidersForColour(uint32_t argb);
// The opaque colour the sliders give.
uint32_t ColourOfSliders(const SliderPositions& sliders);

}  // namespace orvella
