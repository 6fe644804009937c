// The engine's automatic video output, decided from what the display offers. Pure: the
// probe gathers the facts, these functions only weigh them, so every case is testable
// without the hardware that produces it.
#pragma once

#include <string>
#include <vector>

namespace platform {
namespace gtk {

// One XVideo adaptor as the server describes it.
struct XvAdaptorSummary {
    unsigned type = 0;               // XvInputMask, XvImageMask, ... as the server reports
    unsigned long portCount = 0;
};

// What the display offers.
struct DisplayOffer {
    bool xvideo = false;           // the XVideo extension is there (Xvfb has it without adaptors)
    bool xvImageAdaptor = false;   // an adaptor that takes images from clients
    bool glx = false;              // the GLX extension
    bool gpuRendering = false;     // DRI3, DRI2 or NVIDIA's GLX: GL may run on a GPU
};

// The extensions the server lists, weighed (XvImageAdaptor is left for the adaptors).
DisplayOffer OfferFromExtensions(const std::vector<std::string>& extensionNames);

// True when one adaptor takes client images (what the engine's xv output draws with)
// through at least one port.
bool HasImageAdaptor(const std::vector<XvAdaptorSummary>& adaptors);

// Only a display that may render GL on a GPU is worth starting the GL child for: without
// GLX or any direct-rendering extension, GL would be software or indirect at best.
bool NeedsGlRenderer(const DisplayOffer& offer);

// What the GL child printed: "direct <renderer>" or "indirect <renderer>" on its first
// line. Empty when it printed nothing usable; "indirect" contexts come back empty too,
// since they draw through the X server and cost as much as software.
std::string DirectRendererFromProbeOutput(const std::string& output);

// llvmpipe, softpipe, swrast and Mesa's "Software Rasterizer" draw on the CPU.
bool IsSoftwareRenderer(const std::string& renderer);

// "xv" with an image adaptor; else "gl" with a direct renderer that is not a software
// one; else "x11". `renderer` is empty when the GL check was not run, failed or timed out.
std::string ChooseVideoOutput(const DisplayOffer& offer, const std::string& renderer);

}  // namespace gtk
}  // namespace platform
