// The command line's file starts before the play memory is in; the memory then takes its
// place before it, however long or damaged it is.
#include <unistd.h>

#include <fstream>

#include "library/MediaSnapshot.h"
#include "library/PlayMemory.h"
#include "library/XmlDocument.h"
#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

class StartupMemoryTest : public PlaybackTest {
protected:
    // The scripted engine's folder is the program folder, the skins beside it.
    void UseEngineFolder() {
        const std::string data = std::string(ORVELLA_SOURCE_DIR) + "/data/";
        for (const char* skin : {"skin", "skin_classic"})
            ASSERT_EQ(::symlink((data + skin).c_str(), (engine_->ProgramFolder() + skin).c_str()), 0);
        uilib::SetAppPathForTesting(engine_->ProgramFolder());
    }
    // A settings file remembering `entries`, the first current, cut to `keep` of its bytes.
    void Remember(const std::vector<PlaylistItem>& entries, double keep) {
        Playlist list;
        list.AppendAll(entries, false);
        list.SetCurrent(0);
        XmlDocument document;
        ASSERT_TRUE(document.Create(PlayerSettings::FilePath(DataFolder())));
        document.CreateRoot();
        WriteMedia(document, MediaSnapshots().Take(list, true));
        PlayerSettings().WritePlayerKeys(document);
        std::string bytes = document.Serialize();
        bytes.resize(static_cast<size_t>(bytes.size() * keep) & ~size_t{1});
        ASSERT_TRUE(MakeFolders(DataFolder()));
        std::ofstream(PlayerSettings::FilePath(DataFolder()), std::ios::binary) << bytes;
    }
};

TEST_F(StartupMemoryTest, TheCommandLineFileStartsFirstAndTheMemoryGoesBeforeIt) {
    struct Case {
        const char* what;
        size_t argument;    // the clip named on the command line
        size_t extra;       // entries remembered after a and b
        double keep;        // of the file's bytes
        size_t listed;      // entries once the memory is in (0: fewer than remembered)
        const char* resume; // the last launch's "-ss"
    } cases[] = {
        {"a new file joins after the remembered ones", 2, 0, 1.0, 3, "0"},
        {"a remembered file keeps its place and resumes", 1, 0, 1.0, 2, "7"},
        {"a huge memory", 2, 20000, 1.0, 20003, "0"},
        {"a memory cut short", 2, 2000, 0.5, 0, "0"},
    };
    UseEngineFolder();
    engine_->SetStartLines({"ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240", "VO: [x11] 320x240 => 320x240",
                            "Starting playback..."});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<PlaylistItem> remembered(2 + c.extra);
        for (size_t i = 0; i < remembered.size(); ++i)
            remembered[i].filename = i < 2 ? clips_[i] : temp_ + "/n" + std::to_string(i) + ".mp4";
        remembered[1].starttime = 7;
        Remember(remembered, c.keep);
        const int launches = engine_->Launches();

        window_ = new CPlayerWnd({clips_[c.argument]});
        hwnd_ = window_->Create(nullptr, kProgramTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
        ASSERT_NE(hwnd_, nullptr);
        EXPECT_TRUE(window_->IsEngineRunning());
        EXPECT_EQ(window_->PlaylistModel().Count(), 1u) << "the engine waited for the memory";
        ::ShowWindow(hwnd_, SW_SHOW);
        fake().Render(hwnd_);

        const Playlist& list = window_->PlaylistModel();
        ASSERT_TRUE(Pump([&] { return list.At(0)->filename == clips_[0]; }));
        ASSERT_TRUE(Pump([&] { return engine_->Option(engine_->Launches(), "-ss") == c.resume; }));
        if (c.listed) EXPECT_EQ(list.Count(), c.listed);
        else EXPECT_LT(list.Count(), remembered.size());
        EXPECT_EQ(list.Current()->filename, clips_[c.argument]);
        EXPECT_EQ(list.CurrentIndex(), c.argument == 1 ? 1u : list.Count() - 1);
        EXPECT_EQ(window_->Dialogs().Question() != nullptr, c.keep < 1) << "damage is told";
        EXPECT_GE(engine_->Launches(), launches + 1);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

}  // namespace
}  // namespace orvella
