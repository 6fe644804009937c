#include "app/DiscOpening.h"

#include <sys/stat.h>

#include <cstdio>

#include "app/DiscRules.h"
#include "app/PlaybackControl.h"
#include "app/PlayerView.h"
#include "app/PlaylistControl.h"
#include "app/StartupRules.h"
#include "engine/LaunchOptions.h"
#include "engine/SlaveCommands.h"
#include "playlist/MediaFiles.h"
#include "playlist/Playlist.h"

namespace orvella {

namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsDeviceNode(const std::string& path) { return path.compare(0, 5, "/dev/") == 0; }

const DropLookup& FileSystemLookup() {
    static const DropLookup lookup{
        [](const std::string& path) { return IsFolder(path) ? DiscType(path) : -1; },
        [](const std::string& folder, std::vector<std::string>& found) { ScanFolder(folder, found); }};
    return lookup;
}

}  // namespace

DiscOpening::DiscOpening(PlayerView& view, PlaybackControl& playback, Playlist& model,
                         PlaylistControl& playlist)
    : m_view(view), m_playback(playback), m_model(model), m_playlist(playlist) {}

std::string DiscOpening::OpenDisc(const std::string& itemText) {
    m_playback.SetDiscLabel(itemText);
    m_model.ClearPending();
    const std::string drive = DriveOfDiscItem(itemText);
    // A disc that is not mounted yet is mounted to see what it holds; a DVD still plays
    // from the device itself.
    std::string folder = drive;
    if (IsDeviceNode(drive)) {
        const std::string mounted = platform::GetBackend().MountOpticalDisc(drive);
        if (!mounted.empty()) folder = mounted;
    }
    const int kind = DiscType(folder);
    if (kind == kDiscDvd) return DiscLocator(kind, drive, true);
    if (kind == kDiscBluRay) return DiscLocator(kind, folder, true);
    std::vector<std::string> found;
    if (!IsDeviceNode(folder)) ScanFolder(folder, found);
    for (const std::string& path : found) m_model.AddPending(path);
    return found.empty() ? std::string() : found.front();
}

void DiscOpening::OpenDrive(const std::string& itemText) {
    const std::string mediaPath = OpenDisc(itemText);
    if (!mediaPath.empty()) m_playlist.PlayPending(mediaPath, itemText);
}

void DiscOpening::OpenFolder() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Folder;
    request.title = "open file";
    const std::vector<std::string> chosen =
        platform::GetBackend().RunFileDialog(m_view.Handle(), request);
    if (chosen.empty()) return;
    const std::string& path = chosen.front();
    std::string mediaPath = m_playback.CurrentMediaPath();
    const int kind = DiscType(path);
    if (kind == kDiscDvd || kind == kDiscBluRay) {
        mediaPath = DiscLocator(kind, path, false);
        m_model.ClearPending();
    } else {
        std::vector<std::string> found;
        ScanFolder(path, found);
        m_model.ClearPending();
        for (const std::string& file : found) m_model.AddPending(file);
        if (!found.empty()) mediaPath = found.front();
    }
    // An empty folder leaves the path as it was: what played before starts again.
    m_playlist.PlayPending(mediaPath);
}

void DiscOpening::OnDropFiles(WPARAM drop) {
    platform::Backend& backend = platform::GetBackend();
    const std::vector<std::string> paths = backend.DragQueryFiles(drop);
    backend.DragFinish(drop);
    Play(PlanDrop(paths, FileSystemLookup()));
}

void DiscOpening::Play(const DropPlan& plan) {
    // Subtitles go to the engine as they are; nothing else about playback changes.
    for (const std::string& subtitle : plan.subtitles) {
        if (m_playback.LoadSubtitle(subtitle, false) == SendResult::Refused)
            std::fprintf(stderr, "orvella: cannot load the subtitle file %s\n", NameOfPath(subtitle).c_str());
    }
    if (plan.pending.empty()) return;
    // The play list reads the mode as it takes a disc.
    if (plan.discMode) m_playback.SetDiscMode(true);
    m_playlist.AddAndPlay(plan.pending);
}

bool DiscOpening::OpenStartupFolder(const std::string& argument) {
    if (argument.empty()) return false;
    const std::string path = AbsoluteMediaPath(argument, WorkingFolder());
    if (!IsFolder(path)) return false;
    const DropPlan plan = PlanDrop({path}, FileSystemLookup());
    if (plan.pending.empty()) {
        const std::string text = "No media files in " + NameOfPath(path);
        std::fprintf(stderr, "orvella: %s\n", text.c_str());
        m_view.SetControlText("filename", text);
        return true;
    }
    Play(plan);
    return true;
}

void DiscOpening::OnDiscRemoved(const platform::RemovedDisc& disc) {
    if (!m_playback.IsDiscMode() || !m_playback.IsEngineRunning()) return;
    const std::string playing = DriveOfDiscItem(m_playback.DiscLabel());
    if (playing.empty()) return;
    if (playing == disc.device || playing == disc.mountPoint) m_playback.Stop();
}

}  // namespace orvella
