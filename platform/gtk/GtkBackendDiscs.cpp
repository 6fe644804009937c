// Drops from file managers and the optical drives of the GTK backend: a text/uri-list
// drag destination per window that accepts files, and GIO's volume monitor (udisks2
// underneath) for the drives, mounting and disc removal.
#include <gio/gio.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <memory>

#include "platform/gtk/GtkBackend.h"
#include "platform/gtk/NativeWindow.h"

namespace platform {
namespace gtk {
namespace {

constexpr unsigned kScsiCdromMajor = 11;  // /dev/sr*

std::string TakeString(char* s) {
    std::string out = s ? s : "";
    g_free(s);
    return out;
}

std::string PathOfFile(GFile* file) { return file ? TakeString(g_file_get_path(file)) : std::string(); }

std::string MountPointOf(GMount* mount) {
    if (!mount) return std::string();
    GFile* root = g_mount_get_root(mount);
    std::string path = PathOfFile(root);
    if (root) g_object_unref(root);
    return path;
}

std::string DeviceOfVolume(GVolume* volume) {
    return volume ? TakeString(g_volume_get_identifier(volume, G_VOLUME_IDENTIFIER_KIND_UNIX_DEVICE))
                  : std::string();
}

bool IconSaysOptical(GIcon* icon) {
    if (!icon || !G_IS_THEMED_ICON(icon)) return false;
    const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
    for (; names && *names; ++names)
        if (g_strstr_len(*names, -1, "optical")) return true;
    return false;
}

bool IsOpticalDrive(GDrive* drive, const std::string& device) {
    struct stat st {};
    if (!device.empty() && ::stat(device.c_str(), &st) == 0 && S_ISBLK(st.st_mode) &&
        major(st.st_rdev) == kScsiCdromMajor)
        return true;
    GIcon* icon = g_drive_get_icon(drive);
    const bool optical = IconSaysOptical(icon);
    if (icon) g_object_unref(icon);
    return optical;
}

// The disc's volume (the first of the drive's volumes): its label and mount point.
void ReadDisc(GDrive* drive, OpticalDrive& out) {
    GList* volumes = g_drive_get_volumes(drive);
    if (volumes) {
        GVolume* volume = G_VOLUME(volumes->data);
        out.label = TakeString(g_volume_get_identifier(volume, G_VOLUME_IDENTIFIER_KIND_LABEL));
        if (GMount* mount = g_volume_get_mount(volume)) {
            out.mountPoint = MountPointOf(mount);
            g_object_unref(mount);
        }
    }
    g_list_free_full(volumes, g_object_unref);
}

GVolume* FindVolume(GVolumeMonitor* monitor, const std::string& device) {
    GList* volumes = g_volume_monitor_get_volumes(monitor);
    GVolume* found = nullptr;
    for (GList* v = volumes; v && !found; v = v->next)
        if (DeviceOfVolume(G_VOLUME(v->data)) == device) found = G_VOLUME(g_object_ref(v->data));
    g_list_free_full(volumes, g_object_unref);
    return found;
}

// A mount under way: who hears of it when GIO calls back on the window thread.
struct PendingMount {
    GtkBackend* backend;
    WPARAM ticket;
    HWND hwnd;
    UINT message;
};

}  // namespace

void GtkBackend::DragAcceptFiles(HWND hwnd, bool accept) {
    if (!IsWindow(hwnd) || !hwnd->surface) return;
    // Asked again (a rebuilt layout), the window still gets each drop once.
    g_signal_handlers_disconnect_by_func(hwnd->surface, reinterpret_cast<gpointer>(&GtkBackend::OnDragDataReceived), hwnd);
    if (!accept) {
        gtk_drag_dest_unset(hwnd->surface);
        return;
    }
    static const GtkTargetEntry kUriList[] = {{const_cast<gchar*>("text/uri-list"), 0, 0}};
    gtk_drag_dest_set(hwnd->surface, GTK_DEST_DEFAULT_ALL, kUriList, 1,
                      static_cast<GdkDragAction>(GDK_ACTION_COPY | GDK_ACTION_MOVE | GDK_ACTION_LINK));
    g_signal_connect(hwnd->surface, "drag-data-received", G_CALLBACK(&GtkBackend::OnDragDataReceived), hwnd);
}

void GtkBackend::OnDragDataReceived(GtkWidget*, GdkDragContext*, int, int, GtkSelectionData* data,
                                    unsigned, unsigned, void* window) {
    HWND hwnd = static_cast<HWND>(window);
    GtkBackend* self = hwnd->backend;
    // Paths come from the URIs as bytes: a name that is not UTF-8 stays what it is on
    // disc. Addresses without a local path (a remote share without a FUSE path) go.
    std::vector<std::string> paths;
    gchar** uris = gtk_selection_data_get_uris(data);
    for (gchar** uri = uris; uri && *uri; ++uri) {
        GFile* file = g_file_new_for_uri(*uri);
        std::string path = PathOfFile(file);
        g_object_unref(file);
        if (!path.empty()) paths.push_back(std::move(path));
    }
    g_strfreev(uris);
    if (paths.empty() || !self->IsWindow(hwnd)) return;
    const WPARAM drop = self->nextDrop_++;
    self->drops_[drop] = std::move(paths);
    if (!self->PostMessage(hwnd, WM_DROPFILES, drop, 0)) self->drops_.erase(drop);
}

std::vector<std::string> GtkBackend::DragQueryFiles(WPARAM drop) {
    auto it = drops_.find(drop);
    return it == drops_.end() ? std::vector<std::string>() : it->second;
}

void GtkBackend::DragFinish(WPARAM drop) { drops_.erase(drop); }

std::vector<OpticalDrive> GtkBackend::ListOpticalDrives() {
    if (!volumeMonitor_) volumeMonitor_ = g_volume_monitor_get();
    std::vector<OpticalDrive> out;
    GList* drives = g_volume_monitor_get_connected_drives(volumeMonitor_);
    for (GList* d = drives; d; d = d->next) {
        GDrive* drive = G_DRIVE(d->data);
        OpticalDrive entry;
        entry.device = TakeString(g_drive_get_identifier(drive, G_DRIVE_IDENTIFIER_KIND_UNIX_DEVICE));
        if (entry.device.empty() || !IsOpticalDrive(drive, entry.device)) continue;
        ReadDisc(drive, entry);
        out.push_back(std::move(entry));
    }
    g_list_free_full(drives, g_object_unref);
    return out;
}

WPARAM GtkBackend::MountOpticalDisc(const std::string& device, HWND hwnd, UINT message) {
    if (!volumeMonitor_) volumeMonitor_ = g_volume_monitor_get();
    const WPARAM ticket = nextMount_++;
    // An empty drive has no volume.
    GVolume* volume = FindVolume(volumeMonitor_, device);
    if (!volume) {
        FinishMount(ticket, hwnd, message, MountedDisc{std::string(), true});
        return ticket;
    }
    GMount* mount = g_volume_get_mount(volume);
    if (!mount && g_volume_can_mount(volume)) {
        // udisks may take seconds (a disc spinning up): the answer comes as a message.
        g_volume_mount(volume, G_MOUNT_MOUNT_NONE, nullptr, nullptr, &GtkBackend::OnVolumeMounted,
                       new PendingMount{this, ticket, hwnd, message});
        g_object_unref(volume);
        return ticket;
    }
    FinishMount(ticket, hwnd, message, MountedDisc{MountPointOf(mount), false});
    if (mount) g_object_unref(mount);
    g_object_unref(volume);
    return ticket;
}

void GtkBackend::OnVolumeMounted(GObject* source, GAsyncResult* result, void* data) {
    std::unique_ptr<PendingMount> pending(static_cast<PendingMount*>(data));
    GError* error = nullptr;
    if (!g_volume_mount_finish(G_VOLUME(source), result, &error)) {
        g_debug("cannot mount the disc: %s", error ? error->message : "?");
        g_clear_error(&error);
    }
    GMount* mount = g_volume_get_mount(G_VOLUME(source));
    pending->backend->FinishMount(pending->ticket, pending->hwnd, pending->message,
                                  MountedDisc{MountPointOf(mount), false});
    if (mount) g_object_unref(mount);
}

void GtkBackend::FinishMount(WPARAM ticket, HWND hwnd, UINT message, const MountedDisc& result) {
    // Kept only while someone can take it: a closed window never asks.
    if (PostMessage(hwnd, message, ticket, 0)) KeepMountedDisc(ticket, result);
}

int GtkBackend::WatchDiscRemoval(void* data) {
    auto* self = static_cast<GtkBackend*>(data);
    if (!self->volumeMonitor_) self->volumeMonitor_ = g_volume_monitor_get();
    g_signal_handlers_disconnect_by_data(self->volumeMonitor_, self);  // connected once
    g_signal_connect(self->volumeMonitor_, "mount-removed", G_CALLBACK(&GtkBackend::OnMountRemoved), self);
    g_signal_connect(self->volumeMonitor_, "volume-removed", G_CALLBACK(&GtkBackend::OnVolumeRemoved), self);
    return G_SOURCE_REMOVE;
}

void GtkBackend::OnMountRemoved(GVolumeMonitor*, GMount* mount, void* data) {
    RemovedDisc disc;
    disc.mountPoint = MountPointOf(mount);
    if (GVolume* volume = g_mount_get_volume(mount)) {
        disc.device = DeviceOfVolume(volume);
        g_object_unref(volume);
    }
    static_cast<GtkBackend*>(data)->SendDiscRemoved(disc);
}

void GtkBackend::OnVolumeRemoved(GVolumeMonitor*, GVolume* volume, void* data) {
    RemovedDisc disc;
    disc.device = DeviceOfVolume(volume);
    static_cast<GtkBackend*>(data)->SendDiscRemoved(disc);
}

void GtkBackend::SendDiscRemoved(const RemovedDisc& disc) {
    if (IsWindow(mainWindow_))
        SendMessage(mainWindow_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&disc));
}

}  // namespace gtk
}  // namespace platform
