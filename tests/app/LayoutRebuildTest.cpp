// The main window's layout rebuilt for another language or skin: the engine, the video
// window and what the user saw stay; the dialogs come back; nothing points into the old
// paint manager.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>

#include "app/LayoutRebuild.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/AboutWnd.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "ui/MenuWnd.h"
#include "ui/SettingsWnd.h"

namespace orvella {
namespace {

namespace fs = std::filesystem;

TEST(RebuiltWindowRectTest, PlaceFollowsWhatPlays) {
    const RECT before{100, 50, 600, 450};  // 500 x 400
    const SIZE init{700, 500}, least{640, 300};
    struct Case {
        bool playing, pinned;
        RECT want;
    } cases[] = {
        {false, false, {100, 50, 800, 550}},  // stopped: the new layout's own size
        {true, false, {100, 50, 740, 450}},   // playing: the size, grown to the least width
        {true, true, before},                 // full screen or maximised
        {false, true, before},
    };
    for (const Case& c : cases) {
        const RECT got = RebuiltWindowRect(before, init, least, c.playing, c.pinned);
        EXPECT_TRUE(got.left == c.want.left && got.top == c.want.top && got.right == c.want.right &&
                    got.bottom == c.want.bottom)
            << c.playing << c.pinned << ": " << got.left << "," << got.top << "," << got.right << ","
            << got.bottom;
    }
    EXPECT_EQ(RebuiltWindowRect(before, init, SIZE{100, 100}, true, false).right, 600);
    EXPECT_EQ(RebuiltWindowRect(before, SIZE{0, 0}, least, false, false).right, 600);
}

// The stand-in engine's program folder holds the skins too, each with a second language
// ("de", a copy of English).
class LayoutRebuildTest : public PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        const std::string data = std::string(ORVELLA_SOURCE_DIR) + "/data/";
        for (const char* skin : {"skin", "skin_classic"}) {
            const fs::path languages = fs::path(engine_->ProgramFolder()) / skin / "language";
            fs::create_directories(languages);
            for (const char* language : {"eng", "de"})
                fs::create_directory_symlink(data + skin + "/language/eng", languages / language);
        }
        uilib::SetAppPathForTesting(engine_->ProgramFolder());
    }
    void StartInSkin(int skin, std::vector<std::string> args) {
        fs::create_directories(DataFolder());
        std::ofstream(DataFolder() + "/settings.xml")
            << "<?xml version='1.0' encoding='UTF-8'?><root><Player skinindex='" << skin << "'/></root>";
        Start(std::move(args));
    }
    void SwitchSkin(WPARAM skin) {
        uilib::TNotifyUI msg;
        msg.sType = "changeskin";
        msg.wParam = skin;
        window_->NotifyFromWindow(msg);
    }
    std::string Layout(int skin, const char* language, const char* file) {
        return engine_->ProgramFolder() + (skin ? "skin" : "skin_classic") + "/language/" + language + "/" + file;
    }
    CMediaWnd* Video() { return static_cast<CMediaUI*>(Find("media")->GetInterface("Media"))->GetVideoWindow(); }
};

struct RebuildCase {
    const char* name;
    bool skinSwitch, playing, settingsOpen;  // the about window is open otherwise
};

class RebuildMatrixTest : public LayoutRebuildTest, public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(RebuildMatrixTest, KeepsTheEngineTheListAndTheDialogs) {
    const RebuildCase& c = GetParam();
    const int startSkin = c.settingsOpen ? 0 : 1;  // both ways between the skins
    const int skin = c.skinSwitch ? 1 - startSkin : startSkin;
    StartInSkin(startSkin, {clips_[0]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }));
    window_->PlaylistCommands().AddAndPlay({clips_[1]});
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2 && window_->GetMediaInfo().videoWidth == 320; }));
    engine_->SetPosition(1.0);
    Tick();
    if (!c.playing) Click("stop");
    const_cast<PlayerSettings&>(window_->GetSettings()).background = "river";
    window_->GetPaintManager()->SetColor(0xFF336699);
    if (c.settingsOpen) {
        window_->RunMenuCommand("ID_TRAYIOCNMENU_SETTINGS");  // on the player's page
    } else {
        window_->Dialogs().OpenAbout();
    }
    fake().Render(hwnd_);
    Pump([] { return false; }, 50);  // the window settles at its least size
    const uilib::CPaintManagerUI* oldPm = window_->GetPaintManager();
    CMediaWnd* video = Video();
    HWND videoHwnd = video ? video->GetHWND() : nullptr;
    CCmdMplayer* engine = window_->GetEngine();
    const int launches = engine_->Launches(), slider = Slider();
    const bool playEnabled = Enabled("play"), startupShown = Visible("startup");
    RECT before{};
    GetWindowRect(hwnd_, &before);

    if (c.skinSwitch) {
        SwitchSkin(skin);
        ASSERT_EQ(window_->GetPaintManager(), oldPm) << "never inside the skin window's notification";
    } else {
        window_->RunMenuCommand("ID_MAINMENU_LANGUAGE_de");
    }
    Pump([] { return false; }, 50);
    fake().Render(hwnd_);

    const char* language = c.skinSwitch ? "eng" : "de";
    ASSERT_NE(window_->GetPaintManager(), oldPm);
    EXPECT_EQ(window_->GetLayoutFile(), Layout(skin, language, "main.xml"));
    EXPECT_EQ(window_->GetSkinIndex(), skin);
    // The same engine and video window, nothing started again (the command-line file neither).
    EXPECT_EQ(window_->GetEngine(), engine);
    EXPECT_EQ(engine_->Launches(), launches);
    EXPECT_EQ(window_->IsEngineRunning(), c.playing);
    EXPECT_EQ(Video(), video);
    if (c.playing) {
        EXPECT_TRUE(IsWindow(videoHwnd) && Video()->GetHWND() == videoHwnd);
    }
    // What the user saw.
    EXPECT_EQ(Slider(), slider);
    EXPECT_EQ(Enabled("play"), playEnabled);
    EXPECT_EQ(Enabled("pause"), c.playing);
    EXPECT_EQ(Visible("startup"), startupShown);
    EXPECT_EQ(window_->GetPaintManager()->GetMainBKColor(), 0xFF336699u);
    const char* background = c.skinSwitch ? BackgroundOfSkin(skin) : "river";
    EXPECT_EQ(Find("shading")->GetBkImage(), PlayerSettings::BackgroundImage(background));
    // The play list and its rows in the new tree, the current one marked.
    ASSERT_EQ(window_->PlaylistModel().Count(), 2u);
    EXPECT_EQ(window_->PlaylistRows().List(), Find("playlist"));
    EXPECT_EQ(window_->PlaylistRows().List()->GetCurSel(), 1);
    RECT after{};
    GetWindowRect(hwnd_, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    const LONG width = after.right - after.left;
    const SIZE least = window_->GetPaintManager()->GetLeastWindowSize();
    EXPECT_EQ(width, c.playing ? std::max(before.right - before.left, least.cx)
                               : window_->GetPaintManager()->GetInitSize().cx);
    // The dialog again, from the new folder (the settings on the page it showed).
    if (c.settingsOpen) {
        CSettingsWnd* settings = window_->Dialogs().Settings();
        ASSERT_NE(settings, nullptr);
        EXPECT_EQ(settings->GetLayoutPath(), Layout(skin, language, "settings.xml"));
        EXPECT_TRUE(settings->OnPlayerPage());
    } else {
        ASSERT_NE(window_->Dialogs().About(), nullptr);
        EXPECT_EQ(window_->Dialogs().About()->GetLayoutPath(), Layout(skin, language, "about.xml"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    LanguageAndSkin, RebuildMatrixTest,
    ::testing::Values(RebuildCase{"LanguagePlayingSettings", false, true, true},
                      RebuildCase{"LanguagePlayingAbout", false, true, false},
                      RebuildCase{"LanguageStoppedSettings", false, false, true},
                      RebuildCase{"LanguageStoppedAbout", false, false, false},
                      RebuildCase{"SkinPlayingSettings", true, true, true},
                      RebuildCase{"SkinPlayingAbout", true, true, false},
                      RebuildCase{"SkinStoppedSettings", true, false, true},
                      RebuildCase{"SkinStoppedAbout", true, false, false}),
    [](const ::testing::TestParamInfo<RebuildCase>& info) { return std::string(info.param.name); });

// Only 0 and 1 name a skin; a skin whose layout cannot be built leaves the window as it was.
TEST_F(LayoutRebuildTest, OnlyASkinThatBuildsRebuilds) {
    Start();
    const std::string skin = engine_->ProgramFolder() + "skin";
    struct Case {
        WPARAM skin;
        bool folderThere, rebuilt;
    } cases[] = {{2, true, false}, {WPARAM(-1), true, false}, {1, false, false}, {1, true, true}};
    for (const Case& c : cases) {
        if (!c.folderThere) fs::rename(skin, skin + ".away");
        const uilib::CPaintManagerUI* before = window_->GetPaintManager();
        SwitchSkin(c.skin);
        fake().DispatchPending();
        EXPECT_EQ(window_->GetPaintManager() != before, c.rebuilt) << c.skin << c.folderThere;
        EXPECT_EQ(window_->GetSkinIndex(), c.rebuilt ? 1 : 0);
        EXPECT_NE(Find("playlist"), nullptr);
        if (!c.folderThere) fs::rename(skin + ".away", skin);
    }
}

// Windows that stay open through a rebuild (a menu closing, a later dialog) draw with
// the new paint manager's fonts and pictures, never the destroyed one's.
TEST_F(LayoutRebuildTest, WindowsLeftOpenTakeTheNewResources) {
    Start();
    auto* about = new CAboutWnd();
    SkinWindowOwner owner;
    owner.hwnd = hwnd_;
    owner.paintManager = window_->GetPaintManager();
    owner.language = "eng";
    ASSERT_TRUE(CreateSkinWindow(about, owner));
    TNotifyUIForTest("media", "showmainrightkeymenu");
    auto* menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    HWND menuHwnd = menu->GetHWND();

    const uilib::CPaintManagerUI* old = window_->GetPaintManager();
    window_->HandleMessage(WM_RELOAD_LAYOUT, 0, 0);
    uilib::CPaintManagerUI* pm = window_->GetPaintManager();
    ASSERT_NE(pm, old);
    EXPECT_EQ(about->PaintManager().GetParentResource(), pm);
    fake().Render(about->GetHWND());
    ASSERT_TRUE(IsWindow(menuHwnd)) << "the menu closes at the next turn";
    EXPECT_EQ(menu->PaintManager().GetParentResource(), pm);
    fake().Render(menuHwnd);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(menuHwnd));
    DestroyWindow(about->GetHWND());
}

TEST_F(PlayerWndEngineTest, SkinSwitchWhilePlayingKeepsTheEngineRunning) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->PlaylistCommands().AddAndPlay({media_ + "long.mp4"});
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().position > 0.5f; }, 8000));
    CCmdMplayer* engine = window_->GetEngine();
    const pid_t pid = engine->GetChildPid();
    const std::string layout = window_->GetLayoutFile();
    uilib::TNotifyUI msg;
    msg.sType = "changeskin";
    msg.wParam = 1 - window_->GetSkinIndex();
    window_->NotifyFromWindow(msg);
    fake().DispatchPending();
    ASSERT_NE(window_->GetLayoutFile(), layout);
    const float at = window_->GetMediaInfo().position;
    EXPECT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().position > at + 1.0f; }, 6000));
    EXPECT_EQ(window_->GetEngine(), engine);
    EXPECT_EQ(engine->GetChildPid(), pid);
    EXPECT_EQ(::kill(pid, 0), 0);
}

}  // namespace
}  // namespace orvella
