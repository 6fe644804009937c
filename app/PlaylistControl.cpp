#include "app/PlaylistControl.h"

#include <cstdio>
#include <random>
#include <utility>

#include "app/PlayerView.h"
#include "app/PlaylistView.h"
#include "app/StartupRules.h"
#include "engine/LaunchOptions.h"
#include "library/LocalStrings.h"
#include "library/PlayMemory.h"
#include "library/PlayerSettings.h"
#include "playlist/MediaFiles.h"
#include "playlist/Playlist.h"

namespace orvella {

namespace {

platform::FileDialogRequest OrvRequest(platform::FileDialogRequest::Kind kind, const std::string& title) {
    platform::FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filters = {{LocalString(40, "Text File(*.orv)"), "*.orv"}};
    request.defaultExtension = "orv";
    request.confirmOverwrite = kind == platform::FileDialogRequest::Kind::Save;
    return request;
}

uint32_t RandomValue() {
    static std::mt19937 generator{std::random_device{}()};
    return static_cast<uint32_t>(generator());
}
}  // namespace

PlaylistControl::PlaylistControl(PlayerView& view, PlayerSettings& settings, Playlist& model,
                                 PlaylistView& rows, PlaybackControl& playback)
    : m_view(view), m_settings(settings), m_model(model), m_rows(rows), m_playback(playback) {}

void PlaylistControl::Say(const std::string& text) {
    std::fprintf(stderr, "orvella: %s\n", text.c_str());
    m_view.SetControlText("filename", text);
}

void PlaylistControl::TakeCurrentPath() {
    const PlaylistItem* entry = m_model.Current();
    m_playback.SetCurrentMediaPath(entry ? entry->filename : std::string());
}

void PlaylistControl::PlayCurrentIfChanged(const std::string& before) {
    TakeCurrentPath();
    if (m_playback.CurrentMediaPath() != before) {
        m_playback.PlayCurrentMedia();
    } else if (!m_playback.IsEngineRunning()) {
        m_playback.ShowPlaying(m_playback.LaunchEngine());
    }
}

void PlaylistControl::RequestOpenFiles() { m_view.StartTimer(TIMER_OPEN_FILES, 100); }

void PlaylistControl::OpenFilesDialog() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::OpenMany;
    request.title = LocalString(37, "Open files");
    // DVD images too: they play as the disc they hold.
    request.filters = {{LocalString(38, "All supported media"), std::string(kMediaFilterText) + ";" + kDiscImagePattern},
                       {"\t" + LocalString(39, "All(*.*)"), "*.*"}};
    std::vector<std::string> chosen = platform::GetBackend().RunFileDialog(m_view.Handle(), request);
    if (chosen.empty()) return;
    AddAndPlay(chosen);
}

void PlaylistControl::AddAndPlay(const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    m_model.ClearPending();
    for (const std::string& path : paths) m_model.AddPending(path);
    const PlaylistItem* current = m_model.Current();
    const std::string before = current ? current->filename : std::string();
    m_model.AddPendingFiles();
    PlayCurrentIfChanged(before);
}

void PlaylistControl::OpenStartupFiles(const std::vector<std::string>& arguments) {
    std::vector<std::string> paths;
    for (const std::string& argument : arguments)
        if (!argument.empty()) paths.push_back(AbsoluteMediaPath(argument, WorkingFolder()));
    AddAndPlay(paths);
}

void PlaylistControl::OpenStartupArgument(const std::string& argument) {
    if (argument.empty()) return;
    // Entries keep whole paths, so that the play memory still finds them from elsewhere.
    const std::string path = AbsoluteMediaPath(argument, WorkingFolder());
    if (!IsPlaylistFileName(path)) {
        StartSource(path);
        return;
    }
    // The list it holds replaces ours, and its current entry plays as a file given alone would.
    if (!LoadPlaylistFile(path)) {
        Say(LocalString(22, "Cannot read the play list %s", NameOfPath(path)));
        return;
    }
    if (m_model.Current()) m_playback.PlayCurrentMedia();
}

void PlaylistControl::PlayPending(const std::string& mediaPath, const std::string& discTitle) {
    const bool single = m_model.Pending().empty();
    if (single) {
        if (mediaPath.empty()) return;
        m_model.AddPending(mediaPath);
    }
    m_model.AddPendingFiles();
    if (single && !discTitle.empty()) m_model.SetShortName(m_model.CurrentIndex(), discTitle);
    TakeCurrentPath();
    m_playback.PlayCurrentMedia();
}

void PlaylistControl::StartSource(const std::string& path) {
    Playlist::SourceResult added = m_model.AddSource(path, m_playback.DiscLabel());
    TakeCurrentPath();
    m_playback.ResetPlaybackState();
    m_playback.StopEngine();
    const bool started = m_playback.LaunchEngine();
    if (added.discMode) m_playback.SetDiscMode(true);
    m_playback.ShowPlaying(started);
}

void PlaylistControl::PlayTypedAddress(const std::string& typed) {
    static const char kSpace[] = " \t\r\n\v\f";
    const size_t first = typed.find_first_not_of(kSpace);
    if (first == std::string::npos) return;
    const size_t last = typed.find_last_not_of(kSpace);
    // The engine is given it as one argument of its own; a leading "-" is made a path
    // there, never an option.
    StartSource(typed.substr(first, last - first + 1));
}

void PlaylistControl::PlayPrevious() { PlayNeighbour(-1); }

void PlaylistControl::PlayNext() { PlayNeighbour(+1); }

void PlaylistControl::PlayNeighbour(long step) {
    // From the entry that plays, never from a row the keys moved the selection to.
    if (m_model.Empty()) return;
    const long target = static_cast<long>(m_model.CurrentIndex()) + step;
    if (target < 0 || !m_model.SetCurrent(static_cast<size_t>(target))) return;
    TakeCurrentPath();
    m_playback.PlayCurrentMedia();
}

void PlaylistControl::PlayRow(int row) {
    if (row < 0 || !m_model.SetCurrent(static_cast<size_t>(row))) return;
    const PlaylistItem* entry = m_model.Current();
    if (entry->filename == m_playback.CurrentMediaPath() && m_playback.IsEngineRunning()) return;
    TakeCurrentPath();
    m_playback.PlayCurrentMedia();
}

void PlaylistControl::AdvanceAtEnd() {
    // The list may have been emptied while the entry played: nothing is left to play.
    PlaylistItem* entry = m_model.Current();
    if (entry) entry->starttime = 0;
    const std::string name = entry ? NameOfPath(entry->filename) : std::string();
    const bool noneOpens = m_unopened.Add(m_playback.MediaOpened(), name, m_model.Count());
    AdvanceDecision next = DecideAdvance(m_settings.playsequence, m_model.CurrentIndex(),
                                         m_model.Count(), RandomValue());
    // A loop or random play over entries of which none opens would relaunch for ever.
    if (noneOpens && !next.finish) {
        m_playback.FinishPlayback();
        Say(LocalString(26, "Cannot open %s or any other entry of the play list", m_unopened.First()));
        return;
    }
    if (next.finish || !m_model.SetCurrent(next.next)) {
        m_playback.FinishPlayback();
        return;
    }
    TakeCurrentPath();
    m_playback.ResetPlaybackState();
    m_playback.ShowPlaying(m_playback.LaunchEngine());
}

void PlaylistControl::StopAfterRemoval() {
    TakeCurrentPath();
    m_playback.StopEngine();
    m_playback.ShowPlaying(false);
    if (m_view.IsFullScreen()) m_view.LeaveFullScreen();
    m_playback.ShowStartView();
    m_view.SetControlText("filename", std::string());
}

void PlaylistControl::DeleteItem() { DeleteRow(m_rows.RightClickedRow()); }

void PlaylistControl::DeleteSelectedItem() { DeleteRow(m_rows.SelectedRow()); }

bool PlaylistControl::OnListKey(WPARAM key) {
    if (key != VK_DELETE) return false;
    DeleteSelectedItem();
    return true;
}

void PlaylistControl::DeleteRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= m_model.Count()) return;
    if (static_cast<size_t>(row) == m_model.CurrentIndex()) {
        DeleteCurrentItem();
        return;
    }
    m_model.Remove(static_cast<size_t>(row));
}

void PlaylistControl::DeleteCurrentItem() {
    if (!m_model.RemoveCurrent()) return;
    StopAfterRemoval();
}

void PlaylistControl::Clear() {
    m_memoryAwaited = false;  // the memory would have gone with the rest
    m_model.Clear();
    StopAfterRemoval();
}

void PlaylistControl::SortByName() { m_model.SortByName(); }

void PlaylistControl::SortByType() { m_model.SortByType(); }

void PlaylistControl::ShowInExplorer() {
    const PlaylistItem* entry = m_model.Current();
    if (!entry) return;
    if (!platform::GetBackend().ShowInFileManager(entry->filename)) {
        Say(LocalString(27, "Cannot show %s in the file manager", NameOfPath(entry->filename)));
    }
}

std::string PlaylistControl::ChooseFile() {
    platform::FileDialogRequest request;
    request.kind = platform::FileDialogRequest::Kind::OpenOne;
    request.title = LocalString(43, "Choose a file");
    request.filters = {{LocalString(44, "All"), "*.*"}};
    std::vector<std::string> chosen = platform::GetBackend().RunFileDialog(m_view.Handle(), request);
    return chosen.empty() ? std::string() : chosen.front();
}

void PlaylistControl::LoadSubtitleFromDialog() {
    const std::string path = ChooseFile();
    if (m_playback.LoadSubtitle(path) == SendResult::Refused) {
        Say(LocalString(28, "Cannot load the subtitle file %s", NameOfPath(path)));
    }
}

void PlaylistControl::SavePlaylistDialog() {
    std::vector<std::string> chosen = platform::GetBackend().RunFileDialog(
        m_view.Handle(), OrvRequest(platform::FileDialogRequest::Kind::Save, LocalString(41, "Save play list")));
    if (chosen.empty()) return;
    if (!SavePlaylistFile(chosen.front(), m_model, m_settings.savelocation)) {
        Say(LocalString(29, "Cannot save the play list as %s", NameOfPath(chosen.front())));
    }
}

void PlaylistControl::LoadPlaylistDialog() {
    std::vector<std::string> chosen = platform::GetBackend().RunFileDialog(
        m_view.Handle(), OrvRequest(platform::FileDialogRequest::Kind::OpenOne, LocalString(42, "Load play list")));
    if (chosen.size() != 1) return;
    if (!LoadPlaylistFile(chosen.front()))
        Say(LocalString(22, "Cannot read the play list %s", NameOfPath(chosen.front())));
}

bool PlaylistControl::LoadPlaylistFile(const std::string& path) {
    MediaRecord record;
    if (!orvella::LoadPlaylistFile(path, &record)) return false;
    Clear();
    ApplyMedia(record, m_model, false);
    TakeCurrentPath();
    return true;
}

void PlaylistControl::ReadPlayMemory(const XmlDocument& document) {
    ApplyMedia(ReadMedia(document), m_model, true);
    TakeCurrentPath();
}

void PlaylistControl::RestorePlayMemory(MediaRecord record, bool playing) {
    if (!std::exchange(m_memoryAwaited, false)) return;
    const bool wasListed = !m_model.Empty();
    const bool restoredPlays = m_model.PlaceBefore(std::move(record.entries), record.current);
    if (!wasListed) return TakeCurrentPath();
    const PlaylistItem* entry = m_model.Current();
    if (playing && restoredPlays && m_settings.savelocation && m_playback.IsEngineRunning() &&
        (entry->starttime != 0 || !entry->subtitle.empty()))
        m_playback.PlayCurrentMedia();
}

void PlaylistControl::WritePlayMemory(XmlDocument& document) {
    if (std::optional<MediaSnapshot> list = PlayMemory()) WriteMedia(document, *list);
}

std::optional<MediaSnapshot> PlaylistControl::PlayMemory() {
    if (!m_saveAtExit) return std::nullopt;
    return m_snapshots.Take(m_model, m_settings.savelocation);
}

}  // namespace orvella
