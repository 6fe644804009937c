// The media file types the player offers to open for the desktop, and the command line its
// desktop entry runs. Shared by the player and the build's desktop-entry generator.
#pragma once

#include <string>
#include <vector>

#include "platform/MimeDefaults.h"

namespace orvella {

// The extensions the player claims, dot included: the video ones, then the audio ones.
extern const char* const kVideoExtensions[];
extern const char* const kAudioExtensions[];

// The MIME types of those extensions as the desktop knows them, in extension order, each
// once. An extension the desktop cannot tell from its name (no type, an uncertain one, or
// the catch-all "application/octet-stream") is left out: it is never claimed.
std::vector<std::string> AssociatedMimeTypes(platform::MimeDefaults& desktop);

// `program` as one argument of a desktop entry's Exec key: quoted where it holds a
// reserved character, "%" doubled, then escaped as a string value of the entry file.
std::string ExecArgument(const std::string& program);

// The whole Exec value: the program, then the files it is given ("%F").
std::string DesktopExecLine(const std::string& program);

// `types` joined for a MimeType key: each followed by ";".
std::string MimeTypeList(const std::vector<std::string>& types);

}  // namespace orvella
