// Saving the play memory while playing, with a long list: the time the UI thread spends on
// the snapshot (after the list changed: the entries copied; after the position moved
// only: shared), and the whole write of the settings file on the writer's thread. Median
// of several runs each.
//
//   build/bench_memorysave [entries] [runs]
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "hotkeys/HotkeyTable.h"
#include "library/MediaSnapshot.h"
#include "library/SettingsWriter.h"
#include "playlist/Playlist.h"

using namespace orvella;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

double Median(std::vector<double> runs) {
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& measure) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const Clock::time_point start = Clock::now();
        measure();
        times.push_back(Ms(start));
    }
    return Median(times);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    char folder[] = "/tmp/orvella-bench-memory-XXXXXX";
    if (!mkdtemp(folder)) return 1;

    Playlist list;
    std::vector<PlaylistItem> items(count);
    for (size_t i = 0; i < count; ++i) {
        char name[160];
        std::snprintf(name, sizeof name, "/home/user/Videos/Series %zu/episode %05zu - title.mkv", i / 500, i);
        items[i].filename = name;
        items[i].shortname = items[i].filename.substr(items[i].filename.rfind('/') + 1);
        items[i].starttime = static_cast<int64_t>(i % 3600);
    }
    list.AppendAll(std::move(items), false);
    list.SetCurrent(count / 2);

    MediaSnapshots snapshots;
    SettingsSnapshot snapshot{folder, PlayerSettings(folder, "eng"), std::make_shared<HotkeyTable>(HotkeyTable::Defaults()),
                              std::nullopt};
    int64_t position = 0;
    const double copied = MedianMs(
        runs, [&] { list.SetShortName(0, "renamed"); },  // a change to the rows: copied anew
        [&] { snapshot.media = snapshots.Take(list, true); });
    const double shared = MedianMs(
        runs, [&] { list.Current()->starttime = ++position; },  // the position moved on
        [&] { snapshot.media = snapshots.Take(list, true); });
    const double write = MedianMs(runs, [] {}, [&] { WriteSettingsSnapshot(snapshot); });
    SettingsWriter writer;
    const double background = MedianMs(runs, [] {}, [&] {
        writer.Submit(snapshot);
        writer.WaitIdle();
    });

    std::printf("play memory of %zu entries, median of %d runs\n", count, runs);
    std::printf("%-52s %8.2f ms\n", "UI thread: snapshot after the list changed", copied);
    std::printf("%-52s %8.2f ms\n", "UI thread: snapshot after the position moved", shared);
    std::printf("%-52s %8.1f ms\n", "writer: the settings file written", write);
    std::printf("%-52s %8.1f ms\n", "writer: handed over, written, told back", background);
    std::string remove = std::string("rm -rf '") + folder + "'";
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
