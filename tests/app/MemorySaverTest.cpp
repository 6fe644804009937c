// The play memory saved while playing: when, what, and by one writer.
#include <future>
#include <memory>

#include "app/MemorySaver.h"
#include "app/PlaybackRules.h"
#include "library/PlayMemory.h"
#include "library/SettingsSection.h"
#include "library/XmlDocument.h"
#include "tests/app/PlaybackFixture.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

TEST(MemorySaver, WhenToSaveAndWhichResumePointToKeep) {
    struct Save { SaveEvent event; uint64_t last, now; bool changed, save; };
    const Save saves[] = {
        {SaveEvent::Tick, 1000, 10999, true, false},  // within 10 s of the last save
        {SaveEvent::Tick, 1000, 11000, true, true},
        {SaveEvent::Tick, 1000, 90000, false, false},  // nothing moved
        {SaveEvent::EntryChanged, 1000, 1001, false, true},
        {SaveEvent::Paused, 1000, 1001, false, true},
        {SaveEvent::Stopped, 1000, 1001, true, true},
    };
    for (const Save& s : saves)
        EXPECT_EQ(ShouldSaveNow(s.event, s.last, s.now, s.changed), s.save) << static_cast<int>(s.event) << " " << s.now;

    struct Kept { float position, length; long long kept; };
    const Kept kept[] = {{30.7f, 60, 30}, {55, 60, 55}, {55.5f, 60, 0}, {60, 60, 0},
                         {3, 4, 0},   {30, 0, 0},    {30, -1, 0},     {0, 60, 0}};  // 0: a stream
    for (const Kept& k : kept) EXPECT_EQ(KeptResumePoint(k.position, k.length), k.kept) << k.position << " of " << k.length;
}

MediaRecord MemoryIn(const std::string& file) {
    XmlDocument document;
    EXPECT_TRUE(document.Open(file));
    return ReadMedia(document);
}

TEST_F(PlaybackTest, TheWriteWhilePlayingIsTheExitWrite) {
    StartWithEngine();
    OpenClips({clips_[0], clips_[1]});
    engine_->SetLength(60);
    engine_->SetPosition(30);
    Tick();
    Tick();
    const std::string file = PlayerSettings::FilePath(DataFolder());
    auto savedAfterTick = [&] {
        Tick();
        window_->PlayMemorySaver().Writer().WaitIdle();
        return MemoryIn(file);
    };
    window_->Playback().TogglePause();  // saved at the next look, in the background
    EXPECT_EQ(savedAfterTick().entries.at(0).starttime, 30);
    window_->Playback().TogglePause();
    engine_->SetPosition(0);
    window_->PlaylistCommands().PlayNext();
    savedAfterTick();
    const MediaRecord memory = MemoryIn(file);
    ASSERT_EQ(memory.entries.size(), 2u);
    EXPECT_EQ(memory.entries[0].starttime, 30);
    EXPECT_EQ(memory.current, 1);

    // Stopped and all saved, the saver stops looking until something plays again.
    Click("stop");
    savedAfterTick();
    EXPECT_FALSE(fake().HasTimer(hwnd_, TIMER_SAVE_MEMORY));
    Click("play");
    EXPECT_TRUE(Pump([&] { return fake().HasTimer(hwnd_, TIMER_SAVE_MEMORY); }));
    savedAfterTick();
    const std::string whilePlaying = ReadBytes(file);

    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    EXPECT_EQ(ReadBytes(file), whilePlaying);
}

TEST_F(PlaybackTest, TheLastSecondsKeepNoResumePointButARestartGoesOnThere) {
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetLength(60);
    engine_->SetPosition(57);
    Tick();
    Tick();
    EXPECT_EQ(window_->PlaylistModel().Current()->starttime, 0);
    window_->Playback().RestartEngine();
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2; }));
    EXPECT_EQ(engine_->Option(2, "-ss"), "57");
}

TEST_F(PlaybackTest, ARepeatedEntryStartedPartWayLoopsFromItsBeginning) {
    // The engine goes back to where it was started at each loop; the player takes it to 0.
    StartWithEngine();
    OpenClips({clips_[0]});
    engine_->SetStartLines({"ID_LENGTH=60", "Starting playback...", "Starting playback..."});
    window_->RunMenuCommand("ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE_LOOP");
    window_->PlaylistModel().Current()->starttime = 10;
    window_->Playback().RestartEngine();
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2; }));
    EXPECT_EQ(engine_->Option(2, "-ss"), "10");
    EXPECT_EQ(engine_->Option(2, "-loop"), "0");
    EXPECT_TRUE(Pump([&] { return Sent("pausing_keep seek 0.00 2"); }));
}

// Writes hold here until released: the writer is busy meanwhile.
class HeldHotkeys : public SettingsSection {
public:
    void ReadFrom(const XmlDocument&) override {}
    void WriteTo(XmlDocument&) const override {
        entered.set_value();
        release.wait();
    }
    mutable std::promise<void> entered;
    std::shared_future<void> release;
};

TEST(SettingsWriter, TheNewestSnapshotReplacesOneThatWaits) {
    orvella_test::TempFolder folder;
    auto snapshot = [&](int volume, std::shared_ptr<const SettingsSection> hotkeys) {
        SettingsSnapshot s{folder.path(), PlayerSettings(folder.path(), "eng"), std::move(hotkeys), std::nullopt};
        s.settings.volume = volume;
        return s;
    };
    auto volumeInFile = [&] {
        std::string volume;
        XmlDocument document;
        if (document.Open(PlayerSettings::FilePath(folder.path())))
            document.GetAttribute("root/Player", "volume", &volume);
        return volume;
    };
    std::promise<void> release;
    auto held = std::make_shared<HeldHotkeys>();
    held->release = release.get_future().share();
    std::future<void> entered = held->entered.get_future();

    SettingsWriter writer;
    writer.Submit(snapshot(1, held));
    entered.wait();
    writer.Submit(snapshot(2, nullptr));
    writer.Submit(snapshot(3, nullptr));
    release.set_value();
    writer.WaitIdle();
    EXPECT_EQ(writer.WritesDone(), 2u) << "the second snapshot was never written";
    EXPECT_EQ(volumeInFile(), "3");

    EXPECT_TRUE(writer.WriteFinal(snapshot(4, nullptr)));
    EXPECT_EQ(volumeInFile(), "4");
}

}  // namespace
}  // namespace orvella
