#include "app/PlaybackControl.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/PlaybackRules.h"
#include "app/PlayerView.h"
#include "app/ScreenshotFiles.h"
#include "app/StartupRules.h"
#include "engine/EngineEvents.h"
#include "engine/LaunchOptions.h"
#include "engine/SubtitleCodePage.h"
#include "library/LocalStrings.h"
#include "library/PlayerSettings.h"
#include "playlist/Playlist.h"
#include "uilib/Base.h"

namespace orvella {

namespace {
bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }
}  // namespace

PlaybackControl::PlaybackControl(PlayerView& view, PlayerSettings& settings, Playlist& playlist)
    : m_view(view), m_settings(settings), m_playlist(playlist) {}

PlaybackControl::~PlaybackControl() { ReleaseEngine(); }

void PlaybackControl::ShowPlaying(bool playing) {
    m_view.EnableControl("play", !playing);
    m_view.EnableControl("pause", playing);
}

void PlaybackControl::ShowStartView() {
    m_view.ShowControl("startup", true);
    m_view.ShowControl("ID_MEDIA_AUDIO", false);
    m_view.ShowControl("sliderbar", false);
}

void PlaybackControl::Play() {
    if (m_engineRunning) {
        // Resumes a paused engine. A running one keeps playing: "open and play" must not
        // pause what plays.
        if (m_slaveState.paused) TogglePause();
        ShowPlaying(true);
        return;
    }
    if (m_playlist.Empty()) {
        if (m_listener) m_listener->OnOpenFilesWanted();
        return;
    }
    if (m_currentMediaPath.empty() && m_playlist.Current()) {
        m_currentMediaPath = m_playlist.Current()->filename;
    }
    ShowPlaying(LaunchEngine());
}

void PlaybackControl::Pause() {
    if (!m_engineRunning) return;
    m_slave.FrameStep();  // the engine stops after one frame; the poll stops too
    m_view.EnableControl("play", true);
    m_view.EnableControl("pause", true);
    FollowPlayState();
}

void PlaybackControl::TogglePause() {
    if (!m_engineRunning) return;
    m_slave.TogglePause();
    if (m_slaveState.paused) {
        m_view.EnableControl("play", true);
        m_view.EnableControl("pause", true);
    } else {
        ShowPlaying(true);
    }
    FollowPlayState();
}

void PlaybackControl::Stop() {
    StopEngine();
    ShowPlaying(false);
    if (m_view.IsFullScreen()) m_view.LeaveFullScreen();
    ShowStartView();
    ResetPlaybackState();
}

void PlaybackControl::ReleaseEngine() {
    // Without an engine nothing runs or waits paused, and there is nothing to poll: a
    // relaunch that fails after this leaves playback stopped, and "play" starts again.
    OnPositionPoll(false);
    m_engineRunning = false;
    m_slaveState.paused = false;
    m_slave.DetachEngine();  // before the controller goes
    FollowPlayState();
    if (!m_engine) return;
    // What the old engine posted and the window has not taken yet must not act on the
    // next one: its events are dropped until the fence posted now comes round.
    m_engine->SetNotifyWindow(nullptr);
    m_engine->TerminateChildTree();
    m_engine->StopChild();
    m_engine.reset();
    if (HWND window = m_view.Handle()) {
        if (PostMessage(window, WM_ENGINE_FENCE, 0, 0)) ++m_pendingFences;
    }
}

void PlaybackControl::FollowPlayState() {
    const PlayState play = !m_engineRunning ? PlayState::Stopped
                           : m_slaveState.paused ? PlayState::Paused
                                                 : PlayState::Playing;
    m_screen.FollowPlayback(play, VideoOf(m_media));
}

void PlaybackControl::StopEngine() {
    m_discMode = false;
    // The engine first: its window going under it ends it with X errors.
    ReleaseEngine();
    m_view.DestroyVideoWindow(true);
}

void PlaybackControl::FinishPlayback() {
    if (m_view.IsFullScreen()) m_view.LeaveFullScreen();
    ReleaseEngine();
    if (PlaylistItem* entry = m_playlist.Current()) entry->starttime = 0;
    ShowPlaying(false);
    m_view.DestroyVideoWindow(false);
    ShowStartView();
    m_discMode = false;
}

void PlaybackControl::ResetPlaybackState() {
    m_slaveState.ResetPerFile();
    m_media.videoWidth = 0;
    m_media.videoHeight = 0;
    m_media.audioOnly = false;
    m_cropText.clear();
    m_discMode = false;
    // Nothing of the previous entry's time shows until the next one tells its own.
    m_view.SetSliderValue("playslider", 0);
    m_previewShown = false;
    // A seek's hold on the old position belongs to the entry it was made in.
    m_afterSeek = false;
    m_afterSeekTicks = 0;
    ShowPlayTime(0, 0.0f, 0.0f);
}

void PlaybackControl::TakeSoundSettings() {
    m_slaveState.volume = m_settings.volume;
    m_slaveState.mute = m_settings.mute;
}

void PlaybackControl::StoreSoundSettings() {
    m_settings.volume = m_slaveState.volume;
    m_settings.mute = m_slaveState.mute;
}

bool PlaybackControl::LaunchEngine() {
    // Without a video area the engine would draw over the whole screen: nothing starts.
    if (!m_view.HasVideoArea() || m_currentMediaPath.empty()) return false;
    const std::optional<long long> restartAt = std::exchange(m_restartAt, std::nullopt);
    // The engine to be replaced goes before its successor's window is made ready.
    ReleaseEngine();
    const uint64_t videoWindow = m_view.EnsureVideoWindow();
    if (videoWindow == 0) {
        std::fprintf(stderr, "orvella: no video window to play %s in\n", m_currentMediaPath.c_str());
        return false;
    }

    StoreSoundSettings();
    LaunchOptions options(m_settings);
    options.programFolder = m_programFolder.empty() ? std::string(uilib::GetAppPath()) : m_programFolder;
    options.currentFolder = WorkingFolder();
    options.mediaPath = m_currentMediaPath;
    options.videoWindow = videoWindow;
    options.cropText = m_cropText;
    options.videoWidth = m_media.videoWidth;
    options.videoHeight = m_media.videoHeight;
    options.includeSubtitlesInScreenshots = m_subtitlesInScreenshots;
    options.startFullScreen = m_startInFullScreen;
    options.rotation = m_rotation;
    options.resumeOnce = m_resumeOnce;
    if (const PlaylistItem* entry = m_playlist.Current()) {
        options.hasEntry = true;
        options.entryStartTime = restartAt.value_or(entry->starttime);
        options.entrySubtitle = entry->subtitle;
    }
    options.playing = m_slaveState;
    options.subtitleCodePage = LaunchSubtitleCodePage(options);
    options.videoOutputOverride = m_videoOutputOverride;
    options.audioOutputOverride = m_audioOutputOverride;
    options.automaticVideoOutput = platform::GetBackend().PreferredVideoOutput();
    options.aliasFor = [this](const std::string& path) { return m_aliases.Alias(path); };
    LaunchPlan plan = BuildLaunch(options);
    if (plan.child.argv.empty()) {
        m_view.SetControlText("filename", LocalString(25, "Cannot give the player engine a safe name for %s",
                                                      NameOfPath(m_currentMediaPath)));
        return false;
    }
    // The engine writes its screenshots into its working folder. The screenshot folder is
    // only made when a shot is taken; until then the shots are moved there.
    if (!plan.child.workingFolder.empty() && !IsFolder(plan.child.workingFolder))
        plan.child.workingFolder = IsFolder(m_spareEngineFolder) ? m_spareEngineFolder : std::string();

    auto engine = std::make_unique<CCmdMplayer>(m_view.Handle());
    if (!engine->StartChild(plan.child)) {
        // The user asked for this: say so where the file's name would stand.
        m_view.SetControlText("filename", LocalString(24, "Cannot start the player engine for %s",
                                                      NameOfPath(m_currentMediaPath)));
        return false;
    }
    m_engine = std::move(engine);
    m_slave.AttachEngine(m_engine.get());
    m_engineFolder = plan.child.workingFolder.empty() ? WorkingFolder() : plan.child.workingFolder;
    m_discMode = plan.discMode;
    m_startInFullScreen = plan.startFullScreen;
    m_resumeOnce = plan.resumeOnce;
    m_subtitleCodePage = plan.subtitleCodePage;
    m_launchStart = plan.startSeconds;
    m_slaveState.mutedAtLaunch = plan.mutedAtLaunch;
    m_slaveState.paused = false;
    // Everything known about the media comes again from this engine: the previous one's
    // position must not show, nor become this entry's resume point, nor its length make
    // this one look opened.
    m_media = MediaInfo{};
    m_playbackStarts = 0;
    m_openFailureShown = false;
    m_engineRunning = true;
    OnPositionPoll(true);
    FollowPlayState();
    return true;
}

void PlaybackControl::RestartEngine() {
    if (!m_engineRunning) return;
    // The relaunch starts once where this engine is, even where the entry keeps no resume
    // point (its last seconds, a stream).
    m_resumeOnce = true;
    if (m_media.position > 0.0f) m_restartAt = ResumeSeconds(m_media.position);
    ShowPlaying(LaunchEngine());
}

void PlaybackControl::PlayCurrentMedia() {
    ResetPlaybackState();
    StopEngine();
    ShowPlaying(LaunchEngine());
}

void PlaybackControl::OnEngineFence() {
    if (m_pendingFences > 0) --m_pendingFences;
}

LRESULT PlaybackControl::OnEngineEvent(WPARAM code, LPARAM payload) {
    EngineEvent event;
    if (!TakeEngineEvent(code, payload, &event)) return 0;
    if (m_pendingFences > 0) return 0;  // from an engine that is gone
    switch (ApplyEngineEvent(m_media, event)) {
    case EngineReaction::EndOfPlayback:
        ShowOpenFailure();  // an engine that ends before it opened the media
        EndEntry();
        break;
    case EngineReaction::EngineGone:
        // It said nothing of its end: the reason stands where the file's name would, and
        // the entry ends as if it had played out.
        m_openFailureShown = true;
        m_view.SetControlText("filename", LocalEngineEndText(event.text));
        std::fprintf(stderr, "orvella: %s\n", event.text.c_str());
        EndEntry();
        break;
    case EngineReaction::ShowOpenFailure: ShowOpenFailure(); break;
    case EngineReaction::LayoutVideoArea: ShowMediaLayout(true); break;
    case EngineReaction::ShowScreenshot: OnScreenshotSaved(event.number); break;
    case EngineReaction::SelectSubtitleFile: OnSubtitleFileAdded(event.number); break;
    case EngineReaction::PlaybackStarted: OnPlaybackStarted(); break;
    case EngineReaction::None:
        // Paused or stepped: no tick comes to show the answer, so it shows at once.
        if (event.code == EV_TIME_POSITION && !m_polling) ShowPosition();
        break;
    }
    FollowPlayState();  // the engine told what the media is, or it ended
    return 0;
}

void PlaybackControl::EndEntry() {
    if (m_listener) {
        m_listener->OnEntryEnded();
    } else {
        FinishPlayback();
    }
}

void PlaybackControl::OnSubtitleFileAdded(int id) {
    // The file a launch passes shows unless the user chose an embedded track or none
    // before the restart; a file loaded while playing always shows.
    const bool launchFile = m_playbackStarts == 0;
    const SubtitleSource kept = m_slaveState.subtitleSource;
    if (launchFile && (kept == SubtitleSource::Track || kept == SubtitleSource::Off)) return;
    m_slave.ChooseSubtitleFile(id);
}

SendResult PlaybackControl::LoadSubtitle(const std::string& path, bool replacing) {
    // The running engine reads every subtitle in the code page it was started with: a
    // file that needs another one plays in a new engine started with it.
    if (m_engineRunning && m_playlist.Current() && !path.empty() && !slave::SubLoad(path).IsRefused() &&
        SubtitleCodePage(ReadFileHead(path), m_settings.subtitleencode) != m_subtitleCodePage) {
        OnSubtitleChosen(path);
        m_slaveState.subtitleSource = SubtitleSource::File;
        RestartEngine();
        return SendResult::Sent;
    }
    return replacing ? m_slave.LoadSubtitle(path) : m_slave.Send(slave::SubLoad(path));
}

void PlaybackControl::OnPlaybackStarted() {
    // The first start has the launch's values; each loop restart falls back to them, so
    // the volume and mute the user chose since go to the engine again.
    if (m_playbackStarts++ == 0) return;
    // The engine loops back to where it was started: a repeated entry starts from its beginning.
    if (m_launchStart > 0) m_slave.Send(slave::SeekToTime(0));
    if (m_slaveState.mute) {
        m_slave.Send(slave::Mute(true));
    } else {
        m_slave.Send(slave::Volume(m_slaveState.volume));
    }
}

std::optional<MediaTables> PlaybackControl::RunningTables() const {
    if (!m_engine || !m_engineRunning) return std::nullopt;
    return m_engine->GetTables();
}

bool PlaybackControl::MediaOpened() const {
    return m_playbackStarts > 0 || m_media.videoWidth > 0 || m_media.audioOnly || m_media.length > 0;
}

void PlaybackControl::ShowOpenFailure() {
    // The user asked for this file: say so where its name would stand. A subtitle that
    // does not load prints the same lines once the media is open, and it plays on.
    if (MediaOpened() || m_openFailureShown) return;
    m_openFailureShown = true;
    m_view.SetControlText("filename", LocalString(21, "Cannot open %s", NameOfPath(m_currentMediaPath)));
    std::fprintf(stderr, "orvella: cannot open %s\n", m_currentMediaPath.c_str());
}

bool PlaybackControl::OnTimer(UINT_PTR id) {
    if (id != TIMER_POSITION_POLL) return false;
    PollPosition();
    return true;
}

void PlaybackControl::PollPosition() {
    if (!m_engine || !m_engine->IsChildActive()) return;
    m_slave.Send(slave::GetTimePos());
    m_slave.Send(slave::GetTimeLength());
    // This tick shows the answers of the previous one.
    ShowPosition();
}

void PlaybackControl::ShowPosition() {
    const float position = m_media.position;
    const float length = m_media.length;
    if (!(position > 0.0f)) return;
    if (m_sliderDragging) return;
    if (m_afterSeek) {
        // The two ticks after a seek may still report the old position.
        if (m_afterSeekTicks < 2) {
            ++m_afterSeekTicks;
            return;
        }
        m_afterSeekTicks = 0;
        m_afterSeek = false;
    }
    m_view.SetSliderValue("playslider", PositionPercent(position, length));
    if (PlaylistItem* entry = m_playlist.Current()) entry->starttime = KeptResumePoint(position, length);
    // The time under a pointer resting on the slider stays; anything else shows the position.
    if (!(m_previewShown && m_view.IsMouseOverControl("playslider"))) ShowPlayTime(0, position, length);
}

void PlaybackControl::EndSliderDrag(int percent) {
    // A press on the thumb that never moved it changed nothing to seek to.
    if (!m_sliderDragging) return;
    SeekToSliderValue(percent);
}

void PlaybackControl::SeekToSliderValue(int percent) {
    m_sliderDragging = false;
    // To the time the slider showed; only while the length is unknown by the percent.
    if (m_media.length > 0) {
        SeekToTime(SliderSeconds(percent, m_media.length));
    } else if (GuardPassed(m_slave.Send(slave::Seek(percent, SeekType::Percent)))) {
        m_afterSeek = true;
        m_afterSeekTicks = 0;
    }
}

void PlaybackControl::SeekToTime(double seconds) {
    if (GuardPassed(m_slave.Send(slave::SeekToTime(seconds)))) GoOnFrom(seconds);
}

void PlaybackControl::SeekBy(int seconds) {
    if (GuardPassed(m_slave.Send(slave::Seek(seconds, SeekType::Relative))))
        GoOnFrom(RelativeSeekTarget(m_media.position, seconds, m_media.length));
}

void PlaybackControl::GoOnFrom(double seconds) {
    // The polls right after a seek may still tell the old position; closing or switching
    // files meanwhile must keep where the user went, so the target is the resume point now.
    m_afterSeek = true;
    m_afterSeekTicks = 0;
    ++m_seeks;
    m_media.position = static_cast<float>(seconds);
    if (PlaylistItem* entry = m_playlist.Current())
        entry->starttime = KeptResumePoint(m_media.position, m_media.length);
}

void PlaybackControl::BeginSliderDrag(int percent) {
    m_sliderDragging = true;
    PreviewSliderValue(percent);
}

void PlaybackControl::PreviewSliderValue(int percent) {
    // Without a length no value stands for a time: the clock goes on showing the position.
    m_previewShown = m_media.length > 0;
    if (m_previewShown) ShowPlayTime(0, static_cast<float>(SliderSeconds(percent, m_media.length)), m_media.length);
    else ShowCurrentTime();
}

void PlaybackControl::ShowCurrentTime() {
    m_previewShown = false;
    ShowPlayTime(0, m_media.position, m_media.length);
}

void PlaybackControl::SetVolume(int value) {
    m_slave.Volume(value, true);
    m_slaveState.mute = false;
    SetMuteButtons(false);
    StoreSoundSettings();
}

std::string PlaybackControl::ScreenshotFolder() const {
    return m_settings.snappath.empty() ? WorkingFolder()
                                       : AbsoluteMediaPath(m_settings.snappath, WorkingFolder());
}

void PlaybackControl::TakeScreenshot(int mode) {
    if (!m_engineRunning) return;
    const std::string folder = ScreenshotFolder();
    if (!MakeFolders(folder, 0777)) {
        ShowOnVideo(LocalString(30, "Cannot create the screenshot folder %s"), folder);
        return;
    }
    m_slave.Send(slave::Screenshot(mode, m_settings.snappath));
}

void PlaybackControl::OnScreenshotSaved(int number) {
    const std::string folder = ScreenshotFolder();
    const int saved = SameFolder(m_engineFolder, folder) ? number : MoveShot(m_engineFolder, number, folder);
    if (saved == 0) {
        ShowOnVideo(LocalString(31, "Cannot move the screenshot into %s"), folder);
        return;
    }
    ShowOnVideo(LocalString(32, "Screenshot saved as %s"), ShotFileName(saved));
}

void PlaybackControl::ShowOnVideo(const std::string& message, const std::string& path) {
    std::fprintf(stderr, "orvella: %s\n", FillPlaceholder(message, path).c_str());
    // The engine keeps 127 bytes of a message: a long path shows its end.
    constexpr size_t kShown = 120;
    const size_t words = message.size() - (message.find("%s") == std::string::npos ? 0 : 2);
    std::string shown = path;
    if (words + shown.size() > kShown) {
        size_t cut = shown.size() - std::min(shown.size(), kShown - std::min(kShown, words + 3));
        while (cut < shown.size() && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) ++cut;
        shown = "..." + shown.substr(cut);
    }
    // The engine takes one line: line breaks of the path or of a translation become
    // spaces (and a last backslash, which the quoting refuses, gets one after it).
    std::string line = FillPlaceholder(message, shown);
    for (char& ch : line)
        if (ch == '\n' || ch == '\r' || ch == '\0') ch = ' ';
    if (line.back() == '\\') line += ' ';
    m_slave.Send(slave::OsdShowText(line));
}

bool PlaybackControl::IsDvdNavigation() const {
    return m_currentMediaPath.compare(0, 9, "dvdnav://") == 0;
}

void PlaybackControl::AskWhatPlays() {
    if (!IsEngineRunning()) return;
    for (PlayingProperty which : {PlayingProperty::AudioTrack, PlayingProperty::Subtitle, PlayingProperty::Chapter})
        m_slave.Send(slave::GetProperty(which));
}

void PlaybackControl::ShowPlayTime(uint32_t colour, float position, float length) {
    if (!m_view.HasControl("playtime")) return;
    m_view.SetControlTextColor("playtime", colour);
    m_view.SetControlText("playtime", FormatPlayTime(position, length));
}

void PlaybackControl::ShowMediaLayout(bool resize) {
    const PlaylistItem* entry = m_playlist.Current();
    const std::string name = entry ? Playlist::RowText(*entry) : NameOfPath(m_currentMediaPath);
    if (m_media.audioOnly) {
        m_view.DestroyVideoWindow(false);
        m_view.ShowControl("startup", false);
        m_view.ShowControl("ID_MEDIA_AUDIO", true);
        m_view.ShowControl("sliderbar", true);
        m_view.SetControlText("filename", name);
        SIZE least = m_view.MinimumSize();
        if (least.cx > 0 && least.cy > 0) {
            // Kept so that a video after it gets the window back when its size is kept.
            if (m_sizeBeforeAudio.cx == 0) m_sizeBeforeAudio = m_view.WindowSize();
            m_view.ResizeKeepingPosition(least.cx, least.cy);
            m_audioSize = m_view.WindowSize();
        }
        m_firstLayout = false;
        return;
    }
    if (!m_view.HasVideoArea()) return;
    if (m_view.IsFullScreen()) {
        for (const char* bar : {"ID_MEDIA_AUDIO", "titlebar", "toolbar", "sliderbar"})
            m_view.ShowControl(bar, false);
        m_playlistPanel = false;
        m_view.ShowControl("playlistbar", false);
        m_view.ShowControl("expandbar", false);
        return;
    }
    m_view.ShowControl("startup", false);
    m_view.ShowControl("ID_MEDIA_AUDIO", false);
    if (!m_settings.keepsize && resize && m_media.displayWidth > 0 && m_media.displayHeight > 0) {
        const RECT work = m_view.WorkArea();
        // The play list beside the video takes its own width: the video keeps its size.
        const int panel =
            m_playlistPanel ? m_view.ControlWidth("playlistbar") + m_view.ControlWidth("expandbar") : 0;
        const SIZE size = FitWindowToVideo(m_media.displayWidth, m_media.displayHeight, m_media.aspect,
                                           work.right - work.left - panel, work.bottom - work.top,
                                           m_view.SkinIndex());
        m_view.ResizeKeepingPosition(size.cx + panel, size.cy);
    } else if (m_settings.keepsize && m_sizeBeforeAudio.cx > 0 && SameSize(m_view.WindowSize(), m_audioSize)) {
        // Unless the user sized the window since.
        m_view.ResizeKeepingPosition(m_sizeBeforeAudio.cx, m_sizeBeforeAudio.cy);
    }
    m_sizeBeforeAudio = SIZE{};
    m_firstLayout = false;
    m_view.RepaintVideoBlack();
    m_view.ShowControl("sliderbar", true);
    m_view.SetControlText("filename", name);
    m_view.ShowControl("playlistbar", m_playlistPanel);
    m_view.ShowControl("expandbar", m_playlistPanel);
}

void PlaybackControl::SetMuteButtons(bool muted) {
    // "mute_on" is the button that mutes: shown while the sound is on.
    m_view.ShowControl("mute_on", !muted);
    m_view.ShowControl("mute_off", muted);
}

void PlaybackControl::OnPositionPoll(bool run) {
    m_polling = run;
    if (run) {
        m_view.StartTimer(TIMER_POSITION_POLL, 1000);
    } else {
        m_view.StopTimer(TIMER_POSITION_POLL);
    }
}

void PlaybackControl::OnMuteChanged(bool muted) {
    SetMuteButtons(muted);
    StoreSoundSettings();
}

void PlaybackControl::OnSubtitleFilesCleared() {
    if (m_engine) m_engine->ClearSubtitleFiles();
}

void PlaybackControl::OnSubtitleChosen(const std::string& path) {
    // Kept with the entry, so that the next launch of it loads the same file.
    if (PlaylistItem* entry = m_playlist.Current()) entry->subtitle = path;
}

void PlaybackControl::VideoResizing() {
    if (m_slaveState.paused) m_pausedPictureStale = true;
}

void PlaybackControl::RedrawPausedPicture() {
    if (m_pausedPictureStale && m_slaveState.paused) m_slave.Send(slave::RedrawPausedFrame());
    m_pausedPictureStale = false;
}

}  // namespace orvella
