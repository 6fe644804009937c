// A redirector for tests: records what the child prints and what the redirector reports,
// checks every chunk's size and terminating NUL, and lets a test wait for output or for
// the child's end. Also counts this process's descriptors, threads and children.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "engine/ProcessTree.h"
#include "engine/Redirector.h"

class ProbeRedirector : public orvella::CRedirector {
public:
    using Seconds = std::chrono::seconds;

    ~ProbeRedirector() override { StopChild(); }

    void StopChild() override {
        ++stopCalls;
        CRedirector::StopChild();
    }

    // Called on the reader thread after each chunk was recorded.
    std::function<void(ProbeRedirector&, const char*, size_t)> onChunk;
    bool keepText = true;  // off for floods: only counts then
    std::atomic<int> stopCalls{0};

    std::string Output() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_text;
    }
    size_t Bytes() const { return m_bytes.load(); }
    size_t Chunks() const { return m_chunks.load(); }
    size_t LargestChunk() const { return m_largest.load(); }
    size_t BadChunks() const { return m_bad.load(); }  // empty, over 256 bytes, or not NUL-terminated
    std::vector<std::string> Errors() const {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_errors;
    }

    bool WaitForOutput(const std::string& needle, Seconds limit = Seconds(10)) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_arrived.wait_for(lock, limit, [&] { return m_text.find(needle) != std::string::npos; });
    }
    bool WaitForBytes(size_t count, Seconds limit = Seconds(10)) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_arrived.wait_for(lock, limit, [&] { return m_bytes.load() >= count; });
    }
    bool WaitForLines(size_t count, Seconds limit = Seconds(10)) {
        std::unique_lock<std::mutex> lock(m_lock);
        return m_arrived.wait_for(lock, limit, [&] {
            return static_cast<size_t>(std::count(m_text.begin(), m_text.end(), '\n')) >= count;
        });
    }
    // Liveness guard only: the limit is far above any expected time.
    bool WaitUntilEnded(Seconds limit = Seconds(10)) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (IsChildActive()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

protected:
    void OnChildOutput(const char* data, size_t size) override {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (size == 0 || size > kChunkSize || data[size] != '\0') ++m_bad;
            if (keepText) m_text.append(data, size);
            m_bytes += size;
            ++m_chunks;
            if (size > m_largest) m_largest = size;
        }
        m_arrived.notify_all();
        if (onChunk) onChunk(*this, data, size);
    }
    void OnRedirectError(const std::string& message) override {
        std::lock_guard<std::mutex> lock(m_lock);
        m_errors.push_back(message);
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_arrived;
    std::string m_text;
    std::vector<std::string> m_errors;
    std::atomic<size_t> m_bytes{0}, m_chunks{0}, m_largest{0}, m_bad{0};
};

inline size_t CountEntries(const char* folder) {
    size_t count = 0;
    if (DIR* dir = opendir(folder)) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.') ++count;
        closedir(dir);
    }
    return count;  // for /proc/self/fd this includes the descriptor of the listing itself
}

inline size_t CountChildren() {
    size_t count = 0;
    for (const auto& e : orvella::CProcessTree::Snapshot())
        if (e.parent == getpid()) ++count;
    return count;
}

// What this process holds: compared before and after a test.
struct Holdings {
    size_t descriptors = CountEntries("/proc/self/fd");
    size_t threads = CountEntries("/proc/self/task");
    size_t children = CountChildren();
    bool operator==(const Holdings& o) const {
        return descriptors == o.descriptors && threads == o.threads && children == o.children;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Holdings& h) {
    return out << h.descriptors << " descriptors, " << h.threads << " threads, " << h.children << " children";
}

// A joined thread or a reaped child can linger in /proc for a moment: poll a while.
inline Holdings SettledHoldings(const Holdings& expected) {
    Holdings now;
    for (int i = 0; i < 200 && !(now == expected); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        now = Holdings();
    }
    return now;
}
