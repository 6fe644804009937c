// Output parser throughput: the captured engine outputs replayed in 256-byte chunks, as
// the reader thread hands them over. Prints lines per second for the classification
// alone and for the whole controller (tables, lock, events posted to a window of the
// headless platform and taken there).
//
//   build/bench_parser [capture-folder] [rounds]
#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CmdMplayer.h"
#include "engine/LineAssembler.h"
#include "engine/OutputParser.h"
#include "platform/fake/FakeBackend.h"

using namespace orvella;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> LoadCaptures(const std::string& folder) {
    std::vector<std::string> out;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return out;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir))
        if (entry->d_name[0] != '.') names.push_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        out.push_back(text.str());
    }
    return out;
}

template <typename FeedChunk>
void Replay(const std::vector<std::string>& captures, FeedChunk&& feed) {
    for (const std::string& bytes : captures)
        for (size_t at = 0; at < bytes.size(); at += 256) feed(bytes.data() + at, std::min<size_t>(256, bytes.size() - at));
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

size_t g_taken = 0;
LRESULT Receiver(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENGINE_EVENT) {
        EngineEvent event;
        g_taken += TakeEngineEvent(wParam, lParam, &event);
        return 0;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "tests/data/engine-output";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 50;
    const std::vector<std::string> captures = LoadCaptures(folder);
    if (captures.empty()) {
        std::fprintf(stderr, "bench_parser: no captures in %s\n", folder.c_str());
        return 1;
    }
    size_t bytes = 0;
    for (const auto& c : captures) bytes += c.size();

    // Classification alone.
    size_t lines = 0, hits = 0;
    auto start = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        LineAssembler assembler;
        Replay(captures, [&](const char* data, size_t size) {
            assembler.Feed(data, size, [&](std::string_view line) {
                ++lines;
                hits += ClassifyEngineLine(line).action != LineAction::None;
            });
        });
    }
    const double classifySeconds = Seconds(start);

    // The whole controller, posting to a headless window drained after each capture.
    platform::InstallBackend(std::make_unique<platform::FakeBackend>());
    auto& fake = static_cast<platform::FakeBackend&>(platform::GetBackend());
    platform::CreateParams params;
    params.className = "BenchReceiver";
    params.proc = &Receiver;
    HWND window = CreateWindowEx(params);
    start = Clock::now();
    for (int r = 0; r < rounds; ++r) {
        CCmdMplayer engine(window);
        engine.SetEventRateLimit(0);  // measure the parsing, not the pacing
        for (const std::string& bytes : captures) {
            Replay({bytes}, [&](const char* data, size_t size) { engine.OnChildOutput(data, size); });
            fake.DispatchPending();
        }
    }
    const double controllerSeconds = Seconds(start);

    std::printf("captures: %zu files, %zu bytes, %zu lines per round, %d rounds\n", captures.size(), bytes,
                lines / rounds, rounds);
    std::printf("classify:   %.0f lines/s (%.2f us/line, %.1f MB/s), %zu of %zu lines hit a test\n",
                lines / classifySeconds, classifySeconds * 1e6 / lines, bytes * rounds / classifySeconds / 1e6,
                hits / rounds, lines / rounds);
    std::printf("controller: %.0f lines/s (%.2f us/line), %zu events taken per round\n", lines / controllerSeconds,
                controllerSeconds * 1e6 / lines, g_taken / rounds);
    return 0;
}
