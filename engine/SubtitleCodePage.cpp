#include "engine/SubtitleCodePage.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/LaunchOptions.h"

namespace orvella {
namespace {

struct Mark {
    std::string_view bytes;
    const char* codePage;
};

const Mark kMarks[] = {
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
};

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte no sequence starts with.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Valid UTF-8 with at least one character beyond ASCII. Overlong forms, surrogates and
// code points past U+10FFFF are not valid; a sequence cut by the end of head is.
bool IsUtf8BeyondAscii(std::string_view head) {
    bool beyond = false;
    for (size_t i = 0; i < head.size();) {
        const auto lead = static_cast<unsigned char>(head[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0) return false;
        if (length == 1) {
            ++i;
            continue;
        }
        for (size_t k = 1; k < length && i + k < head.size(); ++k) {
            const auto next = static_cast<unsigned char>(head[i + k]);
            unsigned char low = 0x80, high = 0xBF;
            if (k == 1 && lead == 0xE0) low = 0xA0;
            if (k == 1 && lead == 0xED) high = 0x9F;
            if (k == 1 && lead == 0xF0) low = 0x90;
            if (k == 1 && lead == 0xF4) high = 0x8F;
            if (next < low || next > high) return false;
        }
        beyond = true;
        i += length;
    }
    return beyond;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The text subtitle formats the engine looks for beside the media.
bool IsSubtitleName(const std::string& lowerName) {
    static const char* const kExtensions[] = {".srt", ".sub", ".ssa", ".ass", ".smi", ".txt",
                                              ".utf", ".utf8", ".utf-8", ".rt", ".aqt", ".jss", ".js"};
    for (const char* extension : kExtensions) {
        const std::string e = extension;
        if (lowerName.size() > e.size() && lowerName.compare(lowerName.size() - e.size(), e.size(), e) == 0)
            return true;
    }
    return false;
}

std::string StemOf(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

std::string SubtitleCodePage(std::string_view head, const std::string& setting) {
    for (const Mark& mark : kMarks)
        if (head.substr(0, mark.bytes.size()) == mark.bytes) return mark.codePage;
    return IsUtf8BeyondAscii(head) ? "UTF-8" : setting;
}

std::string ReadFileHead(const std::string& path, size_t limit) {
    // A pipe would keep us waiting for a writer, a folder has nothing to say.
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::string();
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return std::string();
    std::string head(limit, '\0');
    head.resize(std::fread(&head[0], 1, limit, file.get()));
    return head;
}

std::string SubtitleBesideMedia(const std::string& mediaPath, int fuzziness) {
    const size_t slash = mediaPath.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : mediaPath.substr(0, slash + 1);
    const std::string stem = Lower(StemOf(mediaPath.substr(slash == std::string::npos ? 0 : slash + 1)));
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
    if (!dir || stem.empty()) return std::string();
    std::vector<std::pair<bool, std::string>> found;  // (not an exact match, name)
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        const std::string lower = Lower(name);
        if (!IsSubtitleName(lower)) continue;
        const bool exact = Lower(StemOf(name)) == stem;
        if (exact || (fuzziness == 1 && lower.find(stem) != std::string::npos) || fuzziness >= 2)
            found.emplace_back(!exact, name);
    }
    if (found.empty()) return std::string();
    std::sort(found.begin(), found.end());
    return folder + found.front().second;
}

std::string LaunchSubtitleCodePage(const LaunchOptions& o) {
    std::string file = PassedSubtitleFile(o);
    const bool fileMedia = !IsDiscLocator(o.mediaPath) && !IsUrl(o.mediaPath);
    if (file.empty() && fileMedia && o.playing.subtitleSource != SubtitleSource::Off)
        file = SubtitleBesideMedia(AbsoluteMediaPath(o.mediaPath, o.currentFolder), o.subtitlefuzziness);
    return SubtitleCodePage(file.empty() ? std::string() : ReadFileHead(file), o.subtitleencode);
}

}  // namespace orvella
