#include "platform/gtk/WindowShape.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace gtk {

std::vector<ShapeSpan> RoundedRectSpans(const WindowRegion& region) {
    std::vector<ShapeSpan> spans;
    const RECT& r = region.rect;
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return spans;
    // Corners larger than the rectangle are clipped to it, as on Windows.
    const double rx = std::min(std::max(region.cornerWidth, 0), width) / 2.0;
    const double ry = std::min(std::max(region.cornerHeight, 0), height) / 2.0;
    spans.reserve(static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        int inset = 0;
        if (region.rounded && rx >= 1 && ry >= 1) {
            // Distance of the row's centre from the corner ellipse's centre line.
            const double fromTop = ry - (row + 0.5);
            const double fromBottom = ry - (height - row - 0.5);
            const double dy = std::max(fromTop, fromBottom);
            if (dy > 0) {
                const double t = dy / ry;
                inset = static_cast<int>(std::lround(rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t))));
            }
        }
        if (2 * inset >= width) continue;
        spans.push_back({static_cast<int>(r.top) + row, static_cast<int>(r.left) + inset,
                         static_cast<int>(r.right) - inset});
    }
    return spans;
}

}  // namespace gtk
}  // namespace platform
