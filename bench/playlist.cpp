// Play list at scale: adding entries under the duplicate rule, sorting, and writing and
// reading the play memory. Prints the median of a few runs of each beside its target.
//
//   build/bench_playlist [entries]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "library/PlayMemory.h"
#include "library/XmlDocument.h"
#include "playlist/Playlist.h"

using namespace orvella;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 5;

// Paths as a large collection has them: series folders, numbered episodes, mixed types,
// in no particular order, and about one in twenty listed twice.
std::vector<std::string> MakePaths(size_t count) {
    static const char* const types[] = {".mkv", ".avi", ".mp4", ".part2.avi", ".MKV", ".ts"};
    std::vector<std::string> paths;
    paths.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        char name[160];
        std::snprintf(name, sizeof name, "/home/user/Videos/Series %zu/episode %05zu - title%s",
                      i / 500, i, types[i % 6]);
        paths.push_back(name);
    }
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (size_t i = count; i > 1; --i) std::swap(paths[i - 1], paths[next() % i]);
    for (size_t i = 1; i < count; i += 20) paths[i] = paths[next() % i];
    return paths;
}

long FileSize(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return -1;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fclose(f);
    return size;
}

std::vector<PlaylistItem> MakeItems(const std::vector<std::string>& paths) {
    std::vector<PlaylistItem> items(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        items[i].filename = paths[i];
        items[i].shortname = paths[i].substr(paths[i].rfind('/') + 1);
        items[i].starttime = static_cast<int64_t>(i % 3600);
    }
    return items;
}

// Median milliseconds of `measure`, each run after its own untimed `prepare`.
double MedianMs(const std::function<void()>& prepare, const std::function<void()>& measure) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        Clock::time_point start = Clock::now();
        measure();
        runs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

void Print(const char* what, double ms, double target) {
    std::printf("%-44s %8.1f ms   (target < %.0f ms)%s\n", what, ms, target,
                ms < target ? "" : "   OVER TARGET");
}

}  // namespace

int main(int argc, char** argv) {
    size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    if (count == 0) count = 100000;
    const std::vector<std::string> paths = MakePaths(count);
    const std::vector<PlaylistItem> items = MakeItems(paths);
    std::printf("%zu entries, median of %d runs\n", count, kRuns);

    std::unique_ptr<Playlist> list;
    auto fresh = [&] { list = std::make_unique<Playlist>(); };
    Print("AddPending x n + AddPendingFiles", MedianMs(fresh, [&] {
              for (const std::string& path : paths) list->AddPending(path);
              list->AddPendingFiles();
          }), 300);
    std::vector<PlaylistItem> copy;
    Print("AppendAll, duplicates skipped", MedianMs([&] { fresh(); copy = items; }, [&] {
              list->AppendAll(std::move(copy), true);
          }), 300);
    auto filled = [&] {
        fresh();
        list->AppendAll(items, false);
    };
    Print("SortByName", MedianMs(filled, [&] { list->SortByName(); }), 200);
    Print("SortByType", MedianMs(filled, [&] { list->SortByType(); }), 200);

    char folder[] = "/tmp/bench_playlist.XXXXXX";
    if (!::mkdtemp(folder)) {
        std::perror("mkdtemp");
        return 0;
    }
    const std::string file = std::string(folder) + "/memory.xml";
    filled();
    Print("WriteMedia + Save", MedianMs([] {}, [&] {
              XmlDocument document;
              document.Create(file);
              document.CreateRoot();
              WriteMedia(document, MediaSnapshots().Take(*list, true));
              if (document.Save() != XmlDocument::kOk) std::fprintf(stderr, "save failed\n");
          }), 500);
    Print("Open + ReadMedia + ApplyMedia", MedianMs(fresh, [&] {
              XmlDocument document;
              if (!document.Open(file)) std::fprintf(stderr, "open failed\n");
              ApplyMedia(ReadMedia(document), *list, true);
          }), 500);
    std::printf("play memory file: %ld bytes; %zu entries read back\n", FileSize(file), list->Count());
    ::unlink(file.c_str());
    ::rmdir(folder);
    return 0;
}
