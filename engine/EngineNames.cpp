#include "engine/EngineNames.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orvella {
namespace {

const char kFolderPrefix[] = "orvella-names-";

bool IsControl(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

bool IsPlainLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// ".mkv" of "/a/b.mkv"; empty when the name has none or an odd one.
std::string PlainExtension(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    const std::string ext = path.substr(dot);
    if (ext.size() < 2 || ext.size() > 10) return std::string();
    for (size_t i = 1; i < ext.size(); ++i)
        if (!IsPlainLetter(ext[i])) return std::string();
    return ext;
}

// Empties and removes one alias folder: it only ever holds links.
void RemoveFolder(const std::string& folder) {
    if (DIR* dir = ::opendir(folder.c_str())) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
        for (const std::string& name : names) ::unlink((folder + "/" + name).c_str());
    }
    ::rmdir(folder.c_str());
}

// The process id in "orvella-names-<pid>-XXXXXX"; 0 when the name is not one of ours.
pid_t OwnerOf(const std::string& name) {
    const size_t prefix = sizeof kFolderPrefix - 1;
    if (name.compare(0, prefix, kFolderPrefix) != 0) return 0;
    char* end = nullptr;
    const long pid = std::strtol(name.c_str() + prefix, &end, 10);
    if (end == name.c_str() + prefix || *end != '-' || pid <= 0) return 0;
    return static_cast<pid_t>(pid);
}

}  // namespace

bool HasControlCharacter(const std::string& text) {
    for (char c : text)
        if (IsControl(c)) return true;
    return false;
}

std::string EscapeControlCharacters(const std::string& address) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(address.size());
    for (char c : address) {
        if (!IsControl(c)) {
            out += c;
            continue;
        }
        const unsigned char u = static_cast<unsigned char>(c);
        out += '%';
        out += kHex[u >> 4];
        out += kHex[u & 0xF];
    }
    return out;
}

AliasFolder::AliasFolder(std::string parent) : m_parent(std::move(parent)) {}

AliasFolder::~AliasFolder() {
    if (!m_folder.empty()) RemoveFolder(m_folder);
}

std::string AliasFolder::Alias(const std::string& target) {
    if (m_folder.empty()) {
        // mkdtemp makes it 0700: nobody else may put a link of their own in our place.
        std::string pattern = m_parent + "/" + kFolderPrefix + std::to_string(::getpid()) + "-XXXXXX";
        if (!::mkdtemp(&pattern[0])) return std::string();
        m_folder = pattern;
    }
    auto known = m_aliases.find(target);
    if (known != m_aliases.end()) return known->second;
    const std::string alias = m_folder + "/" + std::to_string(m_aliases.size() + 1) + PlainExtension(target);
    if (::symlink(target.c_str(), alias.c_str()) != 0) return std::string();
    return m_aliases[target] = alias;
}

std::string AliasFolder::DefaultParent() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        struct stat info {};
        if (value && *value == '/' && ::stat(value, &info) == 0 && S_ISDIR(info.st_mode)) return value;
    }
    return "/tmp";
}

void AliasFolder::RemoveStale(const std::string& parent) {
    DIR* dir = ::opendir(parent.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const pid_t owner = OwnerOf(name);
        if (owner == 0 || owner == ::getpid()) continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;  // still running (or not ours to ask)
        const std::string path = parent + "/" + name;
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid())
            stale.push_back(path);
    }
    ::closedir(dir);
    for (const std::string& path : stale) RemoveFolder(path);
}

}  // namespace orvella
