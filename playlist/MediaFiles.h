// Which files are media, what a row shows of a path, the sort keys, and the folder scan.
#pragma once

#include <string>
#include <vector>

namespace orvella {

// The media pattern list of the open dialog, exactly as the player has always had it
// (a tab entry and two repeated entries included).
extern const char* const kMediaFilterText;

// True when ext (".avi", dot included) is a whole entry of the pattern list, ignoring
// letter case: ".AVI" is media, ".mp" is not.
bool IsMediaExtension(const std::string& ext);

// The entry text of a path: the part after the last "/", cut before the first double
// quote when one occurs.
std::string ShortNameOf(const std::string& path);

// The type a row is sorted by: the part of shortname after its first dot (a.b.mkv has
// the type b.mkv); a name without a dot is its own type.
std::string TypeKeyOf(const std::string& shortname);

// Case-insensitive orders of the two sorts (by name; by type, then by name).
bool LessByName(const std::string& a, const std::string& b);
bool LessByType(const std::string& a, const std::string& b);

// Appends the media files below folder to pending (recursive, depth first, in the order
// the file system lists them). A file without an extension is skipped; what cannot be
// listed is skipped silently.
void ScanFolder(const std::string& folder, std::vector<std::string>& pending);

}  // namespace orvella
