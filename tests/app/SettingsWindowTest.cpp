// The settings window over the main window with a scripted engine: what each control
// sends to the engine, what it changes in the player, and that menus and keys show in
// the open window.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "app/ChildWindows.h"
#include "hotkeys/HotkeyText.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/HotKeyUI.h"
#include "ui/QuestionWnd.h"
#include "ui/SettingsWnd.h"
#include "uilib/Container.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Slider.h"

namespace orvella {
namespace {

class SettingsWindowTest : public PlaybackTest {
protected:
    CSettingsWnd* Open(const char* item = "ID_MAINMENU_SETTING") {
        window_->RunMenuCommand(item);
        fake().DispatchPending();
        CSettingsWnd* settings = window_->Dialogs().Settings();
        // Without its layout the window has no controls to test.
        return settings && settings->FindControl("ID_SETTINGS_TAB") ? settings : nullptr;
    }
    uilib::CControlUI* In(CSkinWindow* s, const char* name) {
        uilib::CControlUI* c = s->FindControl(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void Tell(CSkinWindow* s, const char* name, const char* type, WPARAM w = 0) {
        uilib::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = In(s, name);
        msg.wParam = w;
        if (msg.pSender) s->Notify(msg);
        fake().DispatchPending();
    }
    void Choose(CSettingsWnd* s, const char* option) {
        static_cast<uilib::COptionUI*>(In(s, option)->GetInterface("Option"))->Selected(true);
        fake().DispatchPending();
    }
    bool Selected(CSettingsWnd* s, const char* option) {
        return static_cast<uilib::COptionUI*>(In(s, option)->GetInterface("Option"))->IsSelected();
    }
    int SliderValue(CSettingsWnd* s, const char* name) {
        return static_cast<uilib::CSliderUI*>(In(s, name)->GetInterface("Slider"))->GetValue();
    }
    std::vector<std::string> Sent(size_t atLeast) {
        Pump([&] { return engine_->Commands().size() >= atLeast; }, atLeast ? 6000 : 150);  // a loaded checking build is slow
        std::vector<std::string> sent;
        for (std::string c : engine_->Commands()) {
            if (c.rfind("pausing_keep ", 0) == 0) c.erase(0, 13);
            if (c != "get_time_pos" && c != "get_time_length") sent.push_back(c);
        }
        return sent;
    }
    void Play() {
        StartWithEngine();
        OpenClips({clips_[0]});
        engine_->ForgetCommands();
    }
};

TEST_F(SettingsWindowTest, EffectsReachTheEngineAtOnce) {
    Play();
    CSettingsWnd* s = Open();
    ASSERT_NE(s, nullptr);
    // The crop fields start as the whole picture, the go-to time at zero.
    EXPECT_EQ(std::string(In(s, "ID_CROP_WIDTH")->GetText()), "320");
    EXPECT_EQ(std::string(In(s, "ID_SEEKTIME_EDIT")->GetText()), "00:00:00");
    const struct {
        const char* control;
        const char* type;
        WPARAM value;
        std::vector<std::string> sent;
    } cases[] = {
        {"ID_EFFECT_COLOR_BRIGHTNESS", "valuechangebegin", 75, {"brightness 50 1"}},
        {"ID_EFFECT_COLOR_HUE", "valuechangebegin", 0, {"hue -100 1"}},
        {"ID_EFFECT_COLOR_RESET_BUTTON", "click", 0,
         {"brightness 0 1", "saturation 0 1", "contrast 0 1", "hue 0 1", "gamma 0 1"}},
        {"ID_EFFECT_COLOR_BRIGHT_BUTTON", "click", 0,
         {"brightness 40 1", "saturation 20 1", "contrast 0 1", "hue 0 1", "gamma 0 1"}},
        {"ID_EFFECT_AUDIO_BALANCE", "valuechangebegin", 0, {"balance -1.0 1"}},
        {"ID_EFFECT_AUDIO_BALANCE_RESET_BUTTON", "click", 0, {"balance 0.0 1"}},
        {"ID_EFFECT_PLAY_PLAYSPEED_SLIDER", "valuechangeend", 50, {"speed_set 2.0"}},
        {"ID_EFFECT_PLAY_PLAYSPEED_RESET_BUTTON", "click", 0, {"speed_set 1.0"}},
        {"ID_EFFECT_AUDIO_SYNC_INCREASE", "click", 0, {"audio_delay 0.1 0"}},
        {"ID_EFFECT_AUDIO_SYNC_RESET", "click", 0, {"audio_delay 0.0 1"}},
        {"ID_EFFECT_SUBTITLE_SYNC_DECREASE", "click", 0, {"sub_delay -0.1 0"}},
        {"ID_EFFECT_SUBTITLE_POSITION", "valuechangebegin", 80, {"sub_pos 80 1"}},
        {"ID_EFFECT_SUBTITLE_FONT_INCREASE", "click", 0, {"sub_scale 1.2 1"}},
        {"ID_EFFECT_SUBTITLE_FONT_DECREASE", "click", 0, {"sub_scale 1.0 1"}},
        {"ID_EFFECT_SUBTITLE_FONT_RESET", "click", 0, {"sub_scale 1.0 1"}},
        {"ID_EFFECT_SNAP_SNAP", "click", 0, {}},  // checked by its prefix below
    };
    for (const auto& c : cases) {
        engine_->ForgetCommands();
        Tell(s, c.control, c.type, c.value);
        if (c.sent.empty()) continue;
        EXPECT_EQ(Sent(c.sent.size()), c.sent) << c.control;
    }
    EXPECT_EQ(Sent(1).at(0).rfind("screenshot 0 ", 0), 0u);
    // Only one of the two frame-capture buttons shows at a time; both toggle.
    Choose(s, "ID_EFFECT_SNAP");
    engine_->ForgetCommands();
    Tell(s, "ID_EFFECT_SNAP_SNAP_FRAME", "click");
    EXPECT_FALSE(In(s, "ID_EFFECT_SNAP_SNAP_FRAME")->IsVisible());
    EXPECT_TRUE(In(s, "ID_EFFECT_SNAP_SNAP_FRAME_STOP")->IsVisible());
    Tell(s, "ID_EFFECT_SNAP_SNAP_FRAME_STOP", "click");
    EXPECT_TRUE(In(s, "ID_EFFECT_SNAP_SNAP_FRAME")->IsVisible());
    const std::vector<std::string> toggles = Sent(2);
    EXPECT_EQ(std::count_if(toggles.begin(), toggles.end(),
                            [](const std::string& c) { return c.rfind("screenshot 1 ", 0) == 0; }),
              2);

    // Go to a time; a wrong one asks about its format and starts the field afresh.
    engine_->ForgetCommands();
    In(s, "ID_SEEKTIME_EDIT")->SetText("1:2:3");
    Tell(s, "ID_SEEKTIME_GOTO_BUTTON", "click");
    EXPECT_EQ(Sent(1), std::vector<std::string>{"seek 3723.00 2"});
    In(s, "ID_SEEKTIME_EDIT")->SetText("1:2");
    Tell(s, "ID_SEEKTIME_GOTO_BUTTON", "click");
    EXPECT_NE(window_->Dialogs().Question(), nullptr);
    EXPECT_EQ(std::string(In(s, "ID_SEEKTIME_EDIT")->GetText()), "00:00:00");

    // The ratio and the on-screen display level are the menus' values too.
    Choose(s, "ID_EFFECT_SIZE_RATIO_16:9");
    EXPECT_EQ(window_->Display().State().aspectChoice, 7);
    Choose(s, "ID_OSDLEVEL_1");
    EXPECT_TRUE(window_->CurrentMenuState().osdLevel == 1);
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_OSD_2");
    EXPECT_TRUE(Selected(s, "ID_OSDLEVEL_2"));
    EXPECT_FALSE(Selected(s, "ID_OSDLEVEL_1"));
    window_->RunMenuCommand("ID_MAINMENU_PLAY_DIALOGUE_MOVEUP");
    EXPECT_EQ(SliderValue(s, "ID_EFFECT_SUBTITLE_POSITION"), 70);

    // A crop starts the engine again where it was, with the filter.
    const int launches = engine_->Launches();
    In(s, "ID_CROP_WIDTH")->SetText("160");
    In(s, "ID_CROP_X")->SetText("x");
    // What was typed survives a menu command that changes other values.
    window_->RunMenuCommand("ID_MAINMENU_PLAY_DIALOGUE_MOVEDOWN");
    EXPECT_EQ(std::string(In(s, "ID_CROP_WIDTH")->GetText()), "160");
    Tell(s, "ID_EFFECT_CROP_APPLY", "click");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() > launches; }));
    const std::vector<std::string> args = engine_->Arguments(engine_->Launches());
    EXPECT_NE(std::find_if(args.begin(), args.end(),
                           [](const std::string& a) { return a.find("crop=160:240:0:0") != std::string::npos; }),
              args.end());
    Tell(s, "ID_EFFECT_CROP_RESET", "click");
    EXPECT_EQ(window_->Playback().CropText(), "");
    EXPECT_EQ(std::string(In(s, "ID_CROP_X")->GetText()), "0");

    Tell(s, "ID_CLOSE_BUTTON", "click");
    EXPECT_EQ(window_->Dialogs().Settings(), nullptr);
}

TEST_F(SettingsWindowTest, PreferencesApplyResetAndHotkeysRebind) {
    Play();
    // A key that a hand-written settings file gave to two actions shows as shared.
    const_cast<HotkeyBindings&>(window_->GetHotkeys()).Live().SetCode("Mute", VK_SPACE);
    CSettingsWnd* s = Open("ID_TRAYIOCNMENU_SETTINGS");
    ASSERT_NE(s, nullptr);
    // The tray's item opens on the player's page.
    EXPECT_TRUE(Selected(s, "ID_PLAYER"));
    EXPECT_FALSE(Selected(s, "ID_EFFECT"));

    // Nothing changes before Apply; then the deinterlacer starts the engine again.
    const int launches = engine_->Launches();
    Choose(s, "ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF");
    In(s, "ID_PLAYER_AUDIO_MAX_AMPLIFICATION")->SetText("5000");
    EXPECT_EQ(window_->GetSettings().deinterleave, 0);
    Tell(s, "ID_PLAYER_APPLY", "click");
    EXPECT_EQ(window_->GetSettings().deinterleave, 7);
    EXPECT_EQ(window_->GetSettings().maxamplification, 1000);
    EXPECT_EQ(std::string(In(s, "ID_PLAYER_AUDIO_MAX_AMPLIFICATION")->GetText()), "1000");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() > launches; }));
    // The menu marks it at once, and a menu choice shows in the window.
    EXPECT_EQ(window_->CurrentMenuState().deinterlace, 7);
    window_->RunMenuCommand("ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LINEAR");
    fake().DispatchPending();
    EXPECT_TRUE(Selected(s, "ID_PLAYER_VIDEO_DEINTERLEAVE_LINEAR"));
    EXPECT_FALSE(Selected(s, "ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF"));

    // A key taken by another action is refused with the question naming it; a free one
    // is taken, and works once applied.
    auto* stop = static_cast<CHotKeyUI*>(In(s, "ID_EDIT_HOTKEY_STOP")->GetInterface("HotKey"));
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(std::string(stop->GetText()), CodeToText(window_->GetHotkeys().Live(), "Stop"));
    EXPECT_EQ(std::string(In(s, "ID_EDIT_HOTKEY_PLAY_PAUSE")->GetToolTip()), "This key also runs \"Mute\"");
    EXPECT_EQ(std::string(In(s, "ID_EDIT_HOTKEY_AUDIO_MUTE")->GetToolTip()), "This key also runs \"Play / pause\"");
    EXPECT_EQ(std::string(stop->GetToolTip()), "");
    // The question names the action by the words beside its field.
    for (const auto& [action, field, named] : {std::tuple{"SubtitleDelay2", "ID_EDIT_HOTKEY_SUBTITLES_DELAY2",
                                                          "Subtitles +1 s"},
                                               {"Un-Zoom", "ID_EDIT_HOTKEY_VIDEO_UNZOOM", "Zoom out"}}) {
        const std::string taken = action;
        Tell(s, "ID_EDIT_HOTKEY_STOP", "settings_hotkeywnd_conflict", reinterpret_cast<WPARAM>(&taken));
        EXPECT_EQ(std::string(window_->Dialogs().Question()->FindControl("ID_TEXT")->GetText()),
                  "The key is already assigned to \"" + std::string(named) + "\",please reinput!");
        auto* row = static_cast<uilib::CContainerUI*>(In(s, field)->GetParent());
        EXPECT_EQ(std::string(row->GetItemAt(row->GetItemIndex(In(s, field)) - 1)->GetText()), named);
    }
    const HotkeyCapture got = CaptureCode(const_cast<HotkeyBindings&>(window_->GetHotkeys()).Edit(), "Stop",
                                          VK_F1 + 1, false, false, true);
    EXPECT_TRUE(got.conflict.empty());
    Tell(s, "ID_PLAYER_APPLY", "click");
    EXPECT_EQ(CodeToText(window_->GetHotkeys().Live(), "Stop"), "Shift+F2");

    // The screenshot folder: chosen, shown, kept, and made with its parents; a cancelled
    // choice changes nothing.
    const std::string shots = temp_ + "/new/shots";
    fake().QueueFileDialogAnswer({shots});
    Tell(s, "ID_PLAYER_SNAP_PATH_BUTTON", "click");
    EXPECT_EQ(window_->GetSettings().snappath, shots);
    EXPECT_EQ(std::string(In(s, "ID_PLAYER_SNAP_PATH_EDIT")->GetText()), shots);
    EXPECT_EQ(::access(shots.c_str(), F_OK), 0);
    fake().QueueFileDialogAnswer({});
    Tell(s, "ID_PLAYER_SNAP_PATH_BUTTON", "click");
    EXPECT_EQ(window_->GetSettings().snappath, shots);

    // Reset asks first (Yes / No); No keeps everything, Yes brings back the defaults, the
    // default keys, and the controls showing them.
    for (const char* answer : {"ID_CANCEL_BUTTON", "ID_OK_BUTTON"}) {
        Tell(s, "ID_PLAYER_RESET", "click");
        CQuestionWnd* question = window_->Dialogs().Question();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(std::string(question->FindControl("ID_OK_BUTTON")->GetText()) + "/" +
                      std::string(question->FindControl("ID_CANCEL_BUTTON")->GetText()), "Yes/No");
        EXPECT_EQ(CodeToText(window_->GetHotkeys().Live(), "Stop"), "Shift+F2");
        Tell(question, answer, "click");
    }
    EXPECT_EQ(window_->GetSettings().deinterleave, 0);
    EXPECT_EQ(window_->GetSettings().maxamplification, 100);
    EXPECT_EQ(window_->GetSettings().subtitleencode, "UTF-16");
    EXPECT_TRUE(Selected(s, "ID_PLAYER_VIDEO_DEINTERLEAVE_NO"));
    EXPECT_EQ(CodeToText(window_->GetHotkeys().Live(), "Stop"),
              CodeToText(HotkeyTable::Defaults(), "Stop"));
    EXPECT_EQ(std::string(stop->GetText()), CodeToText(HotkeyTable::Defaults(), "Stop"));
}

}  // namespace
}  // namespace orvella
