#include "ui/SettingsRules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <tuple>

#include "uilib/Base.h"

namespace orvella {

namespace {
auto Tie(const PlayerPreferences& p) {
    return std::tie(p.keepWindowSize, p.rememberLocation, p.minimizeToTray, p.pauseOnMinimize,
                    p.showOsd, p.checkForUpgrades, p.associateFiles, p.subtitlesInScreenshots,
                    p.shortFileNames, p.volumeControl, p.videoOutput, p.audioChannels,
                    p.audioMode, p.deinterlace, p.priority, p.decoderThreads,
                    p.subtitleFuzziness, p.maxAmplification, p.subtitleEncoding);
}

// A whole decimal number, or 0 for anything else.
int NumberOrZero(const std::string& text) {
    if (text.empty()) return 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || v > 100000 || v < -100000) return 0;
    return static_cast<int>(v);
}
}  // namespace

bool PlayerPreferences::operator==(const PlayerPreferences& o) const { return Tie(*this) == Tie(o); }

PlayerPreferences DefaultPreferences() { return PlayerPreferences(); }

PreferenceEffects EffectsOfChange(const PlayerPreferences& a, const PlayerPreferences& b) {
    PreferenceEffects e;
    e.osdChanged = a.showOsd != b.showOsd;
    e.associationChanged = a.associateFiles != b.associateFiles;
    // The amplification counts only while the software volume uses it.
    const bool amplification =
        b.volumeControl && a.maxAmplification != b.maxAmplification;
    e.restartEngine = amplification || a.volumeControl != b.volumeControl ||
                      a.videoOutput != b.videoOutput || a.audioChannels != b.audioChannels ||
                      a.audioMode != b.audioMode ||
                      a.subtitlesInScreenshots != b.subtitlesInScreenshots ||
                      a.subtitleFuzziness != b.subtitleFuzziness ||
                      a.subtitleEncoding != b.subtitleEncoding || a.priority != b.priority ||
                      a.decoderThreads != b.decoderThreads || a.deinterlace != b.deinterlace;
    return e;
}

std::optional<int> ParseSeekTime(const std::string& text) {
    static const std::regex pattern(R"((\d{1,2}):(\d{1,2}):(\d{1,2}))", std::regex::ECMAScript);
    std::smatch m;
    if (text.empty() || !std::regex_match(text, m, pattern)) return std::nullopt;
    return std::stoi(m[1]) * 3600 + std::stoi(m[2]) * 60 + std::stoi(m[3]);
}

CropFields SplitCropGeometry(const std::string& geometry) {
    CropFields f;
    const size_t x = geometry.find('x');
    if (x == std::string::npos) return f;
    f.width = geometry.substr(0, x);
    const size_t plus1 = geometry.find('+', x + 1);
    f.height = geometry.substr(x + 1, plus1 == std::string::npos ? std::string::npos : plus1 - x - 1);
    if (plus1 == std::string::npos) return f;
    const size_t plus2 = geometry.find('+', plus1 + 1);
    f.x = geometry.substr(plus1 + 1,
                          plus2 == std::string::npos ? std::string::npos : plus2 - plus1 - 1);
    if (plus2 != std::string::npos) f.y = geometry.substr(plus2 + 1);
    return f;
}

std::string VideoCropGeometry(int width, int height) {
    return uilib::CStdString::Printf("%dx%d+0+0", width, height);
}

std::string CropFilterText(const CropFields& f) {
    return uilib::CStdString::Printf("%d:%d:%d:%d", NumberOrZero(f.width), NumberOrZero(f.height),
                                     NumberOrZero(f.x), NumberOrZero(f.y));
}

float SpeedFromSlider(int value) { return std::max(0.1f, static_cast<float>(value) / 25.0f); }
int SliderFromSpeed(float speed) { return static_cast<int>(speed * 25.0f); }
int ColourSlider(int value) { return (value + 100) / 2; }
int ColourValue(int slider) { return slider * 2 - 100; }
double BalanceFromSlider(int slider) { return (slider * 2 - 100) / 100.0; }
int ClampAmplification(int percent) { return std::clamp(percent, 10, 1000); }

std::string EncodingOfItem(const std::string& itemText) {
    return itemText.substr(0, itemText.find('('));
}

const std::vector<ColourSliderRow>& ColourSliders() {
    static const std::vector<ColourSliderRow> rows = {
        {"ID_EFFECT_COLOR_BRIGHTNESS", 1}, {"ID_EFFECT_COLOR_SATURATION", 2},
        {"ID_EFFECT_COLOR_CONTRAST", 3},   {"ID_EFFECT_COLOR_HUE", 4},
        {"ID_EFFECT_COLOR_GAMMA", 5},
    };
    return rows;
}

const std::vector<ColourPreset>& ColourPresets() {
    static const std::vector<ColourPreset> rows = {
        {"ID_EFFECT_COLOR_SOFT_BUTTON", {45, 45, 50, 50, 50}},
        {"ID_EFFECT_COLOR_BRIGHT_BUTTON", {70, 60, 50, 50, 50}},
    };
    return rows;
}

const std::vector<OptionGroupRows>& PreferenceOptions() {
    static const std::vector<OptionGroupRows> rows = {
        {OptionGroup::VideoOutput,
         {{"ID_PLAYER_VIDEO_FORAMT_DEFAULT", 0},
          {"ID_PLAYER_VIDEO_FORAMT_GL", 1},
          {"ID_PLAYER_VIDEO_FORAMT_GL2", 2},
          {"ID_PLAYER_VIDEO_FORAMT_DIRECTX", 3},
          {"ID_PLAYER_VIDEO_FORAMT_DIRECTX_NOACCEL", 4},
          {"ID_PLAYER_VIDEO_FORAMT_DIRECT3D", 5}}},
        {OptionGroup::Deinterlace,
         {{"ID_PLAYER_VIDEO_DEINTERLEAVE_NO", 0},
          {"ID_PLAYER_VIDEO_DEINTERLEAVE_LINEAR", 4},
          {"ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF", 7},
          {"ID_PLAYER_VIDEO_DEINTERLEAVE_YADIF2", 8},
          {"ID_PLAYER_VIDEO_DEINTERLEAVE_LOWPASS5", 9},
          {"ID_PLAYER_VIDEO_DEINTERLEAVE_KERNDEINT", 11}}},
        {OptionGroup::FileMode, {{"ID_PLAYER_FILE_AUTO_FIX", 0}, {"ID_PLAYER_FILE_NO_CHANGE", 1}}},
        {OptionGroup::AudioChannels,
         {{"ID_PLAYER_AUDIO_DEVICE_STEREO", 0},
          {"ID_PLAYER_AUDIO_DEVICE_4_0", 1},
          {"ID_PLAYER_AUDIO_DEVICE_5_1", 2}}},
        {OptionGroup::AudioMode,
         {{"ID_PLAYER_AUDIO_MODE_STEREO", 0},
          {"ID_PLAYER_AUDIO_MODE_LEFT", 1},
          {"ID_PLAYER_AUDIO_MODE_RIGHT", 2}}},
    };
    return rows;
}

int OptionOf(const PlayerPreferences& p, OptionGroup group) {
    switch (group) {
    case OptionGroup::VideoOutput: return p.videoOutput;
    case OptionGroup::Deinterlace: return p.deinterlace;
    case OptionGroup::FileMode: return p.keepWindowSize ? 1 : 0;
    case OptionGroup::AudioChannels: return p.audioChannels;
    case OptionGroup::AudioMode: return p.audioMode;
    }
    return 0;
}

void SetOption(PlayerPreferences& p, OptionGroup group, int value) {
    switch (group) {
    case OptionGroup::VideoOutput: p.videoOutput = value; break;
    case OptionGroup::Deinterlace: p.deinterlace = value; break;
    case OptionGroup::FileMode: p.keepWindowSize = value == 1; break;
    case OptionGroup::AudioChannels: p.audioChannels = value; break;
    case OptionGroup::AudioMode: p.audioMode = value; break;
    }
}

const std::vector<SwitchRow>& PreferenceSwitches() {
    using P = PlayerPreferences;
    static const std::vector<SwitchRow> rows = {
        {"ID_PLAYER_SYSTEM_TRAY", &P::minimizeToTray},
        {"ID_PLAYER_SYSTEM_PAUSE", &P::pauseOnMinimize},
        {"ID_PLAYER_CHECKFOR_SHOW_OSD", &P::showOsd},
        {"ID_PLAYER_AUDIO_VOLUME_CONTROL", &P::volumeControl},
        {"ID_PLAYER_CHECKFOR_UPGRADES", &P::checkForUpgrades},
        {"ID_PLAYER_FILE_REMEMBER_LOCATION", &P::rememberLocation},
        {"ID_PLAYER_FILE_ASSOCIATE", &P::associateFiles},
        {"ID_PLAYER_SUBTITLE_TAB_INCLUDE_TO_SNAP", &P::subtitlesInScreenshots},
        {"ID_PLAYER_SYSTEM_SHORTNAME", &P::shortFileNames},
    };
    return rows;
}

const std::vector<ComboRow>& PreferenceCombos() {
    using P = PlayerPreferences;
    static const std::vector<ComboRow> rows = {
        {"ID_PLAYER_SUBTITLE_TAB_FUZZINESS_COMBO", &P::subtitleFuzziness},
        {"ID_PLAYER_SYSTEM_PRIORITY_COMBO", &P::priority},
        {"ID_PLAYER_SYSTEM_THREAD_COMBO", &P::decoderThreads},
    };
    return rows;
}

const std::vector<PageRow>& PageButtons() {
    static const std::vector<PageRow> rows = [] {
        std::vector<PageRow> r;
        auto add = [&r](const char* tab, std::initializer_list<const char*> options) {
            for (const char* o : options) r.push_back({o, tab, std::string(o) + "_TAB"});
        };
        add("ID_EFFECT_TAB", {"ID_EFFECT_PLAY", "ID_EFFECT_SIZE", "ID_EFFECT_COLOR", "ID_EFFECT_AUDIO",
                              "ID_EFFECT_SUBTITLE", "ID_EFFECT_CROP", "ID_EFFECT_SNAP"});
        add("ID_PLAYER_TAB", {"ID_PLAYER_FILE", "ID_PLAYER_SYSTEM", "ID_PLAYER_VIDEO", "ID_PLAYER_AUDIO",
                              "ID_PLAYER_OTHERS", "ID_PLAYER_SUBTITLE", "ID_PLAYER_HOTKEY"});
        add("ID_PLAYER_HOTKEY_TAB_TAB",
            {"ID_PLAYER_HOTKEY_PLAY", "ID_PLAYER_HOTKEY_VIDEO", "ID_PLAYER_HOTKEY_AUDIO",
             "ID_PLAYER_HOTKEY_FILE", "ID_PLAYER_HOTKEY_OTHERS", "ID_PLAYER_HOTKEY_SUBTITLE"});
        return r;
    }();
    return rows;
}

}  // namespace orvella
