#include "library/PlayerSettings.h"

#include <variant>

#include "library/AtomicFile.h"
#include "library/Backgrounds.h"
#include "library/NumberText.h"
#include "library/SettingsFileParts.h"
#include "library/SettingsHost.h"
#include "library/SettingsSection.h"
#include "library/XmlDocument.h"

namespace orvella {
namespace {

constexpr const char* kPlayerPath = "root/Player";

// The member's type is the key's type: bool and int are decimal, uint32_t hexadecimal
// (the colour), std::string text.
using Member = std::variant<bool PlayerSettings::*, int PlayerSettings::*,
                            uint32_t PlayerSettings::*, std::string PlayerSettings::*>;

enum class DefaultFrom { Value, ScreenshotFolder, SystemLanguage, PaintManager };
enum class WhenMissing { Zero, Keep, Value };  // Value: `missingValue` is read instead

struct KeyDefinition {
    const char* key;
    Member member;
    DefaultFrom defaultFrom;
    const char* defaultValue;
    WhenMissing missing;
    const char* missingValue;
    bool readEarly;  // read before the layout exists, skipped by the full read
    void (*afterRead)(PlayerSettings& settings, SettingsHost& host);
};

using S = PlayerSettings;
constexpr auto Zero = WhenMissing::Zero;
constexpr auto Keep = WhenMissing::Keep;
constexpr auto Literal = DefaultFrom::Value;

// The whole key set, in the order in which it is written.
const KeyDefinition kKeys[] = {
    {"keepsize", &S::keepsize, Literal, "1", Zero, nullptr, false, nullptr},
    {"savelocation", &S::savelocation, Literal, "1", Zero, nullptr, false, nullptr},
    {"minimizetosystemtray", &S::minimizetosystemtray, Literal, "1", Zero, nullptr, false, nullptr},
    {"pausewhenminize", &S::pausewhenminize, Literal, "0", Zero, nullptr, false, nullptr},
    {"showOSD", &S::showOSD, Literal, "0", Zero, nullptr, false, nullptr},
    {"videoformat", &S::videoformat, Literal, "5", Zero, nullptr, false, nullptr},
    {"playerchannels", &S::playerchannels, Literal, "0", Zero, nullptr, false,
     [](S& s, SettingsHost&) {
         // A menu layout that an earlier version stored here is read as the menu's own.
         if (s.playerchannels >= 3 && s.playerchannels <= 8) s.speakerlayout = s.playerchannels;
         if (s.playerchannels > 2) s.playerchannels = 0;  // only 0, 1 and 2 are its layouts
     }},
    {"checkforupgrades", &S::checkforupgrades, Literal, "1", Zero, nullptr, false, nullptr},
    {"playsequence", &S::playsequence, Literal, "1", Zero, nullptr, false, nullptr},
    {"volume", &S::volume, Literal, "50", Zero, nullptr, false,
     [](S& s, SettingsHost& host) { host.ShowVolume(s.volume); }},
    {"mute", &S::mute, Literal, "0", Zero, nullptr, false,
     [](S& s, SettingsHost& host) { host.ShowMute(s.mute); }},
    {"skinindex", &S::skinindex, Literal, "0", Zero, nullptr, true, nullptr},
    {"color", &S::color, DefaultFrom::PaintManager, nullptr, Keep, nullptr, false,
     [](S& s, SettingsHost& host) { host.ApplyColor(s.color); }},
    {"deinterleave", &S::deinterleave, Literal, "0", Zero, nullptr, false, nullptr},
    {"snappath", &S::snappath, DefaultFrom::ScreenshotFolder, nullptr, Zero, nullptr, false, nullptr},
    {"background", &S::background, Literal, "", Zero, nullptr, false, nullptr},
    {"language", &S::language, DefaultFrom::SystemLanguage, nullptr, WhenMissing::Value, "eng",
     true, nullptr},
    {"associate", &S::associate, Literal, "1", Keep, nullptr, false, nullptr},
    {"playerpriority", &S::playerpriority, Literal, "2", Keep, nullptr, false, nullptr},
    {"decodethread", &S::decodethread, Literal, "0", Keep, nullptr, false, nullptr},
    {"audiomode", &S::audiomode, Literal, "0", Keep, nullptr, false, nullptr},
    {"subtitlefuzziness", &S::subtitlefuzziness, Literal, "0", Keep, nullptr, false, nullptr},
    {"subtitleencode", &S::subtitleencode, Literal, "UTF-16", Keep, nullptr, false, nullptr},
    {"useshortname", &S::useshortname, Literal, "0", Keep, nullptr, false, nullptr},
    {"usesoftwarevolume", &S::usesoftwarevolume, Literal, "1", Keep, nullptr, false, nullptr},
    {"maxamplification", &S::maxamplification, Literal, "100", Keep, nullptr, false, nullptr},
    // The audio menu's own layouts, apart from "playerchannels", whose readers know only
    // its three. Kept when missing: a file of an earlier version may have given it above.
    {"speakerlayout", &S::speakerlayout, Literal, "0", Keep, nullptr, false, nullptr},
};

// Stores `text` converted to the member's type; false when it is not a value of that type
// (only a colour that is not hexadecimal), the member then keeps its value.
bool Assign(PlayerSettings& settings, const Member& member, const std::string& text) {
    struct Visitor {
        PlayerSettings& s;
        const std::string& text;
        bool operator()(bool S::*m) const { return s.*m = DecimalValue(text) != 0, true; }
        bool operator()(int S::*m) const { return s.*m = DecimalValue(text), true; }
        bool operator()(uint32_t S::*m) const { return HexValue(text, &(s.*m)); }
        bool operator()(std::string S::*m) const { return s.*m = text, true; }
    };
    return std::visit(Visitor{settings, text}, member);
}

void AssignZero(PlayerSettings& settings, const Member& member) {
    std::visit([&settings](auto m) { settings.*m = {}; }, member);
}

std::string Format(const PlayerSettings& settings, const Member& member) {
    struct Visitor {
        const PlayerSettings& s;
        std::string operator()(bool S::*m) const { return s.*m ? "1" : "0"; }
        std::string operator()(int S::*m) const { return DecimalText(s.*m); }
        std::string operator()(uint32_t S::*m) const { return HexText(s.*m); }
        std::string operator()(std::string S::*m) const { return s.*m; }
    };
    return std::visit(Visitor{settings}, member);
}

// One key of "root/Player" by its When-missing rule; an empty value counts as missing. A
// key that damage took from the file was not left out by anyone: it keeps its value.
void ReadKey(PlayerSettings& settings, const KeyDefinition& key, const XmlDocument& document,
             SettingsHost& host) {
    std::string text;
    bool present = document.GetAttribute(kPlayerPath, key.key, &text) == XmlDocument::kOk &&
                   !text.empty();
    if (!present && document.IsDamaged()) return;
    bool assigned = false;
    if (present) {
        assigned = Assign(settings, key.member, text);
    } else if (key.missing == WhenMissing::Zero) {
        AssignZero(settings, key.member);
        assigned = true;
    } else if (key.missing == WhenMissing::Value) {
        assigned = Assign(settings, key.member, key.missingValue);
    }
    if (assigned && key.afterRead) key.afterRead(settings, host);
}

}  // namespace

PlayerSettings::PlayerSettings(const std::string& screenshotFolder, const std::string& systemLanguage) {
    for (const KeyDefinition& key : kKeys) {
        switch (key.defaultFrom) {
            case DefaultFrom::Value: Assign(*this, key.member, key.defaultValue); break;
            case DefaultFrom::ScreenshotFolder: Assign(*this, key.member, screenshotFolder); break;
            case DefaultFrom::SystemLanguage: Assign(*this, key.member, systemLanguage); break;
            case DefaultFrom::PaintManager: break;
        }
    }
}

std::string PlayerSettings::FilePath(const std::string& dataFolder) {
    return dataFolder + "/settings.xml";
}

std::vector<std::string> PlayerSettings::KeyNames() {
    std::vector<std::string> names;
    for (const KeyDefinition& key : kKeys) names.push_back(key.key);
    return names;
}

std::string PlayerSettings::BackgroundImage(const std::string& name) {
    const BackgroundPicture* picture = BackgroundNamed(name);
    return picture ? picture->image : std::string();
}

void PlayerSettings::ReadEarlyKeys(const XmlDocument& document) {
    SettingsHost noSideEffects;
    for (const KeyDefinition& key : kKeys) {
        if (key.readEarly) ReadKey(*this, key, document, noSideEffects);
    }
}

void PlayerSettings::ReadPlayerKeys(const XmlDocument& document, SettingsHost& host) {
    for (const KeyDefinition& key : kKeys) {
        if (!key.readEarly) ReadKey(*this, key, document, host);
    }
}

void PlayerSettings::WritePlayerKeys(XmlDocument& document) const {
    document.AddElement("Player", "root");
    for (const KeyDefinition& key : kKeys) {
        document.SetAttribute(kPlayerPath, key.key, Format(*this, key.member));
    }
}

void PlayerSettings::ApplyBackground(SettingsHost& host) const {
    std::string image = BackgroundImage(background);
    if (!image.empty()) host.ApplyBackgroundImage(image);
}

int PlayerSettings::ReadEarly(const std::string& dataFolder) {
    return ReadEarly(ReadSettingsFile(FilePath(dataFolder)));
}

int PlayerSettings::ReadEarly(const SettingsFileParts& file) {
    XmlDocument document;
    // The keys never live in the play memory: the long list is not parsed for them.
    document.Salvage(file.path, file.read ? &file.rest : nullptr);
    if (document.IsLoaded()) ReadEarlyKeys(document);
    return skinindex;
}

bool PlayerSettings::ReadFull(const std::string& dataFolder, SettingsSection& hotkeys,
                              SettingsHost& host) {
    return ReadFull(dataFolder, ReadSettingsFile(FilePath(dataFolder)), hotkeys, host);
}

bool PlayerSettings::ReadFull(const std::string& dataFolder, const SettingsFileParts& file,
                              SettingsSection& hotkeys, SettingsHost& host) {
    const std::string path = FilePath(dataFolder);
    RemoveStaleTemporaryFiles(path);
    const bool apart = file.memoryApart && host.ReadsPlayMemoryApart();
    XmlDocument document;
    std::string copy;
    const std::string* bytes = !file.read ? nullptr : apart ? &file.rest : file.whole.get();
    if (document.Salvage(path, bytes) == XmlDocument::FileState::Damaged) {
        // Where the file cannot be moved aside it stays as it is, and the write leaves it
        // alone too.
        copy = KeepDamagedCopy(path);
        host.ReportDamagedSettings(copy.empty() ? path : copy);
    }
    if (!document.IsLoaded()) {
        host.RunFirstStartAssociation(associate);
        return false;
    }
    if (apart) {
        host.StartPlayMemory(file.whole, !copy.empty());
    } else {
        host.ReadPlayMemory(document);
    }
    ReadPlayerKeys(document, host);
    hotkeys.ReadFrom(document);
    ApplyBackground(host);
    // What was read takes the damaged file's place at once, so that neither is lost
    // whatever ends this run (a memory read apart is written once it is in).
    if (!copy.empty() && !apart) Write(dataFolder, hotkeys, host);
    return true;
}

bool PlayerSettings::Write(const std::string& dataFolder, const SettingsSection& hotkeys,
                           SettingsHost& host) const {
    const std::string path = FilePath(dataFolder);
    XmlDocument document;
    // A file that cannot be read whole is replaced only once it is kept aside.
    const XmlDocument::FileState state = document.Salvage(path);
    if (state == XmlDocument::FileState::Damaged && KeepDamagedCopy(path).empty()) return false;
    if (state != XmlDocument::FileState::Whole && !document.Create(path)) return false;
    document.RemoveRoot();
    document.CreateRoot();
    host.WritePlayMemory(document);
    WritePlayerKeys(document);
    hotkeys.WriteTo(document);
    return document.Save() == XmlDocument::kOk;
}

}  // namespace orvella
