// What reading and writing the settings file asks of the main window. The settings store
// knows no controls: the window implements these steps; each does nothing by default.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace orvella {

class XmlDocument;

class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    // The play memory ("Media" under "root"): read before the "Player" keys, written before
    // them, and only when the play list is to be kept.
    virtual void ReadPlayMemory(const XmlDocument& document) {}
    virtual void WritePlayMemory(XmlDocument& document) {}
    // A host that reads the play memory apart says so; it is then handed the whole file's
    // bytes instead of ReadPlayMemory, and rewrites the file once the memory is in when
    // `rewrite` is set (the file was damaged and kept aside).
    virtual bool ReadsPlayMemoryApart() const { return false; }
    virtual void StartPlayMemory(std::shared_ptr<const std::string> file, bool rewrite) {}

    // The full read found no settings file: the first start registers the file types when
    // `associate` is set.
    virtual void RunFirstStartAssociation(bool associate) {}

    // The full read found the file damaged: what could be read was kept, and the file as
    // it was is at `where` (a copy beside it, or the file itself when it could not be
    // moved). Called once, before anything is read.
    virtual void ReportDamagedSettings(const std::string& where) {}

    // Side effects of the full read, in the order of their keys.
    virtual void ShowVolume(int volume) {}      // the control "volumeslider"
    virtual void ShowMute(bool mute) {}         // "mute_on" shown unless muted, "mute_off" if
    virtual void ApplyColor(uint32_t argb) {}   // the scheme colour (CPaintManagerUI::SetColor)
    // The background picture of the control "shading", e.g. "file='skin/river.PNG'"; only
    // called for a known background name.
    virtual void ApplyBackgroundImage(const std::string& image) {}
};

}  // namespace orvella
