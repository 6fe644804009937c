#include "hotkeys/HotkeyTable.h"

#include "library/LocalStrings.h"
#include "library/NumberText.h"
#include "library/XmlDocument.h"

namespace orvella {

const std::vector<HotkeyAction>& HotkeyTable::Actions() {
    static const std::vector<HotkeyAction> actions = {
        {"Pause", "ID_EDIT_HOTKEY_PLAY_PAUSE", 0x020, "Play / pause"},
        {"Stop", "ID_EDIT_HOTKEY_STOP", 0x153, "Stop"},
        {"Forward0", "ID_EDIT_HOTKEY_FORWARD0", 0x027, "Forward 10 s"},
        {"Backward0", "ID_EDIT_HOTKEY_BACKWARD0", 0x025, "Back 10 s"},
        {"Forward1", "ID_EDIT_HOTKEY_FORWARD1", 0x127, "Forward 1 min"},
        {"Backward1", "ID_EDIT_HOTKEY_BACKWARD1", 0x125, "Back 1 min"},
        {"Forward2", "ID_EDIT_HOTKEY_FORWARD2", 0x227, "Forward 10 min"},
        {"Backward2", "ID_EDIT_HOTKEY_BACKWARD2", 0x225, "Back 10 min"},
        {"FullScreen", "ID_EDIT_HOTKEY_VIDEO_FULLSCREEN", 0x10D, "Full screen"},
        {"Screenshot", "ID_EDIT_HOTKEY_VIDEO_SCREENSHOT", 0x077, "Screenshot"},
        {"Minimize", "ID_EDIT_HOTKEY_VIDEO_MINIMIZE", 0x01B, "Minimise"},
        {"Topmost", "ID_EDIT_HOTKEY_VIDEO_TOPMOST", 0x078, "Always on top"},
        {"Zoom", "ID_EDIT_HOTKEY_VIDEO_ZOOM", 0x1BB, "Zoom in"},
        {"Un-Zoom", "ID_EDIT_HOTKEY_VIDEO_UNZOOM", 0x1BD, "Zoom out"},
        {"Mute", "ID_EDIT_HOTKEY_AUDIO_MUTE", 0x04D, "Mute"},
        {"VolumeUp", "ID_EDIT_HOTKEY_AUDIO_VOLUME_UP", 0x026, "Volume up"},
        {"VolumeDown", "ID_EDIT_HOTKEY_AUDIO_VOLUME_DOWN", 0x028, "Volume down"},
        {"AudioDelay0", "ID_EDIT_HOTKEY_AUDIO_DELAY0", 0x1DD, "Sound +0.1 s"},
        {"AudioDelay1", "ID_EDIT_HOTKEY_AUDIO_DELAY1", 0x1DB, "Sound −0.1 s"},
        {"AudioDelay2", "ID_EDIT_HOTKEY_AUDIO_DELAY2", 0x2DD, "Sound +0.5 s"},
        {"AudioDelay3", "ID_EDIT_HOTKEY_AUDIO_DELAY3", 0x2DB, "Sound −0.5 s"},
        {"AudioDelay4", "ID_EDIT_HOTKEY_AUDIO_DELAY4", 0x4DD, "Sound +1 s"},
        {"AudioDelay5", "ID_EDIT_HOTKEY_AUDIO_DELAY5", 0x4DB, "Sound −1 s"},
        {"LoadSubtitle", "ID_EDIT_HOTKEY_SUBTITLES_LOAD", 0x14C, "Load subtitles"},
        {"SubtitleDelay0", "ID_EDIT_HOTKEY_SUBTITLES_DELAY0", 0x130, "Subtitles +0.1 s"},
        {"SubtitleDelay1", "ID_EDIT_HOTKEY_SUBTITLES_DELAY1", 0x139, "Subtitles −0.1 s"},
        {"SubtitleDelay2", "ID_EDIT_HOTKEY_SUBTITLES_DELAY2", 0x230, "Subtitles +1 s"},
        {"SubtitleDelay3", "ID_EDIT_HOTKEY_SUBTITLES_DELAY3", 0x239, "Subtitles −1 s"},
        {"SubtitleDelay4", "ID_EDIT_HOTKEY_SUBTITLES_DELAY4", 0x430, "Subtitles +10 s"},
        {"SubtitleDelay5", "ID_EDIT_HOTKEY_SUBTITLES_DELAY5", 0x439, "Subtitles −10 s"},
        {"OpenFile", "ID_EDIT_HOTKEY_FILE_OPEN_FILE", 0x14F, "Open file"},
        {"OpenURL", "ID_EDIT_HOTKEY_FILE_OPEN_URL", 0x155, "Open URL"},
        {"PreviousFile", "ID_EDIT_HOTKEY_FILE_PREVIOUS", 0x021, "Previous file"},
        {"NextFile", "ID_EDIT_HOTKEY_FILE_NEXT", 0x022, "Next file"},
        {"Exit", "ID_PLAYER_HOTKEY_OTHERS_EXIT", 0x151, "Quit"},
        {"PlayList", "ID_PLAYER_HOTKEY_OTHERS_PLAY_LIST", 0x150, "Play list"},
    };
    return actions;
}

const char* HotkeyTable::DisplayName(const std::string& action) {
    for (const HotkeyAction& row : Actions())
        if (action == row.name) return row.label;
    return nullptr;
}

std::string HotkeyTable::LocalDisplayName(const std::string& action) {
    const char* label = DisplayName(action);
    return LocalActionName(action, label ? label : action);
}

const HotkeyTable& HotkeyTable::Defaults() {
    static const HotkeyTable defaults = [] {
        HotkeyTable table;
        for (const HotkeyAction& action : Actions()) table.SetCode(action.name, action.defaultCode);
        return table;
    }();
    return defaults;
}

HotkeyCode HotkeyTable::Code(const std::string& action) const {
    auto it = entries_.find(action);
    return it == entries_.end() ? 0 : it->second;
}

void HotkeyTable::ReadFrom(const XmlDocument& document) {
    for (const HotkeyAction& action : Actions()) {
        std::string text;
        if (document.GetAttribute(std::string("root/Hotkey/") + action.name, "virtualkey", &text) ==
                XmlDocument::kOk &&
            !text.empty()) {
            entries_[action.name] = static_cast<HotkeyCode>(DecimalValue(text) & 0xFFFF);
        }
    }
}

void HotkeyTable::WriteTo(XmlDocument& document) const {
    document.AddElement("Hotkey", "root");
    for (const auto& [name, code] : entries_) {
        document.AddElement(name, "root/Hotkey");
        document.SetAttribute("root/Hotkey/" + name, "virtualkey", DecimalText(code));
    }
}

}  // namespace orvella
