#include "app/MprisBridge.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "app/FileTypes.h"
#include "app/PlaybackControl.h"
#include "playlist/Playlist.h"

namespace orvella {
namespace mpris {

using platform::MediaPlayerState;
using platform::MediaRequest;
using Kind = MediaRequest::Kind;

namespace {

bool Playing(const PlayerNow& now) { return now.engineRunning && !now.paused; }
bool CanPlay(const PlayerNow& now) { return now.entries > 0; }
bool CanGoNext(const PlayerNow& now) { return now.current + 1 < now.entries; }
bool CanGoPrevious(const PlayerNow& now) { return now.entries > 0 && now.current > 0; }
bool CanSeek(const PlayerNow& now) { return now.engineRunning && now.length > 0; }

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "%41" → "A"; false for a broken escape or an escaped NUL, which no path holds.
bool Unescape(const std::string& text, std::string* out) {
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            *out += text[i];
            continue;
        }
        const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
        if (low < 0 || (high == 0 && low == 0)) return false;
        *out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// The scheme in lower case ("HTTP://x" → "http"); empty when the text starts with none.
std::string SchemeOf(const std::string& uri) {
    const size_t colon = uri.find(':');
    if (colon == 0 || colon == std::string::npos || !std::isalpha(static_cast<unsigned char>(uri[0]))) return "";
    std::string scheme;
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(uri[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return "";
        scheme += static_cast<char>(std::tolower(c));
    }
    return scheme;
}

// The calls that run a menu item as it is, and when they do anything at all.
struct MenuCall {
    Kind kind;
    const char* item;
    bool (*allowed)(const PlayerNow&);
};

const MenuCall kMenuCalls[] = {
    {Kind::Raise, "ID_TRAYIOCNMENU_SHOWPLAYER", [](const PlayerNow&) { return true; }},
    {Kind::Quit, "ID_MAINMENU_FILE_EXIT", [](const PlayerNow&) { return true; }},
    {Kind::Play, "ID_MAINMENU_PLAY_PLAY", [](const PlayerNow& n) { return CanPlay(n) && !Playing(n); }},
    {Kind::Pause, "ID_MAINMENU_PLAY_PAUSE", &Playing},
    {Kind::Stop, "ID_MAINMENU_PLAY_STOP", [](const PlayerNow& n) { return n.engineRunning; }},
    {Kind::Next, "ID_MAINMENU_PLAY_NEXT", &CanGoNext},
    {Kind::Previous, "ID_MAINMENU_PLAY_PREVIOUS", &CanGoPrevious},
};

Command MenuItem(const char* item) { return Command{Command::Type::MenuItem, item}; }

Command SeekTo(double seconds) {
    Command c;
    c.type = Command::Type::SeekTo;
    c.seconds = seconds;
    return c;
}

struct Property {
    const char* name;
    bool (*same)(const MediaPlayerState&, const MediaPlayerState&);
};

const Property kProperties[] = {
    {"PlaybackStatus", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.status == b.status; }},
    {"Metadata", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.track == b.track; }},
    {"Volume", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.volume == b.volume; }},
    {"CanGoNext", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.canGoNext == b.canGoNext; }},
    {"CanGoPrevious",
     [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.canGoPrevious == b.canGoPrevious; }},
    {"CanPlay", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.canPlay == b.canPlay; }},
    {"CanPause", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.canPause == b.canPause; }},
    {"CanSeek", [](const MediaPlayerState& a, const MediaPlayerState& b) { return a.canSeek == b.canSeek; }},
};

}  // namespace

int64_t Micros(double seconds) {
    return std::isfinite(seconds) && seconds > 0 ? static_cast<int64_t>(std::llround(seconds * 1e6)) : 0;
}

std::string TrackId(const std::string& path) {
    if (path.empty()) return kNoTrack;
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
    char id[64];
    std::snprintf(id, sizeof id, "/org/orvella/Orvella/Track/t%016llx", static_cast<unsigned long long>(hash));
    return id;
}

std::string AddressOf(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string url = "file://";
    for (unsigned char c : path) {
        char escaped[4];
        std::snprintf(escaped, sizeof escaped, "%%%02X", c);
        url += Unreserved(c) ? std::string(1, static_cast<char>(c)) : std::string(escaped);
    }
    return url;
}

MediaPlayerState StateOf(const PlayerNow& now) {
    MediaPlayerState state;
    state.status = !now.engineRunning ? "Stopped" : now.paused ? "Paused" : "Playing";
    state.volume = std::clamp(now.volume, 0, 100) / 100.0;
    if (!now.path.empty()) {
        state.track.id = TrackId(now.path);
        state.track.lengthMicros = now.engineRunning ? Micros(now.length) : 0;
        state.track.title = now.title;
        state.track.url = AddressOf(now.path);
    } else {
        state.track.id = kNoTrack;
    }
    state.canGoNext = CanGoNext(now);
    state.canGoPrevious = CanGoPrevious(now);
    state.canPlay = CanPlay(now);
    state.canPause = now.engineRunning;
    state.canSeek = CanSeek(now);
    return state;
}

std::vector<std::string> ChangedProperties(const MediaPlayerState& before, const MediaPlayerState& after) {
    std::vector<std::string> names;
    for (const Property& property : kProperties)
        if (!property.same(before, after)) names.push_back(property.name);
    return names;
}

const std::vector<std::string>& UriSchemes() {
    static const std::vector<std::string> schemes = {"file", "http", "https", "ftp", "mms", "rtsp"};
    return schemes;
}

std::string PlayableAddress(const std::string& uri) {
    // An address holds no control character; one that does never reaches the engine.
    for (unsigned char c : uri)
        if (c < 0x20 || c == 0x7F) return "";
    const std::string scheme = SchemeOf(uri);
    const std::vector<std::string>& schemes = UriSchemes();
    if (std::find(schemes.begin(), schemes.end(), scheme) == schemes.end()) return "";
    if (scheme != "file") return uri.find("://") == scheme.size() ? uri : "";
    // "file:///path" or "file://localhost/path": a file of this machine.
    std::string rest = uri.substr(scheme.size() + 1), path;
    if (rest.compare(0, 2, "//") == 0) {
        rest.erase(0, 2);
        const size_t slash = rest.find('/');
        if (slash == std::string::npos || (slash != 0 && rest.substr(0, slash) != "localhost")) return "";
        rest.erase(0, slash);
    }
    if (rest.empty() || rest[0] != '/' || !Unescape(rest, &path)) return "";
    return path;
}

Command CommandFor(const MediaRequest& request, const PlayerNow& now) {
    for (const MenuCall& call : kMenuCalls)
        if (call.kind == request.kind) return call.allowed(now) ? MenuItem(call.item) : Command{};
    switch (request.kind) {
    case Kind::PlayPause:
        // What the play/pause key does while something plays; from a stop it starts.
        if (now.engineRunning) return Command{Command::Type::KeyAction, "Pause"};
        return CanPlay(now) ? MenuItem("ID_MAINMENU_PLAY_PLAY") : Command{};
    case Kind::Seek: {
        if (!CanSeek(now)) return Command{};
        const double target = now.position + static_cast<double>(request.microseconds) / 1e6;
        // Past the end is the next entry; before the start, the start.
        if (target > now.length) return CanGoNext(now) ? MenuItem("ID_MAINMENU_PLAY_NEXT") : Command{};
        return SeekTo(std::max(target, 0.0));
    }
    case Kind::SetPosition:
        // A position for another entry than this one, or outside it, is left alone.
        if (!CanSeek(now) || request.text != TrackId(now.path) || request.microseconds < 0 ||
            request.microseconds > Micros(now.length))
            return Command{};
        return SeekTo(static_cast<double>(request.microseconds) / 1e6);
    case Kind::SetVolume: {
        if (!std::isfinite(request.volume)) return Command{};
        Command c;
        c.type = Command::Type::Volume;
        c.volume = static_cast<int>(std::lround(std::clamp(request.volume, 0.0, 1.0) * 100));
        return c;
    }
    case Kind::OpenUri: {
        const std::string address = PlayableAddress(request.text);
        return address.empty() ? Command{} : Command{Command::Type::Open, address};
    }
    default: return Command{};
    }
}

}  // namespace mpris

PlayerNow MprisBridge::Now() const {
    PlayerNow now;
    now.engineRunning = m_playback.IsEngineRunning();
    now.paused = m_playback.IsPaused();
    now.volume = m_playback.SlaveStateRef().volume;
    now.entries = m_playlist.Count();
    now.current = m_playlist.CurrentIndex();
    if (const PlaylistItem* entry = m_playlist.Current()) {
        now.path = entry->filename;
        now.title = Playlist::RowText(*entry);
    }
    if (now.engineRunning) {
        now.position = m_playback.Media().position;
        now.length = m_playback.Media().length;
    }
    return now;
}

void MprisBridge::Offer(HWND hwnd, UINT message) {
    if (!platform::HasBackend()) return;
    platform::Backend& backend = platform::GetBackend();
    m_controls = backend.DesktopMediaControls();
    if (!m_controls) return;
    platform::MediaFormats formats;
    formats.uriSchemes = mpris::UriSchemes();
    if (platform::MimeDefaults* desktop = backend.FileTypeDefaults()) formats.mimeTypes = AssociatedMimeTypes(*desktop);
    m_controls->Offer(hwnd, message, formats, [this] { return mpris::Micros(Now().position); });
    m_published = mpris::StateOf(Now());
    m_seeksSeen = m_playback.SeekCount();
    m_controls->Publish(m_published, {});
}

void MprisBridge::Withdraw() {
    if (m_controls) m_controls->Withdraw();
    m_controls = nullptr;
}

void MprisBridge::RunRequests() {
    if (!m_controls) return;
    for (const platform::MediaRequest& request : m_controls->TakeRequests()) {
        // Each against the player as the one before left it.
        const mpris::Command command = mpris::CommandFor(request, Now());
        switch (command.type) {
        case mpris::Command::Type::MenuItem: m_host.RunMenuCommand(command.name); break;
        case mpris::Command::Type::KeyAction: m_host.RunKeyAction(command.name); break;
        case mpris::Command::Type::SeekTo: m_playback.SeekToTime(command.seconds); break;
        case mpris::Command::Type::Volume:
            m_playback.SetVolume(command.volume);
            m_host.ShowVolume(command.volume);
            break;
        case mpris::Command::Type::Open: m_host.OpenArgument(command.name); break;
        case mpris::Command::Type::None: break;
        }
        if (!m_controls) return;  // Quit released the window
    }
    Follow();
}

void MprisBridge::Follow() {
    if (!m_controls) return;
    const PlayerNow now = Now();
    const platform::MediaPlayerState state = mpris::StateOf(now);
    const std::vector<std::string> changed = mpris::ChangedProperties(m_published, state);
    if (!changed.empty()) {
        m_published = state;
        m_controls->Publish(state, changed);
    }
    if (m_playback.SeekCount() != m_seeksSeen) {
        m_seeksSeen = m_playback.SeekCount();
        m_controls->AnnounceSeek(mpris::Micros(now.position));
    }
}

}  // namespace orvella
