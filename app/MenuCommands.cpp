#include "app/MenuCommands.h"

#include "app/SettingsEffects.h"

#include <charconv>
#include <cstring>

#include "app/ChildWindows.h"
#include "app/DisplayModes.h"
#include "app/PlaybackControl.h"
#include "app/PlayerView.h"
#include "app/PlaylistControl.h"
#include "app/SettingsEffects.h"
#include "app/StartupRules.h"
#include "engine/SlaveCommands.h"
#include "library/LocalStrings.h"
#include "library/PlayerSettings.h"
#include "playlist/Playlist.h"
#include "uilib/Base.h"

namespace orvella {

enum class MenuCommands::Action {
    DvdSubtitle, ExternalSubtitle, DvdAudio, DvdChapter, DvdTitle, OpenDisc, Language,
    OpenFilesLater, OpenFolderLater, OpenUrl, ShowAddressBar, ClearPlaylistQuestion, KeepPlayMemory,
    Windowed, FullScreen, Topmost, Play, Pause, Stop, Previous, Next, Seek, AspectAuto,
    Aspect, AspectFill, Volume, Mute, AudioDelay, LoadSubtitleLater, UnloadSubtitle,
    Exit, PlaySequence, Rotate, Size, VideoOutput, AudioMode,
    AudioChannels, Deinterlace, SubtitleDelay, SubtitlePosition, SubtitleScale,
    SubtitleStep, Settings, SettingsPlayerPage, DvdMenu, FileInfo, SortByName, SortByType,
    ShowPlayer, PlaylistBar, DeleteItem, SavePlaylist, LoadPlaylist, ShowInFolder,
    CheckForUpdate, WebPage, Help, About, TogglePause, Screenshot, Minimize, Zoom, OsdLevel,
    Nothing,
};

namespace {

using Action = MenuCommands::Action;

// Items whose names carry their argument, found anywhere in the name and tested in this
// order; the argument is the text after the last separator, or with none (a language
// folder may hold "_" itself) all of the text after the part.
struct ArgumentItem {
    const char* part;
    char separator;
    Action action;
};

const ArgumentItem kArgumentItems[] = {
    {"ID_MAINMENU_DVD_SUBTITLE_", '_', Action::DvdSubtitle},
    {"ID_MAINMENU_DVD_EXTERNAL_SUBTITLE_", '_', Action::ExternalSubtitle},
    {"ID_MAINMENU_DVD_AUDIO_", '_', Action::DvdAudio},
    {"ID_MAINMENU_DVD_CHAPTER_", '_', Action::DvdChapter},
    {"ID_MAINMENU_DVD_TITLE_", '_', Action::DvdTitle},
    {"ID_MAINMENU_FILE_OPENDISC#", '#', Action::OpenDisc},
    {"ID_MAINMENU_LANGUAGE_", '\0', Action::Language},
};

struct NamedItem {
    const char* name;
    Action action;
    double value;
};

// The 32-bit values of the fixed ratios, as the engine has always been given them.
constexpr double Ratio(float r) { return static_cast<double>(r); }

const NamedItem kNamedItems[] = {
    {"ID_MAINMENU_FILE_OPENFILE", Action::OpenFilesLater, 0},
    {"ID_MAINMENU_FILE_OPENFOLDER", Action::OpenFolderLater, 0},
    {"ID_MAINMENU_FILE_OPENURL", Action::OpenUrl, 0},
    {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR", Action::ClearPlaylistQuestion, 0},
    {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR_EXIT", Action::KeepPlayMemory, 0},
    {"ID_MAINMENU_FILE_PLAYMEMORY_SAVE_EXIT", Action::KeepPlayMemory, 1},
    {"ID_MAINMENU_PLAY_NORMAL", Action::Windowed, 0},
    {"ID_MAINMENU_PLAY_FULLSCREEN", Action::FullScreen, 0},
    {"ID_MAINMENU_PLAY_TOPMOST", Action::Topmost, 0},
    {"ID_MAINMENU_PLAY_PLAY", Action::Play, 0},
    {"ID_MAINMENU_PLAY_PAUSE", Action::Pause, 0},
    {"ID_MAINMENU_PLAY_STOP", Action::Stop, 0},
    {"ID_MAINMENU_PLAY_PREVIOUS", Action::Previous, 0},
    {"ID_MAINMENU_PLAY_NEXT", Action::Next, 0},
    {"ID_MAINMENU_PLAY_FORWARD_TEN_SECONDS", Action::Seek, 10},
    {"ID_MAINMENU_PLAY_FORWARD_ONE_MINUTE", Action::Seek, 60},
    {"ID_MAINMENU_PLAY_FORWARD_TEN_MINUTES", Action::Seek, 600},
    {"ID_MAINMENU_PLAY_BACKWARD_TEN_SECONDS", Action::Seek, -10},
    {"ID_MAINMENU_PLAY_BACKWARD_ONE_MINUTE", Action::Seek, -60},
    {"ID_MAINMENU_PLAY_BACKWARD_TEN_MINUTES", Action::Seek, -600},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_AUTO", Action::AspectAuto, 0},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_1:1", Action::Aspect, 1},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_3:2", Action::Aspect, 2},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_4:3", Action::Aspect, 3},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_5:4", Action::Aspect, 4},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_14:9", Action::Aspect, 5},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_14:10", Action::Aspect, 6},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_16:9", Action::Aspect, 7},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_16:10", Action::Aspect, 8},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_2.35:1", Action::Aspect, 9},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_FULL", Action::AspectFill, 10},
    {"ID_MAINMENU_PLAY_AUDIO_UP", Action::Volume, 1},
    {"ID_MAINMENU_PLAY_AUDIO_DOWN", Action::Volume, -1},
    {"ID_MAINMENU_PLAY_AUDIO_MUTE", Action::Mute, 0},
    {"ID_MAINMENU_PLAY_AUDIO_DELAY_ONE_SECOND", Action::AudioDelay, 1},
    {"ID_MAINMENU_PLAY_AUDIO_DELAY_TEN_SECONDS", Action::AudioDelay, 10},
    {"ID_MAINMENU_PLAY_AUDIO_DELAY_ONE_MINUTE", Action::AudioDelay, 60},
    {"ID_MAINMENU_PLAY_AUDIO_BACK_ONE_SECOND", Action::AudioDelay, -1},
    {"ID_MAINMENU_PLAY_AUDIO_BACK_TEN_SECONDS", Action::AudioDelay, -10},
    {"ID_MAINMENU_PLAY_AUDIO_BACK_ONE_MINUTE", Action::AudioDelay, -60},
    {"ID_MAINMENU_PLAY_DIALOGUE_SEARCH", Action::WebPage, 2},
    {"ID_MAINMENU_PLAY_DIALOGUE_LOAD", Action::LoadSubtitleLater, 0},
    {"ID_MAINMENU_PLAY_DIALOGUE_UNLOAD", Action::UnloadSubtitle, 0},
    {"ID_MAINMENU_FILE_EXIT", Action::Exit, 0},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE", Action::PlaySequence, 0},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SEQUENCE", Action::PlaySequence, 1},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_RANDOM", Action::PlaySequence, 2},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE_LOOP", Action::PlaySequence, 3},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SEQUENCE_LOOP", Action::PlaySequence, 4},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_CLOSE", Action::Rotate, -1},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_0", Action::Rotate, 0},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_1", Action::Rotate, 1},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_2", Action::Rotate, 2},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_3", Action::Rotate, 3},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_4", Action::Rotate, 4},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_50", Action::Size, 0.5},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_100", Action::Size, 1.0},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_150", Action::Size, 1.5},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_200", Action::Size, 2.0},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_300", Action::Size, 3.0},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_400", Action::Size, 4.0},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DEFAULT", Action::VideoOutput, 0},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_GL", Action::VideoOutput, 1},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_GL2", Action::VideoOutput, 2},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECTX", Action::VideoOutput, 3},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECTX_NOACCEL", Action::VideoOutput, 4},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECT3D", Action::VideoOutput, 5},
    // The channel items choose "audiomode", the device items the speaker layout; the menus
    // mark them from the same values.
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_STEREO", Action::AudioMode, 0},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_LEFT", Action::AudioMode, 1},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RIGHT", Action::AudioMode, 2},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RSTEREO", Action::AudioMode, 3},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_DOLBYS", Action::AudioMode, 4},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_STEREO", Action::AudioChannels, 0},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_4_0", Action::AudioChannels, 1},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_5_1", Action::AudioChannels, 2},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_MONO", Action::AudioChannels, 3},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_2F2R", Action::AudioChannels, 4},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_3F2R", Action::AudioChannels, 5},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_6_1", Action::AudioChannels, 6},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_7_1", Action::AudioChannels, 7},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_SPDIF", Action::AudioChannels, 8},
    {"ID_MAINMENU_PLAY_DIALOGUE_DELAY_ONE_SECOND", Action::SubtitleDelay, 1},
    {"ID_MAINMENU_PLAY_DIALOGUE_DELAY_TEN_SECONDS", Action::SubtitleDelay, 10},
    {"ID_MAINMENU_PLAY_DIALOGUE_DELAY_ONE_MINUTE", Action::SubtitleDelay, 60},
    {"ID_MAINMENU_PLAY_DIALOGUE_BACK_ONE_SECOND", Action::SubtitleDelay, -1},
    {"ID_MAINMENU_PLAY_DIALOGUE_BACK_TEN_SECONDS", Action::SubtitleDelay, -10},
    {"ID_MAINMENU_PLAY_DIALOGUE_BACK_ONE_MINUTE", Action::SubtitleDelay, -60},
    {"ID_MAINMENU_PLAY_DIALOGUE_MOVEUP", Action::SubtitlePosition, -10},
    {"ID_MAINMENU_PLAY_DIALOGUE_MOVEDOWN", Action::SubtitlePosition, 10},
    {"ID_MAINMENU_PLAY_DIALOGUE_ENLARGE", Action::SubtitleScale, 1},
    {"ID_MAINMENU_PLAY_DIALOGUE_REDUCE", Action::SubtitleScale, -1},
    {"ID_MAINMENU_PLAY_FRAME_OSD_0", Action::OsdLevel, 0},
    {"ID_MAINMENU_PLAY_FRAME_OSD_1", Action::OsdLevel, 1},
    {"ID_MAINMENU_PLAY_FRAME_OSD_2", Action::OsdLevel, 2},
    {"ID_MAINMENU_PLAY_FRAME_OSD_3", Action::OsdLevel, 3},
    {"ID_MAINMENU_PLAY_DIALOGUE_PREVIOUS_LINE", Action::SubtitleStep, -1},
    {"ID_MAINMENU_PLAY_DIALOGUE_NEXT_LINE", Action::SubtitleStep, 1},
    {"ID_MAINMENU_SETTING", Action::Settings, 0},
    {"ID_MAINMENU_DVD_NAV_MENU", Action::DvdMenu, 0},
    {"ID_MAINMENU_FILE_FILEINFO", Action::FileInfo, 0},
    {"ID_PLAYLISTMENU_SORT_BY_NAME", Action::SortByName, 0},
    {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_NAME", Action::SortByName, 0},
    {"ID_PLAYLISTMENU_SORT_BY_TYPE", Action::SortByType, 0},
    {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE", Action::SortByType, 0},
    {"ID_PLAYLISTMENU_PLAY_SINGLE", Action::PlaySequence, 0},
    {"ID_PLAYLISTMENU_PLAY_SEQUENCE", Action::PlaySequence, 1},
    {"ID_PLAYLISTMENU_PLAY_RANDOM", Action::PlaySequence, 2},
    {"ID_PLAYLISTMENU_PLAY_SINGLE_LOOP", Action::PlaySequence, 3},
    {"ID_PLAYLISTMENU_PLAY_SEQUENCE_LOOP", Action::PlaySequence, 4},
    {"ID_TRAYIOCNMENU_SHOWPLAYER", Action::ShowPlayer, 0},
    {"ID_TRAYIOCNMENU_SETTINGS", Action::SettingsPlayerPage, 0},
    {"ID_TRAYIOCNMENU_EXIT", Action::Exit, 0},
    {"ID_MAIN_RIGHT_MENU_PLAYLIST", Action::PlaylistBar, 0},
    {"ID_PLAYLIST_RIGHT_MENU_DELETE_ITEM", Action::DeleteItem, 0},
    {"ID_PLAYLIST_RIGHT_MENU_DELETE_ALL", Action::ClearPlaylistQuestion, 0},
    {"ID_PLAYLIST_RIGHT_MENU_SAVE_PLAYLIST", Action::SavePlaylist, 0},
    {"ID_PLAYLIST_RIGHT_MENU_LOAD_PLAYLIST", Action::LoadPlaylist, 0},
    {"ID_PLAYLIST_RIGHT_MENU_SHOW_IN_EXPLORER", Action::ShowInFolder, 0},
    {"ID_MAINMENU_HELP_CHECK", Action::CheckForUpdate, 0},
    {"ID_MAINMENU_HELP_MORE", Action::WebPage, 0},
    {"ID_MAINMENU_HELP_FILE", Action::Help, 0},
    {"ID_MAINMENU_HELP_F1", Action::Help, 0},
    {"ID_MAINMENU_HELP_HELP", Action::WebPage, 1},
    {"ID_MAINMENU_HELP_ABOUT", Action::About, 0},
    {"ID_MAINMENU_HELP_FORUM", Action::WebPage, 3},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_NO", Action::Deinterlace, 0},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_BLEND", Action::Deinterlace, 1},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_BOB", Action::Deinterlace, 2},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_DISCARD", Action::Deinterlace, 3},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LINEAR", Action::Deinterlace, 4},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_MEAN", Action::Deinterlace, 5},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_X", Action::Deinterlace, 6},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_YADIF", Action::Deinterlace, 7},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_YADIF2", Action::Deinterlace, 8},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LOWPASS5", Action::Deinterlace, 9},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_KERNDEINT", Action::Deinterlace, 11},
};

// The ratios of aspect choices 1 to 9.
const float kFixedRatios[] = {1.0f, 1.5f, 4.0f / 3.0f, 1.25f, 14.0f / 9.0f,
                              1.4f, 16.0f / 9.0f, 1.6f, 2.35f};

}  // namespace

int MenuCommands::NumberAfterLastUnderscore(const std::string& name) {
    const size_t at = name.rfind('_');
    const char* first = name.c_str() + (at == std::string::npos ? 0 : at + 1);
    const char* last = name.c_str() + name.size();
    int value = 0;
    // Leading digits count, as the menus have always read them; anything else is 0.
    if (std::from_chars(first, last, value).ec != std::errc()) return 0;
    return value;
}

// The keyboard's actions (the names the settings file binds keys to), each to the action
// its menu item runs where one has the same effect.
const NamedItem kHotkeyActions[] = {
    {"Pause", Action::TogglePause, 0},      {"Stop", Action::Stop, 0},
    {"Forward0", Action::Seek, 10},         {"Backward0", Action::Seek, -10},
    {"Forward1", Action::Seek, 60},         {"Backward1", Action::Seek, -60},
    {"Forward2", Action::Seek, 600},        {"Backward2", Action::Seek, -600},
    {"FullScreen", Action::FullScreen, 0},  {"Screenshot", Action::Screenshot, 0},
    {"Minimize", Action::Minimize, 0},      {"Topmost", Action::Topmost, 0},
    {"Zoom", Action::Zoom, 1},              {"Un-Zoom", Action::Zoom, 0},
    {"Mute", Action::Mute, 0},              {"VolumeUp", Action::Volume, 1},
    {"VolumeDown", Action::Volume, -1},     {"AudioDelay0", Action::AudioDelay, 0.1},
    {"AudioDelay1", Action::AudioDelay, -0.1}, {"AudioDelay2", Action::AudioDelay, 0.5},
    {"AudioDelay3", Action::AudioDelay, -0.5}, {"AudioDelay4", Action::AudioDelay, 1.0},
    {"AudioDelay5", Action::AudioDelay, -1.0}, {"LoadSubtitle", Action::LoadSubtitleLater, 0},
    {"SubtitleDelay0", Action::SubtitleDelay, 0.1}, {"SubtitleDelay1", Action::SubtitleDelay, -0.1},
    {"SubtitleDelay2", Action::SubtitleDelay, 1.0}, {"SubtitleDelay3", Action::SubtitleDelay, -1.0},
    {"SubtitleDelay4", Action::SubtitleDelay, 10.0}, {"SubtitleDelay5", Action::SubtitleDelay, -10.0},
    {"OpenFile", Action::OpenFilesLater, 0}, {"OpenURL", Action::ShowAddressBar, 0},
    {"PreviousFile", Action::Previous, 0},  {"NextFile", Action::Next, 0},
    {"Exit", Action::Exit, 0},              {"PlayList", Action::PlaylistBar, 0},
};

bool MenuCommands::RunHotkeyAction(const std::string& action) {
    for (const NamedItem& item : kHotkeyActions) {
        if (action != item.name) continue;
        Run(item.action, item.value);
        return true;
    }
    return false;
}

namespace {

const ArgumentItem* FindArgumentItem(const std::string& name) {
    for (const ArgumentItem& item : kArgumentItems)
        if (name.find(item.part) != std::string::npos) return &item;
    return nullptr;
}

const NamedItem* FindNamedItem(const std::string& name) {
    for (const NamedItem& item : kNamedItems)
        if (name == item.name) return &item;
    return nullptr;
}

}  // namespace

bool MenuCommands::IsCommand(const std::string& name) {
    return FindArgumentItem(name) || FindNamedItem(name);
}

void MenuCommands::Dispatch(const std::string& name) {
    if (DispatchArgumentItem(name)) return;
    if (const NamedItem* item = FindNamedItem(name)) {
        // The play list's folder view needs a current entry; with none there is nothing
        // to show, and the menu stays as it was.
        if (item->action == Action::ShowInFolder && m_entries.Empty()) return;
        Run(item->action, item->value);
    }
    m_host.CloseContextMenu();
}

bool MenuCommands::DispatchArgumentItem(const std::string& name) {
    const ArgumentItem* item = FindArgumentItem(name);
    if (!item) return false;
    const std::string text = item->separator ? name.substr(name.rfind(item->separator) + 1)
                                             : name.substr(name.find(item->part) + std::strlen(item->part));
    const int n = NumberAfterLastUnderscore(name);
    CSlaveCommands& slave = m_playback.Slave();
    switch (item->action) {
    case Action::DvdSubtitle:
        slave.ChooseSubtitleTrack(n);
        slave.Send(slave::GetProperty(PlayingProperty::Subtitle));
        break;
    case Action::ExternalSubtitle: slave.ChooseSubtitleFile(n); break;
    case Action::DvdAudio:
        // The track's id (a DVD's 128, 129, a Blu-ray's stream number): the engine
        // ignores any other number.
        slave.SwitchAudio(n);
        slave.Send(slave::GetProperty(PlayingProperty::AudioTrack));
        break;
    case Action::DvdChapter:
        slave.Send(slave::SeekChapter(n));
        slave.Send(slave::GetProperty(PlayingProperty::Chapter));
        break;
    case Action::DvdTitle:
        // The engine's own title number; -1 is the disc's menu.
        slave.Send(n == -1 ? slave::DvdNav(DvdNavKey::Menu) : slave::SwitchTitle(n));
        break;
    case Action::OpenDisc: m_host.OpenDisc(text); break;
    case Action::Language:
        m_settings.language = SelectLanguage(uilib::GetAppPath(), m_settings.skinindex, text);
        m_host.PostToMain(WM_RELOAD_LAYOUT, 0, 0);
        break;
    default: break;
    }
    return true;
}

void MenuCommands::Run(Action action, double value) {
    const int n = static_cast<int>(value);
    CSlaveCommands& slave = m_playback.Slave();
    switch (action) {
    case Action::OpenFilesLater: m_playlist.RequestOpenFiles(); break;
    case Action::OpenFolderLater: m_view.StartTimer(TIMER_OPEN_FOLDER, 100); break;
    case Action::LoadSubtitleLater: m_view.StartTimer(TIMER_LOAD_SUBTITLE, 100); break;
    case Action::OpenUrl: OpenAddressBar(); break;
    // From the keyboard the bar only opens: what plays goes on until an address is played.
    case Action::ShowAddressBar: m_host.OpenUrlBar(); break;
    case Action::ClearPlaylistQuestion: m_host.PostToMain(WM_SHOW_QUESTION, 0, 0); break;
    case Action::KeepPlayMemory: m_playlist.SetSavePlaylistAtExit(n != 0); break;
    case Action::Windowed:
        if (m_display.State().fullScreen) m_display.LeaveFullScreen();
        break;
    case Action::FullScreen:
        if (m_playback.IsEngineRunning()) m_display.ToggleFullScreen();
        break;
    case Action::Topmost: m_display.ToggleTopmost(); break;
    case Action::Play: m_playback.Play(); break;
    case Action::Pause: m_playback.Pause(); break;
    case Action::Stop: m_playback.Stop(); break;
    case Action::Previous: m_playlist.PlayPrevious(); break;
    case Action::Next: m_playlist.PlayNext(); break;
    case Action::Seek: m_playback.SeekBy(n); break;
    case Action::AspectAuto: {
        const MediaInfo& media = m_playback.Media();
        // Before the engine told the picture's size there is no ratio to give it.
        const double ratio = media.displayWidth > 0 && media.displayHeight > 0
                                 ? static_cast<double>(media.displayWidth) / media.displayHeight
                                 : 0.0;
        ChooseAspect(0, ratio);
        break;
    }
    case Action::Aspect: ChooseAspect(n, Ratio(kFixedRatios[n - 1])); break;
    case Action::AspectFill: {
        // The picture stretched to the video area as it is now.
        const SIZE area = m_view.ControlSize("media");
        ChooseAspect(n, area.cx > 0 && area.cy > 0 ? static_cast<double>(area.cx) / area.cy : 0.0);
        break;
    }
    case Action::Volume: ChangeVolume(n); break;
    case Action::Mute: ToggleMute(); break;
    case Action::AudioDelay: slave.Delay(DelayKind::Audio, static_cast<float>(value), false); break;
    // Relative like the audio items: a second "one second later" adds another second.
    case Action::SubtitleDelay:
        slave.Delay(DelayKind::Subtitle, static_cast<float>(value), false);
        break;
    case Action::UnloadSubtitle: slave.SubRemove(); break;
    case Action::Exit: m_host.PostToMain(WM_CLOSE, 0, 0); break;
    case Action::PlaySequence: SetPlaySequence(n); break;
    case Action::Rotate:
        m_playback.SetRotation(n);
        m_playback.RestartEngine();
        break;
    case Action::Size: m_display.ResizeToFactor(static_cast<float>(value)); break;
    case Action::VideoOutput:
        m_settings.videoformat = n;
        m_playback.RestartEngine();
        break;
    case Action::AudioMode:
        m_settings.audiomode = n;
        m_playback.RestartEngine();
        break;
    case Action::AudioChannels:
        ChooseSpeakerLayout(m_settings, n);
        m_playback.RestartEngine();
        break;
    case Action::Deinterlace:
        m_settings.deinterleave = n;
        m_playback.RestartEngine();
        break;
    case Action::SubtitlePosition: slave.SubPos(n); break;
    case Action::SubtitleScale: slave.StepSubtitleScale(n); break;
    case Action::SubtitleStep: slave.Send(slave::SubStep(n)); break;
    case Action::Settings: m_host.OpenSettingsWindow(false); break;
    case Action::SettingsPlayerPage: m_host.OpenSettingsWindow(true); break;
    case Action::DvdMenu: slave.Send(slave::DvdNav(DvdNavKey::Menu)); break;
    case Action::FileInfo: m_host.OpenFileInfoWindow(); break;
    case Action::SortByName: m_playlist.SortByName(); break;
    case Action::SortByType: m_playlist.SortByType(); break;
    case Action::ShowPlayer: m_host.ShowMainWindow(); break;
    case Action::PlaylistBar: TogglePlaylistBar(); break;
    case Action::DeleteItem: m_playlist.DeleteItem(); break;
    case Action::SavePlaylist: m_host.PostToMain(WM_PLAYLIST_FILE, 1, 0); break;
    case Action::LoadPlaylist: m_host.PostToMain(WM_PLAYLIST_FILE, 0, 0); break;
    case Action::ShowInFolder: m_playlist.ShowInExplorer(); break;
    case Action::CheckForUpdate: m_host.StartUpdateCheck(); break;
    case Action::WebPage: m_host.PostToMain(WM_OPEN_WEB_PAGE, static_cast<WPARAM>(n), 0); break;
    case Action::Help: m_host.OpenHelp(); break;
    case Action::About: m_dialogs.OpenAbout(); break;
    case Action::TogglePause: m_playback.TogglePause(); break;
    case Action::Screenshot: m_playback.TakeScreenshot(0); break;
    case Action::Minimize: m_host.MinimizeMainWindow(); break;
    case Action::Zoom: m_display.Zoom(n != 0); break;
    case Action::OsdLevel: ChooseOsdLevel(n, m_settings, slave); break;
    default: break;
    }
}

void MenuCommands::ChooseAspect(int choice, double ratio) {
    m_display.SetAspectChoice(choice);
    if (ratio > 0.0) m_playback.Slave().Send(slave::SwitchRatio(ratio));
}

void MenuCommands::ChangeVolume(int steps) {
    CSlaveCommands& slave = m_playback.Slave();
    slave.Volume(steps, false);
    m_view.SetSliderValue("volumeslider", slave.State().volume);
    // Also without an engine: the next one starts at this volume.
    m_playback.SetMuteButtons(false);
    m_playback.StoreSoundSettings();
}

void MenuCommands::ToggleMute() {
    const bool mute = !m_playback.SlaveStateRef().mute;
    m_playback.Slave().Mute(mute);
    m_playback.SlaveStateRef().mute = mute;
    m_playback.SetMuteButtons(mute);
    m_playback.StoreSoundSettings();
}

void MenuCommands::TogglePlaylistBar() {
    if (!m_view.HasControl("playlistbar")) return;
    const bool shown = !m_playback.PlaylistPanelShown();
    m_playback.SetPlaylistPanelShown(shown);
    m_view.ShowControl("playlistbar", shown);
    m_view.ShowControl("expandbar", shown);
}

void MenuCommands::OpenAddressBar() {
    m_playback.ResetPlaybackState();
    m_playback.StopEngine();
    m_playback.ShowPlaying(false);
    if (m_display.State().fullScreen) m_display.LeaveFullScreen();
    m_view.DestroyVideoWindow(true);
    m_playback.ShowStartView();
    m_host.OpenUrlBar();
}

void MenuCommands::SetPlaySequence(int sequence) {
    m_settings.playsequence = sequence;
    // From either menu: leaving single loop must end the engine's own loop, or the list
    // never moves on. Absolute counts: a relative "loop 0" would change nothing.
    m_playback.Slave().Send(slave::Loop(sequence == 3));
}

}  // namespace orvella
