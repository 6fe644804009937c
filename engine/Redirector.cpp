#include "engine/Redirector.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <system_error>

#include "engine/CommandQueue.h"
#include "engine/ProcessTree.h"

#ifndef CLOSE_RANGE_CLOEXEC
#define CLOSE_RANGE_CLOEXEC (1U << 2)
#endif

namespace orvella {

// Locks, in the order they may nest: stopLock, then procLock or writeLock (never both).
struct CRedirector::State {
    std::mutex stopLock;   // serialises StopChild
    std::mutex procLock;   // pid, kills and reaping: a pid is signalled only while unreaped
    std::mutex writeLock;  // the child's input and the commands waiting for it

    int inFd = -1;    // our (writing, non-blocking) end of the child's standard input
    CommandQueue commands;  // under writeLock
    int wakeFd = -1;  // eventfd: commands wait, the reader is to watch the input too
    std::atomic<bool> hung{false};  // it stopped reading its input, so we ended it
    int outFd = -1;   // our (reading, non-blocking) end of its standard output and error
    int stopFd = -1;  // eventfd: the stop signal for the reader
    int pidFd = -1;   // readable once the child has ended; -1 where the kernel has none

    bool started = false;  // StartChild was called (once per object)
    pid_t pid = 0;
    bool reaped = false;      // under procLock
    bool endedByUs = false;   // under procLock: we began to stop it while it still ran
    int exitCode = -1;        // under procLock
    int endSignal = 0;        // under procLock
    std::atomic<ChildEnd> end{ChildEnd::NotStarted};

    std::thread reader;
    std::atomic<std::thread::id> readerId{};  // set by the reader while it runs
    std::atomic<bool> readerRunning{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> quiet{false};  // no handler calls: the derived object is gone
    std::mutex doneLock;
    std::condition_variable doneSignal;
    bool readerDone = true;  // under doneLock

    // Signals the child unless it has been reaped (its pid could be someone else's then).
    void Kill(int signal) {
        std::lock_guard<std::mutex> lock(procLock);
        if (pid > 0 && !reaped) ::kill(pid, signal);
    }

    // A stop begins: however the child ends from now on, it was us. One that had already
    // ended on its own (its output still being drained) keeps its own end.
    void MarkStopping() {
        std::lock_guard<std::mutex> lock(procLock);
        if (!HasEndedLocked()) endedByUs = true;
    }

    // Whether the child has ended, without reaping it.
    bool HasEnded() {
        std::lock_guard<std::mutex> lock(procLock);
        return HasEndedLocked();
    }
    bool HasEndedLocked() {
        if (pid <= 0 || reaped) return true;
        siginfo_t info{};
        int r;
        do {
            r = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        } while (r < 0 && errno == EINTR);
        return r < 0 || info.si_pid != 0;
    }

    // The one place that reaps. While the reader runs only the reader calls it, so the
    // child is reaped after all of its output was handed on.
    void Reap(bool wait) {
        std::lock_guard<std::mutex> lock(procLock);
        if (pid <= 0 || reaped) return;
        int status = 0;
        pid_t r;
        do {
            r = waitpid(pid, &status, wait ? 0 : WNOHANG);
        } while (r < 0 && errno == EINTR);
        if (r == 0) return;  // still running
        reaped = true;
        if (r < 0) {
            // Reaped by someone else in this process: the status is lost.
            exitCode = -1;
            end = endedByUs ? ChildEnd::EndedByUs : ChildEnd::EndedByItself;
        } else if (WIFEXITED(status)) {
            exitCode = WEXITSTATUS(status);
            end = endedByUs ? ChildEnd::EndedByUs : ChildEnd::EndedByItself;
        } else {
            endSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            exitCode = 128 + endSignal;
            end = endedByUs ? ChildEnd::EndedByUs : hung ? ChildEnd::Hung : ChildEnd::Crashed;
        }
    }

    // The reader reaps while it runs; once it is gone, whoever asks does.
    void ReapIfReaderGone() {
        if (!readerRunning.load()) Reap(false);
    }
};

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

std::string HexCode(int error) {
    std::ostringstream text;
    text << "Redirect console error: " << std::hex << error;
    return text.str();
}

// What the child sends back through the close-on-exec pipe when it cannot run the
// program: nothing arrives when exec succeeds.
struct ChildFailure {
    int error;
    int stage;  // index into kChildStages
};
constexpr const char* kChildStages[] = {"setting up its descriptors", "changing to its working folder",
                                        "executing it"};

// Everything the child needs, prepared before fork: after fork only async-signal-safe
// calls are made.
struct ChildSetup {
    const char* program;
    char* const* argv;
    const char* folder;  // null: ours
    int niceness;
    int inRead, outWrite, failWrite;
};

void WriteFailure(int fd, int error, int stage) {
    ChildFailure failure{error, stage};
    ssize_t r;
    do {
        r = ::write(fd, &failure, sizeof failure);
    } while (r < 0 && errno == EINTR);
}

[[noreturn]] void RunChild(const ChildSetup& c) {
    // A session of its own: no terminal, and the terminal's signals are not its own.
    setsid();
    // Dispositions and masks the child should not inherit from our threads.
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) sigaction(sig, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);

    // Lift both ends above 2 first so that the dup2 below never lands on itself.
    const int in = fcntl(c.inRead, F_DUPFD_CLOEXEC, 3);
    const int out = fcntl(c.outWrite, F_DUPFD_CLOEXEC, 3);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) {
        WriteFailure(c.failWrite, errno, 0);
        _exit(127);
    }
    // Whatever anyone else in this process opened without close-on-exec stays with us.
    if (syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd < 65536; ++fd) fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    if (c.folder && chdir(c.folder) != 0) {
        WriteFailure(c.failWrite, errno, 1);
        _exit(127);
    }
    if (c.niceness != 0) {
        errno = 0;
        const int current = getpriority(PRIO_PROCESS, 0);
        if (errno == 0) setpriority(PRIO_PROCESS, 0, current + c.niceness);  // best effort
    }
    execv(c.program, c.argv);
    WriteFailure(c.failWrite, errno, 2);
    _exit(127);
}

// The file to execute: argv[0] as given when it holds a '/', made absolute against our
// folder (the child changes folder before exec); a bare name is looked up in PATH.
std::string ResolveProgram(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        if (name[0] == '/') return name;
        std::string cwd;
        for (size_t size = 256;; size *= 2) {
            cwd.assign(size, '\0');
            if (getcwd(&cwd[0], size)) break;
            if (errno != ERANGE) return name;
        }
        cwd.resize(cwd.find('\0'));
        return cwd + "/" + name;
    }
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t stop = dirs.find(':', start);
        if (stop == std::string::npos) stop = dirs.size();
        std::string dir = dirs.substr(start, stop - start);
        if (dir.empty()) dir = ".";
        const std::string candidate = dir + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return ResolveProgram(candidate);
        start = stop + 1;
    }
    return name;  // exec fails with ENOENT, reported as usual
}

}  // namespace

CRedirector::CRedirector() : m_state(std::make_unique<State>()) {}

CRedirector::~CRedirector() {
    // A derived class has stopped us already; if it did not, end what is left without
    // calling the handlers, which are gone by now.
    StopAll(true);
}

void CRedirector::ReportError(const std::string& message) {
    if (m_state->quiet.load()) return;
    try {
        OnRedirectError(message);
    } catch (...) {
        // A status text must never end the reader or the caller.
    }
}

bool CRedirector::FailStart(const std::string& program, const char* stage, int error) {
    // One line whatever the name holds: control characters are shown as escapes.
    std::string shown;
    for (unsigned char c : program) {
        if (c < 0x20 || c == 0x7f) {
            static const char digits[] = "0123456789abcdef";
            shown += "\\x";
            shown += digits[c >> 4];
            shown += digits[c & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
    std::fprintf(stderr, "orvella: cannot start the program '%s' (%s): %s\n", shown.c_str(), stage,
                 std::generic_category().message(error).c_str());
    ReportError(HexCode(error));
    errno = error;
    return false;
}

bool CRedirector::StartChild(const ChildLaunch& launch) {
    State& s = *m_state;
    if (s.started) return FailStart(launch.argv.empty() ? std::string() : launch.argv[0], "started before", EBUSY);
    s.started = true;
    s.end = ChildEnd::CouldNotStart;  // until the child really runs
    if (launch.argv.empty() || launch.argv[0].empty()) return FailStart("", "no program given", EINVAL);

    const std::string program = ResolveProgram(launch.argv[0]);
    std::vector<char*> argv;
    argv.reserve(launch.argv.size() + 1);
    for (const std::string& arg : launch.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    int outPipe[2] = {-1, -1}, inPipe[2] = {-1, -1}, failPipe[2] = {-1, -1};
    auto closeAll = [&] {
        for (int* fd : {&outPipe[0], &outPipe[1], &inPipe[0], &inPipe[1], &failPipe[0], &failPipe[1]})
            CloseFd(*fd);
        CloseFd(s.stopFd);
        CloseFd(s.wakeFd);
    };
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(inPipe, O_CLOEXEC) != 0 || pipe2(failPipe, O_CLOEXEC) != 0 ||
        (s.stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) < 0 ||
        (s.wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) < 0 || fcntl(outPipe[0], F_SETFL, O_NONBLOCK) != 0 ||
        fcntl(inPipe[1], F_SETFL, O_NONBLOCK) != 0) {
        const int error = errno;
        closeAll();
        return FailStart(launch.argv[0], "creating its pipes", error);
    }

    const ChildSetup setup{program.c_str(), argv.data(),
                           launch.workingFolder.empty() ? nullptr : launch.workingFolder.c_str(),
                           launch.niceness, inPipe[0], outPipe[1], failPipe[1]};
    const pid_t pid = fork();
    if (pid == 0) RunChild(setup);
    if (pid < 0) {
        const int error = errno;
        closeAll();
        return FailStart(launch.argv[0], "creating the process", error);
    }
    CloseFd(outPipe[1]);
    CloseFd(inPipe[0]);
    CloseFd(failPipe[1]);

    // The failure pipe closes at exec; a failing child writes why before it exits.
    ChildFailure failure{0, 0};
    ssize_t got;
    do {
        got = ::read(failPipe[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    CloseFd(failPipe[0]);
    if (got > 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        closeAll();
        const int stage = failure.stage >= 0 && failure.stage < 3 ? failure.stage : 2;
        std::string where = kChildStages[stage];
        if (stage == 1) where += " '" + launch.workingFolder + "'";
        return FailStart(launch.argv[0], where.c_str(), failure.error);
    }

    {
        std::lock_guard<std::mutex> lock(s.procLock);
        s.pid = pid;
    }
    s.inFd = inPipe[1];
    s.outFd = outPipe[0];
    s.pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));  // close-on-exec by itself
    s.end = ChildEnd::Running;
    s.readerRunning = true;
    s.readerDone = false;
    try {
        s.reader = std::thread(&CRedirector::ReaderThread, this);
    } catch (const std::system_error& e) {
        s.readerRunning = false;
        s.readerDone = true;
        const int error = e.code().value();
        StopAll(false);
        s.end = ChildEnd::CouldNotStart;
        return FailStart(launch.argv[0], "starting its reader thread", error);
    }
    return true;
}

void CRedirector::Deliver(const char* data, size_t size) {
    if (m_state->quiet.load()) return;
    try {
        OnChildOutput(data, size);
    } catch (const std::exception& e) {
        ReportError(std::string("Output handler error: ") + e.what());
    } catch (...) {
        ReportError("Output handler error");
    }
}

CRedirector::ReadResult CRedirector::ReadAvailable(char* buffer, size_t maxChunks) {
    State& s = *m_state;
    for (size_t chunks = 0;; ++chunks) {
        if (s.stopRequested.load()) return ReadResult::Stopped;
        // A child that prints without end must still get its commands in between.
        if (maxChunks != 0 && chunks >= maxChunks) return ReadResult::Empty;
        const ssize_t n = ::read(s.outFd, buffer, kChunkSize);
        if (n > 0) {
            buffer[n] = '\0';
            Deliver(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) return ReadResult::EndOfOutput;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return ReadResult::Empty;
        ReportError("Read stdout pipe error");
        return ReadResult::Failed;
    }
}

void CRedirector::ReaderThread() {
    State& s = *m_state;
    s.readerId = std::this_thread::get_id();
    char buffer[kChunkSize + 1];
    bool outputOpen = true;
    for (;;) {
        if (outputOpen) {
            const ReadResult r = ReadAvailable(buffer, kChunksBetweenWrites);
            if (r == ReadResult::Stopped || r == ReadResult::Failed) break;
            if (r == ReadResult::EndOfOutput) outputOpen = false;
        }
        const bool waiting = FlushCommands();
        if (s.HasEnded()) {
            // Whatever it printed before it ended is still in the pipe: hand it on, then
            // reap, so that "not active" means all of its output has been delivered.
            if (outputOpen && ReadAvailable(buffer, 0) == ReadResult::Stopped) break;
            s.Reap(false);
            if (!s.stopRequested.load() && !s.quiet.load() && GetEnd() != ChildEnd::EndedByUs) {
                try {
                    OnChildEnded();
                } catch (...) {
                    // The end is reported once; a failing handler must not end us.
                }
            }
            break;
        }
        pollfd fds[5] = {{s.stopFd, POLLIN, 0},
                         {outputOpen ? s.outFd : -1, POLLIN, 0},
                         {s.pidFd, POLLIN, 0},
                         {s.wakeFd, POLLIN, 0},
                         {waiting ? s.inFd : -1, POLLOUT, 0}};
        const int r = poll(fds, 5, kPollIntervalMs);
        if (r < 0 && errno != EINTR) {
            ReportError("Read stdout pipe error");
            break;
        }
        uint64_t wakes;
        (void)!::read(s.wakeFd, &wakes, sizeof wakes);
        if (s.stopRequested.load()) break;
    }
    s.readerId = std::thread::id();
    std::lock_guard<std::mutex> lock(s.doneLock);
    s.readerRunning = false;
    s.readerDone = true;
    s.doneSignal.notify_all();
}

bool CRedirector::FlushCommands() {
    State& s = *m_state;
    bool waiting;
    {
        std::lock_guard<std::mutex> lock(s.writeLock);
        if (s.inFd < 0) return false;
        const auto now = CommandQueue::Clock::now();
        s.commands.Flush(s.inFd, now);
        waiting = s.commands.Waiting();
        if (!waiting || s.hung.load() || s.commands.StalledFor(now) < std::chrono::milliseconds(HungTimeoutMs()))
            return waiting;
        s.hung = true;
    }
    // It has taken nothing for so long that it will not again: end it, and let its end
    // be told as any other.
    ReportError("The engine stopped reading its commands");
    s.Kill(SIGKILL);
    return waiting;
}

bool CRedirector::WriteToChild(const std::string& bytes) {
    State& s = *m_state;
    std::lock_guard<std::mutex> lock(s.writeLock);
    if (s.inFd < 0) return false;
    const CommandQueue::Outcome outcome = s.commands.Offer(s.inFd, bytes, CommandQueue::Clock::now());
    if (outcome == CommandQueue::Outcome::Queued) {
        // The reader writes the rest once the input can take it.
        const uint64_t one = 1;
        (void)!::write(s.wakeFd, &one, sizeof one);
    }
    return outcome != CommandQueue::Outcome::Full && outcome != CommandQueue::Outcome::Failed;
}

size_t CRedirector::WaitingCommandCount() const {
    std::lock_guard<std::mutex> lock(m_state->writeLock);
    return m_state->commands.Count();
}

namespace {
std::atomic<int> g_hungTimeoutMs{CRedirector::kDefaultHungTimeoutMs};
}

void CRedirector::SetHungTimeoutForTesting(int ms) { g_hungTimeoutMs = ms > 0 ? ms : kDefaultHungTimeoutMs; }

int CRedirector::HungTimeoutMs() { return g_hungTimeoutMs.load(); }

void CRedirector::StopChild() { StopAll(false); }

void CRedirector::StopAll(bool quiet) {
    State& s = *m_state;
    if (quiet) s.quiet = true;
    if (s.readerId.load() == std::this_thread::get_id()) {
        // Called from a handler: the reader ends when the handler returns, and its
        // descriptors stay open until a later call from another thread. No lock here: a
        // StopChild on another thread may hold it while it waits for this very thread.
        s.stopRequested = true;
        const uint64_t one = 1;
        (void)!::write(s.stopFd, &one, sizeof one);
        s.MarkStopping();
        s.Kill(SIGKILL);
        return;
    }
    std::lock_guard<std::mutex> stop(s.stopLock);
    s.MarkStopping();
    if (s.reader.joinable()) {
        s.stopRequested = true;
        const uint64_t one = 1;
        (void)!::write(s.stopFd, &one, sizeof one);
        std::unique_lock<std::mutex> lock(s.doneLock);
        if (!s.doneSignal.wait_for(lock, std::chrono::milliseconds(kStopTimeoutMs), [&] { return s.readerDone; })) {
            lock.unlock();
            // A thread cannot be ended from outside: end the child, then wait for the
            // handler to come back.
            ReportError("Reader thread did not end within 1000 ms");
            s.Kill(SIGKILL);
        } else {
            lock.unlock();
        }
        s.reader.join();
    }
    s.Kill(SIGKILL);
    s.Reap(true);
    {
        std::lock_guard<std::mutex> lock(s.writeLock);
        CloseFd(s.inFd);
        CloseFd(s.wakeFd);
        s.commands.Clear();
    }
    CloseFd(s.outFd);
    CloseFd(s.stopFd);
    CloseFd(s.pidFd);
}

void CRedirector::TerminateChildTree() {
    State& s = *m_state;
    if (!IsChildActive()) return;
    {
        std::lock_guard<std::mutex> lock(s.procLock);
        if (s.HasEndedLocked()) return;
        s.endedByUs = true;  // the child may end by itself once its children are gone
        // While the child is unreaped its pid is its own, so these are its descendants.
        for (pid_t pid : CProcessTree::Descendants(s.pid)) ::kill(pid, SIGKILL);
    }
    StopChild();
}

bool CRedirector::IsChildActive() const { return GetEnd() == ChildEnd::Running; }

ChildEnd CRedirector::GetEnd() const {
    m_state->ReapIfReaderGone();
    return m_state->end.load();
}

int CRedirector::GetExitCode() const {
    m_state->ReapIfReaderGone();
    std::lock_guard<std::mutex> lock(m_state->procLock);
    return m_state->exitCode;
}

int CRedirector::GetEndSignal() const {
    m_state->ReapIfReaderGone();
    std::lock_guard<std::mutex> lock(m_state->procLock);
    return m_state->endSignal;
}

pid_t CRedirector::GetChildPid() const {
    std::lock_guard<std::mutex> lock(m_state->procLock);
    return m_state->pid;
}

}  // namespace orvella
