// Which code page the engine reads a subtitle file in. The engine takes one "-subcp" per
// launch for every text subtitle it reads, and without one it garbles all but plain
// ASCII; so the choice is made from the file it reads first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvella {

struct LaunchOptions;

// What the file says of itself, else the setting: a byte-order mark names its encoding,
// text that is valid UTF-8 and not plain ASCII is UTF-8. Plain ASCII, an empty head and
// anything else leave it to the setting. head is the file's first bytes; a character cut
// at its end still counts as valid.
std::string SubtitleCodePage(std::string_view head, const std::string& setting);

// How much of a file SubtitleCodePage looks at: a whole subtitle file as a rule.
constexpr size_t kSubtitleHeadBytes = 256 * 1024;

// The first bytes of a regular file, at most limit; empty when it cannot be read.
std::string ReadFileHead(const std::string& path, size_t limit = kSubtitleHeadBytes);

// The subtitle file the engine finds beside the media by itself, as "-sub-fuzziness"
// tells it: 0 the media's own name, 1 a name that contains it, 2 any subtitle file; a
// name equal to the media's comes first, then by name. Empty when there is none.
std::string SubtitleBesideMedia(const std::string& mediaPath, int fuzziness);

// The code page for a launch: from the subtitle file it passes, else the one the engine
// will find beside the media, else the setting.
std::string LaunchSubtitleCodePage(const LaunchOptions& options);

}  // namespace orvella
