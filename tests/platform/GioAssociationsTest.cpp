// The association switch against the real desktop database, in the private folders of the
// test program, read back by xdg-mime (a reader that shares no code with GIO).
#include <glib.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/FileAssociations.h"
#include "library/AtomicFile.h"
#include "platform/gtk/GioMimeDefaults.h"

namespace orvella {
namespace {

// Runs xdg-mime with the folders GIO uses and returns its output's first line.
std::string XdgMime(std::vector<std::string> args) {
    args.insert(args.begin(), "xdg-mime");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    gchar** env = g_get_environ();
    env = g_environ_setenv(env, "XDG_CONFIG_HOME", g_get_user_config_dir(), TRUE);
    env = g_environ_setenv(env, "XDG_DATA_HOME", g_get_user_data_dir(), TRUE);
    gchar* out = nullptr;
    gint status = 0;
    const gboolean ran = g_spawn_sync(nullptr, argv.data(), env, G_SPAWN_SEARCH_PATH, nullptr,
                                      nullptr, &out, nullptr, &status, nullptr);
    g_strfreev(env);
    std::string text = out ? out : "";
    g_free(out);
    if (!ran || !g_spawn_check_wait_status(status, nullptr)) return "xdg-mime failed";
    return text.substr(0, text.find('\n'));
}

TEST(GioAssociations, OnMakesOrvellaTheDefaultAndOffGivesTheOtherBack) {
    const std::string data = g_get_user_data_dir();
    const std::string apps = data + "/applications";
    std::filesystem::create_directories(apps);
    // The program path needs quoting in Exec, and GIO only takes entries whose program exists.
    const std::string folder = data + "/My Player $1";
    std::filesystem::create_directories(folder);
    const std::string program = folder + "/orvella";
    std::filesystem::copy_file("/bin/true", program, std::filesystem::copy_options::overwrite_existing);
    ASSERT_TRUE(WriteFileAtomically(apps + "/other.desktop",
                                    "[Desktop Entry]\nType=Application\nName=Other\nExec=true %F\n"
                                    "MimeType=video/mp4;\n"));
    ASSERT_EQ(XdgMime({"default", "other.desktop", "video/mp4"}), "");
    platform::GioMimeDefaults gio;
    // GIO learns of the file written behind its back from its folder watch.
    for (int i = 0; i < 100 && gio.DefaultFor("video/mp4") != "other.desktop"; ++i) g_usleep(50000);
    ASSERT_EQ(gio.DefaultFor("video/mp4"), "other.desktop");

    const AssociationPlaces places{data + "/associations", apps + "/orvella.desktop",
                                   ORVELLA_BINARY_DIR "/orvella.desktop", program};
    ApplyAssociation(true, gio, places);
    EXPECT_EQ(XdgMime({"query", "default", "video/mp4"}), "orvella.desktop");
    ApplyAssociation(false, gio, places);
    EXPECT_EQ(XdgMime({"query", "default", "video/mp4"}), "other.desktop");
    std::filesystem::remove(apps + "/orvella.desktop");
}

}  // namespace
}  // namespace orvella
