// Discs and dropped files: the drive chosen in the open-disc submenu or the open combo,
// the folder chooser, files and folders dropped on the main window (and a folder given
// on the command line, which opens as a dropped one), and the end of playback when the
// playing disc leaves its drive.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace orvella {

struct DropPlan;
class PlaybackControl;
class Playlist;
class PlaylistControl;
class PlayerView;

class DiscOpening {
public:
    DiscOpening(PlayerView& view, PlaybackControl& playback, Playlist& model,
                PlaylistControl& playlist);

    // The text after "#" of a chosen open-disc row: remembered as the disc label; returns
    // the media path to play (a disc locator, or the first media file of the drive with
    // all of them pending), empty when the drive holds nothing to play. A drive named by
    // its device is mounted first.
    std::string OpenDisc(const std::string& itemText);
    // A drive chosen in the open combo: opened as its submenu row would be, and played.
    void OpenDrive(const std::string& itemText);
    // The folder chooser: a DVD or Blu-ray folder plays as a disc, any other folder adds
    // the media below it and plays the first. Cancelling changes nothing.
    void OpenFolder();
    // WM_DROPFILES with the backend's drop handle.
    void OnDropFiles(WPARAM drop);
    // A folder on the command line opens as a dropped one; false when the argument is
    // not a folder (it is left to the play list then).
    bool OpenStartupFolder(const std::string& argument);
    // WM_DEVICECHANGE: playback of a disc from the drive that lost its disc stops.
    void OnDiscRemoved(const platform::RemovedDisc& disc);

private:
    // What a drop decided: subtitles into the engine, media into the play list.
    void Play(const DropPlan& plan);

    PlayerView& m_view;
    PlaybackControl& m_playback;
    Playlist& m_model;
    PlaylistControl& m_playlist;
};

}  // namespace orvella
