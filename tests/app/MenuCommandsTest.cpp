// The menu commands on the main window with a scripted engine: what each item sends, what
// it changes, and that the menus then mark what was chosen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/PlaybackFixture.h"

namespace orvella {
namespace {

class MenuCommandsTest : public PlaybackTest {
protected:
    void Play() {
        StartWithEngine();
        OpenClips({clips_[0], clips_[1]});
        // The shown size comes on a line of its own after the stream's; the automatic
        // ratio needs it.
        ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().displayWidth == 320; }));
        engine_->ForgetCommands();
    }
    void Choose(const std::string& item) {
        window_->RunMenuCommand(item);
        fake().DispatchPending();
    }
    // The commands sent after the last ForgetCommands, without the pause-keeping prefix.
    std::vector<std::string> SentSinceForget(size_t atLeast) {
        // Nothing expected: give a stray command the time to arrive anyway.
        Pump([&] { return atLeast > 0 && engine_->Commands().size() >= atLeast; }, atLeast ? 6000 : 150);  // a loaded checking build is slow
        std::vector<std::string> sent;
        for (std::string c : engine_->Commands()) {
            if (c.rfind("pausing_keep ", 0) == 0) c.erase(0, 13);
            // The poll's own queries are not the menu's.
            if (c != "get_time_pos" && c != "get_time_length") sent.push_back(c);
        }
        return sent;
    }
};

TEST_F(MenuCommandsTest, EngineItemsSendTheirCommands) {
    Play();
    using Lines = std::vector<std::string>;
    const struct {
        const char* item;
        Lines sent;
    } cases[] = {
        // After a switch the engine is asked what now plays, for the menus' marks.
        {"ID_MAINMENU_DVD_SUBTITLE_2", {"sub_demux 2", "pausing_keep_force get_property sub_demux"}},
        {"ID_MAINMENU_DVD_SUBTITLE_-1",
         {"sub_demux -1", "sub_file -1", "pausing_keep_force get_property sub_demux"}},
        {"ID_MAINMENU_DVD_EXTERNAL_SUBTITLE_3", {"sub_file 3"}},
        {"ID_MAINMENU_DVD_AUDIO_129", {"switch_audio 129", "pausing_keep_force get_property switch_audio"}},
        {"ID_MAINMENU_DVD_AUDIO_x", {"switch_audio 0", "pausing_keep_force get_property switch_audio"}},
        {"ID_MAINMENU_DVD_CHAPTER_4", {"seek_chapter 4 1", "pausing_keep_force get_property chapter"}},
        // The engine's own title number.
        {"ID_MAINMENU_DVD_TITLE_3", {"switch_title 3"}},
        {"ID_MAINMENU_DVD_TITLE_-1", {"dvdnav 5"}},
        {"ID_MAINMENU_DVD_NAV_MENU", {"dvdnav 5"}},
        {"ID_MAINMENU_PLAY_FORWARD_ONE_MINUTE", {"seek 60 0"}},
        {"ID_MAINMENU_PLAY_BACKWARD_TEN_MINUTES", {"seek -600 0"}},
        {"ID_MAINMENU_PLAY_FRAME_RATIO_AUTO", {"switch_ratio 1.333333"}},  // 320x240 shown
        {"ID_MAINMENU_PLAY_FRAME_RATIO_14:9", {"switch_ratio 1.555556"}},
        {"ID_MAINMENU_PLAY_FRAME_RATIO_2.35:1", {"switch_ratio 2.350000"}},
        {"ID_MAINMENU_PLAY_AUDIO_UP", {"volume 53 1"}},
        {"ID_MAINMENU_PLAY_AUDIO_DOWN", {"volume 50 1"}},
        {"ID_MAINMENU_PLAY_AUDIO_MUTE", {"mute 1"}},
        {"ID_MAINMENU_PLAY_AUDIO_MUTE", {"mute 0"}},
        {"ID_MAINMENU_PLAY_AUDIO_DELAY_TEN_SECONDS", {"audio_delay 10.0 0"}},
        {"ID_MAINMENU_PLAY_AUDIO_BACK_ONE_MINUTE", {"audio_delay -60.0 0"}},
        {"ID_MAINMENU_PLAY_DIALOGUE_DELAY_ONE_SECOND", {"sub_delay 1.0 0"}},
        {"ID_MAINMENU_PLAY_DIALOGUE_BACK_TEN_SECONDS", {"sub_delay -10.0 0"}},
        {"ID_MAINMENU_PLAY_DIALOGUE_MOVEUP", {"sub_pos -10 0"}},
        {"ID_MAINMENU_PLAY_DIALOGUE_PREVIOUS_LINE", {"sub_step -1"}},
        {"ID_MAINMENU_PLAY_DIALOGUE_UNLOAD", {"sub_remove"}},
        // Looping is told in absolute counts, from either menu: leaving single loop ends it.
        {"ID_PLAYLISTMENU_PLAY_SINGLE_LOOP", {"loop 0 1"}},
        {"ID_PLAYLISTMENU_PLAY_RANDOM", {"loop -1 1"}},
        {"ID_MAINMENU_PLAY_PLAYSEQUENCE_SINGLE_LOOP", {"loop 0 1"}},
        // A name that matches nothing sends nothing.
        {"ID_MAINMENU_NO_SUCH_ITEM", {}},
        {"", {}},
    };
    for (const auto& c : cases) {
        engine_->ForgetCommands();
        Choose(c.item);
        EXPECT_EQ(SentSinceForget(c.sent.size()), c.sent) << c.item;
    }
    // The playback items: stop, play again, full screen only while something plays.
    Choose("ID_MAINMENU_PLAY_STOP");
    EXPECT_TRUE(Pump([&] { return !window_->IsEngineRunning(); }));
    Choose("ID_MAINMENU_PLAY_FULLSCREEN");
    EXPECT_FALSE(window_->Display().State().fullScreen);
    Choose("ID_MAINMENU_PLAY_PLAY");
    EXPECT_TRUE(Pump([&] { return window_->IsEngineRunning(); }));
    Choose("ID_MAINMENU_PLAY_FULLSCREEN");
    EXPECT_TRUE(window_->Display().State().fullScreen);
    Choose("ID_MAINMENU_PLAY_NORMAL");
    EXPECT_FALSE(window_->Display().State().fullScreen);
    EXPECT_EQ(window_->GetSettings().playsequence, 3);
    EXPECT_TRUE(Visible("mute_on"));
}

// The menu's Larger and Smaller and the settings window's buttons step the subtitles' size
// alike, never to letters too small to see nor past four times.
TEST_F(MenuCommandsTest, SubtitleSizeStepsAlikeFromMenuAndSettingsWindow) {
    Play();
    const char *const kLarger = "ID_MAINMENU_PLAY_DIALOGUE_ENLARGE", *const kSmaller = "ID_MAINMENU_PLAY_DIALOGUE_REDUCE";
    const struct { const char* item; long settingsStep; int times; const char* last; } steps[] = {
        {kLarger, 0, 1, "1.2"}, {nullptr, 1, 1, "1.4"}, {kSmaller, 0, 5, "0.6"}, {nullptr, -1, 1, "0.6"},
        {nullptr, 0, 1, "1.0"}, {kLarger, 0, 20, "4.0"},
    };
    for (const auto& s : steps) {
        engine_->ForgetCommands();
        uilib::TNotifyUI settings;  // the settings window's step (0: back to the starting size)
        settings.sType = "settings_subtitlefontchange";
        settings.wParam = static_cast<WPARAM>(s.settingsStep);
        for (int i = 0; i < s.times; ++i) s.item ? Choose(s.item) : window_->NotifyFromWindow(settings);
        EXPECT_EQ(SentSinceForget(s.times).back(), std::string("sub_scale ") + s.last + " 1") << s.last;
    }
}

TEST_F(MenuCommandsTest, ChosenItemsAreMarkedAndLaunchSettingsRestartWhatPlays) {
    Play();
    // launch: the option and value the relaunch carries; null for items that keep the engine.
    const struct {
        const char* item;
        const char* option;
        const char* value;
    } cases[] = {
        {"ID_MAINMENU_PLAY_FRAME_ROTATE_2", "-vf", "rotate=2,screenshot"},
        {"ID_MAINMENU_PLAY_FRAME_FORMAT_GL", "-vo", "gl"},
        {"ID_MAINMENU_PLAY_AUDIO_DEVICE_5_1", "-channels", "6"},
        {"ID_MAINMENU_PLAY_AUDIO_DEVICE_MONO", "-channels", "1"},
        {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_RIGHT", "-af", "channels=2,channels=2:2:1:0:1:1"},
        {"ID_MAINMENU_PLAY_AUDIO_CHANNELS_DOLBYS", "-af", "surround"},
        {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_BOB", "-vf-add", "tfields=1"},
        {"ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_KERNDEINT", "-vf-add", "kerndeint=5"},
        {"ID_MAINMENU_PLAY_FRAME_RATIO_16:10", nullptr, nullptr},
        {"ID_MAINMENU_PLAY_FRAME_SIZE_150", nullptr, nullptr},
        {"ID_MAINMENU_PLAY_PLAYSEQUENCE_RANDOM", nullptr, nullptr},
        {"ID_MAINMENU_FILE_PLAYMEMORY_CLEAR_EXIT", nullptr, nullptr},
        {"ID_MAINMENU_FILE_PLAYMEMORY_SAVE_EXIT", nullptr, nullptr},
        {"ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE", nullptr, nullptr},
        {"ID_PLAYLISTMENU_SORT_BY_NAME", nullptr, nullptr},
        {"ID_MAINMENU_PLAY_TOPMOST", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const int before = engine_->Launches();
        Choose(c.item);
        if (c.option) {
            EXPECT_TRUE(Pump([&] { return engine_->Launches() == before + 1; })) << c.item;
            ASSERT_TRUE(Pump([&] { return window_->IsEngineRunning(); })) << c.item;
            const std::vector<std::string> argv = engine_->Arguments(before + 1);
            const std::vector<std::string> pair = {c.option, c.value};
            EXPECT_NE(std::search(argv.begin(), argv.end(), pair.begin(), pair.end()), argv.end())
                << c.item << ": " << ::testing::PrintToString(argv);
        } else {
            Pump([] { return false; }, 50);
            EXPECT_EQ(engine_->Launches(), before) << c.item;
        }
        EXPECT_TRUE(IsMenuItemMarked(window_->CurrentMenuState(), c.item)) << c.item;
    }
    // Earlier choices stay in later launches.
    const std::vector<std::string> last = engine_->Arguments(engine_->Launches());
    EXPECT_NE(std::find(last.begin(), last.end(), "rotate=2,screenshot"), last.end());
    EXPECT_EQ(engine_->Option(engine_->Launches(), "-channels"), "1");
    const MenuState state = window_->CurrentMenuState();
    EXPECT_FLOAT_EQ(state.sizeFactor, 1.5f);
    EXPECT_EQ(window_->PlaylistModel().SortMode(), 0);
}

TEST_F(MenuCommandsTest, StoppedPlayerStoresChoicesAndWindowItemsReachTheirTargets) {
    StartWithEngine();
    // Nothing plays: a launch setting is stored for the next start, nothing starts now.
    Choose("ID_MAINMENU_PLAY_FRAME_ROTATE_2");
    Choose("ID_MAINMENU_PLAY_FRAME_DEINTERLEAVE_LINEAR");
    Pump([] { return false; }, 50);
    EXPECT_EQ(engine_->Launches(), 0);
    EXPECT_EQ(window_->Playback().Rotation(), 2);
    EXPECT_EQ(window_->GetSettings().deinterleave, 4);

    const HWND main = window_->GetHWND();
    // The n-th address handed to the desktop, and what it starts with.
    auto Opened = [&](size_t n, const std::string& start) {
        const auto& opened = fake().ShellOpened();
        return opened.size() == n && opened.back().find(start) != std::string::npos;
    };
    ::ShowWindow(main, SW_HIDE);
    const struct {
        const char* item;
        std::function<bool()> happened;
    } cases[] = {
        {"ID_MAINMENU_FILE_OPENFILE", [&] { return fake().TimerInterval(main, 102) == 100; }},
        {"ID_MAINMENU_FILE_OPENFOLDER", [&] { return fake().TimerInterval(main, 103) == 100; }},
        {"ID_MAINMENU_PLAY_DIALOGUE_LOAD", [&] { return fake().TimerInterval(main, 104) == 100; }},
        {"ID_MAINMENU_HELP_ABOUT", [&] { return window_->Dialogs().About() != nullptr; }},
        {"ID_PLAYLIST_RIGHT_MENU_DELETE_ALL", [&] { return window_->Dialogs().Question() != nullptr; }},
        {"ID_MAINMENU_HELP_HELP", [&] { return Opened(1, "/help/index.html"); }},
        {"ID_MAINMENU_HELP_MORE", [&] { return Opened(2, "/help/index.html"); }},
        {"ID_MAINMENU_HELP_FORUM", [&] { return Opened(3, "/help/index.html"); }},
        {"ID_MAINMENU_HELP_F1", [&] { return Opened(4, "/help/index.html"); }},
        {"ID_MAINMENU_PLAY_DIALOGUE_SEARCH", [&] { return Opened(5, "https://www.opensubtitles.org/"); }},
        {"ID_TRAYIOCNMENU_SHOWPLAYER", [&] { return IsWindowVisible(main); }},
        {"ID_MAIN_RIGHT_MENU_PLAYLIST", [&] { return !Visible("playlistbar"); }},
        {"ID_MAIN_RIGHT_MENU_PLAYLIST", [&] { return Visible("playlistbar"); }},
        {"ID_MAINMENU_FILE_OPENURL", [&] { return Visible("URLbar") && Visible("startup"); }},
    };
    for (const auto& c : cases) {
        Choose(c.item);
        EXPECT_TRUE(Pump(c.happened, 1000)) << c.item;
    }
    // The disc list is filled by the disc code; until then a chosen disc plays nothing.
    Choose("ID_MAINMENU_FILE_OPENDISC#MOVIE(/media/cdrom)");
    EXPECT_EQ(engine_->Launches(), 0);
    EXPECT_TRUE(window_->PlaylistModel().Empty());
}

// What would open a window not built yet is disabled, in the menus and the main layout.
TEST_F(MenuCommandsTest, ItemsAndButtonsOfWindowsNotBuiltYetAreDisabled) {
    StartWithEngine();
    EXPECT_TRUE(Find("openfile")->IsEnabled());
    const std::shared_ptr<const IMenuItemStates> menus = window_->MenuItemStates();
    for (const char* name : {"ID_MAINMENU_SETTING", "ID_MAINMENU_LANGUAGE", "ID_MAINMENU_HELP_CHECK",
                             "ID_MAINMENU_FILE_FILEINFO"})
        EXPECT_TRUE(menus->IsEnabled(name)) << name;
}

TEST_F(MenuCommandsTest, KeysRunTheActionsBoundToThem) {
    Play();
    using platform::FakeBackend;
    const unsigned ctrl = FakeBackend::kControl, alt = FakeBackend::kAlt, shift = FakeBackend::kShift;
    const struct {
        int vk;
        unsigned modifiers;
        std::vector<std::string> sent;
    } cases[] = {
        {VK_SPACE, 0, {"pause"}},
        {VK_SPACE, 0, {"pause"}},
        {VK_RIGHT, 0, {"seek 10 0"}},
        {VK_LEFT, ctrl, {"seek -60 0"}},
        {VK_RIGHT, alt, {"seek 600 0"}},
        {VK_UP, 0, {"volume 53 1"}},
        {VK_DOWN, 0, {"volume 50 1"}},
        {'M', 0, {"mute 1"}},
        {'M', 0, {"mute 0"}},
        {VK_OEM_6, ctrl, {"audio_delay 0.1 0"}},
        {VK_OEM_4, shift, {"audio_delay -1.0 0"}},
        {'0', ctrl, {"sub_delay 0.1 0"}},
        {'9', shift, {"sub_delay -10.0 0"}},
        // Modifiers alone, and a key nothing is bound to, do nothing.
        {VK_CONTROL, ctrl, {}},
        {'K', 0, {}},
    };
    for (const auto& c : cases) {
        engine_->ForgetCommands();
        fake().KeyPress(c.vk, c.modifiers, hwnd_);
        fake().DispatchPending();
        EXPECT_EQ(SentSinceForget(c.sent.size()), c.sent) << c.vk << " with " << c.modifiers;
    }

    // Window actions: full screen, topmost, the zoom steps, the play list bar.
    fake().KeyPress(VK_RETURN, ctrl, hwnd_);
    EXPECT_TRUE(window_->Display().State().fullScreen);
    fake().KeyPress(VK_RETURN, ctrl, hwnd_);
    EXPECT_FALSE(window_->Display().State().fullScreen);
    fake().KeyPress(VK_F1 + 8, 0, hwnd_);
    EXPECT_TRUE(window_->Display().State().topmost);
    std::vector<float> zoomed;
    for (int i = 0; i < 3; ++i) {
        fake().KeyPress(VK_OEM_PLUS, ctrl, hwnd_);
        zoomed.push_back(window_->Display().State().sizeFactor);
    }
    EXPECT_EQ(zoomed, (std::vector<float>{2.0f, 4.0f, 4.0f}));
    const bool barShown = Visible("playlistbar");
    fake().KeyPress('P', ctrl, hwnd_);
    fake().DispatchPending();
    EXPECT_NE(Visible("playlistbar"), barShown);
    // PageDown plays the next entry.
    fake().KeyPress(VK_NEXT, 0, hwnd_);
    fake().DispatchPending();
    EXPECT_EQ(window_->PlaylistModel().CurrentIndex(), 1u);

    // Two actions bound to one key (a settings file written by hand) both run.
    const_cast<HotkeyBindings&>(window_->GetHotkeys()).Live().SetCode("Mute", VK_SPACE);
    engine_->ForgetCommands();
    fake().KeyPress(VK_SPACE, 0, hwnd_);
    fake().DispatchPending();
    EXPECT_EQ(SentSinceForget(2), (std::vector<std::string>{"mute 1", "pause"}));
    const_cast<HotkeyBindings&>(window_->GetHotkeys()).Live().SetCode("Mute", 'M');

    // Letters typed into the address bar are text, not keys of actions.
    fake().KeyPress('U', ctrl, hwnd_);
    fake().DispatchPending();
    ASSERT_TRUE(Visible("URLbar"));
    const bool muted = window_->Playback().SlaveStateRef().mute;
    fake().KeyPress('M', 0, hwnd_);
    fake().DispatchPending();
    EXPECT_EQ(window_->Playback().SlaveStateRef().mute, muted);
    // Elsewhere the same key mutes.
    window_->GetPaintManager()->SetFocus(nullptr);
    fake().KeyPress('M', 0, hwnd_);
    fake().DispatchPending();
    EXPECT_NE(window_->Playback().SlaveStateRef().mute, muted);
}

// The ticks follow what the player does now, however it got there.
TEST_F(MenuCommandsTest, MarksFollowThePlayersStateStepByStep) {
    StartWithEngine();
    OpenClips({clips_[1], clips_[0]});
    const HWND main = window_->GetHWND();
    const char* items[] = {"ID_MAIN_RIGHT_MENU_PLAYLIST", "ID_MAINMENU_PLAY_AUDIO_MUTE",
                           "ID_MAINMENU_PLAY_FRAME_SIZE_100", "ID_PLAYLISTMENU_SORT_BY_NAME"};
    auto widen = [&] {  // the user drags the window wider
        RECT r{};
        GetWindowRect(main, &r);
        SetWindowPos(main, nullptr, 0, 0, r.right - r.left + 40, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
    };
    const struct { std::function<void()> step; std::vector<bool> marked; } cases[] = {
        {[] {}, {true, false, false, false}},  // listed as opened, not by name
        {[&] { Choose("ID_MAINMENU_PLAY_AUDIO_MUTE"); }, {true, true, false, false}},
        {[&] { Choose("ID_MAIN_RIGHT_MENU_PLAYLIST"); }, {false, true, false, false}},
        {[&] { Choose("ID_MAINMENU_PLAY_FRAME_SIZE_100"); }, {false, true, true, false}},
        {widen, {false, true, false, false}},
        {[&] { Choose("ID_PLAYLIST_RIGHT_MENU_SORT_BY_NAME"); }, {false, true, false, true}},
        {[&] { window_->PlaylistCommands().AddAndPlay({clips_[2]}); }, {false, true, false, false}},
    };
    for (size_t step = 0; step < std::size(cases); ++step) {
        cases[step].step();
        const MenuState state = window_->CurrentMenuState();
        EXPECT_EQ(cases[step].marked[0], Visible("playlistbar")) << step;
        for (size_t i = 0; i < std::size(items); ++i)
            EXPECT_EQ(IsMenuItemMarked(state, items[i]), cases[step].marked[i]) << step << " " << items[i];
    }
}

}  // namespace
}  // namespace orvella
