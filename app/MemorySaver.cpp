#include "app/MemorySaver.h"

#include <memory>
#include <utility>

#include "app/PlaybackControl.h"
#include "app/PlayerView.h"
#include "app/PlaylistControl.h"
#include "hotkeys/HotkeyBindings.h"
#include "library/PlayerSettings.h"
#include "playlist/Playlist.h"

namespace orvella {

namespace {
constexpr uint64_t kSaveEveryMs = 10000;
constexpr UINT kLookEveryMs = 1000;
}  // namespace

bool ShouldSaveNow(SaveEvent event, uint64_t lastSaveMs, uint64_t nowMs, bool changed) {
    if (event != SaveEvent::Tick) return true;
    return changed && nowMs - lastSaveMs >= kSaveEveryMs;
}

MemorySaver::MemorySaver(PlayerView& view, PlayerSettings& settings, const HotkeyBindings& hotkeys,
                         PlaybackControl& playback, const Playlist& playlist, PlaylistControl& commands,
                         const std::string& dataFolder, std::function<uint32_t()> schemeColour)
    : m_view(view), m_settings(settings), m_hotkeys(hotkeys), m_playback(playback), m_playlist(playlist),
      m_commands(commands), m_dataFolder(dataFolder), m_schemeColour(std::move(schemeColour)) {}

void MemorySaver::Start() {
    if (m_started || m_finished || m_dataFolder.empty()) return;
    m_started = true;
    m_seen = LookNow();
    m_saved = MarkNow();
    m_lastSaveMs = platform::GetBackend().GetTickCount();
    Wake();
}

void MemorySaver::Wake() {
    if (!m_started || m_finished || m_looking) return;
    const bool playing = m_playback.IsEngineRunning() && !m_playback.IsPaused();
    if (!playing && MarkNow() == m_saved) return;
    m_looking = true;
    m_view.StartTimer(TIMER_SAVE_MEMORY, kLookEveryMs);
}

bool MemorySaver::OnTimer(UINT_PTR id) {
    if (id != TIMER_SAVE_MEMORY) return false;
    if (m_started && !m_finished) LookAndSave();
    return true;
}

MemorySaver::Look MemorySaver::LookNow() const {
    const PlaylistItem* entry = m_playlist.Current();
    return Look{entry ? entry->filename : std::string(), m_playback.IsPaused(), m_playback.IsEngineRunning()};
}

MemorySaver::Mark MemorySaver::MarkNow() const {
    const PlaylistItem* entry = m_playlist.Current();
    return Mark{m_playlist.Revision(), m_playlist.CurrentIndex(), entry ? entry->starttime : 0};
}

void MemorySaver::LookAndSave() {
    const Look now = LookNow();
    SaveEvent event = SaveEvent::Tick;
    if (now.entry != m_seen.entry) event = SaveEvent::EntryChanged;
    else if (now.paused && !m_seen.paused) event = SaveEvent::Paused;
    else if (!now.running && m_seen.running) event = SaveEvent::Stopped;
    m_seen = now;

    const uint64_t nowMs = platform::GetBackend().GetTickCount();
    const Mark mark = MarkNow();
    if (ShouldSaveNow(event, m_lastSaveMs, nowMs, mark != m_saved)) {
        m_writer.Submit(TakeSnapshot());
        m_saved = mark;
        m_lastSaveMs = nowMs;
    }
    // Nothing plays and all is saved: no more looks until something happens.
    if ((!now.running || now.paused) && mark == m_saved) {
        m_view.StopTimer(TIMER_SAVE_MEMORY);
        m_looking = false;
    }
}

SettingsSnapshot MemorySaver::TakeSnapshot() {
    m_playback.StoreSoundSettings();  // the sound the engine was told last
    SettingsSnapshot snapshot{m_dataFolder, m_settings, std::make_shared<HotkeyTable>(m_hotkeys.Live()),
                              m_commands.PlayMemory()};
    snapshot.settings.color = m_schemeColour();
    return snapshot;
}

bool MemorySaver::SaveFinal() {
    if (m_finished || m_dataFolder.empty()) return false;
    m_finished = true;
    if (m_looking) m_view.StopTimer(TIMER_SAVE_MEMORY);
    m_looking = false;
    return m_writer.WriteFinal(TakeSnapshot());
}

}  // namespace orvella
