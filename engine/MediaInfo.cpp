#include "engine/MediaInfo.h"

#include "engine/OutputParser.h"

#include <cmath>
#include <vector>

namespace orvella {

namespace {

// "720x480": width and height around the first "x"; false when there is none or a
// side reads 0.
bool SplitOutputSize(const std::string& text, int32_t* width, int32_t* height) {
    const size_t x = text.find('x');
    if (x == std::string::npos) return false;
    const int32_t w = ReadEngineInt(std::string_view(text).substr(0, x));
    const int32_t h = ReadEngineInt(std::string_view(text).substr(x + 1));
    if (w == 0 || h == 0) return false;
    *width = w;
    *height = h;
    return true;
}

}  // namespace

EngineReaction ApplyEngineEvent(MediaInfo& info, const EngineEvent& event) {
    switch (event.code) {
    case EV_EXIT: return EngineReaction::EndOfPlayback;
    case EV_OPEN_FAILED: return EngineReaction::ShowOpenFailure;
    case EV_VIDEO_WIDTH: info.videoWidth = event.number; break;
    case EV_VIDEO_HEIGHT: info.videoHeight = event.number; break;
    case EV_VIDEO_ASPECT:
        info.aspect = event.real;
        if (info.displayWidth != 0 && info.displayHeight != 0) return EngineReaction::LayoutVideoArea;
        break;
    case EV_LENGTH:
    case EV_BLURAY_TITLE_LENGTH: info.length = event.real; break;
    case EV_TIME_POSITION: info.position = event.real; break;
    case EV_DVD_MENU: info.inDvdMenu = true; break;
    case EV_DVD_MOVIE: info.inDvdMenu = false; break;
    case EV_DEMUXER: info.demuxer = event.text; break;
    case EV_VIDEO_CODEC: info.videoCodec = event.text; break;
    case EV_VIDEO_BITRATE: info.videoBitrate = event.number; break;
    case EV_VIDEO_FPS: info.fps = event.real; break;
    case EV_AUDIO_CODEC: info.audioCodec = event.text; break;
    case EV_AUDIO_BITRATE: info.audioBitrate = event.number; break;
    case EV_AUDIO_RATE: info.audioRate = event.number; break;
    case EV_AUDIO_CHANNELS: info.audioChannels = event.number; break;
    case EV_AUDIO_ONLY:
        info.audioOnly = true;
        return EngineReaction::LayoutVideoArea;
    case EV_FILE_SUB_ID: return EngineReaction::SelectSubtitleFile;
    case EV_SCREENSHOT: return EngineReaction::ShowScreenshot;
    case EV_PLAYBACK_STARTED: return EngineReaction::PlaybackStarted;
    case EV_ENGINE_GONE: return EngineReaction::EngineGone;
    case EV_VIDEO_OUTPUT_SIZE: {
        int32_t width = 0, height = 0;
        if (!SplitOutputSize(event.text, &width, &height)) break;
        info.displayWidth = width;
        info.displayHeight = height;
        info.aspect = static_cast<float>(width) / static_cast<float>(height);
        return EngineReaction::LayoutVideoArea;
    }
    default: break;
    }
    return EngineReaction::None;
}

TrackTable DvdChapterStarts(std::string_view list) {
    // Each item ends with a comma; text after the last comma is not an item.
    std::vector<std::string> items;
    for (size_t comma; (comma = list.find(',')) != std::string_view::npos; list.remove_prefix(comma + 1))
        items.emplace_back(list.substr(0, comma));
    const bool listsStarts = !items.empty() && items.front().compare(0, 8, "00:00:00") == 0;
    // A list of ends: the last item is the title's end, not a chapter's start.
    if (!listsStarts) {
        if (!items.empty()) items.pop_back();
        items.insert(items.begin(), "00:00:00");
    }
    TrackTable starts;
    int32_t index = 0;
    for (std::string& item : items) starts.emplace(index++, std::move(item));
    return starts;
}

int32_t TitleOfLength(const TrackTable& titleLengths, float length) {
    if (length <= 0.0f) return 0;
    int32_t found = 0;
    for (const auto& [title, text] : titleLengths) {
        if (std::fabs(ReadEngineFloat(text) - length) > 0.5f) continue;
        if (found != 0) return 0;  // two titles of that length: no telling
        found = title;
    }
    return found;
}

TrackTable FileChapterLabels(const TrackTable& starts, const TrackTable& names) {
    TrackTable labels;
    for (const auto& [index, start] : starts) {
        auto name = names.find(index);
        labels.emplace(index, name == names.end() || name->second.empty() ? start : start + " " + name->second);
    }
    return labels;
}

}  // namespace orvella
