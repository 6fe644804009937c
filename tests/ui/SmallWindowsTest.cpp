// The skinned window pattern and its three small windows on the headless platform: the
// about window, the question window and the full-screen top bar, opened the way the main
// window opens them, answered through a recording stand-in for the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/PlayerMenuStates.h"
#include "tests/SourceSkins.h"
#include "tests/ui/MainStandIn.h"
#include "tests/TestPlatform.h"
#include "ui/AboutWnd.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/QuestionTexts.h"
#include "ui/QuestionWnd.h"
#include "uilib/Control.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

class SmallWindowsTest : public SkinWindowTest {
protected:
    // Lays the window out and delivers its "windowinit".
    void Settle(CSkinWindow* w) {
        fake().Render(w->GetHWND());
        fake().DispatchPending();
    }

    void ClickControl(CSkinWindow* w, const char* name) {
        uilib::CControlUI* c = w->FindControl(name);
        ASSERT_NE(c, nullptr) << name;
        const RECT& r = c->GetPos();
        fake().LeftClick(w->GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    bool Visible(CSkinWindow* w, const char* name) {
        uilib::CControlUI* c = w->FindControl(name);
        EXPECT_NE(c, nullptr) << name;
        return c && c->IsVisible();
    }
};

TEST(SkinWindowRules, HitTestDragsByTheCaptionBandExceptOnButtons) {
    const RECT client{0, 0, 400, 200};
    const RECT margins{10, 2, 20, 36};  // left, top and right margins; bottom is the height
    struct Case {
        POINT pt;
        const char* under;
        LRESULT expected;
    } cases[] = {
        {{100, 10}, "LabelUI", HTCAPTION},    {{100, 10}, "ContainerUI", HTCAPTION},
        {{100, 10}, "OptionUI", HTCAPTION},   {{100, 10}, "ButtonUI", HTCLIENT},
        {{100, 10}, "", HTCLIENT},            {{5, 10}, "LabelUI", HTCLIENT},
        {{385, 10}, "LabelUI", HTCLIENT},     {{100, 1}, "LabelUI", HTCLIENT},
        {{100, 36}, "LabelUI", HTCLIENT},     {{100, 120}, "LabelUI", HTCLIENT},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SkinWindowHitTest(client, c.pt, margins, c.under), c.expected)
            << c.pt.x << "," << c.pt.y << " over " << c.under;
    }
}

TEST(SkinWindowRules, RegionAndLayoutFile) {
    WindowRegion rounded = RoundedClientRegion(RECT{0, 0, 300, 200}, SIZE{8, 8});
    EXPECT_TRUE(rounded.rounded);
    EXPECT_EQ(rounded.rect.right, 301);
    EXPECT_EQ(rounded.rect.bottom, 201);
    EXPECT_EQ(rounded.cornerWidth, 8);
    EXPECT_FALSE(RoundedClientRegion(RECT{0, 0, 300, 200}, SIZE{0, 0}).rounded);

    const std::string data = std::string(ORVELLA_SOURCE_DIR) + "/data/";
    EXPECT_EQ(SkinLayoutFile(data, 1, "eng", "about.xml"), data + "skin/language/eng/about.xml");
    // A language without its own copy falls back to English; an unknown skin has none.
    EXPECT_EQ(SkinLayoutFile(data, 0, "xx", "about.xml"),
              data + "skin_classic/language/eng/about.xml");
    EXPECT_EQ(SkinLayoutFile(data, 2, "eng", "about.xml"), "");
}

TEST(QuestionTexts, KindsAndPlaceholder) {
    EXPECT_STREQ(FindQuestionPrompt(0)->text, "Are you sure you want to clear play list?");
    for (int kind : {0, 2, 3}) {
        const QuestionPrompt* p = FindQuestionPrompt(kind);
        ASSERT_NE(p, nullptr) << kind;
        EXPECT_EQ(p->withCancel, kind == 0);  // only clearing the play list can be cancelled
        // Translations: title and text are neighbours in the string file.
        EXPECT_EQ(p->textString, p->titleString + 1);
    }
    EXPECT_EQ(FindQuestionPrompt(2)->titleString, 0);
    EXPECT_EQ(FindQuestionPrompt(1), nullptr);
    EXPECT_EQ(FillQuestionPlaceholder(FindQuestionPrompt(3)->text, "Mute %d"),
              "The key is already assigned to \"Mute %d\",please reinput!");
}

TEST_F(SmallWindowsTest, OpeningTwiceLeavesOneWindowLookingLikeItsOwner) {
    CAboutWnd* about = nullptr;
    CAboutWnd* first = OpenSkinWindow(about, Owner(0));
    ASSERT_NE(first, nullptr);
    HWND firstHwnd = first->GetHWND();
    ASSERT_NE(OpenSkinWindow(about, Owner(0)), nullptr);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(firstHwnd));

    int abouts = 0;
    for (HWND h : fake().LiveWindows()) abouts += fake().GetClassName(h) == "UIAboutWnd";
    EXPECT_EQ(abouts, 1);
    HWND h = about->GetHWND();
    EXPECT_EQ(fake().GetWindowText(h), "About Wnd");
    EXPECT_EQ(GetParent(h), main_.GetHWND());
    EXPECT_NE(about->GetLayoutPath().find("skin_classic/language/eng/about.xml"), std::string::npos);
    EXPECT_EQ(about->PaintManager().GetMainBKColor(), 0xFF345678u);
    EXPECT_EQ(about->PaintManager().GetParentResource(), &main_.pm);
    // The layout's size, centred over the main window; rounded, with no system caption.
    RECT r;
    GetWindowRect(h, &r);
    SIZE init = about->PaintManager().GetInitSize();
    EXPECT_EQ(r.right - r.left, init.cx);
    EXPECT_EQ((r.left + r.right) / 2, 200 + 800 / 2);
    EXPECT_TRUE(fake().GetWindowRegion(h).rounded);
    EXPECT_EQ(GetWindowLong(h, GWL_STYLE) & static_cast<LONG>(WS_CAPTION), 0);

    CloseSkinWindow(about);
    fake().DispatchPending();
    EXPECT_EQ(about, nullptr);
    EXPECT_FALSE(IsWindow(h));
}

TEST_F(SmallWindowsTest, AboutShowsItsTextsAndEitherButtonClosesIt) {
    for (const char* button : {"ID_CLOSE_BUTTON", "ID_ABOUT_OK_BUTTON"}) {
        CAboutWnd* about = nullptr;
        OpenSkinWindow(about, Owner());
        Settle(about);
        EXPECT_EQ(about->FindControl("ID_ABOUT_VERSION")->GetText(), std::string("Orvella   ") + ORVELLA_VERSION);
        EXPECT_EQ(about->FindControl("ID_ABOUT_COPYRIGHT")->GetText(), kAboutLegalNotice);
        // The caption band drags the window; its buttons stay buttons.
        uilib::CControlUI* close = about->FindControl("ID_CLOSE_BUTTON");
        POINT title{20 + 40, close->GetPos().bottom / 2};
        ClientToScreen(about->GetHWND(), &title);
        EXPECT_EQ(SendMessage(about->GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)),
                  HTCAPTION);

        main_.heard.clear();
        ClickControl(about, button);
        EXPECT_EQ(main_.heard, (std::vector<Heard>{{"about_close", 0, 0}})) << button;
        CloseSkinWindow(about);
        fake().DispatchPending();
    }
}

TEST_F(SmallWindowsTest, QuestionShowsItsButtonsAndAnswersWithItsKind) {
    struct Case {
        int kind;
        bool withCancel;
        const char* button;
        LPARAM answer;
    } cases[] = {
        {0, true, "ID_OK_BUTTON", 1},     {0, true, "ID_CANCEL_BUTTON", 0},
        {0, true, "ID_CLOSE_BUTTON", 0},  {3, false, "ID_OK_BUTTON", 1},
        {2, false, "ID_CLOSE_BUTTON", 0},
    };
    for (const Case& c : cases) {
        CQuestionWnd* question = nullptr;
        OpenSkinWindow(question, Owner(c.kind % 2), [&](CQuestionWnd& q) {
            q.SetUp(c.kind, "Title", "Text", c.withCancel);
        });
        ASSERT_NE(question, nullptr);
        Settle(question);
        EXPECT_EQ(fake().GetClassName(question->GetHWND()), "UIQuestionWnd");
        EXPECT_EQ(question->FindControl("ID_TITLE")->GetText(), "Title");
        EXPECT_EQ(question->FindControl("ID_TEXT")->GetText(), "Text");
        EXPECT_TRUE(Visible(question, "ID_OK_BUTTON"));
        EXPECT_EQ(Visible(question, "ID_CANCEL_BUTTON"), c.withCancel);
        EXPECT_EQ(Visible(question, "ID_SEPARATE"), c.withCancel);

        main_.heard.clear();
        ClickControl(question, c.button);
        EXPECT_EQ(main_.heard,
                  (std::vector<Heard>{{"question_close", static_cast<WPARAM>(c.kind), c.answer}}))
            << c.button;
        CloseSkinWindow(question);
        fake().DispatchPending();
    }
}

class TopBarTest : public SmallWindowsTest {
protected:
    void SetUp() override {
        SmallWindowsTest::SetUp();
        ASSERT_NE(OpenSkinWindow(bar_, Owner()), nullptr);
        bar_->SetOwner(&main_);
        SetWindowPos(bar_->GetHWND(), nullptr, 0, 0, 500, 20, SWP_NOZORDER);
        Settle(bar_);
    }
    CFullScreenTopBarWnd* bar_ = nullptr;
};

TEST_F(TopBarTest, EachButtonTellsTheMainWindow) {
    struct Case {
        const char* button;
        const char* notification;
        WPARAM wParam;
    } cases[] = {
        {"fullscreen", "fullscreen", 0},        {"auto", "settings_setratio", 0},
        {"4:3", "settings_setratio", 3},        {"16:9", "settings_setratio", 7},
        {"original", "originalsize", 0},        {"double", "doublesize", 0},
        {"brightness_increase", "brightnessincrease", 0},
        {"brightness_decrease", "brightnessdecrease", 0},
        {"contrast_increase", "contrastincrease", 0},
        {"contrast_decrease", "contrastdecrease", 0},
        {"saturation_increase", "saturationincrease", 0},
        {"saturation_decrease", "saturationdecrease", 0},
        {"dvdnav_up", "dvdnav", 1},             {"dvdnav_down", "dvdnav", 2},
        {"dvdnav_left", "dvdnav", 3},           {"dvdnav_right", "dvdnav", 4},
        {"dvdnav_menu", "dvdnav", 5},           {"dvdnav_select", "dvdnav", 6},
        {"dvdnav_selectsub", "dvdnav_select_subtitle", 0},
        {"dvdnav_loadsub", "dvdnav_load_subtitle", 0},
        {"screen_shot", "screenshot", 0},       {"topmost", "topmost", 0},
        {"topmost_selected", "topmost", 0},
    };
    for (const Case& c : cases) {
        main_.heard.clear();
        ClickControl(bar_, c.button);
        EXPECT_EQ(main_.heard, (std::vector<Heard>{{c.notification, c.wParam, 0}})) << c.button;
        // Each of the two topmost buttons hands over to the other.
        if (std::string(c.button) == "topmost") {
            EXPECT_FALSE(Visible(bar_, "topmost"));
            EXPECT_TRUE(Visible(bar_, "topmost_selected"));
            Settle(bar_);
        }
    }
    EXPECT_TRUE(Visible(bar_, "topmost"));
    EXPECT_FALSE(Visible(bar_, "topmost_selected"));
}

TEST_F(TopBarTest, LeavingHidesItUnlessAPopupMenuIsOpen) {
    HWND h = bar_->GetHWND();
    fake().MouseMove(h, 100, 10);
    EXPECT_TRUE(fake().TrackingMouseLeave(h));
    uilib::CWindowWnd* menu = &main_;  // any window stands for the menu here
    SetOpenPopupMenu(menu);
    fake().MouseLeave(h);
    EXPECT_TRUE(IsWindowVisible(h));

    // The menu goes: the bar hears "menu_release" and the next leave hides it.
    uilib::CPaintManagerUI menuPm;
    menuPm.AddNotifier(bar_);
    menuPm.SendNotify(menu, "menu_release");
    EXPECT_EQ(GetOpenPopupMenu(), nullptr);
    fake().MouseMove(h, 120, 10);
    fake().MouseLeave(h);
    EXPECT_FALSE(IsWindowVisible(h));
}

TEST_F(TopBarTest, PickedMenuItemHidesTheBarAndRunsThroughTheOwner) {
    uilib::CControlUI item;
    item.SetName("ID_MAINMENU_DVD_TITLE_2");
    bar_->PaintManager().SendNotify(&item, "menuselected");
    EXPECT_FALSE(IsWindowVisible(bar_->GetHWND()));
    EXPECT_EQ(main_.commands, std::vector<std::string>{"ID_MAINMENU_DVD_TITLE_2"});

    bar_->ShowDvdButtons(true);
    EXPECT_TRUE(Visible(bar_, "ID_MAINMENU_DVD_TITLE"));
    EXPECT_TRUE(Visible(bar_, "ID_MAINMENU_DVD_CHAPTER"));
    bar_->ShowTopmostState(true);
    EXPECT_TRUE(Visible(bar_, "topmost_selected"));
    EXPECT_FALSE(Visible(bar_, "topmost"));
}

TEST_F(TopBarTest, TrackButtonsOpenTheirMenusAndTheChoiceRunsThroughTheOwner) {
    ClickControl(bar_, "ID_MAINMENU_DVD_AUDIO");
    auto* menu = static_cast<CMenuWnd*>(GetOpenPopupMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetListName(), "ID_MAINMENU_DVD_AUDIO_SUB");
    ASSERT_EQ(menu->GetList()->GetCount(), 2);
    uilib::CControlUI* french = menu->GetList()->GetItemAt(1);
    EXPECT_EQ(french->GetName(), "ID_MAINMENU_DVD_AUDIO_129");
    fake().Render(menu->GetHWND());
    const RECT r = french->GetPos();
    fake().LeftClick(menu->GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    fake().DispatchPending();
    EXPECT_EQ(main_.commands, std::vector<std::string>{"ID_MAINMENU_DVD_AUDIO_129"});
    EXPECT_FALSE(IsWindowVisible(bar_->GetHWND()));
    EXPECT_EQ(GetOpenPopupMenu(), nullptr);
}

TEST_F(TopBarTest, ColourChangesReachEveryOpenWindow) {
    CAboutWnd* about = nullptr;
    CQuestionWnd* question = nullptr;
    OpenSkinWindow(about, Owner());
    OpenSkinWindow(question, Owner());
    // The skin window tells every open window through its own paint manager.
    uilib::CPaintManagerUI skinPm;
    for (CSkinWindow* w : std::vector<CSkinWindow*>{about, question, bar_}) skinPm.AddNotifier(w);
    skinPm.SendNotify(&main_, "changecolor", 0xFF20A040, 0);
    for (CSkinWindow* w : std::vector<CSkinWindow*>{about, question, bar_})
        EXPECT_EQ(w->PaintManager().GetMainBKColor(), 0xFF20A040u) << w->GetWindowTitle();
    skinPm.SendNotify(&main_, "changeshading", 3, 0xFF102030);
    EXPECT_EQ(bar_->PaintManager().GetMainBKColor(), 0xFF102030u);
    EXPECT_EQ(about->PaintManager().GetMainBKColor(), 0xFF20A040u);
    // A button of another window that happens to share a name does not close this one.
    uilib::CControlUI stranger;
    stranger.SetName("ID_CLOSE_BUTTON");
    main_.heard.clear();
    skinPm.SendNotify(&stranger, "click");
    EXPECT_TRUE(main_.heard.empty());
}

TEST_F(SmallWindowsTest, MissingLayoutGivesAnEmptyWindow) {
    CAboutWnd* about = new CAboutWnd();
    about->SetProgramFolder("/nonexistent/");
    SkinWindowOwner owner = Owner();
    ASSERT_TRUE(CreateSkinWindow(about, owner));
    Settle(about);
    EXPECT_TRUE(IsWindow(about->GetHWND()));
    EXPECT_EQ(about->PaintManager().GetRoot(), nullptr);
    DestroyWindow(about->GetHWND());
}

// Every control each window looks up, and the ones hidden until needed.
const std::vector<const char*> kLayoutControls[] = {
    {"about.xml", "ID_ABOUT_VERSION", "ID_ABOUT_COPYRIGHT", "ID_ABOUT_OK_BUTTON",
     "ID_CLOSE_BUTTON"},
    {"question.xml", "ID_TITLE", "ID_TEXT", "ID_OK_BUTTON", "ID_CANCEL_BUTTON", "ID_SEPARATE",
     "ID_CLOSE_BUTTON"},
    {"update.xml", "ID_TEXT_APP_VERSION", "ID_TEXT_LATEST_VERSION", "ID_TEXT_VERSION_NEW",
     "ID_TEXT_VERSION_LATEST", "ID_TEXT_VERSION_FAILED", "ID_BUTTON_URL", "ID_OK_BUTTON",
     "ID_CLOSE_BUTTON"},
    {"topbar.xml", "fullscreen", "topmost", "topmost_selected", "auto", "4:3", "16:9",
     "original", "double", "brightness_increase", "brightness_decrease", "contrast_increase",
     "contrast_decrease", "saturation_increase", "saturation_decrease", "dvdnav_up",
     "dvdnav_down", "dvdnav_left", "dvdnav_right", "dvdnav_menu", "dvdnav_select",
     "dvdnav_selectsub", "dvdnav_loadsub", "screen_shot", "ID_MAINMENU_DVD_TITLE",
     "ID_MAINMENU_DVD_CHAPTER", "ID_MAINMENU_DVD_AUDIO", "ID_MAINMENU_DVD_SUBTITLE"},
};
const std::set<std::string> kHiddenAtStart = {"topmost_selected", "ID_MAINMENU_DVD_TITLE",
                                              "ID_MAINMENU_DVD_CHAPTER", "ID_TEXT_VERSION_NEW",
                                              "ID_TEXT_VERSION_LATEST", "ID_TEXT_VERSION_FAILED",
                                              "ID_BUTTON_URL"};

class SmallWindowLayouts : public ::testing::TestWithParam<int> {};

TEST_P(SmallWindowLayouts, EveryNamedControlIsThere) {
    uilib::RegisterBuiltinControls();
    const std::string data = std::string(ORVELLA_SOURCE_DIR) + "/data/";
    for (const std::vector<const char*>& layout : kLayoutControls) {
        const std::string path = SkinLayoutFile(data, GetParam(), "eng", layout[0]);
        uilib::CPaintManagerUI pm;
        uilib::CDialogBuilder builder;
        CDialogBuilderCallbackEx factory;
        uilib::CControlUI* root = builder.Create(path.c_str(), &factory, &pm);
        ASSERT_NE(root, nullptr) << path << ": " << builder.GetLastError();
        pm.AttachDialog(root);
        for (size_t i = 1; i < layout.size(); ++i) {
            uilib::CControlUI* control = pm.FindControl(layout[i]);
            ASSERT_NE(control, nullptr) << layout[i] << " missing in " << path;
            EXPECT_EQ(control->IsVisible(), kHiddenAtStart.count(layout[i]) == 0) << layout[i];
        }
        // A dialog has a caption band to drag and round corners; the bar is a strip.
        const bool bar = std::string(layout[0]) == "topbar.xml";
        EXPECT_EQ(pm.GetInitSize().cy == 20, bar) << path;
        EXPECT_EQ(pm.GetCaptionRect().bottom > 0 && pm.GetRoundCorner().cx > 0, !bar) << path;
    }
}

// The bar fits a 500-pixel video: every visible button lies whole inside it.
TEST_P(SmallWindowLayouts, TopBarFitsFiveHundredPixels) {
    ScopedFakeBackend fake;
    uilib::SetAppPathForTesting(std::string(ORVELLA_SOURCE_DIR) + "/data/");
    uilib::RegisterBuiltinControls();
    auto* bar = new CFullScreenTopBarWnd();
    SkinWindowOwner owner;
    owner.skinIndex = GetParam();
    owner.language = "eng";
    ASSERT_TRUE(CreateSkinWindow(bar, owner));
    SetWindowPos(bar->GetHWND(), nullptr, 0, 0, 500, 20, SWP_NOZORDER);
    bar->PaintManager().UpdateLayout();
    const auto topbar = std::find_if(std::begin(kLayoutControls), std::end(kLayoutControls),
                                     [](const auto& layout) { return std::string(layout[0]) == "topbar.xml"; });
    ASSERT_NE(topbar, std::end(kLayoutControls));
    for (size_t i = 1; i < topbar->size(); ++i) {
        const char* name = (*topbar)[i];
        if (kHiddenAtStart.count(name)) continue;
        ASSERT_NE(bar->FindControl(name), nullptr) << name;
        const RECT& r = bar->FindControl(name)->GetPos();
        EXPECT_GE(r.left, 0) << name;
        EXPECT_LE(r.right, 500) << name;
        EXPECT_GT(r.right - r.left, 0) << name;
    }
    DestroyWindow(bar->GetHWND());
    uilib::SetAppPathForTesting("");
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SmallWindowLayouts, ::testing::Values(0, 1));

}  // namespace
}  // namespace orvella
