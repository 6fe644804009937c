#include "app/DiscOpening.h"

#include <cstdio>

#include "app/ChildWindows.h"
#include "app/DiscRules.h"
#include "app/PlaybackControl.h"
#include "app/PlayerView.h"
#include "app/PlaylistControl.h"
#include "app/ScreenshotFiles.h"
#include "app/StartupRules.h"
#include "engine/LaunchOptions.h"
#include "engine/SlaveCommands.h"
#include "library/LocalStrings.h"
#include "playlist/MediaFiles.h"
#include "playlist/Playlist.h"
#include "ui/QuestionTexts.h"

namespace orvella {

namespace {

bool IsDeviceNode(const std::string& path) { return path.compare(0, 5, "/dev/") == 0; }

}  // namespace

DiscOpening::DiscOpening(PlayerView& view, PlaybackControl& playback, Playlist& model,
                         PlaylistControl& playlist, ChildWindows& dialogs)
    : m_view(view),
      m_playback(playback),
      m_model(model),
      m_playlist(playlist),
      m_dialogs(dialogs),
      m_walker([&view] { return view.Handle(); }, WM_FOLDERS_WALKED) {}

void DiscOpening::OpenDrive(const std::string& itemText) {
    const std::string drive = DriveOfDiscItem(itemText);
    if (!IsDeviceNode(drive)) {
        OpenMountedDisc(itemText, drive);
        return;
    }
    // A disc that is not mounted yet is mounted to see what it holds; the menu that chose
    // it has closed long before the answer comes.
    const WPARAM ticket = platform::GetBackend().MountOpticalDisc(drive, m_view.Handle(), WM_DISC_MOUNTED);
    m_mounts[ticket] = itemText;
}

void DiscOpening::OnDiscMounted(WPARAM ticket) {
    auto it = m_mounts.find(ticket);
    if (it == m_mounts.end()) return;
    const std::string itemText = it->second;
    m_mounts.erase(it);
    const platform::MountedDisc disc = platform::GetBackend().TakeMountedDisc(ticket);
    const std::string drive = DriveOfDiscItem(itemText);
    if (disc.noDisc) {
        m_dialogs.AskQuestion(kNoDiscQuestion, drive);
    } else if (disc.mountPoint.empty()) {
        m_dialogs.AskQuestion(kCannotOpenDiscQuestion, drive);
    } else {
        OpenMountedDisc(itemText, disc.mountPoint);
    }
}

void DiscOpening::OpenMountedDisc(const std::string& itemText, const std::string& folder) {
    m_walker.Walk({folder}, [this, itemText, folder](const WalkedFolders& walked) {
        const std::string drive = DriveOfDiscItem(itemText);
        const FolderContents contents = walked.front().value_or(FolderContents{});
        std::string mediaPath;
        // A DVD plays from the drive itself, mounted or not.
        if (contents.kind == kDiscDvd) mediaPath = DiscLocator(kDiscDvd, drive, true);
        if (contents.kind == kDiscBluRay) mediaPath = DiscLocator(kDiscBluRay, folder, true);
        m_model.ClearPending();
        for (const std::string& path : contents.media) m_model.AddPending(path);
        if (mediaPath.empty() && !contents.media.empty()) mediaPath = contents.media.front();
        if (mediaPath.empty()) {
            m_dialogs.AskQuestion(kCannotOpenDiscQuestion, drive);
            return;
        }
        // Only a disc that plays is the one whose removal stops playback.
        m_playback.SetDiscLabel(itemText);
        m_playlist.PlayPending(mediaPath, itemText);
    });
}

void DiscOpening::OpenFolder() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::Folder;
    request.title = LocalString(45, "Open folder");
    const std::vector<std::string> chosen =
        platform::GetBackend().RunFileDialog(m_view.Handle(), request);
    if (chosen.empty()) return;
    const std::string path = chosen.front();
    m_walker.Walk({path}, [this, path](const WalkedFolders& walked) {
        const FolderContents contents = walked.front().value_or(FolderContents{});
        std::string mediaPath = m_playback.CurrentMediaPath();
        m_model.ClearPending();
        if (contents.kind == kDiscDvd || contents.kind == kDiscBluRay) {
            mediaPath = DiscLocator(contents.kind, path, false);
        } else {
            for (const std::string& file : contents.media) m_model.AddPending(file);
            if (!contents.media.empty()) mediaPath = contents.media.front();
        }
        // An empty folder leaves the path as it was: what played before starts again.
        m_playlist.PlayPending(mediaPath);
    });
}

void DiscOpening::OnDropFiles(WPARAM drop) {
    platform::Backend& backend = platform::GetBackend();
    const std::vector<std::string> paths = backend.DragQueryFiles(drop);
    backend.DragFinish(drop);
    m_walker.Walk(paths, [this, paths](const WalkedFolders& walked) { Play(PlanDrop(paths, walked)); });
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
    m_walker.Walk({path}, [this, path](const WalkedFolders& walked) {
        const DropPlan plan = PlanDrop({path}, walked);
        if (!plan.pending.empty()) {
            Play(plan);
            return;
        }
        const std::string text = LocalString(23, "No media files in %s", NameOfPath(path));
        std::fprintf(stderr, "orvella: %s\n", text.c_str());
        m_view.SetControlText("filename", text);
    });
    return true;
}

void DiscOpening::OnDiscRemoved(const platform::RemovedDisc& disc) {
    if (!m_playback.IsDiscMode() || !m_playback.IsEngineRunning()) return;
    const std::string playing = DriveOfDiscItem(m_playback.DiscLabel());
    if (playing.empty()) return;
    if (playing == disc.device || playing == disc.mountPoint) m_playback.Stop();
}

}  // namespace orvella
