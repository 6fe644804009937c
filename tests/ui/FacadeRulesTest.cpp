// Text stays readable on every scheme colour the skin window can give: on the darkest and
// the lightest shade of it that any layout of either skin paints.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ui/FacadeRules.h"
#include "uilib/Control.h"
#include "uilib/RenderEngine.h"
#include "uilib/controls/ListElement.h"
#include "uilib/controls/ListInfo.h"

namespace orvella {
namespace {

// Every "schemeshade" of the English layouts of both skins (0 for plain "scheme" areas).
std::set<int> LayoutShades() {
    std::set<int> shades{0};
    const std::regex shade("schemeshade=\"(-?[0-9]+)\"");
    for (const char* skin : {"skin", "skin_classic"}) {
        for (const char* file : {"main.xml", "about.xml", "question.xml", "update.xml", "settings.xml", "topbar.xml",
                                 "facade.xml"}) {
            std::ifstream in(std::string(ORVELLA_SOURCE_DIR) + "/data/" + skin + "/language/eng/" + file);
            std::stringstream text;
            text << in.rdbuf();
            const std::string s = text.str();
            for (std::sregex_iterator it(s.begin(), s.end(), shade), end; it != end; ++it)
                shades.insert(std::stoi((*it)[1]));
        }
    }
    return shades;
}

TEST(FacadeRules, AutomaticTextReadsOnEveryShadeOfEverySchemeColour) {
    std::vector<uint32_t> colours;
    int count = 0;
    const SchemeButton* schemes = SchemeButtons(&count);
    for (int i = 0; i < count; ++i) colours.push_back(schemes[i].colour);
    const ColourButton* buttons = ColourButtons(&count);
    for (int i = 0; i < count; ++i) colours.push_back(buttons[i].colour);
    // The sliders' ends: black and white, grey, and every hue at full saturation.
    for (int hue = 0; hue <= 100; hue += 5) {
        for (SliderPositions s : {SliderPositions{hue, 100, 50}, SliderPositions{hue, 0, 50},
                                  SliderPositions{hue, 100, 0}, SliderPositions{hue, 100, 100},
                                  SliderPositions{hue, 100, 30}, SliderPositions{hue, 100, 70}})
            colours.push_back(ColourOfSliders(s));
    }
    const std::set<int> shades = LayoutShades();
    ASSERT_GE(shades.size(), 3u) << "no shades read from the layouts";
    // The play list's rows on a scheme panel: plain, hot and selected.
    uilib::TListInfoUI rows;
    ASSERT_TRUE(rows.SetAttribute("itemtextcolor", "auto"));
    rows.dwHotBkColor = 0x18FFFFFF;
    rows.dwSelectedBkColor = 0x33FFFFFF;
    for (uint32_t colour : colours) {
        for (int shade : shades) {
            const DWORD background = uilib::CRenderEngine::AdjustColor(colour, 0, 0, static_cast<short>(shade));
            const DWORD text = uilib::CRenderEngine::ReadableTextColor(background);
            EXPECT_GE(uilib::CRenderEngine::ContrastRatio(text, background), 4.5)
                << std::hex << colour << " shaded " << std::dec << shade;
            for (int state = 0; state < 3; ++state) {
                uilib::TListRowLook look;
                look.hot = state == 1;
                look.selected = state == 2;
                const DWORD row = uilib::Over(state == 0 ? 0 : state == 1 ? rows.dwHotBkColor : rows.dwSelectedBkColor,
                                              background);
                const DWORD rowText = uilib::CListElementUI::RowTextColor(nullptr, &rows, look, background);
                EXPECT_GE(uilib::CRenderEngine::ContrastRatio(rowText, row), 4.5)
                    << std::hex << colour << " row state " << state << " shaded " << std::dec << shade;
            }
        }
    }
}

}  // namespace
}  // namespace orvella
