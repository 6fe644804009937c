// File information opened from the menu while a clip plays or after it stopped: the general
// page from what the player knows, the tracks only from a running engine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/ChildWindows.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/FileInfoWnd.h"

namespace orvella {
namespace {

class FileInfoWindowTest : public PlaybackTest {
protected:
    std::string Text(const char* name) { return window_->Dialogs().FileInfo()->FindControl(name)->GetText().c_str(); }
    // "number kind description" of every row of the track list.
    std::vector<std::string> Rows() {
        CFileInfoWnd* info = window_->Dialogs().FileInfo();
        auto* list = static_cast<uilib::CListUI*>(info->FindControl("ID_INFORMATION_TRACKS_LIST")->GetInterface("List"));
        std::vector<std::string> rows;
        for (int i = 0; i < list->GetCount(); ++i) {
            std::string row;
            for (int k = 0; k < 3; ++k) row += std::string(k ? " " : "") + list->GetTextCallback()->GetItemText(nullptr, i, k).c_str();
            rows.push_back(row);
        }
        return rows;
    }
};

TEST_F(FileInfoWindowTest, ShowsTheClipAndTheTracksOfTheRunningEngine) {
    const struct { const char* name; std::vector<std::string> lines; bool stopped; std::vector<std::string> rows; } cases[] = {
        {"two audio tracks and a subtitle",
         {"ID_AUDIO_ID=1", "ID_AID_1_LANG=eng", "ID_AUDIO_ID=2", "ID_SUBTITLE_ID=0", "ID_SID_0_LANG=fre"}, false,
         {"0 audio eng", "1 audio unknown", "2 subtitle fre"}},
        {"a named video codec", {"ID_VIDEO_CODEC=ffh264", "ID_AUDIO_ID=1"}, false, {"0 video ffh264, 640 x 360", "1 audio unknown"}},
        {"the engine stopped", {"ID_AUDIO_ID=1"}, true, {}},
    };
    StartWithEngine();
    int launches = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string clip = clips_[launches++];
        FILE* f = std::fopen(clip.c_str(), "w");
        std::fwrite(std::string(1536, 'x').data(), 1, 1536, f);
        std::fclose(f);
        std::vector<std::string> lines = {"ID_VIDEO_WIDTH=640", "ID_VIDEO_HEIGHT=360", "ID_VIDEO_ASPECT=1.7778"};
        lines.insert(lines.end(), c.lines.begin(), c.lines.end());
        engine_->SetStartLines(lines);
        engine_->SetLength(12.5);
        window_->PlaylistCommands().AddAndPlay({clip});
        ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches && window_->GetMediaInfo().videoWidth == 640; }));
        Tick();  // the length comes with the poll's answers
        if (c.stopped) Click("stop");
        window_->RunMenuCommand("ID_MAINMENU_FILE_FILEINFO");
        ASSERT_NE(window_->Dialogs().FileInfo(), nullptr);
        EXPECT_EQ(Text("ID_FILEINFO_FILENAME"), clip);
        EXPECT_EQ(Text("ID_FILEINFO_FILESIZE"), "1.50 KB");
        if (!c.stopped) {
            EXPECT_EQ(Text("ID_FILEINFO_RESOLUTION"), "640 x 360");
        }
        EXPECT_EQ(Text("ID_FILEINFO_DURATION"), "12.50 s");
        EXPECT_EQ(Text("ID_FILEINFO_ASPECT"), "1.7778");
        EXPECT_EQ(Rows(), c.rows);
    }
}

}  // namespace
}  // namespace orvella
