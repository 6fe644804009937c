#include "app/SettingsEffects.h"

#include <cmath>
#include <cstdio>

#include "app/ChildWindows.h"
#include "app/FileAssociations.h"
#include "app/DisplayModes.h"
#include "app/NotBuiltYet.h"
#include "app/PlaybackControl.h"
#include "hotkeys/HotkeyBindings.h"
#include "library/PlayerSettings.h"
#include "app/StartupRules.h"
#include "ui/QuestionTexts.h"
#include "ui/SettingsWnd.h"
#include "uilib/Control.h"

namespace orvella {

namespace {
// The steps of the sync buttons by the step chosen in their lists.
const float kAudioSteps[] = {0.1f, 0.5f, 1.0f};
const float kSubtitleSteps[] = {0.1f, 1.0f, 10.0f};

// The settings window's notifications; its size and aspect buttons share the top bar's
// notifications, which the main window applies itself.
enum class Note {
    SeekTime, SeekTimeIncorrect, Conflict, Crop, Snap, PlaySpeed, Balance, ChangeColour,
    AudioSync, SubtitleSync, SubtitleFont, SubtitlePosition, SnapPath, PlayerSettings,
    OsdLevel, AskRestoreDefaults,
};
const struct {
    const char* name;
    Note note;
} kNotes[] = {
    {"settings_seektime", Note::SeekTime},
    {"settings_seektimeincorrect", Note::SeekTimeIncorrect},
    {"settings_hotkeywnd_conflict", Note::Conflict},
    {"settings_crop", Note::Crop},
    {"settings_snap", Note::Snap},
    {"settings_playspeed", Note::PlaySpeed},
    {"settings_changeaudiobalance", Note::Balance},
    {"settings_changecolor", Note::ChangeColour},
    {"settings_audiosyncchange", Note::AudioSync},
    {"settings_subtitlesyncchange", Note::SubtitleSync},
    {"settings_subtitlefontchange", Note::SubtitleFont},
    {"settings_changesubtitleposition", Note::SubtitlePosition},
    {"settings_snappath", Note::SnapPath},
    {"settings_changeplayersettings", Note::PlayerSettings},
    {"settings_osdlevel", Note::OsdLevel},
    {"settings_askrestoredefaults", Note::AskRestoreDefaults},
};

// The colour kinds of the window (1-5) as the engine's picture properties.
const VideoAdjust kColourKinds[] = {VideoAdjust::Brightness, VideoAdjust::Saturation,
                                    VideoAdjust::Contrast, VideoAdjust::Hue, VideoAdjust::Gamma};
}  // namespace

PlayerPreferences PreferencesOf(const PlayerSettings& s, bool subtitlesInScreenshots) {
    PlayerPreferences p;
    p.keepWindowSize = s.keepsize;
    p.rememberLocation = s.savelocation;
    p.minimizeToTray = s.minimizetosystemtray;
    p.pauseOnMinimize = s.pausewhenminize;
    p.showOsd = s.showOSD;
    p.checkForUpgrades = s.checkforupgrades;
    p.associateFiles = s.associate;
    p.subtitlesInScreenshots = subtitlesInScreenshots;
    p.shortFileNames = s.useshortname;
    p.volumeControl = s.usesoftwarevolume;
    p.videoOutput = s.videoformat;
    p.audioChannels = SpeakerLayout(s);
    p.audioMode = s.audiomode;
    p.deinterlace = s.deinterleave;
    p.priority = s.playerpriority;
    p.decoderThreads = s.decodethread;
    p.subtitleFuzziness = s.subtitlefuzziness;
    p.maxAmplification = s.maxamplification;
    p.subtitleEncoding = s.subtitleencode;
    return p;
}

void StorePreferences(const PlayerPreferences& p, PlayerSettings& s) {
    s.keepsize = p.keepWindowSize;
    s.savelocation = p.rememberLocation;
    s.minimizetosystemtray = p.minimizeToTray;
    s.pausewhenminize = p.pauseOnMinimize;
    s.showOSD = p.showOsd;
    s.checkforupgrades = p.checkForUpgrades;
    s.associate = p.associateFiles;
    s.useshortname = p.shortFileNames;
    s.usesoftwarevolume = p.volumeControl;
    s.videoformat = p.videoOutput;
    ChooseSpeakerLayout(s, p.audioChannels);
    s.audiomode = p.audioMode;
    s.deinterleave = p.deinterlace;
    s.playerpriority = p.priority;
    s.decodethread = p.decoderThreads;
    s.subtitlefuzziness = p.subtitleFuzziness;
    s.maxamplification = p.maxAmplification;
    s.subtitleencode = p.subtitleEncoding;
}

void ChooseOsdLevel(int level, PlayerSettings& settings, CSlaveCommands& slave) {
    if (level < 0 || level > 3) return;
    // Level 0 is the display switched off; any other level switches it on.
    settings.showOSD = level > 0;
    if (level > 0) settings.osdlevel = level;
    slave.Send(slave::OsdLevel(level));
}

SettingsValues SettingsEffects::CurrentValues() const {
    SettingsValues v;
    v.preferences = PreferencesOf(m_settings, m_playback.SubtitlesInScreenshots());
    const SlaveState& state = m_playback.Slave().State();
    v.speed = state.speed;
    v.brightness = state.brightness;
    v.saturation = state.saturation;
    v.contrast = state.contrast;
    v.hue = state.hue;
    v.gamma = state.gamma;
    v.balance = static_cast<int>(std::lround(state.balance * 50.0 + 50.0));
    v.subtitlePosition = state.subtitlePosition;
    v.aspectChoice = m_display.State().aspectChoice;
    v.osdLevel = EffectiveOsdLevel(m_settings);
    const MediaInfo& media = m_playback.Media();
    v.snapshotWidth = media.displayWidth;
    v.snapshotHeight = media.displayHeight;
    v.videoWidth = media.videoWidth;
    v.videoHeight = media.videoHeight;
    v.snapshotFolder = m_settings.snappath;
    // The crop fields show the crop that applies, else the whole picture while it plays.
    const std::string& crop = m_playback.CropText();
    if (!crop.empty()) {
        int w = 0, h = 0, x = 0, y = 0;
        if (std::sscanf(crop.c_str(), "%d:%d:%d:%d", &w, &h, &x, &y) == 4)
            v.cropGeometry = uilib::CStdString::Printf("%dx%d+%d+%d", w, h, x, y);
    } else if (m_playback.IsEngineRunning()) {
        v.cropGeometry = VideoCropGeometry(media.videoWidth, media.videoHeight);
    }
    return v;
}

void SettingsEffects::Open(bool playerPage) {
    CSettingsWnd* window = m_dialogs.OpenSettings(CurrentValues(), &m_hotkeys);
    if (!window) return;
    DisableNotBuiltControls(window->PaintManager());
    if (playerPage) window->ShowPlayerPage();
}

void SettingsEffects::Refresh() {
    if (CSettingsWnd* window = m_dialogs.Settings()) window->Refresh(CurrentValues());
}

bool SettingsEffects::OnNotification(const uilib::TNotifyUI& msg) {
    const WPARAM w = msg.wParam;
    const LPARAM l = msg.lParam;
    CSlaveCommands& slave = m_playback.Slave();
    for (const auto& row : kNotes) {
        if (msg.sType != row.name) continue;
        switch (row.note) {
        case Note::SeekTime: SeekTo(w); break;
        case Note::SeekTimeIncorrect: Ask(2); break;
        case Note::Conflict: AskAboutTakenKey(w); break;
        case Note::Crop: Crop(w); break;
        case Note::Snap: m_playback.TakeScreenshot(w == 1 ? 1 : 0); break;
        case Note::PlaySpeed:
            if (w) slave.SpeedSet(*reinterpret_cast<const float*>(w));
            break;
        case Note::Balance: slave.Balance(BalanceFromSlider(static_cast<int>(w))); break;
        case Note::ChangeColour: ChangeColour(w, l); break;
        case Note::AudioSync: ChangeDelay(false, w, l); break;
        case Note::SubtitleSync: ChangeDelay(true, w, l); break;
        case Note::SubtitleFont: ChangeSubtitleFont(w); break;
        case Note::SubtitlePosition: slave.SubPosAt(static_cast<int>(w)); break;
        case Note::SnapPath: SetSnapshotFolder(w); break;
        case Note::PlayerSettings: ApplyPreferences(w); break;
        case Note::OsdLevel: ChooseOsdLevel(static_cast<int>(w), m_settings, slave); break;
        case Note::AskRestoreDefaults: Ask(kRestoreDefaultsQuestion); break;
        }
        return true;
    }
    return false;
}

void SettingsEffects::AskAboutTakenKey(WPARAM action) {
    // The user knows the action by its label in the window, not by its settings name.
    const std::string name = action ? *reinterpret_cast<const std::string*>(action) : std::string();
    Ask(3, HotkeyTable::LocalDisplayName(name));
}

void SettingsEffects::Ask(int kind, const std::string& detail) {
    // Asked on the settings window's behalf: the question stands over it, not behind it.
    CSettingsWnd* window = m_dialogs.Settings();
    m_dialogs.AskQuestion(kind, detail, window ? window->GetHWND() : nullptr);
}

void SettingsEffects::RestoreDefaults() {
    if (CSettingsWnd* window = m_dialogs.Settings()) window->RestoreDefaults();
}

void SettingsEffects::SeekTo(WPARAM seconds) {
    m_playback.SeekToTime(static_cast<double>(seconds));
}

void SettingsEffects::Crop(WPARAM filterText) {
    m_playback.SetCropText(filterText ? reinterpret_cast<const char*>(filterText) : "");
    // The filter applies from the next start, which goes on where this one is.
    m_playback.RestartEngine();
}

void SettingsEffects::ChangeColour(WPARAM value, LPARAM kind) {
    CSlaveCommands& slave = m_playback.Slave();
    if (kind == 0) {
        for (VideoAdjust which : kColourKinds) slave.Adjust(which, 0, true);
        return;
    }
    if (kind < 1 || kind > 5) return;
    slave.Adjust(kColourKinds[kind - 1], ColourValue(static_cast<int>(value)), true);
}

void SettingsEffects::ChangeDelay(bool subtitle, WPARAM direction, LPARAM step) {
    const DelayKind kind = subtitle ? DelayKind::Subtitle : DelayKind::Audio;
    const int sign = static_cast<int>(static_cast<long>(direction));
    if ((sign != 1 && sign != -1) || step < 0 || step > 2) {
        m_playback.Slave().Delay(kind, 0.0f, true);
        return;
    }
    const float seconds = (subtitle ? kSubtitleSteps : kAudioSteps)[step];
    m_playback.Slave().Delay(kind, sign * seconds, false);
}

void SettingsEffects::ChangeSubtitleFont(WPARAM direction) {
    // One step larger or smaller, as the menu's; anything else is back to the starting size.
    const long sign = static_cast<long>(direction);
    m_playback.Slave().StepSubtitleScale(sign == 1 || sign == -1 ? static_cast<int>(sign) : 0);
}

void SettingsEffects::SetSnapshotFolder(WPARAM folder) {
    if (!folder) return;
    const std::string& path = *reinterpret_cast<const std::string*>(folder);
    if (path.empty()) return;
    m_settings.snappath = path;
    MakeFolders(path);
}

void SettingsEffects::ApplyPreferences(WPARAM record) {
    if (!record) return;
    const PlayerPreferences& after = *reinterpret_cast<const PlayerPreferences*>(record);
    const PlayerPreferences before = PreferencesOf(m_settings, m_playback.SubtitlesInScreenshots());
    StorePreferences(after, m_settings);
    m_playback.SetSubtitlesInScreenshots(after.subtitlesInScreenshots);
    const PreferenceEffects effects = EffectsOfChange(before, after);
    if (effects.osdChanged) m_playback.Slave().Send(slave::OsdLevel(EffectiveOsdLevel(m_settings)));
    if (effects.associationChanged) SwitchFileAssociations(after.associateFiles, m_dataFolder);
    if (effects.restartEngine) m_playback.RestartEngine();
}

}  // namespace orvella
