#include "platform/gtk/KeyTable.h"

#include <gdk/gdkkeysyms.h>

#include "platform/Platform.h"

namespace platform {
namespace gtk {
namespace {

struct KeyMapping {
    unsigned int keyval;
    int virtualKey;
};

// Keys whose code does not follow from a range (letters, digits and F-keys do).
constexpr KeyMapping kKeyTable[] = {
    {GDK_KEY_space, VK_SPACE},
    {GDK_KEY_Return, VK_RETURN},
    {GDK_KEY_ISO_Enter, VK_RETURN},
    {GDK_KEY_Escape, VK_ESCAPE},
    {GDK_KEY_BackSpace, VK_BACK},
    {GDK_KEY_Tab, VK_TAB},
    {GDK_KEY_ISO_Left_Tab, VK_TAB},
    {GDK_KEY_Left, VK_LEFT},
    {GDK_KEY_Up, VK_UP},
    {GDK_KEY_Right, VK_RIGHT},
    {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_Home, VK_HOME},
    {GDK_KEY_End, VK_END},
    {GDK_KEY_Page_Up, VK_PRIOR},
    {GDK_KEY_Page_Down, VK_NEXT},
    {GDK_KEY_Insert, VK_INSERT},
    {GDK_KEY_Delete, VK_DELETE},
    {GDK_KEY_Pause, VK_PAUSE},
    {GDK_KEY_Caps_Lock, VK_CAPITAL},
    {GDK_KEY_Print, VK_SNAPSHOT},
    {GDK_KEY_Num_Lock, VK_NUMLOCK},
    {GDK_KEY_Scroll_Lock, VK_SCROLL},
    {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},
    {GDK_KEY_Control_L, VK_CONTROL},
    {GDK_KEY_Control_R, VK_CONTROL},
    {GDK_KEY_Alt_L, VK_MENU},
    {GDK_KEY_Alt_R, VK_MENU},
    {GDK_KEY_Meta_L, VK_MENU},
    {GDK_KEY_Meta_R, VK_MENU},
    {GDK_KEY_ISO_Level3_Shift, VK_MENU},  // AltGr
    {GDK_KEY_Super_L, VK_LWIN},
    {GDK_KEY_Super_R, VK_RWIN},
    {GDK_KEY_Menu, VK_APPS},
    // US punctuation
    {GDK_KEY_semicolon, VK_OEM_1},
    {GDK_KEY_equal, VK_OEM_PLUS},
    {GDK_KEY_comma, VK_OEM_COMMA},
    {GDK_KEY_minus, VK_OEM_MINUS},
    {GDK_KEY_period, VK_OEM_PERIOD},
    {GDK_KEY_slash, VK_OEM_2},
    {GDK_KEY_grave, VK_OEM_3},
    {GDK_KEY_bracketleft, VK_OEM_4},
    {GDK_KEY_backslash, VK_OEM_5},
    {GDK_KEY_bracketright, VK_OEM_6},
    {GDK_KEY_apostrophe, VK_OEM_7},
    {GDK_KEY_less, VK_OEM_102},
    // German layout, as Windows assigns them there
    {GDK_KEY_udiaeresis, VK_OEM_1},
    {GDK_KEY_plus, VK_OEM_PLUS},
    {GDK_KEY_numbersign, VK_OEM_2},
    {GDK_KEY_odiaeresis, VK_OEM_3},
    {GDK_KEY_ssharp, VK_OEM_4},
    {GDK_KEY_dead_circumflex, VK_OEM_5},
    {GDK_KEY_asciicircum, VK_OEM_5},
    {GDK_KEY_dead_acute, VK_OEM_6},
    {GDK_KEY_adiaeresis, VK_OEM_7},
    // Media and volume keys
    {GDK_KEY_AudioMute, VK_VOLUME_MUTE},
    {GDK_KEY_AudioLowerVolume, VK_VOLUME_DOWN},
    {GDK_KEY_AudioRaiseVolume, VK_VOLUME_UP},
    {GDK_KEY_AudioNext, VK_MEDIA_NEXT_TRACK},
    {GDK_KEY_AudioPrev, VK_MEDIA_PREV_TRACK},
    {GDK_KEY_AudioStop, VK_MEDIA_STOP},
    {GDK_KEY_AudioPlay, VK_MEDIA_PLAY_PAUSE},
    {GDK_KEY_AudioPause, VK_MEDIA_PLAY_PAUSE},
};

constexpr int VK_CLEAR = 0x0C;

// Keypad: with Num Lock the digits and operators, without it the navigation keys.
constexpr KeyMapping kKeypadTable[] = {
    {GDK_KEY_KP_Multiply, VK_MULTIPLY},
    {GDK_KEY_KP_Add, VK_ADD},
    {GDK_KEY_KP_Subtract, VK_SUBTRACT},
    {GDK_KEY_KP_Decimal, VK_DECIMAL},
    {GDK_KEY_KP_Separator, VK_DECIMAL},  // the German keypad's comma is VK_DECIMAL on Windows
    {GDK_KEY_KP_Divide, VK_DIVIDE},
    {GDK_KEY_KP_Enter, VK_RETURN},
    {GDK_KEY_KP_Home, VK_HOME},
    {GDK_KEY_KP_End, VK_END},
    {GDK_KEY_KP_Left, VK_LEFT},
    {GDK_KEY_KP_Right, VK_RIGHT},
    {GDK_KEY_KP_Up, VK_UP},
    {GDK_KEY_KP_Down, VK_DOWN},
    {GDK_KEY_KP_Page_Up, VK_PRIOR},
    {GDK_KEY_KP_Page_Down, VK_NEXT},
    {GDK_KEY_KP_Insert, VK_INSERT},
    {GDK_KEY_KP_Delete, VK_DELETE},
    {GDK_KEY_KP_Begin, VK_CLEAR},
    {GDK_KEY_KP_Space, VK_SPACE},
    {GDK_KEY_KP_Tab, VK_TAB},
};

template <size_t N>
int Lookup(const KeyMapping (&table)[N], unsigned int keyval) {
    for (const KeyMapping& m : table)
        if (m.keyval == keyval) return m.virtualKey;
    return 0;
}

int KeypadVirtualKey(unsigned int keyval) {
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return VK_NUMPAD0 + static_cast<int>(keyval - GDK_KEY_KP_0);
    return Lookup(kKeypadTable, keyval);
}

}  // namespace

int VirtualKeyFromKeyval(unsigned int keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) return 'A' + static_cast<int>(keyval - GDK_KEY_a);
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) return 'A' + static_cast<int>(keyval - GDK_KEY_A);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return '0' + static_cast<int>(keyval - GDK_KEY_0);
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) return VK_F1 + static_cast<int>(keyval - GDK_KEY_F1);
    if (int vk = KeypadVirtualKey(keyval)) return vk;
    return Lookup(kKeyTable, keyval);
}

int VirtualKeyForKey(unsigned int eventKeyval, unsigned int unshiftedKeyval) {
    if (int vk = KeypadVirtualKey(eventKeyval)) return vk;
    if (int vk = VirtualKeyFromKeyval(unshiftedKeyval)) return vk;
    return VirtualKeyFromKeyval(eventKeyval);
}

unsigned ModifiersAfterKey(unsigned modifiersBefore, int virtualKey, bool pressed) {
    unsigned bit = virtualKey == VK_SHIFT ? kModShift
                 : virtualKey == VK_CONTROL ? kModControl
                 : virtualKey == VK_MENU ? kModAlt : 0u;
    return pressed ? (modifiersBefore | bit) : (modifiersBefore & ~bit);
}

}  // namespace gtk
}  // namespace platform
