#include "hotkeys/HotkeyText.h"

#include <cstdio>

#include "platform/Platform.h"

namespace orvella {

namespace {

struct NamedKeys {
    int first;
    std::vector<const char*> names;  // for first, first + 1, ...
};

const NamedKeys kNamedKeys[] = {
    {8, {"Back", "Tab"}},
    {12, {"Clear", "Enter"}},
    {16, {"Shift", "Ctrl", "Alt", "Pause", "CapsLock"}},
    {27, {"Esc"}},
    {32, {"Space", "PageUp", "PageDown", "End", "Home", "Left", "Up", "Right", "Down", "Select", "Print", "Exe",
          "Snapshot", "Insert", "Delete", "Help"}},
    {91, {"LWin", "RWin", "Apps"}},
    {96, {"Num0", "Num1", "Num2", "Num3", "Num4", "Num5", "Num6", "Num7", "Num8", "Num9", "Num*", "Num+", "NumRet",
          "Num-", "Num.", "Num/"}},
    {112, {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}},
    {144, {"NumLock", "Scroll"}},
    {160, {"LShift", "RShift", "LCtrl", "RCtrl", "LAlt", "RAlt"}},
    {173, {"VolumeMute", "VolumeDown", "VolumeUp", "NextTrack", "PreviousTrack", "MediaStop", "PlayPause"}},
};

// Upper case for ASCII letters and the Latin-1 letters à…þ (two UTF-8 bytes), as a key
// cap shows them; anything else as it is.
std::string UpperCase(std::string text) {
    if (text.size() == 1 && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    } else if (text.size() == 2 && static_cast<unsigned char>(text[0]) == 0xC3) {
        const unsigned char low = static_cast<unsigned char>(text[1]);
        if (low >= 0xA0 && low <= 0xBE && low != 0xB7) text[1] = static_cast<char>(low - 0x20);
    }
    return text;
}

}  // namespace

std::string KeyName(int virtualKey) {
    for (const NamedKeys& keys : kNamedKeys) {
        const int index = virtualKey - keys.first;
        if (index >= 0 && index < static_cast<int>(keys.names.size())) return keys.names[static_cast<size_t>(index)];
    }
    if (platform::HasBackend()) {
        const std::string typed = platform::GetBackend().KeyCharacter(virtualKey);
        if (!typed.empty()) return UpperCase(typed);
    }
    char code[16];
    std::snprintf(code, sizeof code, "Key 0x%02X", virtualKey & 0xFF);
    return code;
}

std::string HotkeyText(HotkeyCode code) {
    if (code == 0) return std::string();
    std::string text;
    if (code & kHotkeyCtrl) text += "Ctrl+";
    if (code & kHotkeyAlt) text += "Alt+";
    if (code & kHotkeyShift) text += "Shift+";
    return text + KeyName(code & 0xFF);
}

HotkeyCode HotkeyCodeOf(int virtualKey, bool ctrl, bool alt, bool shift) {
    HotkeyCode code = static_cast<HotkeyCode>(virtualKey & 0xFF);
    if (ctrl) code |= kHotkeyCtrl;
    if (alt) code |= kHotkeyAlt;
    if (shift) code |= kHotkeyShift;
    return code;
}

std::string CodeToText(const HotkeyTable& table, const std::string& action) {
    return table.Contains(action) ? HotkeyText(table.Code(action)) : std::string();
}

std::vector<std::string> ActionsBoundTo(const HotkeyTable& table, HotkeyCode code) {
    std::vector<std::string> actions;
    for (const auto& [action, bound] : table.entries())
        if (bound == code) actions.push_back(action);
    return actions;
}

namespace {

struct MediaKey {
    int virtualKey;
    const char* action;
};

const MediaKey kMediaKeys[] = {
    {VK_MEDIA_PLAY_PAUSE, "Pause"},
    {VK_MEDIA_STOP, "Stop"},
    {VK_MEDIA_NEXT_TRACK, "NextFile"},
    {VK_MEDIA_PREV_TRACK, "PreviousFile"},
};

}  // namespace

std::vector<std::string> ActionsForKey(const HotkeyTable& live, HotkeyCode code) {
    std::vector<std::string> actions = ActionsBoundTo(live, code);
    if (!actions.empty() || !ActionsBoundTo(HotkeyTable::Defaults(), code).empty()) return actions;
    for (const MediaKey& key : kMediaKeys)
        if (code == key.virtualKey) return {key.action};
    return actions;
}

HotkeyCapture CaptureCode(HotkeyTable& edit, const std::string& action, int virtualKey, bool ctrl, bool alt,
                          bool shift) {
    HotkeyCapture capture;
    if (virtualKey == VK_SHIFT || virtualKey == VK_CONTROL || virtualKey == VK_MENU) return capture;
    capture.code = HotkeyCodeOf(virtualKey, ctrl, alt, shift);
    capture.text = HotkeyText(capture.code);
    for (const std::string& other : ActionsBoundTo(edit, capture.code)) {
        if (other == action) continue;
        capture.conflict = other;
        return capture;
    }
    if (!action.empty()) edit.SetCode(action, capture.code);
    return capture;
}

}  // namespace orvella
