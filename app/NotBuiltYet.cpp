#include "app/NotBuiltYet.h"

#include <vector>

#include "app/PlayerView.h"
#include "uilib/Control.h"
#include "uilib/PaintManager.h"

namespace orvella {

namespace {

// Every window is built today; a new one waits here until it is.
const std::vector<const char*> kNotBuiltYet;

}  // namespace

bool IsNotBuiltYet(const std::string& name) {
    for (const char* item : kNotBuiltYet)
        if (name == item) return true;
    return false;
}

void DisableNotBuiltButtons(PlayerView& view) {
    for (const char* item : kNotBuiltYet)
        if (view.HasControl(item)) view.EnableControl(item, false);
}

void DisableNotBuiltControls(uilib::CPaintManagerUI& pm) {
    for (const char* item : kNotBuiltYet)
        if (uilib::CControlUI* control = pm.FindControl(item)) control->SetEnabled(false);
}

}  // namespace orvella
