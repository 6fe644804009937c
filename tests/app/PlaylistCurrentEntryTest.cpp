// The entry that plays is the current one, wherever the keys have moved the list's
// selection: moving on, deleting, sorting and the position poll all start from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/PlaylistControl.h"
#include "tests/app/PlaybackFixture.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

enum class Step { Next, Previous, DeleteRightClicked, DeleteButton, SortByName, Poll };

TEST_F(PlaybackTest, ThePlayingEntryNotTheSelectedRowIsCurrent) {
    // Two "01.mkv" in different folders; two names whose row text is empty (a quote ends
    // a short name).
    const std::vector<std::string> names = {"b.mkv", "x/01.mkv", "y/01.mkv", "c/\"q.mkv", "a.mkv",
                                            "d/\"r.mkv"};
    const struct {
        const char* what;
        Step step;
        size_t playing, keysTo;
        long expected;  // the entry (of names) current afterwards; -1: the list is empty
        bool plays;     // the engine runs afterwards
    } cases[] = {
        {"next", Step::Next, 1, 4, 2, true},
        {"previous", Step::Previous, 1, 4, 0, true},
        {"delete the right-clicked row", Step::DeleteRightClicked, 1, 4, 1, true},
        {"delete the current entry", Step::DeleteButton, 2, 4, 1, false},
        {"sort with the keys elsewhere", Step::SortByName, 2, 0, 2, true},
        {"sort a duplicate short name", Step::SortByName, 1, 1, 1, true},
        {"sort an empty short name", Step::SortByName, 5, 5, 5, true},
        {"poll", Step::Poll, 1, 4, 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(temp_ + "/" + name);
        StartWithEngine();
        const_cast<PlayerSettings&>(window_->GetSettings()).playsequence = kPlaySequence;
        OpenClips(paths);
        Playlist& model = window_->PlaylistModel();
        window_->PlaylistCommands().PlayRow(static_cast<int>(c.playing));
        ASSERT_TRUE(Pump([&] { return window_->IsEngineRunning() && window_->GetCurrentMediaPath() == paths[c.playing]; }));
        auto* list = static_cast<uilib::CListUI*>(Find("playlist")->GetInterface("List"));
        list->SelectItem(static_cast<int>(c.keysTo), true);  // as the arrow keys do
        engine_->SetPosition(7);

        switch (c.step) {
        case Step::Next: window_->PlaylistCommands().PlayNext(); break;
        case Step::Previous: window_->PlaylistCommands().PlayPrevious(); break;
        case Step::DeleteRightClicked:
            list->ItemRightClicked(static_cast<int>(c.keysTo));
            window_->RunMenuCommand("ID_PLAYLIST_RIGHT_MENU_DELETE_ITEM");
            break;
        case Step::DeleteButton: Click("deletefile"); break;
        case Step::SortByName: window_->RunMenuCommand("ID_PLAYLISTMENU_SORT_BY_NAME"); break;
        case Step::Poll: Tick(); Tick(); break;
        }
        Pump([] { return false; }, 100);
        ASSERT_NE(model.Current(), nullptr);
        const std::string& expected = paths[static_cast<size_t>(c.expected)];
        EXPECT_EQ(model.Current()->filename, expected);
        EXPECT_EQ(window_->GetCurrentMediaPath(), expected);
        EXPECT_EQ(window_->IsEngineRunning(), c.plays);
        if (c.plays) {
            const std::vector<std::string> args = engine_->Arguments(engine_->Launches());
            EXPECT_NE(std::find(args.begin(), args.end(), expected), args.end());
        }
        if (c.step == Step::Poll) {
            EXPECT_EQ(model.Current()->starttime, 7);
            EXPECT_EQ(model.At(c.keysTo)->starttime, 0);
        }
        if (c.step == Step::SortByName) {
            // The end of the entry goes on to the one after it in the new order.
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

}  // namespace
}  // namespace orvella
