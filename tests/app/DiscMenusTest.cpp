// The title, chapter, audio and subtitle submenus: their rows from the engine's tables,
// and what choosing them does to the real engine (the test DVD, a Matroska file with two
// audio tracks and a subtitle, one with named chapters).
#include "app/DiscMenus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/PlayerMenuStates.h"
#include "tests/app/PlayerWndFixture.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListContainerElement.h"

namespace orvella {
namespace {

// "name label [x]" per row, the mark last.
std::vector<std::string> Describe(const std::vector<DiscMenuRow>& rows) {
    std::vector<std::string> out;
    for (const DiscMenuRow& r : rows) out.push_back(r.name + " " + r.label + (r.marked ? " x" : ""));
    return out;
}

TEST(DiscMenuRows, EachSubmenuFromItsTableWithWhatPlaysMarked) {
    MenuState s;
    s.tables.titleLengths = {{1, "12.000"}, {2, "4.000"}, {3, "60.000"}};
    s.tables.currentTitle = 2;
    s.tables.audioTracks = {{128, "en"}, {129, "fr"}};
    s.tables.currentAudio = 129;
    s.tables.subtitleTracks = {{2, "eng"}, {5, "ger"}};
    s.tables.subtitleFiles = {{1, "/home/a/m.srt"}};
    s.tables.currentSubtitle = 1;
    s.tables.chapters = {{0, "00:00:00"}, {1, "00:00:04"}};
    s.tables.currentChapter = 0;
    using Rows = std::vector<std::string>;
    EXPECT_EQ(Describe(DiscMenuRows(s, "ID_MAINMENU_DVD_TITLE")),
              (Rows{"ID_MAINMENU_DVD_TITLE_-1 -1(DVD Menu)", "ID_MAINMENU_DVD_TITLE_1 1(12.000)",
                    "ID_MAINMENU_DVD_TITLE_2 2(4.000) x", "ID_MAINMENU_DVD_TITLE_3 3(60.000)"}));
    // Audio tracks by their ids: the engine ignores a track's place.
    EXPECT_EQ(Describe(DiscMenuRows(s, "ID_MAINMENU_DVD_AUDIO")),
              (Rows{"ID_MAINMENU_DVD_AUDIO_128 128(en)", "ID_MAINMENU_DVD_AUDIO_129 129(fr) x"}));
    // Subtitle tracks and files by their places.
    EXPECT_EQ(Describe(DiscMenuRows(s, "ID_MAINMENU_DVD_SUBTITLE")),
              (Rows{"ID_MAINMENU_DVD_SUBTITLE_-1 -1(disabled)", "ID_MAINMENU_DVD_SUBTITLE_0 0(eng)",
                    "ID_MAINMENU_DVD_SUBTITLE_1 1(ger) x", "ID_MAINMENU_DVD_EXTERNAL_SUBTITLE_0 0(/home/a/m.srt)"}));
    EXPECT_EQ(Describe(DiscMenuRows(s, "ID_MAINMENU_DVD_CHAPTER")),
              (Rows{"ID_MAINMENU_DVD_CHAPTER_0 0(00:00:00) x", "ID_MAINMENU_DVD_CHAPTER_1 1(00:00:04)"}));
    EXPECT_TRUE(DiscMenuRows(s, "ID_MAINMENU_DVD_NAV_MENU").empty());
    EXPECT_TRUE(HasDiscChoices(s));

    // Nothing known: every submenu says "none", and a plain clip has nothing to choose.
    MenuState empty;
    for (const char* item : {"ID_MAINMENU_DVD_TITLE", "ID_MAINMENU_DVD_AUDIO", "ID_MAINMENU_DVD_SUBTITLE",
                             "ID_MAINMENU_DVD_CHAPTER"})
        EXPECT_EQ(Describe(DiscMenuRows(empty, item)), Rows{" none"}) << item;
    empty.tables.audioTracks = {{0, "eng"}};
    empty.tables.chapters = {{0, "00:00:00"}};
    EXPECT_FALSE(HasDiscChoices(empty));
    empty.tables.audioTracks[1] = "fra";
    EXPECT_TRUE(HasDiscChoices(empty));
}

class DiscMenusEngineTest : public PlayerWndEngineTest {
protected:
    void Play(const std::string& address) {
        Start();
        window_->SetEngineOutputsForTesting("null", "null");
        window_->PlaylistCommands().PlayTypedAddress(address);
        ASSERT_TRUE(window_->IsEngineRunning());
    }
    // The submenu's rows as the menu window makes them when it opens, after the engine
    // had time to answer what plays.
    std::vector<std::string> MenuRows(const char* item) {
        auto states = window_->MenuItemStates();
        RunInRealTime([] { return false; }, 300);
        uilib::CListUI list;
        states->FillSubmenu(item, list);
        std::vector<std::string> rows;
        for (int i = 0; i < list.GetCount(); ++i) {
            auto* row = static_cast<uilib::CListContainerElementUI*>(list.GetItemAt(i));
            const std::string name = row->GetName();
            rows.push_back(std::string(row->GetItemAt(0)->GetText()) + (states->IsChecked(name) ? " x" : ""));
        }
        return rows;
    }
    void Choose(const char* item) { window_->RunMenuCommand(item); }
    // Asks for the position until it lies in [from, to]; false when it never does.
    bool PositionComesTo(float from, float to) {
        return RunInRealTime([&] {
            window_->Slave().Send(slave::GetTimePos());
            const float at = window_->GetMediaInfo().position;
            return at >= from && at <= to;
        }, 5000);
    }
    bool Run(const std::function<bool()>& done, int ms = 8000) { return RunInRealTime(done, ms); }
};

using Rows = std::vector<std::string>;

TEST_F(DiscMenusEngineTest, DvdTitlesChaptersAudioAndSubtitles) {
    Play("dvdnav:// -dvd-device " + media_ + "dvd");
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().inDvdMenu; }));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_TITLE"), (Rows{"-1(DVD Menu)", "1(12.000) x", "2(4.000)"}));

    // The second title is the 4-second one, and the menus follow it. (The disc goes back
    // to its menu when it ends.)
    Choose("ID_MAINMENU_DVD_TITLE_2");
    EXPECT_TRUE(Run([&] { return window_->GetEngine()->GetTables().currentTitle == 2; }));
    EXPECT_NEAR(window_->GetMediaInfo().length, 4.0f, 0.5f);
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_TITLE")[2], "2(4.000) x");
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_CHAPTER"), (Rows{"0(00:00:00) x"}));
    ASSERT_TRUE(Run([&] { return window_->GetMediaInfo().inDvdMenu; }));

    // Title 1: three chapters by their starts, two audio tracks by id, a German subtitle.
    Choose("ID_MAINMENU_DVD_TITLE_1");
    ASSERT_TRUE(Run([&] {
        const MediaTables t = window_->GetEngine()->GetTables();
        return t.currentTitle == 1 && t.subtitleTracks.count(0) && t.subtitleTracks.at(0) == "de";
    }));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_SUBTITLE"), (Rows{"-1(disabled) x", "0(de)"}));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_CHAPTER"), (Rows{"0(00:00:00) x", "1(00:00:04)", "2(00:00:07)"}));
    Choose("ID_MAINMENU_DVD_CHAPTER_1");
    EXPECT_TRUE(PositionComesTo(3.5f, 6.0f)) << window_->GetMediaInfo().position;
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_CHAPTER")[1], "1(00:00:04) x");
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_AUDIO"), (Rows{"128(en) x", "129(fr)"}));
    Choose("ID_MAINMENU_DVD_AUDIO_129");
    EXPECT_TRUE(Run([&] { return window_->GetEngine()->GetTables().currentAudio == 129; }));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_AUDIO"), (Rows{"128(en)", "129(fr) x"}));
}

TEST_F(DiscMenusEngineTest, FileTracksAndNamedChapters) {
    Play(media_ + "multi.mkv");
    ASSERT_TRUE(Run([&] { return MenuRows("ID_MAINMENU_DVD_AUDIO").size() == 2; }));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_AUDIO"), (Rows{"0(eng) x", "1(fra)"}));
    // The file starts without its subtitle.
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_SUBTITLE"), (Rows{"-1(disabled) x", "0(ger)"}));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_TITLE"), (Rows{"none"}));
    Choose("ID_MAINMENU_DVD_AUDIO_1");
    EXPECT_TRUE(Run([&] { return window_->GetEngine()->GetTables().currentAudio == 1; }));
    Choose("ID_MAINMENU_DVD_SUBTITLE_0");
    EXPECT_TRUE(Run([&] { return window_->GetEngine()->GetTables().currentSubtitle == 0; }));

    window_->PlaylistCommands().PlayTypedAddress(media_ + "chapters.mkv");
    ASSERT_TRUE(Run([&] { return MenuRows("ID_MAINMENU_DVD_CHAPTER").size() == 3; }));
    EXPECT_EQ(MenuRows("ID_MAINMENU_DVD_CHAPTER"), (Rows{"0(00:00:00 Intro) x", "1(00:00:04 Middle)", "2(00:00:08)"}));
    Choose("ID_MAINMENU_DVD_CHAPTER_2");
    EXPECT_TRUE(PositionComesTo(7.5f, 10.0f)) << window_->GetMediaInfo().position;
}

}  // namespace
}  // namespace orvella
