// Replays captured engine output (tests/data/engine-output/) through the line
// assembler and the classifier, as the reader thread would, and sums up what the main
// window and the controller end up knowing.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CmdMplayer.h"
#include "engine/LineAssembler.h"
#include "engine/MediaInfo.h"
#include "engine/OutputParser.h"

namespace enginetest {

inline std::string CaptureFolder() { return std::string(ORVELLA_SOURCE_DIR) + "/tests/data/engine-output/"; }

inline std::string ReadCapture(const std::string& name) {
    std::ifstream in(CaptureFolder() + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Replay {
    std::vector<orvella::EngineEvent> events;
    orvella::MediaInfo info;  // after applying every event as the main window does
    orvella::MediaTables tables;
    orvella::TrackTable chapters;  // GetChapters at the end

    int Count(WPARAM code) const {
        int n = 0;
        for (const auto& e : events) n += e.code == code;
        return n;
    }
    std::vector<int> Numbers(WPARAM code) const {
        std::vector<int> out;
        for (const auto& e : events)
            if (e.code == code) out.push_back(e.number);
        return out;
    }
};

// Feeds the files one after another in chunks of chunkSize bytes (the reader reads at
// most 256 at a time).
inline Replay ReplayCaptures(const std::vector<std::string>& files, size_t chunkSize = 256) {
    Replay replay;
    orvella::CCmdMplayer controller;  // no window: the tables only
    orvella::LineAssembler assembler;
    for (const std::string& file : files) {
        const std::string bytes = ReadCapture(file);
        for (size_t at = 0; at < bytes.size(); at += chunkSize) {
            const size_t n = std::min(chunkSize, bytes.size() - at);
            controller.OnChildOutput(bytes.data() + at, n);
            assembler.Feed(bytes.data() + at, n, [&](std::string_view line) {
                orvella::ParsedLine parsed = orvella::ClassifyEngineLine(line);
                if (parsed.action != orvella::LineAction::PostEvent) return;
                orvella::ApplyEngineEvent(replay.info, parsed.event);
                replay.events.push_back(parsed.event);
            });
        }
    }
    replay.tables = controller.GetTables();
    replay.chapters = controller.GetChapters();
    return replay;
}

}  // namespace enginetest
