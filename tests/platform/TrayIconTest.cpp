// Tray icons of the GTK backend against a private session bus (with a stand-in
// StatusNotifierWatcher) and a real XEmbed tray manager (trayer) on the test display.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DesktopTestTools.h"
#include "platform/gtk/StatusNotifierItem.h"
#include "platform/gtk/TrayIcons.h"
#include "platform/gtk/XEmbedTrayIcon.h"

namespace {

using platform::TrayKind;
using platform::gtk::TrayIcons;

constexpr UINT kTrayMessage = WM_USER + 20;
const HWND kWindow = reinterpret_cast<HWND>(0x1000);  // TrayIcons only compares handles

constexpr const char* kWatcherXml = R"xml(<node><interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>)xml";

TEST(TrayPixmap, RowsBecomePackedNetworkOrderArgb) {
    // Two RGBA pixels per row, rows padded to 12 bytes.
    const uint8_t rgba[] = {1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE, 0xEE, 0xEE,
                            9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_EQ(platform::gtk::ToNetworkArgb(rgba, 2, 2, 12, 4),
              (std::vector<uint8_t>{4, 1, 2, 3, 8, 5, 6, 7, 12, 9, 10, 11, 16, 13, 14, 15}));
    const uint8_t rgb[] = {1, 2, 3};
    EXPECT_EQ(platform::gtk::ToNetworkArgb(rgb, 1, 1, 3, 3), (std::vector<uint8_t>{0xFF, 1, 2, 3}));
    EXPECT_TRUE(platform::gtk::ToNetworkArgb(rgb, 1, 1, 3, 2).empty());
}

struct Post {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

class TrayGtk : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GtkDisplayReady()) GTEST_SKIP() << "no display";
        bus_ = std::make_unique<PrivateSessionBus>();
        REQUIRE_TOOL(bus_->Ok(), "dbus-daemon");
        ASSERT_FALSE(platform::gtk::XEmbedTrayIcon::ManagerPresent()) << "a tray manager is already running";
        client_ = bus_->Connect();
        ASSERT_NE(client_, nullptr);
        icon_ = folder_.path() + "/icon.png";
        GdkPixbuf* red = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, 64, 64);
        gdk_pixbuf_fill(red, 0xFF0000FF);
        ASSERT_TRUE(gdk_pixbuf_save(red, icon_.c_str(), "png", nullptr, nullptr));
        g_object_unref(red);
        icons_ = std::make_unique<TrayIcons>([this](HWND h, UINT m, WPARAM w, LPARAM l) { posts_.push_back({h, m, w, l}); });
    }

    void TearDown() override {
        icons_.reset();
        watcher_.reset();
        PumpUntil([] { return false; }, 100);  // the items' connections finish closing
        if (client_) g_dbus_connection_close_sync(client_, nullptr, nullptr), g_object_unref(client_);
        trayer_.reset();
        bus_.reset();
    }

    void StartWatcher(bool hostRegistered) {
        watcher_ = std::make_unique<ServedObject>(*bus_, "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                                  kWatcherXml, [hostRegistered](const std::string&) {
                                                      return g_variant_new_boolean(hostRegistered);
                                                  });
        ASSERT_TRUE(watcher_->Ok());
    }

    // The service names registered with the watcher, once count of them came.
    std::vector<std::string> Registrations(size_t count) {
        PumpUntil([&] { return watcher_->Calls().size() >= count; });
        std::vector<std::string> names;
        for (const auto& call : watcher_->Calls()) names.push_back(call.firstString);
        return names;
    }

    void StartTrayer() {
        REQUIRE_TOOL(HaveProgram("trayer"), "trayer");
        trayer_ = std::make_unique<ChildProgram>(std::vector<std::string>{"trayer", "--edge", "top", "--align", "right"});
        ASSERT_TRUE(trayer_->Started());
        ASSERT_TRUE(PumpUntil(&platform::gtk::XEmbedTrayIcon::ManagerPresent));
    }

    GVariant* ItemProperty(const std::string& name, const char* property) {
        GVariant* reply = CallAndWait(client_, name.c_str(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties",
                                      "Get", g_variant_new("(ss)", "org.kde.StatusNotifierItem", property));
        if (!reply) return nullptr;
        GVariant* value = nullptr;
        g_variant_get(reply, "(v)", &value);
        g_variant_unref(reply);
        return value;
    }

    std::string ItemString(const std::string& name, const char* property) {
        GVariant* v = ItemProperty(name, property);
        const bool text = v && (g_variant_is_of_type(v, G_VARIANT_TYPE_STRING) ||
                                g_variant_is_of_type(v, G_VARIANT_TYPE_OBJECT_PATH));
        std::string s = text ? g_variant_get_string(v, nullptr) : "?";
        if (v) g_variant_unref(v);
        return s;
    }

    void CallItem(const std::string& name, const char* method, GVariant* args) {
        GVariant* reply = CallAndWait(client_, name.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                      method, args);
        ASSERT_NE(reply, nullptr) << method;
        g_variant_unref(reply);
    }

    TempFolder folder_;
    std::string icon_;
    std::unique_ptr<PrivateSessionBus> bus_;
    std::unique_ptr<ServedObject> watcher_;
    std::unique_ptr<ChildProgram> trayer_;
    GDBusConnection* client_ = nullptr;
    std::unique_ptr<TrayIcons> icons_;
    std::vector<Post> posts_;
};

TEST_F(TrayGtk, NothingIsShownWithoutATrayManagerOrAWatcherWithAHost) {
    EXPECT_EQ(icons_->Add(kWindow, 1, kTrayMessage, icon_, "Tip"), TrayKind::None);
    StartWatcher(false);  // registered items would show nowhere
    EXPECT_EQ(icons_->Add(kWindow, 1, kTrayMessage, icon_, "Tip"), TrayKind::None);
    EXPECT_EQ(icons_->Count(), 0u);
    EXPECT_TRUE(watcher_->Calls().empty());
}

TEST_F(TrayGtk, StatusNotifierItemRegistersDescribesItselfAndPostsClicks) {
    StartWatcher(true);
    ASSERT_EQ(icons_->Add(kWindow, 7, kTrayMessage, icon_, "Movie"), TrayKind::StatusNotifier);
    const std::vector<std::string> names = Registrations(1);
    ASSERT_EQ(names.size(), 1u);
    const std::string name = names[0];
    EXPECT_EQ(name, "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-7");

    EXPECT_EQ(ItemString(name, "Id"), "orvella");
    EXPECT_EQ(ItemString(name, "Title"), "Movie");
    EXPECT_EQ(ItemString(name, "Menu"), "/NO_DBUSMENU");
    GVariant* pixmaps = ItemProperty(name, "IconPixmap");
    ASSERT_NE(pixmaps, nullptr);
    std::vector<int> sizes;
    for (size_t i = 0; i < g_variant_n_children(pixmaps); ++i) {
        gint32 w = 0, h = 0;
        GVariant* data = nullptr;
        g_variant_get_child(pixmaps, i, "(ii@ay)", &w, &h, &data);
        gsize length = 0;
        auto* bytes = static_cast<const uint8_t*>(g_variant_get_fixed_array(data, &length, 1));
        EXPECT_EQ(length, gsize(w) * h * 4);
        EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 4), (std::vector<uint8_t>{0xFF, 0xFF, 0, 0}));  // opaque red
        sizes.push_back(w);
        g_variant_unref(data);
    }
    g_variant_unref(pixmaps);
    EXPECT_EQ(sizes, (std::vector<int>{22, 32, 48, 64}));

    CallItem(name, "Activate", g_variant_new("(ii)", 10, 10));
    CallItem(name, "ContextMenu", g_variant_new("(ii)", 10, 10));
    CallItem(name, "Scroll", g_variant_new("(is)", 120, "vertical"));
    CallItem(name, "SecondaryActivate", g_variant_new("(ii)", 10, 10));
    ASSERT_EQ(posts_.size(), 3u);
    EXPECT_EQ(posts_[0].hwnd, kWindow);
    EXPECT_EQ(posts_[0].msg, kTrayMessage);
    EXPECT_EQ(posts_[0].wParam, 7u);
    EXPECT_EQ(posts_[0].lParam, WM_LBUTTONDBLCLK);
    EXPECT_EQ(posts_[1].lParam, WM_RBUTTONDOWN);
    EXPECT_EQ(posts_[2].lParam, WM_LBUTTONDBLCLK);
}

TEST_F(TrayGtk, AddingAgainUpdatesTheOneItemAndRemovingTakesItOffTheBus) {
    StartWatcher(true);
    ASSERT_EQ(icons_->Add(kWindow, 1, kTrayMessage, icon_, "Old"), TrayKind::StatusNotifier);
    ASSERT_EQ(Registrations(1).size(), 1u);
    const std::string name = Registrations(1)[0];
    ASSERT_EQ(icons_->Add(kWindow, 1, kTrayMessage + 1, icon_, "New"), TrayKind::StatusNotifier);
    EXPECT_EQ(icons_->Count(), 1u);
    EXPECT_EQ(ItemString(name, "Title"), "New");
    CallItem(name, "Activate", g_variant_new("(ii)", 0, 0));
    ASSERT_EQ(posts_.size(), 1u);
    EXPECT_EQ(posts_[0].msg, kTrayMessage + 1);

    icons_->Remove(kWindow, 1);
    icons_->Remove(kWindow, 1);  // none left: nothing happens
    EXPECT_TRUE(PumpUntil([&] { return !NameHasOwner(client_, name); }));
    EXPECT_EQ(watcher_->Calls().size(), 1u);
}

TEST_F(TrayGtk, XEmbedTrayIconIsEmbeddedAndPostsClicks) {
    StartTrayer();
    if (HasFatalFailure() || IsSkipped()) return;
    ASSERT_EQ(icons_->Add(kWindow, 3, kTrayMessage, icon_, "Movie"), TrayKind::XEmbed);
    auto* icon = dynamic_cast<platform::gtk::XEmbedTrayIcon*>(icons_->Find(kWindow, 3));
    ASSERT_NE(icon, nullptr);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    EXPECT_TRUE(PumpUntil([&] { return gtk_status_icon_is_embedded(icon->StatusIcon()) != FALSE; }));
    G_GNUC_END_IGNORE_DEPRECATIONS
    g_signal_emit_by_name(icon->StatusIcon(), "activate");
    g_signal_emit_by_name(icon->StatusIcon(), "popup-menu", 3u, 0u);
    ASSERT_EQ(posts_.size(), 2u);
    EXPECT_EQ(posts_[0].wParam, 3u);
    EXPECT_EQ(posts_[0].lParam, WM_LBUTTONDBLCLK);
    EXPECT_EQ(posts_[1].lParam, WM_RBUTTONDOWN);

    // Where both could show it, the StatusNotifier watcher wins.
    StartWatcher(true);
    EXPECT_EQ(icons_->Add(kWindow, 4, kTrayMessage, icon_, "Movie"), TrayKind::StatusNotifier);
}

// Through the backend: a window's icons go with it.
TEST_F(TrayGtk, BackendRemovesTheIconsOfADestroyedWindow) {
    StartWatcher(true);
    auto previous = platform::InstallBackend(CreateGtkBackend());
    platform::CreateParams params;
    HWND hwnd = CreateWindowEx(params);
    ASSERT_NE(hwnd, nullptr);
    auto& backend = platform::GetBackend();
    EXPECT_EQ(backend.AddTrayIcon(hwnd, 1, kTrayMessage, icon_, ""), TrayKind::StatusNotifier);
    EXPECT_EQ(backend.AddTrayIcon(hwnd, 2, kTrayMessage, icon_, ""), TrayKind::StatusNotifier);
    const std::vector<std::string> names = Registrations(2);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(ItemString(names[0], "Title"), "Orvella");  // no tip: the program's name

    backend.RemoveTrayIcon(hwnd, 1);
    EXPECT_TRUE(PumpUntil([&] { return !NameHasOwner(client_, names[0]); }));
    EXPECT_TRUE(NameHasOwner(client_, names[1]));
    DestroyWindow(hwnd);
    EXPECT_TRUE(PumpUntil([&] { return !NameHasOwner(client_, names[1]); }));
    backend.RemoveTrayIcon(hwnd, 2);  // gone already: safe
    EXPECT_EQ(backend.AddTrayIcon(hwnd, 1, kTrayMessage, icon_, ""), TrayKind::None);  // dead window
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    platform::InstallBackend(std::move(previous));
}

}  // namespace
