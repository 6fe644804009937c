#include "ui/FileInfoTexts.h"

#include <sys/stat.h>

#include "library/LocalStrings.h"
#include "library/NumberText.h"

namespace orvella {

FileInfoRecord MakeFileInfoRecord(const std::string& path, const MediaInfo& media,
                                  const MediaTables* runningTables) {
    FileInfoRecord record;
    record.fileName = path;
    record.videoWidth = media.videoWidth;
    record.videoHeight = media.videoHeight;
    record.length = media.length;
    record.aspect = media.aspect;
    record.fileSize = RegularFileSize(path);
    if (!runningTables) return record;
    record.audioTracks = runningTables->audioTracks;
    record.subtitleTracks = runningTables->subtitleTracks;
    if (!media.audioOnly && !media.videoCodec.empty()) {
        std::string video = media.videoCodec;
        if (media.videoWidth > 0 && media.videoHeight > 0)
            video += ", " + ResolutionText(media.videoWidth, media.videoHeight);
        record.videoTracks.emplace(0, video);
    }
    return record;
}

std::vector<TrackRow> TrackRowsOf(const FileInfoRecord& record) {
    const struct {
        const TrackTable& tracks;
        int number;
        const char* english;
    } kinds[] = {
        {record.videoTracks, 55, "video"},
        {record.audioTracks, 56, "audio"},
        {record.subtitleTracks, 57, "subtitle"},
    };
    std::vector<TrackRow> rows;
    for (const auto& kind : kinds) {
        const std::string word = LocalString(kind.number, kind.english);
        for (const auto& [number, text] : kind.tracks) rows.push_back({word, text});
    }
    return rows;
}

std::string FileSizeText(uint64_t bytes) {
    constexpr uint64_t kKilo = 1024, kMega = kKilo * 1024, kGiga = kMega * 1024;
    if (bytes < kKilo) return LocalString(58, "%s bytes", std::to_string(bytes));
    const double size = static_cast<double>(bytes);
    if (bytes < kMega) return FixedText(size / kKilo, 2) + " KB";
    if (bytes < kGiga) return FixedText(size / kMega, 2) + " MB";
    return FixedText(size / kGiga, 2) + " GB";
}

std::string ResolutionText(int32_t width, int32_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string DurationText(float seconds) { return FixedText(seconds, 2) + " s"; }

std::string AspectText(float aspect) { return FixedText(aspect, 4); }

uint64_t RegularFileSize(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<uint64_t>(info.st_size);
}

}  // namespace orvella
