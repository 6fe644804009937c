// A tray icon as a StatusNotifierItem: an object we export on the session bus and
// register with the StatusNotifierWatcher, for panels that show such items.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/TrayIcon.h"

typedef struct _GDBusConnection GDBusConnection;

namespace platform {
namespace gtk {

// Rows of 8-bit RGB or RGBA pixels (as gdk-pixbuf holds them, not premultiplied) as an
// item's pixmap data: ARGB32 in network byte order, no row padding.
std::vector<uint8_t> ToNetworkArgb(const uint8_t* pixels, int width, int height, int rowstride, int channels);

// A connection of our own to the session bus, so that every item has its own unique
// name and object path, and a bus that goes away ends nothing but the item. Null when
// there is no session bus.
GDBusConnection* ConnectSessionBus();

// True when a StatusNotifierWatcher is on the bus and does not say that no host shows
// its items (then the item would be invisible and the window lost).
bool StatusNotifierWatcherPresent(GDBusConnection* bus);

class StatusNotifierItem : public TrayIcon {
public:
    // Exports the item on bus (keeping a reference) and registers it with the watcher,
    // again whenever a watcher appears. Null when the item could not be exported.
    static std::unique_ptr<StatusNotifierItem> Create(GDBusConnection* bus, UINT id, const std::string& iconPath,
                                                      const std::string& tip, Clicked clicked);
    ~StatusNotifierItem() override;

    TrayKind Kind() const override { return TrayKind::StatusNotifier; }
    void Update(const std::string& iconPath, const std::string& tip) override;
    // The name the item is registered under: "org.kde.StatusNotifierItem-<pid>-<id>".
    std::string BusName() const;

    struct State;  // shared with the bus callbacks, which may outlive the item briefly

private:
    explicit StatusNotifierItem(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};

}  // namespace gtk
}  // namespace platform
