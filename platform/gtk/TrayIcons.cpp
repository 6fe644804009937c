#include "platform/gtk/TrayIcons.h"

#include <gio/gio.h>

#include <algorithm>

#include "platform/gtk/StatusNotifierItem.h"
#include "platform/gtk/XEmbedTrayIcon.h"

namespace platform {
namespace gtk {

TrayIcons::~TrayIcons() = default;

TrayKind TrayIcons::Add(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath,
                        const std::string& tip) {
    for (auto& entry : entries_) {
        if (entry->hwnd != hwnd || entry->id != id) continue;
        entry->message = callbackMessage;
        entry->icon->Update(iconPath, tip);
        return entry->icon->Kind();
    }
    auto entry = std::make_unique<Entry>(Entry{hwnd, id, callbackMessage, nullptr});
    entry->icon = Show(entry.get(), iconPath, tip);
    if (!entry->icon) return TrayKind::None;
    const TrayKind kind = entry->icon->Kind();
    entries_.push_back(std::move(entry));
    return kind;
}

std::unique_ptr<TrayIcon> TrayIcons::Show(Entry* entry, const std::string& iconPath, const std::string& tip) {
    // The entry outlives its icon, and the icon calls back only while it lives.
    TrayIcon::Clicked clicked = [this, entry](LPARAM mouse) {
        post_(entry->hwnd, entry->message, entry->id, mouse);
    };
    std::unique_ptr<TrayIcon> icon;
    if (GDBusConnection* bus = ConnectSessionBus()) {
        if (StatusNotifierWatcherPresent(bus)) icon = StatusNotifierItem::Create(bus, entry->id, iconPath, tip, clicked);
        if (!icon) g_dbus_connection_close(bus, nullptr, nullptr, nullptr);
        g_object_unref(bus);
    }
    if (!icon && XEmbedTrayIcon::ManagerPresent()) icon = XEmbedTrayIcon::Create(iconPath, tip, clicked);
    return icon;
}

void TrayIcons::Remove(HWND hwnd, UINT id) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const std::unique_ptr<Entry>& e) { return e->hwnd == hwnd && e->id == id; }),
                   entries_.end());
}

void TrayIcons::RemoveWindow(HWND hwnd) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const std::unique_ptr<Entry>& e) { return e->hwnd == hwnd; }),
                   entries_.end());
}

TrayIcon* TrayIcons::Find(HWND hwnd, UINT id) const {
    for (const auto& entry : entries_)
        if (entry->hwnd == hwnd && entry->id == id) return entry->icon.get();
    return nullptr;
}

}  // namespace gtk
}  // namespace platform
