#include "platform/FileDialogRules.h"

namespace platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string Trimmed(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

}  // namespace

std::vector<std::string> SplitFilterPatterns(const std::string& patterns) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string one = Trimmed(patterns.substr(start, end - start));
        if (!one.empty()) out.push_back(one);
        start = end + 1;
    }
    return out;
}

std::string CaseInsensitiveGlob(const std::string& pattern) {
    if (pattern.find('[') != std::string::npos) return pattern;
    std::string out;
    for (char c : pattern) {
        const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
        if (!lower && !upper) {
            out += c;
            continue;
        }
        const char l = lower ? c : static_cast<char>(c - 'A' + 'a');
        out += '[';
        out += l;
        out += static_cast<char>(l - 'a' + 'A');
        out += ']';
    }
    return out;
}

std::string FilterDisplayName(const std::string& name) {
    size_t first = name.find_first_not_of('\t');
    return first == std::string::npos ? std::string() : name.substr(first);
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    const std::string ext = extension.empty() || extension[0] != '.' ? extension : extension.substr(1);
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (ext.empty() || nameStart >= path.size()) return path;
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart) {
        if (dot + 1 < path.size()) return path;  // has one
        return path + ext;                      // "list." -> "list.orv"
    }
    return path + "." + ext;
}

}  // namespace platform
