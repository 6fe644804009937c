// The engine controller fed with chunks directly (no child): its tables, GetChapters,
// and the events that reach a window of the fake platform with their payloads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "TestPlatform.h"
#include "engine/CmdMplayer.h"
#include "engine/EngineEvents.h"
#include "engine/MediaInfo.h"

using namespace orvella;

namespace {

// What the receiving window saw, in order.
struct Received {
    std::vector<EngineEvent> events;
    int unusable = 0;  // messages TakeEngineEvent refused
};
Received* g_received = nullptr;

LRESULT ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ENGINE_EVENT && g_received) {
        EngineEvent event;
        if (TakeEngineEvent(wParam, lParam, &event)) g_received->events.push_back(event);
        else ++g_received->unusable;
        return 0;
    }
    if (msg == WM_DESTROY) DiscardEngineEvents(hwnd);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

class CmdMplayerTest : public FakePlatformTest {
protected:
    CmdMplayerTest() { g_received = &received_; }
    ~CmdMplayerTest() override { g_received = nullptr; }

    HWND MakeReceiver() {
        platform::CreateParams params;
        params.className = "EngineReceiver";
        params.proc = &ReceiverProc;
        return CreateWindowEx(params);
    }
    static void Feed(CCmdMplayer& engine, const std::string& text) { engine.OnChildOutput(text.data(), text.size()); }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& e : received_.events) out.push_back(DescribeEngineEvent(e));
        return out;
    }

    Received received_;
};

}  // namespace

TEST_F(CmdMplayerTest, EventsReachTheWindowWithTheirPayloads) {
    HWND window = MakeReceiver();
    CCmdMplayer engine(window);
    Feed(engine,
         "ID_VIDEO_WIDTH=720\nID_VIDEO_HEIGHT=480\nID_DEMUXER=lavfpref\nID_VIDEO_ASPECT=1.7778\n"
         "ANS_TIME_POSITION=12.5\r\nVO: [xv] 720x480 => 720x480 Planar YV12 \n"
         "*** screenshot 'shot0003.png' ***\nID_EXIT=QUIT\n");
    EXPECT_TRUE(received_.events.empty());  // posted, not sent
    fake().DispatchPending();
    const std::vector<std::string> expected = {
        "EV_VIDEO_WIDTH 720", "EV_VIDEO_HEIGHT 480",          "EV_DEMUXER \"lavfpref\"",
        "EV_VIDEO_ASPECT 1.778", "EV_TIME_POSITION 12.5",     "EV_VIDEO_OUTPUT_SIZE \"720x480\"",
        "EV_SCREENSHOT 3",    "EV_EXIT"};
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(received_.unusable, 0);
    EXPECT_EQ(OutstandingEnginePayloads(), 0u);

    // The receiver's side: the output size gives the display size and the aspect.
    MediaInfo info;
    std::vector<EngineReaction> reactions;
    for (const auto& e : received_.events) reactions.push_back(ApplyEngineEvent(info, e));
    EXPECT_EQ(info.displayWidth, 720);
    EXPECT_EQ(info.displayHeight, 480);
    EXPECT_FLOAT_EQ(info.aspect, 1.5f);
    EXPECT_EQ(reactions[5], EngineReaction::LayoutVideoArea);
    EXPECT_EQ(reactions[6], EngineReaction::ShowScreenshot);
    EXPECT_EQ(reactions[7], EngineReaction::EndOfPlayback);
}

TEST_F(CmdMplayerTest, ALineSplitOverChunksPostsOnceWhenComplete) {
    HWND window = MakeReceiver();
    CCmdMplayer engine(window);
    Feed(engine, "ID_VIDEO_WI");
    fake().DispatchPending();
    EXPECT_TRUE(received_.events.empty());
    Feed(engine, "DTH=1280\r");
    Feed(engine, "\n");
    fake().DispatchPending();
    EXPECT_EQ(Names(), std::vector<std::string>{"EV_VIDEO_WIDTH 1280"});
}

TEST_F(CmdMplayerTest, NothingLeaksWhenTheWindowIsGone) {
    HWND window = MakeReceiver();
    auto engine = std::make_unique<CCmdMplayer>(window);
    Feed(*engine, "ANS_LENGTH=5.00\nID_DEMUXER=mkv\nID_VIDEO_WIDTH=1\n");
    EXPECT_EQ(OutstandingEnginePayloads(), 2u);  // the width travels in lParam itself
    // Gone with the messages still queued: the receiver's WM_DESTROY frees the copies.
    DestroyWindow(window);
    EXPECT_EQ(OutstandingEnginePayloads(), 0u);
    fake().DispatchPending();
    EXPECT_TRUE(received_.events.empty());
    // Posting to the dead window keeps nothing.
    Feed(*engine, "ANS_LENGTH=6.00\nID_VIDEO_CODEC=ffh264\n");
    EXPECT_EQ(OutstandingEnginePayloads(), 0u);
    engine.reset();
    EXPECT_EQ(OutstandingEnginePayloads(), 0u);
}

TEST_F(CmdMplayerTest, PostsFromTheReaderThreadArriveInOrder) {
    HWND window = MakeReceiver();
    CCmdMplayer engine(window);
    std::thread reader([&] {
        for (int i = 1; i <= 200; ++i) Feed(engine, "ANS_TIME_POSITION=" + std::to_string(i) + ".0\n");
    });
    reader.join();
    fake().DispatchPending();
    ASSERT_EQ(received_.events.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_FLOAT_EQ(received_.events[i].real, float(i + 1));
    EXPECT_EQ(OutstandingEnginePayloads(), 0u);
}

TEST_F(CmdMplayerTest, ForgedOrRepeatedPayloadsAreRefused) {
    HWND window = MakeReceiver();
    int dummy = 0;
    PostMessage(window, WM_ENGINE_EVENT, EV_LENGTH, reinterpret_cast<LPARAM>(&dummy));
    PostMessage(window, WM_ENGINE_EVENT, EV_LAST + 1, 0);
    fake().DispatchPending();
    EXPECT_TRUE(received_.events.empty());
    EXPECT_EQ(received_.unusable, 2);
}

TEST(CmdMplayerTablesTest, InsertNeverOverwritesAndOnlyCorrectionsReplace) {
    CCmdMplayer engine;
    const std::string lines =
        "ID_AUDIO_ID=1\n"
        "[mkv] Track ID 2: audio (A_AAC), -aid 1, -alang jpn\n"  // listed again: kept
        "ID_AUDIO_ID=128\nID_AID_128_LANG=eng\n"
        "ID_AID_5_LANG=fra\n"  // no such track: dropped
        "ID_SUBTITLE_ID=0\nsubtitle ( sid ): 0 language: de\nID_SID_0_LANG=ger\n";
    engine.OnChildOutput(lines.data(), lines.size());
    EXPECT_EQ(engine.GetAudioTracks(), (TrackTable{{1, "unknown"}, {128, "eng"}}));
    EXPECT_EQ(engine.GetSubtitleTracks(), (TrackTable{{0, "ger"}}));
}

TEST(CmdMplayerTablesTest, TitleSwitchEmptiesOnlyTheTrackTables) {
    CCmdMplayer engine;
    const std::string lines =
        "ID_DVD_TITLE_1_LENGTH=12.000\nTITLE 1, CHAPTERS: 00:00:04,\n"
        "ID_AUDIO_ID=128\nID_SUBTITLE_ID=0\nSUB: Added subtitle file (1): a.srt\n"
        "DVDNAV, switched to title: 3\r\n";
    engine.OnChildOutput(lines.data(), lines.size());
    EXPECT_EQ(engine.GetCurrentTitle(), 3);
    EXPECT_TRUE(engine.GetAudioTracks().empty());
    EXPECT_TRUE(engine.GetSubtitleTracks().empty());
    EXPECT_EQ(engine.GetTitleLengths().size(), 1u);
    EXPECT_EQ(engine.GetTitleChapterLists().size(), 1u);
    EXPECT_EQ(engine.GetSubtitleFiles(), (TrackTable{{1, "a.srt"}}));
    engine.ClearSubtitleFiles();
    EXPECT_TRUE(engine.GetSubtitleFiles().empty());
}

TEST(CmdMplayerTablesTest, ChapterStartsOfDvdTitlesAndFiles) {
    struct Case {
        const char* lines;
        TrackTable chapters;
    };
    const Case cases[] = {
        // With the disc's menus the engine lists chapter ends in whole seconds; the last
        // is the title's end.
        {"TITLE 1, CHAPTERS: 00:00:04,00:00:07,00:00:12,\nDVDNAV, switched to title: 1\n",
         {{0, "00:00:00"}, {1, "00:00:04"}, {2, "00:00:07"}}},
        // Without them, the starts with milliseconds.
        {"TITLE 1, CHAPTERS: 00:00:00.000,00:00:04.200,00:00:07.800,\nDVDNAV, switched to title: 1\n",
         {{0, "00:00:00.000"}, {1, "00:00:04.200"}, {2, "00:00:07.800"}}},
        // Text after the last comma is no item.
        {"TITLE 1, CHAPTERS: 00:00:04,00:00:07,00:00:12\nDVDNAV, switched to title: 1\n",
         {{0, "00:00:00"}, {1, "00:00:04"}}},
        // The current title has no list.
        {"TITLE 1, CHAPTERS: 00:00:04,\nDVDNAV, switched to title: 2\n", {{0, "00:00:00"}}},
        {"", {{0, "00:00:00"}}},
        // A file's own chapters, in milliseconds, named where the file names them.
        {"ID_CHAPTER_ID=0\nID_CHAPTER_0_START=0\nID_CHAPTER_0_END=4000\nID_CHAPTER_0_NAME=Intro\n"
         "ID_CHAPTER_1_START=4000\nID_CHAPTER_1_NAME=\nID_CHAPTER_2_START=3725000\nID_CHAPTERS=3\n",
         {{0, "00:00:00 Intro"}, {1, "00:00:04"}, {2, "01:02:05"}}},
    };
    for (const Case& c : cases) {
        CCmdMplayer engine;
        engine.OnChildOutput(c.lines, std::strlen(c.lines));
        EXPECT_EQ(engine.GetChapters(), c.chapters) << c.lines;
        EXPECT_EQ(engine.GetChapters(), c.chapters) << "rebuilt the same: " << c.lines;
    }
}

TEST(CmdMplayerTablesTest, AnswersTellWhatPlaysUntilTheTitleChanges) {
    CCmdMplayer engine;
    EXPECT_EQ(engine.GetTables().currentAudio, kNotAnswered);
    const std::string answers = "ANS_switch_audio=129\nANS_sub_demux=-1\nANS_chapter=2\n";
    engine.OnChildOutput(answers.data(), answers.size());
    MediaTables t = engine.GetTables();
    EXPECT_EQ(t.currentAudio, 129);
    EXPECT_EQ(t.currentSubtitle, -1);
    EXPECT_EQ(t.currentChapter, 2);
    const std::string next = "DVDNAV, switched to title: 2\n";
    engine.OnChildOutput(next.data(), next.size());
    t = engine.GetTables();
    EXPECT_EQ(t.currentAudio, kNotAnswered);
    EXPECT_EQ(t.currentChapter, kNotAnswered);
}

TEST(CmdMplayerTablesTest, GetChaptersForBluray) {
    CCmdMplayer engine;
    const std::string lines =
        "ID_BLURAY_TITLE_1_CHAPTERS=2\n"
        "ID_BLURAY_CHAPTER=1,ID_BLURAY_CHAPTER_START=0\n"
        "ID_BLURAY_CHAPTER=2,ID_BLURAY_CHAPTER_START=3725\n"
        "ID_BLURAY_AUDIO=0,ID_BLURAY_AUDIO_PID=4352,ID_BLURAY_AUDIO_LANG=eng\n";
    engine.OnChildOutput(lines.data(), lines.size());
    EXPECT_TRUE(engine.IsBluray());
    EXPECT_EQ(engine.GetChapters(), (TrackTable{{0, "00:00:00"}, {1, "01:02:05"}}));
    EXPECT_EQ(engine.GetAudioTracks(), (TrackTable{{4352, "eng"}}));
}

TEST(CmdMplayerTablesTest, ReceiverRules) {
    MediaInfo info;
    // An aspect while the display size is unknown is only stored.
    EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Real(EV_VIDEO_ASPECT, 1.25f)), EngineReaction::None);
    EXPECT_FLOAT_EQ(info.aspect, 1.25f);
    // An output size without "x" or with a zero side changes nothing.
    for (const char* bad : {"720", "0x480", "720x0", "x"})
        EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Text(EV_VIDEO_OUTPUT_SIZE, bad)), EngineReaction::None) << bad;
    EXPECT_EQ(info.displayWidth, 0);
    EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Text(EV_VIDEO_OUTPUT_SIZE, "426x240")),
              EngineReaction::LayoutVideoArea);
    EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Real(EV_VIDEO_ASPECT, 1.25f)), EngineReaction::LayoutVideoArea);
    EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Plain(EV_AUDIO_ONLY)), EngineReaction::LayoutVideoArea);
    EXPECT_TRUE(info.audioOnly);
    EXPECT_EQ(ApplyEngineEvent(info, EngineEvent::Plain(EV_LAST + 1)), EngineReaction::None);
}

TEST(CmdMplayerTablesTest, AssemblerBoundsLinesWithoutEnds) {
    LineAssembler assembler(1000);
    std::vector<std::string> lines;
    auto collect = [&](std::string_view line) { lines.emplace_back(line); };
    const std::string flood(300, 'x');
    for (int i = 0; i < 1000; ++i) assembler.Feed(flood.data(), flood.size(), collect);
    EXPECT_LE(assembler.Pending().capacity(), 2000u);
    assembler.Feed("tail\rID_EXIT=EOF\r", 17, collect);  // the overlong line ends at the first \r
    EXPECT_EQ(lines, std::vector<std::string>{"ID_EXIT=EOF"});
    EXPECT_EQ(assembler.DroppedLines(), 1u);
    assembler.Feed("a\r", 2, collect);
    assembler.Feed("\nb\n\n", 4, collect);
    EXPECT_EQ(lines, (std::vector<std::string>{"ID_EXIT=EOF", "a", "b"}));
    EXPECT_EQ(assembler.Pending(), "");
}
