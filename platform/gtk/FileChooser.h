// The file chooser of the GTK backend: GtkFileChooserNative, so that a desktop portal's
// chooser is used where GTK uses portals, and GTK's own dialog elsewhere.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

typedef struct _GtkWindow GtkWindow;

namespace platform {
namespace gtk {

// Runs the chooser modal to owner (may be null) in a nested main loop, so posted
// messages keep flowing meanwhile. Returns local paths in the chooser's order; empty
// when cancelled. A saved name gets the default extension; when that names an existing
// file and overwriting must be confirmed, the user is asked again.
std::vector<std::string> RunFileChooser(GtkWindow* owner, const FileDialogRequest& request);

}  // namespace gtk
}  // namespace platform
