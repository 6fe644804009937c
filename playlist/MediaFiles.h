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

// The orders of the two sorts (by name; by type, then by name), both natural
// (NaturalOrder.h).
bool LessByName(const std::string& a, const std::string& b);
bool LessByType(const std::string& a, const std::string& b);

// Appends the media files below folder to pending (recursive, depth first, each folder's
// entries in natural order of their names). A file without an extension is skipped; what cannot be
// listed is skipped silently.
void ScanFolder(const std::string& folder, std::vector<std::string>& pending);

// What a drive or folder holds, decided by the first telling file of a depth-first walk
// in the order the file system lists them: ".SVD"/".VCD" a video CD, ".VOB" (or ".vob",
// as a disc mounted with name mapping shows it) a DVD, ".m2ts" (exactly) a Blu-ray.
// A folder that cannot be listed holds nothing recognised.
enum : int { kDiscNone = 0, kDiscVideoCd = 1, kDiscDvd = 2, kDiscBluRay = 3 };
int DiscType(const std::string& folder);

// The media path that plays a DVD or Blu-ray in a drive or folder (empty for any other
// kind). A DVD chosen from the drive menu keeps a trailing blank, as the player always
// gave it; the launch splits the locator into separate engine arguments.
std::string DiscLocator(int kind, const std::string& where, bool fromDriveMenu);

}  // namespace orvella
