// The settings window's layout, "settings.xml" of both skins, built with the program's
// control factory on the headless platform: every control the settings window looks up
// is there, of the kind it treats it as, on the page it belongs to; and on every page
// each text fits the control that shows it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/SourceSkins.h"
#include "tests/TestPlatform.h"
#include "ui/HotKeyUI.h"
#include "ui/SettingsRules.h"
#include "ui/SkinWindow.h"
#include "uilib/Container.h"
#include "uilib/RenderEngine.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/Option.h"

namespace orvella {
namespace {

using uilib::CControlUI;

class SettingsLayoutWnd : public CSkinWindow {
public:
    SettingsLayoutWnd() : CSkinWindow("settings.xml", true) {}
    const char* GetWindowClassName() const override { return "UISettingsLayoutTest"; }
    const char* GetWindowTitle() const override { return "Settings"; }
};

enum class Kind { Page, Tabs, Option, CheckBox, Button, Label, Edit, HotKey, Combo, Slider, SliderText };

struct Expected {
    const char* name;
    Kind kind;
    // Pages: the tab layout they are a direct child of. Anything else: a named control
    // it must lie inside (the page it belongs to), or null.
    const char* within;
    int items = -1;  // combos: the number of items
};

// clang-format off
const Expected kControls[] = {
    {"ID_CLOSE_BUTTON", Kind::Button, nullptr},
    {"ID_SETTINGS_TAB", Kind::Tabs, nullptr},
    {"ID_EFFECT", Kind::Option, nullptr}, {"ID_PLAYER", Kind::Option, nullptr},
    {"ID_SETTINGS_EFFECT", Kind::Page, "ID_SETTINGS_TAB"}, {"ID_SETTINGS_PLAYER", Kind::Page, "ID_SETTINGS_TAB"},
    {"ID_EFFECT_TAB", Kind::Tabs, "ID_SETTINGS_EFFECT"}, {"ID_PLAYER_TAB", Kind::Tabs, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_HOTKEY_TAB_TAB", Kind::Tabs, "ID_PLAYER_HOTKEY_TAB"},
    // effects
    {"ID_EFFECT_PLAY_TAB", Kind::Page, "ID_EFFECT_TAB"}, {"ID_EFFECT_SIZE_TAB", Kind::Page, "ID_EFFECT_TAB"},
    {"ID_EFFECT_COLOR_TAB", Kind::Page, "ID_EFFECT_TAB"}, {"ID_EFFECT_AUDIO_TAB", Kind::Page, "ID_EFFECT_TAB"},
    {"ID_EFFECT_SUBTITLE_TAB", Kind::Page, "ID_EFFECT_TAB"}, {"ID_EFFECT_CROP_TAB", Kind::Page, "ID_EFFECT_TAB"},
    {"ID_EFFECT_SNAP_TAB", Kind::Page, "ID_EFFECT_TAB"},
    {"ID_EFFECT_PLAY", Kind::Option, "ID_SETTINGS_EFFECT"}, {"ID_EFFECT_SIZE", Kind::Option, "ID_SETTINGS_EFFECT"},
    {"ID_EFFECT_COLOR", Kind::Option, "ID_SETTINGS_EFFECT"}, {"ID_EFFECT_AUDIO", Kind::Option, "ID_SETTINGS_EFFECT"},
    {"ID_EFFECT_SUBTITLE", Kind::Option, "ID_SETTINGS_EFFECT"}, {"ID_EFFECT_CROP", Kind::Option, "ID_SETTINGS_EFFECT"},
    {"ID_EFFECT_SNAP", Kind::Option, "ID_SETTINGS_EFFECT"},
    {"ID_SEEKTIME_EDIT", Kind::Edit, "ID_EFFECT_PLAY_TAB"}, {"ID_SEEKTIME_GOTO_BUTTON", Kind::Button, "ID_EFFECT_PLAY_TAB"},
    {"ID_EFFECT_PLAY_PLAYSPEED_SLIDER", Kind::SliderText, "ID_EFFECT_PLAY_TAB"},
    {"ID_EFFECT_PLAY_PLAYSPEED_RESET_BUTTON", Kind::Button, "ID_EFFECT_PLAY_TAB"},
    {"ID_OSDLEVEL_0", Kind::Option, "ID_EFFECT_PLAY_TAB"}, {"ID_OSDLEVEL_1", Kind::Option, "ID_EFFECT_PLAY_TAB"},
    {"ID_OSDLEVEL_2", Kind::Option, "ID_EFFECT_PLAY_TAB"}, {"ID_OSDLEVEL_3", Kind::Option, "ID_EFFECT_PLAY_TAB"},
    {"ID_EFFECT_SIZE_RATIO_AUTO", Kind::Option, "ID_EFFECT_SIZE_TAB"},
    {"ID_EFFECT_SIZE_RATIO_4:3", Kind::Option, "ID_EFFECT_SIZE_TAB"}, {"ID_EFFECT_SIZE_RATIO_16:9", Kind::Option, "ID_EFFECT_SIZE_TAB"},
    {"ID_SIZE_INCREASE_BUTTON", Kind::Button, "ID_EFFECT_SIZE_TAB"}, {"ID_SIZE_DECREASE_BUTTON", Kind::Button, "ID_EFFECT_SIZE_TAB"},
    {"ID_SIZE_RESET_BUTTON", Kind::Button, "ID_EFFECT_SIZE_TAB"},
    {"ID_EFFECT_COLOR_BRIGHTNESS", Kind::Slider, "ID_EFFECT_COLOR_TAB"}, {"ID_EFFECT_COLOR_SATURATION", Kind::Slider, "ID_EFFECT_COLOR_TAB"},
    {"ID_EFFECT_COLOR_CONTRAST", Kind::Slider, "ID_EFFECT_COLOR_TAB"}, {"ID_EFFECT_COLOR_GAMMA", Kind::Slider, "ID_EFFECT_COLOR_TAB"},
    {"ID_EFFECT_COLOR_HUE", Kind::Slider, "ID_EFFECT_COLOR_TAB"},
    {"ID_EFFECT_COLOR_RESET_BUTTON", Kind::Button, "ID_EFFECT_COLOR_TAB"}, {"ID_EFFECT_COLOR_SOFT_BUTTON", Kind::Button, "ID_EFFECT_COLOR_TAB"},
    {"ID_EFFECT_COLOR_BRIGHT_BUTTON", Kind::Button, "ID_EFFECT_COLOR_TAB"},
    {"ID_EFFECT_AUDIO_BALANCE", Kind::Slider, "ID_EFFECT_AUDIO_TAB"},
    {"ID_EFFECT_AUDIO_BALANCE_RESET_BUTTON", Kind::Button, "ID_EFFECT_AUDIO_TAB"},
    {"ID_EFFECT_AUDIO_SYNC_COMBO", Kind::Combo, "ID_EFFECT_AUDIO_TAB", 3},
    {"ID_EFFECT_AUDIO_SYNC_DECREASE", Kind::Button, "ID_EFFECT_AUDIO_TAB"}, {"ID_EFFECT_AUDIO_SYNC_INCREASE", Kind::Button, "ID_EFFECT_AUDIO_TAB"},
    {"ID_EFFECT_AUDIO_SYNC_RESET", Kind::Button, "ID_EFFECT_AUDIO_TAB"},
    {"ID_EFFECT_SUBTITLE_SYNC_COMBO", Kind::Combo, "ID_EFFECT_SUBTITLE_TAB", 3},
    {"ID_EFFECT_SUBTITLE_SYNC_DECREASE", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_SYNC_INCREASE", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_SYNC_RESET", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_FONT_INCREASE", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_FONT_DECREASE", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_FONT_RESET", Kind::Button, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_EFFECT_SUBTITLE_POSITION", Kind::Slider, "ID_EFFECT_SUBTITLE_TAB"},
    {"ID_CROP_WIDTH", Kind::Edit, "ID_EFFECT_CROP_TAB"}, {"ID_CROP_HEIGHT", Kind::Edit, "ID_EFFECT_CROP_TAB"},
    {"ID_CROP_X", Kind::Edit, "ID_EFFECT_CROP_TAB"}, {"ID_CROP_Y", Kind::Edit, "ID_EFFECT_CROP_TAB"},
    {"ID_EFFECT_CROP_APPLY", Kind::Button, "ID_EFFECT_CROP_TAB"}, {"ID_EFFECT_CROP_RESET", Kind::Button, "ID_EFFECT_CROP_TAB"},
    {"ID_EFFECT_SNAP_WIDTH", Kind::Label, "ID_EFFECT_SNAP_TAB"}, {"ID_EFFECT_SNAP_HEIGHT", Kind::Label, "ID_EFFECT_SNAP_TAB"},
    {"ID_EFFECT_SNAP_SNAP", Kind::Button, "ID_EFFECT_SNAP_TAB"}, {"ID_EFFECT_SNAP_SNAP_FRAME", Kind::Button, "ID_EFFECT_SNAP_TAB"},
    {"ID_EFFECT_SNAP_SNAP_FRAME_STOP", Kind::Button, "ID_EFFECT_SNAP_TAB"},
    // player
    {"ID_PLAYER_FILE_TAB", Kind::Page, "ID_PLAYER_TAB"}, {"ID_PLAYER_SYSTEM_TAB", Kind::Page, "ID_PLAYER_TAB"},
    {"ID_PLAYER_VIDEO_TAB", Kind::Page, "ID_PLAYER_TAB"}, {"ID_PLAYER_AUDIO_TAB", Kind::Page, "ID_PLAYER_TAB"},
    {"ID_PLAYER_OTHERS_TAB", Kind::Page, "ID_PLAYER_TAB"}, {"ID_PLAYER_SUBTITLE_TAB", Kind::Page, "ID_PLAYER_TAB"},
    {"ID_PLAYER_HOTKEY_TAB", Kind::Page, "ID_PLAYER_TAB"},
    {"ID_PLAYER_FILE", Kind::Option, "ID_SETTINGS_PLAYER"}, {"ID_PLAYER_SYSTEM", Kind::Option, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_VIDEO", Kind::Option, "ID_SETTINGS_PLAYER"}, {"ID_PLAYER_AUDIO", Kind::Option, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_OTHERS", Kind::Option, "ID_SETTINGS_PLAYER"}, {"ID_PLAYER_SUBTITLE", Kind::Option, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_HOTKEY", Kind::Option, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_APPLY", Kind::Button, "ID_SETTINGS_PLAYER"}, {"ID_PLAYER_RESET", Kind::Button, "ID_SETTINGS_PLAYER"},
    {"ID_PLAYER_FILE_AUTO_FIX", Kind::Option, "ID_PLAYER_FILE_TAB"}, {"ID_PLAYER_FILE_NO_CHANGE", Kind::Option, "ID_PLAYER_FILE_TAB"},
    {"ID_PLAYER_FILE_REMEMBER_LOCATION", Kind::CheckBox, "ID_PLAYER_FILE_TAB"},
    {"ID_PLAYER_FILE_ASSOCIATE", Kind::CheckBox, "ID_PLAYER_FILE_TAB"},
    {"ID_PLAYER_SYSTEM_TRAY", Kind::CheckBox, "ID_PLAYER_SYSTEM_TAB"}, {"ID_PLAYER_SYSTEM_PAUSE", Kind::CheckBox, "ID_PLAYER_SYSTEM_TAB"},
    {"ID_PLAYER_SYSTEM_SHORTNAME", Kind::CheckBox, "ID_PLAYER_SYSTEM_TAB"},
    {"ID_PLAYER_SYSTEM_PRIORITY_COMBO", Kind::Combo, "ID_PLAYER_SYSTEM_TAB", 6},
    {"ID_PLAYER_SYSTEM_THREAD_COMBO", Kind::Combo, "ID_PLAYER_SYSTEM_TAB", 8},
    {"ID_PLAYER_VIDEO_FORAMT_DEFAULT", Kind::Option, "ID_PLAYER_VIDEO_TAB"}, {"ID_PLAYER_VIDEO_FORAMT_GL", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_FORAMT_GL2", Kind::Option, "ID_PLAYER_VIDEO_TAB"}, {"ID_PLAYER_VIDEO_FORAMT_DIRECTX", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_FORAMT_DIRECTX_NOACCEL", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_FORAMT_DIRECT3D", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_NO", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_LINEAR", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF2", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_LOWPASS5", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_VIDEO_DEINTERLEAVE_KERNDEINT", Kind::Option, "ID_PLAYER_VIDEO_TAB"},
    {"ID_PLAYER_AUDIO_DEVICE_STEREO", Kind::Option, "ID_PLAYER_AUDIO_TAB"}, {"ID_PLAYER_AUDIO_DEVICE_4_0", Kind::Option, "ID_PLAYER_AUDIO_TAB"},
    {"ID_PLAYER_AUDIO_DEVICE_5_1", Kind::Option, "ID_PLAYER_AUDIO_TAB"}, {"ID_PLAYER_AUDIO_MODE_STEREO", Kind::Option, "ID_PLAYER_AUDIO_TAB"},
    {"ID_PLAYER_AUDIO_MODE_LEFT", Kind::Option, "ID_PLAYER_AUDIO_TAB"}, {"ID_PLAYER_AUDIO_MODE_RIGHT", Kind::Option, "ID_PLAYER_AUDIO_TAB"},
    {"ID_PLAYER_AUDIO_VOLUME_CONTROL", Kind::CheckBox, "ID_PLAYER_AUDIO_TAB"},
    {"ID_PLAYER_AUDIO_MAX_AMPLIFICATION", Kind::Edit, "ID_PLAYER_AUDIO_TAB"},
    {"ID_PLAYER_CHECKFOR_SHOW_OSD", Kind::CheckBox, "ID_PLAYER_OTHERS_TAB"},
    {"ID_PLAYER_CHECKFOR_UPGRADES", Kind::CheckBox, "ID_PLAYER_OTHERS_TAB"},
    {"ID_PLAYER_SNAP_PATH_EDIT", Kind::Edit, "ID_PLAYER_OTHERS_TAB"}, {"ID_PLAYER_SNAP_PATH_BUTTON", Kind::Button, "ID_PLAYER_OTHERS_TAB"},
    {"ID_PLAYER_SUBTITLE_TAB_ENCODE_COMBO", Kind::Combo, "ID_PLAYER_SUBTITLE_TAB", 25},
    {"ID_PLAYER_SUBTITLE_TAB_FUZZINESS_COMBO", Kind::Combo, "ID_PLAYER_SUBTITLE_TAB", 3},
    {"ID_PLAYER_SUBTITLE_TAB_INCLUDE_TO_SNAP", Kind::CheckBox, "ID_PLAYER_SUBTITLE_TAB"},
    // hotkeys, a page per group
    {"ID_PLAYER_HOTKEY_PLAY_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"}, {"ID_PLAYER_HOTKEY_VIDEO_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"},
    {"ID_PLAYER_HOTKEY_AUDIO_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"}, {"ID_PLAYER_HOTKEY_FILE_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"},
    {"ID_PLAYER_HOTKEY_OTHERS_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"},
    {"ID_PLAYER_HOTKEY_SUBTITLE_TAB", Kind::Page, "ID_PLAYER_HOTKEY_TAB_TAB"},
    {"ID_PLAYER_HOTKEY_PLAY", Kind::Option, "ID_PLAYER_HOTKEY_TAB"}, {"ID_PLAYER_HOTKEY_VIDEO", Kind::Option, "ID_PLAYER_HOTKEY_TAB"},
    {"ID_PLAYER_HOTKEY_AUDIO", Kind::Option, "ID_PLAYER_HOTKEY_TAB"}, {"ID_PLAYER_HOTKEY_FILE", Kind::Option, "ID_PLAYER_HOTKEY_TAB"},
    {"ID_PLAYER_HOTKEY_OTHERS", Kind::Option, "ID_PLAYER_HOTKEY_TAB"}, {"ID_PLAYER_HOTKEY_SUBTITLE", Kind::Option, "ID_PLAYER_HOTKEY_TAB"},
    {"ID_EDIT_HOTKEY_PLAY_PAUSE", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"}, {"ID_EDIT_HOTKEY_STOP", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"},
    {"ID_EDIT_HOTKEY_FORWARD0", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"}, {"ID_EDIT_HOTKEY_BACKWARD0", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"},
    {"ID_EDIT_HOTKEY_FORWARD1", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"}, {"ID_EDIT_HOTKEY_BACKWARD1", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"},
    {"ID_EDIT_HOTKEY_FORWARD2", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"}, {"ID_EDIT_HOTKEY_BACKWARD2", Kind::HotKey, "ID_PLAYER_HOTKEY_PLAY_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_FULLSCREEN", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_MINIMIZE", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_SCREENSHOT", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_TOPMOST", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_ZOOM", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_VIDEO_UNZOOM", Kind::HotKey, "ID_PLAYER_HOTKEY_VIDEO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_MUTE", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_VOLUME_UP", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_VOLUME_DOWN", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY0", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY1", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY2", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY3", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY4", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_AUDIO_DELAY5", Kind::HotKey, "ID_PLAYER_HOTKEY_AUDIO_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_LOAD", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY0", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY1", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY2", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY3", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY4", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_SUBTITLES_DELAY5", Kind::HotKey, "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
    {"ID_EDIT_HOTKEY_FILE_OPEN_FILE", Kind::HotKey, "ID_PLAYER_HOTKEY_FILE_TAB"},
    {"ID_EDIT_HOTKEY_FILE_OPEN_URL", Kind::HotKey, "ID_PLAYER_HOTKEY_FILE_TAB"},
    {"ID_EDIT_HOTKEY_FILE_PREVIOUS", Kind::HotKey, "ID_PLAYER_HOTKEY_FILE_TAB"},
    {"ID_EDIT_HOTKEY_FILE_NEXT", Kind::HotKey, "ID_PLAYER_HOTKEY_FILE_TAB"},
    {"ID_PLAYER_HOTKEY_OTHERS_EXIT", Kind::HotKey, "ID_PLAYER_HOTKEY_OTHERS_TAB"},
    {"ID_PLAYER_HOTKEY_OTHERS_PLAY_LIST", Kind::HotKey, "ID_PLAYER_HOTKEY_OTHERS_TAB"},
};
// clang-format on

bool IsKind(CControlUI* c, Kind kind) {
    const std::string cls = c->GetClass();
    switch (kind) {
    case Kind::Page: return c->GetInterface("Container") != nullptr;
    case Kind::Tabs: return c->GetInterface("TabLayout") != nullptr;
    case Kind::Option: return cls == "OptionUI";
    case Kind::CheckBox: return cls == "CheckBoxUI";
    case Kind::Button: return cls == "ButtonUI";
    case Kind::Label: return cls == "LabelUI";
    case Kind::Edit: return cls == "EditUI" && !dynamic_cast<CHotKeyUI*>(c);
    case Kind::HotKey: return dynamic_cast<CHotKeyUI*>(c) != nullptr;
    case Kind::Combo: return c->GetInterface("Combo") != nullptr;
    // The window listens for "valuechangebegin", which only the program's slider sends.
    case Kind::Slider: return c->GetInterface("SliderEx") != nullptr;
    case Kind::SliderText: return c->GetInterface("SliderText") != nullptr;
    }
    return false;
}

bool Inside(CControlUI* c, const std::string& ancestor) {
    for (CControlUI* p = c->GetParent(); p; p = p->GetParent())
        if (p->GetName() == ancestor) return true;
    return false;
}

class SettingsLayoutTest : public FakePlatformTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        orvella_test::UseSourceSkins();
        window_ = new SettingsLayoutWnd;
        window_->SetSkin(GetParam());
        window_->SetLanguage("eng");
        window_->Create(nullptr, "Settings", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 20);
        fake().Render(window_->GetHWND());
    }
    void TearDown() override { uilib::SetAppPathForTesting(""); }

    CControlUI* Find(const char* name) { return window_->FindControl(name); }

    SettingsLayoutWnd* window_ = nullptr;
};

TEST_P(SettingsLayoutTest, EveryControlIsThereWithItsKindOnItsPage) {
    ASSERT_FALSE(window_->GetLayoutPath().empty());
    for (const Expected& e : kControls) {
        CControlUI* c = Find(e.name);
        ASSERT_NE(c, nullptr) << e.name;
        EXPECT_TRUE(IsKind(c, e.kind)) << e.name << " is a " << c->GetClass();
        if (e.kind == Kind::Page) {
            EXPECT_EQ(c->GetParent()->GetName(), e.within) << e.name;
        } else if (e.within) {
            EXPECT_TRUE(Inside(c, e.within)) << e.name << " is not inside " << e.within;
        }
        if (e.items >= 0) {
            EXPECT_EQ(static_cast<uilib::CContainerUI*>(c)->GetCount(), e.items) << e.name;
        }
    }
    // And every control the window's own tables name.
    std::vector<std::string> named;
    for (const OptionGroupRows& g : PreferenceOptions())
        for (const OptionValue& o : g.options) named.push_back(o.control);
    for (const SwitchRow& r : PreferenceSwitches()) named.push_back(r.control);
    for (const ComboRow& r : PreferenceCombos()) named.push_back(r.control);
    for (const HotkeyAction& r : HotkeyTable::Actions()) named.push_back(r.control);
    for (const ColourSliderRow& r : ColourSliders()) named.push_back(r.control);
    for (const ColourPreset& r : ColourPresets()) named.push_back(r.button);
    for (const PageRow& r : PageButtons()) named.insert(named.end(), {r.option, r.page});
    for (const std::string& name : named) EXPECT_NE(Find(name.c_str()), nullptr) << name;
    EXPECT_FALSE(Find("ID_EFFECT_SNAP_SNAP_FRAME_STOP")->IsVisible()) << "shown only while capturing";
    EXPECT_FALSE(Find("ID_PLAYER_SYSTEM_SHORTNAME")->IsEnabled()) << "short names mean nothing here";
}

TEST_P(SettingsLayoutTest, EncodingsInTheirOrderEachNamedBeforeItsDescription) {
    const char* const names[] = {"BIG5", "CP874", "CP936", "CP949", "CP1250", "CP1251", "CP1253",
                                 "CP1256", "ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4",
                                 "ISO-8859-5", "ISO-8859-6", "ISO-8859-7", "ISO-8859-8",
                                 "ISO-8859-9", "ISO-8859-13", "ISO-8859-14", "ISO-8859-15",
                                 "KOI8-U/RU", "KOI8-R", "SHIFT-JIS", "UTF-8", "UTF-16"};
    auto* combo = static_cast<uilib::CComboUI*>(Find("ID_PLAYER_SUBTITLE_TAB_ENCODE_COMBO"));
    ASSERT_EQ(combo->GetCount(), 25);
    for (int i = 0; i < 25; ++i) {
        const std::string text = combo->GetItemAt(i)->GetText();
        EXPECT_EQ(text.substr(0, text.find('(')), names[i]) << "item " << i;
    }
    EXPECT_EQ(combo->GetCurSel(), 24) << "the default encoding";
    EXPECT_EQ(static_cast<uilib::CComboUI*>(Find("ID_PLAYER_SYSTEM_PRIORITY_COMBO"))->GetText(), "Normal");
}

// Every page in turn: each shown text fits its control, and each shown control lies
// inside the page and the window.
TEST_P(SettingsLayoutTest, OnEveryPageEachTextFitsAndNothingIsCutOff) {
    const std::vector<std::vector<const char*>> pages = {
        {"ID_SETTINGS_EFFECT", "ID_EFFECT_PLAY_TAB"}, {"ID_SETTINGS_EFFECT", "ID_EFFECT_SIZE_TAB"},
        {"ID_SETTINGS_EFFECT", "ID_EFFECT_COLOR_TAB"}, {"ID_SETTINGS_EFFECT", "ID_EFFECT_AUDIO_TAB"},
        {"ID_SETTINGS_EFFECT", "ID_EFFECT_SUBTITLE_TAB"}, {"ID_SETTINGS_EFFECT", "ID_EFFECT_CROP_TAB"},
        {"ID_SETTINGS_EFFECT", "ID_EFFECT_SNAP_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_FILE_TAB"}, {"ID_SETTINGS_PLAYER", "ID_PLAYER_SYSTEM_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_VIDEO_TAB"}, {"ID_SETTINGS_PLAYER", "ID_PLAYER_AUDIO_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_SUBTITLE_TAB"}, {"ID_SETTINGS_PLAYER", "ID_PLAYER_OTHERS_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_PLAY_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_VIDEO_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_AUDIO_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_SUBTITLE_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_FILE_TAB"},
        {"ID_SETTINGS_PLAYER", "ID_PLAYER_HOTKEY_TAB", "ID_PLAYER_HOTKEY_OTHERS_TAB"},
    };
    uilib::CPaintManagerUI* pm = &window_->PaintManager();
    RECT client;
    GetClientRect(window_->GetHWND(), &client);
    for (const auto& path : pages) {
        for (const char* page : path) {
            auto* tabs = static_cast<uilib::CTabLayoutUI*>(Find(page)->GetParent()->GetInterface("TabLayout"));
            ASSERT_NE(tabs, nullptr) << page;
            tabs->SelectItem(page);
        }
        fake().Render(window_->GetHWND());
        const std::string where = path.back();
        std::vector<CControlUI*> shown;
        pm->GetRoot()->FindControl(
            [](CControlUI* c, void* out) -> CControlUI* {
                static_cast<std::vector<CControlUI*>*>(out)->push_back(c);
                return nullptr;
            },
            &shown, uilib::UIFIND_VISIBLE);
        for (CControlUI* c : shown) {
            const RECT& r = c->GetPos();
            const std::string id = where + ": " + (c->GetName().empty() ? c->GetText() : c->GetName()).c_str();
            EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                        r.bottom <= client.bottom)
                << id << " reaches outside the window";
            if (CControlUI* parent = c->GetParent()) {
                const RECT& p = parent->GetPos();
                EXPECT_TRUE(r.right <= p.right && r.bottom <= p.bottom) << id << " is cut off by its parent";
            }
            if (auto* combo = dynamic_cast<uilib::CComboUI*>(c)) {
                // Every item fits the closed combo: its text padding and the arrow (18).
                const int room = r.right - r.left - 12 - 18;
                for (int i = 0; i < combo->GetCount(); ++i) {
                    const std::string item = combo->GetItemAt(i)->GetText();
                    EXPECT_LE(uilib::CRenderEngine::GetTextSize(pm, item.c_str(), -1, uilib::DT_SINGLELINE).cx, room)
                        << id << ": " << item << " does not fit";
                }
            }
            auto* label = dynamic_cast<uilib::CLabelUI*>(c);
            if (!label || c->GetText().empty() || c->GetInterface("Edit") || c->GetInterface("Slider")) continue;
            RECT pad = label->GetTextPadding();
            int room = r.right - r.left - pad.left - pad.right;
            auto* option = dynamic_cast<uilib::COptionUI*>(c);
            // The drawn tick box sits left of the text: box (at most 16) and gap.
            if (option && option->IsCheckBoxLook()) room -= std::min(16L, r.bottom - r.top - 4) + 8;
            const bool wraps = (label->GetTextStyle() & uilib::DT_WORDBREAK) != 0;
            SIZE need = uilib::CRenderEngine::GetTextSize(pm, c->GetText().c_str(), label->GetFont(),
                                                          wraps ? uilib::DT_WORDBREAK : uilib::DT_SINGLELINE,
                                                          wraps ? room : 0);
            EXPECT_LE(need.cx, room) << id << " does not fit across";
            EXPECT_LE(need.cy, r.bottom - r.top - pad.top - pad.bottom) << id << " does not fit down";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SettingsLayoutTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == 0 ? std::string("Classic") : std::string("Modern");
                         });

}  // namespace
}  // namespace orvella
