#include "ui/FacadeRules.h"

#include <cmath>
#include <iterator>

#include "uilib/Base.h"

namespace orvella {

namespace {

const SchemeButton kSchemeButtons[] = {
    {"river", 0, 0xFFABD632},  {"ocean", 1, 0xFF0370D9},  {"petal", 2, 0xFFFC7E1C},
    {"dragon", 3, 0xFFFFC800}, {"totem", 4, 0xFF424242},  {"petal1", 5, 0xFF8FA415},
    {"petal2", 6, 0xFFFF3865}, {"guitar", 7, 0xFFF49819}, {"gear", 8, 0xFF424242},
};

const ColourButton kColourButtons[] = {
    {"color1", 0xFF0069C2}, {"color2", 0xFF239E4D}, {"color3", 0xFF4D4D4D},
    {"color4", 0xFF7C4A1F}, {"color5", 0xFFC2003F}, {"color6", 0xFFC25900},
    {"color7", 0xFF55B300}, {"color8", 0xFF59B7F9},
};

const SkinButton kSkinButtons[] = {{"classic", 0}, {"default", 1}};

const char* const kTabButtons[] = {"color", "shading", "skin"};

template <typename Row, size_t N>
const Row* FindRow(const Row (&table)[N], const std::string& name) {
    for (const Row& row : table) {
        if (name == row.name) return &row;
    }
    return nullptr;
}

int Rounded(float value) { return static_cast<int>(std::lround(value)); }

}  // namespace

const SchemeButton* FindSchemeButton(const std::string& name) { return FindRow(kSchemeButtons, name); }
const ColourButton* FindColourButton(const std::string& name) { return FindRow(kColourButtons, name); }
const SkinButton* FindSkinButton(const std::string& name) { return FindRow(kSkinButtons, name); }

int FacadePageOf(const std::string& tabButton) {
    for (size_t page = 0; page < std::size(kTabButtons); ++page) {
        if (tabButton == kTabButtons[page]) return static_cast<int>(page);
    }
    return -1;
}

const char* SkinButtonOf(int skinIndex) {
    for (const SkinButton& row : kSkinButtons) {
        if (row.skinIndex == skinIndex) return row.name;
    }
    return nullptr;
}

const char* FacadeTabOf(int page) {
    if (page < 0 || page >= static_cast<int>(std::size(kTabButtons))) return nullptr;
    return kTabButtons[page];
}

const SchemeButton* SchemeButtons(int* count) {
    *count = static_cast<int>(std::size(kSchemeButtons));
    return kSchemeButtons;
}

const ColourButton* ColourButtons(int* count) {
    *count = static_cast<int>(std::size(kColourButtons));
    return kColourButtons;
}

SliderPositions SlidersForColour(uint32_t argb) {
    float hue = 0, saturation = 0, luminance = 0;
    uilib::RGBtoHSL(argb, &hue, &saturation, &luminance);
    SliderPositions sliders;
    sliders.hue = Rounded(hue * 100.0f / 360.0f);
    sliders.saturation = Rounded(saturation);
    sliders.luminance = Rounded(luminance);
    return sliders;
}

uint32_t ColourOfSliders(const SliderPositions& sliders) {
    const float hue = static_cast<float>(sliders.hue) * 360.0f / 100.0f;
    return 0xFF000000u | uilib::HSLtoRGB(hue, static_cast<float>(sliders.saturation),
                                         static_cast<float>(sliders.luminance));
}

}  // namespace orvella
