#include "engine/CmdMplayer.h"

#include <algorithm>
#include <thread>

#include "engine/EngineLog.h"

namespace orvella {

CCmdMplayer::CCmdMplayer(HWND notifyWindow) : m_notifyWindow(notifyWindow) {}

CCmdMplayer::~CCmdMplayer() { StopChild(); }

void CCmdMplayer::OnChildOutput(const char* data, size_t size) {
    m_assembler.Feed(data, size, [this](std::string_view line) { ParseLine(line); });
}

void CCmdMplayer::OnRedirectError(const std::string&) {
    // The redirector's own complaints say nothing about the media.
}

const char* const kEngineEndTexts[4] = {
    "The engine stopped answering and was ended",
    "The engine stopped unexpectedly (killed by signal %s)",
    "The engine stopped unexpectedly (exit status %s)",
    "The engine stopped unexpectedly",
};

namespace {
std::string WithNumber(const char* text, int number) {
    std::string out = text;
    out.replace(out.find("%s"), 2, std::to_string(number));
    return out;
}
}  // namespace

std::string EngineEndMessage(ChildEnd end, int exitCode, int signal) {
    switch (end) {
    case ChildEnd::Hung: return kEngineEndTexts[0];
    case ChildEnd::Crashed: return WithNumber(kEngineEndTexts[1], signal);
    case ChildEnd::EndedByItself:
        if (exitCode >= 0) return WithNumber(kEngineEndTexts[2], exitCode);
        break;
    default: break;
    }
    return kEngineEndTexts[3];
}

void CCmdMplayer::OnChildEnded() {
    if (m_exitSaid.load()) return;  // an end it told: EV_EXIT is on its way
    const std::string reason = EngineEndMessage(GetEnd(), GetExitCode(), GetEndSignal());
    LogEngineEnd(reason);
    if (HWND window = m_notifyWindow.load()) PostEngineEvent(window, EngineEvent::Text(EV_ENGINE_GONE, reason));
}

void CCmdMplayer::SetLineTapForTesting(std::function<void(std::string_view)> tap) {
    std::lock_guard<std::mutex> hold(m_tapLock);
    m_tap = std::move(tap);
    m_tapped = static_cast<bool>(m_tap);
}

void CCmdMplayer::ParseLine(std::string_view line) {
    LogEngineLine(line);
    if (m_tapped) {
        std::lock_guard<std::mutex> hold(m_tapLock);
        if (m_tap) m_tap(line);
    }
    const ParsedLine parsed = ClassifyEngineLine(line);
    if (parsed.action == LineAction::PostEvent) {
        if (parsed.event.code == EV_EXIT) m_exitSaid = true;
        if (parsed.event.code == EV_LENGTH) NoteLength(parsed.event.real);
        if (HWND window = m_notifyWindow.load()) {
            PaceEvents();
            PostEngineEvent(window, parsed.event);
        }
        return;
    }
    Apply(parsed);
}

void CCmdMplayer::PaceEvents() {
    if (m_eventRate <= 0) return;
    // Counted in slices of 10 ms: a slice that has had its share waits for its end.
    using Clock = std::chrono::steady_clock;
    constexpr auto kSlice = std::chrono::milliseconds(10);
    const int perSlice = std::max(1, m_eventRate / 100);
    Clock::time_point now = Clock::now();
    if (now - m_paceStart >= kSlice) {
        m_paceStart = now;
        m_pacedEvents = 0;
    }
    if (++m_pacedEvents > perSlice) {
        std::this_thread::sleep_until(m_paceStart + kSlice);
        m_paceStart = Clock::now();
        m_pacedEvents = 1;
    }
}

void CCmdMplayer::NoteLength(float length) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_tables.isBluray) return;
    const int32_t title = TitleOfLength(m_tables.titleLengths, length);
    if (title == 0 || title == m_tables.currentTitle) return;
    m_tables.currentTitle = title;
    m_tables.currentChapter = kNotAnswered;
}

TrackTable& CCmdMplayer::Table(MediaTable which) {
    switch (which) {
    case MediaTable::SubtitleTracks: return m_tables.subtitleTracks;
    case MediaTable::SubtitleFiles: return m_tables.subtitleFiles;
    case MediaTable::TitleLengths: return m_tables.titleLengths;
    case MediaTable::AudioTracks: return m_tables.audioTracks;
    case MediaTable::TitleChapterLists: return m_tables.titleChapterLists;
    case MediaTable::Chapters: return m_tables.chapters;
    case MediaTable::FileChapters: return m_tables.fileChapters;
    case MediaTable::ChapterNames: return m_tables.chapterNames;
    }
    return m_tables.audioTracks;
}

void CCmdMplayer::Apply(const ParsedLine& parsed) {
    switch (parsed.action) {
    case LineAction::None:
    case LineAction::Consume:
    case LineAction::PostEvent: return;
    default: break;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    switch (parsed.action) {
    case LineAction::SwitchTitle:
        // The new title has its own audio and subtitle streams.
        m_tables.currentTitle = parsed.key;
        m_tables.audioTracks.clear();
        m_tables.subtitleTracks.clear();
        m_tables.currentAudio = m_tables.currentSubtitle = m_tables.currentChapter = kNotAnswered;
        break;
    case LineAction::SetCurrent:
        if (parsed.table == MediaTable::AudioTracks) m_tables.currentAudio = parsed.key;
        else if (parsed.table == MediaTable::SubtitleTracks) m_tables.currentSubtitle = parsed.key;
        else if (parsed.table == MediaTable::Chapters) m_tables.currentChapter = parsed.key;
        break;
    case LineAction::SetBluray: m_tables.isBluray = true; break;
    case LineAction::InsertTrack: InsertWithoutOverwrite(Table(parsed.table), parsed.key, parsed.text); break;
    case LineAction::CorrectLanguage: {
        TrackTable& table = Table(parsed.table);
        auto it = table.find(parsed.key);
        if (it != table.end()) it->second = parsed.text;
        break;
    }
    default: break;
    }
}

MediaTables CCmdMplayer::GetTables() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables;
}

TrackTable CCmdMplayer::GetAudioTracks() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.audioTracks;
}

TrackTable CCmdMplayer::GetSubtitleTracks() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.subtitleTracks;
}

TrackTable CCmdMplayer::GetSubtitleFiles() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.subtitleFiles;
}

TrackTable CCmdMplayer::GetTitleLengths() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.titleLengths;
}

TrackTable CCmdMplayer::GetTitleChapterLists() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.titleChapterLists;
}

int32_t CCmdMplayer::GetCurrentTitle() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.currentTitle;
}

bool CCmdMplayer::IsBluray() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_tables.isBluray;
}

TrackTable CCmdMplayer::GetChapters() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_tables.isBluray) return m_tables.chapters;
    if (!m_tables.fileChapters.empty()) {
        m_tables.chapters = FileChapterLabels(m_tables.fileChapters, m_tables.chapterNames);
        return m_tables.chapters;
    }
    auto it = m_tables.titleChapterLists.find(m_tables.currentTitle);
    m_tables.chapters = DvdChapterStarts(it != m_tables.titleChapterLists.end() ? it->second : std::string());
    return m_tables.chapters;
}

void CCmdMplayer::ClearSubtitleFiles() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_tables.subtitleFiles.clear();
}

uint64_t CCmdMplayer::GetDroppedLineCount() const { return m_assembler.DroppedLines(); }

}  // namespace orvella
