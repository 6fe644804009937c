// The commands the player writes to the engine's standard input in slave mode.
//
// Two layers:
//   slave::*        pure builders: one whole command line (with its "\n") per call, or a
//                   refusal when an argument cannot be sent safely;
//   CSlaveCommands  the sender: the liveness guard, the last safety check before a write,
//                   and the state the main window keeps about what it has told the engine
//                   (SlaveState, owned by the caller).
//
// Safety: the engine reads one command per line, treats a carriage return as a line end
// too, and has a "run" command that hands its argument to a shell. So no argument may
// carry a line feed, carriage return or NUL byte (such a command is refused, nothing is
// written), and every line that reaches the engine starts with a command word from our
// own list, never "run".
#pragma once

#include <climits>
#include <memory>
#include <string>
#include <utility>

namespace orvella {

// Why a command was not built.
enum class Refusal {
    None,
    LineBreak,          // a text argument holds "\n" or "\r": it would start a new command
    NulByte,            // a text argument holds a NUL byte: the engine stalls its input on it
    TrailingBackslash,  // the engine reads "\\\"" at the end of a quoted text as an escaped quote
    NotFinite,          // a number argument is NaN or infinite
    NotOurCommand,      // the line is not one this module builds (last-line check in Send)
};

const char* RefusalText(Refusal why);  // short English text for logs and messages

// One command line ready to write, or the reason it cannot be.
struct SlaveCommand {
    std::string text;  // the whole line with its trailing "\n"; empty when refused
    Refusal refusal = Refusal::None;
    bool IsRefused() const { return refusal != Refusal::None; }
};

enum class SeekType { Relative = 0, Percent = 1, Absolute = 2 };

enum class DvdNavKey { Up = 1, Down = 2, Left = 3, Right = 4, Menu = 5, Select = 6 };

// The picture adjustments; brightness, saturation and contrast are remembered.
enum class VideoAdjust { Brightness, Saturation, Contrast, Hue, Gamma };

enum class DelayKind { Audio, Subtitle };

// What plays, as the engine answers it ("ANS_switch_audio=129", "ANS_sub_demux=-1",
// "ANS_chapter=2").
enum class PlayingProperty { AudioTrack = 0, Subtitle = 1, Chapter = 2 };

namespace slave {

// Prefix that keeps a paused engine paused while it runs the command.
extern const char* const kKeepPaused;

SlaveCommand GetTimePos();     // "get_time_pos\n"
SlaveCommand GetPausedTimePos();  // the same, leaving a paused engine paused
SlaveCommand GetTimeLength();  // "get_time_length\n"
SlaveCommand Pause();          // "pause\n" (toggles)
SlaveCommand FrameStep();      // "frame_step\n"
// Draws a paused picture again, fitted to its window (the engine does not rescale an
// old frame): the engine shows the next frame and stays paused. Playing, it only answers.
SlaveCommand RedrawPausedFrame();
SlaveCommand Seek(int value, SeekType type);
// To a time in seconds from the start, to the hundredth (below 0: the start).
SlaveCommand SeekToTime(double seconds);
SlaveCommand Mute(bool on);
SlaveCommand Volume(int value);  // always absolute
SlaveCommand Balance(double balance);
// Hue and gamma are always sent as absolute values.
SlaveCommand Adjust(VideoAdjust which, int value, bool absolute);
SlaveCommand DvdNav(DvdNavKey key);
SlaveCommand SetMousePos(int x, int y);
SlaveCommand SubDemux(int id);
SlaveCommand SwitchAudio(int id);
SlaveCommand SwitchTitle(int title);
SlaveCommand SeekChapter(int chapter);
SlaveCommand SubFile(int id);  // sent without the pause-keeping prefix
SlaveCommand SubRemove();
SlaveCommand SubLoad(const std::string& path);  // quoted; an empty path gives ""
SlaveCommand Osd(bool show);
SlaveCommand OsdLevel(int level);  // "osd n": 0 none … 3 messages, time and length
SlaveCommand OsdShowText(const std::string& text);  // quoted
SlaveCommand Loop(bool on);
SlaveCommand SwitchRatio(double ratio);
// Asked so that a paused picture stays paused.
SlaveCommand GetProperty(PlayingProperty which);
SlaveCommand Delay(DelayKind kind, double seconds, bool absolute);
SlaveCommand SubPos(int step);
SlaveCommand SubPosAt(int position);  // absolute, 0 (top) to 100 (bottom)
// The subtitles' size set to a factor (1.0 the size they start at).
SlaveCommand SubScaleAt(double factor);
// The subtitles' size after one step larger (direction 1) or smaller (-1), a fifth of the
// starting size at a time and never so small that the letters vanish nor past four times;
// direction 0 is the starting size. Other directions keep the size.
double SubtitleScaleAfterStep(double scale, int direction);
SlaveCommand SubStep(int step);
SlaveCommand SpeedSet(double speed);
// The engine writes shotNNNN.png into its working folder and ignores this folder; it is
// still sent (with one "/" appended) so the line stays what the engine expects.
SlaveCommand Screenshot(int mode, const std::string& folder);

// Fixed-point text ("%.*f") in the C locale whatever the UI's locale; false for NaN and
// infinities.
bool FormatFixed(double value, int precision, std::string* out);

// The on-screen text after the engine saved screenshot number n.
std::string ScreenshotSavedText(int number);

// A text argument in double quotes with "\" and "\"" escaped by a backslash, or the
// reason it cannot be sent. Exposed for tests and for callers that log refusals.
Refusal QuoteArgument(const std::string& text, std::string* quoted);

// A mouse position over the video window scaled to the screen (used while the
// start-in-full-screen flag is set); unchanged when the control has no size.
std::pair<int, int> ScaleToScreen(int x, int y, int screenWidth, int screenHeight,
                                  int mediaWidth, int mediaHeight);

// True when the line is one this module builds: a single line ending in "\n" whose
// command word (after the optional prefix) is on our list. "run" never is.
bool IsOurCommand(const std::string& line);

}  // namespace slave

// The engine as the commands need it. CRedirector (and so CCmdMplayer) has both calls;
// wrap one with SlaveEngineOf<T>.
class ISlaveEngine {
public:
    virtual ~ISlaveEngine() = default;
    virtual bool IsChildActive() const = 0;
    virtual bool WriteToChild(const std::string& bytes) = 0;
};

template <class Engine>
class SlaveEngineOf : public ISlaveEngine {
public:
    explicit SlaveEngineOf(Engine& engine) : m_engine(engine) {}
    bool IsChildActive() const override { return m_engine.IsChildActive(); }
    bool WriteToChild(const std::string& bytes) override { return m_engine.WriteToChild(bytes); }

private:
    Engine& m_engine;
};

// A track nobody chose: the engine plays its own pick.
constexpr int kEngineChooses = INT_MIN;

// Which subtitles show: the engine's pick, an embedded track, a loaded file, or none.
enum class SubtitleSource { EngineChooses, Track, File, Off };

// What the user chose for the media that plays. A new engine for the same media (after
// a rotation, a crop, a preference) is told all of it again at its launch.
struct PlayingChoices {
    int audioTrack = kEngineChooses;  // the id sent with "switch_audio"
    SubtitleSource subtitleSource = SubtitleSource::EngineChooses;
    int subtitleTrack = kEngineChooses;  // the embedded track's id when that shows
    int brightness = 0;
    int saturation = 0;
    int contrast = 0;
    int hue = 0;
    int gamma = 0;
    float audioDelay = 0.0f;
    float subtitleDelay = 0.0f;
    float speed = 1.0f;
    float subtitleScale = 1.0f;  // the subtitles' size, 1.0 the size they start at
};

// What the main window remembers about the commands it has sent.
struct SlaveState : PlayingChoices {
    int volume = 50;  // 0-100 (an absolute request is stored as given)
    bool mute = false;
    bool mutedAtLaunch = false;  // the engine was started with volume 0 because of mute
    bool paused = false;
    double balance = 0.0;  // -1 left … 1 right; the engine keeps it across files
    int subtitlePosition = 100;

    // The per-file values back to their start (volume, mute and pause stay).
    void ResetPerFile();
};

// Side effects on the window; every one is optional.
class ISlaveListener {
public:
    virtual ~ISlaveListener() = default;
    // Start (true) or kill (false) the once-a-second position poll.
    virtual void OnPositionPoll(bool run) {}
    // Which mute button to show: true = muted.
    virtual void OnMuteChanged(bool muted) {}
    // "sub_remove" went out: the controller's table of loaded subtitle files is stale.
    virtual void OnSubtitleFilesCleared() {}
    // A subtitle file is being loaded for the playing entry (to pass it at the next launch).
    virtual void OnSubtitleChosen(const std::string& path) {}
};

enum class SendResult {
    Sent,
    WriteFailed,  // the guard passed but the write did not
    NoEngine,     // no engine, or its process has ended: nothing written
    Refused,      // unsafe or unknown text: nothing written
};

// True when the engine was alive: the "after" state changes apply then.
inline bool GuardPassed(SendResult r) {
    return r == SendResult::Sent || r == SendResult::WriteFailed;
}

class CSlaveCommands {
public:
    explicit CSlaveCommands(SlaveState& state, ISlaveListener* listener = nullptr);

    // The engine to command; null when none runs. The engine must outlive its use here:
    // detach (SetEngine(nullptr)) before deleting it.
    void SetEngine(ISlaveEngine* engine) { m_engine = engine; }
    template <class Engine>
    void AttachEngine(Engine* engine) {
        m_adapter = engine ? std::make_unique<SlaveEngineOf<Engine>>(*engine) : nullptr;
        m_engine = m_adapter.get();
    }
    void DetachEngine() {
        m_engine = nullptr;
        m_adapter.reset();
    }
    void SetListener(ISlaveListener* listener) { m_listener = listener; }

    bool IsEngineAlive() const;

    // The one way out: guard, last safety check, write.
    SendResult Send(const SlaveCommand& command);

    // Commands with state changes.
    SendResult TogglePause();  // before: poll on when paused, off otherwise; after: flip paused
    SendResult FrameStep();    // before: paused, poll off
    SendResult Mute(bool on);  // after: mute, buttons; unmute after a muted start resends volume
    SendResult Volume(int value, bool absolute);  // relative: 3 units per step, clamped 0-100
    SendResult Adjust(VideoAdjust which, int value, bool absolute);
    SendResult Delay(DelayKind kind, float seconds, bool absolute);
    SendResult SubPos(int step);
    SendResult SubPosAt(int position);  // after: subtitle position = position
    // One step of the subtitles' size (SubtitleScaleAfterStep), sent as the size itself.
    SendResult StepSubtitleScale(int direction);
    SendResult Balance(double balance); // after: balance kept
    SendResult SpeedSet(float speed);
    // The choices a restart keeps: an audio track (-1 asks the engine for the next one,
    // whose id we do not know), an embedded subtitle (-1: none, loaded files go too),
    // a loaded subtitle file.
    SendResult SwitchAudio(int id);
    SendResult ChooseSubtitleTrack(int id);
    SendResult ChooseSubtitleFile(int id);
    SendResult SubRemove();
    // Unsafe path: refused before anything is sent. Otherwise "sub_remove", then (engine
    // alive) remember a non-empty path and send "sub_load" with it.
    SendResult LoadSubtitle(const std::string& path);
    SendResult ShowScreenshotSaved(int number);

    SlaveState& State() { return m_state; }

private:
    SlaveState& m_state;
    ISlaveListener* m_listener;
    ISlaveEngine* m_engine = nullptr;
    std::unique_ptr<ISlaveEngine> m_adapter;
};

}  // namespace orvella
