#include "engine/CommandQueue.h"

#include <errno.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>

namespace orvella {

long WriteWithoutSigpipe(int fd, const char* data, size_t size) {
    // A child that has closed its input must not end us with SIGPIPE: block it on this
    // thread for the write and take back the one our write raised, if any.
    sigset_t pipeSet, previous, pending;
    sigemptyset(&pipeSet);
    sigaddset(&pipeSet, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSet, &previous);
    sigpending(&pending);
    const bool wasPending = sigismember(&pending, SIGPIPE) == 1;
    ssize_t n;
    do {
        n = ::write(fd, data, size);
    } while (n < 0 && errno == EINTR);
    const int error = errno;
    if (n < 0 && error == EPIPE && !wasPending) {
        const timespec zero{0, 0};
        while (sigtimedwait(&pipeSet, nullptr, &zero) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    errno = error;
    return static_cast<long>(n);
}

CommandQueue::Outcome CommandQueue::Offer(int fd, const std::string& bytes, Clock::time_point now) {
    if (Waiting()) {
        // A command half written is on its way; only whole waiting ones can stand for
        // this one.
        const auto from = m_waiting.begin() + (m_frontWritten > 0 ? 1 : 0);
        if (std::find(from, m_waiting.end(), bytes) != m_waiting.end()) return Outcome::Coalesced;
        if (m_waiting.size() >= kMaxCommands || m_bytes + bytes.size() > kMaxBytes) return Outcome::Full;
        m_waiting.push_back(bytes);
        m_bytes += bytes.size();
        return Outcome::Queued;
    }
    if (bytes.empty()) return Outcome::Written;
    m_waiting.push_back(bytes);
    m_bytes = bytes.size();
    m_frontWritten = 0;
    m_lastProgress = now;
    switch (WriteFront(fd, now)) {
    case Step::Done: return Outcome::Written;
    case Step::Blocked: return Outcome::Queued;
    case Step::Failed: break;
    }
    Clear();
    return Outcome::Failed;
}

CommandQueue::Step CommandQueue::WriteFront(int fd, Clock::time_point now) {
    while (Waiting()) {
        const std::string& front = m_waiting.front();
        const long n = WriteWithoutSigpipe(fd, front.data() + m_frontWritten, front.size() - m_frontWritten);
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? Step::Blocked : Step::Failed;
        m_lastProgress = now;
        m_frontWritten += static_cast<size_t>(n);
        if (m_frontWritten < front.size()) continue;
        m_bytes -= front.size();
        m_frontWritten = 0;
        m_waiting.pop_front();
    }
    return Step::Done;
}

bool CommandQueue::Flush(int fd, Clock::time_point now) {
    if (WriteFront(fd, now) != Step::Failed) return true;
    Clear();
    return false;
}

CommandQueue::Clock::duration CommandQueue::StalledFor(Clock::time_point now) const {
    return Waiting() ? now - m_lastProgress : Clock::duration::zero();
}

void CommandQueue::Clear() {
    m_waiting.clear();
    m_frontWritten = 0;
    m_bytes = 0;
}

}  // namespace orvella
