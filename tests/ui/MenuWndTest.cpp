// The menu window: where menus go, how the highlight moves, and the window itself on the
// headless platform, opened the way the main window opens it.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/SourceSkins.h"
#include "tests/TestPlatform.h"
#include "ui/DialogBuilderCallbackEx.h"
#include "ui/MenuPlacement.h"
#include "ui/MenuUI.h"
#include "ui/MenuWnd.h"
#include "ui/SkinWindow.h"
#include "uilib/Container.h"
#include "uilib/DialogBuilder.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListContainerElement.h"

namespace orvella {
namespace {

std::string Text(const RECT& r) {
    return "{" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + "}";
}
bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const RECT kWork{0, 0, 1920, 1040};  // a panel of 40 pixels below

TEST(MenuPlacementRules, DropDownOpensBelowOrLeftOfItsButton) {
    struct Case {
        const char* what;
        POINT anchor;
        int buttonWidth;
        SIZE menu;
        RECT expected;
        bool left;
    } cases[] = {
        {"room on the right", {100, 36}, 34, {220, 300}, {100, 36, 320, 336}, false},
        {"right edge: ends at the button's right", {1800, 36}, 34, {220, 300}, {1614, 36, 1834, 336}, true},
        {"exactly fits", {1700, 36}, 34, {220, 300}, {1700, 36, 1920, 336}, false},
        {"too low: lifted", {100, 900}, 34, {220, 300}, {100, 740, 320, 1040}, false},
        {"taller than the area: at its top", {100, 900}, 34, {220, 1200}, {100, 0, 320, 1200}, false},
    };
    for (const Case& c : cases) {
        MenuPlacement p = PlaceDropDown(c.anchor, c.buttonWidth, c.menu, kWork);
        EXPECT_TRUE(Same(p.rect, c.expected)) << c.what << ": " << Text(p.rect);
        EXPECT_EQ(p.openedLeft, c.left) << c.what;
    }
}

TEST(MenuPlacementRules, SubmenuBesideItsItemAndFollowsItsParent) {
    struct Case {
        const char* what;
        POINT anchor;
        bool parentLeft;
        SIZE menu;
        RECT expected;
        bool left;
        bool scroll;
    } cases[] = {
        // item 220 wide in a 220-wide menu: the submenu overlaps the border by 2
        {"right of the parent", {100, 80}, false, {200, 150}, {318, 80, 518, 230}, false, false},
        {"no room right: left of the item", {1600, 80}, false, {200, 150}, {1401, 80, 1601, 230}, true, false},
        {"parent opened left: left too", {600, 80}, true, {200, 150}, {401, 80, 601, 230}, true, false},
        {"left of a menu at the left edge stays on screen", {50, 80}, true, {200, 150}, {0, 80, 200, 230}, true, false},
        {"too low: lifted", {100, 1000}, false, {200, 150}, {318, 890, 518, 1040}, false, false},
        {"taller than the area: scrolls", {100, 500}, false, {200, 1500}, {318, 0, 518, 1040}, false, true},
    };
    for (const Case& c : cases) {
        MenuPlacement p = PlaceSubmenu(c.anchor, 220, 220, c.menu, c.parentLeft, kWork);
        EXPECT_TRUE(Same(p.rect, c.expected)) << c.what << ": " << Text(p.rect);
        EXPECT_EQ(p.openedLeft, c.left) << c.what;
        EXPECT_EQ(p.scroll, c.scroll) << c.what;
    }
}

TEST(MenuPlacementRules, ContextAndTrayMenusStayInsideTheWorkArea) {
    const SIZE menu{200, 240};
    struct Case {
        const char* what;
        bool tray;
        POINT cursor;
        RECT expected;
    } cases[] = {
        {"context: top-left at the cursor", false, {500, 400}, {500, 400, 700, 640}},
        {"context near the right edge", false, {1850, 400}, {1720, 400, 1920, 640}},
        {"context near the bottom", false, {500, 1000}, {500, 800, 700, 1040}},
        {"context in the corner", false, {1919, 1039}, {1720, 800, 1920, 1040}},
        {"tray: right edge at the cursor, above the panel", true, {1700, 1060}, {1500, 800, 1700, 1040}},
        {"tray at the far left", true, {50, 1060}, {0, 800, 200, 1040}},
        {"tray in a panel along the top", true, {1700, 10}, {1500, 0, 1700, 240}},
    };
    for (const Case& c : cases) {
        RECT r = c.tray ? PlaceTrayMenu(c.cursor, menu, kWork) : PlaceContextMenu(c.cursor, menu, kWork);
        EXPECT_TRUE(Same(r, c.expected)) << c.what << ": " << Text(r);
    }
    // A work area that does not start at 0 (a panel on top, a second monitor).
    EXPECT_TRUE(Same(PlaceContextMenu({10, 5}, menu, RECT{0, 30, 1920, 1080}), RECT{10, 30, 210, 270}));
}

TEST(MenuPlacementRules, HighlightSkipsRowsThatCannotBeChosen) {
    // rows: item, separator, disabled, item, item, separator
    const std::vector<bool> rows{true, false, false, true, true, false};
    struct Case {
        int from;
        MenuMove move;
        int expected;
    } cases[] = {
        {-1, MenuMove::Down, 0}, {0, MenuMove::Down, 3}, {3, MenuMove::Down, 4},
        {4, MenuMove::Down, 0},  // wraps
        {-1, MenuMove::Up, 4},   {3, MenuMove::Up, 0}, {0, MenuMove::Up, 4},
        {4, MenuMove::Home, 0},  {0, MenuMove::End, 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveMenuHighlight(rows, c.from, c.move), c.expected)
            << "from " << c.from << " move " << static_cast<int>(c.move);
    }
    EXPECT_EQ(MoveMenuHighlight({false, false}, -1, MenuMove::Down), -1);
    EXPECT_EQ(MoveMenuHighlight({}, -1, MenuMove::End), -1);
}

// ---- the window on the headless platform ---------------------------------------------

class TestStates : public IMenuItemStates {
public:
    bool IsChecked(const std::string& item) const override { return checked.count(item) != 0; }
    bool IsEnabled(const std::string& item) const override { return disabled.count(item) == 0; }
    void FillSubmenu(const std::string& item, uilib::CListUI& list) const override {
        for (const std::string& name : madeRows[item]) {
            uilib::CListContainerElementUI* row = CMenuWnd::CreateRow();
            row->SetName(name.c_str());
            row->SetFixedHeight(24);
            list.Add(row);
        }
    }
    std::set<std::string> checked, disabled;
    mutable std::map<std::string, std::vector<std::string>> madeRows;
};

// Stands in for the main window: a row of menu buttons, and a record of what the menus
// tell it.
class MainStandIn : public uilib::CWindowWnd, public uilib::INotifyUI {
public:
    const char* GetWindowClassName() const override { return "UIMainFrame"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            pm.Init(m_hWnd);
            uilib::CDialogBuilder builder;
            CDialogBuilderCallbackEx factory;
            pm.AttachDialog(builder.CreateFromString(
                "<Window><HorizontalLayout><Control width=\"10\" />"
                "<Menu name=\"ID_MAINMENU\" width=\"34\" height=\"36\" />"
                "<Menu name=\"help\" width=\"34\" height=\"36\" /><Control /></HorizontalLayout></Window>",
                &factory, &pm));
            pm.AddNotifier(this);
            return 0;
        }
        LRESULT result = 0;
        if (pm.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    void NotifyFromWindow(uilib::TNotifyUI& msg) override {
        std::string text = msg.sType;
        if (msg.sType == "menuselected") text += " " + *reinterpret_cast<const std::string*>(msg.wParam);
        heard.push_back(text);
    }
    void Notify(uilib::TNotifyUI& msg) override {
        if (msg.sType == "menuselected") heard.push_back("menuselected " + std::string(msg.pSender->GetName()));
        if (msg.sType == "showmenu") shown.push_back(msg.pSender->GetName());
    }

    uilib::CPaintManagerUI pm;
    std::vector<std::string> heard;
    std::vector<std::string> shown;  // menu buttons that asked for their menu
};

class MenuWndTest : public FakePlatformTest {
protected:
    void SetUp() override {
        orvella_test::UseSourceSkins();
        SetOpenPopupMenu(nullptr);
        CMenuUI::ResetMenuBarMode();
        states_ = std::make_shared<TestStates>();
        OpenMain(200);
    }
    void TearDown() override {
        SetOpenPopupMenu(nullptr);
        CMenuUI::ForgetAll();
        uilib::SetAppPathForTesting("");
    }
    void OpenMain(int x) {
        main_.Create(nullptr, "Orvella", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, x, 100, 800, 500);
        fake().Render(main_.GetHWND());
    }

    MenuOwner Owner(int skin = 1) {
        MenuOwner owner;
        owner.hwnd = main_.GetHWND();
        owner.notifier = &main_;
        owner.paintManager = &main_.pm;
        owner.skinIndex = skin;
        owner.states = states_;
        return owner;
    }
    CMenuUI* Button(const char* name) { return static_cast<CMenuUI*>(main_.pm.FindControl(name)); }

    CMenuWnd* DropDown(const char* button = "ID_MAINMENU", int skin = 1) {
        CMenuUI* b = Button(button);
        b->OpenMenu();
        CMenuWnd* menu = CMenuWnd::OpenDropDown(Owner(skin), b);
        if (menu) fake().Render(menu->GetHWND());
        return menu;
    }

    RECT Row(CMenuWnd* menu, const char* name) {
        for (int i = 0; i < menu->GetList()->GetCount(); ++i) {
            uilib::CControlUI* row = menu->GetList()->GetItemAt(i);
            if (row->GetName() == name) return row->GetPos();
        }
        ADD_FAILURE() << name << " not in " << menu->GetListName();
        return RECT{};
    }
    uilib::CControlUI* RowControl(CMenuWnd* menu, int index) { return menu->GetList()->GetItemAt(index); }

    // The pointer onto a row: the cursor goes there too, as the real pointer would.
    void Hover(CMenuWnd* menu, const char* name) {
        const RECT r = Row(menu, name);
        POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT screen = pt;
        ClientToScreen(menu->GetHWND(), &screen);
        fake().SetCursorPos(screen.x, screen.y);
        fake().MouseMove(menu->GetHWND(), pt.x, pt.y);
        if (menu->GetSubmenu()) fake().Render(menu->GetSubmenu()->GetHWND());
    }
    static RECT WindowRect(CMenuWnd* menu) {
        RECT r{};
        GetWindowRect(menu->GetHWND(), &r);
        return r;
    }

    MainStandIn main_;
    std::shared_ptr<TestStates> states_;
};

TEST_F(MenuWndTest, DropDownOpensBelowItsButtonWithTheMarksOfTheSnapshot) {
    states_->disabled.insert("ID_MAINMENU_DVD");
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetOpenPopupMenu(), menu);
    EXPECT_EQ(fake().GetClassName(menu->GetHWND()), "MenuWnd");
    const RECT& b = Button("ID_MAINMENU")->GetPos();
    POINT anchor{b.left, b.bottom};
    ClientToScreen(main_.GetHWND(), &anchor);
    const RECT r = WindowRect(menu);
    EXPECT_EQ(r.left, anchor.x);
    EXPECT_EQ(r.top, anchor.y);
    EXPECT_EQ(r.right - r.left, menu->GetList()->GetFixedWidth());
    EXPECT_EQ(r.bottom - r.top, menu->GetList()->GetListHeight());
    EXPECT_FALSE(menu->OpenedToTheLeft());
    WindowRegion region = fake().GetWindowRegion(menu->GetHWND());
    EXPECT_TRUE(region.rounded);
    EXPECT_EQ(region.cornerWidth, 3);
    EXPECT_FALSE(static_cast<uilib::CControlUI*>(menu->PaintManager().FindControl("ID_MAINMENU_DVD"))->IsEnabled());
    EXPECT_TRUE(menu->PaintManager().FindControl("ID_MAINMENU_PLAY_FRAME")->IsEnabled());
}

TEST_F(MenuWndTest, SubmenuMarksAndPlacementFollowTheParent) {
    states_->checked = {"ID_MAINMENU_PLAY_FRAME_SIZE_150"};
    // The button 10 pixels from the right edge of the work area: the menu opens left.
    main_.Close();
    fake().DispatchPending();
    OpenMain(1920 - 54);
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->OpenedToTheLeft());
    EXPECT_LE(WindowRect(menu).right, 1920);
    Hover(menu, "ID_MAINMENU_PLAY_FRAME");
    CMenuWnd* frame = menu->GetSubmenu();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetListName(), "ID_MAINMENU_PLAY_FRAME_SUB");
    EXPECT_TRUE(frame->OpenedToTheLeft());
    EXPECT_LT(WindowRect(frame).left, WindowRect(menu).left);
    Hover(frame, "ID_MAINMENU_PLAY_FRAME_SIZE");
    CMenuWnd* size = frame->GetSubmenu();
    ASSERT_NE(size, nullptr);
    EXPECT_LT(WindowRect(size).left, WindowRect(frame).left);
    std::vector<std::string> marked;
    for (int i = 0; i < size->GetList()->GetCount(); ++i) {
        auto* item = static_cast<uilib::IListItemUI*>(RowControl(size, i)->GetInterface("ListItem"));
        if (item && item->IsSelected()) marked.push_back(RowControl(size, i)->GetName());
    }
    EXPECT_EQ(marked, std::vector<std::string>{"ID_MAINMENU_PLAY_FRAME_SIZE_150"});
}

// A marked row shows its tick from the first paint of its menu on, in either skin.
TEST_F(MenuWndTest, MarkedRowsShowTheirTickFromTheFirstPaint) {
    states_->checked = {"ID_MAINMENU_FILE_EXIT"};
    for (int skin : {0, 1}) {
        CMenuWnd* menu = CMenuWnd::OpenDropDown(Owner(skin), Button("ID_MAINMENU"));
        ASSERT_NE(menu, nullptr);
        const auto shot = fake().Render(menu->GetHWND());  // where the tick goes, the rows differ
        const RECT marked = Row(menu, "ID_MAINMENU_FILE_EXIT"), unmarked = Row(menu, "ID_MAINMENU_FILE");
        int differing = 0;
        for (int y = 0; y < marked.bottom - marked.top; ++y)
            for (int x = 0; x < 26; ++x)
                differing += platform::FakeBackend::PixelAt(shot.get(), marked.left + x, marked.top + y) !=
                             platform::FakeBackend::PixelAt(shot.get(), unmarked.left + x, unmarked.top + y);
        EXPECT_GT(differing, 20) << "skin " << skin;
        CMenuWnd::CloseOpenPopupMenu();
    }
}

TEST_F(MenuWndTest, HoverIntoTheSubmenuKeepsItAndElsewhereClosesIt) {
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    Hover(menu, "ID_MAINMENU_PLAY_FRAME");
    CMenuWnd* sub = menu->GetSubmenu();
    ASSERT_NE(sub, nullptr);
    HWND subWindow = sub->GetHWND();
    EXPECT_TRUE(IsWindowVisible(subWindow));
    // Into the submenu: the row loses the pointer while the cursor is inside the submenu.
    const RECT r = WindowRect(sub);
    fake().SetCursorPos(r.left + 20, r.top + 10);
    fake().MouseLeave(menu->GetHWND());
    fake().DispatchPending();
    EXPECT_EQ(menu->GetSubmenu(), sub);
    // Escape closes the submenu the pointer opened, and only it.
    fake().KeyPress(VK_ESCAPE);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(subWindow));
    EXPECT_EQ(GetOpenPopupMenu(), menu);
    Hover(menu, "ID_MAINMENU_PLAY_FRAME");
    sub = menu->GetSubmenu();
    ASSERT_NE(sub, nullptr);
    subWindow = sub->GetHWND();
    // Back onto another row of the menu: the submenu goes.
    Hover(menu, "ID_MAINMENU_FILE_EXIT");
    fake().DispatchPending();
    EXPECT_EQ(menu->GetSubmenu(), nullptr);
    EXPECT_FALSE(IsWindow(subWindow));
    EXPECT_EQ(menu->GetHighlight(), menu->GetList()->GetCount() - 1);
}

TEST_F(MenuWndTest, KeyboardMovesSkipsOpensClosesAndChooses) {
    states_->disabled.insert("ID_MAINMENU_DVD");
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    // Rows: File, Playback, Video, Audio, Subtitles, Disc (disabled), separator, Exit.
    struct Step {
        int key;
        int highlight;
    } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_UP, 0}, {VK_UP, 7}, {VK_UP, 4},
                 {VK_HOME, 0}, {VK_END, 7}, {VK_DOWN, 0}, {VK_DOWN, 1}, {VK_DOWN, 2}};
    for (const Step& s : steps) {
        fake().KeyPress(s.key);
        EXPECT_EQ(menu->GetHighlight(), s.highlight) << "after key " << s.key;
    }
    // The same keys reach the menu from a window that got them in its place.
    EXPECT_TRUE(CMenuWnd::HandleMenuKey(VK_DOWN));
    EXPECT_EQ(menu->GetHighlight(), 3);
    EXPECT_TRUE(CMenuWnd::HandleMenuKey(VK_UP));
    EXPECT_FALSE(CMenuWnd::HandleMenuKey('A'));
    fake().KeyPress(VK_RIGHT);  // Video opens, focused on its first row
    CMenuWnd* video = menu->GetSubmenu();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(GetFocus(), video->GetHWND());
    EXPECT_EQ(video->GetHighlight(), 0);
    fake().KeyPress(VK_LEFT);  // and closes again
    fake().DispatchPending();
    EXPECT_EQ(menu->GetSubmenu(), nullptr);
    EXPECT_EQ(GetFocus(), menu->GetHWND());
    EXPECT_EQ(IsWindow(menu->GetHWND()), true);

    fake().KeyPress(VK_RETURN);  // Enter opens a submenu too
    video = menu->GetSubmenu();
    ASSERT_NE(video, nullptr);
    fake().Render(video->GetHWND());
    fake().KeyPress(VK_RETURN);  // Size
    CMenuWnd* size = video->GetSubmenu();
    ASSERT_NE(size, nullptr);
    fake().Render(size->GetHWND());
    fake().KeyPress(VK_DOWN);
    fake().KeyPress(VK_DOWN);
    HWND sizeWindow = size->GetHWND();
    fake().KeyPress(VK_RETURN);  // 150%
    fake().DispatchPending();
    EXPECT_EQ(main_.heard, (std::vector<std::string>{"menuselected ID_MAINMENU_PLAY_FRAME_SIZE_150", "menu_release"}));
    EXPECT_FALSE(IsWindow(sizeWindow));
    EXPECT_EQ(GetOpenPopupMenu(), nullptr);
    EXPECT_FALSE(CMenuUI::IsMenuBarMode());
    EXPECT_EQ(GetFocus(), main_.GetHWND());
}

TEST_F(MenuWndTest, ClickChoosesAndEscapeOrLostFocusClose) {
    // A click on a row of a context menu: the name travels as the program-wide string.
    CMenuWnd* context = CMenuWnd::OpenContextMenu(Owner(0), "ID_PLAYLIST_RIGHT_MENU", POINT{300, 300});
    ASSERT_NE(context, nullptr);
    fake().Render(context->GetHWND());
    const RECT r = Row(context, "ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE");
    fake().LeftClick(context->GetHWND(), r.left + 30, (r.top + r.bottom) / 2);
    EXPECT_EQ(main_.heard, (std::vector<std::string>{"menuselected ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE", "menu_release"}));
    EXPECT_EQ(CMenuWnd::LastChosenItem(), "ID_PLAYLIST_RIGHT_MENU_SORT_BY_TYPE");

    enum How { kEscape, kFocusToMain, kClickOutside };
    struct Case {
        const char* what;
        How how;
    } cases[] = {{"Escape", kEscape}, {"focus to the main window", kFocusToMain},
                 {"a click outside, on the main window", kClickOutside}};
    for (const Case& c : cases) {
        main_.heard.clear();
        CMenuWnd* menu = DropDown("help");
        ASSERT_NE(menu, nullptr) << c.what;
        HWND hwnd = menu->GetHWND();
        if (c.how == kEscape) fake().KeyPress(VK_ESCAPE);
        else if (c.how == kFocusToMain) SetFocus(main_.GetHWND());
        else fake().LeftClick(main_.GetHWND(), 400, 300);
        fake().DispatchPending();
        EXPECT_FALSE(IsWindow(hwnd)) << c.what;
        EXPECT_EQ(main_.heard, std::vector<std::string>{"menu_release"}) << c.what;
        EXPECT_EQ(GetOpenPopupMenu(), nullptr) << c.what;
        EXPECT_FALSE(Button("help")->IsSelected()) << c.what;
    }
}

TEST_F(MenuWndTest, TheOpenMenuHoldsThePointer) {
    states_->disabled.insert("ID_MAINMENU_DVD");
    const RECT help = Button("help")->GetPos();
    const POINT helpCentre{(help.left + help.right) / 2, (help.top + help.bottom) / 2};

    // A press outside closes the menu and reaches nothing else: the button under it stays.
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetCapture(), menu->GetHWND());
    main_.shown.clear();
    fake().LeftClick(main_.GetHWND(), helpCentre.x, helpCentre.y);
    fake().DispatchPending();
    EXPECT_EQ(GetOpenPopupMenu(), nullptr);
    EXPECT_TRUE(main_.shown.empty());
    EXPECT_EQ(GetCapture(), nullptr);

    // A press on a disabled row keeps the menu, which takes the pointer back.
    menu = DropDown();
    ASSERT_NE(menu, nullptr);
    const RECT disabled = Row(menu, "ID_MAINMENU_DVD");
    fake().LeftClick(menu->GetHWND(), disabled.left + 30, (disabled.top + disabled.bottom) / 2);
    fake().DispatchPending();
    ASSERT_EQ(GetOpenPopupMenu(), menu);
    EXPECT_EQ(GetCapture(), menu->GetHWND());

    // In a row of menu buttons the pointer over the next button asks for its menu.
    CMenuUI::SetMenuBarMode(true);
    main_.shown.clear();
    fake().MouseMove(main_.GetHWND(), helpCentre.x, helpCentre.y);
    EXPECT_EQ(main_.shown, std::vector<std::string>{"help"});
    CMenuUI::ResetMenuBarMode();

    // Two submenus deep, a click on a row reaches it through the level holding the pointer.
    main_.heard.clear();
    Hover(menu, "ID_MAINMENU_PLAY_FRAME");
    ASSERT_NE(menu->GetSubmenu(), nullptr);
    Hover(menu->GetSubmenu(), "ID_MAINMENU_PLAY_FRAME_SIZE");
    CMenuWnd* size = menu->GetSubmenu()->GetSubmenu();
    ASSERT_NE(size, nullptr);
    const RECT r = Row(size, "ID_MAINMENU_PLAY_FRAME_SIZE_150");
    fake().LeftClick(size->GetHWND(), r.left + 30, (r.top + r.bottom) / 2);
    fake().DispatchPending();
    EXPECT_EQ(main_.heard, (std::vector<std::string>{"menuselected ID_MAINMENU_PLAY_FRAME_SIZE_150", "menu_release"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

// Closed from outside, a menu button looks normal again; reopening its menu keeps it pressed.
TEST_F(MenuWndTest, AButtonLooksNormalOnceItsMenuIsClosedFromOutside) {
    for (bool reopen : {false, true}) {
        ASSERT_NE(DropDown("help"), nullptr);
        if (reopen) DropDown("help");
        else CMenuWnd::CloseOpenPopupMenu();
        EXPECT_EQ(Button("help")->IsSelected(), reopen);
        EXPECT_EQ((Button("help")->GetButtonState() & uilib::UISTATE_PUSHED) != 0, reopen);
        CMenuWnd::CloseOpenPopupMenu();
    }
}

TEST_F(MenuWndTest, AMenuOfTheSameLevelClosesTheOpenOne) {
    CMenuWnd* context = CMenuWnd::OpenContextMenu(Owner(), "ID_MAIN_RIGHT_MENU", POINT{500, 400});
    ASSERT_NE(context, nullptr);
    HWND first = context->GetHWND();
    RECT r = WindowRect(context);
    EXPECT_EQ(r.left, 500);
    EXPECT_EQ(r.top, 400);
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(GetOpenPopupMenu(), menu);

    // The tray menu replaces it in turn and sits above the panel, its right edge at the cursor.
    HWND second = menu->GetHWND();
    CMenuWnd* tray = CMenuWnd::OpenTrayMenu(Owner(), POINT{1800, 1060});
    ASSERT_NE(tray, nullptr);
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(second));
    r = WindowRect(tray);
    EXPECT_EQ(r.right, 1800);
    EXPECT_EQ(r.bottom, 1040);
    // The wheel over a menu goes nowhere.
    fake().Wheel(tray->GetHWND(), 10, 10, -120);
    EXPECT_TRUE(IsWindow(tray->GetHWND()));
}

TEST_F(MenuWndTest, RowsMadeAtRunTimeAreSizedHighlightedAndChosen) {
    states_->madeRows["ID_MAINMENU_DVD_CHAPTER"] = {"ID_MAINMENU_DVD_CHAPTER_0", "ID_MAINMENU_DVD_CHAPTER_1",
                                                    "ID_MAINMENU_DVD_CHAPTER_2"};
    CMenuWnd* menu = DropDown();
    ASSERT_NE(menu, nullptr);
    Hover(menu, "ID_MAINMENU_DVD");
    CMenuWnd* disc = menu->GetSubmenu();
    ASSERT_NE(disc, nullptr);
    Hover(disc, "ID_MAINMENU_DVD_CHAPTER");
    CMenuWnd* chapters = disc->GetSubmenu();
    ASSERT_NE(chapters, nullptr);
    ASSERT_EQ(chapters->GetList()->GetCount(), 3);
    const RECT r = WindowRect(chapters);
    EXPECT_EQ(r.bottom - r.top, chapters->GetList()->GetListHeight());
    SetFocus(chapters->GetHWND());
    fake().KeyPress(VK_END);
    EXPECT_EQ(chapters->GetHighlight(), 2);
    fake().KeyPress(VK_RETURN);
    EXPECT_EQ(main_.heard.front(), "menuselected ID_MAINMENU_DVD_CHAPTER_2");

    EXPECT_STREQ(CMenuWnd::LanguageDisplayName("de"), "Deutsch");
    EXPECT_STREQ(CMenuWnd::LanguageDisplayName("jpn"), "日本語");
    EXPECT_EQ(CMenuWnd::LanguageDisplayName("xx"), nullptr);
}

}  // namespace
}  // namespace orvella
