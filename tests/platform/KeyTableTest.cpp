#include "platform/gtk/KeyTable.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

using platform::gtk::ModifiersAfterKey;
using platform::gtk::VirtualKeyForKey;
using platform::gtk::VirtualKeyFromKeyval;

struct KeyCase {
    unsigned int keyval;
    int virtualKey;
};

class KeyvalTable : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyvalTable, MapsToVirtualKey) {
    EXPECT_EQ(VirtualKeyFromKeyval(GetParam().keyval), GetParam().virtualKey)
        << "keyval 0x" << std::hex << GetParam().keyval;
}

INSTANTIATE_TEST_SUITE_P(Letters, KeyvalTable,
                         ::testing::Values(KeyCase{GDK_KEY_a, 0x41}, KeyCase{GDK_KEY_A, 0x41},
                                           KeyCase{GDK_KEY_m, 0x4D}, KeyCase{GDK_KEY_z, 0x5A},
                                           KeyCase{GDK_KEY_Z, 0x5A}));
INSTANTIATE_TEST_SUITE_P(Digits, KeyvalTable,
                         ::testing::Values(KeyCase{GDK_KEY_0, 0x30}, KeyCase{GDK_KEY_5, 0x35},
                                           KeyCase{GDK_KEY_9, 0x39}));
INSTANTIATE_TEST_SUITE_P(FunctionKeys, KeyvalTable,
                         ::testing::Values(KeyCase{GDK_KEY_F1, 0x70}, KeyCase{GDK_KEY_F12, 0x7B},
                                           KeyCase{GDK_KEY_F24, 0x87}));
INSTANTIATE_TEST_SUITE_P(
    Navigation, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_Left, 0x25}, KeyCase{GDK_KEY_Up, 0x26}, KeyCase{GDK_KEY_Right, 0x27},
                      KeyCase{GDK_KEY_Down, 0x28}, KeyCase{GDK_KEY_Home, VK_HOME}, KeyCase{GDK_KEY_End, VK_END},
                      KeyCase{GDK_KEY_Page_Up, VK_PRIOR}, KeyCase{GDK_KEY_Page_Down, VK_NEXT},
                      KeyCase{GDK_KEY_Insert, VK_INSERT}, KeyCase{GDK_KEY_Delete, VK_DELETE}));
INSTANTIATE_TEST_SUITE_P(
    Editing, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_space, 0x20}, KeyCase{GDK_KEY_Return, 0x0D},
                      KeyCase{GDK_KEY_Escape, 0x1B}, KeyCase{GDK_KEY_BackSpace, 0x08},
                      KeyCase{GDK_KEY_Tab, 0x09}, KeyCase{GDK_KEY_ISO_Left_Tab, 0x09}));
INSTANTIATE_TEST_SUITE_P(
    Punctuation, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_semicolon, 0xBA}, KeyCase{GDK_KEY_equal, 0xBB},
                      KeyCase{GDK_KEY_comma, 0xBC}, KeyCase{GDK_KEY_minus, 0xBD},
                      KeyCase{GDK_KEY_period, 0xBE}, KeyCase{GDK_KEY_slash, 0xBF},
                      KeyCase{GDK_KEY_grave, 0xC0}, KeyCase{GDK_KEY_bracketleft, 0xDB},
                      KeyCase{GDK_KEY_backslash, 0xDC}, KeyCase{GDK_KEY_bracketright, 0xDD},
                      KeyCase{GDK_KEY_apostrophe, 0xDE}));
// What a German layout's unshifted keys give, as on Windows.
INSTANTIATE_TEST_SUITE_P(
    GermanLayout, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_udiaeresis, 0xBA}, KeyCase{GDK_KEY_plus, 0xBB},
                      KeyCase{GDK_KEY_numbersign, 0xBF}, KeyCase{GDK_KEY_odiaeresis, 0xC0},
                      KeyCase{GDK_KEY_ssharp, 0xDB}, KeyCase{GDK_KEY_dead_circumflex, 0xDC},
                      KeyCase{GDK_KEY_dead_acute, 0xDD}, KeyCase{GDK_KEY_adiaeresis, 0xDE},
                      KeyCase{GDK_KEY_less, 0xE2}, KeyCase{GDK_KEY_y, 0x59}));
INSTANTIATE_TEST_SUITE_P(
    Keypad, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_KP_0, 0x60}, KeyCase{GDK_KEY_KP_9, 0x69},
                      KeyCase{GDK_KEY_KP_Multiply, 0x6A}, KeyCase{GDK_KEY_KP_Add, 0x6B},
                      KeyCase{GDK_KEY_KP_Subtract, 0x6D}, KeyCase{GDK_KEY_KP_Decimal, 0x6E},
                      KeyCase{GDK_KEY_KP_Divide, 0x6F}, KeyCase{GDK_KEY_KP_Enter, 0x0D},
                      KeyCase{GDK_KEY_KP_Home, VK_HOME}, KeyCase{GDK_KEY_KP_Left, VK_LEFT}));
INSTANTIATE_TEST_SUITE_P(
    Modifiers, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_Shift_L, 0x10}, KeyCase{GDK_KEY_Shift_R, 0x10},
                      KeyCase{GDK_KEY_Control_L, 0x11}, KeyCase{GDK_KEY_Control_R, 0x11},
                      KeyCase{GDK_KEY_Alt_L, 0x12}, KeyCase{GDK_KEY_Alt_R, 0x12}));
INSTANTIATE_TEST_SUITE_P(
    Media, KeyvalTable,
    ::testing::Values(KeyCase{GDK_KEY_AudioMute, 0xAD}, KeyCase{GDK_KEY_AudioLowerVolume, 0xAE},
                      KeyCase{GDK_KEY_AudioRaiseVolume, 0xAF}, KeyCase{GDK_KEY_AudioNext, 0xB0},
                      KeyCase{GDK_KEY_AudioPrev, 0xB1}, KeyCase{GDK_KEY_AudioStop, 0xB2},
                      KeyCase{GDK_KEY_AudioPlay, 0xB3}));
INSTANTIATE_TEST_SUITE_P(Unknown, KeyvalTable,
                         ::testing::Values(KeyCase{0, 0}, KeyCase{GDK_KEY_VoidSymbol, 0},
                                           KeyCase{GDK_KEY_eacute, 0}, KeyCase{GDK_KEY_exclam, 0},
                                           KeyCase{0x12345678, 0}));

TEST(VirtualKeyForKey, UsesUnshiftedValueSoShiftedKeysKeepTheirCode) {
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_exclam, GDK_KEY_1), 0x31);
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_A, GDK_KEY_a), 0x41);
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_plus, GDK_KEY_equal), VK_OEM_PLUS);
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_ISO_Left_Tab, GDK_KEY_Tab), VK_TAB);
}

TEST(VirtualKeyForKey, KeypadFollowsTheEventsOwnValue) {
    // Num Lock on: the digit; off: the navigation key, though the key code is the same.
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_KP_4, GDK_KEY_KP_Left), VK_NUMPAD0 + 4);
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_KP_Left, GDK_KEY_KP_Left), VK_LEFT);
}

TEST(VirtualKeyForKey, FallsBackToTheEventValueWhenTheUnshiftedOneIsUnknown) {
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_Escape, 0), VK_ESCAPE);
    EXPECT_EQ(VirtualKeyForKey(GDK_KEY_eacute, GDK_KEY_eacute), 0);
}

TEST(ModifiersAfterKey, FoldsTheKeyIntoThePreviousState) {
    using platform::gtk::kModAlt;
    using platform::gtk::kModControl;
    using platform::gtk::kModShift;
    EXPECT_EQ(ModifiersAfterKey(0, VK_SHIFT, true), unsigned(kModShift));
    EXPECT_EQ(ModifiersAfterKey(kModShift, VK_SHIFT, false), 0u);
    EXPECT_EQ(ModifiersAfterKey(kModShift, VK_CONTROL, true), unsigned(kModShift | kModControl));
    EXPECT_EQ(ModifiersAfterKey(kModAlt | kModControl, VK_MENU, false), unsigned(kModControl));
    EXPECT_EQ(ModifiersAfterKey(kModControl, 'A', true), unsigned(kModControl));
    EXPECT_EQ(ModifiersAfterKey(kModControl, 'A', false), unsigned(kModControl));
}

}  // namespace
