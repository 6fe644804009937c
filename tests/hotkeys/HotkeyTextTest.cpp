// Key names and the texts of key combinations, on a US and a German keyboard layout.
#include "hotkeys/HotkeyText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/TestPlatform.h"

namespace orvella {
namespace {

class HotkeyTextTest : public FakePlatformTest {};

TEST_F(HotkeyTextTest, KeysAreNamedByTheTableOrByWhatTheyTypeOnTheLayout) {
    struct Case {
        int vk;
        const char* us;
        const char* de;
    } cases[] = {
        {'A', "A", "A"},          {'Z', "Z", "Z"},         {'7', "7", "7"},
        {VK_F1, "F1", "F1"},      {VK_F1 + 11, "F12", "F12"}, {0x60, "Num0", "Num0"},
        {0x6A, "Num*", "Num*"},   {0x6F, "Num/", "Num/"},  {VK_SPACE, "Space", "Space"},
        {VK_RETURN, "Enter", "Enter"}, {VK_ESCAPE, "Esc", "Esc"}, {VK_NEXT, "PageDown", "PageDown"},
        {0xA5, "RAlt", "RAlt"},   {VK_OEM_PLUS, "=", "+"}, {VK_OEM_MINUS, "-", "-"},
        {VK_OEM_4, "[", "\xC3\x9F"}, {VK_OEM_6, "]", "\xC2\xB4"},
        // Letters are shown in upper case, in any script the layout types them.
        {VK_OEM_1, ";", "\xC3\x9C"}, {VK_OEM_7, "'", "\xC3\x84"},
        // A key that types nothing here is still named.
        {VK_OEM_102, "Key 0xE2", "<"}, {0xE9, "Key 0xE9", "Key 0xE9"},
        {VK_MEDIA_PLAY_PAUSE, "PlayPause", "PlayPause"}, {VK_MEDIA_PREV_TRACK, "PreviousTrack", "PreviousTrack"},
    };
    for (const char* layout : {"us", "de"}) {
        fake().SetKeyboardLayout(layout);
        for (const Case& c : cases)
            EXPECT_EQ(KeyName(c.vk), std::string(layout[0] == 'u' ? c.us : c.de)) << layout << " " << c.vk;
    }
}

// The media keys run play/pause, stop, next and previous unless a binding takes them.
TEST_F(HotkeyTextTest, MediaKeysRunTheirActionsUnlessBound) {
    HotkeyTable rebound = HotkeyTable::Defaults();
    rebound.SetCode("Mute", VK_MEDIA_STOP);
    const struct {
        const HotkeyTable& live;
        HotkeyCode code;
        std::vector<std::string> actions;
    } cases[] = {
        {HotkeyTable::Defaults(), VK_MEDIA_PLAY_PAUSE, {"Pause"}},
        {HotkeyTable::Defaults(), VK_MEDIA_STOP, {"Stop"}},
        {HotkeyTable::Defaults(), VK_MEDIA_NEXT_TRACK, {"NextFile"}},
        {HotkeyTable::Defaults(), VK_MEDIA_PREV_TRACK, {"PreviousFile"}},
        {HotkeyTable::Defaults(), VK_MEDIA_NEXT_TRACK | kHotkeyShift, {}},
        {rebound, VK_MEDIA_STOP, {"Mute"}},
        {rebound, VK_SPACE, {"Pause"}},
    };
    for (const auto& c : cases) EXPECT_EQ(ActionsForKey(c.live, c.code), c.actions) << c.code;
}

TEST_F(HotkeyTextTest, EveryDefaultBindingReadsAsItsCombination) {
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"Pause", "Space"},         {"Stop", "Ctrl+S"},          {"Forward0", "Right"},
        {"Backward0", "Left"},      {"Forward1", "Ctrl+Right"},  {"Backward1", "Ctrl+Left"},
        {"Forward2", "Alt+Right"},  {"Backward2", "Alt+Left"},   {"FullScreen", "Ctrl+Enter"},
        {"Screenshot", "F8"},       {"Minimize", "Esc"},         {"Topmost", "F9"},
        {"Zoom", "Ctrl+="},         {"Un-Zoom", "Ctrl+-"},       {"Mute", "M"},
        {"VolumeUp", "Up"},         {"VolumeDown", "Down"},      {"AudioDelay0", "Ctrl+]"},
        {"AudioDelay1", "Ctrl+["},  {"AudioDelay2", "Alt+]"},    {"AudioDelay3", "Alt+["},
        {"AudioDelay4", "Shift+]"}, {"AudioDelay5", "Shift+["},  {"LoadSubtitle", "Ctrl+L"},
        {"SubtitleDelay0", "Ctrl+0"}, {"SubtitleDelay1", "Ctrl+9"}, {"SubtitleDelay2", "Alt+0"},
        {"SubtitleDelay3", "Alt+9"}, {"SubtitleDelay4", "Shift+0"}, {"SubtitleDelay5", "Shift+9"},
        {"OpenFile", "Ctrl+O"},     {"OpenURL", "Ctrl+U"},       {"PreviousFile", "PageUp"},
        {"NextFile", "PageDown"},   {"Exit", "Ctrl+Q"},          {"PlayList", "Ctrl+P"},
    };
    const HotkeyTable& defaults = HotkeyTable::Defaults();
    ASSERT_EQ(defaults.size(), expected.size());
    for (const auto& [action, text] : expected) EXPECT_EQ(CodeToText(defaults, action), text) << action;
    EXPECT_EQ(CodeToText(defaults, "NoSuchAction"), "");
    fake().SetKeyboardLayout("de");
    EXPECT_EQ(CodeToText(defaults, "Zoom"), "Ctrl++");

    // The modifiers always read Ctrl, Alt, Shift; the code carries each as its bit.
    EXPECT_EQ(HotkeyCodeOf(VK_F1 + 4, true, true, true), 0x774);
    EXPECT_EQ(HotkeyText(0x774), "Ctrl+Alt+Shift+F5");
    EXPECT_EQ(HotkeyText(0), "");
    HotkeyTable twice = defaults;
    twice.SetCode("Mute", twice.Code("Pause"));
    EXPECT_EQ(ActionsBoundTo(twice, VK_SPACE), (std::vector<std::string>{"Mute", "Pause"}));
}

TEST_F(HotkeyTextTest, CapturedKeysAreRefusedWhenAnotherActionHasThem) {
    HotkeyTable edit = HotkeyTable::Defaults();
    struct Case {
        const char* action;
        int vk;
        bool ctrl, alt, shift;
        const char* text;
        const char* conflict;
        HotkeyCode stored;  // the action's code in the copy afterwards
    } cases[] = {
        {"Stop", 'M', false, false, false, "M", "Mute", 0x153},         // Mute's key: refused
        {"Stop", 'S', true, false, false, "Ctrl+S", "", 0x153},         // its own key: kept
        {"Stop", VK_F1 + 1, false, false, true, "Shift+F2", "", 0x471}, // a free key: taken
        {"Stop", VK_SHIFT, false, false, true, "", "", 0x471},          // Shift alone: nothing
        {"", VK_SPACE, false, false, false, "Space", "Pause", 0},        // a field without an action
    };
    for (const Case& c : cases) {
        const HotkeyCapture capture = CaptureCode(edit, c.action, c.vk, c.ctrl, c.alt, c.shift);
        EXPECT_EQ(capture.text, c.text) << c.action << " " << c.vk;
        EXPECT_EQ(capture.conflict, c.conflict) << c.action << " " << c.vk;
        EXPECT_EQ(edit.Code(c.action), c.stored) << c.action << " " << c.vk;
    }
    EXPECT_EQ(edit.Code("Mute"), HotkeyTable::Defaults().Code("Mute"));
}

}  // namespace
}  // namespace orvella
