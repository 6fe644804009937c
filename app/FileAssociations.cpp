#include "app/FileAssociations.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "app/FileTypes.h"
#include "app/StartupRules.h"
#include "library/AtomicFile.h"
#include "platform/Platform.h"
#include "uilib/Base.h"

namespace orvella {

const char* const kDesktopId = "orvella.desktop";

std::string FormatSavedHandlers(const SavedHandlers& saved) {
    std::string text;
    for (const auto& [type, handler] : saved) text += type + "\t" + handler + "\n";
    return text;
}

SavedHandlers ParseSavedHandlers(const std::string& text) {
    SavedHandlers saved;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t tab = line.find('\t');
        if (tab != std::string::npos && tab > 0) saved.emplace_back(line.substr(0, tab), line.substr(tab + 1));
        start = end + 1;
    }
    return saved;
}

std::string WithExecLine(const std::string& entry, const std::string& exec) {
    std::string result;
    bool replaced = false;
    size_t start = 0;
    while (start < entry.size()) {
        size_t end = entry.find('\n', start);
        if (end == std::string::npos) end = entry.size();
        const std::string line = entry.substr(start, end - start);
        if (!replaced && line.compare(0, 5, "Exec=") == 0) {
            result += "Exec=" + exec + "\n";
            replaced = true;
        } else {
            result += line + "\n";
        }
        start = end + 1;
    }
    if (!replaced) result += "Exec=" + exec + "\n";
    return result;
}

namespace {

bool Saved(const SavedHandlers& saved, const std::string& type) {
    for (const auto& entry : saved)
        if (entry.first == type) return true;
    return false;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// The default can only name an entry the desktop finds: one installed with the system,
// else a copy of ours in the user's applications folder that runs this program.
bool EnsureDesktopEntry(platform::MimeDefaults& desktop, const AssociationPlaces& places) {
    // Made before the desktop first looks, so it watches the folder from the start.
    MakeFolders(FolderOf(places.userEntry));
    const std::string found = desktop.EntryFile(kDesktopId);
    if (!found.empty() && found != places.userEntry) return true;
    std::string entry;
    if (!ReadWholeFile(places.entryTemplate, &entry)) return !found.empty();
    entry = WithExecLine(entry, DesktopExecLine(places.program));
    std::string old;
    if (ReadWholeFile(places.userEntry, &old) && old == entry) return true;
    if (!WriteFileAtomically(places.userEntry, entry)) return false;
    // The desktop notices a new entry file once its folder watch has told it.
    for (int attempt = 0; attempt < 100 && desktop.EntryFile(kDesktopId).empty(); ++attempt)
        usleep(50 * 1000);
    return true;
}

void Claim(platform::MimeDefaults& desktop, const AssociationPlaces& places) {
    if (!EnsureDesktopEntry(desktop, places)) return;
    const std::vector<std::string> types = AssociatedMimeTypes(desktop);
    std::string text;
    ReadWholeFile(places.savedHandlers, &text);
    SavedHandlers saved = ParseSavedHandlers(text);
    std::vector<std::string> toClaim;
    for (const std::string& type : types) {
        const std::string current = desktop.DefaultFor(type);
        if (current == kDesktopId) continue;
        toClaim.push_back(type);
        // The first handler seen is the one given back, however often this runs.
        if (!Saved(saved, type)) saved.emplace_back(type, current);
    }
    if (toClaim.empty()) return;
    // Saved before anything changes, so no handler is ever lost.
    const std::string after = FormatSavedHandlers(saved);
    if (after != text && !WriteFileAtomically(places.savedHandlers, after)) return;
    for (const std::string& type : toClaim) desktop.SetDefault(type, kDesktopId);
}

void GiveBack(platform::MimeDefaults& desktop, const AssociationPlaces& places) {
    std::string text;
    if (!ReadWholeFile(places.savedHandlers, &text)) return;
    for (const auto& [type, handler] : ParseSavedHandlers(text)) {
        // A handler the user chose since is theirs to keep.
        if (desktop.DefaultFor(type) != kDesktopId) continue;
        // Our line goes; the handler is written only where the desktop would not find it
        // again by itself, so no line the user never had is left behind.
        desktop.ResetDefault(type);
        if (!handler.empty() && desktop.DefaultFor(type) != handler) desktop.SetDefault(type, handler);
    }
    std::remove(places.savedHandlers.c_str());
}

}  // namespace

void ApplyAssociation(bool on, platform::MimeDefaults& desktop, const AssociationPlaces& places) {
    if (on)
        Claim(desktop, places);
    else
        GiveBack(desktop, places);
}

AssociationPlaces UserAssociationPlaces(const std::string& dataFolder) {
    AssociationPlaces places;
    places.savedHandlers = dataFolder + "/associations";
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::string base = dataHome && *dataHome == '/' ? std::string(dataHome)
                                                          : std::string(home ? home : "") + "/.local/share";
    places.userEntry = base + "/applications/" + kDesktopId;
    const std::string folder = uilib::GetAppPath().c_str();
    places.entryTemplate = folder + kDesktopId;
    std::string program(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", program.data(), program.size());
    program.resize(n > 0 ? static_cast<size_t>(n) : 0);
    places.program = program.empty() ? folder + "orvella" : program;
    return places;
}

void SwitchFileAssociations(bool on, const std::string& dataFolder) {
    if (platform::MimeDefaults* desktop = platform::GetBackend().FileTypeDefaults())
        ApplyAssociation(on, *desktop, UserAssociationPlaces(dataFolder));
}

}  // namespace orvella
