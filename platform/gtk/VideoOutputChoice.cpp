#include "platform/gtk/VideoOutputChoice.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace gtk {
namespace {

// XVideo adaptor type bits (X11/extensions/Xv.h).
constexpr unsigned kXvInputMask = 1u << 0;
constexpr unsigned kXvImageMask = 0x10;

bool Listed(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

}  // namespace

DisplayOffer OfferFromExtensions(const std::vector<std::string>& names) {
    DisplayOffer offer;
    offer.xvideo = Listed(names, "XVideo");
    offer.glx = Listed(names, "GLX");
    // NVIDIA's driver renders directly without either DRI extension.
    offer.gpuRendering = offer.glx && (Listed(names, "DRI3") || Listed(names, "DRI2") ||
                                       Listed(names, "NV-GLX"));
    return offer;
}

bool HasImageAdaptor(const std::vector<XvAdaptorSummary>& adaptors) {
    for (const XvAdaptorSummary& adaptor : adaptors) {
        bool takesImages = (adaptor.type & kXvInputMask) && (adaptor.type & kXvImageMask);
        if (takesImages && adaptor.portCount > 0) return true;
    }
    return false;
}

bool NeedsGlRenderer(const DisplayOffer& offer) {
    return !offer.xvImageAdaptor && offer.glx && offer.gpuRendering;
}

std::string DirectRendererFromProbeOutput(const std::string& output) {
    std::string line = output.substr(0, output.find('\n'));
    static const std::string kDirect = "direct ";
    if (line.compare(0, kDirect.size(), kDirect) != 0) return std::string();
    return Trimmed(line.substr(kDirect.size()));
}

bool IsSoftwareRenderer(const std::string& renderer) {
    const std::string lower = Lower(renderer);
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        if (lower.find(name) != std::string::npos) return true;
    return false;
}

std::string ChooseVideoOutput(const DisplayOffer& offer, const std::string& renderer) {
    if (offer.xvImageAdaptor) return "xv";
    if (NeedsGlRenderer(offer) && !renderer.empty() && !IsSoftwareRenderer(renderer)) return "gl";
    return "x11";
}

}  // namespace gtk
}  // namespace platform
