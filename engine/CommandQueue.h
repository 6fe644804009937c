// The commands on their way to a child's input. The input is non-blocking: what it does
// not take at once waits here and goes out when it can take more, so that a child that
// stops reading never stops the thread that commands it. Repeats coalesce while they
// wait, and the queue is bounded.
//
// Not locked: its owner serialises the calls (the redirector's write lock).
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

namespace orvella {

class CommandQueue {
public:
    using Clock = std::chrono::steady_clock;

    enum class Outcome {
        Written,    // all of it went to the input now
        Queued,     // waits (some of it may have gone already)
        Coalesced,  // the same text already waits: this one is dropped
        Full,       // too much waits already: dropped
        Failed,     // the input is closed or broken: nothing more goes
    };

    static constexpr size_t kMaxCommands = 256;
    static constexpr size_t kMaxBytes = 64 * 1024;

    // Writes what fd takes now, keeps the rest; after anything waits, only queues.
    Outcome Offer(int fd, const std::string& bytes, Clock::time_point now);
    // Writes waiting commands, in order, while fd takes them. False once a write failed
    // (the child closed its input): what waited is dropped.
    bool Flush(int fd, Clock::time_point now);

    bool Waiting() const { return !m_waiting.empty(); }
    size_t Count() const { return m_waiting.size(); }
    // How long fd has taken nothing while commands waited (zero when none waits).
    Clock::duration StalledFor(Clock::time_point now) const;
    void Clear();

private:
    enum class Step { Done, Blocked, Failed };
    Step WriteFront(int fd, Clock::time_point now);

    std::deque<std::string> m_waiting;
    size_t m_frontWritten = 0;  // bytes of the first command already written
    size_t m_bytes = 0;
    Clock::time_point m_lastProgress{};
};

// One write that never raises SIGPIPE on a closed input (the result and errno of write).
long WriteWithoutSigpipe(int fd, const char* data, size_t size);

}  // namespace orvella
