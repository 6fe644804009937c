// The play memory and the play-list files: one "Media" element under "root", the same in
// "settings.xml" (its first child) and alone in an ".orv" file.
//
//   <Media count="2" current="1">
//       <Data id="0" filename="/v/a.avi" shortname="a.avi" starttime="0" subtitle="" />
//       <Data id="1" filename="/v/b.mkv" shortname="b.mkv" starttime="754" subtitle="/v/b.srt" />
//   </Media>
//
// Values are kept whole and exact, whatever bytes a file name holds (quotes, line breaks,
// bytes that are not UTF-8).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/MediaSnapshot.h"
#include "playlist/PlaylistItem.h"

namespace orvella {

class Playlist;
class XmlDocument;

// What a "Media" element holds, read before it is applied to a list.
struct MediaRecord {
    std::vector<PlaylistItem> entries;  // one per "Data" element ("count" is not read)
    long long current = 0;              // "current" as written (not checked)
};

// Adds "Media" under "root" of document: count, current, then one "Data" per entry.
void WriteMedia(XmlDocument& document, const MediaSnapshot& list);

// Reads "Media" of document: every "Data" element is an entry, except one cut short by
// damage.
MediaRecord ReadMedia(const XmlDocument& document);

// Appends the record's entries to list (skipDuplicates: the play memory drops entries
// already listed), then makes "current" current, clamped into the list.
void ApplyMedia(const MediaRecord& record, Playlist& list, bool skipDuplicates);

// An ".orv" file: the whole list, replacing the file. False when it could not be written.
bool SavePlaylistFile(const std::string& path, const Playlist& list, bool saveLocation);
// Reads an ".orv" file; false (record untouched) when it is not read whole or holds no
// "Media".
bool LoadPlaylistFile(const std::string& path, MediaRecord* record);

}  // namespace orvella
