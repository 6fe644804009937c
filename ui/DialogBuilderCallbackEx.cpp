#include "ui/DialogBuilderCallbackEx.h"

#include <cstring>

#include "ui/MediaUI.h"
#include "uilib/Container.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Slider.h"

namespace orvella {

namespace {
// Until the program's own sliders and menu buttons exist, their tags stand as the
// library's plain slider and option button.
struct FactoryEntry {
    const char* tag;
    uilib::CControlUI* (*create)();
};
const FactoryEntry kProgramControls[] = {
    {"Media", [] { return static_cast<uilib::CControlUI*>(new CMediaUI()); }},
    {"SliderEx", [] { return static_cast<uilib::CControlUI*>(new uilib::CSliderUI()); }},
    {"SliderText", [] { return static_cast<uilib::CControlUI*>(new uilib::CSliderUI()); }},
    {"Menu", [] { return static_cast<uilib::CControlUI*>(new uilib::COptionUI()); }},
};
}  // namespace

uilib::CControlUI* CDialogBuilderCallbackEx::CreateControl(const char* className) {
    if (!className) return nullptr;
    for (const FactoryEntry& entry : kProgramControls) {
        if (std::strcmp(entry.tag, className) == 0) return entry.create();
    }
    return nullptr;
}

}  // namespace orvella
