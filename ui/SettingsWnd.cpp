#include "ui/SettingsWnd.h"

#include <cstdlib>
#include <cstring>

#include "hotkeys/HotkeyText.h"
#include "library/LocalStrings.h"
#include "platform/Platform.h"
#include "ui/HotKeyUI.h"
#include "uilib/Container.h"
#include "uilib/controls/CheckBox.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Slider.h"

namespace orvella {

using uilib::CControlUI;

namespace {
template <typename T>
T* Find(const CSkinWindow* window, const char* name, const char* kind) {
    CControlUI* c = window->FindControl(name);
    return c ? static_cast<T*>(c->GetInterface(kind)) : nullptr;
}

// Buttons that send one notification with fixed arguments.
struct FixedNote {
    const char* button;
    const char* note;
    WPARAM wParam;
};
const FixedNote kFixedNotes[] = {
    {"ID_CLOSE_BUTTON", "closesettings", 0},
    {"ID_EFFECT_SNAP_SNAP", "settings_snap", 0},
    {"ID_SIZE_INCREASE_BUTTON", "settings_changesize", 1},
    {"ID_SIZE_DECREASE_BUTTON", "settings_changesize", static_cast<WPARAM>(-1)},
    {"ID_SIZE_RESET_BUTTON", "settings_changesize", 0},
    {"ID_EFFECT_AUDIO_SYNC_RESET", "settings_audiosyncchange", 0},
    {"ID_EFFECT_SUBTITLE_SYNC_RESET", "settings_subtitlesyncchange", 0},
    {"ID_EFFECT_SUBTITLE_FONT_INCREASE", "settings_subtitlefontchange", 1},
    {"ID_EFFECT_SUBTITLE_FONT_DECREASE", "settings_subtitlefontchange", static_cast<WPARAM>(-1)},
    {"ID_EFFECT_SUBTITLE_FONT_RESET", "settings_subtitlefontchange", 0},
};

// The sync buttons: a direction and the combo that holds the step.
struct SyncButton {
    const char* button;
    const char* note;
    int direction;
    const char* combo;
};
const SyncButton kSyncButtons[] = {
    {"ID_EFFECT_AUDIO_SYNC_DECREASE", "settings_audiosyncchange", -1, "ID_EFFECT_AUDIO_SYNC_COMBO"},
    {"ID_EFFECT_AUDIO_SYNC_INCREASE", "settings_audiosyncchange", 1, "ID_EFFECT_AUDIO_SYNC_COMBO"},
    {"ID_EFFECT_SUBTITLE_SYNC_DECREASE", "settings_subtitlesyncchange", -1,
     "ID_EFFECT_SUBTITLE_SYNC_COMBO"},
    {"ID_EFFECT_SUBTITLE_SYNC_INCREASE", "settings_subtitlesyncchange", 1,
     "ID_EFFECT_SUBTITLE_SYNC_COMBO"},
};

// Option buttons that send a value when chosen.
struct ChoiceOption {
    const char* option;
    const char* note;
    WPARAM value;
};
const ChoiceOption kChoiceOptions[] = {
    {"ID_EFFECT_SIZE_RATIO_AUTO", "settings_setratio", 0},
    {"ID_EFFECT_SIZE_RATIO_4:3", "settings_setratio", 3},
    {"ID_EFFECT_SIZE_RATIO_16:9", "settings_setratio", 7},
    {"ID_OSDLEVEL_0", "settings_osdlevel", 0},
    {"ID_OSDLEVEL_1", "settings_osdlevel", 1},
    {"ID_OSDLEVEL_2", "settings_osdlevel", 2},
    {"ID_OSDLEVEL_3", "settings_osdlevel", 3},
};

const char* const kCropEdits[] = {"ID_CROP_WIDTH", "ID_CROP_HEIGHT", "ID_CROP_X", "ID_CROP_Y"};
const char* const kSeekEdit = "ID_SEEKTIME_EDIT";
const char* const kAmplificationEdit = "ID_PLAYER_AUDIO_MAX_AMPLIFICATION";
const char* const kEncodingCombo = "ID_PLAYER_SUBTITLE_TAB_ENCODE_COMBO";
const char* const kSnapFolderEdit = "ID_PLAYER_SNAP_PATH_EDIT";
const char* const kSpeedSlider = "ID_EFFECT_PLAY_PLAYSPEED_SLIDER";

std::string Decimal(int v) { return std::to_string(v); }

// The text of a hotkey field whose key also runs another action.
constexpr DWORD kSharedKeyColour = 0xFFE5484D;

// The label in front of a hotkey field in its row; null when the layout has none there.
CControlUI* LabelBefore(CControlUI* field) {
    auto* row = field->GetParent() ? static_cast<uilib::CContainerUI*>(field->GetParent()->GetInterface("Container"))
                                   : nullptr;
    const int at = row ? row->GetItemIndex(field) : -1;
    CControlUI* before = at > 0 ? row->GetItemAt(at - 1) : nullptr;
    if (!before || !before->GetInterface("Label") || before->GetInterface("Edit")) return nullptr;
    return before;
}

std::string Quoted(const std::string& action) {
    return "\"" + HotkeyTable::LocalDisplayName(action) + "\"";
}
}  // namespace

void CSettingsWnd::SetHotkeys(HotkeyBindings* hotkeys) {
    m_hotkeys = hotkeys;
    if (m_hotkeys) m_hotkeys->BeginEdit();
}

// ---- filling ---------------------------------------------------------------------

void CSettingsWnd::FillControls() {
    SetControlText(kSeekEdit, "00:00:00");
    FillEffects(nullptr);
    FillPreferences(nullptr);
    FillHotkeys();
}

void CSettingsWnd::FillEffects(const SettingsValues* before) {
    const SettingsValues& v = m_values;
    // Fields the user types into keep what was typed unless their value moved.
    if (!before || before->cropGeometry != v.cropGeometry) {
        const CropFields crop = SplitCropGeometry(v.cropGeometry);
        const std::string* parts[] = {&crop.width, &crop.height, &crop.x, &crop.y};
        for (int i = 0; i < 4; ++i) SetControlText(kCropEdits[i], *parts[i]);
    }
    if (!before || before->snapshotFolder != v.snapshotFolder)
        SetControlText(kSnapFolderEdit, v.snapshotFolder);
    SetControlText("ID_EFFECT_SNAP_WIDTH", Decimal(v.snapshotWidth));
    SetControlText("ID_EFFECT_SNAP_HEIGHT", Decimal(v.snapshotHeight));
    const int colours[5] = {v.brightness, v.saturation, v.contrast, v.hue, v.gamma};
    for (const ColourSliderRow& row : ColourSliders())
        SetSliderValue(row.control, ColourSlider(colours[row.kind - 1]));
    SetSliderValue(kSpeedSlider, SliderFromSpeed(v.speed));
    SetSliderValue("ID_EFFECT_AUDIO_BALANCE", v.balance);
    SetSliderValue("ID_EFFECT_SUBTITLE_POSITION", v.subtitlePosition);
    for (const ChoiceOption& row : kChoiceOptions) {
        const bool ratio = std::strcmp(row.note, "settings_setratio") == 0;
        SelectOption(row.option, static_cast<int>(row.value) == (ratio ? v.aspectChoice : v.osdLevel));
    }
}

void CSettingsWnd::FillPreferences(const PlayerPreferences* before) {
    const PlayerPreferences& p = m_values.preferences;
    // With a previous record, only what differs from it is shown anew.
    for (const OptionGroupRows& group : PreferenceOptions()) {
        const int value = OptionOf(p, group.group);
        if (before && OptionOf(*before, group.group) == value) continue;
        for (const OptionValue& o : group.options) SelectOption(o.control, o.value == value);
    }
    for (const SwitchRow& row : PreferenceSwitches()) {
        if (before && (*before).*row.member == p.*row.member) continue;
        SelectOption(row.control, p.*row.member);
    }
    for (const ComboRow& row : PreferenceCombos()) {
        if (before && (*before).*row.member == p.*row.member) continue;
        if (auto* combo = Find<uilib::CComboUI>(this, row.control, "Combo")) combo->SelectItem(p.*row.member);
    }
    if (!before || before->maxAmplification != p.maxAmplification)
        SetControlText(kAmplificationEdit, Decimal(p.maxAmplification));
    auto* encodings = Find<uilib::CComboUI>(this, kEncodingCombo, "Combo");
    if (encodings && (!before || before->subtitleEncoding != p.subtitleEncoding)) {
        for (int i = 0; i < encodings->GetCount(); ++i) {
            if (EncodingOfItem(encodings->GetItemAt(i)->GetText()) == p.subtitleEncoding) {
                encodings->SelectItem(i);
                break;
            }
        }
    }
}

void CSettingsWnd::FillHotkeys() {
    if (!m_hotkeys) return;
    const HotkeyTable& live = m_hotkeys->Live();
    for (const HotkeyAction& row : HotkeyTable::Actions()) {
        auto* field = Find<CHotKeyUI>(this, row.control, "HotKey");
        if (!field) continue;
        // The same words name the action here and in the question about a taken key.
        if (CControlUI* label = LabelBefore(field)) label->SetText(HotkeyTable::LocalDisplayName(row.name).c_str());
        field->SetEditTable(&m_hotkeys->Edit());
        const std::string text = CodeToText(live, row.name);
        // A field whose action is missing from the table has none: every key in use
        // then counts as taken.
        field->SetText(text.c_str());
        field->SetAction(text.empty() ? std::string() : std::string(row.name));
        // A key that runs more than one action (a settings file written by hand) is
        // shown as such, not hidden.
        std::string others;
        if (!text.empty()) {
            for (const std::string& action : ActionsBoundTo(live, live.Code(row.name))) {
                if (action != row.name) others += (others.empty() ? "" : ", ") + Quoted(action);
            }
        }
        if (!m_fieldColours.count(row.control)) m_fieldColours[row.control] = field->GetTextColor();
        field->SetTextColor(others.empty() ? m_fieldColours[row.control] : kSharedKeyColour);
        field->SetToolTip(others.empty() ? "" : LocalString(51, "This key also runs %s", others).c_str());
    }
}

void CSettingsWnd::Refresh(const SettingsValues& now) {
    const SettingsValues before = m_values;
    m_values = now;
    FillEffects(&before);
    FillPreferences(&before.preferences);
}

// ---- notifications ---------------------------------------------------------------

void CSettingsWnd::Notify(uilib::TNotifyUI& msg) {
    if (!IsOwnControl(msg.pSender)) return;
    const std::string type = msg.sType;
    if (type == "windowinit") return FillControls();
    const std::string name = msg.pSender->GetName();
    if (type == "click") return OnClick(name);
    if (type == "selectchanged") return OnSelect(name);
    if (type == "settings_hotkeywnd_conflict")
        return SendWindowNotify("settings_hotkeywnd_conflict", msg.wParam, msg.lParam);
    // The adjustment sliders report every move of a drag; the speed only its end.
    const bool programSlider = msg.pSender->GetInterface("SliderEx") != nullptr;
    if ((type == "valuechangebegin" && programSlider) || (type == "valuechanged" && !programSlider))
        return OnSlider(msg.pSender, static_cast<int>(msg.wParam), true);
    if (type == "valuechangeend") return OnSlider(msg.pSender, static_cast<int>(msg.wParam), false);
}

bool CSettingsWnd::AnswerEscape() {
    OnClick("ID_CLOSE_BUTTON");
    return true;
}

void CSettingsWnd::OnClick(const std::string& name) {
    for (const FixedNote& row : kFixedNotes)
        if (name == row.button) return SendWindowNotify(row.note, row.wParam);
    for (const SyncButton& row : kSyncButtons) {
        if (name != row.button) continue;
        const int step = std::max(0, SelectedIndex(row.combo));
        return SendWindowNotify(row.note, static_cast<WPARAM>(row.direction), step);
    }
    for (const ColourPreset& preset : ColourPresets())
        if (name == preset.button) return SetColourSliders(preset.sliders, true);
    if (name == "ID_SEEKTIME_GOTO_BUTTON") return GoToTime();
    if (name == "ID_EFFECT_CROP_APPLY") return SendCrop(false);
    if (name == "ID_EFFECT_CROP_RESET") return SendCrop(true);
    if (name == "ID_EFFECT_SNAP_SNAP_FRAME" || name == "ID_EFFECT_SNAP_SNAP_FRAME_STOP") {
        // One button starts capturing every frame, the other stops it: one shows at a time.
        const bool starting = name == "ID_EFFECT_SNAP_SNAP_FRAME";
        ShowControl("ID_EFFECT_SNAP_SNAP_FRAME", !starting);
        ShowControl("ID_EFFECT_SNAP_SNAP_FRAME_STOP", starting);
        return SendWindowNotify("settings_snap", 1);
    }
    if (name == "ID_EFFECT_PLAY_PLAYSPEED_RESET_BUTTON") {
        SetSliderValue(kSpeedSlider, 25);
        m_values.speed = 1.0f;
        return SendWindowNotify("settings_playspeed", reinterpret_cast<WPARAM>(&m_values.speed));
    }
    if (name == "ID_EFFECT_AUDIO_BALANCE_RESET_BUTTON") {
        SetSliderValue("ID_EFFECT_AUDIO_BALANCE", 50);
        m_values.balance = 50;
        return SendWindowNotify("settings_changeaudiobalance", 50);
    }
    if (name == "ID_EFFECT_COLOR_RESET_BUTTON") {
        const int middle[5] = {50, 50, 50, 50, 50};
        SetColourSliders(middle, false);
        return SendWindowNotify("settings_changecolor", 0, 0);
    }
    if (name == "ID_PLAYER_SNAP_PATH_BUTTON") return ChooseSnapshotFolder();
    if (name == "ID_PLAYER_APPLY") return ApplyPreferences(false);
    // Everything the user set up goes at once: ask first.
    if (name == "ID_PLAYER_RESET") return SendWindowNotify("settings_askrestoredefaults");
}

void CSettingsWnd::RestoreDefaults() { ApplyPreferences(true); }

void CSettingsWnd::OnSlider(CControlUI* slider, int value, bool dragging) {
    const std::string name = slider->GetName();
    if (!dragging) {
        if (name != kSpeedSlider) return;
        m_values.speed = SpeedFromSlider(value);
        return SendWindowNotify("settings_playspeed", reinterpret_cast<WPARAM>(&m_values.speed));
    }
    for (const ColourSliderRow& row : ColourSliders()) {
        if (name == row.control) return SendWindowNotify("settings_changecolor", value, row.kind);
    }
    if (name == "ID_EFFECT_AUDIO_BALANCE") {
        m_values.balance = value;
        return SendWindowNotify("settings_changeaudiobalance", value);
    }
    if (name == "ID_EFFECT_SUBTITLE_POSITION") {
        m_values.subtitlePosition = value;
        return SendWindowNotify("settings_changesubtitleposition", value);
    }
}

void CSettingsWnd::OnSelect(const std::string& name) {
    for (const ChoiceOption& row : kChoiceOptions) {
        if (name != row.option) continue;
        auto* option = Find<uilib::COptionUI>(this, row.option, "Option");
        if (option && option->IsSelected()) SendWindowNotify(row.note, row.value);
        return;
    }
    auto selected = [this](const char* option) {
        auto* o = Find<uilib::COptionUI>(this, option, "Option");
        return o && o->IsSelected();
    };
    if (name == "ID_EFFECT" && selected("ID_EFFECT")) {
        SelectPage("ID_SETTINGS_TAB", "ID_SETTINGS_EFFECT");
        SelectPage("ID_EFFECT_TAB", std::string());
        return;
    }
    if (name == "ID_PLAYER" && selected("ID_PLAYER")) {
        SelectPage("ID_SETTINGS_TAB", "ID_SETTINGS_PLAYER");
        SelectPage("ID_PLAYER_TAB", std::string());
        return;
    }
    for (const PageRow& row : PageButtons()) {
        if (name == row.option && selected(row.option)) return SelectPage(row.tab, row.page);
    }
}

void CSettingsWnd::ShowPlayerPage() {
    SelectPage("ID_SETTINGS_TAB", "ID_SETTINGS_PLAYER");
    if (auto* effect = Find<uilib::COptionUI>(this, "ID_EFFECT", "Option")) effect->Selected(false, false);
    if (auto* player = Find<uilib::COptionUI>(this, "ID_PLAYER", "Option")) player->Selected(true, false);
}

bool CSettingsWnd::OnPlayerPage() const {
    uilib::CControlUI* tab = FindControl("ID_SETTINGS_TAB");
    auto* layout = tab ? static_cast<uilib::CTabLayoutUI*>(tab->GetInterface("TabLayout")) : nullptr;
    uilib::CControlUI* player = FindControl("ID_SETTINGS_PLAYER");
    return layout && player && layout->GetItemIndex(player) == layout->GetCurSel();
}

// ---- the actions -----------------------------------------------------------------

void CSettingsWnd::GoToTime() {
    CControlUI* edit = FindControl(kSeekEdit);
    if (!edit) return;
    const std::optional<int> seconds = ParseSeekTime(edit->GetText());
    if (seconds) return SendWindowNotify("settings_seektime", static_cast<WPARAM>(*seconds));
    SendWindowNotify("settings_seektimeincorrect");
    SetControlText(kSeekEdit, "00:00:00");
}

void CSettingsWnd::SendCrop(bool reset) {
    if (reset) {
        SendWindowNotify("settings_crop", 0);
        const std::string values[4] = {Decimal(m_values.videoWidth), Decimal(m_values.videoHeight), "0",
                                       "0"};
        for (int i = 0; i < 4; ++i) SetControlText(kCropEdits[i], values[i]);
        m_values.cropGeometry = VideoCropGeometry(m_values.videoWidth, m_values.videoHeight);
        return;
    }
    CropFields fields;
    std::string* parts[] = {&fields.width, &fields.height, &fields.x, &fields.y};
    for (int i = 0; i < 4; ++i) {
        if (CControlUI* edit = FindControl(kCropEdits[i])) *parts[i] = edit->GetText();
    }
    const std::string filter = CropFilterText(fields);
    SendWindowNotify("settings_crop", reinterpret_cast<WPARAM>(filter.c_str()));
}

void CSettingsWnd::SetColourSliders(const int sliders[5], bool send) {
    for (const ColourSliderRow& row : ColourSliders()) {
        const int value = sliders[row.kind - 1];
        SetSliderValue(row.control, value);
        if (send) SendWindowNotify("settings_changecolor", value, row.kind);
    }
    int* values[5] = {&m_values.brightness, &m_values.saturation, &m_values.contrast, &m_values.hue,
                      &m_values.gamma};
    for (int i = 0; i < 5; ++i) *values[i] = ColourValue(sliders[i]);
}

void CSettingsWnd::ChooseSnapshotFolder() {
    if (!platform::HasBackend()) return;
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Folder;
    request.title = "";
    const std::vector<std::string> chosen = platform::GetBackend().RunFileDialog(GetHWND(), request);
    if (chosen.empty() || !CSkinWindow::IsAlive(this)) return;
    m_values.snapshotFolder = chosen.front();
    SetControlText(kSnapFolderEdit, m_values.snapshotFolder);
    CControlUI* edit = FindControl(kSnapFolderEdit);
    const std::string folder = edit ? std::string(edit->GetText()) : m_values.snapshotFolder;
    SendWindowNotify("settings_snappath", reinterpret_cast<WPARAM>(&folder));
}

PlayerPreferences CSettingsWnd::ReadPreferences() const {
    PlayerPreferences p = m_values.preferences;
    for (const OptionGroupRows& group : PreferenceOptions()) {
        for (const OptionValue& o : group.options) {
            auto* option = Find<uilib::COptionUI>(this, o.control, "Option");
            if (option && option->IsSelected()) SetOption(p, group.group, o.value);
        }
    }
    for (const SwitchRow& row : PreferenceSwitches()) {
        if (auto* option = Find<uilib::COptionUI>(this, row.control, "Option"))
            p.*row.member = option->IsSelected();
    }
    for (const ComboRow& row : PreferenceCombos()) {
        const int index = SelectedIndex(row.control);
        if (index >= 0) p.*row.member = index;
    }
    if (CControlUI* edit = FindControl(kAmplificationEdit))
        p.maxAmplification = ClampAmplification(std::atoi(edit->GetText().c_str()));
    if (auto* encodings = Find<uilib::CComboUI>(this, kEncodingCombo, "Combo")) {
        if (encodings->GetCurSel() >= 0) p.subtitleEncoding = EncodingOfItem(encodings->GetText());
    }
    return p;
}

void CSettingsWnd::ApplyPreferences(bool reset) {
    if (reset) {
        m_values.preferences = DefaultPreferences();
        FillPreferences(nullptr);
        if (m_hotkeys) {
            m_hotkeys->ResetEditToDefaults();
            m_hotkeys->ApplyEdit();
            FillHotkeys();
        }
    } else {
        m_values.preferences = ReadPreferences();
        // The clamped amplification is shown as it is kept.
        SetControlText(kAmplificationEdit, Decimal(m_values.preferences.maxAmplification));
        if (m_hotkeys) {
            m_hotkeys->ApplyEdit();
            FillHotkeys();
        }
    }
    SendWindowNotify("settings_changeplayersettings", reinterpret_cast<WPARAM>(&m_values.preferences),
                     reset ? 1 : 0);
}

// ---- control helpers -------------------------------------------------------------

void CSettingsWnd::SelectPage(const char* tab, const std::string& page) {
    auto* layout = Find<uilib::CTabLayoutUI>(this, tab, "TabLayout");
    if (!layout) return;
    if (page.empty()) {
        // The same page again, so that it lays itself out anew.
        layout->SelectItem(layout->GetCurSel() < 0 ? 0 : layout->GetCurSel());
        return;
    }
    layout->SelectItem(page.c_str());
}

void CSettingsWnd::SelectOption(const char* name, bool selected) {
    if (auto* option = Find<uilib::COptionUI>(this, name, "Option")) option->Selected(selected, false);
}

void CSettingsWnd::SetSliderValue(const char* name, int value) {
    if (auto* slider = Find<uilib::CSliderUI>(this, name, "Slider")) slider->SetValue(value);
}

int CSettingsWnd::SelectedIndex(const char* combo) const {
    auto* c = Find<uilib::CComboUI>(this, combo, "Combo");
    return c ? c->GetCurSel() : -1;
}

}  // namespace orvella
