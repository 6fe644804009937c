// Which files are media, what a row shows of a path, the sort keys, and the folder scan.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace orvella {

// The media pattern list of the open dialog, exactly as the player has always had it
// (a tab entry and two repeated entries included).
extern const char* const kMediaFilterText;

// True when ext (".avi", dot included) is a whole entry of the pattern list, ignoring
// letter case: ".AVI" is media, ".mp" is not.
bool IsMediaExtension(const std::string& ext);

// The entry text of a path: the part after the last "/", whatever it holds (a double
// quote is a character like any other in a file name).
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

enum : int { kDiscNone = 0, kDiscDvd = 2, kDiscBluRay = 3 };

// What a drive or folder holds, found in one walk. It is a DVD when it holds VIDEO_TS (any
// letter case) with VIDEO_TS.IFO or ".vob" files in it, or is such a VIDEO_TS itself; a
// Blu-ray when it holds BDMV with index.bdmv or STREAM/*.m2ts. Any other folder gives its
// media files as ScanFolder lists them: a loose "clip.vob" or a camcorder's ".VOB" files
// are media like any other. A folder that cannot be listed holds nothing.
struct FolderContents {
    int kind = kDiscNone;
    std::vector<std::string> media;  // only for kDiscNone
};
// What the paths of a drop or a choice hold, in their order: nothing for a path that is
// no folder.
using WalkedFolders = std::vector<std::optional<FolderContents>>;
// cancel, when given, is read between folders: once set, the walk ends with what it has.
FolderContents ExamineFolder(const std::string& folder, const std::atomic<bool>* cancel = nullptr);

// A DVD image file (".iso", any letter case): it plays as the disc it holds.
bool IsDiscImage(const std::string& path);
extern const char* const kDiscImagePattern;
// What a file opened or dropped by the user plays as: a disc image by its DVD locator,
// anything else as it is.
std::string PlayablePath(const std::string& path);

// The media path that plays a DVD or Blu-ray in a drive or folder (empty for any other
// kind). A DVD chosen from the drive menu keeps a trailing blank, as the player always
// gave it; the launch splits the locator into separate engine arguments.
std::string DiscLocator(int kind, const std::string& where, bool fromDriveMenu);

}  // namespace orvella
