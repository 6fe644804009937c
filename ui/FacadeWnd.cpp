#include "ui/FacadeWnd.h"

#include <algorithm>

#include "uilib/Container.h"
#include "uilib/Control.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Progress.h"

namespace orvella {

using uilib::TNotifyUI;

namespace {
constexpr const char* kHue = "hue";
constexpr const char* kSaturation = "saturation";
constexpr const char* kLuminance = "luminance";
}  // namespace

LRESULT CFacadeWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The focus went elsewhere (another window, or away from the program): the panel
    // gets out of the way until the "facade" button brings it back.
    if (msg == WM_KILLFOCUS && reinterpret_cast<HWND>(wParam) != m_hWnd) ShowWindow(false, false);
    return CSkinWindow::HandleMessage(msg, wParam, lParam);
}

void CFacadeWnd::Notify(TNotifyUI& msg) {
    if (!IsOwnControl(msg.pSender)) return;
    const std::string name = msg.pSender->GetName();
    if (msg.sType == "click") return OnClick(name);
    if (msg.sType == "setfocus" && FacadePageOf(name) >= 0) return SelectPage(FacadePageOf(name));
    if (msg.sType == "valuechangebegin") return OnSliderMoved(name, static_cast<int>(msg.wParam));
}

void CFacadeWnd::OnClick(const std::string& name) {
    if (const SchemeButton* scheme = FindSchemeButton(name)) {
        ShowColour(scheme->colour);
        SendWindowNotify("changeshading", static_cast<WPARAM>(scheme->picture), 0);
        SendWindowNotify("changecolor", scheme->colour);
        return;
    }
    if (const ColourButton* colour = FindColourButton(name)) return ChooseColour(colour->colour);
    if (const SkinButton* skin = FindSkinButton(name)) {
        Select(name);
        // The set in use is not loaded again.
        if (skin->skinIndex == GetSkin()) return;
        SetSkin(skin->skinIndex);
        SendWindowNotify("changeskin", static_cast<WPARAM>(skin->skinIndex));
        return;
    }
    if (FacadePageOf(name) >= 0) SelectPage(FacadePageOf(name));
}

void CFacadeWnd::ChooseColour(uint32_t argb) {
    ShowColour(argb);
    SendWindowNotify("changecolor", argb);
}

void CFacadeWnd::OnSliderMoved(const std::string& name, int value) {
    if (name == "transparence") return SendWindowNotify("transparence", static_cast<WPARAM>(value));
    if (name != kHue && name != kSaturation && name != kLuminance) return;
    SendWindowNotify("changecolor", ColourOfSliders(Sliders()));
}

SliderPositions CFacadeWnd::Sliders() const {
    SliderPositions sliders;
    sliders.hue = SliderValue(kHue);
    sliders.saturation = SliderValue(kSaturation);
    sliders.luminance = SliderValue(kLuminance);
    return sliders;
}

void CFacadeWnd::ShowColour(uint32_t argb) {
    const SliderPositions sliders = SlidersForColour(argb);
    SetSliderValue(kHue, sliders.hue);
    SetSliderValue(kSaturation, sliders.saturation);
    SetSliderValue(kLuminance, sliders.luminance);
}

void CFacadeWnd::ShowCurrent(const std::string& background) {
    if (FindSchemeButton(background)) Select(background);
    if (const char* set = SkinButtonOf(GetSkin())) Select(set);
}

void CFacadeWnd::ShowAt(POINT pt) {
    RECT own{};
    GetWindowRect(m_hWnd, &own);
    const RECT work = platform::GetBackend().GetWorkArea(m_hWnd);
    const int width = own.right - own.left, height = own.bottom - own.top;
    // Kept on the screen: it opens below a button near the window's right edge.
    pt.x = std::max<LONG>(work.left, std::min<LONG>(pt.x, work.right - width));
    pt.y = std::max<LONG>(work.top, std::min<LONG>(pt.y, work.bottom - height));
    SetWindowPos(m_hWnd, nullptr, pt.x, pt.y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(true, true);
    SetFocus(m_hWnd);
}

void CFacadeWnd::SelectPage(int page) {
    uilib::CControlUI* control = FindControl("switch");
    auto* tabs = control ? static_cast<uilib::CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
    if (tabs) tabs->SelectItem(page);
    if (const char* tab = FacadeTabOf(page)) Select(tab);
}

void CFacadeWnd::Select(const std::string& option) {
    uilib::CControlUI* control = FindControl(option.c_str());
    auto* button = control ? static_cast<uilib::COptionUI*>(control->GetInterface("Option")) : nullptr;
    if (button && !button->IsSelected()) button->Selected(true, false);
}

int CFacadeWnd::SliderValue(const char* name) const {
    uilib::CControlUI* control = FindControl(name);
    auto* slider = control ? static_cast<uilib::CProgressUI*>(control->GetInterface("Progress")) : nullptr;
    return slider ? slider->GetValue() : 0;  // a missing slider reads 0
}

void CFacadeWnd::SetSliderValue(const char* name, int value) {
    uilib::CControlUI* control = FindControl(name);
    if (auto* slider = control ? static_cast<uilib::CProgressUI*>(control->GetInterface("Progress")) : nullptr)
        slider->SetValue(value);
}

}  // namespace orvella
