// The redirector under faults: programs that cannot start, a child killed from outside,
// a flood of output, slow handlers, stops from other threads and many start/stop cycles,
// each checked for what it leaves behind (descriptors, threads, child processes).
#include <gtest/gtest.h>

#include "tests/TestMedia.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <future>

#include "tests/engine/RedirectorProbe.h"

using orvella::ChildEnd;
using orvella::ChildLaunch;

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kFlood = 100u * 1024 * 1024;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct NoStartCase {
    const char* name;
    std::vector<std::string> argv;
    const char* folder;
    int error;
    const char* stderrNeedle;
};

class RedirectorNoStartTest : public ::testing::TestWithParam<NoStartCase> {};

TEST_P(RedirectorNoStartTest, ReportsAndLeavesNothingBehind) {
    const NoStartCase& c = GetParam();
    const Holdings before;
    {
        ProbeRedirector r;
        testing::internal::CaptureStderr();
        errno = 0;
        const bool started = r.StartChild(ChildLaunch{c.argv, c.folder, 0});
        const int error = errno;
        const std::string stderrText = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(started);
        EXPECT_EQ(error, c.error) << "the cause survives in errno";
        EXPECT_EQ(r.GetEnd(), ChildEnd::CouldNotStart);
        EXPECT_FALSE(r.IsChildActive());
        EXPECT_FALSE(r.WriteToChild("quit\n"));
        std::ostringstream hex;
        hex << "Redirect console error: " << std::hex << c.error;
        EXPECT_EQ(r.Errors(), std::vector<std::string>{hex.str()});
        // One clear line: what, where, why.
        EXPECT_NE(stderrText.find("cannot start"), std::string::npos) << stderrText;
        EXPECT_NE(stderrText.find(c.stderrNeedle), std::string::npos) << stderrText;
        EXPECT_NE(stderrText.find(std::generic_category().message(c.error)), std::string::npos) << stderrText;
        EXPECT_EQ(std::count(stderrText.begin(), stderrText.end(), '\n'), 1) << stderrText;
        r.StopChild();
        r.TerminateChildTree();
    }
    EXPECT_EQ(SettledHoldings(before), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RedirectorNoStartTest,
    ::testing::Values(NoStartCase{"MissingProgram", {"/nonexistent/gnu/mplayer", "-slave"}, "", ENOENT,
                                  "/nonexistent/gnu/mplayer"},
                      NoStartCase{"MissingBareName", {"no-such-engine-here"}, "", ENOENT, "no-such-engine-here"},
                      NoStartCase{"FolderAsProgram", {"/tmp"}, "", EACCES, "/tmp"},
                      NoStartCase{"NotExecutable", {"/etc/passwd"}, "", EACCES, "/etc/passwd"},
                      NoStartCase{"MissingWorkingFolder", {"/bin/true"}, "/nonexistent/shots", ENOENT,
                                  "/nonexistent/shots"},
                      NoStartCase{"NoProgram", {}, "", EINVAL, "no program"},
                      NoStartCase{"NewlineInName", {"/nonexistent/a\nb"}, "", ENOENT, "/nonexistent/a\\x0ab"}),
    [](const auto& info) { return std::string(info.param.name); });

class RedirectorKilledTest : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RedirectorKilledTest, ChildKilledFromOutsideEndsCleanly) {
    if (access(GetParam()[0].c_str(), X_OK) != 0) ORVELLA_SKIP_OR_FAIL(GetParam()[0] << " missing");
    const Holdings before;
    {
        ProbeRedirector r;
        ASSERT_TRUE(r.StartChild(ChildLaunch{GetParam(), "", 0}));
        ASSERT_TRUE(r.WriteToChild("\n"));
        ASSERT_EQ(kill(r.GetChildPid(), SIGKILL), 0);
        ASSERT_TRUE(r.WaitUntilEnded());
        EXPECT_EQ(r.GetEnd(), ChildEnd::Crashed) << "the kill was not ours";
        EXPECT_EQ(r.GetEndSignal(), SIGKILL);
        EXPECT_FALSE(r.WriteToChild("quit\n")) << "a write to a dead child fails and does not kill us";
        r.TerminateChildTree();
        EXPECT_EQ(r.stopCalls.load(), 0);
        EXPECT_TRUE(r.Errors().empty());
    }
    EXPECT_EQ(SettledHoldings(before), before);
}

INSTANTIATE_TEST_SUITE_P(Children, RedirectorKilledTest,
                         ::testing::Values(std::vector<std::string>{"/bin/cat"},
                                           std::vector<std::string>{"/usr/bin/mplayer", "-slave", "-idle", "-nolirc",
                                                                    "-noconfig", "all", "-vo", "null", "-ao",
                                                                    "null"}),
                         [](const auto& info) { return info.index == 0 ? "Cat" : "RealEngine"; });

TEST(RedirectorFaultTest, WriteToAChildThatClosedItsInputFailsWithoutSigpipe) {
    ProbeRedirector r;
    // Closes its input, then lives on: our write meets a pipe without reader.
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/sh", "-c", "exec 0<&-; echo closed; sleep 30"}, "", 0}));
    ASSERT_TRUE(r.WaitForOutput("closed"));
    errno = 0;
    EXPECT_FALSE(r.WriteToChild("quit\n"));
    EXPECT_EQ(errno, EPIPE);
    sigset_t pending, mask;
    sigpending(&pending);
    EXPECT_FALSE(sigismember(&pending, SIGPIPE)) << "no SIGPIPE left pending";
    pthread_sigmask(SIG_BLOCK, nullptr, &mask);
    EXPECT_FALSE(sigismember(&mask, SIGPIPE)) << "our signal mask is as before";
    EXPECT_TRUE(r.IsChildActive());
}

TEST(RedirectorFaultTest, FloodOf100MegabytesArrivesWhole) {
    ProbeRedirector r;
    r.keepText = false;
    const auto start = Clock::now();
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/usr/bin/head", "-c", std::to_string(kFlood), "/dev/zero"}, "", 0}));
    ASSERT_TRUE(r.WaitUntilEnded(std::chrono::seconds(60)));
    RecordProperty("flood_ms", static_cast<int>(MillisecondsSince(start)));
    EXPECT_EQ(r.Bytes(), kFlood);
    EXPECT_EQ(r.BadChunks(), 0u);
    EXPECT_EQ(r.LargestChunk(), 256u);
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByItself);
    EXPECT_EQ(r.GetExitCode(), 0);
}

TEST(RedirectorFaultTest, SlowHandlerAndFullPipesInBothDirectionsDoNotDeadlock) {
    // We write more than both pipes hold to cat, whose echo the slow reader must take
    // before cat reads on: the write only finishes if the reader keeps going alone.
    ProbeRedirector r;
    r.keepText = false;
    r.onChunk = [](ProbeRedirector& self, const char*, size_t) {
        if (self.Chunks() % 512 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
    const std::string block(4u * 1024 * 1024, 'x');
    auto writer = std::async(std::launch::async, [&] { return r.WriteToChild(block); });
    ASSERT_EQ(writer.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_TRUE(writer.get());
    ASSERT_TRUE(r.WaitForBytes(block.size(), std::chrono::seconds(30)));
    EXPECT_EQ(r.Bytes(), block.size());
    EXPECT_EQ(r.BadChunks(), 0u);
}

TEST(RedirectorFaultTest, StopChildDuringAFloodReturnsPromptly) {
    const Holdings before;
    {
        ProbeRedirector r;
        r.keepText = false;
        ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat", "/dev/zero"}, "", 0}));
        ASSERT_TRUE(r.WaitForBytes(1024 * 1024));
        const auto start = Clock::now();
        auto stopper = std::async(std::launch::async, [&] { r.StopChild(); });
        // A deadlock guard, not a speed goal: the figure goes to the test's record.
        ASSERT_EQ(stopper.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        RecordProperty("stop_during_flood_ms", static_cast<int>(MillisecondsSince(start)));
        EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
        const size_t got = r.Bytes();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(r.Bytes(), got) << "no output after StopChild";
        EXPECT_TRUE(r.Errors().empty());
    }
    EXPECT_EQ(SettledHoldings(before), before);
}

TEST(RedirectorFaultTest, StopChildWhileTheReaderIsInsideTheHandler) {
    const Holdings before;
    {
        ProbeRedirector r;
        std::promise<void> entered;
        std::atomic<bool> inside{false};
        r.onChunk = [&](ProbeRedirector& self, const char*, size_t) {
            if (self.Chunks() != 1) return;
            inside = true;
            entered.set_value();
            // Longer than StopChild's wait for the reader.
            std::this_thread::sleep_for(std::chrono::milliseconds(1200));
            inside = false;
        };
        ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat", "/dev/zero"}, "", 0}));
        ASSERT_EQ(entered.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
        // Two threads stop at once while the handler runs.
        auto first = std::async(std::launch::async, [&] { r.StopChild(); });
        auto second = std::async(std::launch::async, [&] { r.StopChild(); });
        ASSERT_EQ(first.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        ASSERT_EQ(second.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_FALSE(inside.load()) << "StopChild waited for the handler to return";
        EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
        EXPECT_EQ(r.Errors(), std::vector<std::string>{"Reader thread did not end within 1000 ms"});
    }
    EXPECT_EQ(SettledHoldings(before), before);
}

TEST(RedirectorFaultTest, StopChildFromInsideTheHandler) {
    const Holdings before;
    {
        ProbeRedirector r;
        r.keepText = false;
        r.onChunk = [](ProbeRedirector& self, const char*, size_t) {
            if (self.Chunks() == 10) self.StopChild();
        };
        ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat", "/dev/zero"}, "", 0}));
        ASSERT_TRUE(r.WaitForBytes(10));
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (r.stopCalls.load() == 0 && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        r.StopChild();  // the owner's call joins the reader and closes the rest
        EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
        EXPECT_LE(r.Chunks(), 10u) << "no chunk after the handler asked to stop";
    }
    EXPECT_EQ(SettledHoldings(before), before);
}

TEST(RedirectorFaultTest, TwoHundredCyclesLeaveNothingBehind) {
    const Holdings before;
    std::vector<pid_t> pids;
    const auto start = Clock::now();
    for (int i = 0; i < 200; ++i) {
        ProbeRedirector r;
        switch (i % 4) {
            case 0:  // stopped while running, after a round trip
                ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
                ASSERT_TRUE(r.WriteToChild("ping\n"));
                ASSERT_TRUE(r.WaitForOutput("ping\n"));
                r.StopChild();
                break;
            case 1:  // ended by itself before the stop
                ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/echo", "done"}, "", 0}));
                ASSERT_TRUE(r.WaitUntilEnded());
                r.TerminateChildTree();
                break;
            case 2:  // a child with a child of its own, ended as a tree
                ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/sh", "-c", "sleep 30 & echo up; wait"}, "", 0}));
                ASSERT_TRUE(r.WaitForOutput("up"));
                r.TerminateChildTree();
                break;
            case 3:  // left to the destructor
                ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
                break;
        }
        pids.push_back(r.GetChildPid());
    }
    RecordProperty("cycles_ms", static_cast<int>(MillisecondsSince(start)));
    for (pid_t pid : pids) EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "child " << pid << " not reaped";
    EXPECT_EQ(SettledHoldings(before), before);
}

}  // namespace
