// The main window draws its own frame: which part of it the pointer is over, and the
// shape of the window. Pure functions over rectangles.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace orvella {

// Caption and border hit test of the undecorated main window. client is the client
// rectangle, pt a point in client coordinates, captionHeight the layout's caption band
// height, classUnderPoint the class of the control under the point ("" for none).
// Inside the caption band (the client shrunk by 5 pixels at left, top and right) a
// point over a plain control drags the window; buttons, options, text and menu buttons
// stay clickable. Outside it, a 2-pixel border resizes.
LRESULT MainWindowHitTest(const RECT& client, POINT pt, int captionHeight,
                          const std::string& classUnderPoint);

// The caption band as the hit test uses it.
RECT MainWindowCaptionArea(const RECT& client, int captionHeight);

enum class RegionChange { Keep, Rectangle, Rounded };
struct RegionPlan {
    RegionChange change = RegionChange::Keep;
    WindowRegion region;
};
// What the window's shape becomes after a size change: nothing while minimised or when
// the layout asks for no round corners; a plain rectangle in full screen; otherwise
// the client rectangle with rounded corners (right and bottom edges one pixel beyond).
RegionPlan MainWindowRegion(const RECT& client, SIZE roundCorner, bool minimized, bool fullScreen);

}  // namespace orvella
