// Engine start-up cost of the controller: time from StartChild (the argument vector of
// BuildLaunch, "-vo null -ao null") until EV_VIDEO_OUTPUT_SIZE is taken by a window of
// the headless platform, against the same argument vector started bare with posix_spawn
// and read directly until its "VO:" line. Runs alternate between the two; one warm-up
// run of each comes first. Prints both medians and their ratio.
//
//   build/bench_launch <program-folder> <media-file> [runs]
//   (the program folder holds gnu/mplayer: the build folder)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/CmdMplayer.h"
#include "engine/EngineEvents.h"
#include "engine/LaunchOptions.h"
#include "platform/fake/FakeBackend.h"

extern char** environ;

using namespace orvella;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kTimeoutMs = 10000;

bool g_sawOutputSize = false;
LRESULT Receiver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENGINE_EVENT) {
        EngineEvent event;
        if (TakeEngineEvent(wParam, lParam, &event) && event.code == EV_VIDEO_OUTPUT_SIZE)
            g_sawOutputSize = true;
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

double Ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Through the controller, as the main window launches it; the UI side pumps its queue
// with short sleeps as an idle message loop would wake for a post.
double RunController(platform::FakeBackend& fake, HWND window, const LaunchPlan& plan) {
    g_sawOutputSize = false;
    auto start = Clock::now();
    auto engine = std::make_unique<CCmdMplayer>(window);
    if (!engine->StartChild(plan.child)) return -1;
    while (!g_sawOutputSize && Ms(start) < kTimeoutMs) {
        fake.DispatchPending();
        if (!g_sawOutputSize) std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    double ms = g_sawOutputSize ? Ms(start) : -1;
    engine.reset();  // kills and reaps; outside the timing
    fake.DispatchPending();
    return ms;
}

// The same argument vector started directly, its output read until a line starts "VO:".
double RunBare(const LaunchPlan& plan) {
    int out[2], in[2];
    if (pipe2(out, O_CLOEXEC) != 0) return -1;
    if (pipe2(in, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return -1;
    }
    std::vector<char*> argv;
    for (const std::string& a : plan.child.argv) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    auto start = Clock::now();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    if (!plan.child.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, plan.child.workingFolder.c_str());
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    double ms = -1;
    if (rc == 0) {
        std::string pending;
        char buffer[4096];
        while (Ms(start) < kTimeoutMs) {
            pollfd p{out[0], POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            ssize_t n = read(out[0], buffer, sizeof buffer);
            if (n <= 0) break;
            pending.append(buffer, static_cast<size_t>(n));
            if (pending.compare(0, 3, "VO:") == 0 || pending.find("\nVO:") != std::string::npos) {
                ms = Ms(start);
                break;
            }
            // Keep only the unfinished tail so the search stays short.
            size_t cut = pending.rfind('\n');
            if (cut != std::string::npos) pending.erase(0, cut);
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    close(in[1]);
    close(out[0]);
    return ms;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_launch <program-folder> <media-file> [runs]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;
    char cwd[4096];
    char workTemplate[] = "/tmp/orvella-bench-launch-XXXXXX";
    if (!getcwd(cwd, sizeof cwd) || !mkdtemp(workTemplate)) {
        std::perror("bench_launch");
        return 1;
    }

    LaunchOptions options;
    // Absolute: the engine starts in another working folder.
    options.programFolder = argv[1][0] == '/' ? std::string(argv[1]) : std::string(cwd) + "/" + argv[1];
    options.currentFolder = cwd;
    options.mediaPath = argv[2];
    options.snappath = workTemplate;
    options.videoOutputOverride = "null";
    options.audioOutputOverride = "null";
    options.startFullScreen = false;
    const LaunchPlan plan = BuildLaunch(options);
    if (plan.child.argv.empty()) return 1;

    platform::InstallBackend(std::make_unique<platform::FakeBackend>());
    auto& fake = static_cast<platform::FakeBackend&>(platform::GetBackend());
    platform::CreateParams params;
    params.className = "BenchReceiver";
    params.proc = &Receiver;
    HWND window = CreateWindowEx(params);

    if (RunController(fake, window, plan) < 0 || RunBare(plan) < 0) {
        std::fprintf(stderr, "bench_launch: no video output from %s (missing engine or media?)\n",
                     plan.child.argv[0].c_str());
        rmdir(workTemplate);
        return 1;
    }
    std::vector<double> ours, bare;
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so neither always runs on a warmer cache.
        double a, b;
        if (i % 2 == 0) {
            a = RunController(fake, window, plan);
            b = RunBare(plan);
        } else {
            b = RunBare(plan);
            a = RunController(fake, window, plan);
        }
        if (a >= 0) ours.push_back(a);
        if (b >= 0) bare.push_back(b);
    }
    std::string cleanup = std::string(workTemplate) + "/shot0001.png";
    unlink(cleanup.c_str());
    rmdir(workTemplate);
    if (ours.empty() || bare.empty()) return 1;

    const double mo = Median(ours), mb = Median(bare);
    std::printf("media: %s, %d runs each (alternating, after one warm-up)\n", argv[2], runs);
    std::printf("bare mplayer to \"VO:\":                median %.1f ms (min %.1f, max %.1f)\n", mb,
                *std::min_element(bare.begin(), bare.end()), *std::max_element(bare.begin(), bare.end()));
    std::printf("controller to EV_VIDEO_OUTPUT_SIZE:    median %.1f ms (min %.1f, max %.1f)\n", mo,
                *std::min_element(ours.begin(), ours.end()), *std::max_element(ours.begin(), ours.end()));
    std::printf("ratio controller/bare: %.3f (target <= 1.05)\n", mo / mb);
    return 0;
}
