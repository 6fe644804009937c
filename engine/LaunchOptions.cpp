#include "engine/LaunchOptions.h"

#include "engine/EngineNames.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace orvella {
namespace {

// A number outside what the engine accepts makes it refuse to start ("Error parsing
// option"): a hand-edited settings file must not stop playback, so keep it in range.
long long InEngineRange(long long value, long long low, long long high) {
    return value < low ? low : value > high ? high : value;
}

using Arguments = std::vector<std::string>;

// A code and the arguments it adds; codes outside a table add its fallback.
struct CodeArguments {
    int code;
    Arguments arguments;
};

const Arguments* Find(const std::vector<CodeArguments>& table, int code) {
    for (const CodeArguments& row : table)
        if (row.code == code) return &row.arguments;
    return nullptr;
}

// "videoformat": the Windows outputs mapped to X11 ones. "-zoom" lets x11 scale to the
// window; 3 and 4 keep their "-nokeepaspect". Any other value is 1.
const std::vector<CodeArguments>& VideoOutputs() {
    static const std::vector<CodeArguments> table = {
        {1, {"gl"}},
        {2, {"gl_tiled"}},
        {3, {"xv,x11,", "-nokeepaspect"}},
        {4, {"x11", "-nokeepaspect"}},
        {5, {"xv,gl,x11,"}},
    };
    return table;
}

// The automatic output (videoformat 5 and 0) once the display was asked. x11 scales on
// the CPU: the fast bilinear scaler costs 40 % less than the default bicubic at 1280x720
// and looks the same at the window's usual size.
const std::vector<std::pair<std::string, Arguments>>& AutomaticOutputs() {
    static const std::vector<std::pair<std::string, Arguments>> table = {
        {"xv", {"xv"}},
        {"gl", {"gl"}},
        {"x11", {"x11", "-sws", "0"}},
    };
    return table;
}

const Arguments* FindAutomatic(const LaunchOptions& o) {
    if (o.videoformat != 5 && o.videoformat != 0) return nullptr;
    for (const auto& row : AutomaticOutputs())
        if (row.first == o.automaticVideoOutput) return &row.second;
    return nullptr;
}

const std::vector<CodeArguments>& Channels() {
    // 0 stereo, 1 4.0, 2 5.1 (the settings window's three), then the menus' other layouts:
    // 3 mono, 4 two front two rear, 5 three front two rear, 6 6.1, 7 7.1; 8 S/PDIF passes
    // AC-3, E-AC-3 and DTS through undecoded (other sound is decoded as usual).
    static const std::vector<CodeArguments> table = {
        {0, {"-channels", "2"}}, {1, {"-channels", "4"}}, {2, {"-channels", "6"}},
        {3, {"-channels", "1"}}, {4, {"-channels", "4"}}, {5, {"-channels", "5"}},
        {6, {"-channels", "7"}}, {7, {"-channels", "8"}},
        {8, {"-channels", "2", "-ac", "spdifac3,spdifeac3,spdifdts,"}},
    };
    return table;
}

// The turn of each rotation choice, as the engine's filters give it: 0 to 3 are its own
// "rotate" (0 a quarter turn anticlockwise flipped upside down, 1 clockwise, 2
// anticlockwise, 3 clockwise flipped upside down); 4 is the half turn, upside down and
// left to right at once.
const char* RotationFilter(int rotation) {
    static const char* const kTurns[] = {"rotate=0", "rotate=1", "rotate=2", "rotate=3", "flip,mirror"};
    return rotation >= 0 && rotation < 5 ? kTurns[rotation] : nullptr;
}

// 1 blend, 2 bob (each field a frame), 3 discard (one field, cubic lines between),
// 4 linear (one field, linear lines between), 5 median, 6 the motion-aware one.
const std::vector<CodeArguments>& Deinterlacers() {
    static const std::vector<CodeArguments> table = {
        {1, {"-vf-add", "pp=lb"}},
        {2, {"-vf-add", "tfields=1"}},
        {3, {"-vf-add", "pp=ci"}},
        {4, {"-vf-add", "pp=li"}},
        {5, {"-vf-add", "pp=md"}},
        {6, {"-vf-add", "pp=fd"}},
        {7, {"-vf-add", "yadif"}},
        {8, {"-vf-add", "yadif=1"}},
        {9, {"-vf-add", "pp=l5"}},
        {10, {"-vf-add", "pp=lb"}},
        {11, {"-vf-add", "kerndeint=5"}},
    };
    return table;
}

// The right channel alone is routed from a stereo stream: "channels=2" first makes one
// (a mono source is copied to both sides), because routing from channel 1 of a mono
// source is fatal to the engine.
const std::vector<CodeArguments>& AudioModes() {
    static const std::vector<CodeArguments> table = {
        {1, {"-af", "channels=2:2:0:1:0:0"}},
        {2, {"-af", "channels=2,channels=2:2:1:0:1:1"}},
        {3, {"-af", "channels=2,channels=2:2:0:1:1:0"}},  // the sides swapped
        {4, {"-af", "surround"}},                        // matrix surround decoded
    };
    return table;
}

void Append(Arguments& to, const Arguments& from) { to.insert(to.end(), from.begin(), from.end()); }

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

// Text after a locator key and its one separating space ("-dvd-device X" gives "X").
// The one trailing blank the drive menu and Blu-ray locators carry is not part of it.
std::string AfterKey(const std::string& text, size_t keyPosition, size_t skip) {
    size_t start = keyPosition + skip;
    std::string device = start < text.size() ? text.substr(start) : std::string();
    if (!device.empty() && device.back() == ' ') device.pop_back();
    return device;
}

// Where a locator's device key is: right after the locator's own start when it begins
// with one (a folder named "-dvd-device" inside a Blu-ray path stays part of the path),
// else its first occurrence.
size_t FindDeviceKey(const std::string& path, const char* start, const char* key) {
    const std::string prefix = std::string(start) + " " + key;
    if (path.compare(0, prefix.size(), prefix) == 0) return prefix.size() - std::strlen(key);
    return path.find(key);
}

// "-sub" takes a comma-separated list whose separators a backslash escapes: a comma in
// a file name is passed as "\,", which the engine turns back into the comma.
std::string SubtitleListItem(const std::string& path) {
    std::string escaped;
    escaped.reserve(path.size());
    for (char c : path) {
        if (c == ',') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string Decimal(long long value) { return std::to_string(value); }

// The picture values as the engine takes them at launch; 0 leaves the engine's own.
struct PictureOption {
    const char* option;
    int PlayingChoices::*value;
};

const PictureOption kPictureOptions[] = {
    {"-brightness", &PlayingChoices::brightness}, {"-contrast", &PlayingChoices::contrast},
    {"-saturation", &PlayingChoices::saturation}, {"-hue", &PlayingChoices::hue},
    {"-gamma", &PlayingChoices::gamma},
};

// The seconds and factors as the engine takes them at launch, with the value that
// leaves the engine's own.
struct TimingOption {
    const char* option;
    float PlayingChoices::*value;
    float engineOwn;
    float low, high;  // beyond these the engine refuses to start
};

const TimingOption kTimingOptions[] = {
    {"-delay", &PlayingChoices::audioDelay, 0.0f, -100.0f, 100.0f},
    {"-subdelay", &PlayingChoices::subtitleDelay, 0.0f, -100000.0f, 100000.0f},
    {"-speed", &PlayingChoices::speed, 1.0f, 0.01f, 100.0f},
    // After the "-ass-font-scale 1" every launch has: the later one counts.
    {"-ass-font-scale", &PlayingChoices::subtitleScale, 1.0f, 0.01f, 100.0f},
};

// What the user chose while the engine before this one played: the same tracks,
// subtitles, timing and picture again.
void AppendPlayingChoices(const PlayingChoices& p, Arguments& a) {
    if (p.audioTrack != kEngineChooses) a.insert(a.end(), {"-aid", Decimal(p.audioTrack)});
    // A chosen track shows instead of the file "-sub" passes; "none" passes no file, and
    // these keep the engine from picking one by itself.
    if (p.subtitleSource == SubtitleSource::Track) a.insert(a.end(), {"-sid", Decimal(p.subtitleTrack)});
    if (p.subtitleSource == SubtitleSource::Off) a.insert(a.end(), {"-nosub", "-noautosub"});
    for (const TimingOption& row : kTimingOptions) {
        std::string text;
        const float value = p.*row.value;
        // Three places: relative steps of a tenth add up to 0.30000001.
        if (value != row.engineOwn && slave::FormatFixed(std::clamp(value, row.low, row.high), 3, &text))
            a.insert(a.end(), {row.option, text});
    }
    // Relative steps may have gone past the ends; the engine refuses to start beyond them.
    for (const PictureOption& row : kPictureOptions)
        if (p.*row.value != 0) a.insert(a.end(), {row.option, Decimal(InEngineRange(p.*row.value, -100, 100))});
}

// What the engine is given for an absolute path or address: itself, unless the engine's
// echo of it could forge lines of its output. Empty when no safe name could be made.
std::string EngineName(const std::string& path, const LaunchOptions& o) {
    if (IsUrl(path)) return EscapeControlCharacters(path);
    // The engine takes "://" anywhere in a name for an address ("/v/br://a.mp4"); the
    // same file without the doubled "/" is plainly a file.
    std::string file;
    for (char c : path)
        if (c != '/' || file.empty() || file.back() != '/') file += c;
    if (!HasControlCharacter(file)) return file;
    return o.aliasFor ? o.aliasFor(file) : std::string();
}

}  // namespace

std::string PassedSubtitleFile(const LaunchOptions& o) {
    if (!(o.savelocation || o.resumeOnce) || !o.hasEntry || o.entrySubtitle.empty()) return std::string();
    if (o.playing.subtitleSource == SubtitleSource::Off) return std::string();
    return AbsoluteMediaPath(o.entrySubtitle, o.currentFolder);
}

bool IsDiscLocator(const std::string& mediaPath) {
    return mediaPath.compare(0, 9, "dvdnav://") == 0 || mediaPath.compare(0, 5, "br://") == 0;
}

bool IsUrl(const std::string& mediaPath) {
    size_t colon = mediaPath.find("://");
    if (colon == std::string::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = mediaPath[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return true;
}

std::string AbsoluteMediaPath(const std::string& path, const std::string& currentFolder) {
    if (path.empty() || path[0] == '/' || IsUrl(path)) return path;
    // Without a folder to join, "./" still keeps a leading "-" from reading as an option
    // ("--" would not do: the engine takes every later argument as a file then).
    if (currentFolder.empty()) return "./" + path;
    if (currentFolder.back() == '/') return currentFolder + path;
    return currentFolder + "/" + path;
}

int EngineNiceness(int playerpriority) {
    switch (playerpriority) {
    case 4: return 10;
    case 5: return 19;
    default: return 0;
    }
}

std::string EngineWorkingFolder(const LaunchOptions& options) {
    if (options.snappath.empty()) return std::string();
    return AbsoluteMediaPath(options.snappath, options.currentFolder);
}

LaunchPlan BuildLaunch(const LaunchOptions& o) {
    LaunchPlan plan;
    plan.startFullScreen = o.startFullScreen;
    plan.resumeOnce = o.resumeOnce;
    if (o.mediaPath.empty()) return plan;

    Arguments& a = plan.child.argv;
    std::string folder = o.programFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    a.push_back(folder + "gnu/mplayer");

    a.insert(a.end(), {"-wid", Decimal(static_cast<long long>(o.videoWindow))});
    a.insert(a.end(), {"-slave", "-identify", "-quiet", "-ass", "-embeddedfonts",
                       "-ass-line-spacing", "0", "-ass-font-scale", "1", "-font", "Arial",
                       "-nomouseinput"});

    // Media address: a file or URL as one argument; a disc locator as three.
    const std::string& path = o.mediaPath;
    bool unnamed = false;  // a path found no name safe to give
    auto engineName = [&](const std::string& given) {
        std::string name = EngineName(AbsoluteMediaPath(given, o.currentFolder), o);
        if (name.empty() && !given.empty()) unnamed = true;
        return name;
    };
    plan.discMode = IsDiscLocator(path);
    if (!plan.discMode) {
        a.push_back(engineName(path));
    } else {
        const bool bluRayFirst = path.compare(0, 5, "br://") == 0;
        size_t key = bluRayFirst ? std::string::npos : FindDeviceKey(path, "dvdnav://", "-dvd-device");
        if (key != std::string::npos) {
            a.insert(a.end(), {"dvdnav://", "-dvd-device", engineName(AfterKey(path, key, 12))});
        } else if ((key = FindDeviceKey(path, "br://", "-bluray-device")) != std::string::npos) {
            a.insert(a.end(), {"br://", "-bluray-device", engineName(AfterKey(path, key, 15))});
        } else {
            // A bare "dvdnav://" or "br://": the engine's own default drive.
            a.push_back(EscapeControlCharacters(path));
        }
    }

    // An override replaces the automatic choice whole, scaler included.
    const Arguments* output = o.videoOutputOverride.empty() ? FindAutomatic(o) : nullptr;
    if (!output) output = Find(VideoOutputs(), o.videoformat);
    if (!output) output = Find(VideoOutputs(), 1);
    a.insert(a.end(), {"-vo", o.videoOutputOverride.empty() ? output->front()
                                                            : o.videoOutputOverride,
                       "-zoom"});
    a.insert(a.end(), output->begin() + 1, output->end());

    // PulseAudio, then ALSA, then silence. An open list ("pulse,alsa,") would go on
    // through every other driver the engine knows when there is no sound server, and
    // one of those (SDL's) leaves the engine unable to draw into our window.
    a.insert(a.end(), {"-ao", o.audioOutputOverride.empty() ? std::string("pulse,alsa,null")
                                                            : o.audioOutputOverride,
                       "-nocache", "-framedrop", "-nodr", "-double", "-colorkey", "0x020202",
                       "-monitorpixelaspect", "1"});

    if (!o.cropText.empty()) {
        a.insert(a.end(), {"-vf", "crop=" + o.cropText, "-vf-add",
                           "scale=" + Decimal(o.videoWidth) + ":-2,expand=" +
                               Decimal(o.videoWidth) + ":" + Decimal(o.videoHeight) +
                               ",eq2,hue"});
        if (const char* turn = RotationFilter(o.rotation)) a.insert(a.end(), {"-vf-add", turn});
    } else {
        // The turn comes before the subtitles are drawn, so that they stay upright, and
        // before the screenshot, so that a shot shows the picture as it is seen.
        const char* turn = RotationFilter(o.rotation);
        const std::string turned = turn ? std::string(turn) + "," : std::string();
        a.insert(a.end(), {"-vf", turned + "screenshot"});
        if (o.includeSubtitlesInScreenshots) a.insert(a.end(), {"-vf", turned + "ass,screenshot"});
    }

    a.insert(a.end(), {"-slices", "-dvdangle", "1"});
    if (o.usesoftwarevolume)
        a.insert(a.end(), {"-softvol", "-softvol-max", Decimal(InEngineRange(o.maxamplification, 10, 10000))});

    const Arguments* channels = Find(Channels(), SpeakerLayout(o));
    Append(a, channels ? *channels : *Find(Channels(), 0));

    plan.mutedAtLaunch = o.mute;
    a.insert(a.end(), {"-volume", o.mute ? std::string("0") : Decimal(InEngineRange(o.volume, 0, 100))});

    if (o.savelocation || o.resumeOnce) {
        plan.resumeOnce = false;
        // Discs start at their menu, never at a stored position.
        if (o.hasEntry && !plan.discMode) {
            plan.startSeconds = static_cast<int32_t>(static_cast<uint32_t>(o.entryStartTime));
            a.insert(a.end(), {"-ss", Decimal(plan.startSeconds)});
        }
        const std::string subtitle = PassedSubtitleFile(o);
        if (!subtitle.empty()) a.insert(a.end(), {"-sub", SubtitleListItem(engineName(subtitle))});
    }

    if (o.videoformat == 3 || o.videoformat == 4 || plan.discMode) plan.startFullScreen = false;
    a.push_back(plan.startFullScreen ? "-fs" : "-nofs");

    if (Contains(path, ".mts") || Contains(path, ".m2ts"))
        a.insert(a.end(), {"-demuxer", "lavf", "-nocorrect-pts", "-mc", "1"});

    if (const Arguments* filter = Find(Deinterlacers(), o.deinterleave)) Append(a, *filter);
    if (o.playsequence == 3) a.insert(a.end(), {"-loop", "0"});
    AppendPlayingChoices(o.playing, a);

    // No "-priority": the engine refuses it here; EngineNiceness stands in for it.
    a.insert(a.end(), {"-lavdopts", "threads=" + Decimal(InEngineRange(static_cast<long long>(o.decodethread) + 1, 1, 32))});
    a.insert(a.end(), {"-osdlevel", Decimal(EffectiveOsdLevel(o))});
    // Without "-subcp" the engine turns every character beyond ASCII into "?".
    plan.subtitleCodePage = o.subtitleCodePage.empty() ? o.subtitleencode : o.subtitleCodePage;
    if (!plan.subtitleCodePage.empty()) a.insert(a.end(), {"-subcp", plan.subtitleCodePage});
    a.insert(a.end(), {"-sub-fuzziness", Decimal(InEngineRange(o.subtitlefuzziness, 0, 2))});
    if (const Arguments* mode = Find(AudioModes(), o.audiomode)) Append(a, *mode);
    a.insert(a.end(), {"-slang", "eng", "-nolirc"});

    plan.child.workingFolder = EngineWorkingFolder(o);
    plan.child.niceness = EngineNiceness(o.playerpriority);
    if (unnamed) plan.child.argv.clear();
    return plan;
}

std::vector<std::string> BuildEngineArguments(const LaunchOptions& options) {
    return BuildLaunch(options).child.argv;
}

}  // namespace orvella
