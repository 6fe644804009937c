// Keeping the screen saver away over D-Bus: org.freedesktop.ScreenSaver where the desktop
// offers it, else GNOME's session manager (idle only). Nothing here waits on the bus:
// the connection is made on a worker thread and every call is asynchronous.
#pragma once

#include <memory>
#include <string>

namespace platform {
namespace gtk {

class ScreenSaverInhibitor {
public:
    ScreenSaverInhibitor();
    // An inhibitor still held is released, and the release sent, before this returns.
    ~ScreenSaverInhibitor();
    ScreenSaverInhibitor(const ScreenSaverInhibitor&) = delete;
    ScreenSaverInhibitor& operator=(const ScreenSaverInhibitor&) = delete;

    // What is wanted; the bus hears of it as soon as it can, one request at a time, so
    // that an inhibit is never asked for twice without a release between.
    void Inhibit(const std::string& application, const std::string& reason);
    void Uninhibit();

    struct State;  // shared with the bus callbacks, which may come after we are gone

private:
    std::shared_ptr<State> state_;
};

}  // namespace gtk
}  // namespace platform
