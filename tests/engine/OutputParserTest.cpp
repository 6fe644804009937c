// The line classifier and the controller's tables, on single lines and on what the real
// engine printed (tests/data/engine-output/, captured from Debian's MPlayer 1.5).
#include <gtest/gtest.h>

#include <dirent.h>

#include <string>
#include <vector>

#include "engine/CmdMplayer.h"
#include "engine/OutputParser.h"
#include "engine/EngineOutputReplay.h"

using namespace orvella;
using enginetest::Replay;
using enginetest::ReplayCaptures;

namespace {

std::string Describe(const ParsedLine& p) {
    std::string out = "test " + std::to_string(p.test) + ": ";
    switch (p.action) {
    case LineAction::None: return out + "none";
    case LineAction::Consume: return out + "consume";
    case LineAction::PostEvent: return out + DescribeEngineEvent(p.event);
    case LineAction::SwitchTitle: return out + "title " + std::to_string(p.key);
    case LineAction::SetBluray: return out + "bluray";
    case LineAction::InsertTrack: out += "insert "; break;
    case LineAction::CorrectLanguage: out += "correct "; break;
    case LineAction::SetCurrent: out += "current "; break;
    }
    return out + MediaTableName(p.table) + " " + std::to_string(p.key) + " -> \"" + p.text + "\"";
}

ParsedLine Post(int test, EngineEvent e) {
    ParsedLine p;
    p.test = test;
    p.action = LineAction::PostEvent;
    p.event = std::move(e);
    return p;
}
ParsedLine Act(int test, LineAction action, MediaTable table = MediaTable::AudioTracks, int32_t key = 0,
               std::string text = "") {
    ParsedLine p;
    p.test = test;
    p.action = action;
    p.table = table;
    p.key = key;
    p.text = std::move(text);
    return p;
}
ParsedLine Nothing() { return ParsedLine(); }

struct LineCase {
    const char* line;
    ParsedLine expected;
};

}  // namespace

TEST(OutputParserTest, ClassifiesOneLine) {
    using E = EngineEvent;
    const MediaTable kAudio = MediaTable::AudioTracks, kSubs = MediaTable::SubtitleTracks;
    const LineCase cases[] = {
        {"", Nothing()},
        {"ID_EXIT=EOF", Post(1, E::Plain(EV_EXIT))},
        // The first test wins: the width in the same line is never looked at.
        {"ID_EXIT=QUIT ID_VIDEO_WIDTH=640", Post(1, E::Plain(EV_EXIT))},
        {"Audio only file format detected.", Post(2, E::Plain(EV_AUDIO_ONLY))},
        {"Video: no video", Post(2, E::Plain(EV_AUDIO_ONLY))},
        {"ID_VIDEO_WIDTH=320", Post(3, E::Number(EV_VIDEO_WIDTH, 320))},
        {"ID_VIDEO_WIDTH=abc", Post(3, E::Number(EV_VIDEO_WIDTH, 0))},
        {"ID_VIDEO_HEIGHT= 240", Post(4, E::Number(EV_VIDEO_HEIGHT, 240))},
        {"ID_VIDEO_ASPECT=0.0000", Act(5, LineAction::Consume)},
        {"ID_VIDEO_ASPECT=1.7778", Post(5, E::Real(EV_VIDEO_ASPECT, 1.7778f))},
        {"ANS_LENGTH=5.00", Post(6, E::Real(EV_LENGTH, 5.0f))},
        {"ANS_TIME_POSITION=0.9", Post(7, E::Real(EV_TIME_POSITION, 0.9f))},
        {"DVDNAV_TITLE_IS_MENU", Post(8, E::Plain(EV_DVD_MENU))},
        {"DVDNAV_TITLE_IS_MOVIE", Post(9, E::Plain(EV_DVD_MOVIE))},
        {"DVDNAV, switched to title: 3", Act(10, LineAction::SwitchTitle, kAudio, 3)},
        {"ID_DEMUXER=lavfpref", Post(11, E::Text(EV_DEMUXER, "lavfpref"))},
        {"ID_VIDEO_CODEC=ffh264", Post(12, E::Text(EV_VIDEO_CODEC, "ffh264"))},
        {"ID_AUDIO_CODEC=ffaac", Post(13, E::Text(EV_AUDIO_CODEC, "ffaac"))},
        {"ID_VIDEO_BITRATE=56408", Post(14, E::Number(EV_VIDEO_BITRATE, 56408))},
        {"ID_VIDEO_FPS=25.000", Post(15, E::Real(EV_VIDEO_FPS, 25.0f))},
        {"ID_AUDIO_BITRATE=96336", Post(16, E::Number(EV_AUDIO_BITRATE, 96336))},
        {"ID_AUDIO_RATE=44100", Post(17, E::Number(EV_AUDIO_RATE, 44100))},
        {"ID_AUDIO_NCH=2", Post(18, E::Number(EV_AUDIO_CHANNELS, 2))},
        {"File not found: 'media/missing.mp4'", Post(19, E::Plain(EV_OPEN_FAILED))},
        {"Failed to open media/missing.mp4.", Post(19, E::Plain(EV_OPEN_FAILED))},
        {"NAME OPEN FAILED", Post(19, E::Plain(EV_OPEN_FAILED))},
        // Not the media's failures.
        {"Failed to open LIRC support. You will not be able to use your remote control.", Act(19, LineAction::Consume)},
        {"Failed to open VDPAU backend libvdpau_nvidia.so: cannot open shared object file", Act(19, LineAction::Consume)},
        {"meta_parse.c:158: Failed to open meta dir BDMV/META/DL/", Nothing()},
        {"ID_FILE_SUB_ID=0", Post(20, E::Number(EV_FILE_SUB_ID, 0))},
        {"ID_BLURAY_TITLE_1_LENGTH=12.988", Post(21, E::Real(EV_BLURAY_TITLE_LENGTH, 12.988f))},
        {"ID_BLURAY_TITLE_LENGTH=60.5", Post(21, E::Real(EV_BLURAY_TITLE_LENGTH, 60.5f))},
        {"ID_BLURAY_TITLE_12_CHAPTERS=3", Act(22, LineAction::SetBluray)},
        {"Starting playback...", Post(22, E::Plain(EV_PLAYBACK_STARTED))},
        {"ID_BLURAY_TITLE_1_ANGLE=1", Nothing()},
        {"ID_BLURAY_TITLES=1", Nothing()},
        {"ID_DVD_TITLE_1_LENGTH=12.000", Act(23, LineAction::InsertTrack, MediaTable::TitleLengths, 1, "12.000")},
        {"ID_DVD_TITLE_1_CHAPTERS=3", Nothing()},
        // The last "." of the pattern takes the last character.
        {"audio stream: 0 format: ac3 (stereo) language: en aid: 128.",
         Act(24, LineAction::InsertTrack, kAudio, 128, "en ")},
        {"audio stream: 0 format: ac3 (stereo) language: en aid: 128",
         Act(24, LineAction::InsertTrack, kAudio, 12, "en ")},
        {"[mkv] Track ID 2: audio (A_AAC) \"English tone\", -aid 0, -alang eng",
         Act(25, LineAction::InsertTrack, kAudio, 0, "eng")},
        {"ID_AUDIO_ID=128", Act(26, LineAction::InsertTrack, kAudio, 128, "unknown")},
        {"ID_AID_128_LANG=eng", Act(27, LineAction::CorrectLanguage, kAudio, 128, "eng")},
        {"subtitle ( sid ): 0 language: de", Act(28, LineAction::InsertTrack, kSubs, 0, "de")},
        {"[mkv] Track ID 4: subtitles (S_TEXT/UTF8) \"Deutsch\", -sid 0, -slang ger",
         Act(29, LineAction::InsertTrack, kSubs, 0, "ger")},
        {"ID_SUBTITLE_ID=2", Act(30, LineAction::InsertTrack, kSubs, 2, "unknown")},
        {"ID_SID_0_LANG=ger", Act(31, LineAction::CorrectLanguage, kSubs, 0, "ger")},
        {"A:   1.0 V:   1.0 A-V: -0.001 ct: -0.021   0/  0  0%  0%  0.3% 0 0 \x1b[J", Act(32, LineAction::Consume)},
        {"A:   2.5 (02.4) of 5.0 (05.0)  0.3% ", Act(33, LineAction::Consume)},
        {"TITLE 1, CHAPTERS: 00:00:04,00:00:07,00:00:12,",
         Act(34, LineAction::InsertTrack, MediaTable::TitleChapterLists, 1, "00:00:04,00:00:07,00:00:12,")},
        {"ID_BLURAY_CHAPTER=1,ID_BLURAY_CHAPTER_START=3725",
         Act(35, LineAction::InsertTrack, MediaTable::Chapters, 0, "01:02:05")},
        {"ID_BLURAY_AUDIO=0,ID_BLURAY_AUDIO_PID=4352,ID_BLURAY_AUDIO_LANG=eng",
         Act(36, LineAction::InsertTrack, kAudio, 4352, "eng")},
        {"SUB: Added subtitle file (1): media/subs.srt",
         Act(37, LineAction::InsertTrack, MediaTable::SubtitleFiles, 1, "media/subs.srt")},
        {"*** screenshot 'shot0003.png' ***", Post(38, E::Number(EV_SCREENSHOT, 3))},
        {"VO: [null] 320x240 => 720x480 Planar YV12 ", Post(39, E::Text(EV_VIDEO_OUTPUT_SIZE, "720x480"))},
        {"VO: [x11] 320x240 => 426x240 Planar YV12  [zoom]", Post(39, E::Text(EV_VIDEO_OUTPUT_SIZE, "426x240"))},
        {"ANS_switch_audio=129", Act(40, LineAction::SetCurrent, kAudio, 129)},
        {"ANS_sub_demux=-1", Act(41, LineAction::SetCurrent, kSubs, -1)},
        {"ANS_chapter=1", Act(42, LineAction::SetCurrent, MediaTable::Chapters, 1)},
        {"ID_CHAPTER_1_START=10000", Act(43, LineAction::InsertTrack, MediaTable::FileChapters, 1, "00:00:10")},
        {"ID_CHAPTER_1_NAME=Middle part", Act(44, LineAction::InsertTrack, MediaTable::ChapterNames, 1, "Middle part")},
        {"ID_CHAPTER_ID=1", Nothing()},
        {"ID_CHAPTER_1_END=20000", Nothing()},
        {"Playing media/video.mp4.", Nothing()},
        // Keys of identification and answers count only at the start of a line: a
        // title tag is printed raw, behind other text.
        {" title: Evil ID_EXIT=QUIT", Nothing()},
        {"ID_CLIP_INFO_VALUE3=Evil ID_EXIT=QUIT", Nothing()},
        {"ID_CLIP_INFO_VALUE0=x ANS_LENGTH=999.00", Nothing()},
        {"ID_CLIP_INFO_VALUE0=x ID_AUDIO_ID=7", Nothing()},
    };
    for (const LineCase& c : cases) {
        const ParsedLine actual = ClassifyEngineLine(c.line);
        EXPECT_EQ(Describe(c.expected), Describe(actual)) << "line: \"" << c.line << "\"";
    }
}

TEST(OutputParserTest, ReadsNumbersAsTheEnginePrintsThem) {
    EXPECT_EQ(ReadEngineInt("  42abc"), 42);
    EXPECT_EQ(ReadEngineInt("-7"), -7);
    EXPECT_EQ(ReadEngineInt("+"), 0);
    EXPECT_EQ(ReadEngineInt("99999999999"), 2147483647);
    EXPECT_EQ(ReadEngineInt("-99999999999"), -2147483647 - 1);
    EXPECT_FLOAT_EQ(ReadEngineFloat(" 12.988\n"), 12.988f);
    EXPECT_FLOAT_EQ(ReadEngineFloat("-0.5x"), -0.5f);
    EXPECT_FLOAT_EQ(ReadEngineFloat("1e400"), 0.0f);
    EXPECT_FLOAT_EQ(ReadEngineFloat("nan"), 0.0f);
    EXPECT_FLOAT_EQ(ReadEngineFloat(""), 0.0f);
    EXPECT_EQ(FormatChapterStart(0), "00:00:00");
    EXPECT_EQ(FormatChapterStart(3725), "01:02:05");
    EXPECT_EQ(FormatChapterStart(360000), "100:00:00");
}

TEST(OutputParserTest, OverlongLinesSkipThePatternsWithoutHarm) {
    std::string line = "audio stream: 1 format: " + std::string(200000, 'x') + " language: en aid: 1.";
    EXPECT_EQ(ClassifyEngineLine(line).action, LineAction::None);
}

// ---- the captures ----

struct CaptureCase {
    std::vector<std::string> files;
    int width, height;
    float aspect, length;
    bool audioOnly;
    int exits, openFailures;
    TrackTable audio, subtitles;
    std::string demuxer;
};

TEST(OutputParserTest, CapturedOutputsGiveTheirMediaInfo) {
    const CaptureCase cases[] = {
        {{"null_video_mp4.stdout"}, 320, 240, 320.f / 240, 5.0f, false, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"eof_video_mp4.stdout"}, 320, 240, 320.f / 240, 0.0f, false, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"noquiet_video_mp4.stdout"}, 320, 240, 320.f / 240, 5.0f, false, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        // stderr on the same pipe: the remote-control failure is no open failure.
        {{"merged_2to1_video_mp4.out"}, 320, 240, 320.f / 240, 5.0f, false, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        // Anamorphic: the aspect comes from the output size 426x240.
        {{"null_video_169_mp4.stdout"}, 320, 240, 426.f / 240, 5.0f, false, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"null_video_mpeg4_avi.stdout"}, 320, 240, 320.f / 240, 5.04f, false, 1, 0, {{1, "unknown"}}, {}, "avi"},
        {{"null_multi_mkv.stdout"}, 320, 240, 320.f / 240, 5.02f, false, 1, 0, {{0, "eng"}, {1, "fra"}}, {{0, "ger"}},
         "lavfpref"},
        {{"null_multi_mkv_demuxer_mkv.stdout"}, 320, 240, 320.f / 240, 5.02f, false, 1, 0, {{0, "eng"}, {1, "fra"}},
         {{0, "ger"}}, "mkv"},
        {{"null_long_chapters_mkv.stdout"}, 320, 240, 320.f / 240, 30.02f, false, 1, 0, {{0, "unknown"}}, {},
         "lavfpref"},
        {{"null_audio_mp3.stdout"}, 0, 0, 0.0f, 5.0f, true, 1, 0, {{0, "unknown"}}, {}, "audio"},
        {{"null_audio_wav.stdout"}, 0, 0, 0.0f, 5.0f, true, 1, 0, {{0, "unknown"}}, {}, "audio"},
        {{"null_audio_ogg.stdout"}, 0, 0, 0.0f, 5.0f, true, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"null_audio_flac.stdout"}, 0, 0, 0.0f, 5.0f, true, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"null_audio_m4a.stdout"}, 0, 0, 0.0f, 5.0f, true, 1, 0, {{0, "unknown"}}, {}, "lavfpref"},
        {{"null_missing_mp4.stdout", "null_missing_mp4.stderr"}, 0, 0, 0.0f, 0.0f, false, 1, 2, {}, {}, ""},
        {{"dvdnav_missingdir.stdout", "dvdnav_missingdir.stderr"}, 0, 0, 0.0f, 0.0f, false, 1, 0, {}, {}, ""},
        {{"bluray_emptydir.stdout", "bluray_emptydir.stderr"}, 0, 0, 0.0f, 0.0f, false, 1, 0, {}, {}, ""},
        {{"bad_option_priority.stdout", "bad_option_priority.stderr"}, 0, 0, 0.0f, 0.0f, false, 1, 0, {}, {}, ""},
        {{"null_notmedia_txt.stdout"}, 0, 0, 0.0f, 0.0f, false, 1, 0, {}, {}, ""},
        // A title tag with line feeds: its "ID_EXIT=" is no exit, and the real values
        // printed after the forged ones win.
        {{"null_metadata_injection_mp4.stdout"}, 320, 240, 320.f / 240, 5.0f, false, 1, 0, {{0, "unknown"}}, {},
         "lavfpref"},
        {{"dvd_null.stdout"}, 720, 576, 768.f / 576, 12.0f, false, 1, 0, {{128, "en"}, {129, "fr"}}, {{0, "de"}},
         "mpegps"},
        // The Blu-ray title length, then the answer to the length query (the later wins).
        {{"bluray_null.stdout"}, 320, 240, 320.f / 240, 12.0f, false, 1, 0, {{4352, "eng"}, {4353, "fra"}}, {},
         "mpegts"},
    };
    for (const CaptureCase& c : cases) {
        SCOPED_TRACE(c.files.front());
        const Replay r = ReplayCaptures(c.files);
        EXPECT_EQ(r.info.videoWidth, c.width);
        EXPECT_EQ(r.info.videoHeight, c.height);
        EXPECT_NEAR(r.info.aspect, c.aspect, 1e-4);
        EXPECT_NEAR(r.info.length, c.length, 1e-4);
        EXPECT_EQ(r.info.audioOnly, c.audioOnly);
        EXPECT_EQ(r.Count(EV_EXIT), c.exits);
        EXPECT_EQ(r.Count(EV_OPEN_FAILED), c.openFailures);
        EXPECT_EQ(r.tables.audioTracks, c.audio);
        EXPECT_EQ(r.tables.subtitleTracks, c.subtitles);
        EXPECT_EQ(r.info.demuxer, c.demuxer);
    }
}

TEST(OutputParserTest, DvdMenuCaptureGivesTitlesChaptersAndMenuState) {
    const Replay r = ReplayCaptures({"dvdnav_null.stdout"});
    EXPECT_TRUE(r.info.inDvdMenu);
    EXPECT_EQ(r.tables.currentTitle, 1);
    EXPECT_FALSE(r.tables.isBluray);
    EXPECT_EQ(r.tables.titleLengths, (TrackTable{{1, "12.000"}, {2, "4.000"}}));
    EXPECT_EQ(r.tables.titleChapterLists,
              (TrackTable{{1, "00:00:04,00:00:07,00:00:12,"}, {2, "00:00:04,"}}));
    EXPECT_EQ(r.chapters, (TrackTable{{0, "00:00:00"}, {1, "00:00:04"}, {2, "00:00:07"}}));
    EXPECT_EQ(r.tables.audioTracks.size(), 8u);  // aid 128 ... 135
    EXPECT_EQ(r.tables.audioTracks.begin()->first, 128);
    EXPECT_EQ(r.tables.audioTracks.rbegin()->first, 135);
    EXPECT_EQ(r.tables.subtitleTracks, (TrackTable{{0, "unknown"}}));
    EXPECT_EQ(r.info.displayWidth, 768);
    EXPECT_EQ(r.info.displayHeight, 576);
}

TEST(OutputParserTest, LeavingTheDvdMenuClearsTheMenuState) {
    const Replay r = ReplayCaptures({"slave_dvdnav_D_switch_title2.stdout"});
    EXPECT_FALSE(r.info.inDvdMenu);
    EXPECT_EQ(r.Count(EV_DVD_MENU), 2);
    EXPECT_EQ(r.Count(EV_DVD_MOVIE), 1);
    // The switch emptied the audio table; the movie's streams are listed again.
    EXPECT_EQ(r.tables.audioTracks, (TrackTable{{128, "en"}, {129, "fr"}}));
}

TEST(OutputParserTest, BlurayCaptureSetsTheBlurayFlag) {
    const Replay r = ReplayCaptures({"bluray_null.stdout"});
    EXPECT_TRUE(r.tables.isBluray);
    EXPECT_EQ(r.Count(EV_BLURAY_TITLE_LENGTH), 1);
    EXPECT_TRUE(r.chapters.empty());  // this engine prints no chapter starts
}

TEST(OutputParserTest, SubtitleFileAndScreenshotsFromCaptures) {
    const Replay sub = ReplayCaptures({"null_video_mp4_with_sub.stdout"});
    EXPECT_EQ(sub.tables.subtitleFiles, (TrackTable{{1, "media/subs.srt"}}));
    EXPECT_EQ(sub.Numbers(EV_FILE_SUB_ID), std::vector<int>{0});

    const Replay shots = ReplayCaptures({"slave_video_x11.stdout"});
    EXPECT_EQ(shots.Numbers(EV_SCREENSHOT), (std::vector<int>{1, 2}));
}

TEST(OutputParserTest, EveryCaptureParsesWithOneExitAtMost) {
    DIR* dir = opendir(enginetest::CaptureFolder().c_str());
    ASSERT_NE(dir, nullptr);
    int files = 0;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name[0] == '.') continue;
        ++files;
        SCOPED_TRACE(name);
        const std::string bytes = enginetest::ReadCapture(name);
        const bool printsExit = bytes.rfind("\nID_EXIT=") != std::string::npos;
        // Odd chunk sizes put the splits everywhere, "\r\n" included.
        const Replay whole = ReplayCaptures({name}, bytes.size() + 1);
        const Replay split = ReplayCaptures({name}, 7);
        EXPECT_EQ(whole.Count(EV_EXIT), printsExit ? 1 : 0);
        ASSERT_EQ(whole.events.size(), split.events.size());
        for (size_t i = 0; i < whole.events.size(); ++i)
            EXPECT_EQ(DescribeEngineEvent(whole.events[i]), DescribeEngineEvent(split.events[i]));
        EXPECT_EQ(whole.tables.audioTracks, split.tables.audioTracks);
    }
    closedir(dir);
    EXPECT_GT(files, 50);
}
