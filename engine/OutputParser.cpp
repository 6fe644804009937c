#include "engine/OutputParser.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <regex>
#include <vector>

namespace orvella {
namespace {

// ---- the key tests ----

enum class Where {
    Anywhere,   // the key may occur anywhere in the line
    LineStart,  // "ID_" and "ANS_" keys: a title tag printed raw must not fake them
    BlurayTitleField,  // "ID_BLURAY_TITLE_" [digits "_"] field, at the line start
};

enum class KeyDoes { Post, PostInt, PostFloat, PostText, PostAspect, SwitchTitle, SetBluray, SetCurrent, Consume };

struct KeyTest {
    int number;
    const char* key;
    Where where;
    KeyDoes does;
    WPARAM code;
    const char* field;  // BlurayTitleField only
    MediaTable table = MediaTable::AudioTracks;  // SetCurrent only
};

constexpr KeyTest kKeyTests[] = {
    {1, "ID_EXIT=", Where::LineStart, KeyDoes::Post, EV_EXIT, nullptr},
    {2, "Audio only file format detected", Where::Anywhere, KeyDoes::Post, EV_AUDIO_ONLY, nullptr},
    // Every audio-only file played through libavformat says only this.
    {2, "Video: no video", Where::Anywhere, KeyDoes::Post, EV_AUDIO_ONLY, nullptr},
    {3, "ID_VIDEO_WIDTH=", Where::LineStart, KeyDoes::PostInt, EV_VIDEO_WIDTH, nullptr},
    {4, "ID_VIDEO_HEIGHT=", Where::LineStart, KeyDoes::PostInt, EV_VIDEO_HEIGHT, nullptr},
    {5, "ID_VIDEO_ASPECT=", Where::LineStart, KeyDoes::PostAspect, EV_VIDEO_ASPECT, nullptr},
    {6, "ANS_LENGTH=", Where::LineStart, KeyDoes::PostFloat, EV_LENGTH, nullptr},
    {7, "ANS_TIME_POSITION=", Where::LineStart, KeyDoes::PostFloat, EV_TIME_POSITION, nullptr},
    {8, "DVDNAV_TITLE_IS_MENU", Where::Anywhere, KeyDoes::Post, EV_DVD_MENU, nullptr},
    {9, "DVDNAV_TITLE_IS_MOVIE", Where::Anywhere, KeyDoes::Post, EV_DVD_MOVIE, nullptr},
    {10, "DVDNAV, switched to title:", Where::Anywhere, KeyDoes::SwitchTitle, 0, nullptr},
    {11, "ID_DEMUXER=", Where::LineStart, KeyDoes::PostText, EV_DEMUXER, nullptr},
    {12, "ID_VIDEO_CODEC=", Where::LineStart, KeyDoes::PostText, EV_VIDEO_CODEC, nullptr},
    {13, "ID_AUDIO_CODEC=", Where::LineStart, KeyDoes::PostText, EV_AUDIO_CODEC, nullptr},
    {14, "ID_VIDEO_BITRATE=", Where::LineStart, KeyDoes::PostInt, EV_VIDEO_BITRATE, nullptr},
    {15, "ID_VIDEO_FPS=", Where::LineStart, KeyDoes::PostFloat, EV_VIDEO_FPS, nullptr},
    {16, "ID_AUDIO_BITRATE=", Where::LineStart, KeyDoes::PostInt, EV_AUDIO_BITRATE, nullptr},
    {17, "ID_AUDIO_RATE=", Where::LineStart, KeyDoes::PostInt, EV_AUDIO_RATE, nullptr},
    {18, "ID_AUDIO_NCH=", Where::LineStart, KeyDoes::PostInt, EV_AUDIO_CHANNELS, nullptr},
    // This engine has no "NAME OPEN FAILED"; a missing file is reported on standard
    // error. Its failures to open other things (the remote control, VDPAU) are not
    // the media's and must not read as one.
    {19, "NAME OPEN FAILED", Where::Anywhere, KeyDoes::Post, EV_OPEN_FAILED, nullptr},
    {19, "File not found: '", Where::LineStart, KeyDoes::Post, EV_OPEN_FAILED, nullptr},
    {19, "Failed to open LIRC", Where::LineStart, KeyDoes::Consume, 0, nullptr},
    {19, "Failed to open VDPAU", Where::LineStart, KeyDoes::Consume, 0, nullptr},
    {19, "Failed to open ", Where::LineStart, KeyDoes::Post, EV_OPEN_FAILED, nullptr},
    {20, "ID_FILE_SUB_ID=", Where::LineStart, KeyDoes::PostInt, EV_FILE_SUB_ID, nullptr},
    {21, "ID_BLURAY_TITLE_", Where::BlurayTitleField, KeyDoes::PostFloat, EV_BLURAY_TITLE_LENGTH, "LENGTH="},
    {22, "ID_BLURAY_TITLE_", Where::BlurayTitleField, KeyDoes::SetBluray, 0, "CHAPTERS="},
    {22, "Starting playback...", Where::LineStart, KeyDoes::Post, EV_PLAYBACK_STARTED, nullptr},
    // Answers to the questions the menus ask: which track, subtitle and chapter play.
    {40, "ANS_switch_audio=", Where::LineStart, KeyDoes::SetCurrent, 0, nullptr, MediaTable::AudioTracks},
    {41, "ANS_sub_demux=", Where::LineStart, KeyDoes::SetCurrent, 0, nullptr, MediaTable::SubtitleTracks},
    {42, "ANS_chapter=", Where::LineStart, KeyDoes::SetCurrent, 0, nullptr, MediaTable::Chapters},
};

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Where the rest after the key begins, or npos when the test does not hit.
size_t FindKey(std::string_view line, const KeyTest& test) {
    const std::string_view key = test.key;
    switch (test.where) {
    case Where::Anywhere: {
        const size_t at = line.find(key);
        return at == std::string_view::npos ? at : at + key.size();
    }
    case Where::LineStart: return StartsWith(line, key) ? key.size() : std::string_view::npos;
    case Where::BlurayTitleField: {
        if (!StartsWith(line, key)) return std::string_view::npos;
        size_t at = key.size();
        size_t digits = at;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
        if (digits > at && digits < line.size() && line[digits] == '_') at = digits + 1;
        const std::string_view field = test.field;
        if (!StartsWith(line.substr(at), field)) return std::string_view::npos;
        return at + field.size();
    }
    }
    return std::string_view::npos;
}

ParsedLine FromKeyTest(const KeyTest& test, std::string_view rest) {
    ParsedLine out;
    out.test = test.number;
    out.action = LineAction::PostEvent;
    switch (test.does) {
    case KeyDoes::Post: out.event = EngineEvent::Plain(test.code); break;
    case KeyDoes::PostInt: out.event = EngineEvent::Number(test.code, ReadEngineInt(rest)); break;
    case KeyDoes::PostFloat: out.event = EngineEvent::Real(test.code, ReadEngineFloat(rest)); break;
    case KeyDoes::PostText: out.event = EngineEvent::Text(test.code, std::string(rest)); break;
    case KeyDoes::PostAspect: {
        const float aspect = ReadEngineFloat(rest);
        if (std::fabs(aspect) < 0.001f) out.action = LineAction::Consume;  // "0.0000": not known yet
        else out.event = EngineEvent::Real(test.code, aspect);
        break;
    }
    case KeyDoes::SwitchTitle:
        out.action = LineAction::SwitchTitle;
        out.key = ReadEngineInt(rest);
        break;
    case KeyDoes::SetBluray: out.action = LineAction::SetBluray; break;
    case KeyDoes::SetCurrent:
        out.action = LineAction::SetCurrent;
        out.table = test.table;
        out.key = ReadEngineInt(rest);
        break;
    case KeyDoes::Consume: out.action = LineAction::Consume; break;
    }
    return out;
}

// ---- the pattern tests ----

enum class PatternDoes { Insert, Correct, InsertBlurayChapter, InsertFileChapter, Consume, PostNumber, PostText };

struct PatternTest {
    int number;
    const char* literal;  // occurs in every match: lines without it skip the pattern
    bool atLineStart;     // an "ID_" key: the match must begin the line
    const char* pattern;
    PatternDoes does;
    MediaTable table;
    int keyGroup;
    int textGroup;  // 0: the text "unknown"
    WPARAM code;
};

constexpr PatternTest kPatternTests[] = {
    {23, "ID_DVD_TITLE_", true, R"(\bID_DVD_TITLE_(\d+)_LENGTH\b=(\d+\.\d+)\s*)", PatternDoes::Insert,
     MediaTable::TitleLengths, 1, 2, 0},
    {24, "audio stream:", false, R"(\baudio stream:\s*(\d+)\s*format:\s*(.+)\s*language:\s*(.+)\s*aid:\s*(.+).)",
     PatternDoes::Insert, MediaTable::AudioTracks, 4, 3, 0},
    {25, "Track ID", false, R"(Track ID\s(\d+):\saudio\s*(.+),\s-aid\s*(\d+),\s-alang\s*(.+))",
     PatternDoes::Insert, MediaTable::AudioTracks, 3, 4, 0},
    {26, "ID_AUDIO_ID=", true, R"(ID_AUDIO_ID=(\d+)\s*)", PatternDoes::Insert, MediaTable::AudioTracks, 1, 0, 0},
    {27, "ID_AID_", true, R"(ID_AID_(\d+)_LANG=(\w+))", PatternDoes::Correct, MediaTable::AudioTracks, 1, 2, 0},
    {28, "subtitle ", false, R"(subtitle .+:\s*(\d+)\s*language:\s*(.+)\s*)", PatternDoes::Insert,
     MediaTable::SubtitleTracks, 1, 2, 0},
    {29, "Track ID", false, R"(Track ID\s(\d+):\ssubtitles\s*(.+),\s-sid\s*(\d+),\s-slang\s*(.+))",
     PatternDoes::Insert, MediaTable::SubtitleTracks, 3, 4, 0},
    {30, "ID_SUBTITLE_ID=", true, R"(ID_SUBTITLE_ID=(\d+)\s*)", PatternDoes::Insert, MediaTable::SubtitleTracks,
     1, 0, 0},
    {31, "ID_SID_", true, R"(ID_SID_(\d+)_LANG=(\w+))", PatternDoes::Correct, MediaTable::SubtitleTracks, 1, 2,
     0},
    {32, "A:", false, R"(A:\s*([\d\.]+)\s*V:\s*([\d\.]+)\s*A-V:\s*[ -]([\d\.]+)\s*ct:\s*[ -]([\d\.]+)\s*)",
     PatternDoes::Consume, MediaTable::AudioTracks, 0, 0, 0},
    {33, "A:", false, R"(A:\s*([\d\.]+)\s*.+\s*of\s*([\d\.]+)\s*.+\s*)", PatternDoes::Consume,
     MediaTable::AudioTracks, 0, 0, 0},
    {34, ", CHAPTERS:", false, R"(TITLE (\d+), CHAPTERS:\s*(.+))", PatternDoes::Insert,
     MediaTable::TitleChapterLists, 1, 2, 0},
    {35, "ID_BLURAY_CHAPTER=", true, R"(\bID_BLURAY_CHAPTER=(\d+),ID_BLURAY_CHAPTER_START=(\d+))",
     PatternDoes::InsertBlurayChapter, MediaTable::Chapters, 1, 2, 0},
    {36, "ID_BLURAY_AUDIO=", true, R"(ID_BLURAY_AUDIO=(\d+),ID_BLURAY_AUDIO_PID=(\d+),ID_BLURAY_AUDIO_LANG=(\w+))",
     PatternDoes::Insert, MediaTable::AudioTracks, 2, 3, 0},
    {37, "Added subtitle file (", false, R"(\bAdded subtitle file \((.+)\):\s+(.+))", PatternDoes::Insert,
     MediaTable::SubtitleFiles, 1, 2, 0},
    {38, "screenshot 'shot", false, R"(\s*screenshot 'shot(\d+).png'\s*)", PatternDoes::PostNumber,
     MediaTable::AudioTracks, 1, 0, EV_SCREENSHOT},
    {39, "VO:", false, R"(\bVO:\s*\[(\w+)\]\s*(\w+)\s*\=\>\s*(\w+)\s*)", PatternDoes::PostText,
     MediaTable::AudioTracks, 0, 3, EV_VIDEO_OUTPUT_SIZE},
    // The chapters of a Matroska or MP4 file, in milliseconds, and their names.
    {43, "ID_CHAPTER_", true, R"(ID_CHAPTER_(\d+)_START=(\d+)\s*)", PatternDoes::InsertFileChapter,
     MediaTable::FileChapters, 1, 2, 0},
    {44, "ID_CHAPTER_", true, R"(ID_CHAPTER_(\d+)_NAME=(.*))", PatternDoes::Insert, MediaTable::ChapterNames, 1, 2,
     0},
};
constexpr size_t kPatternCount = sizeof(kPatternTests) / sizeof(kPatternTests[0]);

// The engine's own track and notice lines are short. A longer line can only be raw
// media text; the backtracking matcher recurses per character, so it is not given one.
constexpr size_t kLongestPatternLine = 2048;

const std::vector<std::regex>& CompiledPatterns() {
    static const std::vector<std::regex> compiled = [] {
        std::vector<std::regex> out;
        out.reserve(kPatternCount);
        for (const PatternTest& test : kPatternTests) out.emplace_back(test.pattern, std::regex::ECMAScript);
        return out;
    }();
    return compiled;
}

std::string Group(const std::cmatch& match, int group) {
    return group > 0 ? match[group].str() : std::string("unknown");
}

ParsedLine FromPatternTest(const PatternTest& test, const std::cmatch& match) {
    ParsedLine out;
    out.test = test.number;
    out.table = test.table;
    switch (test.does) {
    case PatternDoes::Insert:
    case PatternDoes::Correct:
        out.action = test.does == PatternDoes::Insert ? LineAction::InsertTrack : LineAction::CorrectLanguage;
        out.key = ReadEngineInt(match[test.keyGroup].str());
        out.text = Group(match, test.textGroup);
        break;
    case PatternDoes::InsertBlurayChapter:
        // Chapters are printed from 1 and stored from 0.
        out.action = LineAction::InsertTrack;
        out.key = ReadEngineInt(match[test.keyGroup].str()) - 1;
        out.text = FormatChapterStart(ReadEngineInt(match[test.textGroup].str()));
        break;
    case PatternDoes::InsertFileChapter:
        out.action = LineAction::InsertTrack;
        out.key = ReadEngineInt(match[test.keyGroup].str());
        out.text = FormatChapterStart(ReadEngineInt(match[test.textGroup].str()) / 1000);
        break;
    case PatternDoes::Consume: out.action = LineAction::Consume; break;
    case PatternDoes::PostNumber:
        out.action = LineAction::PostEvent;
        out.event = EngineEvent::Number(test.code, ReadEngineInt(match[test.keyGroup].str()));
        break;
    case PatternDoes::PostText:
        out.action = LineAction::PostEvent;
        out.event = EngineEvent::Text(test.code, match[test.textGroup].str());
        break;
    }
    return out;
}

std::string TwoDigits(int32_t value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

}  // namespace

ParsedLine ClassifyEngineLine(std::string_view line) {
    if (line.empty()) return ParsedLine();
    for (const KeyTest& test : kKeyTests) {
        const size_t rest = FindKey(line, test);
        if (rest != std::string_view::npos) return FromKeyTest(test, line.substr(rest));
    }
    if (line.size() > kLongestPatternLine) return ParsedLine();
    const char* begin = line.data();
    const char* end = line.data() + line.size();
    for (size_t i = 0; i < kPatternCount; ++i) {
        const PatternTest& test = kPatternTests[i];
        if (test.atLineStart ? !StartsWith(line, test.literal)
                             : line.find(test.literal) == std::string_view::npos)
            continue;
        std::cmatch match;
        const auto flags = test.atLineStart ? std::regex_constants::match_continuous
                                            : std::regex_constants::match_default;
        if (std::regex_search(begin, end, match, CompiledPatterns()[i], flags))
            return FromPatternTest(test, match);
    }
    return ParsedLine();
}

int32_t ReadEngineInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;  // saturate; keep reading the digits
    }
    if (negative) return static_cast<int32_t>(-value);
    return value >= kLimit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

float ReadEngineFloat(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return 0.0f;  // "--1" is no number
    double value = 0.0;
    const auto result = std::from_chars(text.data() + i, text.data() + text.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value)) return 0.0f;
    if (std::fabs(value) > std::numeric_limits<float>::max()) return 0.0f;
    return static_cast<float>(negative ? -value : value);
}

std::string FormatChapterStart(int32_t seconds) {
    return TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" + TwoDigits(seconds % 60);
}

const char* MediaTableName(MediaTable table) {
    switch (table) {
    case MediaTable::SubtitleTracks: return "subtitleTracks";
    case MediaTable::SubtitleFiles: return "subtitleFiles";
    case MediaTable::TitleLengths: return "titleLengths";
    case MediaTable::AudioTracks: return "audioTracks";
    case MediaTable::TitleChapterLists: return "titleChapterLists";
    case MediaTable::Chapters: return "chapters";
    case MediaTable::FileChapters: return "fileChapters";
    case MediaTable::ChapterNames: return "chapterNames";
    }
    return "?";
}

}  // namespace orvella
