#include "app/DiscRules.h"

#include "library/LocalStrings.h"


namespace orvella {

namespace {

// A mounted disc is named by where it is mounted: that is what the disc-removal
// signals report back most reliably.
const std::string& WhereOf(const platform::OpticalDrive& drive) {
    return drive.mountPoint.empty() ? drive.device : drive.mountPoint;
}

}  // namespace

std::string DiscItemText(const platform::OpticalDrive& drive) {
    if (drive.label.empty()) return WhereOf(drive);
    return drive.label + "(" + WhereOf(drive) + ")";
}

std::string DiscRowName(const platform::OpticalDrive& drive) {
    return "ID_MAINMENU_FILE_OPENDISC#" + DiscItemText(drive);
}

std::string DiscRowText(const platform::OpticalDrive& drive) {
    return LocalString(47, "Disc %s", drive.label + "(" + WhereOf(drive) + ")");
}

std::string DriveOfDiscItem(const std::string& itemText) {
    if (itemText.empty() || itemText[0] == '/') return itemText;
    const size_t open = itemText.find("(/");
    if (open == std::string::npos) return itemText;
    std::string drive = itemText.substr(open + 1);
    if (!drive.empty() && drive.back() == ')') drive.pop_back();
    return drive;
}

std::string LowerExtensionOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return std::string();
    std::string ext = path.substr(dot);
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

bool IsSubtitleExtension(const std::string& lowerExtension) {
    static const char* const kSubtitles[] = {".ass", ".srt"};
    for (const char* s : kSubtitles)
        if (lowerExtension == s) return true;
    return false;
}

DropPlan PlanDrop(const std::vector<std::string>& paths, const WalkedFolders& folders) {
    DropPlan plan;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string& path = paths[i];
        const FolderContents* folder = i < folders.size() && folders[i] ? &*folders[i] : nullptr;
        if (folder && (folder->kind == kDiscDvd || folder->kind == kDiscBluRay)) {
            plan.discLocator = DiscLocator(folder->kind, path, false);
            plan.discMode = true;
            plan.pending.push_back(plan.discLocator);
        } else if (folder) {
            // A plain folder stands for the whole drop: what came before it goes.
            plan.pending = folder->media;
        } else if (IsDiscImage(path)) {
            // The play list takes it as the disc it holds.
            plan.discMode = true;
            plan.pending.push_back(path);
        } else {
            // A file without an extension is not taken for media.
            const std::string ext = LowerExtensionOf(path);
            if (ext.empty()) continue;
            if (IsMediaExtension(ext)) {
                plan.pending.push_back(path);
            } else if (IsSubtitleExtension(ext)) {
                plan.subtitles.push_back(path);
            }
        }
    }
    return plan;
}

}  // namespace orvella
