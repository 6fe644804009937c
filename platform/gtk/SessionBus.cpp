#include "platform/gtk/SessionBus.h"

#include <gio/gio.h>
#include <sys/stat.h>

namespace platform {
namespace gtk {

std::string SessionBusAddress() {
    const char* announced = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    if (announced && *announced) return announced;
    const char* runtime = g_getenv("XDG_RUNTIME_DIR");
    if (!runtime || !*runtime) return "";
    const std::string socket = std::string(runtime) + "/bus";
    struct stat info{};
    if (stat(socket.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return "";
    gchar* escaped = g_dbus_address_escape_value(socket.c_str());
    std::string address = std::string("unix:path=") + escaped;
    g_free(escaped);
    return address;
}

}  // namespace gtk
}  // namespace platform
