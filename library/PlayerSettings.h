// The player's options: one member per attribute of the "Player" element of
// "settings.xml", named as the attribute, and the three moves between memory and disk:
//
//   PlayerSettings settings(dataFolder, DefaultLanguage());   // the defaults
//   int skin = settings.ReadEarly(dataFolder);                // before the layout
//   settings.color = paintManager.GetMainBKColor();           // once the layout exists
//   settings.ReadFull(dataFolder, bindings.Live(), host);     // after it
//   settings.color = paintManager.GetMainBKColor();           // the colour shown now
//   settings.Write(dataFolder, bindings.Live(), host);        // when the window goes
//
// `host` is the main window's SettingsHost (controls, colour, play memory, association).
//
// Every key is declared once, in a table in PlayerSettings.cpp (key, type, default, what a
// read does when the key is missing); the reads and the write walk that table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/EngineSettings.h"

namespace orvella {

class SettingsHost;
class SettingsSection;
struct SettingsFileParts;
class XmlDocument;

// The keys a launch of the engine reads live in the EngineSettings base.
class PlayerSettings : public EngineSettings {
public:
    // The defaults: "snappath" is the given screenshot folder, "language" the system's
    // language.
    PlayerSettings(const std::string& screenshotFolder = std::string(),
                   const std::string& systemLanguage = "eng");

    // Members start empty; the constructor gives them (and the base's) the defaults of the
    // key table.
    bool keepsize{};
    bool minimizetosystemtray{};
    bool pausewhenminize{};
    bool checkforupgrades{};
    int skinindex{};
    uint32_t color{};  // the scheme colour (ARGB) of the paint manager, which owns its default
    std::string background{};
    std::string language{};
    bool associate{};

    // "<dataFolder>/settings.xml"
    static std::string FilePath(const std::string& dataFolder);
    // The keys of the "Player" element in the order they are written.
    static std::vector<std::string> KeyNames();
    // The picture text of the control "shading" for a background name ("river" gives
    // "file='skin/river.PNG'"); empty for a name that is not in the table.
    static std::string BackgroundImage(const std::string& name);

    // Reads "skinindex" and "language" when the file opens; returns "skinindex", which
    // chooses the layout folder (the current value when the file does not open).
    int ReadEarly(const std::string& dataFolder);
    int ReadEarly(const SettingsFileParts& file);
    // The full read: play memory, every other "Player" key with its side effects, the
    // hotkeys, the background picture. Without a readable file only the first-start
    // association runs. True when the file was read. A damaged file is read as far as it
    // can be, kept aside, replaced by what was read and reported to the host; temporary
    // files of saves that were killed go.
    bool ReadFull(const std::string& dataFolder, SettingsSection& hotkeys, SettingsHost& host);
    // The same from the file read once (ReadSettingsFile): a host that reads the play
    // memory apart gets it handed over and the rest is read at once.
    bool ReadFull(const std::string& dataFolder, const SettingsFileParts& file,
                  SettingsSection& hotkeys, SettingsHost& host);
    // Rewrites the whole file; false when nothing could be written. A file that cannot be
    // read whole is kept aside first, and stays untouched when it cannot be.
    bool Write(const std::string& dataFolder, const SettingsSection& hotkeys,
               SettingsHost& host) const;

    // The same steps on a document that is already open.
    void ReadEarlyKeys(const XmlDocument& document);
    void ReadPlayerKeys(const XmlDocument& document, SettingsHost& host);
    void WritePlayerKeys(XmlDocument& document) const;
    // Gives "shading" the picture of "background" (also after a layout rebuild).
    void ApplyBackground(SettingsHost& host) const;
};

}  // namespace orvella
