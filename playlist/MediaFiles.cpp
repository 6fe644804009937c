#include "playlist/MediaFiles.h"

#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>
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

bool SameLetters(const std::string& name, const char* word) {
    const size_t n = std::strlen(word);
    if (name.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (AsciiLower(name[i]) != AsciiLower(word[i])) return false;
    return true;
}

bool EndsWith(const std::string& name, const char* tail) {
    const size_t n = std::strlen(tail);
    return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
}

bool EndsWithLetters(const std::string& name, const char* tail) {
    const size_t n = std::strlen(tail);
    return name.size() >= n && SameLetters(name.substr(name.size() - n), tail);
}

// Lists each folder once: a listing read while looking for a disc's folders is kept for
// the scan that may follow; a folder met again (a link round) is not listed again.
class FolderLister {
public:
    explicit FolderLister(const std::atomic<bool>* cancel) : m_cancel(cancel) {}

    // The entries of folder without "." and ".."; false when it cannot be listed, was
    // listed before, or the walk was called off.
    bool List(const std::string& folder, std::vector<Listed>& entries) {
        auto kept = m_kept.find(folder);
        if (kept != m_kept.end()) {
            entries = std::move(kept->second);
            m_kept.erase(kept);
            return true;
        }
        if (m_cancel && m_cancel->load()) return false;
        DIR* dir = ::opendir(folder.c_str());
        if (!dir) return false;
        struct stat info;
        if (::fstat(::dirfd(dir), &info) != 0 || !m_visited.insert({info.st_dev, info.st_ino}).second) {
            ::closedir(dir);
            return false;
        }
        // The names are taken first and the folder closed, so that a deep tree never holds
        // more than one folder open.
        entries.clear();
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") entries.push_back({std::move(name), entry->d_type});
        }
        ::closedir(dir);
        return true;
    }

    // Lists folder and keeps the listing for the List of it that may follow.
    const std::vector<Listed>* Peek(const std::string& folder) {
        auto kept = m_kept.find(folder);
        if (kept != m_kept.end()) return &kept->second;
        std::vector<Listed> entries;
        if (!List(folder, entries)) return nullptr;
        return &(m_kept[folder] = std::move(entries));
    }

private:
    const std::atomic<bool>* m_cancel;
    std::set<DirectoryId> m_visited;
    std::map<std::string, std::vector<Listed>> m_kept;
};

void Scan(const std::string& folder, std::vector<std::string>& pending, FolderLister& lister) {
    std::vector<Listed> entries;
    if (!lister.List(folder, entries)) return;
    SortNaturally(entries);
    for (const Listed& entry : entries) {
        std::string path = folder + "/" + entry.name;
        if (IsDirectory(path, entry.type)) {
            Scan(path, pending, lister);
            continue;
        }
        size_t dot = entry.name.rfind('.');
        if (dot == std::string::npos) continue;  // no extension: not media, the scan goes on
        if (IsMediaExtension(entry.name.substr(dot))) pending.push_back(std::move(path));
    }
}

// The subfolder of folder named word in any letter case, listed; null when there is none.
const std::vector<Listed>* PeekSubfolder(FolderLister& lister, const std::string& folder,
                                         const std::vector<Listed>& entries, const char* word,
                                         std::string* path) {
    for (const Listed& entry : entries) {
        if (!SameLetters(entry.name, word)) continue;
        *path = folder + "/" + entry.name;
        if (IsDirectory(*path, entry.type)) return lister.Peek(*path);
    }
    return nullptr;
}

// A VIDEO_TS folder that a DVD player can open: its index or its video files.
bool HoldsDvdVideo(const std::vector<Listed>& videoTs) {
    for (const Listed& entry : videoTs)
        if (SameLetters(entry.name, "VIDEO_TS.IFO") || EndsWithLetters(entry.name, ".vob")) return true;
    return false;
}

bool HoldsBluRay(FolderLister& lister, const std::string& bdmvPath, const std::vector<Listed>& bdmv) {
    for (const Listed& entry : bdmv)
        if (SameLetters(entry.name, "index.bdmv")) return true;
    std::string streamPath;
    const std::vector<Listed>* stream = PeekSubfolder(lister, bdmvPath, bdmv, "STREAM", &streamPath);
    if (!stream) return false;
    // Stream files as a Blu-ray names them, in lower case.
    for (const Listed& entry : *stream)
        if (EndsWith(entry.name, ".m2ts")) return true;
    return false;
}

int DiscKindOf(FolderLister& lister, const std::string& folder, const std::vector<Listed>& entries) {
    const size_t slash = folder.rfind('/');
    const std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
    if (SameLetters(name, "VIDEO_TS") && HoldsDvdVideo(entries)) return kDiscDvd;
    std::string path;
    const std::vector<Listed>* videoTs = PeekSubfolder(lister, folder, entries, "VIDEO_TS", &path);
    if (videoTs && HoldsDvdVideo(*videoTs)) return kDiscDvd;
    const std::vector<Listed>* bdmv = PeekSubfolder(lister, folder, entries, "BDMV", &path);
    if (bdmv && HoldsBluRay(lister, path, *bdmv)) return kDiscBluRay;
    return kDiscNone;
}

}  // namespace

FolderContents ExamineFolder(const std::string& folder, const std::atomic<bool>* cancel) {
    FolderContents contents;
    FolderLister lister(cancel);
    const std::vector<Listed>* top = lister.Peek(folder);
    if (!top) return contents;
    contents.kind = DiscKindOf(lister, folder, *top);
    if (contents.kind == kDiscNone) Scan(folder, contents.media, lister);
    return contents;
}

const char* const kDiscImagePattern = "*.iso";

bool IsDiscImage(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.size() > 4 && EndsWithLetters(name, ".iso");
}

std::string PlayablePath(const std::string& path) {
    // An address ("http://host/a.iso") is the engine's to read.
    if (!IsDiscImage(path) || path.find("://") != std::string::npos) return path;
    return DiscLocator(kDiscDvd, path, false);
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
    return slash == std::string::npos ? path : path.substr(slash + 1);
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
    FolderLister lister(nullptr);
    Scan(folder, pending, lister);
}

}  // namespace orvella
