// Classification of one line of the engine's output. Pure: the same line always gives
// the same result, and nothing is changed; CCmdMplayer applies the result to its
// tables and posts the event.
//
// The tests run in a fixed order and the first that hits decides, whether or not its
// hit changes anything. The cheap key tests come first, so the frequent answer lines
// never reach a regular expression; each pattern runs only on lines that hold a
// literal part of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/EngineEvents.h"

namespace orvella {

enum class LineAction {
    None,             // no test hit: the line is ignored
    Consume,          // a test hit that changes nothing (aspect 0, status lines)
    PostEvent,        // post `event`
    SwitchTitle,      // DVD title `key`: currentTitle := key, audio and subtitle tables emptied
    SetBluray,        // isBluray := true
    InsertTrack,      // insert key → text into `table` unless key is present
    CorrectLanguage,  // if `table` has key, its text := text
    SetCurrent,       // the engine's answer: the current entry of `table` is `key`
};

enum class MediaTable {
    SubtitleTracks,
    SubtitleFiles,
    TitleLengths,
    AudioTracks,
    TitleChapterLists,
    Chapters,
    FileChapters,  // a file's own chapters: index → start
    ChapterNames,  // a file's own chapters: index → name
};

struct ParsedLine {
    int test = 0;  // which of the ordered tests hit (0: none)
    LineAction action = LineAction::None;
    EngineEvent event;                       // PostEvent
    MediaTable table = MediaTable::AudioTracks;  // InsertTrack, CorrectLanguage, SetCurrent
    int32_t key = 0;                         // InsertTrack, CorrectLanguage, SwitchTitle, SetCurrent
    std::string text;                        // InsertTrack, CorrectLanguage
};

// One line without its line end. An empty line matches nothing.
ParsedLine ClassifyEngineLine(std::string_view line);

// Numbers as the engine's lines are read everywhere: leading white space skipped, an
// optional sign, then as many digits (and for a float, a fraction and exponent) as
// follow; 0 when there are none. Integers saturate at the 32-bit limits; a float that
// is out of range or not finite reads 0. Independent of the process's locale.
int32_t ReadEngineInt(std::string_view text);
float ReadEngineFloat(std::string_view text);

// "01:02:05" for 3725 seconds (hours keep all their digits past 99).
std::string FormatChapterStart(int32_t seconds);

const char* MediaTableName(MediaTable table);

}  // namespace orvella
