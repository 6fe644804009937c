// The computations behind the display modes and the bars over the video, kept pure so
// they can be tested directly.
#pragma once

#include <optional>

#include "platform/Platform.h"

namespace orvella {

constexpr float kSmallestSizeFactor = 0.5f;
constexpr float kLargestSizeFactor = 4.0f;

// What the window adds around the video: the frame at the sides (8 px in the modern
// skin, 2 in the classic one) and the bars above and below it (100 or 92 px).
struct WindowChrome {
    long frame;
    long bars;
};
WindowChrome ChromeForSkin(int skinIndex);

// The window size that shows the video at a size factor: the video scaled by the factor
// (truncated), shrunk keeping its shape until it with the frame and the bars fits the
// work area.
SIZE WindowSizeForFactor(int videoWidth, int videoHeight, float factor, int skinIndex,
                         int workWidth, int workHeight);

// The size factor after a size step: 1 doubles (at most 4.0), -1 halves (at least 0.5),
// 0 goes back to 1.0. Any other step is not a size step: nothing.
std::optional<float> SizeFactorAfterStep(float current, long step);

// The factor a zoom key asks for: doubled or halved, kept within 0.5 … 4.0.
float ZoomedSizeFactor(float current, bool larger);

// The picture ratio of an aspect choice: 0 the video's own, 3 for 4:3, 7 for 16:9. Any
// other choice, and the video's own ratio while its size is unknown, gives nothing.
std::optional<double> AspectRatioForChoice(long choice, int videoWidth, int videoHeight);

// Seconds one seek button steps for the choice of its combo (item 0 = 10 s, 1 = 60 s,
// 2 = 600 s), backwards negative. A combo item that is none of those: 0 s for the combo
// itself, 60 s for the button.
int SeekStepForComboItem(int item, bool forward);
int SeekStepForButton(int comboItem, bool forward);

}  // namespace orvella
