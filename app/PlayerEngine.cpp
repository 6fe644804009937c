// The main window's side of the engine: starting and stopping it, and what its events
// change.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/PlayerWnd.h"
#include "engine/EngineEvents.h"
#include "engine/LaunchOptions.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {

namespace {
std::string CurrentFolder() {
    std::string folder(4096, '\0');
    while (!::getcwd(folder.data(), folder.size())) {
        if (errno != ERANGE) return std::string();
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

bool CPlayerWnd::LaunchEngine() {
    uilib::CControlUI* area = m_pm ? m_pm->FindControl("media") : nullptr;
    auto* media = area ? static_cast<CMediaUI*>(area->GetInterface("Media")) : nullptr;
    if (!media) return true;
    if (m_currentMediaPath.empty()) return false;
    CMediaWnd* video = media->GetVideoWindow();
    if (!video) video = media->CreateVideoWindow();
    // Without a window of its own the engine would draw over the whole screen.
    if (!video || video->GetNativeId() == 0) {
        std::fprintf(stderr, "orvella: no video window to play %s in\n", m_currentMediaPath.c_str());
        return false;
    }

    LaunchOptions options;
    options.TakeSettings(m_settings);
    options.programFolder = m_programFolder.empty() ? std::string(uilib::GetAppPath()) : m_programFolder;
    options.currentFolder = CurrentFolder();
    options.mediaPath = m_currentMediaPath;
    options.videoWindow = video->GetNativeId();
    options.cropText = m_cropText;
    options.videoWidth = m_media.videoWidth;
    options.videoHeight = m_media.videoHeight;
    options.includeSubtitlesInScreenshots = m_subtitlesInScreenshots;
    options.startFullScreen = m_startInFullScreen;
    options.rotation = m_rotation;
    options.resumeOnce = m_resumeOnce;
    options.videoOutputOverride = m_videoOutputOverride;
    options.audioOutputOverride = m_audioOutputOverride;
    LaunchPlan plan = BuildLaunch(options);
    if (plan.child.argv.empty()) return false;
    m_discMode = plan.discMode;
    m_mutedAtLaunch = plan.mutedAtLaunch;
    m_startInFullScreen = plan.startFullScreen;
    m_resumeOnce = plan.resumeOnce;
    // The engine writes its screenshots into its working folder.
    if (!plan.child.workingFolder.empty()) MakeFolders(plan.child.workingFolder);

    StopEngine();
    auto engine = std::make_unique<CCmdMplayer>(m_hWnd);
    if (!engine->StartChild(plan.child)) return false;
    m_engine = std::move(engine);
    m_slave.AttachEngine(m_engine.get());
    m_slaveState.mutedAtLaunch = m_mutedAtLaunch;
    m_media = MediaInfo{};
    m_engineRunning = true;
    SetTimer(m_hWnd, TIMER_POSITION_POLL, 1000);
    return true;
}

void CPlayerWnd::RestartEngine() {
    if (!m_engineRunning) return;
    m_resumeOnce = true;
    StopEngine();
    LaunchEngine();
}

void CPlayerWnd::StopEngine() {
    m_slave.DetachEngine();  // before the controller goes
    if (m_engine) {
        m_engine->TerminateChildTree();
        m_engine->StopChild();
        m_engine.reset();
    }
    m_engineRunning = false;
    if (m_hWnd) KillTimer(m_hWnd, TIMER_POSITION_POLL);
}

LRESULT CPlayerWnd::OnEngineEvent(WPARAM code, LPARAM payload) {
    EngineEvent event;
    if (!TakeEngineEvent(code, payload, &event)) return 0;
    switch (ApplyEngineEvent(m_media, event)) {
    case EngineReaction::EndOfPlayback:
        FinishPlayback();
        break;
    case EngineReaction::ShowOpenFailure:
        // The user asked for this file: say so where its name would stand. A failed
        // subtitle load prints the same lines later, while the media plays on.
        if (m_media.length > 0 || m_media.videoWidth > 0) break;
        if (uilib::CControlUI* name = m_pm ? m_pm->FindControl("filename") : nullptr) {
            name->SetText(("Cannot open " + BaseName(m_currentMediaPath)).c_str());
        }
        std::fprintf(stderr, "orvella: cannot open %s\n", m_currentMediaPath.c_str());
        break;
    case EngineReaction::LayoutVideoArea:
        LayOutForVideo();
        break;
    case EngineReaction::ShowScreenshot:
        m_slave.ShowScreenshotSaved(event.number);
        break;
    case EngineReaction::SelectSubtitleFile:
        m_slave.Send(slave::SubFile(event.number));
        break;
    case EngineReaction::None:
        break;
    }
    return 0;
}

void CPlayerWnd::OnPositionPoll(bool run) {
    if (!m_hWnd) return;
    if (run) {
        SetTimer(m_hWnd, TIMER_POSITION_POLL, 1000);
    } else {
        KillTimer(m_hWnd, TIMER_POSITION_POLL);
    }
}

void CPlayerWnd::OnMuteChanged(bool muted) { ShowMute(muted); }

void CPlayerWnd::OnSubtitleFilesCleared() {
    if (m_engine) m_engine->ClearSubtitleFiles();
}

}  // namespace orvella
