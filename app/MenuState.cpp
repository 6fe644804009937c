#include "app/MenuState.h"

#include <cmath>

#include "app/DisplayModes.h"
#include "library/PlayerSettings.h"

namespace orvella {

namespace {

enum class Field {
    KeepMemory, FullScreen, Topmost, PlaySequence, SortOrder, Aspect, Rotation, Size,
    AudioMode, Channels, Osd, VideoOutput, Deinterlace, Muted, PlaylistShown,
};

struct MarkRow {
    const char* item;
    Field field;
    float value;
};

// An item is marked exactly when its field has its value. The audio values are those the
// menu commands store ("audiomode", "playerchannels"), so a chosen item shows as chosen.
const MarkRow kMarkRows[] = {
    {"ID_MAINMENU_FILE_PLAYMEMORY_SAVE_EXIT", Field::KeepMemory, 1},
    {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR_EXIT", Field::KeepMemory, 0},
    {"ID_MAINMENU_PLAY_NORMAL", Field::FullScreen, 0},
    {"ID_MAINMENU_PLAY_FULLSCREEN", Field::FullScreen, 1},
    {"ID_MAINMENU_PLAY_TOPMOST", Field::Topmost, 1},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE", Field::PlaySequence, 0},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SEQUENCE", Field::PlaySequence, 1},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_RANDOM", Field::PlaySequence, 2},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE_LOOP", Field::PlaySequence, 3},
    {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SEQUENCE_LOOP", Field::PlaySequence, 4},
    {"ID_PLAYLISTMENU_PLAY_SINGLE", Field::PlaySequence, 0},
    {"ID_PLAYLISTMENU_PLAY_SEQUENCE", Field::PlaySequence, 1},
    {"ID_PLAYLISTMENU_PLAY_RANDOM", Field::PlaySequence, 2},
    {"ID_PLAYLISTMENU_PLAY_SINGLE_LOOP", Field::PlaySequence, 3},
    {"ID_PLAYLISTMENU_PLAY_SEQUENCE_LOOP", Field::PlaySequence, 4},
    {"ID_PLAYLISTMENU_SORT_BY_NAME", Field::SortOrder, 0},
    {"ID_PLAYLISTMENU_SORT_BY_TYPE", Field::SortOrder, 1},
    {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_NAME", Field::SortOrder, 0},
    {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE", Field::SortOrder, 1},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_AUTO", Field::Aspect, 0},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_1:1", Field::Aspect, 1},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_3:2", Field::Aspect, 2},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_4:3", Field::Aspect, 3},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_5:4", Field::Aspect, 4},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_14:9", Field::Aspect, 5},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_14:10", Field::Aspect, 6},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_16:9", Field::Aspect, 7},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_16:10", Field::Aspect, 8},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_2.35:1", Field::Aspect, 9},
    {"ID_MAINMENU_PLAY_FRAME_RATIO_FULL", Field::Aspect, 10},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_CLOSE", Field::Rotation, -1},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_0", Field::Rotation, 0},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_1", Field::Rotation, 1},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_2", Field::Rotation, 2},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_3", Field::Rotation, 3},
    {"ID_MAINMENU_PLAY_FRAME_ROTATE_4", Field::Rotation, 4},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_50", Field::Size, 0.5f},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_100", Field::Size, 1.0f},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_150", Field::Size, 1.5f},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_200", Field::Size, 2.0f},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_300", Field::Size, 3.0f},
    {"ID_MAINMENU_PLAY_FRAME_SIZE_400", Field::Size, 4.0f},
    {"ID_MAINMENU_PLAY_AUDIO_MUTE", Field::Muted, 1},
    {"ID_MAIN_RIGHT_MENU_PLAYLIST", Field::PlaylistShown, 1},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_STEREO", Field::AudioMode, 0},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_LEFT", Field::AudioMode, 1},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RIGHT", Field::AudioMode, 2},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RSTEREO", Field::AudioMode, 3},
    {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_DOLBYS", Field::AudioMode, 4},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_STEREO", Field::Channels, 0},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_4_0", Field::Channels, 1},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_5_1", Field::Channels, 2},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_MONO", Field::Channels, 3},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_2F2R", Field::Channels, 4},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_3F2R", Field::Channels, 5},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_6_1", Field::Channels, 6},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_7_1", Field::Channels, 7},
    {"ID_MAINMENU_PLAY_AUDIO_DEVICE_SPDIF", Field::Channels, 8},
    {"ID_MAINMENU_PLAY_FRAME_OSD_0", Field::Osd, 0},
    {"ID_MAINMENU_PLAY_FRAME_OSD_1", Field::Osd, 1},
    {"ID_MAINMENU_PLAY_FRAME_OSD_2", Field::Osd, 2},
    {"ID_MAINMENU_PLAY_FRAME_OSD_3", Field::Osd, 3},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DEFAULT", Field::VideoOutput, 0},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_GL", Field::VideoOutput, 1},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_GL2", Field::VideoOutput, 2},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECTX", Field::VideoOutput, 3},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECTX_NOACCEL", Field::VideoOutput, 4},
    {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECT3D", Field::VideoOutput, 5},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_NO", Field::Deinterlace, 0},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_BLEND", Field::Deinterlace, 1},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_BOB", Field::Deinterlace, 2},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_DISCARD", Field::Deinterlace, 3},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LINEAR", Field::Deinterlace, 4},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_MEAN", Field::Deinterlace, 5},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_X", Field::Deinterlace, 6},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_YADIF", Field::Deinterlace, 7},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_YADIF2", Field::Deinterlace, 8},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LOWPASS5", Field::Deinterlace, 9},
    {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_KERNDEINT", Field::Deinterlace, 11},
};

float ValueOf(const MenuState& s, Field field) {
    switch (field) {
    case Field::KeepMemory: return s.keepPlayMemory ? 1.0f : 0.0f;
    case Field::FullScreen: return s.fullScreen ? 1.0f : 0.0f;
    case Field::Topmost: return s.topmost ? 1.0f : 0.0f;
    case Field::PlaySequence: return static_cast<float>(s.playSequence);
    case Field::SortOrder: return static_cast<float>(s.sortOrder);
    case Field::Aspect: return static_cast<float>(s.aspectChoice);
    case Field::Rotation: return static_cast<float>(s.rotation);
    case Field::Size: return s.sizeFactor;
    case Field::AudioMode: return static_cast<float>(s.audioMode);
    case Field::Channels: return static_cast<float>(s.playerChannels);
    case Field::Osd: return static_cast<float>(s.osdLevel);
    case Field::VideoOutput: return static_cast<float>(s.videoOutput);
    case Field::Deinterlace: return static_cast<float>(s.deinterlace);
    case Field::Muted: return s.muted ? 1.0f : 0.0f;
    case Field::PlaylistShown: return s.playlistShown ? 1.0f : 0.0f;
    }
    return 0.0f;
}

bool Marks(const MenuState& s, const MarkRow& row) {
    // The size factor is a float that went through arithmetic; the rest are whole numbers.
    return std::fabs(ValueOf(s, row.field) - row.value) < 0.000001f;
}

}  // namespace

float HeldSizeFactor(const DisplayState& display, SIZE windowNow) {
    // Fitted once, then dragged, maximised, refitted to a new video or never fitted at
    // all: the window no longer shows the video at that factor.
    const SIZE fitted = display.fittedSize;
    if (fitted.cx <= 0 || fitted.cy <= 0) return 0.0f;
    return fitted.cx == windowNow.cx && fitted.cy == windowNow.cy ? display.sizeFactor : 0.0f;
}

MenuState BuildMenuState(const PlayerSettings& settings, const DisplayState& display,
                         const MenuStateSources& sources) {
    MenuState s;
    s.backgroundColour = sources.backgroundColour;
    s.sizeFactor = HeldSizeFactor(display, sources.windowSize);
    s.muted = sources.muted;
    s.playlistShown = sources.playlistShown;
    s.dvdNavigation = sources.dvdNavigation;
    s.keepPlayMemory = sources.keepPlayMemory;
    s.fullScreen = display.fullScreen;
    s.topmost = display.topmost;
    s.rotation = sources.rotation;
    s.aspectChoice = display.aspectChoice;
    s.playSequence = settings.playsequence;
    s.audioMode = settings.audiomode;
    s.playerChannels = SpeakerLayout(settings);
    s.osdLevel = EffectiveOsdLevel(settings);
    s.videoOutput = settings.videoformat;
    s.deinterlace = settings.deinterleave;
    if (sources.engineTables) {
        s.tables = *sources.engineTables;
        s.currentTitle = sources.engineTables->currentTitle;
    } else {
        s.currentTitle = sources.defaultTitle;
    }
    s.language = settings.language;
    s.skinIndex = settings.skinindex;
    s.programFolder = sources.programFolder;
    s.sortOrder = sources.sortOrder;
    return s;
}

std::vector<MenuMark> MenuMarks(const MenuState& state) {
    std::vector<MenuMark> marks;
    marks.reserve(sizeof kMarkRows / sizeof kMarkRows[0]);
    for (const MarkRow& row : kMarkRows) marks.push_back({row.item, Marks(state, row)});
    return marks;
}

bool IsMenuItemMarked(const MenuState& state, const std::string& item) {
    for (const MarkRow& row : kMarkRows)
        if (item == row.item) return Marks(state, row);
    return false;
}

}  // namespace orvella
