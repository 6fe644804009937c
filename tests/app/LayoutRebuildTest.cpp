// The main window's layout rebuilt for another language or skin: the engine, the video window
// and what the user saw stay, the dialogs come back, nothing points into the old paint manager.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>

#include "app/LayoutRebuild.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/AboutWnd.h"
#include "ui/FileInfoWnd.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "ui/MenuWnd.h"
#include "ui/SettingsWnd.h"

namespace orvella {
namespace {

namespace fs = std::filesystem;

void SwitchSkin(CPlayerWnd* window, WPARAM skin) {  // as the skin window tells it
    uilib::TNotifyUI msg;
    msg.sType = "changeskin";
    msg.wParam = skin;
    window->NotifyFromWindow(msg);
}

TEST(RebuiltWindowRectTest, PlaceFollowsWhatPlays) {
    const RECT before{100, 50, 600, 450};
    const struct { bool playing, pinned; SIZE init, least; LONG right, bottom; } cases[] = {
        {false, false, {700, 500}, {640, 300}, 800, 550},  // stopped: the new layout's own size
        {false, false, {0, 0}, {640, 300}, 600, 450},      // ...unless it has none
        {true, false, {700, 500}, {640, 300}, 740, 450},   // playing: grown to the least width
        {true, true, {700, 500}, {640, 300}, 600, 450},    // full screen or maximised
    };
    for (const auto& c : cases) {
        const RECT r = RebuiltWindowRect(before, c.init, c.least, c.playing, c.pinned);
        EXPECT_EQ(std::vector<LONG>({r.left, r.top, r.right, r.bottom}), std::vector<LONG>({100, 50, c.right, c.bottom}));
    }
}

// The stand-in engine's program folder holds the skins too, each with a second language
// ("de", a copy of English).
class LayoutRebuildTest : public PlaybackTest {
protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        for (const std::string skin : {"skin", "skin_classic"}) {
            const fs::path languages = fs::path(engine_->ProgramFolder()) / skin / "language";
            fs::create_directories(languages);
            for (const char* language : {"eng", "de"})
                fs::create_directory_symlink(ORVELLA_SOURCE_DIR "/data/" + skin + "/language/eng", languages / language);
        }
        uilib::SetAppPathForTesting(engine_->ProgramFolder());
    }
    void StartInSkin(int skin, std::vector<std::string> args) {
        fs::create_directories(DataFolder());
        std::ofstream(DataFolder() + "/settings.xml")
            << "<?xml version='1.0' encoding='UTF-8'?><root><Player skinindex='" << skin << "'/></root>";
        Start(std::move(args));
    }
    std::string Layout(int skin, const char* language, const char* file) {
        return engine_->ProgramFolder() + (skin ? "skin" : "skin_classic") + "/language/" + language + "/" + file;
    }
    CMediaWnd* Video() { return static_cast<CMediaUI*>(Find("media")->GetInterface("Media"))->GetVideoWindow(); }
};

enum class OpenDialog { About, Settings, FileInfo };
struct RebuildCase {
    const char* name;
    bool skinSwitch, playing;
    OpenDialog dialog;
};

class RebuildMatrixTest : public LayoutRebuildTest, public ::testing::WithParamInterface<RebuildCase> {};

TEST_P(RebuildMatrixTest, KeepsTheEngineTheListAndTheDialogs) {
    const RebuildCase& c = GetParam();
    const bool settingsOpen = c.dialog == OpenDialog::Settings;
    const int startSkin = settingsOpen ? 0 : 1;  // both ways between the skins
    const int skin = c.skinSwitch ? 1 - startSkin : startSkin;
    const char* language = c.skinSwitch ? "eng" : "de";
    StartInSkin(startSkin, {clips_[0]});
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().videoWidth == 320; }));
    window_->PlaylistCommands().AddAndPlay({clips_[1]});
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == 2 && window_->GetMediaInfo().videoWidth == 320; }));
    engine_->SetPosition(1.0);
    Tick();
    if (!c.playing) Click("stop");
    const_cast<PlayerSettings&>(window_->GetSettings()).background = "river";
    window_->GetPaintManager()->SetColor(0xFF336699);
    if (settingsOpen) window_->RunMenuCommand("ID_TRAYIOCNMENU_SETTINGS");  // the player's page
    if (c.dialog == OpenDialog::About) window_->Dialogs().OpenAbout();
    if (c.dialog == OpenDialog::FileInfo) window_->RunMenuCommand("ID_MAINMENU_FILE_FILEINFO");
    fake().Render(hwnd_);
    Pump([] { return false; }, 50);  // the window settles at its least size
    const uilib::CPaintManagerUI* oldPm = window_->GetPaintManager();
    CMediaWnd* video = Video();
    CCmdMplayer* engine = window_->GetEngine();
    const int launches = engine_->Launches(), slider = Slider();
    const bool playEnabled = Enabled("play"), startupShown = Visible("startup");
    RECT before{}, after{};
    GetWindowRect(hwnd_, &before);

    if (c.skinSwitch) SwitchSkin(window_, skin);
    if (!c.skinSwitch) window_->RunMenuCommand("ID_MAINMENU_LANGUAGE_de");
    ASSERT_EQ(window_->GetPaintManager(), oldPm) << "never inside the notification that asked";
    Pump([] { return false; }, 50);
    fake().Render(hwnd_);

    ASSERT_NE(window_->GetPaintManager(), oldPm);
    EXPECT_EQ(window_->GetLayoutFile(), Layout(skin, language, "main.xml"));
    // The same engine and video window; nothing started again, the command-line file neither.
    EXPECT_EQ(window_->GetEngine(), engine);
    EXPECT_EQ(engine_->Launches(), launches);
    EXPECT_EQ(Video(), video);
    EXPECT_EQ(video != nullptr && IsWindow(video->GetHWND()), c.playing);
    // What the user saw, the play list's rows in the new tree with the current one marked.
    EXPECT_EQ(Slider(), slider);
    EXPECT_EQ(Enabled("play"), playEnabled);
    EXPECT_EQ(Visible("startup"), startupShown);
    EXPECT_EQ(window_->GetPaintManager()->GetMainBKColor(), 0xFF336699u);
    const char* background = c.skinSwitch ? BackgroundOfSkin(skin) : "river";
    EXPECT_EQ(Find("shading")->GetBkImage(), PlayerSettings::BackgroundImage(background));
    ASSERT_EQ(window_->PlaylistRows().List(), Find("playlist"));
    EXPECT_EQ(window_->PlaylistRows().List()->GetCurSel(), 1);
    // At its place; stopped at the new layout's size, playing at least as large as it was.
    GetWindowRect(hwnd_, &after);
    EXPECT_EQ(std::make_pair(after.left, after.top), std::make_pair(before.left, before.top));
    const SIZE least = window_->GetPaintManager()->GetLeastWindowSize();
    EXPECT_EQ(after.right - after.left, c.playing ? std::max(before.right - before.left, least.cx)
                                                  : window_->GetPaintManager()->GetInitSize().cx);
    // The dialog again, from the new folder; the settings on the page they showed.
    CSettingsWnd* settings = window_->Dialogs().Settings();
    CFileInfoWnd* fileInfo = window_->Dialogs().FileInfo();
    const struct { CSkinWindow* window; const char* layout; } dialogs[] = {
        {window_->Dialogs().About(), "about.xml"}, {settings, "settings.xml"}, {fileInfo, "fileinfo.xml"}};
    const auto& shown = dialogs[static_cast<int>(c.dialog)];
    ASSERT_NE(shown.window, nullptr);
    EXPECT_EQ(shown.window->GetLayoutPath(), Layout(skin, language, shown.layout));
    EXPECT_TRUE(!settingsOpen || settings->OnPlayerPage());
    // Filled again with the clip last played.
    EXPECT_TRUE(c.dialog != OpenDialog::FileInfo || fileInfo->Record().fileName == clips_[1]);
    // A control hidden only with its bar comes back with the bar: the position bar plays again.
    if (!c.playing) Click("play");
    EXPECT_TRUE(Pump([&] { return Visible("playslider") && Visible("playtime"); }));
}

constexpr OpenDialog kAbout = OpenDialog::About, kSettings = OpenDialog::Settings, kFileInfo = OpenDialog::FileInfo;
const RebuildCase kRebuildCases[] = {
    {"LanguagePlayingSettings", false, true, kSettings}, {"LanguagePlayingAbout", false, true, kAbout},
    {"LanguageStoppedSettings", false, false, kSettings}, {"LanguageStoppedAbout", false, false, kAbout},
    {"SkinPlayingSettings", true, true, kSettings},      {"SkinPlayingAbout", true, true, kAbout},
    {"SkinStoppedSettings", true, false, kSettings},     {"SkinStoppedAbout", true, false, kAbout},
    {"LanguagePlayingFileInfo", false, true, kFileInfo}, {"SkinStoppedFileInfo", true, false, kFileInfo},
};
INSTANTIATE_TEST_SUITE_P(LanguageAndSkin, RebuildMatrixTest, ::testing::ValuesIn(kRebuildCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Only 0 and 1 name a skin; a skin whose layout cannot be built leaves the window as it was.
TEST_F(LayoutRebuildTest, OnlyASkinThatBuildsRebuilds) {
    Start();
    const std::string skin = engine_->ProgramFolder() + "skin";
    const struct { WPARAM skin; bool folderThere, rebuilt; } cases[] = {{2, true, false}, {WPARAM(-1), true, false}, {1, false, false}, {1, true, true}};
    for (const auto& c : cases) {
        const uilib::CPaintManagerUI* before = window_->GetPaintManager();
        if (!c.folderThere) fs::rename(skin, skin + ".away");
        SwitchSkin(window_, c.skin);
        fake().DispatchPending();
        if (!c.folderThere) fs::rename(skin + ".away", skin);
        EXPECT_EQ(window_->GetPaintManager() != before, c.rebuilt) << c.skin << c.folderThere;
        EXPECT_TRUE(window_->GetSkinIndex() == int(c.rebuilt) && Find("playlist"));
    }
}

// Windows that stay open through a rebuild (a menu closing, a later dialog) draw with
// the new paint manager's fonts and pictures, never the destroyed one's.
TEST_F(LayoutRebuildTest, WindowsLeftOpenTakeTheNewResources) {
    Start();
    auto* about = new CAboutWnd();
    ASSERT_TRUE(CreateSkinWindow(about, SkinWindowOwner{hwnd_, nullptr, window_->GetPaintManager(), "eng", 1}));
    TNotifyUIForTest("media", "showmainrightkeymenu");
    auto* menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    HWND menuHwnd = menu->GetHWND();
    const uilib::CPaintManagerUI* old = window_->GetPaintManager();
    window_->HandleMessage(WM_RELOAD_LAYOUT, 0, 0);
    ASSERT_NE(window_->GetPaintManager(), old);
    ASSERT_TRUE(IsWindow(menuHwnd)) << "the menu closes at the next turn";
    for (HWND h : {about->GetHWND(), menuHwnd}) fake().Render(h);  // drawn with the new fonts
    EXPECT_EQ(about->PaintManager().GetParentResource(), window_->GetPaintManager());
    EXPECT_EQ(menu->PaintManager().GetParentResource(), window_->GetPaintManager());
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
    SwitchSkin(window_, 1 - window_->GetSkinIndex());
    fake().DispatchPending();
    ASSERT_NE(window_->GetLayoutFile(), layout);
    const float at = window_->GetMediaInfo().position;
    EXPECT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().position > at + 1.0f; }, 6000));
    EXPECT_TRUE(window_->GetEngine() == engine && engine->GetChildPid() == pid && ::kill(pid, 0) == 0);
}

}  // namespace
}  // namespace orvella
