// Sharing a length among the children of a box layout.
#pragma once

#include <vector>

namespace uilib {

struct LayoutSlot {
    int fixed = 0;     // wanted length; 0: takes a share of the free space
    int min = 0;
    int max = 9999;
};

// Lengths for the slots along one axis: fixed slots get their length (kept within
// min/max); the rest share what is left equally, a slot that a limit stops taking its
// limit and the others sharing again; rounding leftovers go to the last sharers.
std::vector<int> ShareLength(int available, const std::vector<LayoutSlot>& slots);

}  // namespace uilib
