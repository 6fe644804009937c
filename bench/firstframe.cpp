// First-video-frame benchmark: time from exec of `orvella clip` until the clip's picture
// is on screen inside our video area, against bare `mplayer -vo x11 -zoom -x W -y H clip`
// at the size of that area, in one run: alternating, after one warm-up of each. Then,
// after a second of steady playback, CPU (% of one core, over 5 s) and resident memory
// of our process, of its engine child and of bare mplayer. The same again with a play
// memory of 10,000 and of 100,000 entries in the settings file (first frame and memory
// only). Prints figures only.
//
// The clip must show ffmpeg's testsrc colour bars (the default one is made with ffmpeg):
// the frame counts as shown when saturated magenta, yellow and green each cover part of
// a few rows across the video window, read back from the screen.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "library/MediaSnapshot.h"
#include "library/PlayMemory.h"
#include "library/PlayerSettings.h"
#include "library/XmlDocument.h"
#include "platform/gtk/GlRendererProbe.h"
#include "playlist/Playlist.h"
#include "platform/gtk/VideoOutputProbe.h"

extern char** environ;

namespace {

using Arguments = std::vector<std::string>;

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Plain reads: a /proc file of a process that just ended fails mid-read.
std::string ReadFile(const std::string& path) {
    std::string text;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
    close(fd);
    return text;
}

// Fields after the command name of /proc/<pid>/stat: [1] parent, [11] utime, [12] stime.
std::vector<std::string> StatFields(pid_t pid) {
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    std::vector<std::string> fields;
    if (close == std::string::npos) return fields;
    size_t at = close + 2;
    while (at < stat.size()) {
        size_t space = stat.find(' ', at);
        if (space == std::string::npos) space = stat.size();
        fields.push_back(stat.substr(at, space - at));
        at = space + 1;
    }
    return fields;
}

long long CpuTicks(pid_t pid) {
    std::vector<std::string> f = StatFields(pid);
    return f.size() > 12 ? std::atoll(f[11].c_str()) + std::atoll(f[12].c_str()) : -1;
}

long ResidentKb(pid_t pid) {
    std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    size_t at = status.find("VmRSS:");
    return at == std::string::npos ? 0 : std::atol(status.c_str() + at + 6);
}

std::string CommandName(pid_t pid) {
    std::string name = ReadFile("/proc/" + std::to_string(pid) + "/comm");
    if (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

Arguments CommandLine(pid_t pid) {
    std::string raw = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
    Arguments args;
    for (size_t at = 0; at < raw.size();) {
        size_t end = raw.find('\0', at);
        if (end == std::string::npos) end = raw.size();
        args.push_back(raw.substr(at, end - at));
        at = end + 1;
    }
    return args;
}

std::string ValueAfter(const Arguments& args, const char* option) {
    auto at = std::find(args.begin(), args.end(), option);
    return at != args.end() && at + 1 != args.end() ? *(at + 1) : std::string();
}

// A live child of `parent` named `name` (the engine), 0 when there is none yet.
pid_t ChildNamed(pid_t parent, const char* name) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc", error)) {
        const std::string id = entry.path().filename();
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos) continue;
        pid_t pid = std::atoi(id.c_str());
        std::vector<std::string> f = StatFields(pid);
        if (f.size() > 1 && std::atoi(f[1].c_str()) == parent && f[0] != "Z" && CommandName(pid) == name)
            return pid;
    }
    return 0;
}

pid_t Spawn(const Arguments& argv, const Arguments& extraEnvironment) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setpgroup(&attributes, 0);  // its own group: the engine goes with it
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    Arguments env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> envp, args;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    Arguments copy = argv;
    for (std::string& s : copy) args.push_back(s.data());
    args.push_back(nullptr);
    pid_t pid = 0;
    int failed = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0].c_str(), std::strerror(failed));
        return 0;
    }
    return pid;
}

void StopGroup(pid_t pid) {
    kill(-pid, SIGTERM);
    for (int i = 0; i < 30; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) break;
        SleepMs(100);
    }
    kill(-pid, SIGKILL);  // whatever of the group is left
    waitpid(pid, nullptr, 0);
    SleepMs(300);
}

bool Run(const Arguments& argv) {
    pid_t pid = Spawn(argv, {});
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// ---- the screen

int IgnoreXError(Display*, XErrorEvent*) { return 0; }

struct Area {
    int x = 0, y = 0, width = 0, height = 0;
};

// The client window whose _NET_WM_PID is `pid` (bare mplayer's own window).
Window WindowOfProcess(Display* display, Window under, pid_t pid, int depth = 0) {
    static const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, under, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success && data) {
        long value = count ? *reinterpret_cast<long*>(data) : 0;
        XFree(data);
        if (value == pid) return under;
    }
    if (depth > 3) return 0;
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(display, under, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i) found = WindowOfProcess(display, children[i], pid, depth + 1);
    if (children) XFree(children);
    return found;
}

// The window's place on the screen, when it is viewable.
bool ScreenArea(Display* display, Window window, Area* area) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    Window child;
    int x = 0, y = 0;
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return false;
    *area = {x, y, attributes.width, attributes.height};
    return area->width > 8 && area->height > 8;
}

// Reads three thin rows across the area from the screen and looks for the testsrc bars.
bool ShowsBars(Display* display, const Area& area) {
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    const int left = std::max(area.x, 0), right = std::min(area.x + area.width, screenWidth);
    if (right - left < 8) return false;
    long magenta = 0, yellow = 0, green = 0, samples = 0;
    for (int percent : {20, 30, 40}) {
        int y = area.y + area.height * percent / 100;
        if (y < 0 || y + 2 > screenHeight) continue;
        XImage* image = XGetImage(display, DefaultRootWindow(display), left, y, right - left, 2,
                                  AllPlanes, ZPixmap);
        if (!image) continue;
        for (int row = 0; row < 2; ++row) {
            for (int x = 0; x < right - left; ++x) {
                unsigned long p = XGetPixel(image, x, row);
                int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
                ++samples;
                if (r > 190 && g < 70 && b > 190) ++magenta;
                else if (r > 190 && g > 190 && b < 70) ++yellow;
                else if (r < 70 && g > 190 && b < 70) ++green;
            }
        }
        XDestroyImage(image);
    }
    // Each bar is about a ninth of the width; the moving circle hides part of some.
    const long least = samples / 40;
    return samples > 0 && magenta > least && yellow > least && green > least;
}

// ---- one start

struct Sample {
    bool shown = false;
    double firstMs = 0;
    double engineMs = -1;  // when its engine child was first seen (within 10 ms)
    double playerCpu = 0, engineCpu = -1;
    double playerMb = 0, engineMb = -1;
    std::string engineOutput;  // the engine's "-vo"
    Area videoArea;
};

constexpr double kTimeoutMs = 20000;
constexpr int kSettleMs = 1000, kMeasureMs = 5000;

double CpuPercent(long long ticks, double ms) {
    return ticks < 0 ? -1 : 100.0 * ticks / sysconf(_SC_CLK_TCK) / (ms / 1000.0);
}

// `ours`: the player is Orvella and its video window is the engine's "-wid"; otherwise
// the player is bare mplayer drawing into a window of its own.
// `settings`: a settings file our player finds (empty: none). `measure`: CPU and memory
// of steady playback too.
Sample RunOnce(Display* display, const Arguments& argv, bool ours, const std::string& settings = {},
               bool measure = true) {
    Sample s;
    char folder[] = "/tmp/orvella-bench-config-XXXXXX";
    if (!mkdtemp(folder)) return s;
    if (!settings.empty()) {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::create_directories(fs::path(folder) / "Orvella", error);
        fs::copy_file(settings, fs::path(folder) / "Orvella" / "settings.xml", error);
    }
    const double start = NowMs();
    pid_t pid = Spawn(argv, {std::string("XDG_CONFIG_HOME=") + folder});
    if (!pid) return s;
    pid_t engine = 0;
    Window window = 0;
    double lastSearch = 0;
    while (NowMs() - start < kTimeoutMs) {
        const double now = NowMs();
        // Quick until the engine is there, then only to notice a second launch.
        if (now - lastSearch > (engine ? 100 : 10)) {
            lastSearch = now;
            if (ours) {
                pid_t current = ChildNamed(pid, "mplayer");
                if (current && current != engine) {
                    if (!engine) s.engineMs = now - start;
                    engine = current;
                    Arguments args = CommandLine(engine);
                    window = static_cast<Window>(std::strtoul(ValueAfter(args, "-wid").c_str(), nullptr, 10));
                    s.engineOutput = ValueAfter(args, "-vo");
                }
            } else if (!window) {
                window = WindowOfProcess(display, DefaultRootWindow(display), pid);
            }
        }
        Area area;
        if (window && ScreenArea(display, window, &area) && ShowsBars(display, area)) {
            s.shown = true;
            s.firstMs = NowMs() - start;
            s.videoArea = area;
            break;
        }
        SleepMs(2);
    }
    if (s.shown && !measure) {
        SleepMs(kSettleMs);  // the play memory is in by now
        s.playerMb = ResidentKb(pid) / 1024.0;
    }
    if (s.shown && measure) {
        SleepMs(kSettleMs);
        if (ours) engine = ChildNamed(pid, "mplayer");
        long long p0 = CpuTicks(pid), e0 = engine ? CpuTicks(engine) : -1;
        double t0 = NowMs();
        SleepMs(kMeasureMs);
        long long p1 = CpuTicks(pid), e1 = engine ? CpuTicks(engine) : -1;
        double ms = NowMs() - t0;
        s.playerCpu = CpuPercent(p0 >= 0 && p1 >= 0 ? p1 - p0 : -1, ms);
        s.playerMb = ResidentKb(pid) / 1024.0;
        if (engine) {
            s.engineCpu = CpuPercent(e0 >= 0 && e1 >= 0 ? e1 - e0 : -1, ms);
            s.engineMb = ResidentKb(engine) / 1024.0;
        }
    }
    StopGroup(pid);
    std::filesystem::remove_all(folder);
    return s;
}

// ---- figures

struct Spread {
    double median = 0, low = 0, high = 0;
    size_t count = 0;
};

Spread SpreadOf(std::vector<double> values) {
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }),
                 values.end());
    Spread s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    s.low = values.front();
    s.high = values.back();
    s.count = n;
    return s;
}

template <class Field>
Spread Over(const std::vector<Sample>& samples, Field field) {
    std::vector<double> values;
    for (const Sample& s : samples)
        if (s.shown) values.push_back(field(s));
    return SpreadOf(values);
}

void PrintRow(const char* what, const Spread& s, const char* unit) {
    if (!s.count) {
        std::printf("  %-34s -\n", what);
        return;
    }
    std::printf("  %-34s median %7.1f %s   min %7.1f   max %7.1f   (%zu)\n", what, s.median, unit,
                s.low, s.high, s.count);
}

void PrintSample(int run, const char* who, const Sample& s) {
    if (!s.shown) {
        std::printf("run %d %-8s no video frame within %.0f s\n", run, who, kTimeoutMs / 1000);
        return;
    }
    std::printf("run %d %-8s first video frame %6.0f ms   player %5.1f %% %6.1f MB", run, who,
                s.firstMs, s.playerCpu, s.playerMb);
    if (s.engineMs >= 0) std::printf("   engine seen at %3.0f ms", s.engineMs);
    if (s.engineCpu >= 0)
        std::printf("   engine (-vo %s) %5.1f %% %6.1f MB", s.engineOutput.c_str(), s.engineCpu, s.engineMb);
    std::printf("\n");
    std::fflush(stdout);
}

// Context switches of every thread of the process: each is a wake-up or a preemption.
long long ContextSwitches(pid_t pid) {
    namespace fs = std::filesystem;
    long long total = 0;
    std::error_code error;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        const std::string status = ReadFile(task.path() / "status");
        for (const char* key : {"voluntary_ctxt_switches:", "nonvoluntary_ctxt_switches:"}) {
            size_t at = status.find(key);
            if (at != std::string::npos) total += std::atoll(status.c_str() + at + std::strlen(key));
        }
    }
    return total;
}

// Our player started without a file: its wake-ups per second over 10 s, 3 s after the start.
double IdleWakeupsPerSecond(const std::string& orvella) {
    char folder[] = "/tmp/orvella-bench-config-XXXXXX";
    if (!mkdtemp(folder)) return -1;
    pid_t pid = Spawn({orvella}, {std::string("XDG_CONFIG_HOME=") + folder});
    if (!pid) return -1;
    SleepMs(3000);
    const long long before = ContextSwitches(pid);
    SleepMs(10000);
    const long long after = ContextSwitches(pid);
    StopGroup(pid);
    std::filesystem::remove_all(folder);
    return (after - before) / 10.0;
}

// A settings file whose play memory holds `entries` entries shaped like a series on disk.
std::string MakeSettingsFile(size_t entries) {
    const std::string path = "/tmp/orvella-bench-settings-" + std::to_string(entries) + ".xml";
    orvella::Playlist list;
    std::vector<orvella::PlaylistItem> items(entries);
    char name[160];
    for (size_t i = 0; i < entries; ++i) {
        std::snprintf(name, sizeof name, "/home/user/Videos/Series %zu/episode %05zu - title.mkv", i / 500, i);
        items[i].filename = name;
        items[i].shortname = name + std::string(name).rfind('/') + 1;
    }
    list.AppendAll(std::move(items), false);
    orvella::XmlDocument document;
    document.Create(path);
    document.CreateRoot();
    orvella::WriteMedia(document, orvella::MediaSnapshots().Take(list, true));
    orvella::PlayerSettings().WritePlayerKeys(document);
    return document.Save() == orvella::XmlDocument::kOk ? path : std::string();
}

// The video output our probe picks on this display, and what the GL child costs.
void PrintProbe(const std::string& orvella) {
    const char* display = std::getenv("DISPLAY");
    const Arguments child = {orvella, platform::gtk::kGlProbeFlag, display ? display : ""};
    platform::gtk::VideoOutputProbe probe("", child);
    probe.Start();
    std::string answer = probe.Answer();
    platform::gtk::VideoOutputProbe::Findings found = probe.LastFindings();
    std::printf("video output probe: \"%s\" after %.1f ms (Xv adaptor %s, GLX %s, GPU rendering %s, GL child %s)\n",
                answer.c_str(), found.milliseconds, found.offer.xvImageAdaptor ? "yes" : "no",
                found.offer.glx ? "yes" : "no", found.offer.gpuRendering ? "yes" : "no",
                found.glChildRan ? "run" : "not needed");
    double start = NowMs();
    std::string line = platform::gtk::RunGlProbeChild(
        child, std::chrono::steady_clock::now() + std::chrono::milliseconds(3000));
    std::printf("GL child alone (%s %s): \"%s\" after %.0f ms\n", orvella.c_str(),
                platform::gtk::kGlProbeFlag, line.c_str(), NowMs() - start);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string orvella = std::filesystem::absolute(argc > 1 ? argv[1] : "build/orvella");
    std::string clip = argc > 2 ? argv[2] : "";
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 7;
    if (clip.empty()) {
        clip = "/tmp/orvella-bench-bars-640x360.mp4";
        struct stat info;
        if (stat(clip.c_str(), &info) != 0 &&
            !Run({"ffmpeg", "-loglevel", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                  "testsrc=size=640x360:rate=25", "-f", "lavfi", "-i", "sine=frequency=440",
                  "-t", "30", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac", clip})) {
            std::printf("cannot make %s (is ffmpeg installed?)\n", clip.c_str());
            return 1;
        }
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::printf("no display (run it under scripts/with-display.sh)\n");
        return 1;
    }
    XSetErrorHandler(IgnoreXError);  // windows come and go while we look at them
    std::printf("clip: %s\n", clip.c_str());
    PrintProbe(orvella);

    // The warm-up start also gives the size of our video area for bare mplayer.
    Sample warm = RunOnce(display, {orvella, clip}, true);
    if (!warm.shown) {
        std::printf("orvella showed no video frame (is the clip testsrc bars? a display?)\n");
        return 1;
    }
    const std::string width = std::to_string(warm.videoArea.width);
    const std::string height = std::to_string(warm.videoArea.height);
    // Sound goes nowhere in both: our engine falls back to "null" where there is no sound
    // server, and the comparison must not hinge on one.
    const Arguments bare = {"mplayer", "-vo", "x11", "-zoom", "-x", width, "-y", height,
                            "-ao", "null", "-really-quiet", clip};
    std::printf("our video area: %sx%s; engine video output: %s\n", width.c_str(), height.c_str(),
                warm.engineOutput.c_str());
    std::printf("bare: mplayer -vo x11 -zoom -x %s -y %s -ao null clip\n", width.c_str(), height.c_str());
    RunOnce(display, bare, false);

    std::vector<Sample> ours, theirs;
    for (int run = 1; run <= runs; ++run) {
        ours.push_back(RunOnce(display, {orvella, clip}, true));
        PrintSample(run, "orvella", ours.back());
        theirs.push_back(RunOnce(display, bare, false));
        PrintSample(run, "mplayer", theirs.back());
    }

    std::printf("\nfirst video frame on screen (ms from exec), empty play memory\n");
    Spread ourFrame = Over(ours, [](const Sample& s) { return s.firstMs; });
    Spread bareFrame = Over(theirs, [](const Sample& s) { return s.firstMs; });
    PrintRow("orvella", ourFrame, "ms");
    PrintRow("bare mplayer", bareFrame, "ms");
    struct Ratio {
        size_t entries;
        double ours, bare, ourMb;
    };
    std::vector<Ratio> ratios = {{0, ourFrame.median, bareFrame.median,
                                  Over(ours, [](const Sample& s) { return s.playerMb; }).median}};
    for (size_t entries : {size_t{10000}, size_t{100000}}) {
        const std::string settings = MakeSettingsFile(entries);
        std::printf("\nwith a play memory of %zu entries (%s)\n", entries, settings.c_str());
        std::vector<Sample> withMemory, bareAgain;
        for (int run = 1; run <= runs; ++run) {
            withMemory.push_back(RunOnce(display, {orvella, clip}, true, settings, false));
            PrintSample(run, "orvella", withMemory.back());
            bareAgain.push_back(RunOnce(display, bare, false, {}, false));
            PrintSample(run, "mplayer", bareAgain.back());
        }
        ratios.push_back({entries, Over(withMemory, [](const Sample& s) { return s.firstMs; }).median,
                          Over(bareAgain, [](const Sample& s) { return s.firstMs; }).median,
                          Over(withMemory, [](const Sample& s) { return s.playerMb; }).median});
        std::remove(settings.c_str());
    }
    std::printf("\nfirst video frame, median of %d alternating runs\n", runs);
    std::printf("  %-14s %10s %14s %16s %14s\n", "memory", "orvella", "bare mplayer", "orvella / bare",
                "our memory");
    for (const Ratio& r : ratios)
        std::printf("  %8zu entries %8.0f ms %11.0f ms %16.2f %11.1f MB\n", r.entries, r.ours, r.bare,
                    r.bare > 0 ? r.ours / r.bare : 0.0, r.ourMb);
    std::printf("steady playback (CPU %% of one core over %d s, %d s after the first frame)\n",
                kMeasureMs / 1000, kSettleMs / 1000);
    Spread ourCpu = Over(ours, [](const Sample& s) { return s.playerCpu; });
    Spread engineCpu = Over(ours, [](const Sample& s) { return s.engineCpu; });
    Spread bareCpu = Over(theirs, [](const Sample& s) { return s.playerCpu; });
    Spread engineMb = Over(ours, [](const Sample& s) { return s.engineMb; });
    Spread bareMb = Over(theirs, [](const Sample& s) { return s.playerMb; });
    PrintRow("our process CPU", ourCpu, "%");
    PrintRow("our process resident memory", Over(ours, [](const Sample& s) { return s.playerMb; }), "MB");
    PrintRow("engine CPU", engineCpu, "%");
    PrintRow("engine resident memory", engineMb, "MB");
    PrintRow("bare mplayer CPU", bareCpu, "%");
    PrintRow("bare mplayer resident memory", bareMb, "MB");
    if (engineCpu.count && bareCpu.count && bareCpu.median > 0 && bareMb.median > 0)
        std::printf("  engine / bare: CPU %.2f, memory %.2f\n", engineCpu.median / bareCpu.median,
                    engineMb.median / bareMb.median);
    std::printf("our process idle, no file (wake-ups per second over 10 s): %.1f\n", IdleWakeupsPerSecond(orvella));
    XCloseDisplay(display);
    return 0;
}
