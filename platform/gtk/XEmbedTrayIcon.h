// A tray icon in an XEmbed system tray (GtkStatusIcon), for desktops whose tray
// manager owns the _NET_SYSTEM_TRAY_S<screen> selection.
#pragma once

#include <memory>
#include <string>

#include "platform/gtk/TrayIcon.h"

typedef struct _GtkStatusIcon GtkStatusIcon;

namespace platform {
namespace gtk {

class XEmbedTrayIcon : public TrayIcon {
public:
    // True when a tray manager owns the selection of the default screen.
    static bool ManagerPresent();
    static std::unique_ptr<XEmbedTrayIcon> Create(const std::string& iconPath, const std::string& tip,
                                                  Clicked clicked);
    ~XEmbedTrayIcon() override;

    TrayKind Kind() const override { return TrayKind::XEmbed; }
    void Update(const std::string& iconPath, const std::string& tip) override;
    GtkStatusIcon* StatusIcon() const { return icon_; }

private:
    XEmbedTrayIcon(GtkStatusIcon* icon, Clicked clicked) : icon_(icon), clicked_(std::move(clicked)) {}
    static void OnActivate(GtkStatusIcon* icon, void* self);
    static void OnPopupMenu(GtkStatusIcon* icon, unsigned button, unsigned time, void* self);

    GtkStatusIcon* icon_;
    Clicked clicked_;
};

}  // namespace gtk
}  // namespace platform
