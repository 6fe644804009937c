// Whole-file writes that never leave a torn file behind.
#pragma once

#include <string>

namespace orvella {

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames it over
// `path`, then flushes the folder. A crash or a kill at any moment leaves either the old
// file or the new one complete. An existing file keeps its permissions; a symbolic link
// keeps pointing where it did (the file it points to is replaced). False when any step
// failed; the old file is then untouched and no temporary file stays behind.
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Reads a whole regular file. False for a missing or unreadable file and for anything
// that is not a regular file (a folder, a pipe), so a reader can never block on it.
bool ReadWholeFile(const std::string& path, std::string* bytes);

}  // namespace orvella
