// The tray icons of the GTK backend, one per (window, id), each shown the best way the
// desktop offers: a StatusNotifierItem where a watcher is registered on the session
// bus, else an XEmbed tray icon, else none.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/TrayIcon.h"

namespace platform {
namespace gtk {

class TrayIcons {
public:
    using Poster = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
    explicit TrayIcons(Poster post) : post_(std::move(post)) {}
    ~TrayIcons();

    // Shows the icon, or updates it when (hwnd, id) has one already.
    TrayKind Add(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath, const std::string& tip);
    void Remove(HWND hwnd, UINT id);
    void RemoveWindow(HWND hwnd);  // every icon of hwnd
    TrayIcon* Find(HWND hwnd, UINT id) const;
    size_t Count() const { return entries_.size(); }

private:
    struct Entry {
        HWND hwnd;
        UINT id;
        UINT message;
        std::unique_ptr<TrayIcon> icon;  // last: it goes before the rest of the entry
    };
    std::unique_ptr<TrayIcon> Show(Entry* entry, const std::string& iconPath, const std::string& tip);

    Poster post_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

}  // namespace gtk
}  // namespace platform
