// One shown tray icon of the GTK backend, whichever way it is shown.
#pragma once

#include <functional>
#include <string>

#include "platform/Platform.h"

namespace platform {
namespace gtk {

class TrayIcon {
public:
    // The user activated the icon (WM_LBUTTONDBLCLK) or asked for its menu (WM_RBUTTONDOWN).
    using Clicked = std::function<void(LPARAM mouseMessage)>;

    virtual ~TrayIcon() = default;
    virtual TrayKind Kind() const = 0;
    virtual void Update(const std::string& iconPath, const std::string& tip) = 0;
};

}  // namespace gtk
}  // namespace platform
