#include "platform/gtk/GlRendererProbe.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {
namespace gtk {
namespace {

std::atomic<bool> programServesProbe{false};

// GLX and GL values used below; the GL headers are not needed for five numbers.
constexpr int kGlxRgba = 4, kGlxDoubleBuffer = 5;
constexpr unsigned kGlRenderer = 0x1F01;

using ChooseVisualFunction = XVisualInfo* (*)(Display*, int, int*);
using CreateContextFunction = void* (*)(Display*, XVisualInfo*, void*, int);
using MakeCurrentFunction = int (*)(Display*, unsigned long, void*);
using IsDirectFunction = int (*)(Display*, void*);
using GetStringFunction = const unsigned char* (*)(unsigned);

template <class Function>
Function Symbol(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

// Any X error means no usable GL: end without an answer.
int QuietEnd(Display*, XErrorEvent*) { std::_Exit(1); }

// Prints the renderer line and ends the process without running the GL driver's
// teardown, which can take longer than the check itself.
[[noreturn]] void ProbeAndEnd(const char* displayName) {
    // A stuck driver must not outlive the parent's patience for long.
    alarm(3);
    XSetErrorHandler(QuietEnd);
    Display* display = XOpenDisplay(displayName && *displayName ? displayName : nullptr);
    void* gl = display ? dlopen("libGL.so.1", RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!gl) std::_Exit(1);
    auto chooseVisual = Symbol<ChooseVisualFunction>(gl, "glXChooseVisual");
    auto createContext = Symbol<CreateContextFunction>(gl, "glXCreateContext");
    auto makeCurrent = Symbol<MakeCurrentFunction>(gl, "glXMakeCurrent");
    auto isDirect = Symbol<IsDirectFunction>(gl, "glXIsDirect");
    auto getString = Symbol<GetStringFunction>(gl, "glGetString");
    if (!chooseVisual || !createContext || !makeCurrent || !isDirect || !getString) std::_Exit(1);

    int attributes[] = {kGlxRgba, kGlxDoubleBuffer, 0};
    XVisualInfo* visual = chooseVisual(display, DefaultScreen(display), attributes);
    if (!visual) std::_Exit(1);
    Window root = RootWindow(display, visual->screen);
    XSetWindowAttributes settings{};
    settings.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    Window window = XCreateWindow(display, root, 0, 0, 1, 1, 0, visual->depth, InputOutput,
                                  visual->visual, CWColormap | CWBorderPixel, &settings);
    void* context = createContext(display, visual, nullptr, 1);
    if (!context || !makeCurrent(display, window, context)) std::_Exit(1);
    const unsigned char* renderer = getString(kGlRenderer);
    if (!renderer) std::_Exit(1);
    std::printf("%s %s\n", isDirect(display, context) ? "direct" : "indirect",
                reinterpret_cast<const char*>(renderer));
    std::fflush(stdout);
    std::_Exit(0);
}

}  // namespace

void ServeGlProbeIfAsked(int argc, char** argv) {
    if (argc >= 2 && argv[1] && std::strcmp(argv[1], kGlProbeFlag) == 0)
        ProbeAndEnd(argc >= 3 ? argv[2] : nullptr);
    programServesProbe = true;
}

std::vector<std::string> GlProbeCommand(const std::string& displayName) {
    if (!programServesProbe) return {};
    // Our own binary, even if it was replaced on disk since the start.
    return {"/proc/self/exe", kGlProbeFlag, displayName};
}

std::string RunGlProbeChild(const std::vector<std::string>& command,
                            std::chrono::steady_clock::time_point deadline) {
    using Clock = std::chrono::steady_clock;
    int out[2];
    if (command.empty() || pipe2(out, O_CLOEXEC) != 0) return std::string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The calling thread's blocked signals would otherwise carry over to the child.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (failed) {
        close(out[0]);
        return std::string();
    }

    std::string output;
    bool answered = false;
    while (!answered) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd ready{out[0], POLLIN, 0};
        int n = poll(&ready, 1, static_cast<int>(left.count()) + 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        char buffer[512];
        ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            answered = !output.empty();  // ended without a line end
            break;
        }
        output.append(buffer, static_cast<size_t>(got));
        size_t end = output.find('\n');
        if (end != std::string::npos) {
            output.resize(end);
            answered = true;
        }
        if (output.size() > 4096) break;
    }
    close(out[0]);
    // The answer is all we want from it: a child still running is stopped.
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return answered ? output : std::string();
}

}  // namespace gtk
}  // namespace platform
