// "Show this file in its folder": the desktop file manager's ShowItems call on the
// session bus, else the folder opened with the default application.
#pragma once

#include <functional>
#include <string>

namespace platform {
namespace gtk {

// Opens a folder (given as a URI); true when something was started.
using FolderOpener = std::function<bool(const std::string& folderUri)>;

// The default application for the folder's URI, with startup notification.
bool OpenFolderWithDefaultApp(const std::string& folderUri);

// Asks org.freedesktop.FileManager1 to show path selected. The answer comes later: when
// the call fails (no session bus, no such service, an error), openFolder gets the folder
// of path instead. True when the call was sent or the folder opened.
bool ShowItemInFileManager(const std::string& path, FolderOpener openFolder = OpenFolderWithDefaultApp);

}  // namespace gtk
}  // namespace platform
