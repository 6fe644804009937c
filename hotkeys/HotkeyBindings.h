// The live hotkey table and the settings window's edit copy of it.
//
//   live: starts as the defaults, is overwritten by the settings read (pass Live() to
//         PlayerSettings::ReadFull / Write), drives dispatch;
//   edit: made from the live table when the settings window opens, changed by the capture
//         controls, reset to the defaults on request, and made live when the window applies.
#pragma once

#include "hotkeys/HotkeyTable.h"

namespace orvella {

class HotkeyBindings {
public:
    HotkeyBindings() : live_(HotkeyTable::Defaults()) {}

    HotkeyTable& Live() { return live_; }
    const HotkeyTable& Live() const { return live_; }
    HotkeyTable& Edit() { return edit_; }
    const HotkeyTable& Edit() const { return edit_; }

    void BeginEdit() { edit_ = live_; }
    void ResetEditToDefaults() { edit_ = HotkeyTable::Defaults(); }
    void ApplyEdit() { live_ = edit_; }

private:
    HotkeyTable live_;
    HotkeyTable edit_;
};

}  // namespace orvella
