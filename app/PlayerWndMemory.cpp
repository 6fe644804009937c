// The main window's steps of the start that wait until the first picture is on its way:
// reading the play memory apart from the rest of the settings, the first start's file types.
#include <utility>

#include "app/PlayerWnd.h"
#include "library/AtomicFile.h"
#include "ui/QuestionTexts.h"

namespace orvella {

namespace {
// What the engine says when its first picture is on its way, or that none will come.
constexpr WPARAM kFirstPictureEvents[] = {EV_PLAYBACK_STARTED, EV_OPEN_FAILED, EV_EXIT, EV_ENGINE_GONE};
}  // namespace

void CPlayerWnd::StartPlayMemory(std::shared_ptr<const std::string> file, bool rewrite) {
    m_rewriteSettings = rewrite;
    m_playlistControl.AwaitPlayMemory();
    m_deferredMemory = std::move(file);
}

void CPlayerWnd::FinishDeferredStart() {
    KillTimer(m_hWnd, TIMER_DEFERRED_START);
    StartDeferredPlayMemory();
    if (m_firstStartAssociation)
        SwitchFileAssociations(*std::exchange(m_firstStartAssociation, std::nullopt), m_dataFolder);
}

void CPlayerWnd::StartDeferredPlayMemory() {
    if (m_deferredMemory) m_memoryReader.Start(std::move(m_deferredMemory), m_hWnd, WM_PLAY_MEMORY_READ);
    m_deferredMemory.reset();
}

void CPlayerWnd::OnEngineEventForDeferredStart(WPARAM code) {
    if (!m_deferredMemory && !m_firstStartAssociation) return;
    for (WPARAM event : kFirstPictureEvents)
        if (event == code) return FinishDeferredStart();
}

LRESULT CPlayerWnd::OnPlayMemoryRead(WPARAM, LPARAM, bool&) {
    TakePlayMemory(true);
    // Only now may a save while playing write the list: before, it lacked the memory.
    m_memorySaver.Start();
    return 0;
}

void CPlayerWnd::TakePlayMemory(bool playing) {
    MediaRecord record;
    bool damaged = false;
    if (!m_memoryReader.Take(&record, &damaged)) return;
    m_playlistControl.RestorePlayMemory(std::move(record), playing);
    // Damage only the memory held: kept aside and told as any other.
    if (damaged && !m_rewriteSettings && m_damagedSettings.empty()) {
        const std::string path = PlayerSettings::FilePath(m_dataFolder);
        const std::string copy = KeepDamagedCopy(path);
        ReportDamagedSettings(copy.empty() ? path : copy);
        m_rewriteSettings = !copy.empty();
        if (m_windowInitDone && playing) TellDamagedSettings();
    }
    if (std::exchange(m_rewriteSettings, false)) m_settings.Write(m_dataFolder, m_hotkeys.Live(), *this);
}

void CPlayerWnd::TellDamagedSettings() {
    // Told once the window is there to own the message.
    if (!m_damagedSettings.empty())
        m_dialogs.AskQuestion(kDamagedSettingsQuestion, std::exchange(m_damagedSettings, std::string()));
}

}  // namespace orvella
