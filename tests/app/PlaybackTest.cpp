// Playback and the play list through the main window on the headless platform, with a
// scripted engine: what is launched, what is sent, and what the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/PlaybackRules.h"
#include "hotkeys/HotkeyTable.h"
#include "library/SettingsHost.h"
#include "library/PlayMemory.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/QuestionWnd.h"
#include "uilib/Container.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/List.h"
#include "uilib/controls/Progress.h"
#include "uilib/controls/Slider.h"

namespace orvella {
namespace {

TEST(PlaybackRules, PlayTimeText) {
    const struct {
        float position, length;
        const char* text;
    } cases[] = {
        {3725.46f, 7200.0f, "01:02:05.4/02:00:00.0"},
        {0.0f, 0.0f, "00:00:00.0/00:00:00.0"},
        {59.99f, 61.0f, "00:00:59.9/00:01:01.0"},
        {-3.0f, NAN, "00:00:00.0/00:00:00.0"},
        {360000.0f, INFINITY, "100:00:00.0/00:00:00.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatPlayTime(c.position, c.length), c.text);
    EXPECT_EQ(PositionPercent(30.0f, 60.0f), 50);
    EXPECT_EQ(PositionPercent(30.0f, 0.0f), 0);
    EXPECT_EQ(PositionPercent(90.0f, 60.0f), 100);
    EXPECT_EQ(ResumeSeconds(754.9f), 754);
    EXPECT_EQ(ResumeSeconds(NAN), 0);
}

TEST(PlaybackRules, WindowFitsTheVideo) {
    const struct {
        int w, h;
        float aspect;
        int workW, workH, skin;
        LONG cx, cy;
    } cases[] = {
        {1920, 1080, 1.7778f, 1280, 1000, 1, 968, 640},  // halved once
        {640, 360, 1.7778f, 1280, 1000, 0, 642, 452},    // fits as it is
        {720, 576, 1.7778f, 1280, 1000, 1, 728, 504},    // height follows the aspect
        {3840, 2160, 1.7778f, 1280, 700, 1, 968, 640},   // halved twice
        {100, 100, 1.0f, 10, 10, 1, 9, 101},              // a work area below the bars ends
    };
    for (const auto& c : cases) {
        SIZE s = FitWindowToVideo(c.w, c.h, c.aspect, c.workW, c.workH, c.skin);
        EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h;
        EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h;
    }
}


TEST_F(PlaybackTest, PollMovesSliderTextAndResumePointButNotRightAfterASeek) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetLength(60);
    // Until the engine has told a position above 0, nothing moves.
    Tick();
    Tick();
    EXPECT_TRUE(Sent("get_time_pos") && Sent("get_time_length"));
    EXPECT_EQ(Slider(), 0);
    EXPECT_EQ(window_->PlaylistModel().Current()->starttime, 0);
    engine_->SetPosition(30);
    Tick();  // asks; the answer is shown on the next tick
    Tick();
    EXPECT_EQ(Slider(), 50);
    EXPECT_EQ(window_->PlaylistModel().Current()->starttime, 30);
    EXPECT_EQ(Find("playtime")->GetText(), "00:00:30.0/00:01:00.0");

    window_->Playback().SeekToSliderValue(80);
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep seek 48.00 2"); }));
    engine_->SetPosition(48);
    Tick();
    Tick();
    EXPECT_EQ(Slider(), 50) << "the two ticks after a seek leave the slider";
    Tick();
    EXPECT_EQ(Slider(), 80);
    EXPECT_EQ(window_->PlaylistModel().Current()->starttime, 48);

    // A seek that ends the entry holds nothing back in the next one.
    window_->Playback().SeekBy(100);
    const int launches = engine_->Launches();
    window_->PlaylistCommands().AddAndPlay({clips_[1]});
    ASSERT_TRUE(Pump([&] { return engine_->Launches() > launches; }));
    engine_->SetPosition(15);
    Tick();
    Tick();
    EXPECT_EQ(Slider(), 25);
}

TEST_F(PlaybackTest, ASeekIsTheResumePointBeforeThePollTellsIt) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetLength(60);
    engine_->SetPosition(30);
    Tick();
    Tick();
    const PlaylistItem& entry = *window_->PlaylistModel().Current();
    window_->Playback().SeekToSliderValue(80);
    EXPECT_EQ(entry.starttime, 48);
    engine_->SetPosition(48);
    Tick();
    window_->Playback().SeekBy(100);
    EXPECT_EQ(entry.starttime, 0) << "the last seconds are no place to resume";
}

TEST_F(PlaybackTest, PauseStepsAFrameAndPlayResumes) {
    StartWithEngine();
    OpenClips({clips_[0]});
    EXPECT_FALSE(Enabled("play"));
    EXPECT_TRUE(Enabled("pause"));
    engine_->SetPosition(12.3);
    Click("pause");
    EXPECT_TRUE(Pump([&] { return Sent("frame_step"); }));
    EXPECT_FALSE(fake().HasTimer(hwnd_, TIMER_POSITION_POLL));
    // With no tick to come, the clock shows where the picture stopped as soon as it is told.
    EXPECT_TRUE(Pump([&] { return Find("playtime")->GetText().rfind("00:00:12.3/", 0) == 0; }))
        << Find("playtime")->GetText();
    EXPECT_TRUE(Enabled("play") && Enabled("pause"));
    // Nothing goes to a paused engine by itself: it would resume on any plain command.
    engine_->ForgetCommands();
    fake().AdvanceTime(3000);
    Pump([] { return false; }, 100);
    EXPECT_TRUE(engine_->Commands().empty());

    Click("play");
    EXPECT_TRUE(Pump([&] { return Sent("pause"); }));
    EXPECT_TRUE(fake().HasTimer(hwnd_, TIMER_POSITION_POLL));
    EXPECT_FALSE(Enabled("play"));
    EXPECT_EQ(engine_->Launches(), 1);

    Click("stop");
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_TRUE(Visible("startup"));
    EXPECT_FALSE(Visible("sliderbar"));
    EXPECT_TRUE(Enabled("play"));
    EXPECT_FALSE(Enabled("pause"));
}

TEST_F(PlaybackTest, PlaySequences) {
    const struct {
        int sequence;
        std::vector<size_t> played;  // the entries launched, in order, after the first
        bool finishes;
    } cases[] = {
        {kPlaySingle, {}, true},
        {kPlaySequence, {1, 2}, true},
        {kPlaySequenceLoop, {1, 2, 0}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence);
        StartWithEngine();
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = c.sequence;
        OpenClips(clips_);
        ASSERT_EQ(window_->PlaylistModel().Count(), 3u);
        EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 0u);
        window_->PlaylistModel().Current()->starttime = 1;
        int launches = engine_->Launches();
        for (size_t next : c.played) {
            engine_->End();
            ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1 && window_->IsEngineRunning(); }));
            ++launches;
            EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), next);
            EXPECT_EQ(engine_->Option(launches, "-ss"), "0");
            EXPECT_EQ(window_->PlaylistRows().SelectedRow(), static_cast<int>(next));
        }
        if (c.finishes) {
            engine_->End();
            ASSERT_TRUE(Pump([&] { return !window_->IsEngineRunning(); }));
            EXPECT_TRUE(Visible("startup"));
            EXPECT_TRUE(Enabled("play"));
            EXPECT_FALSE(Enabled("pause"));
            for (size_t i = 0; i < 3; ++i) EXPECT_EQ(window_->PlaylistModel().At(i)->starttime, 0);
        }
        // Moving on by hand never wraps, whatever the sequence.
        window_->PlaylistModel().SetCurrent(2);
        window_->PlaylistCommands().PlayNext();
        EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 2u);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        std::remove((DataFolder() + "/settings.xml").c_str());
    }
}

TEST_F(PlaybackTest, RandomOnOneEntryPlaysItAgain) {
    StartWithEngine();
    const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlayRandom;
    OpenClips({clips_[0]});
    engine_->End();
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2 && window_->IsEngineRunning(); }));
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 0u);
}

TEST_F(PlaybackTest, EventsOfAReplacedEngineDoNotMoveTheList) {
    StartWithEngine();
    const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlaySequence;
    OpenClips(clips_);
    // The first engine ends; its exit line waits in the queue while the user moves on.
    engine_->End();
    CCmdMplayer* first = window_->GetEngine();
    for (int i = 0; i < 400 && first->IsChildActive(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    window_->PlaylistCommands().PlayNext();
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 1u);
    Pump([] { return false; }, 200);
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 1u);
    EXPECT_TRUE(window_->IsEngineRunning());
    EXPECT_EQ(engine_->Launches(), 2);
}

TEST_F(PlaybackTest, LaunchCarriesTheEntrysResumePointAndSubtitle) {
    StartWithEngine();
    window_->PlaylistModel().AddPending(clips_[1]);
    window_->PlaylistModel().AddPendingFiles();
    window_->PlaylistModel().Current()->starttime = 42;
    window_->PlaylistModel().Current()->subtitle = temp_ + "/b, english.srt";
    window_->Playback().SetCurrentMediaPath(clips_[1]);
    Click("play");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 1; }));
    EXPECT_EQ(engine_->Option(1, "-ss"), "42");
    EXPECT_EQ(engine_->Option(1, "-sub"), temp_ + "/b\\, english.srt");

    // Cancelling the subtitle dialog still takes the loaded subtitles away.
    ASSERT_TRUE(Pump([&] { return window_->GetEngine() && window_->GetEngine()->IsChildActive(); }));
    SetTimer(hwnd_, TIMER_LOAD_SUBTITLE, 100);
    fake().AdvanceTime(100);
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep sub_remove") || Sent("sub_remove"); }));
    EXPECT_FALSE(fake().HasTimer(hwnd_, TIMER_LOAD_SUBTITLE));
}

TEST_F(PlaybackTest, AudioOnlyShrinksToTheLeastSizeAndVideoFitsTheWindow) {
    engine_->SetStartLines({"Audio only file format detected.", "ID_LENGTH=2.00"});
    StartWithEngine();
    RECT before;
    GetWindowRect(hwnd_, &before);
    window_->PlaylistCommands().AddAndPlay({clips_[0]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().audioOnly; }));
    EXPECT_TRUE(Visible("ID_MEDIA_AUDIO"));
    EXPECT_FALSE(Visible("startup"));
    EXPECT_TRUE(Visible("sliderbar"));
    EXPECT_EQ(Find("filename")->GetText(), "a.mp4");
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    SIZE least = window_->GetPaintManager()->GetLeastWindowSize();
    EXPECT_EQ(rc.right - rc.left, least.cx);
    EXPECT_EQ(rc.bottom - rc.top, least.cy);

    // While the size is kept, the next video gets back the window the sound file shrank.
    ASSERT_TRUE(window_->GetSettings().keepsize);
    engine_->SetStartLines({"ID_VIDEO_WIDTH=1920", "ID_VIDEO_HEIGHT=1080",
                            "VO: [x11] 1920x1080 => 1920x1080 Planar YV12"});
    window_->PlaylistCommands().AddAndPlay({clips_[2]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().displayWidth == 1920; }));
    GetWindowRect(hwnd_, &rc);
    EXPECT_EQ(rc.right - rc.left, before.right - before.left);
    EXPECT_EQ(rc.bottom - rc.top, before.bottom - before.top);

    // With "keepsize" off, a 1920x1080 video on a 1280x770 work area (classic skin) is
    // halved once; the play list beside it (200 + 8 px) keeps its width.
    const_cast<PlayerSettings&>(window_->GetSettings()).keepsize = false;
    engine_->SetStartLines({"ID_VIDEO_WIDTH=1920", "ID_VIDEO_HEIGHT=1080",
                            "VO: [x11] 1920x1080 => 1920x1080 Planar YV12"});
    window_->PlaylistCommands().AddAndPlay({clips_[1]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().displayWidth == 1920; }));
    GetWindowRect(hwnd_, &rc);
    EXPECT_EQ(rc.right - rc.left, 962 + 208);
    EXPECT_EQ(rc.bottom - rc.top, 632);
    EXPECT_FALSE(Visible("ID_MEDIA_AUDIO"));
    EXPECT_EQ(Find("filename")->GetText(), "b.mp4");
}

TEST_F(PlaybackTest, PlayMemoryComesBackAtTheNextStartAndResumes) {
    StartWithEngine();
    OpenClips({clips_[0], clips_[1]});
    window_->PlaylistModel().SetCurrent(1);
    window_->PlaylistModel().Current()->starttime = 3;
    DestroyWindow(hwnd_);  // the close saves the play memory
    hwnd_ = nullptr;

    StartWithEngine();
    ASSERT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 1u);
    EXPECT_EQ(window_->PlaylistRows().SelectedRow(), 1);
    EXPECT_EQ(window_->GetCurrentMediaPath(), clips_[1]);
    const int before = engine_->Launches();
    Click("play");
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == before + 1; }));
    EXPECT_EQ(engine_->Option(before + 1, "-ss"), "3");
}

TEST_F(PlaybackTest, LoadingAPlayListWhilePlayingStopsAndSelectsItsCurrentEntry) {
    StartWithEngine();
    OpenClips({clips_[0]});
    Playlist other;
    other.AddPending(clips_[2]);
    other.AddPending(clips_[1]);
    other.AddPending(clips_[2] + "-copy");
    other.AddPendingFiles();
    other.SetCurrent(1);
    const std::string file = temp_ + "/list.orv";
    ASSERT_TRUE(SavePlaylistFile(file, other, true));

    EXPECT_FALSE(window_->PlaylistCommands().LoadPlaylistFile(temp_ + "/missing.orv"));
    EXPECT_TRUE(window_->IsEngineRunning()) << "a file that does not load changes nothing";
    ASSERT_TRUE(window_->PlaylistCommands().LoadPlaylistFile(file));
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_TRUE(Visible("startup"));
    ASSERT_EQ(window_->PlaylistModel().Count(), 3u);
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 1u);
    EXPECT_EQ(window_->PlaylistRows().SelectedRow(), 1);
    EXPECT_EQ(window_->GetCurrentMediaPath(), clips_[1]);
}

TEST_F(PlaybackTest, DeletingAndClearingStopWhatPlays) {
    StartWithEngine();
    OpenClips(clips_);
    window_->PlaylistCommands().PlayRow(1);
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2; }));
    // The row already playing changes nothing.
    window_->PlaylistCommands().PlayRow(1);
    Pump([] { return false; }, 50);
    EXPECT_EQ(engine_->Launches(), 2);

    Click("deletefile");
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 0u);
    EXPECT_EQ(window_->GetCurrentMediaPath(), clips_[0]);
    EXPECT_EQ(Find("filename")->GetText(), "");
    window_->PlaylistCommands().Clear();
    EXPECT_TRUE(window_->PlaylistModel().Empty());
    EXPECT_EQ(window_->GetCurrentMediaPath(), "");
    // The end of an entry on a list emptied meanwhile stops.
    window_->PlaylistCommands().AdvanceAtEnd();
    EXPECT_TRUE(Visible("startup"));
}

// The entry after one that played shows and keeps nothing of it, or says it cannot be opened.
TEST_F(PlaybackTest, ANewEntryStartsFromItsOwnState) {
    StartWithEngine();
    OpenClips(clips_);
    engine_->SetLength(30);
    engine_->SetPosition(12.8);
    for (int tick = 0; tick < 2; ++tick) Tick();
    engine_->SetPosition(0);
    for (const std::string shown : {"b.mp4", "Cannot open c.mp4"}) {
        if (shown != "b.mp4") engine_->SetStartLines({"Failed to open " + clips_[2] + "."});
        window_->PlaylistCommands().PlayNext();
        Tick();
        EXPECT_TRUE(Pump([&] { return Find("filename")->GetText() == shown; })) << shown;
        EXPECT_EQ(Find("playtime")->GetText(), "00:00:00.0/00:00:00.0");
        EXPECT_EQ(window_->PlaylistModel().Current()->starttime, 0);
    }
}

// A relaunch that cannot start leaves nothing running, and "play" starts again; without a
// video area nothing starts.
TEST_F(PlaybackTest, ARelaunchThatFailsLeavesPlaybackStopped) {
    StartWithEngine();
    const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlaySequence;
    OpenClips(clips_);
    for (bool restart : {true, false}) {
        window_->SetProgramFolder(temp_ + "/nowhere/");
        restart ? window_->Playback().RestartEngine() : engine_->End();
        Pump([&] { return !window_->IsEngineRunning(); });
        window_->SetProgramFolder(engine_->ProgramFolder());
        EXPECT_TRUE(!window_->IsEngineRunning() && !fake().HasTimer(hwnd_, TIMER_POSITION_POLL)) << restart;
        EXPECT_TRUE(Enabled("play"));
        Click("play");
        EXPECT_TRUE(window_->IsEngineRunning());
    }
    Click("stop");
    uilib::CControlUI* media = Find("media");
    static_cast<uilib::CContainerUI*>(media->GetParent()->GetInterface("Container"))->Remove(media);
    EXPECT_FALSE(window_->LaunchEngine());
}

// The position slider seeks to the time it shows: after a drag, wheel or key, not a bare press.
TEST_F(PlaybackTest, PositionSliderSeeksToTheTimeItShows) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetLength(7200);
    Tick();
    auto* slider = static_cast<uilib::CSliderUI*>(Find("playslider")->GetInterface("Slider"));
    const RECT r = slider->GetPos();  // at 50 the thumb is in the middle
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2, to = x + 40;
    const std::function<void()> gestures[] = {
        [&] { fake().LeftDown(hwnd_, x, y), fake().LeftUp(hwnd_, x, y); },
        [&] { fake().LeftDown(hwnd_, x, y), fake().MouseMove(hwnd_, to, y, 0, MK_LBUTTON),
              fake().LeftUp(hwnd_, to, y); },
        [&] { fake().Wheel(hwnd_, x, y, -WHEEL_DELTA); },
        [&] { slider->SetFocus(), fake().KeyPress(VK_LEFT, 0, hwnd_); },
    };
    for (const auto& gesture : gestures) {
        slider->SetValue(50);
        engine_->ForgetCommands();
        gesture();
        const bool seeks = &gesture != &gestures[0];
        Pump([&] { return !engine_->Commands().empty(); }, seeks ? 2000 : 200);
        const std::string seek = "pausing_keep seek " + std::to_string(72 * Slider()) + ".00 2";
        EXPECT_EQ(engine_->Commands(), seeks ? std::vector<std::string>{seek} : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

TEST_F(PlaybackTest, StoredVolumeAndMuteReachTheEngineAndComeBack) {
    ASSERT_TRUE(MakeFolders(DataFolder()));
    PlayerSettings stored(DataFolder(), "eng");
    stored.volume = 30;
    stored.mute = true;
    SettingsHost nobody;
    ASSERT_TRUE(stored.Write(DataFolder(), HotkeyTable::Defaults(), nobody));
    StartWithEngine();
    OpenClips({clips_[0]});
    EXPECT_EQ(engine_->Option(1, "-volume"), "0");  // started muted
    Click("mute_off");
    // Unmuting gives back the stored volume, not a default one.
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep volume 30 1"); }));
    EXPECT_TRUE(Visible("mute_on"));
    TNotifyUIForTest("volumeslider", "valuechangebegin", 70);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    PlayerSettings saved(DataFolder(), "eng");
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    ASSERT_TRUE(saved.ReadFull(DataFolder(), hotkeys, nobody));
    EXPECT_EQ(saved.volume, 70);
    EXPECT_FALSE(saved.mute);
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

TEST_F(PlaybackTest, OpenDialogAddsAndPlaysTheFirstChoiceAndCancelChangesNothing) {
    StartWithEngine();
    // Every way to the open dialog runs it once its click has been handled, never inside
    // that handling (the dialog could lose the keyboard, and a typed path with it).
    const auto openThrough = [&](const char* control, const char* type) {
        const size_t before = fake().FileDialogRequests().size();
        TNotifyUIForTest(control, type);
        EXPECT_EQ(fake().FileDialogRequests().size(), before) << control;
        EXPECT_TRUE(fake().HasTimer(hwnd_, TIMER_OPEN_FILES)) << control;
        fake().AdvanceTime(100);
        EXPECT_EQ(fake().FileDialogRequests().size(), before + 1) << control;
        EXPECT_FALSE(fake().HasTimer(hwnd_, TIMER_OPEN_FILES)) << control;
    };
    fake().QueueFileDialogAnswer({});  // cancelled
    openThrough("addfile", "click");
    const platform::FileDialogRequest& asked = fake().FileDialogRequests().front();
    EXPECT_EQ(asked.kind, platform::FileDialogRequest::Kind::OpenMany);
    ASSERT_EQ(asked.filters.size(), 2u);
    EXPECT_EQ(asked.filters[0].name, "All supported media");
    EXPECT_NE(asked.filters[0].patterns.find("*.mkv;"), std::string::npos);
    EXPECT_EQ(asked.filters[1].patterns, "*.*");
    EXPECT_TRUE(window_->PlaylistModel().Empty());
    EXPECT_EQ(engine_->Launches(), 0);

    fake().QueueFileDialogAnswer({clips_[1], clips_[2]});
    openThrough("play", "click");  // nothing to play yet: the same dialog
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 1; }));
    EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(window_->GetCurrentMediaPath(), clips_[1]);
    // The same files again only make the first current again: nothing new plays.
    fake().QueueFileDialogAnswer({clips_[2], clips_[1]});
    ASSERT_TRUE(window_->PlaylistModel().SetCurrent(1));
    window_->Playback().SetCurrentMediaPath(clips_[2]);
    openThrough("openfile", "click");  // the folder button opens files while a clip plays too
    Pump([] { return false; }, 100);
    EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(engine_->Launches(), 1);
}

// Moving on, deleting, sorting and the poll start from the playing entry, not the selection.
enum class Step { Next, Previous, DeleteRightClicked, DeleteButton, SortByName, Poll };

TEST_F(PlaybackTest, ThePlayingEntryNotTheSelectedRowIsCurrent) {
    // Two "01.mkv"; two names whose row text is empty (a quote ends a short name).
    const std::vector<std::string> names = {"b.mkv", "x/01.mkv", "y/01.mkv", "c/\"q.mkv", "a.mkv", "d/\"r.mkv"};
    // Rows of names: the one playing, the one the keys went to, the one current afterwards.
    const struct { const char* what; Step step; size_t playing, keysTo, expected; bool plays; } cases[] = {
        {"next", Step::Next, 1, 4, 2, true},
        {"previous", Step::Previous, 1, 4, 0, true},
        {"delete the right-clicked row", Step::DeleteRightClicked, 1, 4, 1, true},
        {"delete the current entry", Step::DeleteButton, 2, 4, 1, false},
        {"sort with the keys elsewhere", Step::SortByName, 2, 0, 2, true},
        {"sort a duplicate short name", Step::SortByName, 1, 1, 1, true},
        {"sort an empty short name", Step::SortByName, 5, 5, 5, true},
        {"poll", Step::Poll, 1, 4, 1, true},
    };
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(temp_ + "/" + name);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithEngine();
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlaySequence;
        OpenClips(paths);
        Playlist& model = window_->PlaylistModel();
        window_->PlaylistCommands().PlayRow(static_cast<int>(c.playing));
        ASSERT_TRUE(Pump([&] { return window_->IsEngineRunning() && window_->GetCurrentMediaPath() == paths[c.playing]; }));
        auto* list = static_cast<uilib::CListUI*>(Find("playlist")->GetInterface("List"));
        list->SelectItem(static_cast<int>(c.keysTo), true);  // as the arrow keys do
        engine_->SetLength(60);
        engine_->SetPosition(7);
        switch (c.step) {
        case Step::Next: window_->PlaylistCommands().PlayNext(); break;
        case Step::Previous: window_->PlaylistCommands().PlayPrevious(); break;
        case Step::DeleteRightClicked:  // the menu of the row the keys went to
            list->ItemRightClicked(static_cast<int>(c.keysTo));
            window_->RunMenuCommand("ID_PLAYLIST_RIGHT_MENU_DELETE_ITEM");
            break;
        case Step::DeleteButton: Click("deletefile"); break;
        case Step::SortByName: window_->RunMenuCommand("ID_PLAYLISTMENU_SORT_BY_NAME"); break;
        case Step::Poll: Tick(); Tick(); break;
        }
        Pump([] { return false; }, 100);
        ASSERT_NE(model.Current(), nullptr);
        EXPECT_EQ(model.Current()->filename, paths[c.expected]);
        EXPECT_EQ(window_->GetCurrentMediaPath(), paths[c.expected]);
        EXPECT_EQ(window_->IsEngineRunning(), c.plays);
        const std::vector<std::string> args = engine_->Arguments(engine_->Launches());
        if (c.plays) {
            EXPECT_EQ(std::count(args.begin(), args.end(), paths[c.expected]), 1) << "the last launch";
        }
        if (c.step == Step::Poll) {
            EXPECT_TRUE(model.Current()->starttime == 7 && model.At(c.keysTo)->starttime == 0);
        }
        if (c.step == Step::SortByName) {  // its end goes on to the entry after it in the new order
            ASSERT_LT(model.CurrentIndex() + 1, model.Count());
            const std::string after = model.At(model.CurrentIndex() + 1)->filename;
            const int launches = engine_->Launches();
            engine_->End();
            ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1 && window_->IsEngineRunning(); }));
            EXPECT_EQ(model.Current()->filename, after);
        }
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        std::remove((DataFolder() + "/settings.xml").c_str());
    }
}

TEST_F(PlaybackTest, PlayListFilesThroughTheirDialogs) {
    StartWithEngine();
    OpenClips({clips_[0], clips_[1]});
    const std::string file = temp_ + "/saved.orv";
    fake().QueueFileDialogAnswer({file});
    Click("saveplaylist");
    const platform::FileDialogRequest& saveAsked = fake().FileDialogRequests().back();
    EXPECT_EQ(saveAsked.kind, platform::FileDialogRequest::Kind::Save);
    EXPECT_TRUE(saveAsked.confirmOverwrite);
    EXPECT_EQ(saveAsked.defaultExtension, "orv");
    MediaRecord record;
    ASSERT_TRUE(LoadPlaylistFile(file, &record));
    EXPECT_EQ(record.entries.size(), 2u);

    window_->PlaylistCommands().Clear();
    fake().QueueFileDialogAnswer({temp_ + "/not a play list.orv"});
    Click("loadplaylist");
    EXPECT_EQ(Find("filename")->GetText(), "Cannot read the play list not a play list.orv");
    fake().QueueFileDialogAnswer({file});
    Click("loadplaylist");
    EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_FALSE(window_->IsEngineRunning()) << "a loaded list does not start by itself";
}

TEST_F(PlaybackTest, MinimiseHidesBehindATrayIconOrIconifies) {
    StartWithEngine();
    Click("minbtn");  // no tray on this desktop
    EXPECT_TRUE(IsIconic(hwnd_));
    EXPECT_TRUE(fake().TrayIcons().empty());
    ShowWindow(hwnd_, SW_RESTORE);

    fake().SetTrayAvailable(platform::TrayKind::XEmbed);
    const_cast<PlayerSettings&>(window_->GetSettings()).pausewhenminize = true;
    OpenClips({clips_[0]});
    Click("minbtn");
    EXPECT_TRUE(Pump([&] { return Sent("frame_step"); })) << "paused on the way down";
    EXPECT_FALSE(IsWindowVisible(hwnd_));
    ASSERT_EQ(fake().TrayIcons().size(), 1u);
    ASSERT_TRUE(fake().ActivateTrayIcon(hwnd_, fake().TrayIcons().front().id));
    fake().DispatchPending();
    EXPECT_TRUE(IsWindowVisible(hwnd_));
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    EXPECT_TRUE(fake().TrayIcons().empty()) << "the icon goes with the window";
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

TEST_F(PlaybackTest, ClearAsksFirst) {
    StartWithEngine();
    OpenClips({clips_[0], clips_[1]});
    // The question window answers; Cancel and its close button keep the list, OK clears.
    auto answer = [&](const char* button) {
        Click("clear");
        fake().DispatchPending();
        CQuestionWnd* question = window_->Dialogs().Question();
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->FindControl("ID_TITLE")->GetText(), "Clear play list");
        EXPECT_EQ(question->FindControl("ID_TEXT")->GetText(), "Are you sure you want to clear play list?");
        uilib::TNotifyUI msg;
        msg.sType = "click";
        msg.pSender = question->FindControl(button);
        ASSERT_NE(msg.pSender, nullptr) << button;
        question->Notify(msg);
        fake().DispatchPending();
        EXPECT_EQ(window_->Dialogs().Question(), nullptr) << button;
    };
    answer("ID_CANCEL_BUTTON");
    answer("ID_CLOSE_BUTTON");
    EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_TRUE(window_->IsEngineRunning());
    answer("ID_OK_BUTTON");
    EXPECT_TRUE(window_->PlaylistModel().Empty());
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_TRUE(Visible("startup"));
    EXPECT_TRUE(fake().QuestionsAsked().empty()) << "the skin's own window asks, not the desktop";
}

}  // namespace
}  // namespace orvella

namespace orvella {
namespace {

// The engine takes back its launch volume and mute at every loop restart: the sound the
// user chose since goes to it again, not at the first start.
TEST_F(PlaybackTest, LoopRestartGetsTheChosenSoundBack) {
    StartWithEngine();
    OpenClips({clips_[0]});
    TNotifyUIForTest("volumeslider", "valuechangebegin", 35);
    ASSERT_TRUE(Pump([&] { return Sent("pausing_keep volume 35 1"); }));
    engine_->ForgetCommands();
    SendMessage(hwnd_, WM_ENGINE_EVENT, EV_PLAYBACK_STARTED, 0);
    Pump([] { return false; }, 100);
    EXPECT_FALSE(Sent("pausing_keep volume 35 1")) << "the first start has the launch's values";
    SendMessage(hwnd_, WM_ENGINE_EVENT, EV_PLAYBACK_STARTED, 0);
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep volume 35 1"); }));
    Click("mute_on");
    engine_->ForgetCommands();
    SendMessage(hwnd_, WM_ENGINE_EVENT, EV_PLAYBACK_STARTED, 0);
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep mute 1"); }));
}

}  // namespace
}  // namespace orvella
