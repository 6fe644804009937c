#include "app/PlaybackRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "app/DisplayRules.h"
#include "engine/CmdMplayer.h"
#include "library/LocalStrings.h"

namespace orvella {

namespace {
// Tenths of a second in a time, truncated; 0 for what is not a time. Capped at 100,000
// hours so the text keeps its shape for any value the engine prints.
long long Tenths(float seconds) {
    if (!std::isfinite(seconds) || seconds <= 0.0f) return 0;
    const double tenths = std::floor(static_cast<double>(seconds) * 10.0 + 1e-6);
    return tenths > 3.6e9 ? 3600000000LL : static_cast<long long>(tenths);
}

void AppendTime(std::string& out, float seconds) {
    const long long t = Tenths(seconds);
    const long long whole = t / 10;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%01lld", whole / 3600, whole / 60 % 60,
                  whole % 60, t % 10);
    out += text;
}
}  // namespace

std::string FormatPlayTime(float position, float length) {
    std::string text;
    AppendTime(text, position);
    text += '/';
    AppendTime(text, length);
    return text;
}

int PositionPercent(float position, float length) {
    if (!std::isfinite(position) || !std::isfinite(length) || length <= 0.0f || position <= 0.0f)
        return 0;
    const double percent = static_cast<double>(position) / length * 100.0;
    return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

double SliderSeconds(int percent, float length) {
    if (!std::isfinite(length) || length <= 0.0f) return 0.0;
    return static_cast<double>(length) * std::clamp(percent, 0, 100) / 100.0;
}

SIZE FitWindowToVideo(int displayWidth, int displayHeight, float aspect, int workWidth,
                      int workHeight, int skinIndex) {
    long w = displayWidth, h = displayHeight;
    if (h > 0 && std::isfinite(aspect) && aspect > 0.0f &&
        std::fabs(static_cast<double>(w) / h - aspect) > 0.001) {
        h = static_cast<long>(w / aspect);
    }
    const auto [frame, bars] = ChromeForSkin(skinIndex);
    // Halving ends at a single pixel: a work area lower than the bars alone must not
    // keep the loop going.
    while ((workWidth < w + frame || workHeight < h + bars) && (w > 1 || h > 1)) {
        w /= 2;
        h /= 2;
    }
    SIZE size;
    size.cx = w + frame;
    size.cy = h + bars;
    return size;
}

double RelativeSeekTarget(float position, int step, float length) {
    const double from = std::isfinite(position) ? std::max(position, 0.0f) : 0.0;
    const double target = std::max(from + step, 0.0);
    return std::isfinite(length) && length > 0.0f ? std::min(target, static_cast<double>(length)) : target;
}

long long ResumeSeconds(float position) {
    if (!std::isfinite(position) || position <= 0.0f) return 0;
    if (position >= 9.2e18f) return 0;
    return static_cast<long long>(position);
}

long long KeptResumePoint(float position, float length) {
    constexpr float kEndSeconds = 5.0f;
    if (!std::isfinite(length) || length <= 0.0f || position > length - kEndSeconds) return 0;
    return ResumeSeconds(position);
}

bool UnopenedRun::Add(bool opened, const std::string& name, size_t entries) {
    if (opened) {
        m_count = 0;
        return false;
    }
    if (m_count++ == 0) m_first = name;
    if (m_count < entries) return false;
    m_count = 0;
    return true;
}

std::string LocalEngineEndText(const std::string& reason) {
    // The translations' numbers of the engine's words, in the order of kEngineEndTexts.
    const int kMessages[] = {33, 34, 35, 36};
    for (size_t i = 0; i < std::size(kMessages); ++i) {
        const std::string english = kEngineEndTexts[i];
        const size_t at = english.find("%s");
        if (at == std::string::npos) {
            if (reason == english) return LocalString(kMessages[i], english);
            continue;
        }
        const std::string before = english.substr(0, at), after = english.substr(at + 2);
        if (reason.size() > before.size() + after.size() && reason.compare(0, before.size(), before) == 0 &&
            reason.compare(reason.size() - after.size(), after.size(), after) == 0) {
            const std::string number = reason.substr(before.size(), reason.size() - before.size() - after.size());
            return LocalString(kMessages[i], english, number);
        }
    }
    return reason;
}

}  // namespace orvella
