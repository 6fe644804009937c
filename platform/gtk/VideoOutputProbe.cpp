#include "platform/gtk/VideoOutputProbe.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/gtk/GlRendererProbe.h"

namespace platform {
namespace gtk {
namespace {

using Clock = std::chrono::steady_clock;

// The layout of libXv's XvAdaptorInfo: the development header is not needed for a library
// we only open when the server lists XVideo.
struct XvAdaptorInfoRecord {
    unsigned long baseId;
    unsigned long numPorts;
    char type;
    char* name;
    unsigned long numFormats;
    void* formats;
    unsigned long numAdaptors;
};
using XvQueryExtensionFunction = int (*)(Display*, unsigned*, unsigned*, unsigned*, unsigned*,
                                         unsigned*);
using XvQueryAdaptorsFunction = int (*)(Display*, Window, unsigned*, XvAdaptorInfoRecord**);
using XvFreeAdaptorInfoFunction = void (*)(XvAdaptorInfoRecord*);

std::vector<std::string> ExtensionNames(Display* display) {
    int count = 0;
    char** names = XListExtensions(display, &count);
    std::vector<std::string> result(names, names + (names ? count : 0));
    if (names) XFreeExtensionList(names);
    return result;
}

// The adaptors of the default screen. `library` receives libXv's handle: it may only be
// closed after the display, which keeps a hook into it.
std::vector<XvAdaptorSummary> XvAdaptors(Display* display, void** library) {
    std::vector<XvAdaptorSummary> adaptors;
    *library = dlopen("libXv.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!*library) return adaptors;
    auto queryExtension = reinterpret_cast<XvQueryExtensionFunction>(dlsym(*library, "XvQueryExtension"));
    auto queryAdaptors = reinterpret_cast<XvQueryAdaptorsFunction>(dlsym(*library, "XvQueryAdaptors"));
    auto freeInfo = reinterpret_cast<XvFreeAdaptorInfoFunction>(dlsym(*library, "XvFreeAdaptorInfo"));
    if (!queryExtension || !queryAdaptors || !freeInfo) return adaptors;
    unsigned version, release, requestBase, eventBase, errorBase;
    if (queryExtension(display, &version, &release, &requestBase, &eventBase, &errorBase) != Success)
        return adaptors;
    unsigned count = 0;
    XvAdaptorInfoRecord* info = nullptr;
    if (queryAdaptors(display, DefaultRootWindow(display), &count, &info) != Success) return adaptors;
    for (unsigned i = 0; i < count; ++i)
        adaptors.push_back({static_cast<unsigned char>(info[i].type), info[i].numPorts});
    if (info) freeInfo(info);
    return adaptors;
}

}  // namespace

struct VideoOutputProbe::State {
    std::string displayName;
    std::vector<std::string> glCommand;
    std::chrono::milliseconds limit;

    mutable std::mutex mutex;
    std::condition_variable answered;
    bool started = false;
    bool done = false;  // findings are final
    Clock::time_point start;
    Findings findings;

    static void Run(std::shared_ptr<State> state);
    void Finish(const Findings& found);
};

void VideoOutputProbe::State::Finish(const Findings& found) {
    std::lock_guard<std::mutex> lock(mutex);
    findings = found;
    findings.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    done = true;
    answered.notify_all();
}

void VideoOutputProbe::State::Run(std::shared_ptr<State> state) {
    const Clock::time_point deadline = state->start + state->limit;
    Findings found;
    Display* display = XOpenDisplay(state->displayName.empty() ? nullptr : state->displayName.c_str());
    if (!display) {
        state->Finish(found);  // no answer: the launch keeps its own list
        return;
    }
    // Only queries that cannot fail: an X error here would reach the process-wide
    // handler GDK installed, which ends the program for errors on unknown connections.
    found.offer = OfferFromExtensions(ExtensionNames(display));
    void* xv = nullptr;
    if (found.offer.xvideo) found.offer.xvImageAdaptor = HasImageAdaptor(XvAdaptors(display, &xv));
    XCloseDisplay(display);
    if (xv) dlclose(xv);

    if (NeedsGlRenderer(found.offer) && !state->glCommand.empty()) {
        found.glChildRan = true;
        found.renderer = DirectRendererFromProbeOutput(RunGlProbeChild(state->glCommand, deadline));
    }
    found.answer = ChooseVideoOutput(found.offer, found.renderer);
    state->Finish(found);
}

VideoOutputProbe::VideoOutputProbe(std::string displayName, std::vector<std::string> glCommand,
                                   std::chrono::milliseconds limit)
    : state_(std::make_shared<State>()) {
    state_->displayName = std::move(displayName);
    state_->glCommand = std::move(glCommand);
    state_->limit = limit;
}

VideoOutputProbe::~VideoOutputProbe() = default;

void VideoOutputProbe::Start() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->started) return;
    state_->started = true;
    state_->start = Clock::now();
    try {
        std::thread(&State::Run, state_).detach();
    } catch (const std::system_error&) {
        // No thread: no answer, and the launch keeps its own list.
    }
}

std::string VideoOutputProbe::Answer() {
    Start();
    std::unique_lock<std::mutex> lock(state_->mutex);
    // A little past the limit: the probe itself stops the GL child at the limit.
    const Clock::time_point deadline = state_->start + state_->limit + std::chrono::milliseconds(100);
    state_->answered.wait_until(lock, deadline, [&] { return state_->done; });
    return state_->done ? state_->findings.answer : std::string();
}

VideoOutputProbe::Findings VideoOutputProbe::LastFindings() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->findings;
}

VideoOutputProbe& SharedVideoOutputProbe(const std::string& displayName) {
    // Never destroyed: its thread may still be finishing when the process ends.
    static VideoOutputProbe* probe = [&] {
        auto* made = new VideoOutputProbe(displayName, GlProbeCommand(displayName));
        made->Start();
        return made;
    }();
    return *probe;
}

}  // namespace gtk
}  // namespace platform
