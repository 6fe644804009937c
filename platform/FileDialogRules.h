// The rules a file dialog applies to its filters and to a name chosen for saving. Both
// backends follow them, so window code sees the same answers on either.
#pragma once

#include <string>
#include <vector>

namespace platform {

// "*.avi; *.mkv;;" -> {"*.avi", "*.mkv"}: split at ';', trimmed, blank entries skipped.
std::vector<std::string> SplitFilterPatterns(const std::string& patterns);

// A glob that ignores letter case, as filters do on Windows: "*.avi" -> "*.[aA][vV][iI]".
// A pattern that already holds a bracket expression is left alone.
std::string CaseInsensitiveGlob(const std::string& pattern);

// A filter's name as shown: leading tabs (kept in some filter tables) dropped.
std::string FilterDisplayName(const std::string& name);

// path with ".<extension>" added when its file name has no extension of its own
// ("list" and "list." become "list.orv"; "list.m3u", ".hidden.orv" stay).
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace platform
