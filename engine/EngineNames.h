// The names the engine is given for files. The engine echoes them in its output
// ("Playing <name>.", "ID_FILENAME=<name>"), and we read that output line by line: a
// name holding a line break would put lines of its own choosing there (a forged
// "ID_EXIT=" ends playback at once). Such a name is never shown to the engine: a file is
// handed over as a symbolic link with a plain name in a private folder of ours, an
// address with its control characters percent-encoded.
//
//   AliasFolder aliases(AliasFolder::DefaultParent());
//   std::string name = aliases.Alias("/films/a\nb.mkv");   // ".../orvella-names-<pid>-XXXXXX/1.mkv"
//   ... the folder and its links go with the object ...
#pragma once

#include <map>
#include <string>

namespace orvella {

// A byte below 0x20 or 0x7F: line breaks, tabs, escapes.
bool HasControlCharacter(const std::string& text);

// "http://h/a\nb" → "http://h/a%0Ab": every control byte of an address as its escape,
// which is what it stands for in an address anyway.
std::string EscapeControlCharacters(const std::string& address);

class AliasFolder {
public:
    // parent: where the private folder is made on first use.
    explicit AliasFolder(std::string parent);
    ~AliasFolder();  // removes the links and the folder
    AliasFolder(const AliasFolder&) = delete;
    AliasFolder& operator=(const AliasFolder&) = delete;

    // A path with a plain name that links to target (an absolute path), the same one for
    // the same target; it keeps the target's extension when that is plain, since the
    // engine may go by it. Empty when the folder or the link cannot be made.
    std::string Alias(const std::string& target);

    // The folder, empty until the first alias made it.
    const std::string& Folder() const { return m_folder; }

    // $XDG_RUNTIME_DIR when it is set, else $TMPDIR, else /tmp.
    static std::string DefaultParent();
    // Removes the alias folders in parent that belong to processes no longer running
    // (left by a player that crashed). Only our own folders are touched.
    static void RemoveStale(const std::string& parent);

private:
    std::string m_parent;
    std::string m_folder;
    std::map<std::string, std::string> m_aliases;  // target → link
};

}  // namespace orvella
