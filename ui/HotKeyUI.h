// The field of the settings window that takes a key combination for one hotkey action.
// It shows the combination as text and never takes typed text.
//
// While it has the focus it records: every key press but a bare modifier becomes a
// combination code, Tab, Escape, Alt+letter and F10 included (it asks the window for
// every key). The code goes into the settings window's copy of the table unless another
// action already has it; then the field stays as it was and sends
// "settings_hotkeywnd_conflict" (wParam: const std::string* naming that action, valid
// during the send). Losing the focus ends the recording and sends "edit_kill_focus";
// so do a resize of the window and the wheel turned over the field.
#pragma once

#include <string>

#include "hotkeys/HotkeyTable.h"
#include "uilib/controls/Edit.h"

namespace orvella {

class CHotKeyUI : public uilib::CEditUI {
public:
    CHotKeyUI() = default;

    const char* GetClass() const override;          // "HotKeyUI"
    void* GetInterface(const char* name) override;  // "HotKey", and the edit's names
    UINT GetControlFlags() const override;          // an edit's, and every key while recording

    // The action this field edits, and the table copy a captured key goes into. Without
    // a table the field records nothing.
    void SetAction(const std::string& action) { m_action = action; }
    const std::string& GetAction() const { return m_action; }
    void SetEditTable(HotkeyTable* table) { m_table = table; }
    HotkeyCode GetCode() const { return m_code; }  // the last accepted code; 0 before one

    bool IsRecording() const { return m_recording; }

    void DoEvent(uilib::TEventUI& event) override;

private:
    void StartRecording();
    void EndRecording();
    void Capture(int virtualKey);

    std::string m_action;
    HotkeyTable* m_table = nullptr;
    HotkeyCode m_code = 0;
    bool m_recording = false;
};

}  // namespace orvella
