// A part of the settings file kept by a layer above this one (the hotkeys, later the
// play memory), read and written through the same document as the "Player" keys.
#pragma once

namespace orvella {

class XmlDocument;

class SettingsSection {
public:
    virtual ~SettingsSection() = default;
    virtual void ReadFrom(const XmlDocument& document) = 0;
    // Appends the section under "root" of a document whose "root" was just created.
    virtual void WriteTo(XmlDocument& document) const = 0;
};

}  // namespace orvella
