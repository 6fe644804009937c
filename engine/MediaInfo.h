// What is known about the current media. The scalar facts (MediaInfo) are held by the
// main window and set from WM_ENGINE_EVENT; the track tables (MediaTables) are held by
// the engine controller and copied by the window when a menu or the file information
// window needs them.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/EngineEvents.h"

namespace orvella {

// Key → text, in ascending key order.
using TrackTable = std::map<int32_t, std::string>;

// Inserts key → text unless key is present (a repeated listing never changes a text).
inline void InsertWithoutOverwrite(TrackTable& table, int32_t key, const std::string& text) {
    table.emplace(key, text);
}

struct MediaTables {
    int32_t currentTitle = 0;  // the DVD title the engine last switched to
    bool isBluray = false;     // a Blu-ray title's chapter count was reported
    TrackTable subtitleTracks;     // subtitle id → language
    TrackTable subtitleFiles;      // subtitle file id → file name as printed
    TrackTable titleLengths;       // DVD title → length text ("12.000")
    TrackTable audioTracks;        // audio id → language
    TrackTable titleChapterLists;  // DVD title → chapter start list ("00:00:04,00:00:07,")
    TrackTable chapters;           // chapter index → "hh:mm:ss"
};

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
};

// Stores the event's fact in info as the main window does and says what follows.
// Codes above EV_LAST change nothing.
EngineReaction ApplyEngineEvent(MediaInfo& info, const EngineEvent& event);

}  // namespace orvella
