#include "platform/gtk/ScreenSaverInhibitor.h"

#include <gio/gio.h>

#include "platform/gtk/StatusNotifierItem.h"

namespace platform {
namespace gtk {
namespace {

// The services asked in turn; the first that answers holds the inhibitor.
struct Service {
    const char* name;  // also its interface
    const char* path;
    const char* inhibit;
    const char* uninhibit;
};
const Service kServices[] = {
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "Inhibit", "UnInhibit"},
    // GNOME offers no freedesktop screen saver; its session manager keeps the session
    // from going idle instead.
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "Inhibit", "Uninhibit"},
};
constexpr size_t kServiceCount = sizeof kServices / sizeof kServices[0];
constexpr guint32 kGnomeInhibitIdle = 8;

}  // namespace

struct ScreenSaverInhibitor::State {
    GDBusConnection* bus = nullptr;
    bool connecting = false;
    bool noBus = false;       // no session bus, or it went: nothing more is asked
    bool alive = true;        // the inhibitor still exists
    bool wanted = false;
    bool requesting = false;  // an inhibit is on its way
    bool refused = false;     // no service took the last request: asked again only when wanted anew
    const Service* holder = nullptr;  // who holds our inhibitor, under cookie
    guint32 cookie = 0;
    std::string application, reason;

    ~State() {
        if (bus) g_object_unref(bus);
    }
};

namespace {

using SharedState = std::shared_ptr<ScreenSaverInhibitor::State>;
struct Request {
    SharedState state;
    size_t service;
};

void Step(const SharedState& state);

GVariant* InhibitArguments(const ScreenSaverInhibitor::State& s, size_t service) {
    if (service == 0) return g_variant_new("(ss)", s.application.c_str(), s.reason.c_str());
    return g_variant_new("(susu)", s.application.c_str(), 0u, s.reason.c_str(), kGnomeInhibitIdle);
}

void OnInhibited(GObject* source, GAsyncResult* result, gpointer data);

void Ask(const SharedState& state, size_t service) {
    const Service& s = kServices[service];
    state->requesting = true;
    g_dbus_connection_call(state->bus, s.name, s.path, s.name, s.inhibit, InhibitArguments(*state, service),
                           G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, &OnInhibited,
                           new Request{state, service});
}

void OnInhibited(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<Request> request(static_cast<Request*>(data));
    const SharedState& state = request->state;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    state->requesting = false;
    if (reply) {
        state->holder = &kServices[request->service];
        g_variant_get(reply, "(u)", &state->cookie);
        g_variant_unref(reply);
    } else if (request->service + 1 < kServiceCount && state->wanted && state->alive) {
        return Ask(state, request->service + 1);
    } else {
        state->refused = true;
    }
    // Released at once when it is no longer wanted.
    if (state->alive) Step(state);
}

void Release(ScreenSaverInhibitor::State& state) {
    const Service& s = *state.holder;
    state.holder = nullptr;
    g_dbus_connection_call(state.bus, s.name, s.path, s.name, s.uninhibit, g_variant_new("(u)", state.cookie),
                           nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, nullptr, nullptr);
}

void OnConnected(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<SharedState> state(static_cast<SharedState*>(data));
    auto* bus = static_cast<GDBusConnection*>(g_task_propagate_pointer(G_TASK(result), nullptr));
    ScreenSaverInhibitor::State& s = **state;
    s.connecting = false;
    s.bus = bus;
    s.noBus = !bus;
    if (s.alive) Step(*state);
    else if (bus) g_dbus_connection_close(bus, nullptr, nullptr, nullptr);
}

void ConnectOnWorker(GTask* task, gpointer, gpointer, GCancellable*) {
    g_task_return_pointer(task, ConnectSessionBus(), g_object_unref);
}

void Step(const SharedState& state) {
    ScreenSaverInhibitor::State& s = *state;
    if (s.bus && g_dbus_connection_is_closed(s.bus)) {
        // The bus went away, and whatever we held on it went with it.
        g_object_unref(s.bus);
        s.bus = nullptr;
        s.holder = nullptr;
        s.noBus = true;
    }
    if (s.noBus || s.connecting || s.requesting) return;
    if (!s.bus) {
        if (!s.wanted) return;
        // Finding and opening the bus may take a while: not on the window's thread.
        s.connecting = true;
        GTask* task = g_task_new(nullptr, nullptr, &OnConnected, new SharedState(state));
        g_task_run_in_thread(task, &ConnectOnWorker);
        g_object_unref(task);
        return;
    }
    if (s.wanted && !s.holder && !s.refused) Ask(state, 0);
    else if (!s.wanted && s.holder) Release(s);
}

}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor() : state_(std::make_shared<State>()) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    State& s = *state_;
    s.alive = false;
    s.wanted = false;
    if (!s.bus) return;
    if (s.holder) Release(s);
    // The release goes out before the process ends. A request still on its way goes
    // with the connection: the service drops what a closed connection held.
    g_dbus_connection_flush_sync(s.bus, nullptr, nullptr);
    g_dbus_connection_close(s.bus, nullptr, nullptr, nullptr);
}

void ScreenSaverInhibitor::Inhibit(const std::string& application, const std::string& reason) {
    if (!state_->wanted) state_->refused = false;
    state_->wanted = true;
    state_->application = application;
    state_->reason = reason;
    Step(state_);
}

void ScreenSaverInhibitor::Uninhibit() {
    state_->wanted = false;
    Step(state_);
}

}  // namespace gtk
}  // namespace platform
