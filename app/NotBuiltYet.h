// The commands and buttons whose windows the program does not have yet. They are shown
// disabled, so nothing the user sees does nothing; each leaves this table when its window
// is built.
#pragma once

#include <string>

namespace uilib {
class CPaintManagerUI;
}

namespace orvella {

class PlayerView;

// A menu item or button name of a window not built yet.
bool IsNotBuiltYet(const std::string& name);

// Disables every such button the main layout has.
void DisableNotBuiltButtons(PlayerView& view);
// The same for the controls of another window (the settings window's check boxes).
void DisableNotBuiltControls(uilib::CPaintManagerUI& pm);

}  // namespace orvella
