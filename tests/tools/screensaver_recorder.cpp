// A stand-in for the desktop's screen saver, for the end-to-end tests: owns
// org.freedesktop.ScreenSaver on the session bus and appends to a file "ready" once the
// name is its own, then "Inhibit <application>: <reason> = <cookie>" and "UnInhibit
// <cookie>" for each call. Runs until SIGTERM.
#include <gio/gio.h>
#include <glib-unix.h>

#include <csignal>
#include <cstdio>

namespace {

FILE* g_record = nullptr;
GDBusNodeInfo* g_node = nullptr;
guint32 g_lastCookie = 0;

void OnCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* args,
            GDBusMethodInvocation* invocation, gpointer) {
    if (g_strcmp0(method, "Inhibit") == 0) {
        const gchar *application, *reason;
        g_variant_get(args, "(&s&s)", &application, &reason);
        std::fprintf(g_record, "Inhibit %s: %s = %u\n", application, reason, ++g_lastCookie);
        g_dbus_method_invocation_return_value(invocation, g_variant_new("(u)", g_lastCookie));
    } else {
        guint32 cookie = 0;
        g_variant_get(args, "(u)", &cookie);
        std::fprintf(g_record, "UnInhibit %u\n", cookie);
        g_dbus_method_invocation_return_value(invocation, nullptr);
    }
    std::fflush(g_record);
}

void OnBus(GDBusConnection* bus, const gchar*, gpointer) {
    static const GDBusInterfaceVTable vtable = {&OnCall, nullptr, nullptr, {nullptr}};
    g_dbus_connection_register_object(bus, "/org/freedesktop/ScreenSaver", g_node->interfaces[0], &vtable, nullptr,
                                      nullptr, nullptr);
}

void OnNameOwned(GDBusConnection*, const gchar*, gpointer) {
    std::fputs("ready\n", g_record);
    std::fflush(g_record);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || !(g_record = std::fopen(argv[1], "a"))) return 2;
    g_node = g_dbus_node_info_new_for_xml(R"(<node><interface name="org.freedesktop.ScreenSaver">
 <method name="Inhibit"><arg type="s"/><arg type="s"/><arg type="u" direction="out"/></method>
 <method name="UnInhibit"><arg type="u"/></method></interface></node>)", nullptr);
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    g_unix_signal_add(SIGTERM, [](gpointer l) { return g_main_loop_quit(static_cast<GMainLoop*>(l)), 0; }, loop);
    g_bus_own_name(G_BUS_TYPE_SESSION, "org.freedesktop.ScreenSaver", G_BUS_NAME_OWNER_FLAGS_NONE, &OnBus,
                   &OnNameOwned, [](GDBusConnection*, const gchar*, gpointer l) { g_main_loop_quit(static_cast<GMainLoop*>(l)); },
                   loop, nullptr);
    g_main_loop_run(loop);
    std::fclose(g_record);
    return 0;
}
