// What is known about the current media. The scalar facts (MediaInfo) are held by the
// main window and set from WM_ENGINE_EVENT; the track tables (MediaTables) are held by
// the engine controller and copied by the window when a menu or the file information
// window needs them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "engine/EngineEvents.h"

namespace orvella {

// Key → text, in ascending key order.
using TrackTable = std::map<int32_t, std::string>;

// Inserts key → text unless key is present (a repeated listing never changes a text).
inline void InsertWithoutOverwrite(TrackTable& table, int32_t key, const std::string& text) {
    table.emplace(key, text);
}

// A current track, subtitle or chapter the engine has not told yet.
constexpr int32_t kNotAnswered = INT32_MIN;

struct MediaTables {
    int32_t currentTitle = 0;  // the DVD title the engine last switched to
    // The engine's last answers: the audio track id, the subtitle (-1 none) and the
    // chapter index that play.
    int32_t currentAudio = kNotAnswered;
    int32_t currentSubtitle = kNotAnswered;
    int32_t currentChapter = kNotAnswered;
    bool isBluray = false;     // a Blu-ray title's chapter count was reported
    TrackTable subtitleTracks;     // subtitle id → language
    TrackTable subtitleFiles;      // subtitle file id → file name as printed
    TrackTable titleLengths;       // DVD title → length text ("12.000")
    TrackTable audioTracks;        // audio id → language
    TrackTable titleChapterLists;  // DVD title → chapter start list ("00:00:04,00:00:07,")
    TrackTable chapters;           // chapter index → "hh:mm:ss"
    TrackTable fileChapters;       // a file's own chapters: index → "hh:mm:ss"
    TrackTable chapterNames;       // a file's own chapters: index → name
};

// The chapter starts of a DVD title from its chapter list, index from 0. The engine lists
// each chapter's END in whole seconds when it plays a disc with its menus
// ("00:00:04,00:00:07,00:00:12," for chapters at 0, 4.2 and 7.8 s), and the starts with
// milliseconds without the menus ("00:00:00.000,00:00:04.200,..."). Either way the first
// chapter starts at "00:00:00"; an empty list is that one chapter.
TrackTable DvdChapterStarts(std::string_view list);

// The DVD title whose length (seconds, "12.000") is within half a second of the length
// the engine answers, when exactly one is; else 0. The engine names the title it plays
// only when the disc changes its title set, so the length tells which one it is.
int32_t TitleOfLength(const TrackTable& titleLengths, float length);

// A file's chapters as listed: the start, then the name where the file gives one.
TrackTable FileChapterLabels(const TrackTable& starts, const TrackTable& names);

struct MediaInfo {
    int32_t videoWidth = 0, videoHeight = 0;
    float aspect = 0.0f;
    int32_t displayWidth = 0, displayHeight = 0;
    float length = 0.0f;    // seconds
    float position = 0.0f;  // seconds
    bool inDvdMenu = false;
    bool audioOnly = false;
    std::string demuxer, videoCodec, audioCodec;
    int32_t videoBitrate = 0, audioBitrate = 0, audioRate = 0, audioChannels = 0;
    float fps = 0.0f;
};

// What the main window does after storing an event's fact.
enum class EngineReaction {
    None,
    EndOfPlayback,       // EV_EXIT
    ShowOpenFailure,     // EV_OPEN_FAILED: "Cannot open" with the file name
    LayoutVideoArea,     // the video area must be laid out again
    SelectSubtitleFile,  // EV_FILE_SUB_ID: send "sub_file <event.number>"
    ShowScreenshot,      // EV_SCREENSHOT: on-screen text for shot<event.number>.png
    PlaybackStarted,     // EV_PLAYBACK_STARTED: a loop restart wants the sound state again
    EngineGone,          // EV_ENGINE_GONE: an end of playback, with event.text to show
};

// Stores the event's fact in info as the main window does and says what follows.
// Codes above EV_LAST change nothing.
EngineReaction ApplyEngineEvent(MediaInfo& info, const EngineEvent& event);

}  // namespace orvella
