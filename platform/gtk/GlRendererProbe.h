// The GL half of the video output probe runs in a short-lived child: loading GL into the
// player would map the driver (tens of MB with llvmpipe) for the whole run, only to read
// one string. The child is this program re-executed with a private flag:
//
//   int main(int argc, char** argv) {
//       platform::gtk::ServeGlProbeIfAsked(argc, argv);  // before GTK and everything else
//
// The child prints one line, "direct <GL_RENDERER>" or "indirect <GL_RENDERER>", and
// exits; it prints nothing when GL cannot make a context.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform {
namespace gtk {

constexpr const char* kGlProbeFlag = "--probe-gl";

// In the child (argv[1] is kGlProbeFlag, argv[2] the display name) it does the check and
// ends the process. Otherwise it returns, noting that this program answers the flag, so
// that GlProbeCommand offers it.
void ServeGlProbeIfAsked(int argc, char** argv);

// The argument vector that re-executes this program as the GL child for `displayName`;
// empty unless main() called ServeGlProbeIfAsked (a test binary would not understand the
// flag and would run itself again instead).
std::vector<std::string> GlProbeCommand(const std::string& displayName);

// Runs `command` (no shell) and returns the first line it prints, without its line end,
// or all it printed when it ends without one. Empty when it cannot start, prints
// nothing, or has no whole line by `deadline`: it is stopped then.
std::string RunGlProbeChild(const std::vector<std::string>& command,
                            std::chrono::steady_clock::time_point deadline);

}  // namespace gtk
}  // namespace platform
