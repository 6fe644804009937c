// The processes of the system as parent links, read from /proc, and the descendants of
// one process: used to end an engine's own children before the engine itself.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace orvella {

class CProcessTree {
public:
    struct Entry {
        pid_t pid = 0;
        pid_t parent = 0;
    };

    // One /proc/<pid>/stat text; false when it is not in that form. The command name
    // may hold spaces and parentheses, so the fields are counted from its last ')'.
    static bool ParseStat(const std::string& text, Entry& entry);
    // Every process whose stat file could be read now.
    static std::vector<Entry> Snapshot();
    // The descendants of root in the snapshot, children first, then their children.
    static std::vector<pid_t> Descendants(const std::vector<Entry>& snapshot, pid_t root);
    static std::vector<pid_t> Descendants(pid_t root) { return Descendants(Snapshot(), root); }
};

}  // namespace orvella
