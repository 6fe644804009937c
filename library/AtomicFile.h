// Whole-file writes that never leave a torn file behind, and the files they leave aside.
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

// Removes the temporary files beside `path` that writes of it left when they were killed,
// except those of a write that may still be going on: one by a live process of this
// program (or one that cannot be told).
void RemoveStaleTemporaryFiles(const std::string& path);

// Moves a file that cannot be read whole out of the way of the write that replaces it:
// to "<path>.damaged", older copies shifted to ".damaged.1" and ".damaged.2" (the oldest
// beyond those goes). Returns the copy's path; empty when the file could not be moved.
std::string KeepDamagedCopy(const std::string& path);

}  // namespace orvella
