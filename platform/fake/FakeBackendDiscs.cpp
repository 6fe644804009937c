// Drops and optical drives of the headless backend, set up and driven by the test.
#include "platform/fake/FakeBackend.h"

namespace platform {

void FakeBackend::DragAcceptFiles(HWND hwnd, bool accept) {
    if (accept) {
        acceptsFiles_.insert(hwnd);
    } else {
        acceptsFiles_.erase(hwnd);
    }
}

bool FakeBackend::DropFiles(HWND hwnd, std::vector<std::string> paths) {
    if (!IsWindow(hwnd) || !AcceptsFiles(hwnd)) return false;
    const WPARAM drop = nextDrop_++;
    drops_[drop] = std::move(paths);
    PostMessage(hwnd, WM_DROPFILES, drop, 0);
    DispatchPending();
    return true;
}

std::vector<std::string> FakeBackend::DragQueryFiles(WPARAM drop) {
    auto it = drops_.find(drop);
    return it == drops_.end() ? std::vector<std::string>() : it->second;
}

void FakeBackend::DragFinish(WPARAM drop) { drops_.erase(drop); }

WPARAM FakeBackend::MountOpticalDisc(const std::string& device, HWND hwnd, UINT message) {
    mountRequests_.push_back(device);
    pendingMounts_.push_back({nextMount_, device, hwnd, message});
    return nextMount_++;
}

bool FakeBackend::FinishMount(const std::string& device, const MountedDisc& result) {
    for (auto it = pendingMounts_.begin(); it != pendingMounts_.end(); ++it) {
        if (it->device != device) continue;
        const PendingMount mount = *it;
        pendingMounts_.erase(it);
        KeepMountedDisc(mount.ticket, result);
        for (OpticalDrive& drive : drives_)
            if (drive.device == device) drive.mountPoint = result.mountPoint;
        PostMessage(mount.hwnd, mount.message, mount.ticket, 0);
        DispatchPending();
        return true;
    }
    return false;
}

void FakeBackend::RemoveDisc(const RemovedDisc& disc) {
    if (!IsWindow(mainWindow_)) return;
    SendMessage(mainWindow_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                reinterpret_cast<LPARAM>(&disc));
}

}  // namespace platform
