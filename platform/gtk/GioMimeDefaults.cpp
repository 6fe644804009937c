#include "platform/gtk/GioMimeDefaults.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "platform/gtk/GlibText.h"

namespace platform {

using gtk::TakeString;

std::string GioMimeDefaults::TypeOfExtension(const std::string& ext, bool* certain) {
    gboolean uncertain = TRUE;
    const std::string name = "x" + ext;
    gchar* content = g_content_type_guess(name.c_str(), nullptr, 0, &uncertain);
    if (certain) *certain = !uncertain;
    if (!content) return std::string();
    std::string type = TakeString(g_content_type_get_mime_type(content));
    g_free(content);
    return type;
}

std::string GioMimeDefaults::DefaultFor(const std::string& type) {
    GAppInfo* info = g_app_info_get_default_for_type(type.c_str(), FALSE);
    if (!info) return std::string();
    const char* id = g_app_info_get_id(info);
    std::string result = id ? id : "";
    g_object_unref(info);
    return result;
}

bool GioMimeDefaults::SetDefault(const std::string& type, const std::string& desktopId) {
    GDesktopAppInfo* info = g_desktop_app_info_new(desktopId.c_str());
    if (!info) return false;
    GError* error = nullptr;
    const bool done = g_app_info_set_as_default_for_type(G_APP_INFO(info), type.c_str(), &error);
    if (error) {
        g_debug("default for %s not set: %s", type.c_str(), error->message);
        g_error_free(error);
    }
    g_object_unref(info);
    return done;
}

bool GioMimeDefaults::ResetDefault(const std::string& type) {
    g_app_info_reset_type_associations(type.c_str());
    return true;
}

std::string GioMimeDefaults::EntryFile(const std::string& desktopId) {
    GDesktopAppInfo* info = g_desktop_app_info_new(desktopId.c_str());
    if (!info) return std::string();
    const char* file = g_desktop_app_info_get_filename(info);
    std::string result = file ? file : "";
    g_object_unref(info);
    return result;
}

}  // namespace platform
