// Where the desktop's session bus is, as the session announces it.
#pragma once

#include <string>

namespace platform {
namespace gtk {

// DBUS_SESSION_BUS_ADDRESS, else the user's bus socket in XDG_RUNTIME_DIR; empty when
// neither is there. GLib would otherwise start a bus of its own (dbus-launch) for the
// display, which nobody else would talk to.
std::string SessionBusAddress();

}  // namespace gtk
}  // namespace platform
