// Playback control of the main window: starting, pausing, resuming and stopping the
// engine, what its events change, the once-a-second position poll that also keeps the
// resume position, and the layout of the video area once the video's size is known.
//
// It reaches the window only through PlayerView and the play list only through the
// model; what follows the end of an entry, and opening files when there is nothing to
// play, belong to the play list and come back through PlaybackListener.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/ScreenKeeper.h"
#include "engine/CmdMplayer.h"
#include "engine/EngineNames.h"
#include "engine/MediaInfo.h"
#include "engine/SlaveCommands.h"

namespace orvella {

class Playlist;
class PlayerSettings;
class PlayerView;
struct PlaylistItem;

constexpr UINT_PTR TIMER_OPEN_FILES = 102;
constexpr UINT_PTR TIMER_OPEN_FOLDER = 103;
constexpr UINT_PTR TIMER_LOAD_SUBTITLE = 104;
// Posted after an engine is let go: its events still queued before it are dropped.
constexpr UINT WM_ENGINE_FENCE = WM_USER + 127;

class PlaybackListener {
public:
    virtual ~PlaybackListener() = default;
    virtual void OnEntryEnded() {}         // the engine played the current entry to its end
    virtual void OnOpenFilesWanted() {}    // "play" with an empty play list
};

class PlaybackControl : public ISlaveListener {
public:
    PlaybackControl(PlayerView& view, PlayerSettings& settings, Playlist& playlist);
    ~PlaybackControl() override;
    PlaybackControl(const PlaybackControl&) = delete;
    PlaybackControl& operator=(const PlaybackControl&) = delete;

    void SetListener(PlaybackListener* listener) { m_listener = listener; }

    // The buttons and the commands behind them.
    void Play();
    void Pause();
    void TogglePause();
    void Stop();
    // Stops the engine and takes its video window away (after the engine has stopped:
    // the engine dies with X errors when its window goes first).
    void StopEngine();
    // The end of the last entry: the start view again, the entry to start from 0 next time.
    void FinishPlayback();
    // The per-file adjustments back to their start before other media plays.
    void ResetPlaybackState();

    // Starts the engine on the current media path, replacing any engine that runs. True
    // when it started; false for an empty path or a layout without a video area (what
    // ran still runs), or for an engine that could not be started (then nothing runs).
    bool LaunchEngine();
    // Starts the engine again at the current position after a launch-time setting changed;
    // "play" is offered again when it does not start.
    void RestartEngine();
    // Stop, reset and launch the current media; "play" off, "pause" on. What the play list
    // does whenever another entry is to play.
    void PlayCurrentMedia();
    // "play" off and "pause" on (something plays), or the other way round.
    void ShowPlaying(bool playing);
    // The stopped look: start-up picture, no audio picture, no position bar (no engine).
    void ShowStartView();

    LRESULT OnEngineEvent(WPARAM code, LPARAM payload);
    void OnEngineFence();
    // True when the timer was one of playback's (101-104).
    bool OnTimer(UINT_PTR id);
    void PollPosition();
    void ShowPosition();  // the last answers on the slider and the clock
    void ShowPlayTime(uint32_t colour, float position, float length);
    void ShowMediaLayout(bool resize);
    void SetMuteButtons(bool muted);

    // The position slider: the seek to the time of a value (the next two polls leave the
    // slider alone), and the end of a drag, which seeks only when the thumb was moved.
    void SeekToSliderValue(int percent);
    void EndSliderDrag(int percent);
    // A seek by seconds from the current position (backwards when negative), and one to a
    // time. Either target is the entry's resume point at once.
    void SeekBy(int seconds);
    void SeekToTime(double seconds);
    // How many seeks to a known time were sent (the desktop's controls are told of each).
    int SeekCount() const { return m_seeks; }
    // The position slider while the user holds or hovers it: the time under the thumb or
    // the pointer; afterwards the position again.
    void BeginSliderDrag(int percent);
    void PreviewSliderValue(int percent);
    void ShowCurrentTime();
    // The volume slider: an absolute volume, which also ends a mute.
    void SetVolume(int value);
    // Makes the screenshot folder first (missing parents too); one that cannot be made
    // is said on the video instead.
    void TakeScreenshot(int mode);
    // Where the engine works while the screenshot folder does not exist (the data folder);
    // empty: ours.
    void SetSpareEngineFolder(const std::string& folder) { m_spareEngineFolder = folder; }
    // The screenshot folder as an absolute path (ours when none is set).
    std::string ScreenshotFolder() const;
    // A DVD played with its menus (the engine's navigation mode).
    bool IsDvdNavigation() const;
    // Asks the running engine which audio track, subtitle and chapter play; the answers
    // reach the engine's tables, where the menus mark them from.
    void AskWhatPlays();
    // The video window changes size, and then its size settles: a picture paused while
    // it changed is drawn again to fit (a playing one fits with its next frame).
    void VideoResizing();
    void RedrawPausedPicture();

    // Loads a subtitle file for the entry that plays (none: the loaded ones go), in a new
    // engine when the running one reads subtitles in another code page than the file's.
    // Not replacing: added beside the loaded ones, and kept with the entry only when a new
    // engine has to take it.
    SendResult LoadSubtitle(const std::string& path, bool replacing = true);

    // The settings' sound values follow what the engine was told (for the next launch and
    // the settings file); a settings read sets them the other way.
    void TakeSoundSettings();
    void StoreSoundSettings();

    // The crop filter the next launch applies ("w:h:x:y", empty for none), and whether
    // screenshots take the subtitles along.
    const std::string& CropText() const { return m_cropText; }
    void SetCropText(const std::string& text) { m_cropText = text; }
    bool SubtitlesInScreenshots() const { return m_subtitlesInScreenshots; }
    void SetSubtitlesInScreenshots(bool on) { m_subtitlesInScreenshots = on; }

    // Where to play from (a path, URL or disc address).
    const std::string& CurrentMediaPath() const { return m_currentMediaPath; }
    void SetCurrentMediaPath(const std::string& path) { m_currentMediaPath = path; }
    const std::string& DiscLabel() const { return m_discLabel; }
    void SetDiscLabel(const std::string& label) { m_discLabel = label; }

    CSlaveCommands& Slave() { return m_slave; }
    // Keeps the screen on while a video plays; the window tells it when it is minimised.
    ScreenKeeper& Screen() { return m_screen; }
    SlaveState& SlaveStateRef() { return m_slaveState; }
    const SlaveState& SlaveStateRef() const { return m_slaveState; }
    CCmdMplayer* Engine() const { return m_engine.get(); }
    const MediaInfo& Media() const { return m_media; }
    bool IsEngineRunning() const { return m_engineRunning; }
    // A copy of the running engine's track tables, taken under its lock; none while no
    // engine runs (the tables of an engine that ended describe nothing that plays).
    std::optional<MediaTables> RunningTables() const;
    // The engine opened the media it was last started on: it began playing it or told
    // what it is. An engine that ends without this could not open it.
    bool MediaOpened() const;
    bool IsPaused() const { return m_slaveState.paused; }
    bool IsDiscMode() const { return m_discMode; }
    void SetDiscMode(bool on) { m_discMode = on; }
    bool IsFirstLayout() const { return m_firstLayout; }
    bool IsAfterSeek() const { return m_afterSeek; }
    bool PlaylistPanelShown() const { return m_playlistPanel; }
    // The rotation choice (-1 none, 0-4) the next launch applies.
    int Rotation() const { return m_rotation; }
    void SetRotation(int rotation) { m_rotation = rotation; }
    void SetPlaylistPanelShown(bool shown) { m_playlistPanel = shown; }

    // Test seam: "-vo"/"-ao" replacements ("null") for engines started by tests, and the
    // program folder the engine is found below.
    void SetEngineOutputsForTesting(const std::string& vo, const std::string& ao) {
        m_videoOutputOverride = vo;
        m_audioOutputOverride = ao;
    }
    void SetProgramFolder(const std::string& folder) { m_programFolder = folder; }

    // ISlaveListener: what the engine commands change in the window.
    void OnPositionPoll(bool run) override;
    void OnMuteChanged(bool muted) override;
    void OnSubtitleFilesCleared() override;
    void OnSubtitleChosen(const std::string& path) override;

private:
    // After a seek: the target is the position until the engine tells its own.
    void GoOnFrom(double seconds);
    void ShowOpenFailure();
    void EndEntry();  // what follows the end of the entry (the play list's to decide)
    void OnScreenshotSaved(int number);
    // A message about a path on the video, where the user looks when pressing a key (and
    // on the error output): message with path in its "%s".
    void ShowOnVideo(const std::string& message, const std::string& path);
    void OnPlaybackStarted();
    void OnSubtitleFileAdded(int id);
    void ReleaseEngine();
    // Whether playing, paused or stopped, and what plays, to the screen keeper.
    void FollowPlayState();

    PlayerView& m_view;
    PlayerSettings& m_settings;
    Playlist& m_playlist;
    PlaybackListener* m_listener = nullptr;

    std::unique_ptr<CCmdMplayer> m_engine;
    MediaInfo m_media;
    SlaveState m_slaveState;
    CSlaveCommands m_slave{m_slaveState, this};
    ScreenKeeper m_screen{m_view};

    std::string m_currentMediaPath;
    std::string m_discLabel;
    std::string m_cropText;
    std::string m_programFolder;
    std::string m_spareEngineFolder;
    AliasFolder m_aliases{AliasFolder::DefaultParent()};  // plain names of unsafe ones
    std::string m_subtitleCodePage;  // the running engine's "-subcp"
    std::string m_engineFolder;  // the running engine's working folder, where its shots land
    std::string m_videoOutputOverride, m_audioOutputOverride;
    int m_rotation = -1;
    bool m_engineRunning = false;
    bool m_discMode = false;
    bool m_resumeOnce = false;
    std::optional<long long> m_restartAt;  // where a restart resumes, when the engine told it
    bool m_startInFullScreen = true;
    bool m_subtitlesInScreenshots = true;
    bool m_sliderDragging = false;
    bool m_previewShown = false;  // the clock shows the time under the pointer on the slider
    bool m_afterSeek = false;
    int32_t m_launchStart = 0;  // the position the engine was started at
    SIZE m_sizeBeforeAudio{};  // the window's size before an audio file shrank it
    SIZE m_audioSize{};        // and the size it shrank to
    bool m_polling = false;  // the position poll runs (playing, not paused)
    bool m_pausedPictureStale = false;  // paused while the video window changed size
    int m_playbackStarts = 0;  // "Starting playback..." lines of the running engine
    bool m_openFailureShown = false;  // "Cannot open" said for the running engine
    int m_afterSeekTicks = 0;
    int m_seeks = 0;
    bool m_firstLayout = true;
    int m_pendingFences = 0;
    bool m_playlistPanel = true;
};

}  // namespace orvella
