#include "ui/DialogBuilderCallbackEx.h"

#include <cstring>

#include "ui/HotKeyUI.h"
#include "ui/ListContainerElementUIEx.h"
#include "ui/MediaUI.h"
#include "ui/MenuUI.h"
#include "ui/SliderUIEx.h"
#include "ui/SliderUIText.h"

namespace orvella {

namespace {
struct FactoryEntry {
    const char* tag;
    uilib::CControlUI* (*create)();
};
template <typename Control>
uilib::CControlUI* Make() {
    return new Control();
}
// The layout tags of the program's own controls; every other tag is the library's.
const FactoryEntry kProgramControls[] = {
    {"Media", &Make<CMediaUI>},
    {"ListContainerElementEx", &Make<CListContainerElementUIEx>},
    {"SliderEx", &Make<CSliderUIEx>},
    {"SliderText", &Make<CSliderUIText>},
    {"Menu", &Make<CMenuUI>},
    {"HotKey", &Make<CHotKeyUI>},
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
