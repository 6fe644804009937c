// Finds, once per run and off the start-up path, the cheapest video output the display
// offers to the engine: XVideo is asked in a background thread on a connection of its
// own (libXv loaded only then); GL, only when Xv says no and the display can render GL
// on a GPU at all, in a short-lived child (GlRendererProbe.h), so no GL driver ever
// maps into our process.
//
//   VideoOutputProbe probe(displayName, GlProbeCommand(displayName));
//   probe.Start();            // returns at once
//   ...
//   probe.Answer();           // "xv", "gl" or "x11"; waits at most until start + limit
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/gtk/VideoOutputChoice.h"

namespace platform {
namespace gtk {

class VideoOutputProbe {
public:
    // What the last probe found, for figures and diagnostics.
    struct Findings {
        DisplayOffer offer;
        bool glChildRan = false;
        std::string renderer;        // the GL child's direct renderer, empty when none
        std::string answer;          // "" until known
        double milliseconds = 0;     // from Start to the answer
    };

    // displayName: the X display to ask ("" for $DISPLAY). glCommand: argument vector of
    // the child that prints the GL renderer (empty: GL is never tried, so no "gl").
    // limit: how long after Start an answer may take; the GL child is stopped then.
    VideoOutputProbe(std::string displayName, std::vector<std::string> glCommand,
                     std::chrono::milliseconds limit = std::chrono::milliseconds(1500));
    // Never waits: a probe still running finishes on its own and its thread lets go.
    ~VideoOutputProbe();
    VideoOutputProbe(const VideoOutputProbe&) = delete;
    VideoOutputProbe& operator=(const VideoOutputProbe&) = delete;

    void Start();  // once; later calls do nothing

    // The choice, waiting for it no later than start + limit (starting the probe when
    // nobody did). "" when the display could not be asked in that time; the probe runs
    // once, so an answer given stays the answer for the rest of the run.
    std::string Answer();

    Findings LastFindings() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// The process's one probe, made and started on the first call for `displayName` (the
// GTK backend calls it when it is created); later calls return the same probe.
VideoOutputProbe& SharedVideoOutputProbe(const std::string& displayName);

}  // namespace gtk
}  // namespace platform
