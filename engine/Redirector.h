// A child process with its standard input and output (standard error shares the output
// pipe), and a reader thread that hands every chunk the child prints to a handler.
// One object serves exactly one child.
//
//   class CCmdMplayer : public CRedirector { ~CCmdMplayer() override { StopChild(); } ... };
//   auto engine = std::make_unique<CCmdMplayer>(...);
//   if (!engine->StartChild(plan.child)) engine.reset();  // stderr line + OnRedirectError given
//   engine->WriteToChild("pausing_keep_force get_time_pos\n");
//   if (engine->IsChildActive()) engine->TerminateChildTree();  // stop
//   engine.reset();  // the destructor's StopChild joins the reader and reaps
//
// The child runs the program directly (no shell), in a session of its own, with only its
// three standard descriptors; its end is classified by GetEnd. When a child ends by
// itself, IsChildActive turns false only after all it printed went to OnChildOutput.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvella {

// How a child's run is classified once it is over.
enum class ChildEnd {
    NotStarted,     // StartChild never succeeded
    Running,        // not reaped yet ("still active")
    CouldNotStart,  // the program could not be executed
    EndedByItself,  // exited on its own (exit code valid)
    EndedByUs,      // stopped by StopChild / TerminateChildTree
    Crashed,        // ended by a signal it did not get from us
    Hung,           // stopped reading its input for so long that we ended it
};

struct ChildLaunch {
    std::vector<std::string> argv;  // argv[0] is the program's path; no shell ever
    std::string workingFolder;      // empty: ours
    int niceness = 0;               // added to the child's nice value (0 = unchanged)
};

class CRedirector {
public:
    CRedirector();
    // Stops nothing itself: a derived class calls StopChild in its own destructor.
    virtual ~CRedirector();
    CRedirector(const CRedirector&) = delete;
    CRedirector& operator=(const CRedirector&) = delete;

    // Pipes, the child and the reader thread; once per object, on the UI thread.
    bool StartChild(const ChildLaunch& launch);
    // Writes bytes unchanged to the child's standard input, never waiting for it: what it
    // cannot take now waits (the same text waiting twice goes once) and the reader thread
    // writes it when it can. False without writing when there is no child input (never
    // started, or stopped), when it is closed, or when too much waits already.
    bool WriteToChild(const std::string& bytes);
    size_t WaitingCommandCount() const;
    // Ends the reader thread (within 1000 ms), kills and reaps the child, closes
    // everything. Safe to call more than once, and from the destructor of a derived class.
    // Also safe from any thread, the handlers included: called from a handler it kills
    // the child and asks the reader to end, and a later call from another thread (the
    // destructor's) joins the reader and closes the rest. A handler that does not return
    // keeps StopChild waiting past the 1000 ms (reported through OnRedirectError): a
    // thread cannot be ended from outside. Never delete the object from a handler.
    virtual void StopChild();
    // Terminates the child's own children first, then StopChild; nothing at all when the
    // child has already ended.
    void TerminateChildTree();

    bool IsChildActive() const;  // started and not reaped yet
    int GetExitCode() const;     // valid once ended by itself; 128 + signal when killed; else -1
    ChildEnd GetEnd() const;
    pid_t GetChildPid() const;   // as started; 0 when none (may be reused once reaped)
    int GetEndSignal() const;    // the signal that ended the child, 0 when none

    static constexpr size_t kChunkSize = 256;      // largest chunk given to OnChildOutput
    static constexpr int kPollIntervalMs = 100;    // the reader's wait while the pipe is empty
    static constexpr int kStopTimeoutMs = 1000;    // StopChild's wait for the reader
    // A child that takes none of its waiting input for this long is hung: it is killed,
    // and ends as ChildEnd::Hung.
    static constexpr int kDefaultHungTimeoutMs = 5000;
    static void SetHungTimeoutForTesting(int ms);  // 0: the default again
    static int HungTimeoutMs();

protected:
    // One chunk of 1 to 256 bytes (NUL-terminated too), on the reader thread. A line may
    // be split over several chunks.
    virtual void OnChildOutput(const char* data, size_t size) = 0;
    // A status or error text of the redirector itself, on whichever thread met it.
    virtual void OnRedirectError(const std::string& message) = 0;
    // The child ended without being told to (by itself, by a signal, or hung), on the
    // reader thread, after all of its output went to OnChildOutput.
    virtual void OnChildEnded() {}

private:
    void ReaderThread();
    enum class ReadResult { Empty, EndOfOutput, Stopped, Failed };
    static constexpr size_t kChunksBetweenWrites = 64;
    ReadResult ReadAvailable(char* buffer, size_t maxChunks);  // maxChunks 0: until empty
    bool FlushCommands();  // reader thread; true while commands still wait
    void Deliver(const char* data, size_t size);
    void ReportError(const std::string& message);
    void StopAll(bool quiet);
    bool FailStart(const std::string& program, const char* stage, int error);

    struct State;
    std::unique_ptr<State> m_state;  // pipes, pids, thread, lock: see Redirector.cpp
};

}  // namespace orvella
