#include "platform/gtk/XEmbedTrayIcon.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

// GtkStatusIcon is deprecated, yet it is GTK's only way into an XEmbed tray.
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace platform {
namespace gtk {
namespace {

void SetPicture(GtkStatusIcon* icon, const std::string& path, const std::string& tip) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), nullptr);
    if (pixbuf) {
        gtk_status_icon_set_from_pixbuf(icon, pixbuf);  // scaled to the tray's size by GTK
        g_object_unref(pixbuf);
    } else {
        gtk_status_icon_set_from_icon_name(icon, "applications-multimedia");
    }
    gtk_status_icon_set_tooltip_text(icon, tip.empty() ? nullptr : tip.c_str());
    gtk_status_icon_set_title(icon, tip.empty() ? "Orvella" : tip.c_str());
}

}  // namespace

bool XEmbedTrayIcon::ManagerPresent() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return false;
    Display* x = GDK_DISPLAY_XDISPLAY(display);
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(XDefaultScreen(x));
    return XGetSelectionOwner(x, gdk_x11_get_xatom_by_name_for_display(display, selection.c_str())) != 0;
}

std::unique_ptr<XEmbedTrayIcon> XEmbedTrayIcon::Create(const std::string& iconPath, const std::string& tip,
                                                       Clicked clicked) {
    GtkStatusIcon* icon = gtk_status_icon_new();
    gtk_status_icon_set_name(icon, "orvella");
    SetPicture(icon, iconPath, tip);
    std::unique_ptr<XEmbedTrayIcon> self(new XEmbedTrayIcon(icon, std::move(clicked)));
    g_signal_connect(icon, "activate", G_CALLBACK(&XEmbedTrayIcon::OnActivate), self.get());
    g_signal_connect(icon, "popup-menu", G_CALLBACK(&XEmbedTrayIcon::OnPopupMenu), self.get());
    gtk_status_icon_set_visible(icon, TRUE);
    return self;
}

XEmbedTrayIcon::~XEmbedTrayIcon() {
    g_signal_handlers_disconnect_by_data(icon_, this);
    gtk_status_icon_set_visible(icon_, FALSE);
    g_object_unref(icon_);
}

void XEmbedTrayIcon::Update(const std::string& iconPath, const std::string& tip) { SetPicture(icon_, iconPath, tip); }

void XEmbedTrayIcon::OnActivate(GtkStatusIcon*, void* self) {
    auto* icon = static_cast<XEmbedTrayIcon*>(self);
    if (icon->clicked_) icon->clicked_(WM_LBUTTONDBLCLK);
}

void XEmbedTrayIcon::OnPopupMenu(GtkStatusIcon*, unsigned, unsigned, void* self) {
    auto* icon = static_cast<XEmbedTrayIcon*>(self);
    if (icon->clicked_) icon->clicked_(WM_RBUTTONDOWN);
}

}  // namespace gtk
}  // namespace platform

G_GNUC_END_IGNORE_DEPRECATIONS
