// Where the video window goes in the video area and what a pointer over the video asks
// of the bars around it. Pure functions over rectangles.
#pragma once

#include "platform/Platform.h"

namespace orvella {

// What a pointer over the video asks of the bars. point is in video-window coordinates,
// media the video area moved to top 0; checkTop when the video window is near the top
// of the main window or the move came through the video area itself.
enum class BarRequest { None, Show, Hide };
struct BarRequests {
    BarRequest topBar = BarRequest::None;
    BarRequest bottomBars = BarRequest::None;
};
BarRequests BarsForPointer(const RECT& media, POINT point, bool checkTop);

// Where the video window goes inside the video area: one pixel of the frame stays the
// main window's on both sides.
RECT VideoWindowRect(const RECT& media, int clientWidth);

}  // namespace orvella
