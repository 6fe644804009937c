#include "engine/ProcessTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <sstream>
#include <unordered_set>

namespace orvella {

namespace {

bool ParsePid(const std::string& text, pid_t& value) {
    if (text.empty() || text.size() > 10) return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v <= 0 || v > 0x7fffffff) return false;
    value = static_cast<pid_t>(v);
    return true;
}

// The whole of a small /proc file; empty when it cannot be read. Plain reads: a process
// that ends while we read makes the read fail with ESRCH, which must only skip it.
std::string ReadProcFile(const std::string& path) {
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char chunk[512];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n > 0) {
            text.append(chunk, static_cast<size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0) text.clear();
            break;
        }
    }
    close(fd);
    return text;
}

}  // namespace

bool CProcessTree::ParseStat(const std::string& text, Entry& entry) {
    // "pid (comm) state ppid ..."
    const size_t nameStart = text.find(" (");
    const size_t nameEnd = text.rfind(')');
    if (nameStart == std::string::npos || nameEnd == std::string::npos || nameEnd < nameStart) return false;
    pid_t pid = 0;
    if (!ParsePid(text.substr(0, nameStart), pid)) return false;
    std::istringstream rest(text.substr(nameEnd + 1));
    std::string state, parent;
    if (!(rest >> state >> parent) || state.size() != 1) return false;
    pid_t ppid = 0;
    if (parent != "0" && !ParsePid(parent, ppid)) return false;
    entry.pid = pid;
    entry.parent = ppid;
    return true;
}

std::vector<CProcessTree::Entry> CProcessTree::Snapshot() {
    std::vector<Entry> entries;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir("/proc"), closedir);
    if (!dir) return entries;
    while (dirent* item = readdir(dir.get())) {
        pid_t pid = 0;
        if (!ParsePid(item->d_name, pid)) continue;
        // The process may be gone by now: skip it then.
        const std::string text = ReadProcFile(std::string("/proc/") + item->d_name + "/stat");
        Entry entry;
        if (ParseStat(text, entry)) entries.push_back(entry);
    }
    return entries;
}

std::vector<pid_t> CProcessTree::Descendants(const std::vector<Entry>& snapshot, pid_t root) {
    std::vector<pid_t> found;
    std::unordered_set<pid_t> seen{root};  // guards against a cycle in a torn snapshot
    std::vector<pid_t> level{root};
    while (!level.empty()) {
        std::vector<pid_t> next;
        for (pid_t parent : level) {
            for (const Entry& e : snapshot) {
                if (e.parent == parent && seen.insert(e.pid).second) next.push_back(e.pid);
            }
        }
        found.insert(found.end(), next.begin(), next.end());
        level.swap(next);
    }
    return found;
}

}  // namespace orvella
