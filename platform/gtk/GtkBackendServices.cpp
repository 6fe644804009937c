// The desktop services of the GTK backend: opening files and addresses, file choosers,
// the file manager, questions, tray icons, the screen saver and the video output the
// display offers.
#include <gtk/gtk.h>

#include "platform/gtk/FileChooser.h"
#include "platform/gtk/FileManager.h"
#include "platform/gtk/GioMimeDefaults.h"
#include "platform/gtk/MprisService.h"
#include "platform/gtk/GtkBackend.h"
#include "platform/gtk/NativeWindow.h"
#include "platform/gtk/ScreenSaverInhibitor.h"
#include "platform/gtk/TrayIcons.h"
#include "platform/gtk/VideoOutputProbe.h"

namespace platform {
namespace gtk {

VideoOutputProbe& GtkBackend::PreferredVideoOutputProbe() {
    GdkDisplay* display = gdk_display_get_default();
    return SharedVideoOutputProbe(display ? gdk_display_get_name(display) : "");
}

std::string GtkBackend::PreferredVideoOutput() { return PreferredVideoOutputProbe().Answer(); }

MediaControls* GtkBackend::DesktopMediaControls() {
    if (!mediaControls_) mediaControls_ = std::make_unique<MprisService>();
    return mediaControls_.get();
}

MimeDefaults* GtkBackend::FileTypeDefaults() {
    static GioMimeDefaults defaults;
    return &defaults;
}

std::string GtkBackend::PicturesFolder() {
    // From user-dirs.dirs; GLib gives nothing when the desktop never set the folder.
    const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_PICTURES);
    if (folder && *folder) return folder;
    return Backend::PicturesFolder();
}

bool GtkBackend::ShellOpen(const std::string& uriOrPath) {
    if (uriOrPath.empty()) return false;
    std::string uri = uriOrPath;
    if (uriOrPath[0] == '/') {
        gchar* converted = g_filename_to_uri(uriOrPath.c_str(), nullptr, nullptr);
        if (!converted) return false;
        uri = converted;
        g_free(converted);
    }
    GError* error = nullptr;
    gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
    if (error) g_error_free(error);
    return ok;
}

GtkWindow* GtkBackend::DialogOwner(HWND owner) {
    HWND top = IsWindow(owner) ? TopLevelOf(owner) : nullptr;
    return top && top->window ? GTK_WINDOW(top->window) : nullptr;
}

std::vector<std::string> GtkBackend::RunFileDialog(HWND owner, const FileDialogRequest& request) {
    return RunFileChooser(DialogOwner(owner), request);
}

bool GtkBackend::ShowInFileManager(const std::string& path) { return ShowItemInFileManager(path); }

bool GtkBackend::AskYesNo(HWND owner, const std::string& title, const std::string& text) {
    GtkWidget* dialog = gtk_message_dialog_new(DialogOwner(owner), GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                               GTK_BUTTONS_YES_NO, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    const bool yes = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_YES;
    gtk_widget_destroy(dialog);
    return yes;
}

TrayKind GtkBackend::AddTrayIcon(HWND hwnd, UINT id, UINT callbackMessage, const std::string& iconPath,
                                 const std::string& tip) {
    if (!IsWindow(hwnd)) return TrayKind{};  // None; X.h took the name
    if (!trayIcons_)
        trayIcons_ = std::make_unique<TrayIcons>([this](HWND h, UINT m, WPARAM w, LPARAM l) { PostMessage(h, m, w, l); });
    return trayIcons_->Add(hwnd, id, callbackMessage, iconPath, tip);
}

void GtkBackend::RemoveTrayIcon(HWND hwnd, UINT id) {
    if (trayIcons_) trayIcons_->Remove(hwnd, id);
}

void GtkBackend::InhibitScreenSaver(const std::string& application, const std::string& reason) {
    if (!screenSaver_) screenSaver_ = std::make_unique<ScreenSaverInhibitor>();
    screenSaver_->Inhibit(application, reason);
}

void GtkBackend::UninhibitScreenSaver() {
    if (screenSaver_) screenSaver_->Uninhibit();
}

}  // namespace gtk
}  // namespace platform
