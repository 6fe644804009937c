// The main window's notifications, clicks and window notifications on the headless
// platform with a scripted engine; the display modes and their rules.
#include <gtest/gtest.h>

#include <algorithm>

#include <tuple>

#include "app/DisplayRules.h"
#include "app/ScreenshotFiles.h"
#include "tests/app/PlaybackFixture.h"
#include "tests/uilib/ControlTestHost.h"
#include "ui/AboutWnd.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MediaAreaRules.h"
#include "ui/MediaUI.h"
#include "ui/MediaWnd.h"
#include "ui/MenuWnd.h"
#include "ui/SkinWindow.h"
#include "uilib/controls/Combo.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

TEST(DisplayRules, SizeFactorFitsTheWorkArea) {
    const struct {
        int w, h;
        float factor;
        int skin, workW, workH;
        LONG cx, cy;
    } cases[] = {
        {320, 240, 1.0f, 1, 1280, 770, 328, 340},     // as it is, with frame and bars
        {320, 240, 2.0f, 0, 1280, 770, 642, 572},     // classic frame and bars
        {640, 360, 4.0f, 1, 1280, 770, 1199, 770},    // too wide and too high: the height rules
        {1920, 200, 1.0f, 1, 1280, 770, 1280, 232},   // too wide: the width rules
        {1280, 720, 1.0f, 0, 1280, 1000, 1280, 810},  // the frame too fits the width
        {320, 240, 0.5f, 1, 1280, 770, 168, 220},
        {0, 0, 2.0f, 1, 1280, 770, 8, 100},           // nothing known: only frame and bars
    };
    for (const auto& c : cases) {
        SIZE s = WindowSizeForFactor(c.w, c.h, c.factor, c.skin, c.workW, c.workH);
        EXPECT_EQ(s.cx, c.cx) << c.w << "x" << c.h << " at " << c.factor;
        EXPECT_EQ(s.cy, c.cy) << c.w << "x" << c.h << " at " << c.factor;
    }
}

TEST(DisplayRules, StepsAspectsSeeksAndBars) {
    EXPECT_EQ(SizeFactorAfterStep(2.0f, 1), 4.0f);
    EXPECT_EQ(SizeFactorAfterStep(4.0f, 1), 4.0f);
    EXPECT_EQ(SizeFactorAfterStep(0.5f, -1), 0.5f);
    EXPECT_EQ(SizeFactorAfterStep(3.0f, 0), 1.0f);
    EXPECT_FALSE(SizeFactorAfterStep(1.0f, 2).has_value());
    EXPECT_EQ(ZoomedSizeFactor(3.0f, true), 4.0f);
    EXPECT_EQ(ZoomedSizeFactor(0.75f, false), 0.5f);
    EXPECT_NEAR(*AspectRatioForChoice(3, 0, 0), 4.0 / 3.0, 1e-9);
    EXPECT_NEAR(*AspectRatioForChoice(0, 320, 240), 4.0 / 3.0, 1e-9);
    EXPECT_FALSE(AspectRatioForChoice(0, 0, 240).has_value());
    EXPECT_FALSE(AspectRatioForChoice(5, 320, 240).has_value());
    EXPECT_EQ(SeekStepForComboItem(2, false), -600);
    EXPECT_EQ(SeekStepForComboItem(3, true), 0);
    EXPECT_EQ(SeekStepForButton(-1, true), 60);
    EXPECT_EQ(SeekStepForButton(-1, false), -60);

    const RECT media{0, 0, 800, 600};
    BarRequests top = BarsForPointer(media, POINT{400, 10}, true);
    EXPECT_EQ(top.topBar, BarRequest::Show);
    EXPECT_EQ(top.bottomBars, BarRequest::Hide);
    BarRequests bottom = BarsForPointer(media, POINT{400, 590}, true);
    EXPECT_EQ(bottom.topBar, BarRequest::Hide);
    EXPECT_EQ(bottom.bottomBars, BarRequest::Show);
    EXPECT_EQ(BarsForPointer(media, POINT{400, 10}, false).topBar, BarRequest::None);
    const RECT placed = VideoWindowRect(RECT{0, 36, 900, 400}, 900);
    EXPECT_EQ(placed.left, 1);
    EXPECT_EQ(placed.right, 899);
}

class MainWindowNotifyTest : public PlaybackTest {
protected:
    void Play() {
        StartWithEngine();
        window_->GetPaintManager()->AddNotifier(&notes_);
        OpenClips({clips_[0], clips_[1]});
        engine_->ForgetCommands();
    }
    void WindowNote(const char* type, WPARAM w = 0, LPARAM l = 0) {
        uilib::TNotifyUI msg;
        msg.sType = type;
        msg.wParam = w;
        msg.lParam = l;
        window_->NotifyFromWindow(msg);
    }
    // The command, with or without the prefix that keeps a pause.
    bool SentCommand(const std::string& command) {
        return Pump([&] { return Sent(command) || Sent("pausing_keep " + command); }, 2000);
    }
    HWND Video() {
        auto* media = static_cast<CMediaUI*>(Find("media")->GetInterface("Media"));
        return media && media->GetVideoWindow() ? media->GetVideoWindow()->GetHWND() : nullptr;
    }
    RECT WindowRect() {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        return r;
    }

    size_t WindowsOfClass(const std::string& name) {
        size_t n = 0;
        for (HWND w : fake().LiveWindows()) n += fake().GetClassName(w) == name;
        return n;
    }

    NotifyRecorder notes_;
};

TEST_F(MainWindowNotifyTest, ControlsAndWindowNotificationsReachTheEngine) {
    Play();
    // sender null: a window notification; otherwise the control's notification.
    const struct {
        const char* sender;
        const char* type;
        WPARAM wParam;
        const char* command;
    } cases[] = {
        {"backupCombo", "itemselect", 2, "seek -600 0"},
        {"backup", "click", 0, "seek -600 0"},  // the combo's choice stays
        {"goaheadCombo", "itemselect", 0, "seek 10 0"},
        {"goahead", "click", 0, "seek 10 0"},
        {"volumeslider", "valuechangebegin", 25, "volume 25 1"},
        {"mute_on", "click", 0, "mute 1"},
        {nullptr, "brightnessincrease", 0, "brightness 10 0"},
        {nullptr, "contrastdecrease", 0, "contrast -10 0"},
        {nullptr, "saturationincrease", 0, "saturation 10 0"},
        {nullptr, "dvdnav", 3, "dvdnav 3"},
        {nullptr, "dvdnav_select_subtitle", 0, "sub_demux 0"},
        {nullptr, "settings_setratio", 7, "switch_ratio 1.777778"},
    };
    for (const auto& c : cases) {
        engine_->ForgetCommands();
        if (c.sender) {
            // A combo has its choice before it tells of it.
            if (auto* combo = static_cast<uilib::CComboUI*>(Find(c.sender)->GetInterface("Combo")))
                combo->SelectItem(static_cast<int>(c.wParam));
            TNotifyUIForTest(c.sender, c.type, c.wParam);
        } else {
            WindowNote(c.type, c.wParam);
        }
        EXPECT_TRUE(SentCommand(c.command)) << c.command << " not in " << ::testing::PrintToString(engine_->Commands());
    }
    EXPECT_TRUE(Visible("mute_off"));
    // An aspect the player does not know sends nothing.
    engine_->ForgetCommands();
    WindowNote("settings_setratio", 5);
    Pump([] { return false; }, 100);
    EXPECT_TRUE(engine_->Commands().empty());
}

TEST_F(MainWindowNotifyTest, DvdMenusTakeClicksAndThePointerOnlyWhileShowing) {
    StartWithEngine();
    engine_->SetStartLines({"ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240", "DVDNAV_TITLE_IS_MENU"});
    window_->PlaylistCommands().PlayTypedAddress("dvdnav://");
    ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().inDvdMenu; }));
    engine_->ForgetCommands();
    TNotifyUIForTest("media", "pausemedia");
    EXPECT_TRUE(SentCommand("dvdnav 6"));
    TNotifyUIForTest("media", "dvdnavmousemove", 0, MAKELPARAM(120, 80));
    EXPECT_TRUE(SentCommand("set_mouse_pos 120 80"));
    // The same clicks on an ordinary video send nothing.
    engine_->SetStartLines({"ID_VIDEO_WIDTH=320", "ID_VIDEO_HEIGHT=240", "ID_LENGTH=2.00"});
    OpenClips({clips_[0]});
    engine_->ForgetCommands();
    TNotifyUIForTest("media", "pausemedia");
    TNotifyUIForTest("media", "dvdnavmousemove", 0, MAKELPARAM(120, 80));
    Pump([] { return false; }, 100);
    EXPECT_TRUE(engine_->Commands().empty());
}

TEST_F(MainWindowNotifyTest, TopBarOpenCombosScreenshotsAndColour) {
    Play();
    // The top bar lies over the top of the video, as wide as it, and follows its width.
    TNotifyUIForTest("media", "showtopbar");
    CFullScreenTopBarWnd* bar = window_->Dialogs().TopBar();
    ASSERT_NE(bar, nullptr);
    RECT placed{};
    GetWindowRect(bar->GetHWND(), &placed);
    const RECT& media = Find("media")->GetPos();
    EXPECT_EQ(placed.right - placed.left, media.right - media.left);
    EXPECT_EQ(placed.bottom - placed.top, 20);
    EXPECT_TRUE(IsWindowVisible(bar->GetHWND()));
    TNotifyUIForTest("media", "hidetopbar");
    EXPECT_FALSE(IsWindowVisible(bar->GetHWND()));
    TNotifyUIForTest("media", "showtopbar");
    EXPECT_EQ(window_->Dialogs().TopBar(), bar) << "made once, then shown again";
    Find("media")->SetPos(RECT{media.left, media.top, media.left + 300, media.bottom});
    GetWindowRect(bar->GetHWND(), &placed);
    EXPECT_EQ(placed.right - placed.left, 300);

    // The open combo: files through timer 102, a folder or disc through timer 103, and the
    // same item can be chosen again.
    TNotifyUIForTest("fileCombo", "itemselect", 0);
    EXPECT_TRUE(fake().HasTimer(hwnd_, TIMER_OPEN_FILES));
    TNotifyUIForTest("fileCombo", "itemselect", 1);
    EXPECT_TRUE(fake().HasTimer(hwnd_, TIMER_OPEN_FOLDER));
    EXPECT_EQ(static_cast<uilib::CComboUI*>(Find("fileCombo")->GetInterface("Combo"))->GetCurSel(), -1);

    // A screenshot makes the folder in the pictures folder first; a folder that cannot be
    // made is said on the video, and no shot is asked for.
    const auto sentWith = [&](const std::string& part) {
        return Pump([&] {
            for (const std::string& c : engine_->Commands())
                if (c.find(part) != std::string::npos) return true;
            return false;
        });
    };
    engine_->ForgetCommands();
    EXPECT_FALSE(IsFolder(temp_ + "/Pictures"));
    WindowNote("screenshot");
    EXPECT_TRUE(sentWith("screenshot 0 \"" + temp_ + "/Pictures/Orvella/\""));
    EXPECT_TRUE(IsFolder(temp_ + "/Pictures/Orvella"));
    std::fclose(std::fopen((temp_ + "/plain").c_str(), "w"));
    const_cast<PlayerSettings&>(window_->GetSettings()).snappath = temp_ + "/plain/shots";
    engine_->ForgetCommands();
    WindowNote("screenshot");
    EXPECT_TRUE(sentWith("osd_show_text \"Cannot create the screenshot folder " + temp_ + "/plain/shots\""));
    for (const std::string& c : engine_->Commands()) EXPECT_EQ(c.find("screenshot 0"), std::string::npos) << c;
    WindowNote("changecolor", 0xFF336699);
    EXPECT_EQ(window_->GetPaintManager()->GetMainBKColor(), 0xFF336699u);

    // Clicking the entry that plays changes nothing; a stopped one starts.
    const int launches = engine_->Launches();
    TNotifyUIForTest("playlist", "itemclick", 0, 0);
    Pump([] { return false; }, 100);
    EXPECT_EQ(engine_->Launches(), launches);
    Click("stop");
    TNotifyUIForTest("playlist", "itemclick", 0, 0);
    EXPECT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
}

TEST_F(MainWindowNotifyTest, PositionSliderPreviewsTheTimeUnderThePointer) {
    Play();
    // Resting on the slider before the length is known, the pointer leaves the clock running.
    POINT slider = Centre("playslider");
    ClientToScreen(hwnd_, &slider);
    fake().SetCursorPos(slider.x, slider.y);
    TNotifyUIForTest("playslider", "currentmousevaluechanged", 50);
    engine_->SetLength(200);
    engine_->SetPosition(10);
    Tick();
    Tick();
    EXPECT_EQ(Find("playtime")->GetText(), "00:00:10.0/00:03:20.0");
    TNotifyUIForTest("playslider", "currentmousevaluechanged", 50);
    EXPECT_EQ(Find("playtime")->GetText().substr(0, 10), "00:01:40.0");
    TNotifyUIForTest("playslider", "valuechangebegin", 25);
    EXPECT_EQ(Find("playtime")->GetText().substr(0, 10), "00:00:50.0");
    TNotifyUIForTest("playslider", "mouseleave");
    EXPECT_NE(Find("playtime")->GetText().substr(0, 10), "00:00:50.0");
}

TEST_F(MainWindowNotifyTest, SingleClickWaitsForADoubleClickWhichTogglesFullScreen) {
    Play();
    HWND video = Video();
    ASSERT_NE(video, nullptr);
    const RECT before = WindowRect();
    // A single click becomes one 200 ms later.
    PostMessage(video, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    fake().DispatchPending();
    fake().AdvanceTime(199);
    fake().DispatchPending();
    EXPECT_EQ(notes_.Count("pausemedia"), 0);
    fake().AdvanceTime(1);
    fake().DispatchPending();
    EXPECT_EQ(notes_.Count("pausemedia"), 1);
    EXPECT_FALSE(window_->Display().State().fullScreen);
    // A second click in time makes it a double click: full screen, and no single click.
    PostMessage(video, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessage(video, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    fake().DispatchPending();
    fake().AdvanceTime(400);
    fake().DispatchPending();
    EXPECT_EQ(notes_.Count("pausemedia"), 1);
    ASSERT_TRUE(window_->Display().State().fullScreen);
    EXPECT_TRUE(fake().IsFullScreen(hwnd_));
    for (const char* bar : {"titlebar", "toolbar", "sliderbar", "playlistbar", "expandbar"})
        EXPECT_FALSE(Visible(bar)) << bar;
    // The pointer at the bottom edge brings the bars back; away from it they go again.
    fake().Render(hwnd_);
    SendMessage(Video(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 790));
    EXPECT_TRUE(Visible("toolbar"));
    EXPECT_TRUE(Visible("sliderbar"));
    SendMessage(Video(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
    EXPECT_FALSE(Visible("toolbar"));
    // Back at the old rectangle, with the bars.
    PostMessage(Video(), WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    fake().DispatchPending();
    EXPECT_FALSE(window_->Display().State().fullScreen);
    EXPECT_FALSE(fake().IsFullScreen(hwnd_));
    const RECT after = WindowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    for (const char* bar : {"titlebar", "toolbar", "sliderbar"}) EXPECT_TRUE(Visible(bar)) << bar;
}

TEST_F(MainWindowNotifyTest, LeavingFullScreenRestoresRectangleAndTopmostWhereverTheWindowWent) {
    Play();
    WindowNote("topmost");
    EXPECT_TRUE(fake().IsTopmost(hwnd_));
    const RECT before = WindowRect();
    const RECT inset = static_cast<uilib::CContainerUI*>(Find("main")->GetInterface("Container"))->GetInset();
    WindowNote("fullscreen");
    // Bottom bars come only in full screen; outside it they stay as they are.
    TNotifyUIForTest("media", "showbottombar");
    EXPECT_TRUE(Visible("toolbar"));
    SetWindowPos(hwnd_, nullptr, 40, 30, 500, 400, SWP_NOZORDER);  // the window manager's doing
    WindowNote("fullscreen");
    const RECT after = WindowRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_TRUE(fake().IsTopmost(hwnd_));
    const RECT back = static_cast<uilib::CContainerUI*>(Find("main")->GetInterface("Container"))->GetInset();
    EXPECT_EQ(back.left, inset.left);
    EXPECT_EQ(back.bottom, inset.bottom);
    TNotifyUIForTest("media", "hidebottombar");
    EXPECT_TRUE(Visible("toolbar"));
    WindowNote("topmost");
    EXPECT_FALSE(fake().IsTopmost(hwnd_));
}

TEST_F(MainWindowNotifyTest, SizeFactorsStayWithinRangeAndTheWorkArea) {
    Play();
    const RECT work{0, 0, 1280, 770};
    auto inside = [&] {
        RECT r = WindowRect();
        return r.right - r.left <= work.right && r.bottom - r.top <= work.bottom;
    };
    WindowNote("originalsize");
    const LONG original = WindowRect().right - WindowRect().left;
    for (int i = 0; i < 4; ++i) WindowNote("settings_changesize", 1);
    EXPECT_EQ(window_->Display().State().sizeFactor, 4.0f);
    EXPECT_TRUE(inside());
    for (int i = 0; i < 5; ++i) WindowNote("settings_changesize", static_cast<WPARAM>(-1));
    EXPECT_EQ(window_->Display().State().sizeFactor, 0.5f);
    WindowNote("settings_changesize", 7);  // not a size step
    EXPECT_EQ(window_->Display().State().sizeFactor, 0.5f);
    WindowNote("doublesize");
    EXPECT_EQ(window_->Display().State().sizeFactor, 2.0f);
    EXPECT_GT(WindowRect().right - WindowRect().left, original);
    // From full screen a size leaves it, without the old rectangle.
    WindowNote("fullscreen");
    WindowNote("originalsize");
    EXPECT_FALSE(window_->Display().State().fullScreen);
    EXPECT_TRUE(Visible("titlebar"));
}

TEST_F(MainWindowNotifyTest, FullScreenEndsWithThePanelAsBeforeAndSizesFitASmallWorkArea) {
    // The play list before full screen, and how full screen ends (null: Escape).
    const std::pair<bool, const char*> cases[] = {
        {true, nullptr}, {true, "fullscreen"}, {true, "ID_MAINMENU_PLAY_FRAME_SIZE_100"},
        {false, "fullscreen"}, {false, nullptr}};
    Play();
    for (const auto& [panel, leave] : cases) {
        SCOPED_TRACE(std::string(leave ? leave : "Escape") + (panel ? " with the play list" : ""));
        if (Visible("playlistbar") != panel) Click("list");
        WindowNote("fullscreen");
        ASSERT_TRUE(window_->Display().State().fullScreen);
        if (!leave) fake().KeyPress(VK_ESCAPE, platform::FakeBackend::kNone, hwnd_);
        else if (leave[0] == 'I') window_->RunMenuCommand(leave);
        else WindowNote(leave);
        EXPECT_FALSE(window_->Display().State().fullScreen || IsIconic(hwnd_));
        EXPECT_TRUE(Visible("playlistbar") == panel && Visible("expandbar") == panel);
    }
    fake().KeyPress(VK_ESCAPE, platform::FakeBackend::kNone, hwnd_);  // in a window: minimised
    EXPECT_TRUE(IsIconic(hwnd_));
    ShowWindow(hwnd_, SW_RESTORE);
    // Frame and bars count: a 320 x 240 video at 2.0 leaves the video 632 px of 640.
    fake().SetWorkArea(RECT{0, 0, 640, 1000});
    for (const char* size : {"50", "100", "150", "200", "300", "400"}) {
        window_->RunMenuCommand(std::string("ID_MAINMENU_PLAY_FRAME_SIZE_") + size);
        const RECT r = WindowRect();
        EXPECT_TRUE(r.right - r.left <= 640 && r.bottom - r.top <= 1000) << size;
    }
}

TEST_F(MainWindowNotifyTest, AKeyRunsItsActionOrReachesTheFocusedControlNeverBoth) {
    // The focused control, the key, the start of the one command the engine gets (null:
    // none), the play list's selection afterwards (row 1 before).
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"pause", VK_SPACE, "pause", 1},  // one toggle, no frame step from the button
        {"next", VK_SPACE, "pause", 1},
        {"playlist", VK_UP, "pausing_keep volume", 1},
        {"playlist", VK_DOWN, "pausing_keep volume", 1},
        {"playlist", VK_END, nullptr, 2},  // bound to nothing: the list moves
    };
    StartWithEngine();
    OpenClips(clips_);
    if (!Visible("playlist")) Click("list");
    auto* list = static_cast<uilib::CListUI*>(Find("playlist")->GetInterface("List"));
    for (const auto& [focus, key, command, row] : cases) {
        SCOPED_TRACE(focus + std::to_string(key));
        list->SelectItem(1);
        Find(focus)->SetFocus();
        engine_->ForgetCommands();
        fake().KeyPress(key, platform::FakeBackend::kNone, hwnd_);
        Pump([] { return false; }, 60);
        std::vector<std::string> sent = engine_->Commands();
        // A pause also asks where the picture stopped; that is no second action.
        sent.erase(std::remove(sent.begin(), sent.end(), "pausing_keep get_time_pos"), sent.end());
        ASSERT_EQ(sent.size(), command ? 1u : 0u) << ::testing::PrintToString(sent);
        if (command) {
            EXPECT_EQ(sent[0].rfind(command, 0), 0u) << sent[0];
        }
        EXPECT_EQ(list->GetCurSel(), row);
    }
    EXPECT_EQ(engine_->Launches(), 1);
}

// Delete in the focused play list removes the selected entry, unless the user bound it.
TEST_F(MainWindowNotifyTest, DeleteInThePlayListRemovesTheSelectedEntryUnlessBound) {
    // focus, selected row, Delete bound to Mute, the rows left
    const std::tuple<const char*, int, bool, size_t> cases[] = {
        {"playlist", 2, false, 2}, {"playlist", 0, false, 2}, {"playlist", 2, true, 3}, {"pause", 2, false, 3}};
    StartWithEngine();
    auto& live = const_cast<HotkeyBindings&>(window_->GetHotkeys()).Live();
    for (const auto& [focus, selected, bound, left] : cases) {
        SCOPED_TRACE(std::string(focus) + std::to_string(selected) + (bound ? " bound" : ""));
        window_->PlaylistCommands().Clear();
        OpenClips(clips_);
        if (!Visible("playlist")) Click("list");
        live.SetCode("Mute", bound ? VK_DELETE : 'M');
        static_cast<uilib::CListUI*>(Find("playlist")->GetInterface("List"))->SelectItem(selected);
        Find(focus)->SetFocus();
        fake().KeyPress(VK_DELETE, platform::FakeBackend::kNone, hwnd_);
        EXPECT_EQ(window_->PlaylistModel().Count(), left);
        EXPECT_EQ(window_->PlaylistModel().FindByFilename(clips_[selected]) < 0, left == 2);
    }
    live.SetCode("Mute", 'M');
}

TEST_F(MainWindowNotifyTest, CtrlUOpensTheAddressBarAndOnlyAPlayedAddressReplacesWhatPlays) {
    // The key that ends the bar, whether only blanks were typed, whether it plays. The bar
    // opens with the last address chosen whole: what is typed replaces it.
    const struct { int key; bool blank, plays; } cases[] = {
        {VK_ESCAPE, false, false}, {VK_RETURN, true, false}, {VK_RETURN, false, true}};
    Play();
    ASSERT_TRUE(Pump([&] { return !Visible("startup"); }));  // the video's layout came
    const std::string other = temp_ + "/other.mp4";
    std::fclose(std::fopen(other.c_str(), "w"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        fake().KeyPress('U', platform::FakeBackend::kControl, hwnd_);
        fake().SetModifiers(platform::FakeBackend::kNone);  // Ctrl let go
        ASSERT_TRUE(Visible("URLbar"));
        EXPECT_TRUE(window_->IsEngineRunning() && !Visible("startup"));
        fake().TypeText(c.blank ? "  " : other, hwnd_);
        fake().KeyPress(c.key, platform::FakeBackend::kNone, hwnd_);
        Pump([&] { return engine_->Launches() > 1; }, c.plays ? 5000 : 60);
        EXPECT_FALSE(Visible("URLbar"));
        EXPECT_FALSE(IsIconic(hwnd_));  // Escape closed the bar, nothing more
        EXPECT_EQ(engine_->Launches(), c.plays ? 2 : 1);
        EXPECT_EQ(window_->GetCurrentMediaPath(), c.plays ? other : clips_[0]);
    }
}

TEST_F(MainWindowNotifyTest, UrlBarPlaysWhatWasTypedAndPanelsFollowTheirButtons) {
    Play();
    TNotifyUIForTest("fileCombo", "itemselect", 2);
    EXPECT_TRUE(Visible("URLbar"));
    // Surrounding blanks go; a leading "-" stays a file name for the engine.
    const std::string odd = temp_ + "/-odd $name.mp4";
    std::fclose(std::fopen(odd.c_str(), "w"));
    Find("URLbar_edit")->SetText(("  " + odd + " \n").c_str());
    const int launches = engine_->Launches();
    Click("URLbar_OK");
    EXPECT_FALSE(Visible("URLbar"));
    ASSERT_TRUE(Pump([&] { return engine_->Launches() == launches + 1; }));
    EXPECT_EQ(window_->GetCurrentMediaPath(), odd);
    const std::vector<std::string> args = engine_->Arguments(launches + 1);
    EXPECT_NE(std::find(args.begin(), args.end(), odd), args.end());
    // An empty address plays nothing.
    TNotifyUIForTest("fileCombo", "itemselect", 2);
    Find("URLbar_edit")->SetText("   ");
    Click("URLbar_OK");
    Pump([] { return false; }, 100);
    EXPECT_EQ(engine_->Launches(), launches + 1);
    // The clip bar opens from the tools and closes with its button.
    WindowNote("tools_clip");
    EXPECT_TRUE(Visible("ID_PLAYER_CLIPBAR"));
    Click("ID_PLAYER_CLIP_CLOSE");
    EXPECT_FALSE(Visible("ID_PLAYER_CLIPBAR"));
    Click("list");
    EXPECT_FALSE(Visible("playlistbar"));
    EXPECT_FALSE(Visible("expandbar"));
    Click("list");
    Click("expand");
    EXPECT_FALSE(Visible("playlistbar"));
    EXPECT_TRUE(Visible("expandbar"));
}

TEST_F(MainWindowNotifyTest, MenuButtonsOpenTheirMenusAndTheirRowsRunCommands) {
    StartWithEngine();
    TNotifyUIForTest("help", "showmenu");
    auto* menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetListName(), "help");
    auto row = [](CMenuWnd* m, const char* name) -> uilib::CControlUI* {
        uilib::CListUI* list = m->GetList();
        for (int i = 0; list && i < list->GetCount(); ++i)
            if (list->GetItemAt(i)->GetName() == name) return list->GetItemAt(i);
        return nullptr;
    };
    uilib::CControlUI* about = row(menu, "ID_MAINMENU_HELP_ABOUT");
    ASSERT_NE(about, nullptr);
    // The same name from a control that is not one of our menus' rows does nothing.
    uilib::TNotifyUI foreign;
    foreign.sType = "menuselected";
    foreign.pSender = about;
    CMenuWnd::CloseOpenPopupMenu();
    window_->Notify(foreign);
    EXPECT_EQ(window_->Dialogs().About(), nullptr);
    TNotifyUIForTest("help", "showmenu");
    menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    uilib::TNotifyUI chosen;
    chosen.sType = "menuselected";
    chosen.pSender = row(menu, "ID_MAINMENU_HELP_ABOUT");
    window_->Notify(chosen);
    fake().DispatchPending();
    EXPECT_NE(window_->Dialogs().About(), nullptr);
    // A right click on the video opens its menu at the pointer.
    CMenuWnd::CloseOpenPopupMenu();
    TNotifyUIForTest("media", "showmainrightkeymenu");
    menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetListName(), "ID_MAIN_RIGHT_MENU");
    // A context menu's choice comes as the window's own notification with the row's name.
    const std::string topmost = "ID_MAINMENU_PLAY_TOPMOST";
    WindowNote("menuselected", reinterpret_cast<WPARAM>(&topmost));
    fake().DispatchPending();
    EXPECT_TRUE(window_->Display().State().topmost);
    EXPECT_EQ(GetOpenPopupMenu(), nullptr) << "the context menu closes after its command";
}

TEST_F(MainWindowNotifyTest, AboutWindowOpensOnceAndClosesOnItsNotification) {
    StartWithEngine();
    window_->Dialogs().OpenAbout();
    CAboutWnd* first = window_->Dialogs().About();
    ASSERT_NE(first, nullptr);
    window_->Dialogs().OpenAbout();
    fake().DispatchPending();
    ASSERT_NE(window_->Dialogs().About(), nullptr);
    EXPECT_NE(window_->Dialogs().About(), first);
    EXPECT_EQ(WindowsOfClass("UIAboutWnd"), 1u);
    WindowNote("about_close");
    fake().DispatchPending();
    EXPECT_EQ(window_->Dialogs().About(), nullptr);
    EXPECT_EQ(WindowsOfClass("UIAboutWnd"), 0u);
}

}  // namespace
}  // namespace orvella
