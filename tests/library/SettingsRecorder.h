// A settings host that records every step the settings reads and writes take, in order.
#pragma once

#include <string>
#include <vector>

#include "hotkeys/HotkeyTable.h"
#include "library/NumberText.h"
#include "library/PlayMemory.h"
#include "library/SettingsHost.h"
#include "library/XmlDocument.h"
#include "playlist/Playlist.h"

namespace orvella_test {

class RecordingHost : public orvella::SettingsHost {
public:
    std::vector<std::string> calls;
    std::string mediaName;  // when set, the write adds "Media" with this attribute

    void ReadPlayMemory(const orvella::XmlDocument& document) override {
        std::string name = "-";
        document.GetAttribute("root/Media", "name", &name);
        calls.push_back("ReadPlayMemory " + name);
    }
    void WritePlayMemory(orvella::XmlDocument& document) override {
        calls.push_back("WritePlayMemory");
        if (mediaName.empty()) return;
        document.AddElement("Media", "root");
        document.SetAttribute("root/Media", "name", mediaName);
    }
    void RunFirstStartAssociation(bool associate) override {
        calls.push_back("Associate " + std::to_string(associate));
    }
    void ShowVolume(int volume) override { calls.push_back("Volume " + std::to_string(volume)); }
    void ShowMute(bool mute) override { calls.push_back("Mute " + std::to_string(mute)); }
    void ApplyColor(uint32_t argb) override {
        calls.push_back("Color " + orvella::HexText(argb));
    }
    void ApplyBackgroundImage(const std::string& image) override {
        calls.push_back("Background " + image);
    }
};

// A settings host keeping the play memory in a play list, as the main window does, and
// what it was told about a damaged file.
class PlayMemoryHost : public orvella::SettingsHost {
public:
    orvella::Playlist list;
    std::vector<std::string> told;

    void ReadPlayMemory(const orvella::XmlDocument& document) override {
        orvella::ApplyMedia(orvella::ReadMedia(document), list, true);
    }
    void WritePlayMemory(orvella::XmlDocument& document) override {
        orvella::WriteMedia(document, orvella::MediaSnapshots().Take(list, true));
    }
    void ReportDamagedSettings(const std::string& where) override { told.push_back(where); }
};

// The hotkey table, recording when the settings read reaches it.
class RecordingHotkeys : public orvella::HotkeyTable {
public:
    explicit RecordingHotkeys(std::vector<std::string>* calls)
        : orvella::HotkeyTable(orvella::HotkeyTable::Defaults()), calls_(calls) {}
    void ReadFrom(const orvella::XmlDocument& document) override {
        calls_->push_back("ReadHotkeys");
        orvella::HotkeyTable::ReadFrom(document);
    }

private:
    std::vector<std::string>* calls_;
};

inline std::string Join(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : " | ") + item;
    return text;
}

}  // namespace orvella_test
