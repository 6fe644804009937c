#include "platform/gtk/FileManager.h"

#include <gtk/gtk.h>

namespace platform {
namespace gtk {
namespace {

constexpr int kCallTimeoutMs = 2000;

struct PendingShow {
    std::string folderUri;
    FolderOpener openFolder;
};

std::string FolderUriOf(GFile* file) {
    GFile* parent = g_file_get_parent(file);
    gchar* uri = g_file_get_uri(parent ? parent : file);
    std::string out = uri ? uri : "";
    g_free(uri);
    if (parent) g_object_unref(parent);
    return out;
}

void OnShowItemsDone(GObject* source, GAsyncResult* result, gpointer data) {
    auto* pending = static_cast<PendingShow*>(data);
    GError* error = nullptr;
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
    if (reply) {
        g_variant_unref(reply);
    } else {
        // A file manager that is still starting answers late; opening the folder too
        // would show the user two windows.
        if (!g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT)) pending->openFolder(pending->folderUri);
        g_error_free(error);
    }
    delete pending;
}

}  // namespace

bool OpenFolderWithDefaultApp(const std::string& folderUri) {
    GdkDisplay* display = gdk_display_get_default();
    GdkAppLaunchContext* context = display ? gdk_display_get_app_launch_context(display) : nullptr;
    GError* error = nullptr;
    const bool ok = g_app_info_launch_default_for_uri(folderUri.c_str(), context ? G_APP_LAUNCH_CONTEXT(context) : nullptr, &error);
    if (error) g_error_free(error);
    if (context) g_object_unref(context);
    return ok;
}

bool ShowItemInFileManager(const std::string& path, FolderOpener openFolder) {
    if (path.empty()) return false;
    GFile* file = g_file_new_for_path(path.c_str());
    gchar* uri = g_file_get_uri(file);
    auto* pending = new PendingShow{FolderUriOf(file), std::move(openFolder)};
    g_object_unref(file);

    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) {
        const bool ok = pending->openFolder(pending->folderUri);
        delete pending;
        g_free(uri);
        return ok;
    }
    // The startup id carries the time of the click, so the file manager may take the focus.
    const guint32 time = gtk_get_current_event_time();
    gchar* startup = time ? g_strdup_printf("orvella_TIME%u", time) : g_strdup("");
    const gchar* uris[] = {uri, nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems",
                           g_variant_new("(^ass)", uris, startup), nullptr, G_DBUS_CALL_FLAGS_NONE,
                           kCallTimeoutMs, nullptr, &OnShowItemsDone, pending);
    g_free(startup);
    g_free(uri);
    g_object_unref(bus);
    return true;
}

}  // namespace gtk
}  // namespace platform
