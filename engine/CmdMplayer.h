// The engine controller: one per engine run. It reads the engine's output (on the
// redirector's reader thread), classifies each line, keeps the track tables of the
// current media and posts every scalar fact to the notify window as WM_ENGINE_EVENT.
//
// Use (UI thread):
//     auto engine = std::make_unique<CCmdMplayer>(mainWindowHandle);
//     engine->StartChild(launch);             // CRedirector
//     ...WM_ENGINE_EVENT: TakeEngineEvent, ApplyEngineEvent (engine/MediaInfo.h)...
//     TrackTable audio = engine->GetAudioTracks();   // copies, any time
//     engine.reset();                          // stops the child first
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/LineAssembler.h"
#include "engine/MediaInfo.h"
#include "engine/OutputParser.h"
#include "engine/Redirector.h"
#include "platform/Platform.h"

namespace orvella {

// What the user is told about an engine that ended unasked: "The engine stopped
// unexpectedly (killed by signal 9)".
std::string EngineEndMessage(ChildEnd end, int exitCode, int signal);

// Its words, in this order: hung; crashed (the signal in the "%s"); ended by itself (the
// exit status in the "%s"); any other end. The window shows them translated.
extern const char* const kEngineEndTexts[4];

class CCmdMplayer : public CRedirector {
public:
    explicit CCmdMplayer(HWND notifyWindow = nullptr);
    ~CCmdMplayer() override;  // StopChild: the reader thread ends before the tables go

    // The receiver of WM_ENGINE_EVENT; nullptr posts nothing.
    void SetNotifyWindow(HWND window) { m_notifyWindow.store(window); }
    HWND GetNotifyWindow() const { return m_notifyWindow.load(); }

    // Copies for the UI thread, taken under the lock.
    MediaTables GetTables() const;
    TrackTable GetAudioTracks() const;
    TrackTable GetSubtitleTracks() const;
    TrackTable GetSubtitleFiles() const;
    TrackTable GetTitleLengths() const;
    TrackTable GetTitleChapterLists() const;
    int32_t GetCurrentTitle() const;
    bool IsBluray() const;

    // The chapters of the current media, index from 0 → start: a Blu-ray's as reported,
    // a file's own with their names, else the current DVD title's chapter starts.
    TrackTable GetChapters();

    // Sent "sub_remove": the loaded subtitle files are gone.
    void ClearSubtitleFiles();

    // One chunk of output as the reader thread hands it over (public for tests and
    // benchmarks that replay captured output without a child).
    void OnChildOutput(const char* data, size_t size) override;
    // One line without its end: classify, then apply or post.
    void ParseLine(std::string_view line);

    // Overlong lines the assembler dropped; read it on the feeding thread or once the
    // child has stopped.
    uint64_t GetDroppedLineCount() const;

    // At most this many events a second reach the window (0: no limit). An engine that
    // prints events without end must not bury the window's queue: beyond the limit the
    // reader waits, the pipe fills, and the engine waits for us instead.
    static constexpr int kDefaultEventRate = 10000;
    void SetEventRateLimit(int eventsPerSecond) { m_eventRate = eventsPerSecond; }

    // Test seam: every line read, as it is read (on the reader thread), for answers the
    // parser has no use for.
    void SetLineTapForTesting(std::function<void(std::string_view)> tap);

protected:
    void OnRedirectError(const std::string& message) override;
    // Without its exit line the window would wait for ever: EV_ENGINE_GONE says why.
    void OnChildEnded() override;

private:
    void PaceEvents();  // reader thread
    void Apply(const ParsedLine& parsed);
    // A DVD title plays from one of its title set's titles to the next without a word:
    // the length the engine answers tells which one it is.
    void NoteLength(float length);
    TrackTable& Table(MediaTable which);

    std::atomic<HWND> m_notifyWindow;
    LineAssembler m_assembler;  // reader thread only
    mutable std::mutex m_lock;  // guards m_tables
    MediaTables m_tables;
    int m_eventRate = kDefaultEventRate;
    std::chrono::steady_clock::time_point m_paceStart{};  // reader thread only
    int m_pacedEvents = 0;
    std::atomic<bool> m_exitSaid{false};  // it printed its exit line
    std::atomic<bool> m_tapped{false};
    std::mutex m_tapLock;  // guards m_tap
    std::function<void(std::string_view)> m_tap;
};

}  // namespace orvella
