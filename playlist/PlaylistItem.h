// One play-list entry.
#pragma once

#include <cstdint>
#include <string>

namespace orvella {

struct PlaylistItem {
    std::string filename;   // what the engine is given: a path, a URL or a disc address
    std::string shortname;  // the row text: the file name without its folder, or the disc title
    std::string subtitle;   // external subtitle file loaded for this entry; empty when none
    int64_t starttime = 0;  // resume position in whole seconds; 0: from the beginning

    bool operator==(const PlaylistItem& o) const {
        return filename == o.filename && shortname == o.shortname && subtitle == o.subtitle &&
               starttime == o.starttime;
    }
};

}  // namespace orvella
