// The menus' snapshot and its marks, the pages the help items open, and the number read
// from an item's name: pure functions, no window.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/DisplayModes.h"
#include "app/MenuCommands.h"
#include "app/MenuState.h"
#include "app/PlayerMenuStates.h"
#include "app/WebPages.h"
#include "engine/LaunchOptions.h"
#include "library/PlayerSettings.h"

namespace orvella {
namespace {

std::vector<std::string> MarkedWith(const MenuState& state, const std::string& prefix) {
    std::vector<std::string> marked;
    for (const MenuMark& mark : MenuMarks(state))
        if (mark.marked && std::string(mark.item).rfind(prefix, 0) == 0) marked.push_back(mark.item);
    return marked;
}

TEST(MenuState, EachGroupMarksExactlyTheItemsOfItsValue) {
    using Items = std::vector<std::string>;
    const struct {
        void (*change)(MenuState&);
        const char* group;
        Items marked;
    } cases[] = {
        {[](MenuState& s) { s.sizeFactor = 1.5f; }, "ID_MAINMENU_PLAY_FRAME_SIZE_", {"ID_MAINMENU_PLAY_FRAME_SIZE_150"}},
        // A factor that went through arithmetic still marks its item ...
        {[](MenuState& s) { s.sizeFactor = 0.1f * 5.0f; }, "ID_MAINMENU_PLAY_FRAME_SIZE_", {"ID_MAINMENU_PLAY_FRAME_SIZE_50"}},
        // ... and one between the items marks none.
        {[](MenuState& s) { s.sizeFactor = 1.25f; }, "ID_MAINMENU_PLAY_FRAME_SIZE_", {}},
        {[](MenuState& s) { s.rotation = -1; }, "ID_MAINMENU_PLAY_FRAME_ROTATE_", {"ID_MAINMENU_PLAY_FRAME_ROTATE_CLOSE"}},
        {[](MenuState& s) { s.aspectChoice = 10; }, "ID_MAINMENU_PLAY_FRAME_RATIO_", {"ID_MAINMENU_PLAY_FRAME_RATIO_FULL"}},
        {[](MenuState& s) { s.playSequence = 3; }, "ID_PLAYLISTMENU_PLAY_", {"ID_PLAYLISTMENU_PLAY_SINGLE_LOOP"}},
        {[](MenuState& s) { s.playSequence = 3; }, "ID_MAINMENU_PLAY_PLAYSEQUENCE_", {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE_LOOP"}},
        {[](MenuState& s) { s.sortOrder = 1; }, "ID_PLAYLIST_RIGHT_MENU_SORT_", {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE"}},
        {[](MenuState& s) { s.fullScreen = true; }, "ID_MAINMENU_PLAY_FULLSCREEN", {"ID_MAINMENU_PLAY_FULLSCREEN"}},
        {[](MenuState& s) { s.fullScreen = false; }, "ID_MAINMENU_PLAY_NORMAL", {"ID_MAINMENU_PLAY_NORMAL"}},
        {[](MenuState& s) { s.keepPlayMemory = false; }, "ID_MAINMENU_FILE_PLAYMEMORY_", {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR_EXIT"}},
        {[](MenuState& s) { s.topmost = false; }, "ID_MAINMENU_PLAY_TOPMOST", {}},
        {[](MenuState& s) { s.audioMode = 3; }, "ID_MAINMENU_PLAY_AUDIO_CHANNELS_", {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RSTEREO"}},
        // The device marks follow "playerchannels" as its choices store it.
        {[](MenuState& s) { s.playerChannels = 2; }, "ID_MAINMENU_PLAY_AUDIO_DEVICE_", {"ID_MAINMENU_PLAY_AUDIO_DEVICE_5_1"}},
        {[](MenuState& s) { s.playerChannels = 0; }, "ID_MAINMENU_PLAY_AUDIO_DEVICE_", {"ID_MAINMENU_PLAY_AUDIO_DEVICE_STEREO"}},
        {[](MenuState& s) { s.playerChannels = 8; }, "ID_MAINMENU_PLAY_AUDIO_DEVICE_", {"ID_MAINMENU_PLAY_AUDIO_DEVICE_SPDIF"}},
        {[](MenuState& s) { s.osdLevel = 3; }, "ID_MAINMENU_PLAY_FRAME_OSD_", {"ID_MAINMENU_PLAY_FRAME_OSD_3"}},
        {[](MenuState& s) { s.videoOutput = 5; }, "ID_MAINMENU_PLAY_FRAME_FORMAT_", {"ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECT3D"}},
        {[](MenuState& s) { s.deinterlace = 11; }, "ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_", {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_KERNDEINT"}},
        {[](MenuState& s) { s.deinterlace = 10; }, "ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_", {}},
    };
    for (const auto& c : cases) {
        MenuState state;
        c.change(state);
        EXPECT_EQ(MarkedWith(state, c.group), c.marked) << c.group;
        for (const std::string& item : c.marked) EXPECT_TRUE(IsMenuItemMarked(state, item)) << item;
    }
    EXPECT_FALSE(IsMenuItemMarked(MenuState{}, "ID_MAINMENU_NO_SUCH_ITEM"));

    // The menu window's view: the DVD menus only while a disc plays with its menus.
    MenuState dvd;
    dvd.sizeFactor = 1.5f;
    for (bool navigation : {false, true}) {
        dvd.dvdNavigation = navigation;
        PlayerMenuStates states(dvd);
        EXPECT_EQ(states.IsEnabled("ID_MAINMENU_DVD"), navigation);
        EXPECT_EQ(states.IsEnabled("ID_MAIN_RIGHT_MENU_DVD"), navigation);
        EXPECT_TRUE(states.IsEnabled("ID_MAINMENU_PLAY"));
        EXPECT_TRUE(states.IsChecked("ID_MAINMENU_PLAY_FRAME_SIZE_150"));
        EXPECT_FALSE(states.IsChecked("ID_MAINMENU_PLAY_FRAME_SIZE_100"));
    }
}

TEST(MenuState, TakesSettingsDisplayAndTheEngineTablesOnlyWhileItRuns) {
    PlayerSettings settings;
    settings.playsequence = 2;
    settings.showOSD = true;
    settings.deinterleave = 7;
    settings.language = "de";
    DisplayState display;
    display.sizeFactor = 2.0f;
    display.fittedSize = SIZE{660, 520};
    display.topmost = true;
    display.aspectChoice = 3;
    MediaTables tables;
    tables.currentTitle = 4;
    tables.audioTracks[128] = "en";

    MenuStateSources sources;
    sources.rotation = 2;
    sources.defaultTitle = 1;
    sources.windowSize = SIZE{660, 520};
    MenuState stopped = BuildMenuState(settings, display, sources);
    EXPECT_EQ(stopped.currentTitle, 1);
    EXPECT_TRUE(stopped.tables.audioTracks.empty());
    EXPECT_EQ(stopped.osdLevel, 3);
    EXPECT_EQ(stopped.language, "de");
    EXPECT_EQ(MarkedWith(stopped, "ID_MAINMENU_PLAY_FRAME_"),
              (std::vector<std::string>{"ID_MAINMENU_PLAY_FRAME_RATIO_4:3", "ID_MAINMENU_PLAY_FRAME_ROTATE_2",
                                        "ID_MAINMENU_PLAY_FRAME_SIZE_200", "ID_MAINMENU_PLAY_FRAME_OSD_3",
                                        "ID_MAINMENU_PLAY_FRAME_FORMAT_DIRECT3D",
                                        "ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_YADIF"}));
    EXPECT_TRUE(IsMenuItemMarked(stopped, "ID_MAINMENU_PLAY_TOPMOST"));
    EXPECT_TRUE(IsMenuItemMarked(stopped, "ID_PLAYLISTMENU_PLAY_RANDOM"));

    sources.engineTables = &tables;
    MenuState playing = BuildMenuState(settings, display, sources);
    EXPECT_EQ(playing.currentTitle, 4);
    EXPECT_EQ(playing.tables.audioTracks.at(128), "en");
}

// Every row of every menu file (both skins, every language) opens a submenu of its file or
// is a command the dispatcher runs; English rows that drop the whole play list say so.
TEST(MenuFiles, EveryRowOpensASubmenuOrReachesACommand) {
    const std::set<std::string> dropPlaylist = {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR", "ID_MAINMENU_FILE_PLAYMEMORY_CLEAR_EXIT",
                                                "ID_PLAYLIST_RIGHT_MENU_DELETE_ALL"};
    int files = 0;
    for (const char* skin : {"/data/skin/language", "/data/skin_classic/language"}) {
        for (const auto& language : std::filesystem::directory_iterator(std::string(ORVELLA_SOURCE_DIR) + skin)) {
            pugi::xml_document menus;
            files += static_cast<bool>(menus.load_file((language.path() / "menu.xml").c_str()));
            for (const pugi::xpath_node& row : menus.select_nodes("//MenuItem | //ListContainerElementEx")) {
                const std::string name = row.node().attribute("name").value();
                const bool opens = std::string(row.node().name()) == "ListContainerElementEx";
                EXPECT_TRUE(opens ? static_cast<bool>(menus.select_node(("//List[@name='" + name + "_SUB']").c_str()))
                                  : MenuCommands::IsCommand(name)) << language.path() << ": " << name << " does nothing";
                const std::string label = row.node().child("Label").attribute("text").value();
                EXPECT_TRUE(!dropPlaylist.count(name) || language.path().filename() != "eng" ||
                            label.find("play list") != std::string::npos) << name << " says " << label;
            }
        }
    }
    EXPECT_EQ(files, 2);
}

TEST(MenuCommandsText, ItemNumbersAndWebPages) {
    const struct {
        const char* name;
        int number;
    } numbers[] = {
        {"ID_MAINMENU_DVD_TITLE_3", 3}, {"ID_MAINMENU_DVD_TITLE_-1", -1},
        {"ID_MAINMENU_DVD_AUDIO_x", 0}, {"ID_MAINMENU_DVD_AUDIO_", 0},
        {"ID_MAINMENU_DVD_CHAPTER_12b", 12}, {"7", 7},
    };
    for (const auto& c : numbers) EXPECT_EQ(MenuCommands::NumberAfterLastUnderscore(c.name), c.number) << c.name;

    const std::string folder = "/opt/orvella/";
    EXPECT_EQ(WebPageAddress(0, "", folder), "/opt/orvella/help/index.html");
    EXPECT_EQ(WebPageAddress(1, "", folder), "/opt/orvella/help/index.html");
    EXPECT_EQ(WebPageAddress(3, "", folder), "/opt/orvella/help/index.html");
    EXPECT_EQ(WebPageAddress(4, "", folder), "");
    // The search is for the file's name alone, with every unsafe byte encoded.
    EXPECT_EQ(WebPageAddress(2, "/films/My Film & Co/Le café (2001).v2.mkv", folder),
              "https://www.opensubtitles.org/en/search2/sublanguageid-all/moviename-"
              "Le%20caf%C3%A9%20%282001%29.v2");
    EXPECT_EQ(UrlEncode("a/b?c=d#\n"), "a%2Fb%3Fc%3Dd%23%0A");
    EXPECT_EQ(ShortPath("/a b/c"), "/a b/c");
}

// What the sound and deinterlace items choose reaches the engine's launch line.
TEST(MenuLaunchChoices, EveryChoiceHasItsEngineOption) {
    const struct {
        void (*choose)(LaunchOptions&);
        std::vector<std::string> arguments;
    } cases[] = {
        {[](LaunchOptions& o) { o.deinterleave = 1; }, {"-vf-add", "pp=lb"}},
        {[](LaunchOptions& o) { o.deinterleave = 2; }, {"-vf-add", "tfields=1"}},
        {[](LaunchOptions& o) { o.deinterleave = 3; }, {"-vf-add", "pp=ci"}},
        {[](LaunchOptions& o) { o.deinterleave = 4; }, {"-vf-add", "pp=li"}},
        {[](LaunchOptions& o) { o.deinterleave = 5; }, {"-vf-add", "pp=md"}},
        {[](LaunchOptions& o) { o.deinterleave = 6; }, {"-vf-add", "pp=fd"}},
        {[](LaunchOptions& o) { o.audiomode = 3; }, {"-af", "channels=2,channels=2:2:0:1:1:0"}},
        {[](LaunchOptions& o) { o.audiomode = 4; }, {"-af", "surround"}},
        {[](LaunchOptions& o) { o.playerchannels = 3; }, {"-channels", "1"}},
        {[](LaunchOptions& o) { o.playerchannels = 5; }, {"-channels", "5"}},
        {[](LaunchOptions& o) { o.playerchannels = 7; }, {"-channels", "8"}},
        {[](LaunchOptions& o) { o.playerchannels = 8; }, {"-channels", "2", "-ac", "spdifac3,spdifeac3,spdifdts,"}},
    };
    for (const auto& c : cases) {
        LaunchOptions options;
        options.mediaPath = "/v/a.mkv";
        c.choose(options);
        const std::vector<std::string> argv = BuildEngineArguments(options);
        auto at = std::search(argv.begin(), argv.end(), c.arguments.begin(), c.arguments.end());
        EXPECT_NE(at, argv.end()) << c.arguments[1] << " not in " << ::testing::PrintToString(argv);
    }
}

}  // namespace
}  // namespace orvella
