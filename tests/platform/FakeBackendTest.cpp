#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include "TestPlatform.h"

namespace {

using platform::FakeBackend;

// A window whose messages go to a test lambda; unanswered ones go to DefWindowProc.
struct Handler {
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> fn;
};

LRESULT HandlerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* h = static_cast<Handler*>(platform::GetBackend().GetWindowUserData(hwnd));
    if (h && h->fn)
        if (auto r = h->fn(hwnd, msg, wParam, lParam)) return *r;
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(Handler* handler, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr,
                RECT rc = RECT{100, 200, 500, 500}) {
    platform::CreateParams p;
    p.className = "Test";
    p.style = style;
    p.x = rc.left;
    p.y = rc.top;
    p.width = rc.right - rc.left;
    p.height = rc.bottom - rc.top;
    p.parent = parent;
    p.proc = &HandlerProc;
    p.userData = handler;
    return CreateWindowEx(p);
}

class FakeBackendTest : public FakePlatformTest {};

TEST_F(FakeBackendTest, CreateSendsCreationMessagesWithParams) {
    const void* seen = nullptr;
    std::string seenTitle;
    Handler h{[&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (msg == WM_CREATE) {
            auto* p = reinterpret_cast<const platform::CreateParams*>(l);
            seen = p->userData;
            seenTitle = p->title;
        }
        return std::nullopt;
    }};
    platform::CreateParams p;
    p.title = "Hello";
    p.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    p.proc = &HandlerProc;
    p.userData = &h;
    HWND hwnd = CreateWindowEx(p);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(seen, &h);
    EXPECT_EQ(seenTitle, "Hello");
    EXPECT_MESSAGES(fake(), hwnd, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_SETFOCUS});
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetFocus(), hwnd);
}

TEST_F(FakeBackendTest, CreateAnswerMinusOneDestroysAndFails) {
    Handler h{[](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_CREATE) return -1;
        return std::nullopt;
    }};
    EXPECT_EQ(MakeWindow(&h), nullptr);
    EXPECT_TRUE(fake().LiveWindows().empty());
}

TEST_F(FakeBackendTest, DestroyOrderOwnedFirstThenChildrenInsideParent) {
    std::vector<std::pair<HWND, UINT>> order;
    Handler h{[&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_DESTROY || msg == WM_NCDESTROY) order.emplace_back(hwnd, msg);
        if (msg == WM_DESTROY) {
            EXPECT_TRUE(IsWindow(hwnd));
        }
        return std::nullopt;
    }};
    HWND top = MakeWindow(&h);
    HWND c1 = MakeWindow(&h, WS_CHILD, top, RECT{0, 0, 10, 10});
    HWND c2 = MakeWindow(&h, WS_CHILD, top, RECT{10, 0, 20, 10});
    HWND popup = MakeWindow(&h, WS_POPUP, top);
    EXPECT_EQ(GetParent(c1), top);
    EXPECT_EQ(GetParent(popup), top);
    ASSERT_TRUE(PostMessage(c2, WM_USER));

    EXPECT_TRUE(DestroyWindow(top));
    std::vector<std::pair<HWND, UINT>> expected = {
        {popup, WM_DESTROY}, {popup, WM_NCDESTROY}, {top, WM_DESTROY}, {c1, WM_DESTROY},
        {c1, WM_NCDESTROY},  {c2, WM_DESTROY},      {c2, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    for (HWND w : {top, c1, c2, popup}) EXPECT_FALSE(IsWindow(w));
    // Dead handles are harmless: posts are refused or dropped, calls answer nothing.
    EXPECT_FALSE(PostMessage(top, WM_USER));
    EXPECT_EQ(fake().DispatchPending(), 0);
    EXPECT_EQ(fake().CountMessages(c2, WM_USER), 0);
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_EQ(SendMessage(top, WM_USER), 0);
    EXPECT_EQ(SetTimer(top, 1, 10), 0u);
}

TEST_F(FakeBackendTest, TimersAndPostsKeepTimeOrder) {
    std::vector<std::pair<UINT, uint64_t>> seen;  // message or timer id, time
    uint64_t start = GetTickCount64();
    Handler h{[&](HWND hwnd, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_TIMER) {
            seen.emplace_back(static_cast<UINT>(w), GetTickCount64() - start);
            PostMessage(hwnd, WM_USER + static_cast<UINT>(w));
        } else if (msg >= WM_USER) {
            seen.emplace_back(msg, GetTickCount64() - start);
        }
        return std::nullopt;
    }};
    HWND hwnd = MakeWindow(&h);
    SetTimer(hwnd, 1, 100);
    SetTimer(hwnd, 2, 250);
    fake().AdvanceTime(450);
    std::vector<std::pair<UINT, uint64_t>> expected = {
        {1, 100}, {WM_USER + 1, 100}, {1, 200}, {WM_USER + 1, 200}, {2, 250}, {WM_USER + 2, 250},
        {1, 300}, {WM_USER + 1, 300}, {1, 400}, {WM_USER + 1, 400}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(GetTickCount64() - start, 450u);
}

TEST_F(FakeBackendTest, TimerRestartKillAndDeathWithWindow) {
    Handler h;
    HWND hwnd = MakeWindow(&h);
    SetTimer(hwnd, 7, 100);
    fake().AdvanceTime(60);
    SetTimer(hwnd, 7, 100);  // restarts: next at 160, not 100
    fake().AdvanceTime(90);
    EXPECT_EQ(fake().CountMessages(hwnd, WM_TIMER), 0);
    fake().AdvanceTime(10);
    EXPECT_EQ(fake().CountMessages(hwnd, WM_TIMER), 1);

    EXPECT_TRUE(KillTimer(hwnd, 7));
    EXPECT_FALSE(KillTimer(hwnd, 7));
    fake().AdvanceTime(1000);
    EXPECT_EQ(fake().CountMessages(hwnd, WM_TIMER), 1);

    SetTimer(hwnd, 8, 10);
    DestroyWindow(hwnd);
    EXPECT_FALSE(fake().HasTimer(hwnd, 8));
    fake().AdvanceTime(1000);
    EXPECT_EQ(fake().CountMessages(hwnd, WM_TIMER), 1);
}

TEST_F(FakeBackendTest, PostsFromThreadsArriveInPerThreadOrder) {
    constexpr int kThreads = 4, kEach = 2000;
    std::vector<std::vector<WPARAM>> received(kThreads);
    Handler h{[&](HWND, UINT msg, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (msg >= WM_USER && msg < WM_USER + kThreads) received[msg - WM_USER].push_back(w);
        return std::nullopt;
    }};
    HWND hwnd = MakeWindow(&h);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([hwnd, t] {
            for (int i = 0; i < kEach; ++i) PostMessage(hwnd, WM_USER + t, static_cast<WPARAM>(i));
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(fake().DispatchPending(), kThreads * kEach);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(received[t].size(), static_cast<size_t>(kEach)) << "thread " << t;
        for (int i = 0; i < kEach; ++i) ASSERT_EQ(received[t][i], static_cast<WPARAM>(i));
    }
}

TEST_F(FakeBackendTest, RunMessageLoopReturnsQuitCodeAfterEarlierPosts) {
    int ticks = 0;
    bool lateSeen = false;
    Handler h{[&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_TIMER && ++ticks == 3) {
            PostMessage(hwnd, WM_USER + 5);
            PostQuitMessage(7);
        }
        if (msg == WM_USER + 5) lateSeen = true;
        return std::nullopt;
    }};
    HWND hwnd = MakeWindow(&h);
    SetTimer(hwnd, 1, 1000);
    uint64_t start = GetTickCount64();
    EXPECT_EQ(fake().RunMessageLoop(), 7);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(lateSeen);
    EXPECT_EQ(GetTickCount64() - start, 3000u);

    KillTimer(hwnd, 1);
    EXPECT_EQ(fake().RunMessageLoop(), -1);  // nothing left: returns instead of hanging
}

TEST_F(FakeBackendTest, RunMessageLoopGivesUpAfterRunLimit) {
    Handler h;
    HWND hwnd = MakeWindow(&h);
    SetTimer(hwnd, 1, 100);
    fake().SetRunLimit(1000);
    EXPECT_EQ(fake().RunMessageLoop(), -1);
    EXPECT_EQ(fake().CountMessages(hwnd, WM_TIMER), 10);
}

// Hit-test answers decide what a press becomes, as with a real window manager.
TEST_F(FakeBackendTest, ClicksFollowHitTest) {
    std::vector<POINT> hitPoints;
    Handler h{[&](HWND, UINT msg, WPARAM, LPARAM l) -> std::optional<LRESULT> {
        if (msg != WM_NCHITTEST) return std::nullopt;
        POINT p{GET_X_LPARAM(l) - 100, GET_Y_LPARAM(l) - 200};
        hitPoints.push_back(p);
        if (p.y < 20) return HTCAPTION;
        if (p.x >= 395) return HTRIGHT;
        return HTCLIENT;
    }};
    HWND hwnd = MakeWindow(&h);  // at 100,200, 400x300
    struct Case {
        int x, y;
        LRESULT drag;  // HTNOWHERE: a client click
    } cases[] = {{50, 10, HTCAPTION}, {398, 100, HTRIGHT}, {50, 50, HTNOWHERE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        fake().ClearMessageLog();
        fake().ClearDragStarts();
        hitPoints.clear();
        fake().LeftClick(hwnd, c.x, c.y, FakeBackend::kControl);
        ASSERT_EQ(hitPoints.size(), 1u);
        EXPECT_EQ(hitPoints[0].x, c.x);
        EXPECT_EQ(hitPoints[0].y, c.y);
        if (c.drag != HTNOWHERE) {
            ASSERT_EQ(fake().DragStarts().size(), 1u);
            EXPECT_EQ(fake().DragStarts()[0].hitTest, c.drag);
            EXPECT_MESSAGES(fake(), hwnd, {WM_NCHITTEST});
        } else {
            EXPECT_TRUE(fake().DragStarts().empty());
            auto log = fake().MessageLog(hwnd);
            ASSERT_EQ(log.size(), 3u);
            EXPECT_EQ(log[1].msg, WM_LBUTTONDOWN);
            EXPECT_EQ(log[1].wParam, MK_LBUTTON | MK_CONTROL);
            EXPECT_EQ(log[1].lParam, MAKELPARAM(c.x, c.y));
            EXPECT_EQ(log[2].msg, WM_LBUTTONUP);
            EXPECT_EQ(log[2].wParam, MK_CONTROL);
        }
    }
}

TEST_F(FakeBackendTest, PopupsAndChildrenTakeNoHitTest) {
    Handler h{[](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_NCHITTEST) return HTCAPTION;
        return std::nullopt;
    }};
    HWND top = MakeWindow(&h);
    HWND popup = MakeWindow(&h, WS_POPUP, top);
    HWND child = MakeWindow(&h, WS_CHILD, top, RECT{0, 0, 50, 50});
    fake().ClearMessageLog();
    fake().LeftClick(popup, 5, 5);
    fake().LeftClick(child, 5, 5);
    EXPECT_MESSAGES(fake(), popup, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_MESSAGES(fake(), child, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_TRUE(fake().DragStarts().empty());
}

TEST_F(FakeBackendTest, CaptionDoubleClickTogglesMaximise) {
    Handler h{[](HWND, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg == WM_NCHITTEST) return HTCAPTION;
        return std::nullopt;
    }};
    HWND hwnd = MakeWindow(&h, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    fake().SetWorkArea(RECT{0, 30, 1920, 1080});
    fake().ClearMessageLog();
    fake().DoubleClick(hwnd, 10, 10);
    EXPECT_TRUE(IsZoomed(hwnd));
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.top, 30);
    EXPECT_EQ(rc.bottom, 1080);
    auto log = fake().MessageLog(hwnd);
    auto size = std::find_if(log.begin(), log.end(), [](auto& m) { return m.msg == WM_SIZE; });
    ASSERT_NE(size, log.end());
    EXPECT_EQ(size->wParam, SIZE_MAXIMIZED);
    EXPECT_EQ(size->lParam, MAKELPARAM(1920, 1050));

    fake().DoubleClick(hwnd, 10, 10);
    EXPECT_FALSE(IsZoomed(hwnd));
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.right, 500);
}

TEST_F(FakeBackendTest, ShowStatesSendSizeTypes) {
    Handler h;
    HWND hwnd = MakeWindow(&h);
    struct Step {
        int cmd;
        WPARAM sizeType;
        bool zoomed, iconic;
    } steps[] = {{SW_MAXIMIZE, SIZE_MAXIMIZED, true, false},
                 {SW_MINIMIZE, SIZE_MINIMIZED, false, true},
                 {SW_RESTORE, SIZE_MAXIMIZED, true, false},  // back to maximised
                 {SW_RESTORE, SIZE_RESTORED, false, false}};
    for (const Step& s : steps) {
        fake().ClearMessageLog();
        ShowWindow(hwnd, s.cmd);
        EXPECT_EQ(IsZoomed(hwnd), s.zoomed) << s.cmd;
        EXPECT_EQ(IsIconic(hwnd), s.iconic) << s.cmd;
        auto log = fake().MessageLog(hwnd);
        auto size = std::find_if(log.begin(), log.end(), [](auto& m) { return m.msg == WM_SIZE; });
        ASSERT_NE(size, log.end()) << s.cmd;
        EXPECT_EQ(size->wParam, s.sizeType) << s.cmd;
        if (s.sizeType == SIZE_MINIMIZED) {
            EXPECT_EQ(size->lParam, 0);
        }
    }
    platform::GetBackend().SetFullScreen(hwnd, true);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 1920);
    EXPECT_EQ(rc.bottom - rc.top, 1080);
    platform::GetBackend().SetFullScreen(hwnd, false);
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.left, 100);
    EXPECT_EQ(rc.bottom, 500);

    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(platform::GetBackend().IsTopmost(hwnd));
    EXPECT_TRUE(GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    fake().ClearMessageLog();
    SetWindowPos(hwnd, HWND_NOTOPMOST, 10, 20, 0, 0, SWP_NOSIZE);
    EXPECT_FALSE(platform::GetBackend().IsTopmost(hwnd));
    EXPECT_MESSAGES(fake(), hwnd, {WM_MOVE});
}

TEST_F(FakeBackendTest, SystemCloseAndSignalCloseThroughDefaultProcessing) {
    Handler h;
    HWND a = MakeWindow(&h), b = MakeWindow(&h);
    fake().CloseRequest(a);
    EXPECT_TRUE(IsWindow(a));  // posted, not yet delivered
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(a));
    EXPECT_MESSAGES(fake(), a, {WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SYSCOMMAND, WM_CLOSE,
                                WM_DESTROY, WM_NCDESTROY});

    platform::GetBackend().SetMainWindow(b);
    fake().Signal();
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(b));
}

TEST_F(FakeBackendTest, FocusChangesNotifyBothWindows) {
    Handler h;
    HWND a = MakeWindow(&h), b = MakeWindow(&h);
    SetFocus(a);
    fake().ClearMessageLog();
    EXPECT_EQ(SetFocus(b), a);
    auto la = fake().MessageLog(a), lb = fake().MessageLog(b);
    ASSERT_EQ(la.size(), 1u);
    EXPECT_EQ(la[0].msg, WM_KILLFOCUS);
    EXPECT_EQ(la[0].wParam, reinterpret_cast<WPARAM>(b));
    ASSERT_EQ(lb.size(), 1u);
    EXPECT_EQ(lb[0].msg, WM_SETFOCUS);
    EXPECT_EQ(lb[0].wParam, reinterpret_cast<WPARAM>(a));
    HWND menu = MakeWindow(&h, WS_POPUP);
    ShowWindow(menu, SW_SHOW);
    EXPECT_EQ(GetFocus(), b);  // a popup never takes the focus
    DestroyWindow(b);
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(FakeBackendTest, RenderPaintsThroughBeginPaint) {
    RECT painted{};
    Handler h{[&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (msg != WM_PAINT) return std::nullopt;
        PAINTSTRUCT ps;
        EXPECT_TRUE(platform::GetBackend().BeginPaint(hwnd, &ps));
        painted = ps.rcPaint;
        cairo_set_source_rgb(ps.cr, 1, 0, 0);
        cairo_rectangle(ps.cr, 0, 0, 10, 10);
        cairo_fill(ps.cr);
        platform::GetBackend().EndPaint(hwnd, &ps);
        return 0;
    }};
    HWND hwnd = MakeWindow(&h);
    fake().ClearInvalidArea(hwnd);
    RECT r1{10, 10, 20, 20}, r2{50, 5, 60, 15};
    InvalidateRect(hwnd, &r1);
    InvalidateRect(hwnd, &r2);
    RECT inv = fake().InvalidArea(hwnd);
    EXPECT_EQ(inv.left, 10);
    EXPECT_EQ(inv.top, 5);
    EXPECT_EQ(inv.right, 60);
    EXPECT_EQ(inv.bottom, 20);

    auto surface = fake().Render(hwnd);
    ASSERT_TRUE(surface);
    EXPECT_EQ(cairo_image_surface_get_width(surface.get()), 400);
    EXPECT_EQ(painted.right, 400);
    EXPECT_EQ(FakeBackend::PixelAt(surface.get(), 5, 5), 0xFFFF0000u);
    EXPECT_EQ(FakeBackend::PixelAt(surface.get(), 15, 15), 0u);
    EXPECT_FALSE(fake().HasInvalidArea(hwnd));
    PAINTSTRUCT outside;
    EXPECT_FALSE(platform::GetBackend().BeginPaint(hwnd, &outside));
}

TEST_F(FakeBackendTest, KeyboardMessagesAndKeyState) {
    Handler h;
    HWND hwnd = MakeWindow(&h);
    SetFocus(hwnd);
    fake().ClearMessageLog();
    fake().KeyDown('F', FakeBackend::kAlt);
    EXPECT_LT(GetKeyState(VK_MENU), 0);
    fake().KeyUp('F', FakeBackend::kNone);
    EXPECT_EQ(GetKeyState(VK_MENU), 0);
    fake().KeyPress(VK_SPACE, FakeBackend::kShift);
    fake().TypeText("a\xC3\xA9\xE2\x82\xAC\xFF");
    std::vector<std::pair<UINT, WPARAM>> got;
    for (auto& m : fake().MessageLog(hwnd)) got.emplace_back(m.msg, m.wParam);
    std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_SYSKEYDOWN, 'F'}, {WM_KEYUP, 'F'},   {WM_KEYDOWN, VK_SPACE}, {WM_CHAR, ' '},
        {WM_KEYUP, VK_SPACE}, {WM_CHAR, 'a'},    {WM_CHAR, 0xE9},        {WM_CHAR, 0x20AC},
        {WM_CHAR, 0xFFFD}};
    EXPECT_EQ(got, expected);
}

TEST_F(FakeBackendTest, MouseLeaveOnlyWhenTracked) {
    Handler h;
    HWND a = MakeWindow(&h), b = MakeWindow(&h);
    fake().MouseMove(a, 5, 5);
    fake().MouseMove(b, 5, 5);
    EXPECT_EQ(fake().CountMessages(a, WM_MOUSELEAVE), 0);
    fake().MouseMove(a, 5, 5);
    platform::GetBackend().TrackMouseLeave(a);
    fake().MouseMove(b, 5, 5);
    EXPECT_EQ(fake().CountMessages(a, WM_MOUSELEAVE), 1);
    fake().MouseMove(a, 5, 5);
    fake().MouseMove(b, 5, 5);
    EXPECT_EQ(fake().CountMessages(a, WM_MOUSELEAVE), 1);  // one per request
}

TEST_F(FakeBackendTest, ChildGeometryIsRelativeToParent) {
    Handler h;
    HWND top = MakeWindow(&h);
    HWND child = MakeWindow(&h, WS_CHILD | WS_VISIBLE, top, RECT{10, 20, 110, 70});
    RECT rc;
    GetWindowRect(child, &rc);
    EXPECT_EQ(rc.left, 110);
    EXPECT_EQ(rc.top, 220);
    EXPECT_FALSE(IsWindowVisible(child));  // its parent is hidden
    ShowWindow(top, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_NE(fake().GetNativeWindowId(child), 0u);
    EXPECT_NE(fake().GetNativeWindowId(child), fake().GetNativeWindowId(top));
}

}  // namespace
