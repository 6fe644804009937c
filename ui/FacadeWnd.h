// The skin window: the skin set, the title bar's picture with its scheme colour, and a
// colour of the user's own (colour buttons, hue, saturation and luminance sliders). It
// tells its notifiers (the main window and every other open window) what was chosen; it
// only hides when it loses the focus, and the main window shows it again.
#pragma once

#include <cstdint>
#include <string>

#include "ui/FacadeRules.h"
#include "ui/SkinWindow.h"

namespace orvella {

class CFacadeWnd : public CSkinWindow {
public:
    // Built with the program's controls: its sliders tell every step of a drag.
    CFacadeWnd() : CSkinWindow("facade.xml", true) {}

    const char* GetWindowClassName() const override { return "UIFacadeWnd"; }
    const char* GetWindowTitle() const override { return "Facade Wnd"; }

    // The hue, saturation and luminance sliders show this colour.
    void ShowColour(uint32_t argb);
    SliderPositions Sliders() const;
    // Marks the scheme button of a background name and the button of the skin set.
    void ShowCurrent(const std::string& background);
    // Shows the window with its top-left corner at pt (screen), kept inside the work
    // area, and gives it the focus.
    void ShowAt(POINT pt);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Notify(uilib::TNotifyUI& msg) override;

protected:
    bool TakesShadingColour() const override { return true; }

private:
    void OnClick(const std::string& name);
    void OnSliderMoved(const std::string& name, int value);
    void ChooseColour(uint32_t argb);
    void SelectPage(int page);
    void Select(const std::string& option);
    int SliderValue(const char* name) const;
    void SetSliderValue(const char* name, int value);
};

}  // namespace orvella
