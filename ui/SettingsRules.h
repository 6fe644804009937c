// What the settings window computes and which of its controls stand for which value:
// the go-to time, the crop text, the speed and colour scales, the colour presets, the
// preference record with its defaults, and the tables of option buttons and check boxes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvella {

// The preferences the window edits and hands over as one record when they are applied.
struct PlayerPreferences {
    bool keepWindowSize = true;      // false: fit the window to each new video
    bool rememberLocation = true;    // resume files where they were left
    bool minimizeToTray = true;
    bool pauseOnMinimize = true;
    bool showOsd = true;
    bool checkForUpgrades = true;
    bool associateFiles = true;
    bool subtitlesInScreenshots = true;
    bool shortFileNames = false;     // kept for the settings file; no meaning here
    bool volumeControl = true;       // software volume with amplification
    int videoOutput = 5;
    int audioChannels = 0;           // 0 stereo, 1 four channels, 2 5.1
    int audioMode = 0;               // 0 stereo, 1 left, 2 right
    int deinterlace = 0;
    int priority = 2;                // index into the priority list
    int decoderThreads = 0;          // index into the thread list
    int subtitleFuzziness = 0;
    int maxAmplification = 100;      // 10-1000 %
    std::string subtitleEncoding = "UTF-16";

    bool operator==(const PlayerPreferences& o) const;
    bool operator!=(const PlayerPreferences& o) const { return !(*this == o); }
};

// The defaults the reset button gives.
PlayerPreferences DefaultPreferences();

// What applying a new record must do to the running player.
struct PreferenceEffects {
    bool osdChanged = false;        // send the engine's "osd" switch
    bool associationChanged = false;
    bool restartEngine = false;     // an option the engine reads only at launch changed
};
PreferenceEffects EffectsOfChange(const PlayerPreferences& before, const PlayerPreferences& after);

// Everything the window shows when it opens; the main window fills it.
struct SettingsValues {
    PlayerPreferences preferences;
    float speed = 1.0f;
    int brightness = 0, saturation = 0, contrast = 0, gamma = 0, hue = 0;  // -100..100
    int aspectChoice = 0;     // 0 automatic, 3 for 4:3, 7 for 16:9
    int osdLevel = 3;
    int balance = 50;         // the balance slider, 50 the centre
    int subtitlePosition = 100;
    int snapshotWidth = 0, snapshotHeight = 0;
    int videoWidth = 0, videoHeight = 0;
    std::string snapshotFolder;
    std::string cropGeometry;  // "WxH+X+Y"
};

// "h:m:s" with one or two digits a part, nothing else: the seconds; none otherwise.
std::optional<int> ParseSeekTime(const std::string& text);

// The four crop fields of a geometry text "WxH+X+Y" (width, height, x, y), each as
// written; missing parts are empty.
struct CropFields {
    std::string width, height, x, y;
};
CropFields SplitCropGeometry(const std::string& geometry);
// The geometry of the whole video, as the crop fields start while the engine runs.
std::string VideoCropGeometry(int width, int height);
// The engine's crop filter text "w:h:x:y"; a field that is no number counts as 0.
std::string CropFilterText(const CropFields& fields);

// The speed slider reads 25 per 1.0; the slowest speed is 0.1.
float SpeedFromSlider(int value);
int SliderFromSpeed(float speed);
// A picture value (-100..100) on its 0..100 slider and back.
int ColourSlider(int value);
int ColourValue(int slider);
// The balance slider (0..100) as the engine's balance (-1..1).
double BalanceFromSlider(int slider);
int ClampAmplification(int percent);
// The code page of an encoding list item: its text up to the first "(".
std::string EncodingOfItem(const std::string& itemText);

// The colour sliders, in the kind numbers the window reports them with (1-5).
struct ColourSliderRow {
    const char* control;
    int kind;  // 1 brightness, 2 saturation, 3 contrast, 4 hue, 5 gamma
};
const std::vector<ColourSliderRow>& ColourSliders();

// A preset button and the slider positions it sets (brightness, saturation, contrast,
// hue, gamma).
struct ColourPreset {
    const char* button;
    int sliders[5];
};
const std::vector<ColourPreset>& ColourPresets();

// An option button of a group and the value it stands for.
struct OptionValue {
    const char* control;
    int value;
};
enum class OptionGroup { VideoOutput, Deinterlace, FileMode, AudioChannels, AudioMode };
struct OptionGroupRows {
    OptionGroup group;
    std::vector<OptionValue> options;
};
const std::vector<OptionGroupRows>& PreferenceOptions();
// The group's value in the record (file mode 1 means keep the window size).
int OptionOf(const PlayerPreferences& p, OptionGroup group);
void SetOption(PlayerPreferences& p, OptionGroup group, int value);

// The check boxes of the switches.
struct SwitchRow {
    const char* control;
    bool PlayerPreferences::*member;
};
const std::vector<SwitchRow>& PreferenceSwitches();

// The combos that store their selected index.
struct ComboRow {
    const char* control;
    int PlayerPreferences::*member;
};
const std::vector<ComboRow>& PreferenceCombos();

// Page buttons: the option, the tab layout, and the page it selects there.
struct PageRow {
    const char* option;
    const char* tab;
    std::string page;
};
const std::vector<PageRow>& PageButtons();

}  // namespace orvella
