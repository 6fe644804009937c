// The play list's commands: opening files, moving through the list, deleting, clearing
// and sorting entries, what plays when an entry ends, the play memory and the play-list
// files. The model keeps the entries; this class asks the user (dialogs) and starts and
// stops playback through PlaybackControl.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/PlaybackControl.h"
#include "app/PlaybackRules.h"
#include "library/MediaSnapshot.h"
#include "library/PlayMemory.h"

namespace orvella {

class Playlist;
class PlaylistView;
class PlayerSettings;
class PlayerView;
class XmlDocument;

class PlaylistControl : public PlaybackListener {
public:
    PlaylistControl(PlayerView& view, PlayerSettings& settings, Playlist& model,
                    PlaylistView& rows, PlaybackControl& playback);

    // Asks for the open dialog once the click, key or menu choice that wants it has been
    // handled (timer TIMER_OPEN_FILES): a dialog run inside that handling may lose the
    // keyboard to the main window, and a path typed into it would go nowhere.
    void RequestOpenFiles();
    // Files chosen in the open dialog are added and the first of them plays.
    void OpenFilesDialog();
    // The argument of the command line: a file, URL or disc address plays; a play-list
    // file replaces the list and its current entry plays. (A folder opens as a dropped
    // one: DiscOpening.)
    void OpenStartupArgument(const std::string& argument);
    // Files named together on the command line: all join the list in their order, the
    // first plays.
    void OpenStartupFiles(const std::vector<std::string>& arguments);
    // The pending files, or mediaPath when none are pending, join the list and the first
    // of them plays, started again even when it plays already. Nothing happens when both
    // are empty. A disc from a drive shows discTitle in the list.
    void PlayPending(const std::string& mediaPath, const std::string& discTitle = std::string());
    // Adds the given files (dropped, scanned, chosen) and plays the first, as the open
    // dialog does after its choice.
    void AddAndPlay(const std::vector<std::string>& paths);

    // An address typed by the user (URL bar): played as typed, without the white space
    // around it; nothing for an empty one.
    void PlayTypedAddress(const std::string& typed);

    void PlayPrevious();
    void PlayNext();
    void PlayRow(int row);
    // The end of the current entry: the play sequence chooses what follows.
    void AdvanceAtEnd();

    void DeleteItem();          // the row the context menu acted on
    void DeleteSelectedItem();  // the row the keyboard or a click selected
    // A key the play list takes itself while it has the focus and no hotkey took it.
    bool OnListKey(WPARAM key);
    void DeleteCurrentItem();  // the current entry, wherever the selection stands
    void Clear();
    void SortByName();
    void SortByType();
    void ShowInExplorer();

    // A single existing file of any type; empty when cancelled.
    std::string ChooseFile();
    // Asks for a subtitle file and loads it into the engine (a cancelled choice still
    // removes the loaded subtitles).
    void LoadSubtitleFromDialog();

    // ".orv" files through their dialogs.
    void SavePlaylistDialog();
    void LoadPlaylistDialog();
    // Loading without the dialog: the list is replaced, nothing starts. False (nothing
    // changes) when the file does not read.
    bool LoadPlaylistFile(const std::string& path);

    // The play memory in "settings.xml".
    void ReadPlayMemory(const XmlDocument& document);
    // The play memory is being read apart: what is listed meanwhile goes after it, and a
    // list cleared or replaced meanwhile drops it.
    void AwaitPlayMemory() { m_memoryAwaited = true; }
    // The memory read apart is in. While `playing` goes on, an entry that already plays
    // and was remembered with a resume point or subtitle starts again from there, as it
    // would had the memory been read first.
    void RestorePlayMemory(MediaRecord record, bool playing = true);
    void WritePlayMemory(XmlDocument& document);
    // The play memory as the settings file is to hold it: none while the list is not kept.
    std::optional<MediaSnapshot> PlayMemory();
    bool SavesPlaylistAtExit() const { return m_saveAtExit; }
    void SetSavePlaylistAtExit(bool on) { m_saveAtExit = on; }

    // PlaybackListener
    void OnEntryEnded() override { AdvanceAtEnd(); }
    void OnOpenFilesWanted() override { RequestOpenFiles(); }

private:
    // Removes one row; the current entry goes as DeleteCurrentItem takes it.
    void DeleteRow(int row);
    // Makes path the current entry (adding it when new) and starts it.
    void StartSource(const std::string& path);
    // The entry step rows from the current one plays; nothing past either end.
    void PlayNeighbour(long step);
    // The current entry became another one: its path is the one to play.
    void TakeCurrentPath();
    void PlayCurrentIfChanged(const std::string& before);
    // The list lost what played: stop and show the start view.
    void StopAfterRemoval();
    void Say(const std::string& text);

    PlayerView& m_view;
    PlayerSettings& m_settings;
    Playlist& m_model;
    PlaylistView& m_rows;
    PlaybackControl& m_playback;
    bool m_saveAtExit = true;  // not stored: on at every start
    bool m_memoryAwaited = false;
    UnopenedRun m_unopened;    // entries in a row that ended without opening
    MediaSnapshots m_snapshots;
};

}  // namespace orvella
