// The outline of a window region as horizontal spans, the form X11 shapes take.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace platform {
namespace gtk {

struct ShapeSpan {
    int y, left, right;  // one pixel row, right exclusive
};

// Rows of a rounded rectangle with elliptic corners cornerWidth x cornerHeight, as
// CreateRoundRectRgn draws them. Empty for an empty rectangle; a plain rectangle when
// the corners are zero. One span per row, top to bottom.
std::vector<ShapeSpan> RoundedRectSpans(const WindowRegion& region);

}  // namespace gtk
}  // namespace platform
