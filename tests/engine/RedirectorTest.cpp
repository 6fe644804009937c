// The child process, its pipes and the reader thread, with small real programs as
// children (the shell only as a test child, to make it print or end in a given way).
#include <gtest/gtest.h>

#include "tests/TestMedia.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "tests/engine/RedirectorProbe.h"

using orvella::ChildEnd;
using orvella::ChildLaunch;
using orvella::CProcessTree;

namespace {

ChildLaunch Shell(const std::string& script) { return ChildLaunch{{"/bin/sh", "-c", script}, "", 0}; }

// Gone, or a zombie left to whoever adopted it.
bool ProcessEnds(pid_t pid) {
    for (int i = 0; i < 500; ++i) {
        std::string text;
        try {
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            text.assign(std::istreambuf_iterator<char>(stat), std::istreambuf_iterator<char>());
        } catch (const std::exception&) {
            return true;  // it ended while we read
        }
        if (text.empty() || text.find(") Z ") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::string MakeTempFolder() {
    std::string pattern = ::testing::TempDir() + "redirector-XXXXXX";
    if (!mkdtemp(&pattern[0])) return std::string();
    char* real = realpath(pattern.c_str(), nullptr);
    std::string result = real ? real : pattern;
    free(real);
    return result;
}

TEST(RedirectorTest, OutputArrivesCompleteAndInOrderInSmallChunks) {
    ProbeRedirector r;
    // The first chunk is held back until the child has surely ended, so the rest of
    // its output is still in the pipe then and must be drained.
    r.onChunk = [](ProbeRedirector& self, const char*, size_t) {
        if (self.Chunks() == 1) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    ASSERT_TRUE(r.StartChild(Shell("i=0; while [ $i -lt 3000 ]; do echo \"line $i\"; i=$((i+1)); done")));
    ASSERT_TRUE(r.WaitUntilEnded());

    std::ostringstream expected;
    for (int i = 0; i < 3000; ++i) expected << "line " << i << "\n";
    EXPECT_EQ(r.Output(), expected.str());
    EXPECT_EQ(r.BadChunks(), 0u);
    EXPECT_LE(r.LargestChunk(), 256u);
    EXPECT_GE(r.Chunks(), expected.str().size() / 256);
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByItself);
    EXPECT_TRUE(r.Errors().empty());
}

TEST(RedirectorTest, StandardErrorSharesTheOutput) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(Shell("echo out; echo err >&2; echo out2")));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_EQ(r.Output(), "out\nerr\nout2\n");
}

TEST(RedirectorTest, InputRoundTripThroughCat) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
    EXPECT_TRUE(r.IsChildActive());
    ASSERT_TRUE(r.WriteToChild("get_time_pos\n"));
    ASSERT_TRUE(r.WaitForOutput("get_time_pos\n"));

    // More than a pipe holds, with multi-byte text: written whole, echoed whole.
    std::string big;
    while (big.size() < 300000) big += "loadfile \"/media/Видео 映画 \\\"x\\\".mkv\"\n";
    ASSERT_TRUE(r.WriteToChild(big));
    ASSERT_TRUE(r.WaitForBytes(13 + big.size()));
    EXPECT_EQ(r.Output(), "get_time_pos\n" + big);
    EXPECT_EQ(r.BadChunks(), 0u);
}

struct EndCase {
    const char* name;
    const char* script;
    ChildEnd end;
    int exitCode;
    int signal;
};

class RedirectorEndTest : public ::testing::TestWithParam<EndCase> {};

TEST_P(RedirectorEndTest, ClassifiesTheEnd) {
    const EndCase& c = GetParam();
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(Shell(c.script)));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_FALSE(r.IsChildActive());
    EXPECT_EQ(r.GetEnd(), c.end);
    EXPECT_EQ(r.GetExitCode(), c.exitCode);
    EXPECT_EQ(r.GetEndSignal(), c.signal);
    // Ended by itself: TerminateChildTree leaves it to the owner's later StopChild.
    r.TerminateChildTree();
    EXPECT_EQ(r.stopCalls.load(), 0);
    // The owner's stop after the end changes nothing about it.
    r.StopChild();
    EXPECT_EQ(r.GetEnd(), c.end);
    EXPECT_EQ(r.GetExitCode(), c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(Ends, RedirectorEndTest,
                         ::testing::Values(EndCase{"Success", "exit 0", ChildEnd::EndedByItself, 0, 0},
                                           EndCase{"Failure", "echo bye; exit 7", ChildEnd::EndedByItself, 7, 0},
                                           EndCase{"Segfault", "kill -SEGV $$", ChildEnd::Crashed, 128 + SIGSEGV,
                                                   SIGSEGV},
                                           EndCase{"Abort", "kill -ABRT $$", ChildEnd::Crashed, 128 + SIGABRT,
                                                   SIGABRT}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RedirectorTest, StopChildEndsARunningChildAsStoppedByUs) {
    ProbeRedirector r;
    EXPECT_EQ(r.GetEnd(), ChildEnd::NotStarted);
    EXPECT_FALSE(r.WriteToChild("x"));
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
    const pid_t pid = r.GetChildPid();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(r.GetEnd(), ChildEnd::Running);

    r.StopChild();
    EXPECT_FALSE(r.IsChildActive());
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
    EXPECT_EQ(r.GetEndSignal(), SIGKILL);
    EXPECT_FALSE(r.WriteToChild("x\n"));
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "the child is reaped";
    r.StopChild();  // again: harmless
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
}

TEST(RedirectorTest, StopChildOnANeverStartedRedirectorDoesNothing) {
    ProbeRedirector r;
    r.StopChild();
    r.TerminateChildTree();
    EXPECT_EQ(r.GetEnd(), ChildEnd::NotStarted);
    EXPECT_EQ(r.GetChildPid(), 0);
    EXPECT_EQ(r.GetExitCode(), -1);
}

TEST(RedirectorTest, StartsOncePerObject) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/true"}, "", 0}));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(r.StartChild(ChildLaunch{{"/bin/true"}, "", 0}));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/bin/true"), std::string::npos);
}

TEST(RedirectorTest, WorkingFolderIsTheChilds) {
    const std::string folder = MakeTempFolder();
    ASSERT_FALSE(folder.empty());
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/pwd"}, folder, 0}));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_EQ(r.Output(), folder + "\n");
    rmdir(folder.c_str());
}

TEST(RedirectorTest, RelativeProgramIsFoundFromOurFolderNotTheChilds) {
    const std::string folder = MakeTempFolder();
    ASSERT_FALSE(folder.empty());
    // "bin/echo" relative to "/": only right when resolved against our own folder.
    char* ours = getcwd(nullptr, 0);
    ASSERT_NE(ours, nullptr);
    ASSERT_EQ(chdir("/"), 0);
    ProbeRedirector r;
    const bool started = r.StartChild(ChildLaunch{{"bin/echo", "found"}, folder, 0});
    EXPECT_EQ(chdir(ours), 0);
    free(ours);
    ASSERT_TRUE(started);
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_EQ(r.Output(), "found\n");
    rmdir(folder.c_str());
}

TEST(RedirectorTest, BareProgramNameIsLookedUpInPath) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"echo", "from path"}, "", 0}));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_EQ(r.Output(), "from path\n");
}

TEST(RedirectorTest, NicenessIsAddedInTheChild) {
    errno = 0;
    const int ours = getpriority(PRIO_PROCESS, 0);
    for (int niceness : {0, 10, 19}) {
        ProbeRedirector r;
        ASSERT_TRUE(r.StartChild(ChildLaunch{{"/usr/bin/nice"}, "", niceness}));
        ASSERT_TRUE(r.WaitUntilEnded());
        EXPECT_EQ(r.Output(), std::to_string(std::min(ours + niceness, 19)) + "\n") << niceness;
    }
    EXPECT_EQ(getpriority(PRIO_PROCESS, 0), ours) << "our own niceness is untouched";
}

TEST(RedirectorTest, ArgumentsReachTheChildExactlyWithoutAShell) {
    const std::string folder = MakeTempFolder();
    ASSERT_FALSE(folder.empty());
    const std::vector<std::string> args = {"a b", "\"q\"", "$(touch made)", "`touch made2`", "; touch made3",
                                           "-x", "", "\\", "line\nbreak", "\xff\xfe"};
    ChildLaunch launch{{"/usr/bin/printf", "[%s]"}, folder, 0};
    launch.argv.insert(launch.argv.end(), args.begin(), args.end());
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(launch));
    ASSERT_TRUE(r.WaitUntilEnded());
    std::string expected;
    for (const auto& a : args) expected += "[" + a + "]";
    EXPECT_EQ(r.Output(), expected);
    EXPECT_EQ(CountEntries(folder.c_str()), 0u) << "nothing was executed";
    rmdir(folder.c_str());
}

TEST(RedirectorTest, ChildInheritsOnlyItsThreeStandardDescriptors) {
    // Someone else in this process opened a descriptor without close-on-exec.
    const int stray = open("/dev/null", O_RDONLY);
    ASSERT_GE(stray, 0);
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/ls", "-1", "/proc/self/fd"}, "", 0}));
    ASSERT_TRUE(r.WaitUntilEnded());
    close(stray);
    // 0, 1, 2 and the one ls opened to list the folder.
    EXPECT_EQ(r.Output(), "0\n1\n2\n3\n");
}

TEST(RedirectorTest, ChildRunsInItsOwnSession) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(Shell("echo $(cut -d' ' -f6 /proc/$$/stat)")));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_EQ(r.Output(), std::to_string(r.GetChildPid()) + "\n");
}

TEST(RedirectorTest, TerminateChildTreeEndsTheChildsChildrenToo) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(Shell("sleep 30 & echo $!; sleep 30 & echo $!; wait")));
    ASSERT_TRUE(r.WaitForLines(2));
    std::istringstream lines(r.Output());
    std::vector<pid_t> grandchildren;
    for (pid_t p; lines >> p;) grandchildren.push_back(p);
    ASSERT_EQ(grandchildren.size(), 2u);
    const auto tree = CProcessTree::Descendants(r.GetChildPid());
    for (pid_t g : grandchildren) EXPECT_NE(std::find(tree.begin(), tree.end(), g), tree.end()) << g;

    r.TerminateChildTree();
    EXPECT_EQ(r.stopCalls.load(), 1);
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByUs);
    for (pid_t g : grandchildren) EXPECT_TRUE(ProcessEnds(g)) << g;
}

TEST(RedirectorTest, RealEngineAnswersOnItsInputAndQuitsWithTheGivenCode) {
    if (access("/usr/bin/mplayer", X_OK) != 0) ORVELLA_SKIP_OR_FAIL("no mplayer");
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{
        {"/usr/bin/mplayer", "-slave", "-idle", "-nolirc", "-noconfig", "all", "-vo", "null", "-ao", "null"},
        "",
        0}));
    ASSERT_TRUE(r.WriteToChild("quit 3\n"));
    ASSERT_TRUE(r.WaitUntilEnded());
    EXPECT_NE(r.Output().find("MPlayer"), std::string::npos);
    EXPECT_NE(r.Output().find("Exiting... (Quit)"), std::string::npos) << "output drained before the end";
    EXPECT_EQ(r.GetEnd(), ChildEnd::EndedByItself);
    EXPECT_EQ(r.GetExitCode(), 3);
}

// ---- the process tree read from /proc ----

struct StatCase {
    const char* text;
    bool ok;
    pid_t pid, parent;
};

TEST(ProcessTreeTest, ParsesStatLines) {
    const StatCase cases[] = {
        {"1234 (mplayer) S 99 1234 1234 0 -1", true, 1234, 99},
        {"77 (a) b (c) R 5 77", true, 77, 5},            // ')' and spaces in the name
        {"8 (x)) Z 1 8", true, 8, 1},
        {"1 (init) S 0 1 1", true, 1, 0},                 // no parent
        {"", false, 0, 0},
        {"12 mplayer S 1", false, 0, 0},                  // no parentheses
        {"12 (m) S", false, 0, 0},                        // no parent field
        {"-3 (m) S 1", false, 0, 0},
        {"12 (m) S x1", false, 0, 0},
    };
    for (const StatCase& c : cases) {
        CProcessTree::Entry e;
        EXPECT_EQ(CProcessTree::ParseStat(c.text, e), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(e.pid, c.pid) << c.text;
            EXPECT_EQ(e.parent, c.parent) << c.text;
        }
    }
}

TEST(ProcessTreeTest, DescendantsComeChildrenFirst) {
    const std::vector<CProcessTree::Entry> snapshot = {
        {10, 1}, {11, 10}, {12, 10}, {13, 11}, {14, 13}, {20, 1}, {21, 20}, {30, 30},
    };
    EXPECT_EQ(CProcessTree::Descendants(snapshot, 10), (std::vector<pid_t>{11, 12, 13, 14}));
    EXPECT_EQ(CProcessTree::Descendants(snapshot, 14), std::vector<pid_t>{});
    EXPECT_EQ(CProcessTree::Descendants(snapshot, 30), std::vector<pid_t>{}) << "a self-parent is no descendant";
    EXPECT_EQ(CProcessTree::Descendants({{2, 3}, {3, 2}}, 2), std::vector<pid_t>{3}) << "a cycle ends";
}

TEST(ProcessTreeTest, SnapshotSeesOurOwnChild) {
    ProbeRedirector r;
    ASSERT_TRUE(r.StartChild(ChildLaunch{{"/bin/cat"}, "", 0}));
    const auto tree = CProcessTree::Descendants(getpid());
    EXPECT_NE(std::find(tree.begin(), tree.end(), r.GetChildPid()), tree.end());
}

}  // namespace
