#include "app/ScreenshotFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace orvella {
namespace {

// Enough names for a whole film shot frame by frame.
constexpr int kNamesTried = 1000000;

// Copies into a new file only: false when `to` exists or the copy is not whole (a part
// written is removed again).
bool CopyToNewFile(const std::string& from, const std::string& to, bool* exists) {
    *exists = false;
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        *exists = errno == EEXIST;
        ::close(in);
        return false;
    }
    bool ok = true;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    ::close(in);
    if (::close(out) != 0) ok = false;
    if (!ok) ::unlink(to.c_str());
    return ok;
}

}  // namespace

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SameFolder(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::string ShotFileName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "shot%04d.png", number);
    return name;
}

int MoveShot(const std::string& fromFolder, int number, const std::string& toFolder) {
    const std::string from = fromFolder + "/" + ShotFileName(number);
    struct stat st {};
    if (number <= 0 || ::stat(from.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return 0;
    for (int n = number; n < number + kNamesTried && n > 0; ++n) {
        const std::string to = toFolder + "/" + ShotFileName(n);
        // A hard link never replaces a file that is there; it fails across file systems,
        // where a copy into a new file does the same.
        bool exists = false;
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return n;
        }
        if (errno == EEXIST) continue;
        if (CopyToNewFile(from, to, &exists)) {
            ::unlink(from.c_str());
            return n;
        }
        if (!exists) return 0;
    }
    return 0;
}

}  // namespace orvella
