#include "uilib/LayoutShare.h"

#include <algorithm>

namespace uilib {

namespace {
int Clamp(int v, const LayoutSlot& s) {
    int hi = std::max(s.min, s.max);
    return std::max(s.min, std::min(v, hi));
}
}  // namespace

std::vector<int> ShareLength(int available, const std::vector<LayoutSlot>& slots) {
    std::vector<int> out(slots.size(), 0);
    std::vector<size_t> sharers;
    int used = 0;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].fixed > 0) {
            out[i] = Clamp(slots[i].fixed, slots[i]);
            used += out[i];
        } else {
            sharers.push_back(i);
        }
    }
    // Settle the sharers a limit stops, until the rest can take an equal share.
    bool changed = true;
    while (changed && !sharers.empty()) {
        changed = false;
        int left = std::max(0, available - used);
        int share = left / static_cast<int>(sharers.size());
        for (size_t k = 0; k < sharers.size(); ++k) {
            const LayoutSlot& s = slots[sharers[k]];
            int c = Clamp(share, s);
            if (c != share) {
                out[sharers[k]] = c;
                used += c;
                sharers.erase(sharers.begin() + static_cast<long>(k));
                changed = true;
                break;
            }
        }
    }
    if (sharers.empty()) return out;
    int left = std::max(0, available - used);
    int n = static_cast<int>(sharers.size());
    int share = left / n, extra = left % n;
    for (int k = 0; k < n; ++k) out[sharers[k]] = share + (k >= n - extra ? 1 : 0);
    return out;
}

}  // namespace uilib
