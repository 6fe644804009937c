#include "app/FileTypes.h"

#include <algorithm>
#include <cstring>

namespace orvella {

const char* const kVideoExtensions[] = {
    ".3g2", ".3gp", ".3gpp", ".amv", ".asf", ".avi", ".dat", ".divx", ".dv", ".dvr-ms",
    ".f4v", ".flv", ".m1v", ".m2p", ".m2t", ".m2ts", ".m2v", ".m4v", ".mkv", ".mod",
    ".mov", ".mp4", ".mpe", ".mpeg", ".mpeg2", ".mpeg4", ".mpg", ".mpv", ".mts", ".nsv",
    ".ogm", ".ogv", ".qt", ".rm", ".rmvb", ".rv", ".swf", ".tod", ".tp", ".trp",
    ".ts", ".vob", ".vro", ".wmv", ".wtv", ".yuv", nullptr};
const char* const kAudioExtensions[] = {
    ".wma", ".wav", ".mp3", ".aac", ".ra", ".m4a", ".ogg", ".flac", ".mid", ".pcm",
    ".tta", ".au", ".tak", ".wv", ".ape", nullptr};

std::vector<std::string> AssociatedMimeTypes(platform::MimeDefaults& desktop) {
    std::vector<std::string> types;
    for (const char* const* list : {kVideoExtensions, kAudioExtensions}) {
        for (const char* const* ext = list; *ext; ++ext) {
            bool certain = false;
            const std::string type = desktop.TypeOfExtension(*ext, &certain);
            if (!certain || type.empty() || type == "application/octet-stream") continue;
            if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
        }
    }
    return types;
}

std::string ExecArgument(const std::string& program) {
    // Characters that make an Exec argument need quotes; inside the quotes these four
    // take a backslash.
    static const char kReserved[] = " \t\n\"'\\><~|&;$*?#()`";
    static const char kEscapedInQuotes[] = "\"`$\\";
    const bool quote = program.find_first_of(kReserved) != std::string::npos;
    std::string argument;
    if (quote) argument += '"';
    for (char c : program) {
        if (c == '%') {
            argument += "%%";
            continue;
        }
        if (quote && std::strchr(kEscapedInQuotes, c)) argument += '\\';
        argument += c;
    }
    if (quote) argument += '"';
    // The entry file's own string escapes come on top.
    std::string value;
    for (char c : argument) {
        switch (c) {
            case '\\': value += "\\\\"; break;
            case '\n': value += "\\n"; break;
            case '\r': value += "\\r"; break;
            case '\t': value += "\\t"; break;
            default: value += c;
        }
    }
    return value;
}

std::string DesktopExecLine(const std::string& program) { return ExecArgument(program) + " %F"; }

std::string MimeTypeList(const std::vector<std::string>& types) {
    std::string list;
    for (const std::string& type : types) list += type + ";";
    return list;
}

}  // namespace orvella
