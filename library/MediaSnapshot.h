// The play list as a file is to hold it, taken on the UI thread and written on another.
// Taking one must stay well within a frame for a list of 100,000 entries:
// - the texts of all entries are copied into one buffer (one allocation, not three per
//   entry), and only when the rows changed since the previous snapshot (Playlist::Revision);
// - between such changes only an entry that is or was current changes (its resume point,
//   its subtitle): those few are copied into each snapshot, the rest is shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "playlist/PlaylistItem.h"

namespace orvella {

class Playlist;

class MediaSnapshot {
public:
    size_t Count() const;
    size_t Current() const { return m_current; }
    // Entry i as it is to be written: "starttime" 0 where resume points are not kept.
    PlaylistItem At(size_t index) const;

private:
    friend class MediaSnapshots;
    struct Rows {
        struct Row {
            size_t filenameEnd, shortnameEnd, subtitleEnd;  // in text, each text after the last
            int64_t starttime;
        };
        std::string text;
        std::vector<Row> rows;
    };

    std::shared_ptr<const Rows> m_rows;
    std::vector<std::pair<size_t, PlaylistItem>> m_newer;  // by index: rows that moved on since
    size_t m_current = 0;
    bool m_saveLocation = true;
};

// Snapshots of one list, each sharing with the one before what has not changed since.
class MediaSnapshots {
public:
    MediaSnapshot Take(const Playlist& list, bool saveLocation);

private:
    std::shared_ptr<const MediaSnapshot::Rows> m_rows;
    uint64_t m_revision = 0;
    std::vector<size_t> m_current;  // rows current since the copy, which may have moved on
};

}  // namespace orvella
