// How an entry starts after another one, and what is left when it does not: the scripted
// engine plays some files, ends at once on others, or cannot be started at all.
#include <gtest/gtest.h>

#include "tests/app/PlaybackFixture.h"
#include "uilib/Container.h"

namespace orvella {
namespace {

class EntryStartTest : public PlaybackTest {
protected:
    void Restart() {
        if (hwnd_) DestroyWindow(hwnd_);
        hwnd_ = nullptr;
        std::remove((DataFolder() + "/settings.xml").c_str());
        engine_->SetStartLines(orvella_test::ScriptedEngine::VideoLines());
        engine_->SetUnplayable({});
        StartWithEngine();
    }
    void SetSequence(int sequence) {
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = sequence;
    }
    std::string FileName() { return Find("filename")->GetText(); }
};

// The entry after one that played 12.8 s of 30: the first poll keeps nothing of the old
// entry, and one that does not open says so, whether the engine says why or just ends.
TEST_F(EntryStartTest, ANewEntryStartsFromItsOwnState) {
    enum class Next { Plays, FailsSaying, FailsSilently };
    const struct {
        Next next;
        const char* filename;
    } cases[] = {
        {Next::Plays, "b.mp4"},
        {Next::FailsSaying, "Cannot open b.mp4"},
        {Next::FailsSilently, "Cannot open b.mp4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.next));
        Restart();
        OpenClips({clips_[0], clips_[1]});
        engine_->SetLength(30);
        engine_->SetPosition(12.8);
        Tick();
        Tick();
        ASSERT_EQ(Find("playtime")->GetText(), "00:00:12.8/00:00:30.0");
        engine_->SetPosition(0);
        if (c.next == Next::FailsSaying) engine_->SetStartLines({"Failed to open " + clips_[1] + "."});
        if (c.next == Next::FailsSilently) engine_->SetUnplayable({clips_[1]});
        const int launches = engine_->Launches();
        window_->PlaylistCommands().PlayNext();
        ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
        if (c.next != Next::FailsSilently) {
            Tick();
            EXPECT_NE(Find("playtime")->GetText(), "00:00:12.8/00:00:30.0");
        }
        EXPECT_TRUE(Pump([&] { return FileName() == c.filename; })) << FileName();
        EXPECT_EQ(window_->PlaylistModel().At(1)->starttime, 0);
    }
}

// Loop and random play over entries of which none opens stop after one round, naming
// the first; one entry that plays starts the count again.
TEST_F(EntryStartTest, ARoundOfEntriesThatDoNotOpenEndsPlayback) {
    const struct {
        int sequence;
        std::vector<size_t> unplayable;
        int launches;
        bool stops;
    } cases[] = {
        {kPlaySequenceLoop, {0, 1, 2}, 3, true},
        {kPlayRandom, {0, 1, 2}, 3, true},
        {kPlaySequenceLoop, {1, 2}, 4, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence);
        Restart();
        SetSequence(c.sequence);
        std::vector<std::string> unplayable;
        for (size_t i : c.unplayable) unplayable.push_back(clips_[i]);
        engine_->SetUnplayable(unplayable);
        const int before = engine_->Launches();
        window_->PlaylistCommands().AddAndPlay(clips_);
        if (!c.stops) {
            ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }));
            engine_->End();
        }
        EXPECT_TRUE(Pump([&] { return engine_->Launches() >= before + c.launches; }));
        Pump([] { return false; }, 300);
        EXPECT_EQ(engine_->Launches(), before + c.launches);
        EXPECT_EQ(window_->IsEngineRunning(), !c.stops);
        if (c.stops) {
            EXPECT_EQ(FileName(), "Cannot open a.mp4 nor any other entry of the play list");
            EXPECT_TRUE(Enabled("play"));
        }
    }
}

// A relaunch that cannot start leaves nothing running or polled, and "play" starts again.
TEST_F(EntryStartTest, ARelaunchThatFailsLeavesPlaybackStopped) {
    const struct {
        const char* how;
        std::function<void()> relaunch;
    } cases[] = {
        {"restart after a setting", [this] { window_->Playback().RestartEngine(); }},
        {"the next entry", [this] { engine_->End(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Restart();
        SetSequence(kPlaySequence);
        OpenClips({clips_[0], clips_[1]});
        engine_->SetStartable(false);
        c.relaunch();
        Pump([&] { return !window_->IsEngineRunning(); });
        engine_->SetStartable(true);
        EXPECT_FALSE(window_->IsEngineRunning());
        EXPECT_FALSE(fake().HasTimer(hwnd_, TIMER_POSITION_POLL));
        EXPECT_TRUE(Enabled("play"));
        const int launches = engine_->Launches();
        Click("play");
        EXPECT_TRUE(Pump([&] { return engine_->Launches() == launches + 1 && window_->IsEngineRunning(); }));
    }
    // A layout without a video area starts nothing, and says so by "play".
    Click("stop");
    uilib::CControlUI* media = Find("media");
    static_cast<uilib::CContainerUI*>(media->GetParent()->GetInterface("Container"))->Remove(media);
    Click("play");
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_TRUE(Enabled("play"));
    EXPECT_FALSE(Enabled("pause"));
}

}  // namespace
}  // namespace orvella
