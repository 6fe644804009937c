// The one writer of "settings.xml". A snapshot of everything the file holds is taken on
// the UI thread (copies only) and written here: in the background while the program runs,
// the newest snapshot replacing one still waiting, and once more at exit, after a write
// that is running has finished. Writes never overlap, and the background ones produce the
// same file as the exit one, through the same steps.
//
//   SettingsWriter writer;
//   writer.Submit(snapshot);          // returns at once; written on the worker thread
//   writer.WriteFinal(lastSnapshot);  // at exit: waits, then writes on this thread
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "library/MediaSnapshot.h"
#include "library/PlayerSettings.h"

namespace orvella {

class SettingsSection;

// What the settings file holds, shared with nothing that changes afterwards.
struct SettingsSnapshot {
    std::string dataFolder;
    PlayerSettings settings;
    std::shared_ptr<const SettingsSection> hotkeys;
    std::optional<MediaSnapshot> media;  // none: the play list is not kept
};

// Writes the snapshot as its folder's settings file (PlayerSettings::Write); false when
// nothing could be written.
bool WriteSettingsSnapshot(const SettingsSnapshot& snapshot);

class SettingsWriter {
public:
    SettingsWriter() = default;
    // A write that runs finishes, and a snapshot still waiting is written.
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    // Hands a snapshot to the worker thread (started on first use); one that waits for
    // its turn is replaced by it.
    void Submit(SettingsSnapshot snapshot);
    // Drops the snapshot that waits, waits for a running write, then writes this one on
    // the calling thread. False when nothing could be written.
    bool WriteFinal(const SettingsSnapshot& snapshot);
    // Until nothing waits and nothing is written (for tests and benchmarks).
    void WaitIdle();
    // Writes done since construction.
    unsigned WritesDone() const;

private:
    void Run();
    bool WriteOwned(const SettingsSnapshot& snapshot, std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::optional<SettingsSnapshot> m_waiting;
    bool m_writing = false;
    bool m_stopping = false;
    unsigned m_writes = 0;
    std::thread m_worker;
};

}  // namespace orvella
