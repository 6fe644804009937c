// Discs and dropped files: the drive chosen in the open-disc submenu or the open combo,
// the folder chooser, files and folders dropped on the main window (and a folder given
// on the command line, which opens as a dropped one), and the end of playback when the
// playing disc leaves its drive. Mounting and walking folders never hold up the window:
// both answer later by message, and whatever is chosen meanwhile goes on as usual.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/FolderWalker.h"
#include "platform/Platform.h"

namespace orvella {

// A drive's disc has been mounted (wParam: the backend's ticket).
constexpr UINT WM_DISC_MOUNTED = WM_USER + 129;
// A folder walk finished after the window stopped waiting for it (wParam: its ticket).
constexpr UINT WM_FOLDERS_WALKED = WM_USER + 130;

struct DropPlan;
class ChildWindows;
class PlaybackControl;
class Playlist;
class PlaylistControl;
class PlayerView;

class DiscOpening {
public:
    DiscOpening(PlayerView& view, PlaybackControl& playback, Playlist& model,
                PlaylistControl& playlist, ChildWindows& dialogs);

    // The text after "#" of a chosen open-disc row or open-combo item: remembered as the
    // disc label. A drive named by its device is mounted first; then a DVD or Blu-ray plays
    // as a disc, any other disc's media files join the play list and the first plays. An
    // empty drive, or a disc without anything to play, says so.
    void OpenDrive(const std::string& itemText);
    // WM_DISC_MOUNTED.
    void OnDiscMounted(WPARAM ticket);
    // The folder chooser: a DVD or Blu-ray folder plays as a disc, any other folder adds
    // the media below it and plays the first. Cancelling changes nothing.
    void OpenFolder();
    // WM_DROPFILES with the backend's drop handle.
    void OnDropFiles(WPARAM drop);
    // A folder on the command line opens as a dropped one; false when the argument is
    // not a folder (it is left to the play list then).
    bool OpenStartupFolder(const std::string& argument);
    // WM_FOLDERS_WALKED.
    void OnFoldersWalked(WPARAM ticket) { m_walker.OnWalked(ticket); }
    // WM_DEVICECHANGE: playback of a disc from the drive that lost its disc stops.
    void OnDiscRemoved(const platform::RemovedDisc& disc);

    FolderWalker& Walker() { return m_walker; }

private:
    // The disc mounted at (or being) folder plays, for the row named itemText.
    void OpenMountedDisc(const std::string& itemText, const std::string& folder);
    // What a drop decided: subtitles into the engine, media into the play list.
    void Play(const DropPlan& plan);

    PlayerView& m_view;
    PlaybackControl& m_playback;
    Playlist& m_model;
    PlaylistControl& m_playlist;
    ChildWindows& m_dialogs;
    FolderWalker m_walker;
    std::map<WPARAM, std::string> m_mounts;  // ticket → the row's text, while mounting
};

}  // namespace orvella
