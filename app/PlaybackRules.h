// The computations of playback control, kept pure so they can be tested directly.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace orvella {

// "hh:mm:ss.t/hh:mm:ss.t": hours, minutes, seconds and tenths (truncated) of the position,
// then of the length. 3725.46 s of 7200 s gives "01:02:05.4/02:00:00.0". Negative or
// non-finite times show as 0.
std::string FormatPlayTime(float position, float length);

// The position slider's value: the whole percent of the length played, 0 to 100 (0 while
// the length is unknown).
int PositionPercent(float position, float length);

// The time a position slider value stands for: that percent of the length, in seconds (0
// while the length is unknown). What the slider shows under its thumb and where it seeks.
double SliderSeconds(int percent, float length);

// The window size that shows a video of the engine's display size: the height follows the
// aspect where the two disagree; the video is halved until it and the bars (100 px in the
// modern skin, 92 in the classic one) fit the work area; the frame adds 8 or 2 px. A
// 1920x1080 video on a 1280x1000 work area in the modern skin gives 968x640.
SIZE FitWindowToVideo(int displayWidth, int displayHeight, float aspect, int workWidth,
                      int workHeight, int skinIndex);

// Where a seek by a step of seconds from a position lands: within 0 and the length (only
// above 0 while the length is unknown).
double RelativeSeekTarget(float position, int step, float length);

// Whole seconds of a position for the resume point (truncated; 0 for what is not a time).
long long ResumeSeconds(float position);

// The resume point an entry keeps at a position: its whole seconds, but 0 (from the
// beginning) where resuming would not help: within the last 5 s of the length, and for a
// stream whose length is unknown.
long long KeptResumePoint(float position, float length);

// Entries that ended without opening, one after the other. As many of them as the list
// holds make a round: nothing in the list opens, and moving on would relaunch for ever.
class UnopenedRun {
public:
    // An entry ended. True when it completed a round of entries that did not open; the
    // count starts again then, as it does after an entry that opened.
    bool Add(bool opened, const std::string& name, size_t entries);
    // The first entry of the run that did not open.
    const std::string& First() const { return m_first; }

private:
    size_t m_count = 0;
    std::string m_first;
};

// The engine's reason for an end it did not announce, in the current language: its
// words translated, the number it quotes kept. A text that is none of its reasons is
// returned as it is.
std::string LocalEngineEndText(const std::string& reason);

}  // namespace orvella
