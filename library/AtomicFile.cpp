#include "library/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace orvella {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    bool Close() {
        if (fd_ < 0) return true;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A symbolic link is followed so that the file it names is replaced, not the link.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;  // a dangling link: replace the link itself
    std::string resolved(real);
    std::free(real);
    return resolved;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Unique among threads and processes writing into the same folder:
// ".<name>.<pid>-<counter>-<random>.tmp".
std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    return folder + "." + NameOf(target) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter++) + "-" + std::to_string(random() % 1000000) + ".tmp";
}

// The process id in a name TemporaryName made for a file called `name`; 0 for any other
// name.
pid_t WriterOf(const std::string& entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    unsigned long long pid = 0, counter = 0, random = 0;
    if (entry.compare(0, prefix.size(), prefix) != 0 ||
        std::sscanf(entry.c_str() + prefix.size(), "%llu-%llu-%llu", &pid, &counter, &random) != 3 ||
        entry != prefix + std::to_string(pid) + "-" + std::to_string(counter) + "-" + std::to_string(random) + ".tmp" ||
        pid == 0 || pid > INT_MAX)
        return 0;
    return static_cast<pid_t>(pid);
}

std::string ProcessName(const std::string& pid) {
    std::ifstream in("/proc/" + pid + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

// Whether a write by this process may still be going on: it lives and runs this program,
// or it lives and what it runs cannot be told.
bool MayStillWrite(pid_t pid) {
    if (::kill(pid, 0) != 0 && errno != EPERM) return false;
    const std::string name = ProcessName(std::to_string(pid));
    return name.empty() || name == ProcessName("self");
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
    if (path.empty() || path.back() == '/') return false;
    const std::string target = ResolveTarget(path);

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) return false;
    }
    if (fd < 0) return false;
    FileDescriptor file(fd);

    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(file.get(), old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(file.get(), bytes.data(), bytes.size());
    ok = ok && ::fsync(file.get()) == 0;
    ok = file.Close() && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself must reach the disk too; a folder that cannot be synced
    // (some file systems refuse) does not make the write fail.
    int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    FileDescriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::string data;
    data.reserve(static_cast<size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        data.append(chunk, static_cast<size_t>(n));
    }
    *bytes = std::move(data);
    return true;
}

void RemoveStaleTemporaryFiles(const std::string& path) {
    const std::string name = NameOf(path);
    const std::string folder = FolderOf(path);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing)) {
        const pid_t writer = WriterOf(entry->d_name, name);
        if (writer == 0 || MayStillWrite(writer)) continue;
        const std::string file = folder + "/" + entry->d_name;
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(file.c_str());
    }
    ::closedir(listing);
}

std::string KeepDamagedCopy(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::string();
    const std::string copy = path + ".damaged";
    // The newest copies are kept: each older one moves up a place, the last place's goes.
    const std::string places[] = {copy, copy + ".1", copy + ".2"};
    for (size_t i = std::size(places) - 1; i > 0; --i) ::rename(places[i - 1].c_str(), places[i].c_str());
    return ::rename(path.c_str(), copy.c_str()) == 0 ? copy : std::string();
}

}  // namespace orvella
