// What a launch of the engine reads, and the pure function that turns it into the
// engine's argument vector. Nothing here reads globals or touches files, so the whole
// command line is testable as data:
//
//   LaunchOptions options(settings);         // the settings' engine keys, by value
//   options.programFolder = GetAppPath();    // ends with "/"
//   options.currentFolder = <getcwd()>;      // relative paths are made absolute against it
//   options.mediaPath = currentMediaPath;    // file, URL or "dvdnav:// -dvd-device X"
//   options.videoWindow = mediaWindowId;     // X11 window id of the video window
//   options.automaticVideoOutput = platform::GetBackend().PreferredVideoOutput();
//   ... runtime state (crop, video size, rotation, flags), current entry ...
//   options.playing = slaveState;            // tracks, delays, speed, picture chosen so far
//   options.subtitleCodePage = LaunchSubtitleCodePage(options);  // reads the subtitle file
//   LaunchPlan plan = BuildLaunch(options);
//   if (plan.child.argv.empty()) return false;            // no media path
//   a working folder that does not exist yet is replaced by one that does (the shots
//   the engine writes there are moved into the screenshot folder once it is made)
//   discMode = plan.discMode; mutedAtLaunch = plan.mutedAtLaunch;
//   startFullScreen = plan.startFullScreen; resumeOnce = plan.resumeOnce;
//   controller->StartChild(plan.child);
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/EngineSettings.h"
#include "engine/Redirector.h"
#include "engine/SlaveCommands.h"

namespace orvella {

// The settings of the launch are the base (videoformat, volume, snappath ...); the rest is
// the state of this run.
struct LaunchOptions : EngineSettings {
    LaunchOptions() = default;
    explicit LaunchOptions(const EngineSettings& settings) : EngineSettings(settings) {}

    // Paths of this run.
    std::string programFolder;  // the program's folder; the engine is "gnu/mplayer" below it
    std::string currentFolder;  // absolute; relative media, device and subtitle paths join it
    std::string mediaPath;      // file, URL, or a disc locator built by the disc code
    uint64_t videoWindow = 0;   // X11 id of the window the engine draws into ("-wid")

    // Runtime state of the main window.
    std::string cropText;  // "w:h:x:y", empty when no crop
    int videoWidth = 0;    // as the engine reported them; 0 until known
    int videoHeight = 0;
    bool includeSubtitlesInScreenshots = true;
    bool startFullScreen = true;
    int rotation = -1;  // -1 none; 0-3 the engine's own turns, 4 the half turn
    bool resumeOnce = false;

    // The current play-list entry, when the current index points at one.
    bool hasEntry = false;
    int64_t entryStartTime = 0;  // whole seconds
    std::string entrySubtitle;   // external subtitle file, empty when none

    // What the user chose while the engine this one replaces played (a restart).
    PlayingChoices playing;
    // The code page of the subtitles ("-subcp"); empty: the setting's.
    std::string subtitleCodePage;

    // What the display offers for the automatic output (videoformat 5 and 0): "xv", "gl"
    // or "x11", as Backend::PreferredVideoOutput() answers; empty (or anything else)
    // keeps the list for the engine to try.
    std::string automaticVideoOutput;

    // Replacements for the "-vo" / "-ao" values, for tests and diagnostics ("null");
    // empty keeps the values chosen from the settings.
    std::string videoOutputOverride;
    std::string audioOutputOverride;

    // The plain name a file with a control character in its path is given to the engine
    // under (AliasFolder::Alias); empty when none can be made. Without it such a file is
    // not launched at all.
    std::function<std::string(const std::string& absolutePath)> aliasFor;
};

// The result of one launch: what the redirector starts, and the flags the main window
// keeps afterwards.
struct LaunchPlan {
    ChildLaunch child;             // argv (empty when there is no media path), working
                                   // folder (to be created when missing), niceness
    bool discMode = false;         // the media path is a DVD or Blu-ray locator
    bool mutedAtLaunch = false;    // the engine starts at volume 0
    bool startFullScreen = false;  // the flag after this launch (cleared for some outputs
                                   // and for discs, so later launches stay windowed too)
    bool resumeOnce = false;       // the flag after this launch (consumed by the resume step)
    std::string subtitleCodePage;  // what "-subcp" carries, empty when none
    int32_t startSeconds = 0;      // what "-ss" carries, 0 when none
};

// argv is empty when there is no media path, or when a path with a control character
// found no alias.
LaunchPlan BuildLaunch(const LaunchOptions& options);

// The external subtitle file the launch passes (made absolute), empty when none: the
// entry's, when the entry's position is used and the subtitles are not switched off.
std::string PassedSubtitleFile(const LaunchOptions& options);

// Just the argument vector of BuildLaunch; argv[0] is "<programFolder>gnu/mplayer".
std::vector<std::string> BuildEngineArguments(const LaunchOptions& options);

// The child's niceness for "playerpriority": 4 (below normal) 10, 5 (idle) 19, others 0.
// Raising priority needs privileges the player does not have, so higher levels stay at 0.
int EngineNiceness(int playerpriority);

// The engine writes its screenshots into its working folder: the screenshot folder,
// made absolute. Empty when no folder is set (the engine then keeps ours).
std::string EngineWorkingFolder(const LaunchOptions& options);

// True for a disc locator: a path that begins with "dvdnav://" or "br://". A file or
// folder whose name merely holds such a text is no disc.
bool IsDiscLocator(const std::string& mediaPath);

// "scheme://..." (http://, dvd://, ...): passed to the engine untouched.
bool IsUrl(const std::string& mediaPath);

// A path the engine can never read as an option and that stays valid in another working
// folder: relative paths joined to `currentFolder` ("./" when that is empty); URLs and
// absolute paths unchanged.
std::string AbsoluteMediaPath(const std::string& path, const std::string& currentFolder);

}  // namespace orvella
