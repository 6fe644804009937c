#include "app/StartupRules.h"

#include "app/DiscRules.h"
#include "engine/LaunchOptions.h"

#include <unistd.h>

#include <cerrno>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvella {

namespace {
int ReadDecimal(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

struct LocaleLanguage {
    const char* prefix;  // matched against the start of the locale name
    const char* folder;
};
// Chinese only for the mainland locale, as the language folders only carry simplified text.
constexpr LocaleLanguage kLocaleLanguages[] = {
    {"zh_CN", "chn"},
    {"en", "eng"},
    {"de", "de"},
    {"ja", "jpn"},
};
}  // namespace

ProgramVersion ParseProgramVersion(const std::string& text) {
    ProgramVersion v;
    size_t first = text.find('.');
    v.major = ReadDecimal(text.substr(0, first));
    if (first == std::string::npos) return v;
    size_t second = text.find('.', first + 1);
    v.minor = ReadDecimal(text.substr(first + 1, second == std::string::npos ? std::string::npos
                                                                               : second - first - 1));
    if (second != std::string::npos) v.build = ReadDecimal(text.substr(second + 1));
    return v;
}

std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = nullptr;
    for (const char* candidate : {lcAll, lcMessages, lang}) {
        if (candidate && *candidate) {
            locale = candidate;
            break;
        }
    }
    if (!locale) return "eng";
    std::string name(locale);
    for (const auto& entry : kLocaleLanguages) {
        size_t n = std::strlen(entry.prefix);
        // "en" must not match "eo"; the prefix ends at the name's end or at '_', '.', '@'
        if (name.compare(0, n, entry.prefix) == 0 &&
            (name.size() == n || std::strchr("_.@", name[n]) != nullptr)) {
            return entry.folder;
        }
    }
    return "eng";
}

std::string DefaultLanguage() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}

std::string DataFolderPath(const char* xdgConfigHome, const char* home) {
    std::string base;
    if (xdgConfigHome && *xdgConfigHome == '/') {
        base = xdgConfigHome;
    } else {
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/Orvella";
}

std::string ScreenshotFolderPath(const std::string& picturesFolder) {
    std::string base = picturesFolder;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return (base == "/" ? "" : base) + "/Orvella";
}

bool MakeFolders(const std::string& path, unsigned mode) {
    if (path.empty()) return false;
    for (size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '/') continue;
        std::string part = path.substr(0, pos);
        if (::mkdir(part.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WorkingFolder() {
    std::string folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE) return std::string();
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

std::string NameOfPath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsPlaylistFileName(const std::string& path) {
    return !IsUrl(path) && LowerExtensionOf(path) == ".orv";
}

CommandLineAsk ReadCommandLine(std::vector<std::string>* args) {
    if (args->size() == 1 && (*args)[0] == "--version") return CommandLineAsk::Version;
    if (args->size() == 1 && ((*args)[0] == "--help" || (*args)[0] == "-h")) return CommandLineAsk::Help;
    if (!args->empty() && (*args)[0] == "--") args->erase(args->begin());
    return CommandLineAsk::Run;
}

std::string CommandLineAnswer(CommandLineAsk ask) {
    if (ask == CommandLineAsk::Version) return std::string("Orvella ") + ORVELLA_VERSION + "\n";
    if (ask != CommandLineAsk::Help) return std::string();
    return "Usage: orvella [--] [file or folder or address ...]\n"
           "Plays the files in the given order; without one, the play list of the last session.\n"
           "  --version  print the version and end\n"
           "  --help     print this help and end\n"
           "  --         take everything after it as files\n";
}

}  // namespace orvella
