// Keyboard bindings: action name → 16-bit combination code (the Windows virtual-key code in
// the low byte; 0x100 Ctrl, 0x200 Alt, 0x400 Shift), ordered by plain byte comparison of
// the names, which is also the order of the "Hotkey" children in "settings.xml".
//
// Three tables exist: the defaults (Defaults(), built once), the live table (a copy of the
// defaults, then overwritten by the settings read) and the edit copy of the settings window
// (see HotkeyBindings).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "library/SettingsSection.h"

namespace orvella {

using HotkeyCode = uint16_t;

constexpr HotkeyCode kHotkeyCtrl = 0x100;
constexpr HotkeyCode kHotkeyAlt = 0x200;
constexpr HotkeyCode kHotkeyShift = 0x400;

struct HotkeyAction {
    const char* name;         // element name in "settings.xml", e.g. "Un-Zoom"
    const char* control;      // its edit control in the settings window
    HotkeyCode defaultCode;
    const char* label;        // what the user reads beside its field and in questions
};

class HotkeyTable : public SettingsSection {
public:
    using Entries = std::map<std::string, HotkeyCode>;

    HotkeyTable() = default;  // empty; copy Defaults() for a usable table

    // The 36 actions in the order the settings read visits them.
    static const std::vector<HotkeyAction>& Actions();
    static const HotkeyTable& Defaults();
    // The action's label (the one text for it that the user reads); null for a name
    // that is no action.
    static const char* DisplayName(const std::string& action);
    // The name the user reads in the current language: the translation, else the English
    // label, else the action name itself.
    static std::string LocalDisplayName(const std::string& action);

    const Entries& entries() const { return entries_; }
    size_t size() const { return entries_.size(); }
    bool Contains(const std::string& action) const { return entries_.count(action) != 0; }
    // The action's code; 0 (no key) for an action that is not in the table.
    HotkeyCode Code(const std::string& action) const;
    void SetCode(const std::string& action, HotkeyCode code) { entries_[action] = code; }

    // "virtualkey" of "root/Hotkey/<action>" for each of the 36 actions: a value replaces the
    // entry (decimal, cut to 16 bits), an empty or missing one keeps it.
    void ReadFrom(const XmlDocument& document) override;
    // "Hotkey" under "root", one child per entry in name order with its "virtualkey".
    void WriteTo(XmlDocument& document) const override;

    bool operator==(const HotkeyTable& other) const { return entries_ == other.entries_; }
    bool operator!=(const HotkeyTable& other) const { return !(*this == other); }

private:
    Entries entries_;
};

}  // namespace orvella
