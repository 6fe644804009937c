// The hotkey field of the settings window, driven by real input on the fake platform: a
// field for "Minimize" beside an ordinary text field, over a copy of the default table.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hotkeys/HotkeyText.h"
#include "tests/uilib/ControlTestHost.h"
#include "ui/HotKeyUI.h"
#include "uilib/Container.h"

using namespace uilib;
using platform::FakeBackend;

namespace orvella {
namespace {

// Hears the conflicts; the name behind wParam lives only during the send.
struct ConflictRecorder : INotifyUI {
    void NotifyFromWindow(TNotifyUI&) override {}
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == "settings_hotkeywnd_conflict")
            names.push_back(*reinterpret_cast<const std::string*>(msg.wParam));
    }
    std::vector<std::string> names;
};

class HotKeyUITest : public FakePlatformTest {
protected:
    void SetUp() override {
        auto* row = new CHorizontalLayoutUI;
        field = new CHotKeyUI;
        field->SetFixedWidth(150);
        other = new CEditUI;
        row->Add(field);
        row->Add(other);
        host.Open(row, 300, 24);
        host.pm.AddNotifier(&conflicts);
        field->SetText(CodeToText(edit, "Minimize").c_str());
        field->SetAction("Minimize");
        field->SetEditTable(&edit);
    }
    void Click(int x) { fake().LeftClick(host.hwnd(), x, 12); }
    void Press(int vk, unsigned mods = FakeBackend::kNone) { fake().KeyPress(vk, mods, host.hwnd()); }
    std::string Text() const { return field->GetText(); }
    // How the edit table differs from the defaults with "Minimize" bound to code:
    // "Mute=0x4D (0x4E)" for each entry off, with the expected code in brackets.
    std::string TableOff(HotkeyCode code) const {
        HotkeyTable expected = HotkeyTable::Defaults();
        expected.SetCode("Minimize", code);
        std::string off;
        char line[64];
        for (const auto& [action, want] : expected.entries()) {
            if (edit.Code(action) == want) continue;
            std::snprintf(line, sizeof line, "%s=0x%X (0x%X) ", action.c_str(), edit.Code(action), want);
            off += line;
        }
        if (edit.size() != expected.size()) off += "entries added";
        return off;
    }

    HotkeyTable edit = HotkeyTable::Defaults();
    CHotKeyUI* field = nullptr;
    CEditUI* other = nullptr;
    // Before the host: the field tells it of the focus it loses when the host window goes.
    ConflictRecorder conflicts;
    ControlHost host;
};

TEST_F(HotKeyUITest, KeysPressedWhileRecordingBecomeTheCombination) {
    constexpr unsigned kCtrl = FakeBackend::kControl, kAlt = FakeBackend::kAlt, kShift = FakeBackend::kShift;
    struct Step {
        const char* what;
        int vk;
        unsigned mods;
        const char* text;  // the field afterwards
        HotkeyCode code;   // its code and the table's entry for "Minimize"
        const char* conflict = "";
    };
    const Step steps[] = {
        {"F2", VK_F1 + 1, 0, "F2", 0x71},
        {"Shift alone", VK_SHIFT, kShift, "F2", 0x71},
        {"Shift+F2", VK_F1 + 1, kShift, "Shift+F2", 0x471},
        {"all three modifiers", VK_F1 + 4, kCtrl | kAlt | kShift, "Ctrl+Alt+Shift+F5", 0x774},
        {"Tab", VK_TAB, 0, "Tab", 0x09},
        {"Shift+Tab", VK_TAB, kShift, "Shift+Tab", 0x409},
        {"Escape, its own default", VK_ESCAPE, 0, "Esc", 0x1B},
        {"Alt+K comes as a system key", 'K', kAlt, "Alt+K", 0x24B},
        {"Alt alone", VK_MENU, kAlt, "Alt+K", 0x24B},
        {"a letter types nothing", 'A', 0, "A", 0x41},
        {"Backspace", VK_BACK, 0, "Back", 0x08},
        {"Delete", VK_DELETE, 0, "Delete", 0x2E},
        {"F10", VK_F1 + 9, 0, "F10", 0x79},
        {"Ctrl+V pastes nothing", 'V', kCtrl, "Ctrl+V", 0x156},
        {"M belongs to Mute", 'M', 0, "Ctrl+V", 0x156, "Mute"},
        {"so does Alt+0 to SubtitleDelay2", '0', kAlt, "Ctrl+V", 0x156, "SubtitleDelay2"},
        {"Ctrl alone", VK_CONTROL, kCtrl, "Ctrl+V", 0x156},
    };
    fake().SetClipboardText("pasted");
    EXPECT_EQ(Text(), "Esc");
    Click(20);
    ASSERT_TRUE(field->IsRecording());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        conflicts.names.clear();
        Press(step.vk, step.mods);
        EXPECT_EQ(Text(), step.text);
        EXPECT_EQ(field->GetCode(), step.code);
        EXPECT_EQ(TableOff(step.code), "") << "only the field's own action changes";
        EXPECT_EQ(conflicts.names, std::string(step.conflict).empty() ? std::vector<std::string>{}
                                                                       : std::vector<std::string>{step.conflict});
        EXPECT_TRUE(host.pm.GetFocus() == field) << "no key takes the focus away";
        EXPECT_TRUE(::IsWindowVisible(host.hwnd())) << "no key closes or hides the window";
    }
    // Text and pre-edit from an input method do not reach the field either.
    fake().TypeText("xyz", host.hwnd());
    fake().Compose("ni", host.hwnd());
    EXPECT_EQ(Text(), "Ctrl+V");
    EXPECT_TRUE(field->GetPreedit().empty());
}

TEST_F(HotKeyUITest, RecordingNeedsFocusAnEnabledFieldAndATable) {
    // Not focused: keys go elsewhere.
    Press(VK_F1 + 2);
    EXPECT_EQ(Text(), "Esc");

    // Hovering shows the I-beam; clicking another control ends the
    // recording with "edit_kill_focus" and the field keeps its last text.
    fake().MouseMove(host.hwnd(), 20, 12);
    EXPECT_EQ(fake().Cursor(host.hwnd()), CursorShape::IBeam);
    Click(20);
    Press(VK_F1 + 2);
    host.notes.Clear();
    Click(200);
    EXPECT_FALSE(field->IsRecording());
    EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"edit_kill_focus"}));
    Press('Q');
    EXPECT_EQ(Text(), "F3");
    EXPECT_EQ(std::string(other->GetText()), "q") << "the ordinary field types as before";
    Press(VK_TAB);
    EXPECT_EQ(host.pm.GetFocus(), field) << "Tab moves the focus from an ordinary control";
    EXPECT_TRUE(field->IsRecording());

    // A resize of the window and the wheel over the field each end the recording.
    ::SetWindowPos(host.hwnd(), nullptr, 0, 0, 320, 24, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(field->IsRecording());
    EXPECT_EQ(host.pm.GetFocus(), nullptr);
    Click(20);
    ASSERT_TRUE(field->IsRecording());
    fake().Wheel(host.hwnd(), 20, 12, -120);
    EXPECT_FALSE(field->IsRecording());
    EXPECT_EQ(host.notes.Count("edit_kill_focus"), 3);

    // Without a table it records nothing.
    field->SetEditTable(nullptr);
    Click(20);
    Press(VK_F1 + 3);
    EXPECT_EQ(Text(), "F3");

    // Disabled: no focus, no recording, no capture, no I-beam.
    field->SetEditTable(&edit);
    field->SetEnabled(false);
    EXPECT_FALSE(field->IsRecording());
    fake().MouseMove(host.hwnd(), 200, 12);
    fake().MouseMove(host.hwnd(), 20, 12);
    EXPECT_EQ(fake().Cursor(host.hwnd()), CursorShape::Arrow);
    Click(20);
    Press(VK_F1 + 4);
    EXPECT_FALSE(field->IsRecording());
    EXPECT_NE(host.pm.GetFocus(), field);
    EXPECT_EQ(Text(), "F3");
    EXPECT_EQ(TableOff(0x72), "");
}

}  // namespace
}  // namespace orvella
