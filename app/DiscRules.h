// The computations behind the disc menu and dropped files: how a drive is named in the
// open-disc submenu and found again from that name, and what a drop of files and
// folders adds, loads and plays.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "playlist/MediaFiles.h"

namespace orvella {

// The text after "#" of a drive's row: "label(where)", or "where" without a label;
// where is the mount point of a mounted disc, else the device.
std::string DiscItemText(const platform::OpticalDrive& drive);
// The row's name and the text it shows ("Disc MOVIE(/media/u/MOVIE)", "Disc (/dev/sr0)").
std::string DiscRowName(const platform::OpticalDrive& drive);
std::string DiscRowText(const platform::OpticalDrive& drive);

// The drive an item text names: the part in the parentheses that follow the label, or
// the whole text when it is a bare path or has no such parentheses. Labels may hold
// parentheses themselves; the drive part always starts with "/".
std::string DriveOfDiscItem(const std::string& itemText);

// What a drop does, decided before anything is changed.
struct DropPlan {
    std::vector<std::string> pending;    // media for the play list, in drop order
    std::vector<std::string> subtitles;  // files to load into the running engine
    std::string discLocator;             // the last disc folder's locator; empty when none
    bool discMode = false;               // a DVD or Blu-ray folder or a DVD image was dropped
};

// The dropped paths in order, with what the folders among them hold: a DVD or Blu-ray
// folder adds its locator; any other folder replaces what the drop collected so far by the
// media below it; a file is media, a DVD image or a subtitle by its extension, whatever its
// letter case, and anything else is ignored.
DropPlan PlanDrop(const std::vector<std::string>& paths, const WalkedFolders& folders);

// ".MP4" of "/a/clip.MP4" lower-cased; empty when the name has no extension.
std::string LowerExtensionOf(const std::string& path);
bool IsSubtitleExtension(const std::string& lowerExtension);

}  // namespace orvella
