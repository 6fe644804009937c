#include "hotkeys/HotkeyTable.h"

#include "library/NumberText.h"
#include "library/XmlDocument.h"

namespace orvella {

const std::vector<HotkeyAction>& HotkeyTable::Actions() {
    static const std::vector<HotkeyAction> actions = {
        {"Pause", "ID_EDIT_HOTKEY_PLAY_PAUSE", 0x020},
        {"Stop", "ID_EDIT_HOTKEY_STOP", 0x153},
        {"Forward0", "ID_EDIT_HOTKEY_FORWARD0", 0x027},
        {"Backward0", "ID_EDIT_HOTKEY_BACKWARD0", 0x025},
        {"Forward1", "ID_EDIT_HOTKEY_FORWARD1", 0x127},
        {"Backward1", "ID_EDIT_HOTKEY_BACKWARD1", 0x125},
        {"Forward2", "ID_EDIT_HOTKEY_FORWARD2", 0x227},
        {"Backward2", "ID_EDIT_HOTKEY_BACKWARD2", 0x225},
        {"FullScreen", "ID_EDIT_HOTKEY_VIDEO_FULLSCREEN", 0x10D},
        {"Screenshot", "ID_EDIT_HOTKEY_VIDEO_SCREENSHOT", 0x077},
        {"Minimize", "ID_EDIT_HOTKEY_VIDEO_MINIMIZE", 0x01B},
        {"Topmost", "ID_EDIT_HOTKEY_VIDEO_TOPMOST", 0x078},
        {"Zoom", "ID_EDIT_HOTKEY_VIDEO_ZOOM", 0x1BB},
        {"Un-Zoom", "ID_EDIT_HOTKEY_VIDEO_UNZOOM", 0x1BD},
        {"Mute", "ID_EDIT_HOTKEY_AUDIO_MUTE", 0x04D},
        {"VolumeUp", "ID_EDIT_HOTKEY_AUDIO_VOLUME_UP", 0x026},
        {"VolumeDown", "ID_EDIT_HOTKEY_AUDIO_VOLUME_DOWN", 0x028},
        {"AudioDelay0", "ID_EDIT_HOTKEY_AUDIO_DELAY0", 0x1DD},
        {"AudioDelay1", "ID_EDIT_HOTKEY_AUDIO_DELAY1", 0x1DB},
        {"AudioDelay2", "ID_EDIT_HOTKEY_AUDIO_DELAY2", 0x2DD},
        {"AudioDelay3", "ID_EDIT_HOTKEY_AUDIO_DELAY3", 0x2DB},
        {"AudioDelay4", "ID_EDIT_HOTKEY_AUDIO_DELAY4", 0x4DD},
        {"AudioDelay5", "ID_EDIT_HOTKEY_AUDIO_DELAY5", 0x4DB},
        {"LoadSubtitle", "ID_EDIT_HOTKEY_SUBTITLES_LOAD", 0x14C},
        {"SubtitleDelay0", "ID_EDIT_HOTKEY_SUBTITLES_DELAY0", 0x130},
        {"SubtitleDelay1", "ID_EDIT_HOTKEY_SUBTITLES_DELAY1", 0x139},
        {"SubtitleDelay2", "ID_EDIT_HOTKEY_SUBTITLES_DELAY2", 0x230},
        {"SubtitleDelay3", "ID_EDIT_HOTKEY_SUBTITLES_DELAY3", 0x239},
        {"SubtitleDelay4", "ID_EDIT_HOTKEY_SUBTITLES_DELAY4", 0x430},
        {"SubtitleDelay5", "ID_EDIT_HOTKEY_SUBTITLES_DELAY5", 0x439},
        {"OpenFile", "ID_EDIT_HOTKEY_FILE_OPEN_FILE", 0x14F},
        {"OpenURL", "ID_EDIT_HOTKEY_FILE_OPEN_URL", 0x155},
        {"PreviousFile", "ID_EDIT_HOTKEY_FILE_PREVIOUS", 0x021},
        {"NextFile", "ID_EDIT_HOTKEY_FILE_NEXT", 0x022},
        {"Exit", "ID_PLAYER_HOTKEY_OTHERS_EXIT", 0x151},
        {"PlayList", "ID_PLAYER_HOTKEY_OTHERS_PLAY_LIST", 0x150},
    };
    return actions;
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
