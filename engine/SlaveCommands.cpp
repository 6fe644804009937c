#include "engine/SlaveCommands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/EngineLog.h"

namespace orvella {

namespace {

constexpr const char* kKeepPausedText = "pausing_keep ";
// Keeps a paused engine paused even where "pausing_keep" would let a frame through.
constexpr const char* kKeepPausedForceText = "pausing_keep_force ";

// Every command word this module may send. The sender refuses any other line, so a
// stray "run" can never reach the engine whatever a builder is given.
const char* const kCommandWords[] = {
    "get_time_pos", "get_time_length", "pause",         "frame_step",  "seek",
    "mute",         "volume",          "balance",       "brightness",  "saturation",
    "contrast",     "hue",             "gamma",         "dvdnav",      "set_mouse_pos",
    "sub_demux",    "switch_audio",    "switch_title",  "seek_chapter", "sub_file",
    "sub_remove",   "sub_load",        "osd",           "osd_show_text", "loop",
    "switch_ratio", "audio_delay",     "sub_delay",     "sub_pos",     "sub_scale",
    "sub_step",     "speed_set",       "screenshot",    "get_property",
};

// The engine's properties the player asks about; no other name is ever sent.
const char* const kPropertyNames[] = {"switch_audio", "sub_demux", "chapter"};

struct AdjustRow {
    VideoAdjust which;
    const char* name;
    bool alwaysAbsolute;
    int SlaveState::*remembered;  // null: not kept
};

const AdjustRow kAdjustRows[] = {
    {VideoAdjust::Brightness, "brightness", false, &SlaveState::brightness},
    {VideoAdjust::Saturation, "saturation", false, &SlaveState::saturation},
    {VideoAdjust::Contrast, "contrast", false, &SlaveState::contrast},
    {VideoAdjust::Hue, "hue", true, &SlaveState::hue},
    {VideoAdjust::Gamma, "gamma", true, &SlaveState::gamma},
};

struct DelayRow {
    DelayKind kind;
    const char* name;
    float SlaveState::*remembered;
};

const DelayRow kDelayRows[] = {
    {DelayKind::Audio, "audio_delay", &SlaveState::audioDelay},
    {DelayKind::Subtitle, "sub_delay", &SlaveState::subtitleDelay},
};

const AdjustRow& RowOf(VideoAdjust which) {
    for (const AdjustRow& row : kAdjustRows)
        if (row.which == which) return row;
    return kAdjustRows[0];
}

const DelayRow& RowOf(DelayKind kind) {
    for (const DelayRow& row : kDelayRows)
        if (row.kind == kind) return row;
    return kDelayRows[0];
}

SlaveCommand Line(std::string body) {
    SlaveCommand c;
    c.text = std::move(body);
    c.text += '\n';
    return c;
}

SlaveCommand Kept(const std::string& body) { return Line(kKeepPausedText + body); }

SlaveCommand Refused(Refusal why) {
    SlaveCommand c;
    c.refusal = why;
    return c;
}

std::string Int(int v) { return std::to_string(v); }

// Clamp in 64 bits so a huge step cannot overflow.
int ClampVolume(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, 100)); }

}  // namespace

const char* RefusalText(Refusal why) {
    switch (why) {
        case Refusal::None: return "";
        case Refusal::LineBreak: return "text contains a line break";
        case Refusal::NulByte: return "text contains a NUL byte";
        case Refusal::TrailingBackslash: return "text ends with a backslash";
        case Refusal::NotFinite: return "number is not finite";
        case Refusal::NotOurCommand: return "not a command this player sends";
    }
    return "";
}

namespace slave {

const char* const kKeepPaused = kKeepPausedText;

bool FormatFixed(double value, int precision, std::string* out) {
    if (!std::isfinite(value)) return false;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, precision);
    if (res.ec != std::errc()) return false;
    out->assign(buf, res.ptr);
    return true;
}

Refusal QuoteArgument(const std::string& text, std::string* quoted) {
    if (text.find_first_of("\n\r") != std::string::npos) return Refusal::LineBreak;
    if (text.find('\0') != std::string::npos) return Refusal::NulByte;
    if (!text.empty() && text.back() == '\\') return Refusal::TrailingBackslash;
    std::string q;
    q.reserve(text.size() + 8);
    q += '"';
    for (char ch : text) {
        if (ch == '\\' || ch == '"') q += '\\';
        q += ch;
    }
    q += '"';
    *quoted = std::move(q);
    return Refusal::None;
}

SlaveCommand GetTimePos() { return Line("get_time_pos"); }
SlaveCommand GetPausedTimePos() { return Kept("get_time_pos"); }
SlaveCommand GetTimeLength() { return Line("get_time_length"); }
SlaveCommand Pause() { return Line("pause"); }
SlaveCommand FrameStep() { return Line("frame_step"); }
SlaveCommand RedrawPausedFrame() { return Kept("get_property pause"); }

SlaveCommand Seek(int value, SeekType type) {
    return Kept("seek " + Int(value) + " " + Int(static_cast<int>(type)));
}

SlaveCommand SeekToTime(double seconds) {
    std::string v;
    if (!std::isfinite(seconds) || !FormatFixed(std::max(seconds, 0.0), 2, &v))
        return Refused(Refusal::NotFinite);
    return Kept("seek " + v + " " + Int(static_cast<int>(SeekType::Absolute)));
}

SlaveCommand Mute(bool on) { return Kept(on ? "mute 1" : "mute 0"); }

SlaveCommand Volume(int value) { return Kept("volume " + Int(value) + " 1"); }

SlaveCommand Balance(double balance) {
    std::string v;
    if (!FormatFixed(balance, 1, &v)) return Refused(Refusal::NotFinite);
    return Kept("balance " + v + " 1");
}

SlaveCommand Adjust(VideoAdjust which, int value, bool absolute) {
    const AdjustRow& row = RowOf(which);
    bool flag = row.alwaysAbsolute || absolute;
    return Kept(std::string(row.name) + " " + Int(value) + (flag ? " 1" : " 0"));
}

SlaveCommand DvdNav(DvdNavKey key) { return Kept("dvdnav " + Int(static_cast<int>(key))); }

SlaveCommand SetMousePos(int x, int y) {
    return Kept("set_mouse_pos " + Int(x) + " " + Int(y));
}

SlaveCommand SubDemux(int id) { return Kept("sub_demux " + Int(id)); }
SlaveCommand SwitchAudio(int id) { return Kept("switch_audio " + Int(id)); }
SlaveCommand SwitchTitle(int title) { return Kept("switch_title " + Int(title)); }
SlaveCommand SeekChapter(int chapter) { return Kept("seek_chapter " + Int(chapter) + " 1"); }
SlaveCommand SubFile(int id) { return Line("sub_file " + Int(id)); }
SlaveCommand SubRemove() { return Kept("sub_remove"); }

SlaveCommand SubLoad(const std::string& path) {
    std::string quoted;
    Refusal why = QuoteArgument(path, &quoted);
    if (why != Refusal::None) return Refused(why);
    return Kept("sub_load " + quoted);
}

SlaveCommand Osd(bool show) { return Kept(show ? "osd 1" : "osd 0"); }
SlaveCommand OsdLevel(int level) { return Kept("osd " + Int(std::clamp(level, 0, 3))); }

SlaveCommand OsdShowText(const std::string& text) {
    std::string quoted;
    Refusal why = QuoteArgument(text, &quoted);
    if (why != Refusal::None) return Refused(why);
    return Kept("osd_show_text " + quoted);
}

// The engine reads "loop N" as a change of the loop count unless the second argument 1
// makes it absolute: 0 loops forever, -1 stops looping.
SlaveCommand Loop(bool on) { return Kept(on ? "loop 0 1" : "loop -1 1"); }

SlaveCommand GetProperty(PlayingProperty which) {
    return Line(std::string(kKeepPausedForceText) + "get_property " + kPropertyNames[static_cast<int>(which)]);
}

SlaveCommand SwitchRatio(double ratio) {
    std::string v;
    if (!FormatFixed(ratio, 6, &v)) return Refused(Refusal::NotFinite);
    return Kept("switch_ratio " + v);
}

SlaveCommand Delay(DelayKind kind, double seconds, bool absolute) {
    std::string v;
    if (!FormatFixed(seconds, 1, &v)) return Refused(Refusal::NotFinite);
    return Kept(std::string(RowOf(kind).name) + " " + v + (absolute ? " 1" : " 0"));
}

SlaveCommand SubPos(int step) { return Kept("sub_pos " + Int(step) + " 0"); }
SlaveCommand SubPosAt(int position) { return Kept("sub_pos " + Int(position) + " 1"); }
SlaveCommand SubScaleAt(double factor) {
    std::string v;
    if (!FormatFixed(factor, 1, &v)) return Refused(Refusal::NotFinite);
    return Kept("sub_scale " + v + " 1");
}

double SubtitleScaleAfterStep(double scale, int direction) {
    // Below 0.6 the engine draws the letters of a small video too small to see, or not at all.
    constexpr double kStep = 0.2, kSmallest = 0.6, kLargest = 4.0;
    if (direction == 0) return 1.0;
    if (direction != 1 && direction != -1) return scale;
    // In whole steps from the start, so that repeated steps never drift.
    const double steps = std::round(scale / kStep) + direction;
    return std::clamp(steps * kStep, kSmallest, kLargest);
}
SlaveCommand SubStep(int step) { return Kept("sub_step " + Int(step)); }

SlaveCommand SpeedSet(double speed) {
    std::string v;
    if (!FormatFixed(speed, 1, &v)) return Refused(Refusal::NotFinite);
    return Kept("speed_set " + v);
}

SlaveCommand Screenshot(int mode, const std::string& folder) {
    std::string withSlash = folder;
    if (withSlash.empty() || withSlash.back() != '/') withSlash += '/';
    std::string quoted;
    Refusal why = QuoteArgument(withSlash, &quoted);
    if (why != Refusal::None) return Refused(why);
    return Kept("screenshot " + Int(mode) + " " + quoted);
}

std::string ScreenshotSavedText(int number) {
    // snprintf sizes the result; no fixed buffer for the text itself.
    int n = std::snprintf(nullptr, 0, "Screenshot saved as shot%04d.png", number);
    std::string s(static_cast<size_t>(n), '\0');
    std::snprintf(&s[0], s.size() + 1, "Screenshot saved as shot%04d.png", number);
    return s;
}

std::pair<int, int> ScaleToScreen(int x, int y, int screenWidth, int screenHeight,
                                  int mediaWidth, int mediaHeight) {
    if (mediaWidth <= 0 || mediaHeight <= 0) return {x, y};
    int64_t sx = static_cast<int64_t>(x) * screenWidth / mediaWidth;
    int64_t sy = static_cast<int64_t>(y) * screenHeight / mediaHeight;
    auto fit = [](int64_t v) {
        return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return {fit(sx), fit(sy)};
}

bool IsOurCommand(const std::string& line) {
    if (line.empty() || line.back() != '\n') return false;
    if (line.find_first_of(std::string("\r\0", 2)) != std::string::npos) return false;
    if (line.find('\n') != line.size() - 1) return false;
    std::string rest = line.substr(0, line.size() - 1);
    for (const std::string prefix : {kKeepPausedForceText, kKeepPausedText})
        if (rest.compare(0, prefix.size(), prefix) == 0) rest.erase(0, prefix.size());
    std::string word = rest.substr(0, rest.find(' '));
    for (const char* known : kCommandWords)
        if (word == known) return true;
    return false;
}

}  // namespace slave

void SlaveState::ResetPerFile() {
    static_cast<PlayingChoices&>(*this) = PlayingChoices();
    subtitlePosition = 100;
}

CSlaveCommands::CSlaveCommands(SlaveState& state, ISlaveListener* listener)
    : m_state(state), m_listener(listener) {}

bool CSlaveCommands::IsEngineAlive() const { return m_engine && m_engine->IsChildActive(); }

SendResult CSlaveCommands::Send(const SlaveCommand& command) {
    if (command.IsRefused()) return SendResult::Refused;
    if (!slave::IsOurCommand(command.text)) return SendResult::Refused;
    if (!IsEngineAlive()) return SendResult::NoEngine;
    LogEngineCommand(command.text);
    return m_engine->WriteToChild(command.text) ? SendResult::Sent : SendResult::WriteFailed;
}

SendResult CSlaveCommands::TogglePause() {
    if (m_listener) m_listener->OnPositionPoll(m_state.paused);
    SendResult r = Send(slave::Pause());
    if (GuardPassed(r)) m_state.paused = !m_state.paused;
    // The poll stops with the picture: ask once where it stopped, for the clock.
    if (GuardPassed(r) && m_state.paused) Send(slave::GetPausedTimePos());
    return r;
}

SendResult CSlaveCommands::FrameStep() {
    m_state.paused = true;
    if (m_listener) m_listener->OnPositionPoll(false);
    SendResult r = Send(slave::FrameStep());
    if (GuardPassed(r)) Send(slave::GetPausedTimePos());
    return r;
}

SendResult CSlaveCommands::Mute(bool on) {
    SendResult r = Send(slave::Mute(on));
    if (!GuardPassed(r)) return r;
    m_state.mute = on;
    if (m_listener) m_listener->OnMuteChanged(on);
    // Started muted means started at volume 0: unmuting must give the volume back.
    if (!on && m_state.mutedAtLaunch) Volume(m_state.volume, true);
    return r;
}

SendResult CSlaveCommands::Volume(int value, bool absolute) {
    m_state.volume = absolute ? value : ClampVolume(int64_t{m_state.volume} + 3 * int64_t{value});
    m_state.mute = false;
    SendResult r = Send(slave::Volume(m_state.volume));
    if (GuardPassed(r) && m_listener) m_listener->OnMuteChanged(false);
    return r;
}

SendResult CSlaveCommands::Adjust(VideoAdjust which, int value, bool absolute) {
    SendResult r = Send(slave::Adjust(which, value, absolute));
    const AdjustRow& row = RowOf(which);
    if (GuardPassed(r) && row.remembered) {
        int& kept = m_state.*row.remembered;
        kept = absolute ? value : kept + value;
    }
    return r;
}

SendResult CSlaveCommands::Delay(DelayKind kind, float seconds, bool absolute) {
    SendResult r = Send(slave::Delay(kind, seconds, absolute));
    if (GuardPassed(r)) {
        float& kept = m_state.*RowOf(kind).remembered;
        kept = absolute ? seconds : kept + seconds;
    }
    return r;
}

SendResult CSlaveCommands::SubPos(int step) {
    SendResult r = Send(slave::SubPos(step));
    if (GuardPassed(r)) m_state.subtitlePosition += step;
    return r;
}

SendResult CSlaveCommands::StepSubtitleScale(int direction) {
    const double scale = slave::SubtitleScaleAfterStep(m_state.subtitleScale, direction);
    SendResult r = Send(slave::SubScaleAt(scale));
    if (GuardPassed(r)) m_state.subtitleScale = static_cast<float>(scale);
    return r;
}

SendResult CSlaveCommands::SubPosAt(int position) {
    SendResult r = Send(slave::SubPosAt(position));
    if (GuardPassed(r)) m_state.subtitlePosition = position;
    return r;
}

SendResult CSlaveCommands::Balance(double balance) {
    SendResult r = Send(slave::Balance(balance));
    if (GuardPassed(r)) m_state.balance = balance;
    return r;
}

SendResult CSlaveCommands::SpeedSet(float speed) {
    SendResult r = Send(slave::SpeedSet(speed));
    if (GuardPassed(r)) m_state.speed = speed;
    return r;
}

SendResult CSlaveCommands::SwitchAudio(int id) {
    SendResult r = Send(slave::SwitchAudio(id));
    if (GuardPassed(r)) m_state.audioTrack = id >= 0 ? id : kEngineChooses;
    return r;
}

SendResult CSlaveCommands::ChooseSubtitleTrack(int id) {
    SendResult r = Send(slave::SubDemux(id));
    if (!GuardPassed(r)) return r;
    if (id < 0) {
        Send(slave::SubFile(-1));
        m_state.subtitleSource = SubtitleSource::Off;
    } else {
        m_state.subtitleSource = SubtitleSource::Track;
        m_state.subtitleTrack = id;
    }
    return r;
}

SendResult CSlaveCommands::ChooseSubtitleFile(int id) {
    SendResult r = Send(slave::SubFile(id));
    if (GuardPassed(r)) m_state.subtitleSource = id >= 0 ? SubtitleSource::File : SubtitleSource::Off;
    return r;
}

SendResult CSlaveCommands::SubRemove() {
    SendResult r = Send(slave::SubRemove());
    if (GuardPassed(r) && m_listener) m_listener->OnSubtitleFilesCleared();
    return r;
}

SendResult CSlaveCommands::LoadSubtitle(const std::string& path) {
    // Built first: an unsafe path stops the whole load before anything is written.
    SlaveCommand load = slave::SubLoad(path);
    if (load.IsRefused()) return SendResult::Refused;
    SubRemove();
    if (!IsEngineAlive()) return SendResult::NoEngine;
    if (!path.empty() && m_listener) m_listener->OnSubtitleChosen(path);
    return Send(load);
}

SendResult CSlaveCommands::ShowScreenshotSaved(int number) {
    return Send(slave::OsdShowText(slave::ScreenshotSavedText(number)));
}

}  // namespace orvella
