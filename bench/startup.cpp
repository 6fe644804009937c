// Start-up benchmark: time from exec to the first painted frame of the main window, and
// the resident memory at that moment. Starts the player repeatedly with
// ORVELLA_BENCH_FIRST_FRAME=1, which makes it print one line on standard error after its
// first frame: "orvella-first-frame <monotonic ns> <resident kB>". Prints figures only.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {
long long NowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Sample {
    double ms = 0;
    long rssKb = 0;
};

bool RunOnce(const char* program, Sample* out) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.emplace_back("ORVELLA_BENCH_FIRST_FRAME=1");
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t pid = 0;
    long long start = NowNs();
    int rc = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program, std::strerror(rc));
        return false;
    }
    FILE* in = fdopen(fds[0], "r");
    bool found = false;
    char* line = nullptr;
    size_t cap = 0;
    while (getline(&line, &cap, in) > 0) {
        long long frameNs = 0;
        long rss = 0;
        if (std::sscanf(line, "orvella-first-frame %lld %ld", &frameNs, &rss) == 2) {
            out->ms = static_cast<double>(frameNs - start) / 1e6;
            out->rssKb = rss;
            found = true;
            break;
        }
    }
    free(line);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    fclose(in);
    return found;
}
}  // namespace

int main(int argc, char** argv) {
    const char* program = argc > 1 ? argv[1] : "build/orvella";
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<Sample> samples;
    Sample warm;
    RunOnce(program, &warm);  // the first start fills the file cache; not counted
    for (int i = 0; i < runs; ++i) {
        Sample s;
        if (RunOnce(program, &s)) samples.push_back(s);
    }
    if (samples.empty()) {
        std::printf("no start reported a first frame (is a display available?)\n");
        return 1;
    }
    std::vector<double> ms;
    std::vector<long> rss;
    for (const auto& s : samples) {
        ms.push_back(s.ms);
        rss.push_back(s.rssKb);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(rss.begin(), rss.end());
    std::printf("starts: %zu\n", samples.size());
    std::printf("first frame: median %.1f ms, min %.1f ms, max %.1f ms\n", ms[ms.size() / 2],
                ms.front(), ms.back());
    std::printf("resident memory at first frame: median %.1f MB, max %.1f MB\n",
                rss[rss.size() / 2] / 1024.0, rss.back() / 1024.0);
    return 0;
}
