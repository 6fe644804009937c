// GLib's allocated strings taken into std::string.
#pragma once

#include <glib.h>

#include <string>

namespace platform {
namespace gtk {

// The text (empty for null), the GLib string freed.
inline std::string TakeString(gchar* s) {
    std::string out = s ? s : "";
    g_free(s);
    return out;
}

}  // namespace gtk
}  // namespace platform
