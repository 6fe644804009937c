#include "platform/gtk/FileChooser.h"

#include <gtk/gtk.h>

#include "platform/FileDialogRules.h"
#include "platform/gtk/GlibText.h"

namespace platform {
namespace gtk {
namespace {

void AddFilters(GtkFileChooser* chooser, const std::vector<FileFilter>& filters) {
    bool first = true;
    for (const FileFilter& filter : filters) {
        const std::vector<std::string> patterns = SplitFilterPatterns(filter.patterns);
        if (patterns.empty()) continue;  // it would show nothing at all
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, FilterDisplayName(filter.name).c_str());
        for (const std::string& p : patterns) gtk_file_filter_add_pattern(f, CaseInsensitiveGlob(p).c_str());
        gtk_file_chooser_add_filter(chooser, f);
        if (first) gtk_file_chooser_set_filter(chooser, f);
        first = false;
    }
}

// One run of the chooser; folder and name preset it when the user is sent back to it.
std::vector<std::string> RunOnce(GtkWindow* owner, const FileDialogRequest& request,
                                 const std::string& folder, const std::string& name) {
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    const GtkFileChooserAction action =
        save ? GTK_FILE_CHOOSER_ACTION_SAVE
             : request.kind == FileDialogRequest::Kind::Folder ? GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER
                                                               : GTK_FILE_CHOOSER_ACTION_OPEN;
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        request.title.empty() ? nullptr : request.title.c_str(), owner, action, nullptr, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(dialog), TRUE);
    gtk_file_chooser_set_local_only(chooser, TRUE);  // the engine and the play list take paths
    gtk_file_chooser_set_select_multiple(chooser, request.kind == FileDialogRequest::Kind::OpenMany);
    if (save) gtk_file_chooser_set_do_overwrite_confirmation(chooser, request.confirmOverwrite);
    AddFilters(chooser, request.filters);
    if (!folder.empty()) gtk_file_chooser_set_current_folder(chooser, folder.c_str());
    if (save && !name.empty()) gtk_file_chooser_set_current_name(chooser, name.c_str());

    std::vector<std::string> paths;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        GSList* files = gtk_file_chooser_get_files(chooser);
        for (GSList* f = files; f; f = f->next) {
            std::string path = TakeString(g_file_get_path(G_FILE(f->data)));
            if (!path.empty()) paths.push_back(path);
        }
        g_slist_free_full(files, g_object_unref);
    }
    g_object_unref(dialog);
    return paths;
}

// The chooser asked about the name the user typed; the default extension made another
// one, so ask about that, in the words GTK's own chooser uses.
bool ConfirmReplace(GtkWindow* owner, const std::string& path) {
    const std::string base = TakeString(g_filename_display_basename(path.c_str()));
    const std::string question = TakeString(g_strdup_printf(
        g_dgettext("gtk30", "A file named “%s” already exists.  Do you want to replace it?"), base.c_str()));
    GtkWidget* box = gtk_message_dialog_new(owner, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                            GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", question.c_str());
    gtk_dialog_add_buttons(GTK_DIALOG(box), g_dgettext("gtk30", "_Cancel"), GTK_RESPONSE_CANCEL,
                           g_dgettext("gtk30", "_Replace"), GTK_RESPONSE_ACCEPT, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_CANCEL);
    const gint answer = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    return answer == GTK_RESPONSE_ACCEPT;
}

}  // namespace

std::vector<std::string> RunFileChooser(GtkWindow* owner, const FileDialogRequest& request) {
    std::string folder, name;
    for (;;) {
        std::vector<std::string> paths = RunOnce(owner, request, folder, name);
        if (request.kind != FileDialogRequest::Kind::Save || paths.empty()) return paths;
        const std::string chosen = WithDefaultExtension(paths.front(), request.defaultExtension);
        if (chosen == paths.front() || !request.confirmOverwrite ||
            !g_file_test(chosen.c_str(), G_FILE_TEST_EXISTS) || ConfirmReplace(owner, chosen)) {
            return {chosen};
        }
        // Not that one: back to the chooser, where the user left it.
        folder = TakeString(g_path_get_dirname(chosen.c_str()));
        name = TakeString(g_path_get_basename(chosen.c_str()));
    }
}

}  // namespace gtk
}  // namespace platform
