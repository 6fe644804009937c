// The pages WM_OPEN_WEB_PAGE opens, by their number: 0 more about the player, 1 help,
// 2 subtitles for the playing file, 3 the forum.
#pragma once

#include <string>

namespace orvella {

// The address to open; empty for a number that has no page. programFolder ends with "/".
std::string WebPageAddress(int which, const std::string& playingFile,
                           const std::string& programFolder);

// Percent-encoding of every byte outside the unreserved set of RFC 3986.
std::string UrlEncode(const std::string& text);

}  // namespace orvella
