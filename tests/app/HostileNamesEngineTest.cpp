// Files whose names look like engine output, discs, quoting or options play as
// themselves with the real engine, and the play list shows their real names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "library/PlayMemory.h"
#include "playlist/Playlist.h"
#include "tests/TestMedia.h"
#include "tests/app/PlayerWndFixture.h"

namespace orvella {
namespace {

using HostileNamesEngineTest = PlayerWndEngineTest;

TEST_F(HostileNamesEngineTest, EachNamePlaysAsItself) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    ASSERT_EQ(::mkdir((temp_ + "/br:").c_str(), 0700), 0);
    const std::pair<std::string, std::string> table[] = {  // folder part, name
        {"/", "inj\nID_EXIT=EOF\n.mp4"}, {"/", "cr\rID_EXIT=EOF\r.mp4"}, {"/", "dvdnav.mp4"},
        {"/br://", "in a folder.mp4"}, {"/", "a\"b.mp4"}, {"/", "-lead.mp4"}, {"/", "$x.mp4"},
        {"/", "caf\xE9\xFF.mp4"}};
    for (const auto& [folder, name] : table) {
        const std::string path = temp_ + folder + name;
        ASSERT_TRUE(std::filesystem::copy_file(media_ + "long.mp4", path)) << name;
        window_->PlaylistCommands().AddAndPlay({path});
        // Playing on: a forged end line would have stopped it before the first position.
        RunInRealTime([&] {
            const MediaInfo& media = window_->GetMediaInfo();
            return !window_->IsEngineRunning() || (media.position > 0 && media.length > 0);
        }, 10000);
        EXPECT_TRUE(window_->IsEngineRunning()) << name;
        EXPECT_NEAR(window_->GetMediaInfo().length, 8.0f, 0.5f) << name;
        const size_t row = window_->PlaylistModel().CurrentIndex();
        EXPECT_EQ(window_->PlaylistModel().Current()->filename, path);
        EXPECT_EQ(window_->PlaylistRows().GetRowText(row), name);
        window_->Playback().Stop();
    }
}

// A play-list file named on the command line replaces the list with its entries.
using StartupArgumentTest = PlayerWndTest;

TEST_F(StartupArgumentTest, PlayListFileOpensAsAList) {
    Playlist list;
    for (const char* name : {"one.mp4", "two.mp4"}) list.Append({temp_ + "/" + name, name, "", 0});
    const std::string orv = temp_ + "/films.ORV";
    ASSERT_TRUE(SavePlaylistFile(orv, list, true));
    Start({orv});
    ASSERT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(window_->GetCurrentMediaPath(), temp_ + "/two.mp4");
    EXPECT_EQ(window_->PlaylistRows().GetRowText(1), "two.mp4");
}

// What a file manager passes for "open with" on a selection: every file, in its order.
TEST_F(StartupArgumentTest, SeveralFilesAllJoinTheListAndTheFirstPlays) {
    const std::vector<std::string> files = {temp_ + "/c.mp4", temp_ + "/b.mp4", temp_ + "/a.mp4"};
    Start(files);
    ASSERT_EQ(window_->PlaylistModel().Count(), 3u);
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(window_->PlaylistModel().At(i)->filename, files[i]);
    EXPECT_EQ(window_->GetCurrentMediaPath(), files.front());
}

}  // namespace
}  // namespace orvella
