// The settings window: the picture, sound and subtitle adjustments of what plays (they
// apply at once) and the player's preferences with the hotkey editor (they apply with
// the Apply button). It never commands the engine itself: every change goes to the main
// window as a notification named settings_..., which applies it.
#pragma once

#include <map>
#include <string>

#include "hotkeys/HotkeyBindings.h"
#include "ui/SettingsRules.h"
#include "ui/SkinWindow.h"

namespace orvella {

class CSettingsWnd : public CSkinWindow {
public:
    CSettingsWnd() : CSkinWindow("settings.xml", true) {}

    const char* GetWindowClassName() const override { return "UISettingsWnd"; }
    const char* GetWindowTitle() const override { return "Settings"; }

    // Given right after creation, before the controls are filled. The hotkeys' edit
    // copy is made from the live table here.
    void SetValues(const SettingsValues& values) { m_values = values; }
    void SetHotkeys(HotkeyBindings* hotkeys);
    const SettingsValues& Values() const { return m_values; }

    // The player's page (and its last sub-page) instead of the effects.
    void ShowPlayerPage();
    bool OnPlayerPage() const;
    // The values changed elsewhere (a menu, a key): the controls showing them follow.
    // Preferences edited here and not applied yet stay as the user left them, unless
    // the same preference changed.
    void Refresh(const SettingsValues& now);
    // Every preference and every key back to its default, applied at once (after the
    // user said yes to the question the reset button asks).
    void RestoreDefaults();

    void Notify(uilib::TNotifyUI& msg) override;

    // As the close button: what was not applied is dropped.
    bool AnswerEscape() override;

private:
    void FillControls();
    void FillEffects(const SettingsValues* before);
    void FillPreferences(const PlayerPreferences* before);
    void FillHotkeys();
    void OnClick(const std::string& name);
    void OnSlider(uilib::CControlUI* slider, int value, bool dragging);
    void OnSelect(const std::string& name);
    void GoToTime();
    void SendCrop(bool reset);
    void SetColourSliders(const int sliders[5], bool send);
    void ChooseSnapshotFolder();
    void ApplyPreferences(bool reset);
    PlayerPreferences ReadPreferences() const;
    void SelectPage(const char* tab, const std::string& page);
    void SelectOption(const char* name, bool selected);
    void SetSliderValue(const char* name, int value);
    int SelectedIndex(const char* combo) const;

    SettingsValues m_values;
    HotkeyBindings* m_hotkeys = nullptr;
    std::map<std::string, DWORD> m_fieldColours;  // each hotkey field's own text colour
};

}  // namespace orvella
