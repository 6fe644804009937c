// The "associate" switch on the desktop: on makes the player the default application of
// its media types in the user's mimeapps.list, keeping the handler each type had; off gives
// those back where the player is still the default.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/MimeDefaults.h"

namespace orvella {

extern const char* const kDesktopId;  // "orvella.desktop"

// The handler each type had before the player took it ("" for none), one
// "type<TAB>handler" line each.
using SavedHandlers = std::vector<std::pair<std::string, std::string>>;
std::string FormatSavedHandlers(const SavedHandlers& saved);
SavedHandlers ParseSavedHandlers(const std::string& text);

// The entry text with its Exec value replaced (or added) by `exec`.
std::string WithExecLine(const std::string& entry, const std::string& exec);

struct AssociationPlaces {
    std::string savedHandlers;  // the backup file in the data folder
    std::string userEntry;      // $XDG_DATA_HOME/applications/orvella.desktop
    std::string entryTemplate;  // the built orvella.desktop beside the program
    std::string program;        // the running program, for the user entry's Exec
};

// The switch turned on or off (at the first start, and from the settings window).
// Failures are silent: a type that cannot be changed keeps what it had.
void ApplyAssociation(bool on, platform::MimeDefaults& desktop, const AssociationPlaces& places);

// The places of this user and this program.
AssociationPlaces UserAssociationPlaces(const std::string& dataFolder);

// The switch on this desktop (nothing where the platform has no file types).
void SwitchFileAssociations(bool on, const std::string& dataFolder);

}  // namespace orvella
