// What the file information window shows, as plain data and the texts made from it.
// Numbers always carry a point for their decimals, whatever the user's locale: the
// window shows them beside the engine's own figures, which are written that way too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/MediaInfo.h"

namespace orvella {

struct FileInfoRecord {
    std::string fileName;                  // the current media path
    int32_t videoWidth = 0, videoHeight = 0;
    float length = 0.0f;                   // seconds
    float aspect = 0.0f;
    uint64_t fileSize = 0;                 // bytes; 0 when the path is no regular file
    TrackTable subtitleTracks, audioTracks, videoTracks;
};

// The record of the media at path. The tracks come only from a running engine's tables
// (null while none runs); its one video track is described by the codec and picture
// size the engine told, when it told a codec.
FileInfoRecord MakeFileInfoRecord(const std::string& path, const MediaInfo& media,
                                  const MediaTables* runningTables);

// One row of the track list: its kind ("video", "audio", "subtitle") and description.
struct TrackRow {
    std::string kind;
    std::string description;
};

// The video tracks, then the audio tracks, then the subtitle tracks, each by number.
std::vector<TrackRow> TrackRowsOf(const FileInfoRecord& record);

// "1023 bytes", then "1.00 KB", "1.00 MB" and "1.00 GB" in steps of 1024 (GB from 1 GiB up).
std::string FileSizeText(uint64_t bytes);
std::string ResolutionText(int32_t width, int32_t height);  // "640 x 360"
std::string DurationText(float seconds);                    // "12.50 s"
std::string AspectText(float aspect);                       // "1.7778"

// The size of a regular file at path; 0 for anything else (missing, a folder, a URL).
uint64_t RegularFileSize(const std::string& path);

}  // namespace orvella
