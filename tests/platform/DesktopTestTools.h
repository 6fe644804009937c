// Around the tests of the GTK desktop services: REQUIRE_TOOL, GTK on the test display,
// main-loop pumping, a temporary folder, child programs, a private session bus (no
// service activation: only what a test serves is there), and ServedObject: one D-Bus
// object served from its own thread, so that code under test may call it synchronously.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/gtk/GtkBackend.h"
#include "tests/TestMedia.h"

// A helper program the test needs: skipped without it, failed where all are required.
#define REQUIRE_TOOL(have, name)                    \
    do {                                            \
        if (!(have)) ORVELLA_SKIP_OR_FAIL(name " missing"); \
    } while (0)

inline bool GtkDisplayReady() {
    static const bool ready = [] {
        if (!std::getenv("DISPLAY")) return false;
        g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
        return InitGtkPlatform(nullptr, nullptr);
    }();
    return ready;
}

// Iterates the main loop until cond holds; false when the guard ran out first.
inline bool PumpUntil(const std::function<bool()>& cond, unsigned guardMs = 5000) {
    const gint64 end = g_get_monotonic_time() + gint64(guardMs) * 1000;
    while (!cond()) {
        if (g_get_monotonic_time() > end) return false;
        if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(2000);
    }
    return true;
}

class TempFolder {
public:
    TempFolder() {
        gchar* dir = g_dir_make_tmp("orvella-test-XXXXXX", nullptr);
        path_ = dir ? dir : "";
        g_free(dir);
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string File(const std::string& name, const std::string& content = "x") const {
        std::string p = path_ + "/" + name;
        std::ofstream(p) << content;
        return p;
    }

private:
    std::string path_;
};

inline bool HaveProgram(const char* name) {
    gchar* p = g_find_program_in_path(name);
    g_free(p);
    return p != nullptr;
}

// A program the test started; stopped and reaped with the object.
class ChildProgram {
public:
    explicit ChildProgram(std::vector<std::string> argv, int* stdoutFd = nullptr) {
        std::vector<gchar*> args;
        for (auto& a : argv) args.push_back(const_cast<gchar*>(a.c_str()));
        args.push_back(nullptr);
        const GSpawnFlags flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                                           G_SPAWN_STDERR_TO_DEV_NULL |
                                                           (stdoutFd ? 0 : G_SPAWN_STDOUT_TO_DEV_NULL));
        if (!g_spawn_async_with_pipes(nullptr, args.data(), nullptr, flags, nullptr, nullptr, &pid_, nullptr,
                                      stdoutFd, nullptr, nullptr))
            pid_ = 0;
    }
    ~ChildProgram() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool Started() const { return pid_ > 0; }

private:
    GPid pid_ = 0;
};

class PrivateSessionBus {
public:
    PrivateSessionBus() {
        if (!HaveProgram("dbus-daemon") || folder_.path().empty()) return;
        const std::string config = folder_.File(
            "bus.conf",
            "<busconfig><type>session</type><listen>unix:dir=" + folder_.path() +
                "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" "
                "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>");
        int out = -1;
        daemon_ = std::make_unique<ChildProgram>(
            std::vector<std::string>{"dbus-daemon", "--config-file=" + config, "--nofork", "--print-address"}, &out);
        if (!daemon_->Started()) return;
        char c;  // the address line comes once the bus listens
        while (read(out, &c, 1) == 1 && c != '\n') address_ += c;
        close(out);
        const char* old = std::getenv("DBUS_SESSION_BUS_ADDRESS");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        if (!address_.empty()) g_setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), TRUE);
    }
    ~PrivateSessionBus() {
        if (address_.empty()) return;
        // GIO's shared connection would end the process when its bus goes away.
        if (GDBusConnection* shared = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {
            g_dbus_connection_set_exit_on_close(shared, FALSE);
            g_dbus_connection_close_sync(shared, nullptr, nullptr);
            g_object_unref(shared);
            // Its "closed" notice holds it until dispatched; after that the next test's
            // bus is a new connection, not this closed one.
            while (g_main_context_iteration(nullptr, FALSE)) {
            }
        }
        if (hadOld_) g_setenv("DBUS_SESSION_BUS_ADDRESS", old_.c_str(), TRUE);
        else g_unsetenv("DBUS_SESSION_BUS_ADDRESS");
    }
    bool Ok() const { return !address_.empty(); }
    const std::string& Address() const { return address_; }

    GDBusConnection* Connect() const {
        return g_dbus_connection_new_for_address_sync(
            address_.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
    }

private:
    TempFolder folder_;
    std::unique_ptr<ChildProgram> daemon_;
    std::string address_, old_;
    bool hadOld_ = false;
};

// A call to an object that the code under test serves on this thread's main loop.
inline GVariant* CallAndWait(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                             const char* method, GVariant* args) {
    std::pair<bool, GVariant*> wait{false, nullptr};
    g_dbus_connection_call(bus, name, path, interface, method, args, nullptr, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
                           [](GObject* source, GAsyncResult* result, gpointer data) {
                               auto* w = static_cast<std::pair<bool, GVariant*>*>(data);
                               w->second = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
                               w->first = true;
                           },
                           &wait);
    PumpUntil([&] { return wait.first; }, 10000);
    return wait.second;
}

inline bool NameHasOwner(GDBusConnection* bus, const std::string& name) {
    GVariant* reply = CallAndWait(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                  "NameHasOwner", g_variant_new("(s)", name.c_str()));
    gboolean owned = FALSE;
    if (reply) g_variant_get(reply, "(b)", &owned), g_variant_unref(reply);
    return owned;
}

class ServedObject {
public:
    struct Call {
        std::string method;
        std::string firstString;  // the first string argument, if any
        std::string args;         // all of them, printed
    };
    using Properties = std::function<GVariant*(const std::string& name)>;

    // failCalls: every method call gets an error reply.
    ServedObject(const PrivateSessionBus& bus, const std::string& name, const std::string& path,
                 const std::string& introspection, Properties properties = nullptr, bool failCalls = false)
        : properties_(std::move(properties)), failCalls_(failCalls) {
        node_ = g_dbus_node_info_new_for_xml(introspection.c_str(), nullptr);
        thread_ = std::thread([this, address = bus.Address(), name, path] { Serve(address, name, path); });
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return started_; });
    }
    ~ServedObject() {
        stop_ = true;
        g_main_context_wakeup(context_);
        thread_.join();
        g_main_context_unref(context_);
        if (node_) g_dbus_node_info_unref(node_);
    }
    bool Ok() const { return ok_; }
    std::vector<Call> Calls() {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

private:
    void Serve(const std::string& address, const std::string& name, const std::string& path) {
        g_main_context_push_thread_default(context_);
        GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        static const GDBusInterfaceVTable vtable = {&ServedObject::OnCall, &ServedObject::OnGet, nullptr, {nullptr}};
        guint id = bus && node_ ? g_dbus_connection_register_object(bus, path.c_str(), node_->interfaces[0],
                                                                    &vtable, this, nullptr, nullptr)
                                : 0;
        GVariant* owned = id ? g_dbus_connection_call_sync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                           "org.freedesktop.DBus", "RequestName",
                                                           g_variant_new("(su)", name.c_str(), 4u), nullptr,
                                                           G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr)
                             : nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ok_ = owned != nullptr;
            started_ = true;
        }
        ready_.notify_all();
        if (owned) g_variant_unref(owned);
        while (!stop_) g_main_context_iteration(context_, TRUE);
        if (id) g_dbus_connection_unregister_object(bus, id);
        if (bus) g_dbus_connection_close_sync(bus, nullptr, nullptr), g_object_unref(bus);
        g_main_context_pop_thread_default(context_);
    }

    static void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                       GVariant* args, GDBusMethodInvocation* invocation, gpointer data) {
        auto* self = static_cast<ServedObject*>(data);
        Call call{method, "", ""};
        if (g_variant_n_children(args) > 0) {
            GVariant* first = g_variant_get_child_value(args, 0);
            if (g_variant_is_of_type(first, G_VARIANT_TYPE_STRING)) call.firstString = g_variant_get_string(first, nullptr);
            g_variant_unref(first);
        }
        gchar* printed = g_variant_print(args, FALSE);
        call.args = printed;
        g_free(printed);
        {
            std::lock_guard<std::mutex> lock(self->mutex_);
            self->calls_.push_back(call);
        }
        if (self->failCalls_) g_dbus_method_invocation_return_dbus_error(invocation, "org.example.Failed", "test");
        else g_dbus_method_invocation_return_value(invocation, nullptr);
    }

    static GVariant* OnGet(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                           GError** error, gpointer data) {
        auto* self = static_cast<ServedObject*>(data);
        GVariant* value = self->properties_ ? self->properties_(property) : nullptr;
        if (!value) g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "%s", property);
        return value;
    }

    Properties properties_;
    bool failCalls_;
    GDBusNodeInfo* node_ = nullptr;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable ready_;
    bool started_ = false, ok_ = false;
    GMainContext* context_ = g_main_context_new();
    std::atomic<bool> stop_{false};
    std::vector<Call> calls_;
};
