#include "app/WebPages.h"

#include <cstdio>

namespace orvella {

namespace {

// Until the project has a public home, its own pages are the bundled help.
constexpr const char* kBundledHelp = "help/index.html";

const struct {
    int which;
    const char* bundledPage;   // below the program folder; null for a web address
    const char* searchPrefix;  // followed by the encoded name of the playing file
} kPages[] = {
    {0, kBundledHelp, nullptr},
    {1, kBundledHelp, nullptr},
    {2, nullptr, "https://www.opensubtitles.org/en/search2/sublanguageid-all/moviename-"},
    {3, kBundledHelp, nullptr},
};

// The title a search finds subtitles by: the file's name without folder and extension.
std::string SearchTerm(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

}  // namespace

std::string UrlEncode(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
                                c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string WebPageAddress(int which, const std::string& playingFile,
                           const std::string& programFolder) {
    for (const auto& page : kPages) {
        if (page.which != which) continue;
        if (page.bundledPage) return programFolder + page.bundledPage;
        return page.searchPrefix + UrlEncode(SearchTerm(playingFile));
    }
    return std::string();
}

}  // namespace orvella
