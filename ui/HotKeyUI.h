// The field of the settings window that takes a key combination for one hotkey action.
// It shows the combination as text and never takes typed text.
#pragma once

#include <string>

#include "hotkeys/HotkeyTable.h"
#include "uilib/controls/Edit.h"

namespace orvella {

class CHotKeyUI : public uilib::CEditUI {
public:
    CHotKeyUI() = default;

    // The action this field edits, and the table copy a captured key goes into.
    void SetAction(const std::string& action) { m_action = action; }
    const std::string& GetAction() const { return m_action; }
    void SetEditTable(HotkeyTable* table) { m_table = table; }
    HotkeyCode GetCode() const { return m_code; }

private:
    std::string m_action;
    HotkeyTable* m_table = nullptr;
    HotkeyCode m_code = 0;
};

}  // namespace orvella
