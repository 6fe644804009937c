// File dialogs: the filter and name rules, and GTK's chooser run for real on the test
// display, answered by finding its window and giving its response.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DesktopTestTools.h"
#include "platform/FileDialogRules.h"
#include "platform/gtk/FileChooser.h"

namespace {

using platform::FileDialogRequest;
using Strings = std::vector<std::string>;

TEST(FileDialogRules, PatternsAreSplitTrimmedAndBlanksSkipped) {
    EXPECT_EQ(platform::SplitFilterPatterns("*.avi;*.mkv"), (Strings{"*.avi", "*.mkv"}));
    EXPECT_EQ(platform::SplitFilterPatterns(" *.avi ; ;\t;*.MKV;"), (Strings{"*.avi", "*.MKV"}));
    EXPECT_EQ(platform::SplitFilterPatterns(";;"), Strings{});
    EXPECT_EQ(platform::SplitFilterPatterns("*.*"), Strings{"*.*"});
}

TEST(FileDialogRules, GlobsIgnoreLetterCaseAndNamesLoseLeadingTabs) {
    EXPECT_EQ(platform::CaseInsensitiveGlob("*.avi"), "*.[aA][vV][iI]");
    EXPECT_EQ(platform::CaseInsensitiveGlob("*.MP4"), "*.[mM][pP]4");
    EXPECT_EQ(platform::CaseInsensitiveGlob("*.[ab]"), "*.[ab]");
    EXPECT_EQ(platform::CaseInsensitiveGlob("*"), "*");
    EXPECT_EQ(platform::FilterDisplayName("\t\tVideo"), "Video");
    EXPECT_EQ(platform::FilterDisplayName("Play\tlist"), "Play\tlist");
}

TEST(FileDialogRules, DefaultExtensionOnlyWhereTheFileNameHasNone) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/t/list", "/t/list.orv"},         {"/t/list.m3u", "/t/list.m3u"}, {"/t/a.b/list", "/t/a.b/list.orv"},
        {"/t/list.", "/t/list.orv"},        {"/t/.hidden", "/t/.hidden.orv"}, {"/t/", "/t/"},
        {"list", "list.orv"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::WithDefaultExtension(c.first, "orv"), c.second) << c.first;
    EXPECT_EQ(platform::WithDefaultExtension("/t/list", ".orv"), "/t/list.orv");
    EXPECT_EQ(platform::WithDefaultExtension("/t/list", ""), "/t/list");
}

// Plays the user: on every tick, the visible chooser or question gets `answer`; `first`
// runs once per dialog shown (GTK needs a few ticks before it accepts a chooser).
class FileDialogGtk : public ::testing::Test {
protected:
    struct Script {
        std::function<void(GtkWidget* chooser, int nth)> firstChooser;
        // GTK_RESPONSE_NONE: not yet.
        std::function<gint(GtkWidget* chooser, int nth)> chooserAnswer = [](GtkWidget*, int) {
            return GTK_RESPONSE_ACCEPT;
        };
        std::function<gint(GtkWidget* question, int nth)> questionAnswer;
        int choosers = 0, questions = 0, ticks = 0;
    };

    void SetUp() override {
        if (!GtkDisplayReady()) GTEST_SKIP() << "no display";
        g_unsetenv("GTK_USE_PORTAL");  // the test answers GTK's own dialog
        owner_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_widget_show(owner_);
    }
    void TearDown() override {
        if (owner_) gtk_widget_destroy(owner_);
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }

    Strings Run(const FileDialogRequest& request, Script& script) {
        guint source = g_timeout_add(50, &FileDialogGtk::Tick, &script);
        Strings result = platform::gtk::RunFileChooser(GTK_WINDOW(owner_), request);
        g_source_remove(source);
        return result;
    }

    // A question is answered before the chooser under it, as a user would.
    static GtkWidget* VisibleDialog() {
        GtkWidget* chooser = nullptr;
        GtkWidget* question = nullptr;
        GList* windows = gtk_window_list_toplevels();
        for (GList* w = windows; w; w = w->next) {
            GtkWidget* window = GTK_WIDGET(w->data);
            if (!gtk_widget_get_visible(window)) continue;
            if (GTK_IS_MESSAGE_DIALOG(window)) question = window;
            else if (GTK_IS_FILE_CHOOSER_DIALOG(window)) chooser = window;
        }
        g_list_free(windows);
        return question ? question : chooser;
    }

    static gboolean Tick(gpointer data) {
        auto& script = *static_cast<Script*>(data);
        GtkWidget* dialog = VisibleDialog();
        if (!dialog) return G_SOURCE_CONTINUE;
        const bool fresh = !g_object_get_data(G_OBJECT(dialog), "seen");
        g_object_set_data(G_OBJECT(dialog), "seen", GINT_TO_POINTER(1));
        gint answer = GTK_RESPONSE_CANCEL;
        if (GTK_IS_FILE_CHOOSER_DIALOG(dialog)) {
            if (fresh) ++script.choosers;
            if (fresh && script.firstChooser) script.firstChooser(dialog, script.choosers);
            answer = script.chooserAnswer(dialog, script.choosers);
        } else {
            if (fresh) ++script.questions;
            if (script.questionAnswer) answer = script.questionAnswer(dialog, script.questions);
        }
        if (++script.ticks > 300) answer = GTK_RESPONSE_CANCEL;  // a stuck script ends the test
        if (answer != GTK_RESPONSE_NONE) gtk_dialog_response(GTK_DIALOG(dialog), answer);
        return G_SOURCE_CONTINUE;
    }

    TempFolder folder_;
    GtkWidget* owner_ = nullptr;
};

TEST_F(FileDialogGtk, OpenManyShowsTheFiltersModallyAndReturnsTheSelection) {
    const std::string a = folder_.File("a.MKV"), b = folder_.File("b.avi");
    folder_.File("c.txt");
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::OpenMany;
    request.title = "Add files";
    request.filters = {{"\tVideo", "*.avi; *.mkv"}, {"Nothing", " ; "}, {"All", "*.*"}};
    Strings filterNames;
    bool modalForOwner = false;
    Script script;
    script.firstChooser = [&](GtkWidget* dialog, int) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        GSList* filters = gtk_file_chooser_list_filters(chooser);
        for (GSList* f = filters; f; f = f->next) filterNames.push_back(gtk_file_filter_get_name(GTK_FILE_FILTER(f->data)));
        g_slist_free(filters);
        const char* selected = gtk_file_chooser_get_filter(chooser) ? gtk_file_filter_get_name(gtk_file_chooser_get_filter(chooser)) : "";
        EXPECT_STREQ(selected, "Video");
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "Add files");
        modalForOwner = gtk_window_get_modal(GTK_WINDOW(dialog)) &&
                        gtk_window_get_transient_for(GTK_WINDOW(dialog)) == GTK_WINDOW(owner_);
        gtk_file_chooser_select_filename(chooser, a.c_str());
    };
    // a is selected once its folder is loaded; then everything the filter shows (not
    // c.txt, but a.MKV whatever the letter case) goes in.
    script.chooserAnswer = [&](GtkWidget* dialog, int) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        GSList* files = gtk_file_chooser_get_files(chooser);
        const guint selected = g_slist_length(files);
        g_slist_free_full(files, g_object_unref);
        if (selected >= 2) return GTK_RESPONSE_ACCEPT;
        if (selected == 1) gtk_file_chooser_select_all(chooser);
        return GTK_RESPONSE_NONE;
    };
    EXPECT_EQ(Run(request, script), (Strings{a, b}));
    EXPECT_EQ(filterNames, (Strings{"Video", "All"}));
    EXPECT_TRUE(modalForOwner);
}

TEST_F(FileDialogGtk, CancelReturnsNothing) {
    Script script;
    script.chooserAnswer = [](GtkWidget*, int) { return GTK_RESPONSE_CANCEL; };
    EXPECT_TRUE(Run(FileDialogRequest(), script).empty());
    EXPECT_EQ(script.choosers, 1);
}

TEST_F(FileDialogGtk, SaveAddsTheExtensionAndAsksAgainAboutTheNameItMade) {
    const std::string existing = folder_.File("list.orv");
    // Two completions of "list": the chooser may complete the typed name up to "list."
    // only, which the rule also turns into "list.orv".
    folder_.File("list.m3u");
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Save;
    request.defaultExtension = "orv";
    request.confirmOverwrite = true;
    std::string secondName;
    Script script;
    script.firstChooser = [&](GtkWidget* dialog, int nth) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        if (nth == 1) {
            gtk_file_chooser_set_current_folder(chooser, folder_.path().c_str());
            gtk_file_chooser_set_current_name(chooser, "list");
        } else {
            gchar* name = gtk_file_chooser_get_current_name(chooser);
            secondName = name ? name : "";
            g_free(name);
        }
    };
    // No to our question about "list.orv"; back in the chooser with that name, yes to
    // the chooser's own question about it.
    script.questionAnswer = [](GtkWidget*, int nth) { return nth == 1 ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_ACCEPT; };
    EXPECT_EQ(Run(request, script), Strings{existing});
    EXPECT_EQ(script.questions, 2);
    EXPECT_EQ(script.choosers, 2);
    EXPECT_EQ(secondName, "list.orv");
}

}  // namespace
