// The settings file read once at the start and cut in two: the long play memory (the
// "Media" element) apart from the rest, so that the "Player" keys and the hotkeys are read
// at once while the memory is read beside the start of playback.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace orvella {

struct SettingsFileParts {
    std::string path;
    bool read = false;     // the bytes were read (false: missing or unreadable)
    std::shared_ptr<const std::string> whole;  // every byte of the file
    std::string rest;      // the file without its "Media" element
    bool memoryApart = false;  // "Media" was found and left out of `rest`
};

// Where the first "Media" element of an XML file's bytes (UTF-8, or UTF-16 in either byte
// order) stands: [*begin, *end). An element the file cuts short runs to its end. False
// when there is no "<Media" start tag.
bool FindMediaElement(const std::string& bytes, size_t* begin, size_t* end);

SettingsFileParts ReadSettingsFile(const std::string& path);

}  // namespace orvella
