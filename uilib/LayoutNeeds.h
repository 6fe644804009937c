// What a laid-out tree of controls needs to show every control of fixed size whole.
#pragma once

#include "platform/Platform.h"

namespace uilib {

class CControlUI;

// The least size of control: a control with a fixed size has that size, any other the
// larger of its own minimum and what its visible children need, side by side in a
// horizontal layout, stacked in a vertical one and overlapping in a plain container
// (insets, paddings and the space between children counted). Lists, combos and the
// scrolling direction of a container need nothing of their content: it scrolls or drops
// down. An invisible or null control needs nothing.
SIZE LeastSize(CControlUI* control);

}  // namespace uilib
