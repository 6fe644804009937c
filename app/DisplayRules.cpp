#include "app/DisplayRules.h"

#include <algorithm>
#include <cmath>

namespace orvella {

WindowChrome ChromeForSkin(int skinIndex) {
    return skinIndex == 1 ? WindowChrome{8, 100} : WindowChrome{2, 92};
}

SIZE WindowSizeForFactor(int videoWidth, int videoHeight, float factor, int skinIndex,
                         int workWidth, int workHeight) {
    const auto [frame, bars] = ChromeForSkin(skinIndex);
    // The frame is part of the window: the video gets what is left of the width.
    workWidth = static_cast<int>(std::max<long>(workWidth - frame, 1));
    double w = std::floor(videoWidth * static_cast<double>(factor));
    double h = std::floor(videoHeight * static_cast<double>(factor));
    if (w < 1 || h < 1) return SIZE{static_cast<LONG>(std::max(w, 0.0) + frame),
                                    static_cast<LONG>(std::max(h, 0.0) + bars)};
    const double ratio = w / h;
    const double room = std::max<double>(workHeight - bars, 1);
    if (workWidth < w) {
        h = workWidth / ratio;
        if (workHeight < h + bars) {
            h = room;
            w = ratio * h;
        } else {
            w = workWidth;
        }
    } else if (workHeight < h + bars) {
        h = room;
        w = ratio * h;
        if (w > workWidth) {
            w = workWidth;
            h = workWidth / ratio;
        }
    }
    return SIZE{static_cast<LONG>(w) + static_cast<LONG>(frame), static_cast<LONG>(h) + static_cast<LONG>(bars)};
}

std::optional<float> SizeFactorAfterStep(float current, long step) {
    switch (step) {
    case 1: return std::min(current * 2.0f, kLargestSizeFactor);
    case -1: return std::max(current / 2.0f, kSmallestSizeFactor);
    case 0: return 1.0f;
    default: return std::nullopt;
    }
}

float ZoomedSizeFactor(float current, bool larger) {
    const float next = larger ? current * 2.0f : current / 2.0f;
    return std::clamp(next, kSmallestSizeFactor, kLargestSizeFactor);
}

std::optional<double> AspectRatioForChoice(long choice, int videoWidth, int videoHeight) {
    switch (choice) {
    case 0:
        if (videoWidth <= 0 || videoHeight <= 0) return std::nullopt;
        return static_cast<double>(videoWidth) / videoHeight;
    case 3: return 4.0 / 3.0;
    case 7: return 16.0 / 9.0;
    default: return std::nullopt;
    }
}

int SeekStepForComboItem(int item, bool forward) {
    static const int kSteps[] = {10, 60, 600};
    if (item < 0 || item > 2) return 0;
    return forward ? kSteps[item] : -kSteps[item];
}

int SeekStepForButton(int comboItem, bool forward) {
    const int step = SeekStepForComboItem(comboItem, forward);
    if (step != 0) return step;
    return forward ? 60 : -60;
}

}  // namespace orvella
