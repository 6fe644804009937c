// What a key combination is called and which actions it runs: "Space", "Ctrl+Right",
// "Ctrl+Alt+Shift+F5", and for the keys without a name of their own the character they
// type on the keyboard layout in use ("Ctrl+=" on a US layout, "Ctrl++" on a German one).
#pragma once

#include <string>
#include <vector>

#include "hotkeys/HotkeyTable.h"

namespace orvella {

// The key's name: from the table of named keys, else its unshifted character on the
// layout in use (a letter in upper case), else its code ("Key 0xE9"), never empty.
std::string KeyName(int virtualKey);

// The modifiers in the order Ctrl, Alt, Shift, then the key's name; empty for code 0.
std::string HotkeyText(HotkeyCode code);

// The code of a key pressed with these modifiers.
HotkeyCode HotkeyCodeOf(int virtualKey, bool ctrl, bool alt, bool shift);

// The text of the action's code in the table; empty when the action is not in it.
std::string CodeToText(const HotkeyTable& table, const std::string& action);

// Every action bound to the code, in the table's order (a settings file written by hand
// may bind one key to several).
std::vector<std::string> ActionsBoundTo(const HotkeyTable& table, HotkeyCode code);

// What a key pressed in the player runs: the actions the live table binds to it, else,
// for a media key (play/pause, stop, next, previous) that no binding of the live or the
// default table takes, the action it stands for.
std::vector<std::string> ActionsForKey(const HotkeyTable& live, HotkeyCode code);

// A key pressed in the hotkey field that edits `action`, checked against the settings
// window's copy of the table.
struct HotkeyCapture {
    HotkeyCode code = 0;   // 0: a bare modifier key, which captures nothing
    std::string text;
    std::string conflict;  // the other action that already has the code; empty when none
};

// The code and text of the key with the modifiers held. When no other action has that
// code (an action may get the key it already has), the copy's entry for the action takes
// it; otherwise nothing changes and `conflict` names the first such action in table
// order. A field without an action counts every code in use as a conflict.
HotkeyCapture CaptureCode(HotkeyTable& edit, const std::string& action, int virtualKey, bool ctrl, bool alt,
                          bool shift);

}  // namespace orvella
