#include "platform/gtk/StatusNotifierItem.h"

#include <gtk/gtk.h>
#include <unistd.h>

namespace platform {
namespace gtk {
namespace {

constexpr const char* kWatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* kItemInterface = "org.kde.StatusNotifierItem";
constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr int kCallTimeoutMs = 1000;
constexpr int kPixmapSizes[] = {22, 32, 48, 64};

constexpr const char* kIntrospection = R"xml(<node>
 <interface name="org.kde.StatusNotifierItem">
  <property name="Category" type="s" access="read"/>
  <property name="Id" type="s" access="read"/>
  <property name="Title" type="s" access="read"/>
  <property name="Status" type="s" access="read"/>
  <property name="WindowId" type="i" access="read"/>
  <property name="IconName" type="s" access="read"/>
  <property name="IconPixmap" type="a(iiay)" access="read"/>
  <property name="OverlayIconName" type="s" access="read"/>
  <property name="OverlayIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionIconName" type="s" access="read"/>
  <property name="AttentionIconPixmap" type="a(iiay)" access="read"/>
  <property name="AttentionMovieName" type="s" access="read"/>
  <property name="ToolTip" type="(sa(iiay)ss)" access="read"/>
  <property name="ItemIsMenu" type="b" access="read"/>
  <property name="Menu" type="o" access="read"/>
  <method name="ContextMenu"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Activate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="SecondaryActivate"><arg name="x" type="i" direction="in"/><arg name="y" type="i" direction="in"/></method>
  <method name="Scroll"><arg name="delta" type="i" direction="in"/><arg name="orientation" type="s" direction="in"/></method>
  <signal name="NewTitle"/>
  <signal name="NewIcon"/>
  <signal name="NewAttentionIcon"/>
  <signal name="NewOverlayIcon"/>
  <signal name="NewToolTip"/>
  <signal name="NewStatus"><arg name="status" type="s"/></signal>
 </interface>
</node>)xml";

GDBusInterfaceInfo* ItemInterfaceInfo() {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    return g_dbus_node_info_lookup_interface(node, kItemInterface);
}

GVariant* EmptyPixmaps() { return g_variant_new_array(G_VARIANT_TYPE("(iiay)"), nullptr, 0); }

// The PNG at a few sizes, so that the panel can pick one near its own.
GVariant* LoadPixmaps(const std::string& path) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a(iiay)"));
    for (int size : kPixmapSizes) {
        GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file_at_scale(path.c_str(), size, size, TRUE, nullptr);
        if (!pixbuf) break;
        const int width = gdk_pixbuf_get_width(pixbuf), height = gdk_pixbuf_get_height(pixbuf);
        const bool rgb8 = gdk_pixbuf_get_colorspace(pixbuf) == GDK_COLORSPACE_RGB &&
                          gdk_pixbuf_get_bits_per_sample(pixbuf) == 8;
        if (rgb8) {
            std::vector<uint8_t> argb = ToNetworkArgb(gdk_pixbuf_read_pixels(pixbuf), width, height,
                                                      gdk_pixbuf_get_rowstride(pixbuf),
                                                      gdk_pixbuf_get_n_channels(pixbuf));
            GVariant* bytes = g_variant_new_fixed_array(G_VARIANT_TYPE_BYTE, argb.data(), argb.size(), 1);
            g_variant_builder_add(&builder, "(ii@ay)", width, height, bytes);
        }
        g_object_unref(pixbuf);
    }
    return g_variant_ref_sink(g_variant_builder_end(&builder));
}

GVariant* CallSync(GDBusConnection* bus, const char* name, const char* path, const char* interface,
                   const char* method, GVariant* args, const char* replyType) {
    return g_dbus_connection_call_sync(bus, name, path, interface, method, args, G_VARIANT_TYPE(replyType),
                                       G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, nullptr);
}

}  // namespace

struct StatusNotifierItem::State {
    GDBusConnection* bus = nullptr;
    std::string busName;
    std::string title;
    GVariant* pixmaps = nullptr;  // a(iiay)
    Clicked clicked;
    bool alive = true;
    guint registration = 0, watch = 0;

    ~State() {
        if (pixmaps) g_variant_unref(pixmaps);
        if (bus) g_object_unref(bus);
    }
};

namespace {

using SharedState = std::shared_ptr<StatusNotifierItem::State>;

SharedState& StateOf(gpointer data) { return *static_cast<SharedState*>(data); }
void FreeState(gpointer data) { delete static_cast<SharedState*>(data); }

void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                  GVariant*, GDBusMethodInvocation* invocation, gpointer data) {
    SharedState state = StateOf(data);
    g_dbus_method_invocation_return_value(invocation, nullptr);
    if (!state->alive || !state->clicked) return;
    const std::string m = method;
    if (m == "Activate" || m == "SecondaryActivate") state->clicked(WM_LBUTTONDBLCLK);
    else if (m == "ContextMenu") state->clicked(WM_RBUTTONDOWN);
    // Scroll: the tray icon has nothing to scroll.
}

GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                        GError** error, gpointer data) {
    const StatusNotifierItem::State& state = *StateOf(data);
    const std::string p = property;
    const bool hasPixmaps = g_variant_n_children(state.pixmaps) > 0;
    if (p == "Category") return g_variant_new_string("ApplicationStatus");
    if (p == "Id") return g_variant_new_string("orvella");
    if (p == "Title") return g_variant_new_string(state.title.c_str());
    if (p == "Status") return g_variant_new_string("Active");
    if (p == "WindowId") return g_variant_new_int32(0);
    // A themed stand-in only when the picture could not be read.
    if (p == "IconName") return g_variant_new_string(hasPixmaps ? "" : "applications-multimedia");
    if (p == "IconPixmap") return g_variant_ref(state.pixmaps);
    if (p == "OverlayIconName" || p == "AttentionIconName" || p == "AttentionMovieName") return g_variant_new_string("");
    if (p == "OverlayIconPixmap" || p == "AttentionIconPixmap") return EmptyPixmaps();
    if (p == "ToolTip") return g_variant_new("(s@a(iiay)ss)", "", EmptyPixmaps(), state.title.c_str(), "");
    if (p == "ItemIsMenu") return g_variant_new_boolean(FALSE);
    if (p == "Menu") return g_variant_new_object_path("/NO_DBUSMENU");  // no menu: ContextMenu comes to us
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "no property %s", property);
    return nullptr;
}

const GDBusInterfaceVTable kItemVTable = {&OnMethodCall, &OnGetProperty, nullptr, {nullptr}};

void OnWatcherAppeared(GDBusConnection* bus, const gchar*, const gchar*, gpointer data) {
    const SharedState& state = StateOf(data);
    if (!state->alive) return;
    g_dbus_connection_call(bus, kWatcherName, "/StatusNotifierWatcher", kWatcherName,
                           "RegisterStatusNotifierItem", g_variant_new("(s)", state->busName.c_str()), nullptr,
                           G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, nullptr, nullptr);
}

void Emit(const StatusNotifierItem::State& state, const char* signal) {
    g_dbus_connection_emit_signal(state.bus, nullptr, kItemPath, kItemInterface, signal, nullptr, nullptr);
}

std::string TitleFor(const std::string& tip) { return tip.empty() ? "Orvella" : tip; }

}  // namespace

std::vector<uint8_t> ToNetworkArgb(const uint8_t* pixels, int width, int height, int rowstride, int channels) {
    std::vector<uint8_t> out;
    if (!pixels || width <= 0 || height <= 0 || (channels != 3 && channels != 4)) return out;
    out.reserve(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = pixels + static_cast<size_t>(y) * rowstride;
        for (int x = 0; x < width; ++x, p += channels) {
            out.push_back(channels == 4 ? p[3] : 0xFF);
            out.push_back(p[0]);
            out.push_back(p[1]);
            out.push_back(p[2]);
        }
    }
    return out;
}

GDBusConnection* ConnectSessionBus() {
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!address) return nullptr;
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address,
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    g_free(address);
    return bus;
}

bool StatusNotifierWatcherPresent(GDBusConnection* bus) {
    GVariant* reply = CallSync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "NameHasOwner", g_variant_new("(s)", kWatcherName), "(b)");
    if (!reply) return false;
    gboolean owned = FALSE;
    g_variant_get(reply, "(b)", &owned);
    g_variant_unref(reply);
    if (!owned) return false;
    reply = CallSync(bus, kWatcherName, "/StatusNotifierWatcher", "org.freedesktop.DBus.Properties", "Get",
                     g_variant_new("(ss)", kWatcherName, "IsStatusNotifierHostRegistered"), "(v)");
    if (!reply) return true;  // a watcher that cannot tell: trust it
    GVariant* value = nullptr;
    g_variant_get(reply, "(v)", &value);
    const bool host = !g_variant_is_of_type(value, G_VARIANT_TYPE_BOOLEAN) || g_variant_get_boolean(value);
    g_variant_unref(value);
    g_variant_unref(reply);
    return host;
}

std::unique_ptr<StatusNotifierItem> StatusNotifierItem::Create(GDBusConnection* bus, UINT id,
                                                               const std::string& iconPath,
                                                               const std::string& tip, Clicked clicked) {
    if (!bus) return nullptr;
    auto state = std::make_shared<State>();
    state->bus = G_DBUS_CONNECTION(g_object_ref(bus));
    state->title = TitleFor(tip);
    state->pixmaps = LoadPixmaps(iconPath);
    state->clicked = std::move(clicked);

    state->registration = g_dbus_connection_register_object(bus, kItemPath, ItemInterfaceInfo(), &kItemVTable,
                                                            new SharedState(state), &FreeState, nullptr);
    if (!state->registration) return nullptr;

    // The well-known name the protocol asks for; the unique name still works without it.
    state->busName = "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" + std::to_string(id);
    GVariant* reply = CallSync(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "RequestName", g_variant_new("(su)", state->busName.c_str(), 4u /* do not queue */),
                               "(u)");
    guint32 result = 0;
    if (reply) g_variant_get(reply, "(u)", &result), g_variant_unref(reply);
    if (result != 1 && result != 4) state->busName = g_dbus_connection_get_unique_name(bus);

    // Registers now if a watcher is there, and again each time one (re)appears.
    state->watch = g_bus_watch_name_on_connection(bus, kWatcherName, G_BUS_NAME_WATCHER_FLAGS_NONE,
                                                  &OnWatcherAppeared, nullptr, new SharedState(state), &FreeState);
    return std::unique_ptr<StatusNotifierItem>(new StatusNotifierItem(std::move(state)));
}

StatusNotifierItem::~StatusNotifierItem() {
    state_->alive = false;
    g_bus_unwatch_name(state_->watch);
    g_dbus_connection_unregister_object(state_->bus, state_->registration);
    // Our names go with the connection; the watcher sees them vanish.
    g_dbus_connection_close(state_->bus, nullptr, nullptr, nullptr);
}

void StatusNotifierItem::Update(const std::string& iconPath, const std::string& tip) {
    state_->title = TitleFor(tip);
    g_variant_unref(state_->pixmaps);
    state_->pixmaps = LoadPixmaps(iconPath);
    Emit(*state_, "NewIcon");
    Emit(*state_, "NewTitle");
    Emit(*state_, "NewToolTip");
}

std::string StatusNotifierItem::BusName() const { return state_->busName; }

}  // namespace gtk
}  // namespace platform
