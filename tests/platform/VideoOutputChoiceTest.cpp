// The automatic video output decided from what the display offers: every fact the probe
// can find, and the renderer strings real drivers report.
#include "platform/gtk/VideoOutputChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace gtk {
namespace {

constexpr unsigned kInput = 0x01, kOutput = 0x02, kVideo = 0x04, kStill = 0x08, kImage = 0x10;

TEST(VideoOutputChoice, AnAdaptorMustTakeImagesThroughAPort) {
    struct Row {
        const char* what;
        std::vector<XvAdaptorSummary> adaptors;
        bool expected;
    };
    const std::vector<Row> table = {
        {"none (Xvfb)", {}, false},
        {"textured video", {{kInput | kImage, 16}}, true},
        {"overlay with images", {{kInput | kVideo | kImage, 1}}, true},
        {"video input only", {{kInput | kVideo, 4}}, false},
        {"image output, not input", {{kOutput | kImage, 4}}, false},
        {"still only", {{kInput | kStill, 2}}, false},
        {"no ports", {{kInput | kImage, 0}}, false},
        {"the second one", {{kInput | kVideo, 2}, {kInput | kImage, 2}}, true},
        {"high type bits set", {{0xFFu, 1}}, true},
    };
    for (const Row& row : table) EXPECT_EQ(HasImageAdaptor(row.adaptors), row.expected) << row.what;
}

TEST(VideoOutputChoice, ExtensionsSayWhetherGlCanRunOnAGpu) {
    struct Row {
        const char* what;
        std::vector<std::string> names;
        bool xvideo, glx, gpu;
    };
    const std::vector<Row> table = {
        {"Xvfb", {"BIG-REQUESTS", "Composite", "GLX", "MIT-SHM", "XVideo", "RENDER"}, true, true, false},
        {"Xorg with a GPU", {"DRI2", "DRI3", "GLX", "Present", "XVideo"}, true, true, true},
        {"DRI2 only", {"DRI2", "GLX"}, false, true, true},
        {"NVIDIA", {"GLX", "NV-GLX", "NV-CONTROL", "XVideo"}, true, true, true},
        {"DRI3 without GLX", {"DRI3", "Present"}, false, false, false},
        {"nothing", {}, false, false, false},
        {"names are exact", {"glx", "dri3", "Xvideo", "XVideo-MotionCompensation"}, false, false, false},
    };
    for (const Row& row : table) {
        DisplayOffer offer = OfferFromExtensions(row.names);
        EXPECT_EQ(offer.xvideo, row.xvideo) << row.what;
        EXPECT_EQ(offer.glx, row.glx) << row.what;
        EXPECT_EQ(offer.gpuRendering, row.gpu) << row.what;
        EXPECT_FALSE(offer.xvImageAdaptor) << row.what << ": left for the adaptors";
    }
}

TEST(VideoOutputChoice, SoftwareRenderersAreKnownByName) {
    const std::vector<std::pair<const char*, bool>> table = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"softpipe", true},
        {"Mesa X11 swrast", true},
        {"Software Rasterizer", true},
        {"Mesa DRI Software Rasterizer", true},
        {"LLVMPIPE (LLVM 11)", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)", false},
        {"NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2", false},
        {"virgl (Mesa Intel(R) Xe Graphics)", false},
        {"", false},
    };
    for (const auto& row : table) EXPECT_EQ(IsSoftwareRenderer(row.first), row.second) << row.first;
}

TEST(VideoOutputChoice, TheGlChildsLineGivesOnlyDirectRenderers) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"direct Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)"},
        {"direct llvmpipe (LLVM 15.0.6, 256 bits)\n", "llvmpipe (LLVM 15.0.6, 256 bits)"},
        {"direct AMD Radeon\r\nsecond line", "AMD Radeon"},
        {"indirect NVIDIA GeForce GTX 1060", ""},  // draws through the X server
        {"direct ", ""},
        {"direct", ""},
        {"", ""},
        {"GL_RENDERER=AMD", ""},
        {"\ndirect AMD", ""},  // only the first line counts
    };
    for (const auto& row : table)
        EXPECT_EQ(DirectRendererFromProbeOutput(row.first), row.second) << row.first;
}

TEST(VideoOutputChoice, XvThenGpuGlThenX11) {
    DisplayOffer xvfb{true, false, true, false};
    DisplayOffer desktop{true, true, true, true};
    DisplayOffer gpuWithoutXv{false, false, true, true};
    DisplayOffer noGlx{false, false, false, false};
    struct Row {
        const char* what;
        DisplayOffer offer;
        const char* renderer;
        const char* expected;
        bool glNeeded;
    };
    const std::vector<Row> table = {
        {"Xvfb", xvfb, "", "x11", false},
        {"Xvfb, even if a renderer were named", xvfb, "AMD Radeon", "x11", false},
        {"Xv adaptor", desktop, "", "xv", false},
        {"Xv wins over GL", desktop, "AMD Radeon", "xv", false},
        {"GPU GL", gpuWithoutXv, "Mesa Intel(R) UHD Graphics 620", "gl", true},
        {"software GL behind DRI3", gpuWithoutXv, "llvmpipe (LLVM 15.0.6, 256 bits)", "x11", true},
        {"GL child failed or timed out", gpuWithoutXv, "", "x11", true},
        {"no GLX", noGlx, "", "x11", false},
    };
    for (const Row& row : table) {
        EXPECT_EQ(ChooseVideoOutput(row.offer, row.renderer), row.expected) << row.what;
        EXPECT_EQ(NeedsGlRenderer(row.offer), row.glNeeded) << row.what;
    }
}

}  // namespace
}  // namespace gtk
}  // namespace platform
