// The GTK backend against a real display (the test runner provides Xvfb and a window
// manager). Skipped when DISPLAY is not set.
#include "platform/gtk/GtkBackend.h"

#include <gtest/gtest.h>

#include "tests/TestMedia.h"

// After gtest: X.h defines None and CursorShape as macros.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#undef CursorShape

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/gtk/WindowShape.h"

namespace {

struct Event {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// What a test window does: record every message, optionally answer some itself.
struct Recorder {
    explicit Recorder(std::string n, std::vector<Event>* shared = nullptr) : name(std::move(n)), log(shared) {}
    std::string name;
    std::vector<Event>* log = nullptr;  // shared between windows when order across them matters
    std::vector<Event> own;
    std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> handler;

    std::vector<Event>& Log() { return log ? *log : own; }
    size_t Count(UINT msg) const {
        size_t n = 0;
        for (const Event& e : log ? *log : own) n += e.msg == msg;
        return n;
    }
};

LRESULT CALLBACK_Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* recorder = static_cast<Recorder*>(platform::GetBackend().GetWindowUserData(hwnd));
    if (!recorder) return DefWindowProc(hwnd, msg, wParam, lParam);
    recorder->Log().push_back({hwnd, msg, wParam, lParam});
    LRESULT result = 0;
    if (recorder->handler && recorder->handler(hwnd, msg, wParam, lParam, &result)) return result;
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

bool GtkReady() {
    static const bool ready = [] {
        if (!std::getenv("DISPLAY")) return false;
        g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
        return InitGtkPlatform(nullptr, nullptr);
    }();
    return ready;
}

class GtkBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GtkReady()) GTEST_SKIP() << "no display";
        previous_ = platform::InstallBackend(CreateGtkBackend());
    }

    void TearDown() override {
        if (!GtkReady()) return;
        // The recorders lived in the test body: the windows go without them.
        for (HWND hwnd : windows_)
            if (IsWindow(hwnd)) platform::GetBackend().SetWindowUserData(hwnd, nullptr);
        for (HWND hwnd : windows_)
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        // Let GTK finish with the destroyed windows before the next test.
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        platform::InstallBackend(std::move(previous_));
    }

    HWND Create(Recorder* recorder, DWORD style, HWND parent = nullptr, int x = 100, int y = 100,
                int width = 320, int height = 240) {
        platform::CreateParams params;
        params.className = "Test";
        params.title = recorder->name;
        params.style = style;
        params.parent = parent;
        params.x = x, params.y = y, params.width = width, params.height = height;
        params.proc = &CALLBACK_Record;
        params.userData = recorder;
        HWND hwnd = CreateWindowEx(params);
        if (hwnd) windows_.push_back(hwnd);
        return hwnd;
    }

    // Runs the message loop until a handler quits it; a guard ends a hung test.
    void RunLoop(unsigned guardMs = 10000) {
        guardFired_ = false;
        guint guard = g_timeout_add(guardMs, [](gpointer self) {
            static_cast<GtkBackendTest*>(self)->guardFired_ = true;
            PostQuitMessage(-1);
            return G_SOURCE_REMOVE;
        }, this);
        platform::GetBackend().RunMessageLoop();
        if (!guardFired_) g_source_remove(guard);
    }

    // Pumps until cond holds or the guard ends it.
    // Real input needs the window where the window manager finally put it: wait for its
    // first paint (it is mapped), then let the manager's placement settle.
    template <typename R>
    void WaitUntilPlaced(R& rec) {
        PumpUntil([&] { return rec.Count(WM_SIZE) > 0 && rec.Count(WM_PAINT) > 0; });
        PumpUntil([] { return false; }, 200);
    }

    void PumpUntil(const std::function<bool()>& cond, unsigned guardMs = 5000) {
        const gint64 end = g_get_monotonic_time() + gint64(guardMs) * 1000;
        while (!cond() && g_get_monotonic_time() < end) g_main_context_iteration(nullptr, FALSE), g_usleep(1000);
    }

    std::unique_ptr<platform::Backend> previous_;
    std::vector<HWND> windows_;
    bool guardFired_ = false;
};

std::vector<std::pair<std::string, UINT>> Lifecycle(const std::vector<Event>& log, HWND parent, HWND child) {
    std::vector<std::pair<std::string, UINT>> out;
    for (const Event& e : log)
        if (e.msg == WM_NCCREATE || e.msg == WM_CREATE || e.msg == WM_DESTROY || e.msg == WM_NCDESTROY)
            out.emplace_back(e.hwnd == parent ? "parent" : e.hwnd == child ? "child" : "other", e.msg);
    return out;
}

TEST_F(GtkBackendTest, CreateAndDestroySendTheirMessagesInWindowsOrder) {
    std::vector<Event> log;
    Recorder parentRec("parent", &log), childRec("child", &log);
    HWND parent = Create(&parentRec, WS_OVERLAPPED);
    ASSERT_NE(parent, nullptr);
    HWND child = Create(&childRec, WS_CHILD | WS_VISIBLE, parent, 10, 20, 100, 50);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    using P = std::pair<std::string, UINT>;
    const std::vector<P> expected = {{"parent", WM_NCCREATE}, {"parent", WM_CREATE},  {"child", WM_NCCREATE},
                                     {"child", WM_CREATE},    {"parent", WM_DESTROY}, {"child", WM_DESTROY},
                                     {"child", WM_NCDESTROY}, {"parent", WM_NCDESTROY}};
    EXPECT_EQ(Lifecycle(log, parent, child), expected);
}

TEST_F(GtkBackendTest, CreateParamsReachWmCreate) {
    Recorder rec{"params"};
    std::string seenTitle;
    rec.handler = [&](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
        if (msg == WM_CREATE) seenTitle = reinterpret_cast<platform::CreateParams*>(lParam)->title;
        return false;
    };
    ASSERT_NE(Create(&rec, WS_POPUP), nullptr);
    EXPECT_EQ(seenTitle, "params");
}

TEST_F(GtkBackendTest, WmCreateAnsweringMinusOneDestroysTheWindow) {
    Recorder rec{"refuses"};
    rec.handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) {
        *result = -1;
        return msg == WM_CREATE;
    };
    EXPECT_EQ(Create(&rec, WS_OVERLAPPED), nullptr);
    ASSERT_FALSE(rec.own.empty());
    EXPECT_EQ(rec.own.back().msg, WM_NCDESTROY);
    EXPECT_FALSE(IsWindow(rec.own.back().hwnd));
}

TEST_F(GtkBackendTest, PostedMessagesFromFourThreadsAllArriveInOrder) {
    constexpr int kThreads = 4, kPerThread = 2500;
    Recorder rec{"queue"};
    std::vector<long> last(kThreads, -1);
    int received = 0, outOfOrder = 0;
    rec.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (msg != WM_USER + 1) return false;
        if (lParam != last[wParam] + 1) ++outOfOrder;
        last[wParam] = lParam;
        if (++received == kThreads * kPerThread) PostQuitMessage(0);
        return true;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    std::vector<std::thread> threads;
    std::atomic<int> refused{0};
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                if (!PostMessage(hwnd, WM_USER + 1, t, i)) ++refused;
        });
    RunLoop();
    for (auto& thread : threads) thread.join();
    EXPECT_FALSE(guardFired_);
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(received, kThreads * kPerThread);
    EXPECT_EQ(outOfOrder, 0);
}

TEST_F(GtkBackendTest, RunMessageLoopReturnsTheQuitCode) {
    PostQuitMessage(42);
    EXPECT_EQ(platform::GetBackend().RunMessageLoop(), 42);
}

TEST_F(GtkBackendTest, TimersRepeatUntilKilled) {
    Recorder rec{"timers"};
    int fastTicks = 0, slowTicks = 0;
    rec.handler = [&](HWND hwnd, UINT msg, WPARAM id, LPARAM, LRESULT*) {
        if (msg != WM_TIMER) return false;
        if (id == 7 && ++fastTicks == 3) {
            EXPECT_TRUE(KillTimer(hwnd, 7));
            SetTimer(hwnd, 8, 30);  // outlives timer 7 by a few of its periods
        }
        if (id == 8 && ++slowTicks == 3) PostQuitMessage(0);
        return true;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(SetTimer(hwnd, 7, 10), 7u);
    RunLoop();
    EXPECT_FALSE(guardFired_);
    EXPECT_EQ(fastTicks, 3);
    EXPECT_EQ(slowTicks, 3);
    EXPECT_FALSE(KillTimer(hwnd, 7));  // already gone
}

TEST_F(GtkBackendTest, SettingAnExistingTimerReplacesIt) {
    Recorder rec{"restart"};
    int ticks = 0;
    rec.handler = [&](HWND hwnd, UINT msg, WPARAM id, LPARAM, LRESULT*) {
        if (msg == WM_TIMER && id == 3 && ++ticks == 2) PostQuitMessage(0);
        return msg == WM_TIMER;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, 3, 60000);
    SetTimer(hwnd, 3, 10);  // one timer with the new period, not two
    RunLoop();
    EXPECT_FALSE(guardFired_);
    EXPECT_EQ(ticks, 2);
}

TEST_F(GtkBackendTest, TimersAndPostedMessagesDieWithTheWindow) {
    Recorder rec{"dies"};
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    SetTimer(hwnd, 1, 10);
    EXPECT_TRUE(PostMessage(hwnd, WM_USER + 5, 0, 0));  // queued while alive
    ASSERT_TRUE(DestroyWindow(hwnd));
    const size_t seen = rec.own.size();
    EXPECT_FALSE(PostMessage(hwnd, WM_USER + 6, 0, 0));
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(SendMessage(hwnd, WM_USER + 7, 0, 0), 0);
    // Long enough for the timer to have fired many times.
    Recorder other{"after"};
    HWND after = Create(&other, WS_OVERLAPPED);
    other.handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_TIMER) PostQuitMessage(0);
        return false;
    };
    SetTimer(after, 1, 100);
    RunLoop();
    EXPECT_EQ(rec.own.size(), seen);
}

TEST_F(GtkBackendTest, WindowManagerCloseRequestBecomesSysCommandClose) {
    Recorder rec{"close me"};
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE);
    ASSERT_NE(hwnd, nullptr);
    platform::GetBackend().SetMainWindow(hwnd);
    rec.handler = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg == WM_NCDESTROY) PostQuitMessage(0);
        return false;  // default processing closes and destroys
    };
    // What a window manager sends for its close button.
    Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = platform::GetBackend().GetNativeWindowId(hwnd);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    RunLoop();
    EXPECT_FALSE(guardFired_);
    std::vector<UINT> closing;
    for (const Event& e : rec.own)
        if (e.msg == WM_SYSCOMMAND || e.msg == WM_CLOSE || e.msg == WM_DESTROY) closing.push_back(e.msg);
    ASSERT_EQ(closing.size(), 3u);
    EXPECT_EQ(closing[0], WM_SYSCOMMAND);
    EXPECT_EQ(closing[1], WM_CLOSE);
    EXPECT_EQ(closing[2], WM_DESTROY);
    for (const Event& e : rec.own) {
        if (e.msg == WM_SYSCOMMAND) {
            EXPECT_EQ(e.wParam, SC_CLOSE);
        }
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(GtkBackendTest, TerminationSignalAsksTheMainWindowToClose) {
    Recorder rec("main");
    rec.handler = [](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg == WM_SYSCOMMAND && wParam == SC_CLOSE) PostQuitMessage(0);
        return msg == WM_SYSCOMMAND;  // keep the window: the program decides
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    platform::GetBackend().SetMainWindow(hwnd);
    ASSERT_EQ(kill(getpid(), SIGTERM), 0);
    RunLoop();
    EXPECT_FALSE(guardFired_);
    EXPECT_EQ(rec.Count(WM_SYSCOMMAND), 1u);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(GtkBackendTest, ChildWindowIsANativeX11ChildOfItsParent) {
    Recorder parentRec{"parent"}, childRec{"video"};
    HWND parent = Create(&parentRec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 50, 60, 400, 300);
    HWND child = Create(&childRec, WS_CHILD | WS_VISIBLE, parent, 10, 20, 200, 100);
    ASSERT_NE(child, nullptr);
    const unsigned long parentId = platform::GetBackend().GetNativeWindowId(parent), childId = platform::GetBackend().GetNativeWindowId(child);
    EXPECT_NE(childId, 0u);
    EXPECT_NE(childId, parentId);
    // Walk up the X tree from the child: the parent's window must be on the way.
    Display* display = gdk_x11_display_get_xdisplay(gdk_display_get_default());
    bool found = false;
    for (Window w = childId; w && !found;) {
        Window root, up, *kids = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, w, &root, &up, &kids, &count)) break;
        if (kids) XFree(kids);
        found = up == parentId;
        w = up == root ? 0 : up;
    }
    EXPECT_TRUE(found);
    RECT client;
    ASSERT_TRUE(GetClientRect(child, &client));
    EXPECT_EQ(client.right, 200);
    EXPECT_EQ(client.bottom, 100);
    // A child's WM_SIZE follows SetWindowPos at once.
    SetWindowPos(child, nullptr, 0, 0, 120, 80, SWP_NOZORDER);
    ASSERT_FALSE(childRec.own.empty());
    EXPECT_EQ(childRec.own.back().msg, WM_SIZE);
    EXPECT_EQ(childRec.own.back().lParam, MAKELPARAM(120, 80));
    // The window the engine draws into has the new size at once: the engine follows it.
    Window root;
    int x, y;
    unsigned width = 0, height = 0, border, depth;
    XGetGeometry(display, childId, &root, &x, &y, &width, &height, &border, &depth);
    EXPECT_EQ(width * 1000 + height, 120u * 1000 + 80u);
    ShowWindow(child, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_EQ(GetWindowLong(child, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(GtkBackendTest, TopLevelReportsItsSizeThroughWmSize) {
    Recorder rec{"sized"};
    rec.handler = [](HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT*) {
        if (msg == WM_SIZE && lParam == MAKELPARAM(300, 200)) PostQuitMessage(0);
        return false;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 40, 40, 320, 240);
    ASSERT_NE(hwnd, nullptr);
    SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    RunLoop();
    EXPECT_FALSE(guardFired_);
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    EXPECT_EQ(window.right - window.left, client.right);
    EXPECT_EQ(window.bottom - window.top, client.bottom);
}

TEST_F(GtkBackendTest, WorkAreaLiesWithinTheScreen) {
    const SIZE screen = platform::GetBackend().GetScreenSize();
    const RECT area = platform::GetBackend().GetWorkArea(nullptr);
    EXPECT_GT(screen.cx, 0);
    EXPECT_GT(screen.cy, 0);
    EXPECT_GE(area.left, 0);
    EXPECT_GE(area.top, 0);
    EXPECT_LE(area.right, screen.cx);
    EXPECT_LE(area.bottom, screen.cy);
    EXPECT_GT(area.right - area.left, 0);
    EXPECT_GT(area.bottom - area.top, 0);
}

TEST_F(GtkBackendTest, RegionIsKeptAndCleared) {
    Recorder rec{"shaped"};
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE);
    ASSERT_NE(hwnd, nullptr);
    WindowRegion rounded;
    rounded.rounded = true;
    rounded.rect = {0, 0, 320, 240};
    rounded.cornerWidth = rounded.cornerHeight = 12;
    auto& backend = platform::GetBackend();
    EXPECT_TRUE(backend.SetWindowRegion(hwnd, rounded));
    WindowRegion got = backend.GetWindowRegion(hwnd);
    EXPECT_TRUE(got.rounded);
    EXPECT_EQ(got.rect.right, 320);
    EXPECT_EQ(got.cornerWidth, 12);
    EXPECT_TRUE(backend.SetWindowRegion(hwnd, WindowRegion()));
    EXPECT_FALSE(backend.GetWindowRegion(hwnd).rounded);
    EXPECT_FALSE(backend.SetWindowRegion(nullptr, rounded));
}

TEST_F(GtkBackendTest, DefWindowProcAnswers) {
    Recorder rec{"defaults"};
    HWND hwnd = Create(&rec, WS_OVERLAPPED);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(DefWindowProc(hwnd, WM_NCHITTEST, 0, 0), HTCLIENT);
    EXPECT_EQ(DefWindowProc(hwnd, WM_USER + 9, 1, 2), 0);
    SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(GtkBackendTest, FocusMovesWithSetFocus) {
    Recorder a{"a"}, b{"b"};
    HWND top = Create(&a, WS_OVERLAPPED | WS_VISIBLE);
    HWND child = Create(&b, WS_CHILD | WS_VISIBLE, top, 0, 0, 50, 50);
    SetFocus(top);
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(SetFocus(child), top);
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(a.own.back().msg, WM_KILLFOCUS);
    EXPECT_EQ(b.own.back().msg, WM_SETFOCUS);
    DestroyWindow(child);
    EXPECT_EQ(GetFocus(), nullptr);
}

// Real input through the X server, from xdotool (argument vector, no shell).
bool RunXdotool(std::vector<std::string> args) {
    gchar* program = g_find_program_in_path("xdotool");
    if (!program) return false;
    std::vector<gchar*> argv = {program};
    for (std::string& a : args) argv.push_back(const_cast<gchar*>(a.c_str()));
    argv.push_back(nullptr);
    const bool ok = g_spawn_async(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr, nullptr);
    g_free(program);
    return ok;
}

bool HaveXdotool() {
    gchar* program = g_find_program_in_path("xdotool");
    g_free(program);
    return program != nullptr;
}

TEST_F(GtkBackendTest, DoubleClickArrivesAsDownUpDoubleClickUp) {
    if (!HaveXdotool()) ORVELLA_SKIP_OR_FAIL("xdotool missing");
    Recorder rec("clicks");
    std::vector<UINT> buttons;
    rec.handler = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
        if (msg >= WM_LBUTTONDOWN && msg <= WM_LBUTTONDBLCLK) buttons.push_back(msg);
        if (buttons.size() == 4) PostQuitMessage(0);
        return false;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 200, 200, 200, 200);
    ASSERT_NE(hwnd, nullptr);
    WaitUntilPlaced(rec);
    POINT pt{100, 100};
    ClientToScreen(hwnd, &pt);
    ASSERT_TRUE(RunXdotool({"mousemove", std::to_string(pt.x), std::to_string(pt.y), "click", "--repeat", "2",
                            "--delay", "40", "1"}));
    RunLoop();
    const std::vector<UINT> expected = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    EXPECT_EQ(buttons, expected);
}

TEST_F(GtkBackendTest, CaptionPressGoesToTheWindowManagerNotToTheClient) {
    if (!HaveXdotool()) ORVELLA_SKIP_OR_FAIL("xdotool missing");
    Recorder rec("caption");
    std::vector<POINT> hitTests;
    rec.handler = [&](HWND hwnd, UINT msg, WPARAM, LPARAM lParam, LRESULT* result) {
        if (msg == WM_NCHITTEST) {
            POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ScreenToClient(hwnd, &pt);
            hitTests.push_back(pt);
            *result = pt.y < 30 ? HTCAPTION : HTCLIENT;
            return true;
        }
        if (msg == WM_LBUTTONDOWN) PostQuitMessage(0);
        return false;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 300, 200, 200, 200);
    ASSERT_NE(hwnd, nullptr);
    WaitUntilPlaced(rec);
    POINT caption{100, 10}, client{100, 150};
    ClientToScreen(hwnd, &caption);
    ClientToScreen(hwnd, &client);
    // Held while the window manager takes over, as a hand would.
    ASSERT_TRUE(RunXdotool({"mousemove", std::to_string(caption.x), std::to_string(caption.y), "mousedown", "1",
                            "sleep", "0.3", "mouseup", "1", "sleep", "0.3", "mousemove",
                            std::to_string(client.x), std::to_string(client.y), "click", "1"}));
    RunLoop();
    EXPECT_FALSE(guardFired_);
    ASSERT_EQ(hitTests.size(), 2u);
    EXPECT_EQ(hitTests[0].y, 10);
    std::vector<POINT> downs;
    for (const Event& e : rec.own)
        if (e.msg == WM_LBUTTONDOWN) downs.push_back({GET_X_LPARAM(e.lParam), GET_Y_LPARAM(e.lParam)});
    ASSERT_EQ(downs.size(), 1u);  // only the client press
    EXPECT_EQ(downs[0].y, 150);
}

TEST_F(GtkBackendTest, WheelStepsAreTwelveScoreWithScreenCoordinates) {
    if (!HaveXdotool()) ORVELLA_SKIP_OR_FAIL("xdotool missing");
    Recorder rec("wheel");
    std::vector<Event> wheel;
    rec.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT*) {
        if (msg == WM_MOUSEWHEEL) wheel.push_back({nullptr, msg, wParam, lParam});
        if (wheel.size() == 2) PostQuitMessage(0);
        return false;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 150, 150, 200, 200);
    ASSERT_NE(hwnd, nullptr);
    WaitUntilPlaced(rec);
    POINT pt{50, 60};
    ClientToScreen(hwnd, &pt);
    ASSERT_TRUE(RunXdotool({"mousemove", std::to_string(pt.x), std::to_string(pt.y), "click", "4", "click", "5"}));
    RunLoop();
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), WHEEL_DELTA);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[1].wParam), -WHEEL_DELTA);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), pt.x);
    EXPECT_EQ(GET_Y_LPARAM(wheel[0].lParam), pt.y);
}

TEST_F(GtkBackendTest, KeysArriveAsVirtualKeysWithCharactersAndModifierState) {
    if (!HaveXdotool()) ORVELLA_SKIP_OR_FAIL("xdotool missing");
    Recorder rec("keys");
    std::vector<std::pair<UINT, WPARAM>> keys;
    bool shiftDownAtOne = false, shiftUpAfterRelease = true;
    rec.handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT*) {
        if (msg != WM_KEYDOWN && msg != WM_KEYUP && msg != WM_CHAR) return false;
        keys.emplace_back(msg, wParam);
        if (msg == WM_KEYDOWN && wParam == '1') shiftDownAtOne = GetKeyState(VK_SHIFT) < 0;
        if (msg == WM_KEYUP && wParam == VK_SHIFT) shiftUpAfterRelease = GetKeyState(VK_SHIFT) >= 0;
        if (msg == WM_KEYUP && wParam == VK_F1 + 4) PostQuitMessage(0);
        return true;
    };
    HWND hwnd = Create(&rec, WS_OVERLAPPED | WS_VISIBLE, nullptr, 100, 100, 200, 200);
    ASSERT_NE(hwnd, nullptr);
    WaitUntilPlaced(rec);
    const std::string id = std::to_string(platform::GetBackend().GetNativeWindowId(hwnd));
    ASSERT_TRUE(RunXdotool({"windowfocus", "--sync", id, "key", "a", "shift+1", "F5"}));
    RunLoop();
    EXPECT_FALSE(guardFired_);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 'A'},     {WM_CHAR, 'a'},      {WM_KEYUP, 'A'},       {WM_KEYDOWN, VK_SHIFT},
        {WM_KEYDOWN, '1'},     {WM_CHAR, '!'},      {WM_KEYUP, VK_SHIFT},  {WM_KEYUP, '1'},  // xdotool's order
        {WM_KEYDOWN, VK_F1 + 4}, {WM_KEYUP, VK_F1 + 4}};
    EXPECT_EQ(keys, expected);
    EXPECT_TRUE(shiftDownAtOne);
    EXPECT_TRUE(shiftUpAfterRelease);
    // What the keys type on the server's layout (US here): the names of key combinations.
    EXPECT_EQ(platform::GetBackend().KeyCharacter('A'), "a");
    EXPECT_EQ(platform::GetBackend().KeyCharacter(VK_OEM_PLUS), "=");
    EXPECT_EQ(platform::GetBackend().KeyCharacter(VK_OEM_4), "[");
    EXPECT_EQ(platform::GetBackend().KeyCharacter(VK_F1), "");
}

// ---- the window shape (pure)

TEST(RoundedRectSpans, PlainRectangleIsFullRows) {
    WindowRegion region;
    region.rect = {0, 0, 10, 4};
    auto spans = platform::gtk::RoundedRectSpans(region);
    ASSERT_EQ(spans.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(spans[i].y, i);
        EXPECT_EQ(spans[i].left, 0);
        EXPECT_EQ(spans[i].right, 10);
    }
}

TEST(RoundedRectSpans, CornersAreCutSymmetricallyAndTheMiddleIsFull) {
    WindowRegion region;
    region.rounded = true;
    region.rect = {5, 7, 105, 57};
    region.cornerWidth = region.cornerHeight = 20;
    auto spans = platform::gtk::RoundedRectSpans(region);
    ASSERT_EQ(spans.size(), 50u);
    EXPECT_EQ(spans.front().y, 7);
    EXPECT_GT(spans.front().left, 5);
    EXPECT_EQ(spans.front().left - 5, 105 - spans.front().right);
    EXPECT_EQ(spans.front().left, spans.back().left);  // top and bottom alike
    EXPECT_EQ(spans[25].left, 5);
    EXPECT_EQ(spans[25].right, 105);
    for (size_t i = 1; i < 10; ++i) EXPECT_LE(spans[i].left, spans[i - 1].left);  // widening
}

TEST(RoundedRectSpans, EmptyOrOversizedInputStaysContained) {
    WindowRegion region;
    region.rounded = true;
    region.rect = {10, 10, 10, 30};
    EXPECT_TRUE(platform::gtk::RoundedRectSpans(region).empty());
    region.rect = {0, 0, 8, 8};
    region.cornerWidth = region.cornerHeight = 1000;  // clipped to the rectangle: an ellipse
    for (const auto& span : platform::gtk::RoundedRectSpans(region)) {
        EXPECT_GE(span.left, 0);
        EXPECT_LE(span.right, 8);
        EXPECT_LT(span.left, span.right);
    }
}

}  // namespace
