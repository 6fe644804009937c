#include "app/NotBuiltYet.h"

#include "app/PlayerView.h"

namespace orvella {

namespace {

const char* const kNotBuiltYet[] = {
    "ID_MAINMENU_HELP_CHECK",     // the update check
};

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

}  // namespace orvella
