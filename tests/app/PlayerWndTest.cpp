// The main window on the headless platform: creation, the message table, the frame,
// and both ways it ends.
#include "app/PlayerWnd.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>
#include <string>

#include "hotkeys/HotkeyTable.h"
#include "library/PlayerSettings.h"
#include "library/SettingsHost.h"
#include "tests/TestMedia.h"
#include "tests/TestPlatform.h"
#include "tests/app/PlayerWndFixture.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "ui/QuestionWnd.h"
#include "uilib/Control.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"

namespace orvella {
namespace {


TEST_F(PlayerWndTest, CreationPreparesWindowFolderLayoutAndTray) {
    Start();
    EXPECT_EQ(GetMainWindowHandle(), hwnd_);
    EXPECT_EQ(fake().GetClassName(hwnd_), "UIMainFrame");
    EXPECT_EQ(fake().GetWindowText(hwnd_), "Orvella");
    EXPECT_EQ(GetWindowLong(hwnd_, GWL_STYLE) & static_cast<LONG>(WS_CAPTION), 0);
    EXPECT_NE(GetWindowLong(hwnd_, GWL_STYLE) & static_cast<LONG>(WS_CLIPCHILDREN), 0);

    EXPECT_EQ(window_->GetDataFolder(), temp_ + "/config/Orvella");
    struct stat st {};
    EXPECT_EQ(stat(window_->GetDataFolder().c_str(), &st), 0);

    // No settings yet: the classic skin in the locale's language (English here).
    EXPECT_EQ(window_->GetSkinIndex(), 0);
    EXPECT_NE(window_->GetLayoutFile().find("skin_classic/language/eng/main.xml"), std::string::npos);
    RECT rc;
    GetClientRect(hwnd_, &rc);
    SIZE init = window_->GetPaintManager()->GetInitSize();
    EXPECT_EQ(rc.right - rc.left, init.cx);
    EXPECT_EQ(rc.bottom - rc.top, init.cy);

    const TrayIconRecord& tray = window_->GetTrayIcon();
    EXPECT_EQ(tray.size, 956u);
    EXPECT_EQ(tray.id, 100u);
    EXPECT_EQ(tray.flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(tray.callbackMessage, WM_TRAY_NOTIFY);
    EXPECT_EQ(tray.window, hwnd_);
    EXPECT_TRUE(tray.tip.empty());
    EXPECT_FALSE(tray.added);
    EXPECT_EQ(window_->GetVersion().major, 1);
    EXPECT_EQ(window_->GetVersion().minor, 2);
    EXPECT_EQ(window_->GetVersion().build, 3);
    EXPECT_NE(fake().WindowIcon(hwnd_).find("icon/orvella.png"), std::string::npos);
}

TEST_F(PlayerWndTest, MessageTableAnswers) {
    Start();
    EXPECT_EQ(SendMessage(hwnd_, WM_NCCALCSIZE, 0, 0), 0);
    EXPECT_EQ(SendMessage(hwnd_, WM_NCACTIVATE, 0, 0), 1);
    EXPECT_EQ(SendMessage(hwnd_, WM_NCACTIVATE, 1, 0), 0);
    EXPECT_EQ(SendMessage(hwnd_, WM_ENGINE_EVENT, EV_LAST + 1, 0), 0);  // not an event: ignored
    // A question of a kind the player does not ask opens nothing; the clear question does.
    SendMessage(hwnd_, WM_SHOW_QUESTION, 1, 0);
    EXPECT_EQ(window_->Dialogs().Question(), nullptr);
    SendMessage(hwnd_, WM_SHOW_QUESTION, 0, 0);
    EXPECT_NE(window_->Dialogs().Question(), nullptr);

    MINMAXINFO info{};
    EXPECT_EQ(SendMessage(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMaxPosition.x, 0);
    EXPECT_EQ(info.ptMaxPosition.y, 0);
    EXPECT_EQ(info.ptMaxSize.x, 1280);
    EXPECT_EQ(info.ptMaxSize.y, 770);

    // The help page opens with the desktop's default application.
    SendMessage(hwnd_, WM_HELP, 0, 0);
    ASSERT_EQ(fake().ShellOpened().size(), 1u);
    EXPECT_NE(fake().ShellOpened()[0].find("help/index.html"), std::string::npos);
}

TEST_F(PlayerWndTest, TitleBarDragsBordersResizeButtonsClick) {
    Start();
    RECT title = Find("titlebar")->GetPos();
    uilib::CControlUI* close = Find("closebtn");
    ASSERT_NE(close, nullptr);
    // A point of the title bar left of its buttons, clear of the 5-pixel inset.
    int y = (title.top + title.bottom) / 2;
    int x = title.left + 200;
    fake().ClearDragStarts();
    fake().LeftClick(hwnd_, x, y);
    ASSERT_EQ(fake().DragStarts().size(), 1u);
    EXPECT_EQ(fake().DragStarts()[0].hitTest, HTCAPTION);

    RECT rc;
    GetClientRect(hwnd_, &rc);
    fake().ClearDragStarts();
    fake().LeftClick(hwnd_, rc.right - 1, rc.bottom - 1);
    ASSERT_EQ(fake().DragStarts().size(), 1u);
    EXPECT_EQ(fake().DragStarts()[0].hitTest, HTBOTTOMRIGHT);

    fake().ClearDragStarts();
    fake().LeftClick(hwnd_, 0, (rc.top + rc.bottom) / 2);
    ASSERT_EQ(fake().DragStarts().size(), 1u);
    EXPECT_EQ(fake().DragStarts()[0].hitTest, HTLEFT);
}

TEST_F(PlayerWndTest, MaximiseSwapsCaptionButtons) {
    Start();
    SendMessage(hwnd_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(hwnd_));
    EXPECT_FALSE(Find("maxbtn")->IsVisible());
    EXPECT_TRUE(Find("restorebtn")->IsVisible());
    SendMessage(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(hwnd_));
    EXPECT_TRUE(Find("maxbtn")->IsVisible());
    EXPECT_FALSE(Find("restorebtn")->IsVisible());
}

TEST_F(PlayerWndTest, RoundedRegionFollowsSize) {
    Start();
    SetWindowPos(hwnd_, nullptr, 0, 0, 900, 600, SWP_NOMOVE | SWP_NOZORDER);
    WindowRegion region = fake().GetWindowRegion(hwnd_);
    SIZE corner = window_->GetPaintManager()->GetRoundCorner();
    EXPECT_TRUE(region.rounded);
    EXPECT_EQ(region.rect.right, 901);
    EXPECT_EQ(region.rect.bottom, 601);
    EXPECT_EQ(region.cornerWidth, corner.cx);
}

TEST_F(PlayerWndTest, CloseButtonDestroysAndQuitsWithZero) {
    Start();
    POINT pt = Centre("closebtn");
    fake().LeftClick(hwnd_, pt.x, pt.y);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(hwnd_));
    int code = -1;
    EXPECT_TRUE(fake().QuitPosted(&code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(GetMainWindowHandle(), nullptr);
    hwnd_ = nullptr;  // the window deleted itself
}

TEST_F(PlayerWndTest, SystemCloseReleasesAndQuitsWithoutDestroying) {
    Start();
    fake().CloseRequest(hwnd_);
    fake().DispatchPending();
    int code = -1;
    EXPECT_TRUE(fake().QuitPosted(&code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(IsWindow(hwnd_));
    EXPECT_TRUE(window_->IsReleased());
    EXPECT_EQ(window_->GetPaintManager(), nullptr);
    // Whatever still arrives before the loop ends must not touch what was released.
    fake().Render(hwnd_);
    fake().MouseMove(hwnd_, 50, 50);
    fake().LeftClick(hwnd_, 50, 50);
    SendMessage(hwnd_, WM_SIZE, SIZE_RESTORED, MAKELPARAM(500, 400));
    fake().DispatchPending();
}

TEST_F(PlayerWndTest, SignalEndsLikeTheSystemClose) {
    Start();
    fake().Signal();
    fake().DispatchPending();
    EXPECT_TRUE(fake().QuitPosted());
    EXPECT_TRUE(window_->IsReleased());
}

TEST_F(PlayerWndTest, OneArgumentIsTakenAsTheMediaToPlay) {
    Start({"/media/clip with 'quotes' $HOME.mp4"});
    EXPECT_EQ(window_->GetCurrentMediaPath(), "/media/clip with 'quotes' $HOME.mp4");
    ASSERT_EQ(window_->PlaylistModel().Count(), 1u);
    EXPECT_EQ(window_->PlaylistModel().Current()->shortname, "clip with 'quotes' $HOME.mp4");
    // No engine beside the layouts here: the user is told, and "play" stays available.
    EXPECT_EQ(Find("filename")->GetText(),
              "Cannot start the player engine for clip with 'quotes' $HOME.mp4");
    EXPECT_TRUE(Find("play")->IsEnabled());
    EXPECT_FALSE(Find("pause")->IsEnabled());
}

TEST_F(PlayerWndTest, CloseWritesTheSettingsFileAndSystemCloseToo) {
    Start();
    POINT pt = Centre("closebtn");
    fake().LeftClick(hwnd_, pt.x, pt.y);
    fake().DispatchPending();
    hwnd_ = nullptr;
    std::string written = ReadBytes(PlayerSettings::FilePath(DataFolder()));
    ASSERT_GT(written.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(written[0]), 0xFF);  // UTF-16 LE byte-order mark
    EXPECT_EQ(static_cast<unsigned char>(written[1]), 0xFE);

    // Path B: the system close saves as well, and a change made meanwhile is kept.
    std::remove(PlayerSettings::FilePath(DataFolder()).c_str());
    Start();
    fake().CloseRequest(hwnd_);
    fake().DispatchPending();
    EXPECT_TRUE(window_->IsReleased());
    EXPECT_FALSE(ReadBytes(PlayerSettings::FilePath(DataFolder())).empty());
}

TEST_F(PlayerWndTest, VideoWindowLivesInTheMediaArea) {
    Start();
    auto* media = static_cast<CMediaUI*>(Find("media")->GetInterface("Media"));
    ASSERT_NE(media, nullptr);
    CMediaWnd* video = media->CreateVideoWindow();
    ASSERT_NE(video, nullptr);
    HWND child = video->GetHWND();
    EXPECT_EQ(fake().GetClassName(child), "MediaWnd");
    EXPECT_NE(video->GetNativeId(), 0u);
    EXPECT_EQ(GetParent(child), hwnd_);
    RECT placed;
    GetWindowRect(child, &placed);
    POINT origin{placed.left, placed.top};
    ScreenToClient(hwnd_, &origin);
    const RECT& area = media->GetPos();
    EXPECT_EQ(origin.y, area.top);
    EXPECT_GE(origin.x, std::max<LONG>(area.left, 1));
    EXPECT_LE(origin.x + (placed.right - placed.left), area.right);
    auto surface = fake().Render(child);
    EXPECT_EQ(platform::FakeBackend::PixelAt(surface.get(), 2, 2) & 0xFFFFFF, 0u);  // black

    // A second window replaces the first; the main window's end takes the last one along.
    CMediaWnd* again = media->CreateVideoWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(IsWindow(child));
    HWND second = again->GetHWND();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    EXPECT_FALSE(IsWindow(second));
}


TEST_F(PlayerWndEngineTest, LaunchReportsTheMediaAndItsEnd) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->SetCurrentMediaPath(media_ + "video.mp4");
    ASSERT_TRUE(window_->LaunchEngine());
    EXPECT_TRUE(window_->IsEngineRunning());
    EXPECT_TRUE(fake().HasTimer(hwnd_, TIMER_POSITION_POLL));
    ASSERT_TRUE(PumpUntil([&] { return window_->GetMediaInfo().videoHeight > 0; }));
    const MediaInfo& info = window_->GetMediaInfo();
    EXPECT_EQ(info.videoWidth, 320);
    EXPECT_EQ(info.videoHeight, 240);
    EXPECT_FALSE(info.audioOnly);
    // Length and position come as answers to the engine commands of the position poll.
    EXPECT_EQ(window_->Slave().Send(slave::GetTimeLength()), SendResult::Sent);
    EXPECT_EQ(window_->Slave().Send(slave::GetTimePos()), SendResult::Sent);
    ASSERT_TRUE(PumpUntil([&] { return window_->GetMediaInfo().length > 0; }));
    EXPECT_NEAR(info.length, 4.0, 0.1);
    // The 4-second clip plays to its end: the engine ends by itself, is reaped, and the
    // window shows its start view again.
    pid_t pid = window_->GetEngine()->GetChildPid();
    ASSERT_TRUE(PumpUntil([&] { return !window_->IsEngineRunning(); }, 15000));
    EXPECT_EQ(window_->GetEngine(), nullptr);
    EXPECT_TRUE(Find("startup")->IsVisible());
    EXPECT_NE(kill(pid, 0), 0);  // reaped: no such process any more
    // Commands to a stopped engine are dropped, not written anywhere.
    EXPECT_EQ(window_->Slave().Send(slave::GetTimePos()), SendResult::NoEngine);
}

TEST_F(PlayerWndEngineTest, OddFileNamesPlayAndRunNothing) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    for (const char* name : {"name with spaces é.mp4", "quote'and\"double.mp4",
                             "$(touch pwned).mp4", "`touch pwned2`.mp4", "-leading-dash.mp4",
                             "latin1-\xe9t\xe9.mp4"}) {
        SCOPED_TRACE(name);
        window_->SetCurrentMediaPath(media_ + name);
        ASSERT_TRUE(window_->LaunchEngine());
        EXPECT_TRUE(PumpUntil([&] { return window_->GetMediaInfo().videoWidth == 320; }));
    }
    window_->StopEngine();
    struct stat st {};
    EXPECT_NE(stat((media_ + "pwned").c_str(), &st), 0);
    EXPECT_NE(stat("pwned", &st), 0);
    EXPECT_NE(stat("pwned2", &st), 0);
}

TEST_F(PlayerWndEngineTest, MissingFileIsShownAsCannotOpen) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->SetCurrentMediaPath(media_ + "no such file.mp4");
    ASSERT_TRUE(window_->LaunchEngine());
    ASSERT_TRUE(PumpUntil([&] { return Find("filename")->GetText().find("Cannot open") == 0; }));
    EXPECT_EQ(Find("filename")->GetText(), "Cannot open no such file.mp4");
}

TEST_F(PlayerWndEngineTest, MissingEngineFailsClearly) {
    Start();
    window_->SetProgramFolder(temp_ + "/");  // no gnu/mplayer there
    window_->SetCurrentMediaPath(media_ + "video.mp4");
    EXPECT_FALSE(window_->LaunchEngine());
    EXPECT_FALSE(window_->IsEngineRunning());
    EXPECT_EQ(window_->GetEngine(), nullptr);
}

TEST_F(PlayerWndTest, SavedSkinIndexChoosesTheLayoutFolder) {
    ASSERT_TRUE(MakeFolders(DataFolder()));
    PlayerSettings stored(DataFolder(), "eng");
    stored.skinindex = 1;
    stored.volume = 30;
    stored.mute = true;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    SettingsHost nobody;
    ASSERT_TRUE(stored.Write(DataFolder(), hotkeys, nobody));
    Start();
    EXPECT_EQ(window_->GetSkinIndex(), 1);
    EXPECT_NE(window_->GetLayoutFile().find("/skin/language/eng/main.xml"), std::string::npos);
    EXPECT_FALSE(Find("mute_on")->IsVisible());
    EXPECT_TRUE(Find("mute_off")->IsVisible());
    EXPECT_EQ(window_->GetSettings().volume, 30);
}

TEST_F(PlayerWndTest, UnknownSkinIndexFallsBackToClassic) {
    ASSERT_TRUE(MakeFolders(DataFolder()));
    PlayerSettings stored(DataFolder(), "eng");
    stored.skinindex = 7;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    SettingsHost nobody;
    ASSERT_TRUE(stored.Write(DataFolder(), hotkeys, nobody));
    Start();
    EXPECT_EQ(window_->GetSkinIndex(), 0);
    EXPECT_NE(Find("closebtn"), nullptr);
}

TEST_F(PlayerWndTest, ADamagedSettingsFileIsToldWithWhereItIsKept) {
    ASSERT_TRUE(MakeFolders(DataFolder()));
    std::ofstream(PlayerSettings::FilePath(DataFolder())) << "<root><Player volume='30'";
    Start();
    EXPECT_EQ(window_->GetSettings().volume, 30);
    CQuestionWnd* question = window_->Dialogs().Question();
    ASSERT_NE(question, nullptr);
    EXPECT_NE(question->FindControl("ID_TEXT")->GetText().find("/settings.xml.damaged"), std::string::npos);
}

}  // namespace
}  // namespace orvella
