#include "library/SettingsWriter.h"

#include <glib.h>

#include <utility>

#include "library/PlayMemory.h"
#include "library/SettingsHost.h"
#include "library/SettingsSection.h"

namespace orvella {
namespace {

// The play memory of a snapshot, where the window's own host would write the list.
class SnapshotHost : public SettingsHost {
public:
    explicit SnapshotHost(const MediaSnapshot* media) : m_media(media) {}
    void WritePlayMemory(XmlDocument& document) override {
        if (m_media) WriteMedia(document, *m_media);
    }

private:
    const MediaSnapshot* m_media;
};

class NoSection : public SettingsSection {
public:
    void ReadFrom(const XmlDocument&) override {}
    void WriteTo(XmlDocument&) const override {}
};

}  // namespace

bool WriteSettingsSnapshot(const SettingsSnapshot& snapshot) {
    if (snapshot.dataFolder.empty()) return false;
    SnapshotHost host(snapshot.media ? &*snapshot.media : nullptr);
    static const NoSection kNoHotkeys;
    const SettingsSection& hotkeys = snapshot.hotkeys ? *snapshot.hotkeys : kNoHotkeys;
    return snapshot.settings.Write(snapshot.dataFolder, hotkeys, host);
}

SettingsWriter::~SettingsWriter() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable()) m_worker.join();
}

void SettingsWriter::Submit(SettingsSnapshot snapshot) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(snapshot);
        if (!m_worker.joinable()) m_worker = std::thread(&SettingsWriter::Run, this);
    }
    m_changed.notify_all();
}

bool SettingsWriter::WriteFinal(const SettingsSnapshot& snapshot) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_waiting.reset();  // older than this one
    m_changed.wait(lock, [this] { return !m_writing; });
    return WriteOwned(snapshot, lock);
}

bool SettingsWriter::WriteOwned(const SettingsSnapshot& snapshot, std::unique_lock<std::mutex>& lock) {
    m_writing = true;
    lock.unlock();
    const bool ok = WriteSettingsSnapshot(snapshot);
    if (!ok) g_debug("cannot write the settings to %s", PlayerSettings::FilePath(snapshot.dataFolder).c_str());
    lock.lock();
    m_writing = false;
    ++m_writes;
    m_changed.notify_all();
    return ok;
}

void SettingsWriter::Run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return (m_waiting && !m_writing) || (m_stopping && !m_waiting); });
        if (!m_waiting) return;
        SettingsSnapshot snapshot = std::move(*m_waiting);
        m_waiting.reset();
        WriteOwned(snapshot, lock);
    }
}

void SettingsWriter::WaitIdle() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_waiting && !m_writing; });
}

unsigned SettingsWriter::WritesDone() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_writes;
}

}  // namespace orvella
