#include "platform/gtk/MprisService.h"

#include <gio/gio.h>
#include <unistd.h>

#include "platform/gtk/SessionBus.h"

namespace platform {
namespace gtk {
namespace {

constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kBusName = "org.mpris.MediaPlayer2.orvella";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

constexpr const char* kIntrospection = R"xml(<node>
 <interface name="org.mpris.MediaPlayer2">
  <method name="Raise"/>
  <method name="Quit"/>
  <property name="CanQuit" type="b" access="read"/>
  <property name="CanRaise" type="b" access="read"/>
  <property name="HasTrackList" type="b" access="read"/>
  <property name="Identity" type="s" access="read"/>
  <property name="DesktopEntry" type="s" access="read"/>
  <property name="SupportedUriSchemes" type="as" access="read"/>
  <property name="SupportedMimeTypes" type="as" access="read"/>
 </interface>
 <interface name="org.mpris.MediaPlayer2.Player">
  <method name="Next"/>
  <method name="Previous"/>
  <method name="Pause"/>
  <method name="PlayPause"/>
  <method name="Stop"/>
  <method name="Play"/>
  <method name="Seek"><arg name="Offset" type="x" direction="in"/></method>
  <method name="SetPosition"><arg name="TrackId" type="o" direction="in"/><arg name="Position" type="x" direction="in"/></method>
  <method name="OpenUri"><arg name="Uri" type="s" direction="in"/></method>
  <signal name="Seeked"><arg name="Position" type="x"/></signal>
  <property name="PlaybackStatus" type="s" access="read"/>
  <property name="Rate" type="d" access="readwrite"/>
  <property name="Metadata" type="a{sv}" access="read"/>
  <property name="Volume" type="d" access="readwrite"/>
  <property name="Position" type="x" access="read">
   <annotation name="org.freedesktop.DBus.Property.EmitsChangedSignal" value="false"/>
  </property>
  <property name="MinimumRate" type="d" access="read"/>
  <property name="MaximumRate" type="d" access="read"/>
  <property name="CanGoNext" type="b" access="read"/>
  <property name="CanGoPrevious" type="b" access="read"/>
  <property name="CanPlay" type="b" access="read"/>
  <property name="CanPause" type="b" access="read"/>
  <property name="CanSeek" type="b" access="read"/>
  <property name="CanControl" type="b" access="read"/>
 </interface>
</node>)xml";

GDBusInterfaceInfo* InterfaceInfo(const char* name) {
    static GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
    return g_dbus_node_info_lookup_interface(node, name);
}

// A bus string is UTF-8: a file name that is not shows with stand-ins.
GVariant* Text(const std::string& text) {
    return g_variant_new_take_string(g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size())));
}

GVariant* TextList(const std::vector<std::string>& texts) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("as"));
    for (const std::string& text : texts) g_variant_builder_add_value(&builder, Text(text));
    return g_variant_builder_end(&builder);
}

GVariant* Metadata(const MediaTrack& track) {
    GVariantBuilder builder;
    g_variant_builder_init(&builder, G_VARIANT_TYPE("a{sv}"));
    const char* id = g_variant_is_object_path(track.id.c_str()) ? track.id.c_str() : kNoTrack;
    g_variant_builder_add(&builder, "{sv}", "mpris:trackid", g_variant_new_object_path(id));
    if (track.lengthMicros > 0)
        g_variant_builder_add(&builder, "{sv}", "mpris:length", g_variant_new_int64(track.lengthMicros));
    if (!track.title.empty()) g_variant_builder_add(&builder, "{sv}", "xesam:title", Text(track.title));
    if (!track.url.empty()) g_variant_builder_add(&builder, "{sv}", "xesam:url", Text(track.url));
    return g_variant_builder_end(&builder);
}

struct MethodRow {
    const char* name;
    MediaRequest::Kind kind;
};

const MethodRow kMethods[] = {
    {"Raise", MediaRequest::Kind::Raise},         {"Quit", MediaRequest::Kind::Quit},
    {"Play", MediaRequest::Kind::Play},           {"Pause", MediaRequest::Kind::Pause},
    {"PlayPause", MediaRequest::Kind::PlayPause}, {"Stop", MediaRequest::Kind::Stop},
    {"Next", MediaRequest::Kind::Next},           {"Previous", MediaRequest::Kind::Previous},
    {"Seek", MediaRequest::Kind::Seek},           {"SetPosition", MediaRequest::Kind::SetPosition},
    {"OpenUri", MediaRequest::Kind::OpenUri},
};

}  // namespace

struct MprisService::State {
    bool offered = true;
    HWND hwnd = nullptr;
    UINT message = 0;
    MediaFormats formats;
    PositionSource position;
    MediaPlayerState published;
    std::vector<MediaRequest> requests;
    GCancellable* connecting = g_cancellable_new();
    GDBusConnection* bus = nullptr;
    std::vector<guint> registrations, owners;
    std::string busName;
    bool triedInstanceName = false;

    ~State() {
        g_object_unref(connecting);
        if (bus) g_object_unref(bus);
    }
    void Queue(MediaRequest request) {
        if (!offered) return;
        requests.push_back(std::move(request));
        // One wake-up for what waits: the window takes every queued call at once.
        if (requests.size() == 1) ::PostMessage(hwnd, message, 0, 0);
    }
};

namespace {

using SharedState = std::shared_ptr<MprisService::State>;
using State = MprisService::State;

SharedState& StateOf(gpointer data) { return *static_cast<SharedState*>(data); }
void FreeState(gpointer data) { delete static_cast<SharedState*>(data); }

struct PropertyRow {
    const char* name;
    GVariant* (*value)(const State&);
};

const PropertyRow kProperties[] = {
    {"CanQuit", [](const State&) { return g_variant_new_boolean(TRUE); }},
    {"CanRaise", [](const State&) { return g_variant_new_boolean(TRUE); }},
    {"HasTrackList", [](const State&) { return g_variant_new_boolean(FALSE); }},
    {"Identity", [](const State&) { return g_variant_new_string("Orvella"); }},
    {"DesktopEntry", [](const State&) { return g_variant_new_string("orvella"); }},
    {"SupportedUriSchemes", [](const State& s) { return TextList(s.formats.uriSchemes); }},
    {"SupportedMimeTypes", [](const State& s) { return TextList(s.formats.mimeTypes); }},
    {"PlaybackStatus", [](const State& s) { return Text(s.published.status); }},
    {"Rate", [](const State&) { return g_variant_new_double(1.0); }},
    {"MinimumRate", [](const State&) { return g_variant_new_double(1.0); }},
    {"MaximumRate", [](const State&) { return g_variant_new_double(1.0); }},
    {"Metadata", [](const State& s) { return Metadata(s.published.track); }},
    {"Volume", [](const State& s) { return g_variant_new_double(s.published.volume); }},
    // Read when asked, never announced: it moves all the time.
    {"Position", [](const State& s) { return g_variant_new_int64(s.position ? s.position() : 0); }},
    {"CanGoNext", [](const State& s) { return g_variant_new_boolean(s.published.canGoNext); }},
    {"CanGoPrevious", [](const State& s) { return g_variant_new_boolean(s.published.canGoPrevious); }},
    {"CanPlay", [](const State& s) { return g_variant_new_boolean(s.published.canPlay); }},
    {"CanPause", [](const State& s) { return g_variant_new_boolean(s.published.canPause); }},
    {"CanSeek", [](const State& s) { return g_variant_new_boolean(s.published.canSeek); }},
    {"CanControl", [](const State&) { return g_variant_new_boolean(TRUE); }},
};

GVariant* PropertyValue(const State& state, const char* name) {
    for (const PropertyRow& row : kProperties)
        if (g_strcmp0(row.name, name) == 0) return row.value(state);
    return nullptr;
}

void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                  GVariant* parameters, GDBusMethodInvocation* invocation, gpointer data) {
    const MethodRow* row = nullptr;
    for (const MethodRow& candidate : kMethods)
        if (g_strcmp0(candidate.name, method) == 0) row = &candidate;
    if (!row) {
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD, "No method %s",
                                              method);
        return;
    }
    // The arguments match the introspection: the bus library checked them.
    MediaRequest request;
    request.kind = row->kind;
    if (row->kind == MediaRequest::Kind::Seek) {
        g_variant_get(parameters, "(x)", &request.microseconds);
    } else if (row->kind == MediaRequest::Kind::SetPosition || row->kind == MediaRequest::Kind::OpenUri) {
        const gchar* text = nullptr;
        if (row->kind == MediaRequest::Kind::SetPosition) g_variant_get(parameters, "(&ox)", &text, &request.microseconds);
        else g_variant_get(parameters, "(&s)", &text);
        request.text = text ? text : "";
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
    StateOf(data)->Queue(std::move(request));
}

GVariant* OnGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                        GError** error, gpointer data) {
    if (GVariant* value = PropertyValue(*StateOf(data), property)) return value;
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "No property %s", property);
    return nullptr;
}

gboolean OnSetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                       GVariant* value, GError**, gpointer data) {
    // The rate stays 1.0, the only one offered; the volume is the player's to apply.
    if (g_strcmp0(property, "Volume") == 0) {
        MediaRequest request;
        request.kind = MediaRequest::Kind::SetVolume;
        request.volume = g_variant_get_double(value);
        StateOf(data)->Queue(std::move(request));
    }
    return TRUE;
}

const GDBusInterfaceVTable kVTable = {&OnMethodCall, &OnGetProperty, &OnSetProperty, {nullptr}};

void Own(const SharedState& state, const std::string& name);

void OnNameAcquired(GDBusConnection*, const gchar* name, gpointer data) { StateOf(data)->busName = name; }

void OnNameLost(GDBusConnection* bus, const gchar* name, gpointer data) {
    const SharedState& state = StateOf(data);
    if (!bus || !state->offered || !state->busName.empty() || state->triedInstanceName) return;
    // Another player of ours has the name: this one goes by its own, as MPRIS allows.
    state->triedInstanceName = true;
    g_debug("%s is taken: offering this player as an instance of its own", name);
    Own(state, std::string(kBusName) + ".instance" + std::to_string(getpid()));
}

void Own(const SharedState& state, const std::string& name) {
    state->owners.push_back(g_bus_own_name_on_connection(state->bus, name.c_str(),
                                                         G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE, &OnNameAcquired,
                                                         &OnNameLost, new SharedState(state), &FreeState));
}

void OnConnected(GObject*, GAsyncResult* result, gpointer data) {
    std::unique_ptr<SharedState> holder(static_cast<SharedState*>(data));
    const SharedState& state = *holder;
    GError* error = nullptr;
    GDBusConnection* bus = g_dbus_connection_new_for_address_finish(result, &error);
    if (!bus) {
        // No bus to be found: the player works as without one, and says so only to developers.
        g_debug("no session bus for the media controls: %s", error ? error->message : "");
        g_clear_error(&error);
        return;
    }
    if (!state->offered) {
        g_dbus_connection_close(bus, nullptr, nullptr, nullptr);
        g_object_unref(bus);
        return;
    }
    state->bus = bus;
    for (const char* name : {kRootInterface, kPlayerInterface}) {
        const guint id = g_dbus_connection_register_object(bus, kObjectPath, InterfaceInfo(name), &kVTable,
                                                           new SharedState(state), &FreeState, nullptr);
        if (id) state->registrations.push_back(id);
    }
    Own(state, kBusName);
}

void Emit(const State& state, const char* interface, const char* signal, GVariant* arguments) {
    if (!state.bus) {
        g_variant_unref(g_variant_ref_sink(arguments));
        return;
    }
    g_dbus_connection_emit_signal(state.bus, nullptr, kObjectPath, interface, signal, arguments, nullptr);
}

}  // namespace

MprisService::MprisService() = default;

MprisService::~MprisService() { Withdraw(); }

void MprisService::Offer(HWND hwnd, UINT message, const MediaFormats& formats, PositionSource position) {
    if (!state_ || !state_->offered) {
        const std::string address = SessionBusAddress();
        if (address.empty()) return;
        state_ = std::make_shared<State>();
        g_dbus_connection_new_for_address(
            address.c_str(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, state_->connecting, &OnConnected, new SharedState(state_));
    }
    state_->hwnd = hwnd;
    state_->message = message;
    state_->formats = formats;
    state_->position = std::move(position);
}

void MprisService::Withdraw() {
    if (!state_ || !state_->offered) return;
    State& state = *state_;
    state.offered = false;
    state.position = nullptr;  // it reads the player, which may be going
    state.requests.clear();
    g_cancellable_cancel(state.connecting);
    for (guint owner : state.owners) g_bus_unown_name(owner);
    state.owners.clear();
    if (!state.bus) return;
    for (guint id : state.registrations) g_dbus_connection_unregister_object(state.bus, id);
    state.registrations.clear();
    g_dbus_connection_close(state.bus, nullptr, nullptr, nullptr);
}

std::vector<MediaRequest> MprisService::TakeRequests() {
    std::vector<MediaRequest> requests;
    if (state_) requests.swap(state_->requests);
    return requests;
}

void MprisService::Publish(const MediaPlayerState& published, const std::vector<std::string>& changed) {
    if (!state_ || !state_->offered) return;
    state_->published = published;
    if (changed.empty()) return;
    GVariantBuilder values;
    g_variant_builder_init(&values, G_VARIANT_TYPE("a{sv}"));
    for (const std::string& name : changed)
        if (GVariant* value = PropertyValue(*state_, name.c_str())) g_variant_builder_add(&values, "{sv}", name.c_str(), value);
    const gchar* const invalidated[] = {nullptr};
    Emit(*state_, "org.freedesktop.DBus.Properties", "PropertiesChanged",
         g_variant_new("(sa{sv}^as)", kPlayerInterface, &values, invalidated));
}

void MprisService::AnnounceSeek(int64_t positionMicros) {
    if (state_ && state_->offered)
        Emit(*state_, kPlayerInterface, "Seeked", g_variant_new("(x)", static_cast<gint64>(positionMicros)));
}

std::string MprisService::BusName() const { return state_ && state_->offered ? state_->busName : std::string(); }

}  // namespace gtk
}  // namespace platform
