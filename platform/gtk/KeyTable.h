// GDK key values to Windows virtual-key codes. Pure functions: no display needed.
#pragma once

namespace platform {
namespace gtk {

// Virtual-key code for a key value, or 0 when the key has none.
int VirtualKeyFromKeyval(unsigned int keyval);

// Keypad keys carry their meaning in the event's own key value (it follows Num Lock),
// everything else in the unshifted key value of the layout, so that A gives 0x41 with
// or without Shift and a German layout gives its own punctuation codes.
int VirtualKeyForKey(unsigned int eventKeyval, unsigned int unshiftedKeyval);

// Modifier bits as GetKeyState reports them.
enum KeyModifier : unsigned { kModShift = 1, kModControl = 2, kModAlt = 4 };

// An event's modifier state is the state before its key: fold the key itself in.
unsigned ModifiersAfterKey(unsigned modifiersBefore, int virtualKey, bool pressed);

}  // namespace gtk
}  // namespace platform
