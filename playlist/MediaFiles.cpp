#include "playlist/MediaFiles.h"

#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <unordered_set>
#include <utility>

#include "playlist/NaturalOrder.h"

namespace orvella {

const char* const kMediaFilterText =
    "*.3g2;*.3gp;*.3gpp;*.amv;*.asf;*.avi;*.dat;*.divx;*.dv;*.dvr-ms;*.f4v;*.flv;*.m1v;*.m2p;"
    "*.m2t;*.m2ts;*.m2v;*.m4v;*.mkv;*.mod;*.mov;*.mp4;*.mpe;*.mpeg;\t;*.mpeg2;*.mpeg4;*.mpg;"
    "*.mpv;*.mts;*.nsv;*.ogm;*.ogv;*.qt;*.rm;*.rmvb;*.rv;*.swf;*.tod;*.tp;*.trp;*.ts;*.vob;"
    "*.vro;*.wmv;*.wtv;*.yuv;*.wma;*.wav;*.mp3;*.aac;*.ra;*.m4a;*.ogg;*.ape;*.flac;*.mid;"
    "*.pcm;*.tta;*.flac;*.au;*.tak;*.wv;*.ape";

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string AsciiLowered(const std::string& text) {
    std::string out(text);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

// The pattern list as a set of lower-cased extensions (".avi"); entries that are not
// "*.xxx" (the tab) match nothing.
const std::unordered_set<std::string>& MediaExtensions() {
    static const std::unordered_set<std::string> extensions = [] {
        std::unordered_set<std::string> set;
        std::string text = kMediaFilterText;
        size_t begin = 0;
        while (begin <= text.size()) {
            size_t end = text.find(';', begin);
            if (end == std::string::npos) end = text.size();
            std::string entry = text.substr(begin, end - begin);
            if (entry.size() > 2 && entry[0] == '*' && entry[1] == '.')
                set.insert(AsciiLowered(entry.substr(1)));
            begin = end + 1;
        }
        return set;
    }();
    return extensions;
}

using DirectoryId = std::pair<dev_t, ino_t>;

struct Listed {
    std::string name;
    unsigned char type;
};

// A folder's entries as a file manager lists them, whatever order the file system keeps.
void SortNaturally(std::vector<Listed>& entries) {
    std::vector<std::pair<std::string, Listed>> keyed;
    keyed.reserve(entries.size());
    for (Listed& entry : entries) keyed.emplace_back(NaturalSortKey(entry.name), std::move(entry));
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i) entries[i] = std::move(keyed[i].second);
}

bool IsDirectory(const std::string& path, unsigned char type) {
    if (type == DT_DIR) return true;
    if (type != DT_UNKNOWN && type != DT_LNK) return false;
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return false;
    if (S_ISDIR(info.st_mode)) return true;
    // A link to a folder is followed; the visited set keeps a loop from going round.
    return S_ISLNK(info.st_mode) && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void Scan(const std::string& folder, std::vector<std::string>& pending,
          std::set<DirectoryId>& visited) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    struct stat info;
    if (::fstat(::dirfd(dir), &info) != 0 || !visited.insert({info.st_dev, info.st_ino}).second) {
        ::closedir(dir);
        return;
    }
    // The names are taken first and the folder closed, so that a deep tree never holds
    // more than one folder open.
    std::vector<Listed> entries;
    while (dirent* entry = ::readdir(dir)) entries.push_back({entry->d_name, entry->d_type});
    ::closedir(dir);
    SortNaturally(entries);

    for (const Listed& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        std::string path = folder + "/" + entry.name;
        if (IsDirectory(path, entry.type)) {
            Scan(path, pending, visited);
            continue;
        }
        size_t dot = entry.name.rfind('.');
        if (dot == std::string::npos) continue;  // no extension: not media, the scan goes on
        if (IsMediaExtension(entry.name.substr(dot))) pending.push_back(std::move(path));
    }
}

bool EndsWith(const std::string& name, const char* tail) {
    const size_t n = std::strlen(tail);
    return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
}

// The kind the file name decides, or 0 when it decides nothing.
int DiscKindOfName(const std::string& name) {
    if (EndsWith(name, ".SVD") || EndsWith(name, ".VCD")) return kDiscVideoCd;
    // A disc mounted with ISO 9660 name mapping shows its names in lower case.
    if (EndsWith(name, ".VOB") || EndsWith(name, ".vob")) return kDiscDvd;
    if (EndsWith(name, ".m2ts")) return kDiscBluRay;
    return kDiscNone;
}

int WalkForDiscKind(const std::string& folder, std::set<DirectoryId>& visited) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return kDiscNone;
    struct stat info;
    if (::fstat(::dirfd(dir), &info) != 0 || !visited.insert({info.st_dev, info.st_ino}).second) {
        ::closedir(dir);
        return kDiscNone;
    }
    std::vector<Listed> entries;
    while (dirent* entry = ::readdir(dir)) entries.push_back({entry->d_name, entry->d_type});
    ::closedir(dir);
    for (const Listed& entry : entries) {
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = folder + "/" + entry.name;
        const int kind = IsDirectory(path, entry.type) ? WalkForDiscKind(path, visited) : DiscKindOfName(entry.name);
        if (kind != kDiscNone) return kind;
    }
    return kDiscNone;
}

}  // namespace

int DiscType(const std::string& folder) {
    std::set<DirectoryId> visited;
    return WalkForDiscKind(folder, visited);
}

std::string DiscLocator(int kind, const std::string& where, bool fromDriveMenu) {
    // The launch drops one trailing blank of a locator; a folder whose own name ends in
    // a blank keeps it behind a "/" (the same folder).
    const std::string device = !where.empty() && where.back() == ' ' ? where + "/" : where;
    if (kind == kDiscDvd) return "dvdnav:// -dvd-device " + device + (fromDriveMenu ? " " : "");
    if (kind == kDiscBluRay) return "br:// -bluray-device " + device + " ";
    return std::string();
}

bool IsMediaExtension(const std::string& ext) {
    if (ext.size() < 2 || ext[0] != '.') return false;
    return MediaExtensions().count(AsciiLowered(ext)) != 0;
}

std::string ShortNameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t quote = name.find('"');
    if (quote != std::string::npos) name.erase(quote);
    return name;
}

std::string TypeKeyOf(const std::string& shortname) {
    size_t dot = shortname.find('.');
    return dot == std::string::npos ? shortname : shortname.substr(dot + 1);
}

bool LessByName(const std::string& a, const std::string& b) { return NaturalLess(a, b); }

bool LessByType(const std::string& a, const std::string& b) {
    const std::string typeA = NaturalSortKey(TypeKeyOf(a), false), typeB = NaturalSortKey(TypeKeyOf(b), false);
    return typeA != typeB ? typeA < typeB : NaturalLess(a, b);
}

void ScanFolder(const std::string& folder, std::vector<std::string>& pending) {
    std::set<DirectoryId> visited;
    Scan(folder, pending, visited);
}

}  // namespace orvella
