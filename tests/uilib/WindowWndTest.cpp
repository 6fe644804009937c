#include <vector>

#include "TestPlatform.h"
#include "uilib/WindowWnd.h"

namespace {

using uilib::CWindowWnd;

class ProbeWnd : public CWindowWnd {
public:
    ~ProbeWnd() override { ++*destructed; }

    std::vector<UINT> handled;
    HWND hwndAtCreate = nullptr;
    bool failCreate = false, deleteOnFinal = false;
    int finalCalls = 0;
    HWND finalHwnd = nullptr;
    int* destructed = &ownDestructed;
    int ownDestructed = 0;
    int* finalCounter = nullptr;  // outlives a self-deleting window

protected:
    const char* GetWindowClassName() const override { return "ProbeWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        handled.push_back(msg);
        if (msg == WM_CREATE) {
            hwndAtCreate = m_hWnd;
            if (failCreate) return -1;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    void OnFinalMessage(HWND hwnd) override {
        ++finalCalls;
        finalHwnd = hwnd;
        if (finalCounter) ++*finalCounter;
        if (deleteOnFinal) delete this;
    }
};

class WindowWndTest : public FakePlatformTest {};

TEST_F(WindowWndTest, CreateAndDestroyLifecycle) {
    ProbeWnd wnd;
    HWND hwnd = wnd.Create(nullptr, "Title", WS_POPUP, 0, 10, 20, 300, 200);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(wnd.GetHWND(), hwnd);
    EXPECT_EQ(wnd.hwndAtCreate, hwnd);  // known from WM_NCCREATE on
    EXPECT_EQ(fake().GetClassName(hwnd), "ProbeWnd");
    EXPECT_EQ(fake().GetWindowText(hwnd), "Title");
    EXPECT_EQ(wnd.handled.front(), WM_NCCREATE);

    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(wnd.GetHWND(), nullptr);
    EXPECT_EQ(wnd.finalCalls, 1);
    EXPECT_EQ(wnd.finalHwnd, hwnd);
    EXPECT_EQ(wnd.handled.back(), WM_NCDESTROY);
    EXPECT_FALSE(DestroyWindow(hwnd));
    EXPECT_EQ(wnd.finalCalls, 1);
}

TEST_F(WindowWndTest, OnFinalMessageMayDeleteTheObject) {
    int finals = 0, destructed = 0;
    auto* wnd = new ProbeWnd;
    wnd->deleteOnFinal = true;
    wnd->finalCounter = &finals;
    wnd->destructed = &destructed;
    HWND hwnd = wnd->Create(nullptr, "", WS_POPUP, 0);
    ASSERT_NE(hwnd, nullptr);
    wnd->Close();
    EXPECT_TRUE(IsWindow(hwnd));  // Close posts
    fake().DispatchPending();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(finals, 1);
    EXPECT_EQ(destructed, 1);
}

TEST_F(WindowWndTest, FailedCreateReturnsNullAfterFinalMessage) {
    int finals = 0, destructed = 0;
    auto* wnd = new ProbeWnd;
    wnd->failCreate = true;
    wnd->deleteOnFinal = true;
    wnd->finalCounter = &finals;
    wnd->destructed = &destructed;
    EXPECT_EQ(wnd->Create(nullptr, "", WS_POPUP, 0), nullptr);
    EXPECT_EQ(finals, 1);
    EXPECT_EQ(destructed, 1);
    EXPECT_TRUE(fake().LiveWindows().empty());
}

TEST_F(WindowWndTest, DestroyedObjectNoLongerReceivesMessages) {
    HWND hwnd;
    {
        ProbeWnd wnd;
        hwnd = wnd.Create(nullptr, "", WS_POPUP, 0);
    }
    EXPECT_EQ(SendMessage(hwnd, WM_USER), 0);  // default processing, no dangling object
    EXPECT_TRUE(DestroyWindow(hwnd));
}

TEST_F(WindowWndTest, CenterWindow) {
    struct Case {
        const char* name;
        RECT owner;  // empty: no owner
        bool ownerVisible;
        SIZE size;
        POINT expected;
    } cases[] = {
        {"work area", {}, false, {400, 300}, {400, 250}},
        {"over owner", {300, 200, 700, 500}, true, {200, 100}, {400, 300}},
        {"hidden owner", {300, 200, 700, 500}, false, {200, 100}, {500, 350}},
        {"clamped right/bottom", {1000, 600, 1200, 700}, true, {400, 300}, {700, 450}},
        {"clamped left/top", {100, 50, 200, 150}, true, {400, 300}, {100, 50}},
        {"larger than the area", {}, false, {2000, 900}, {100, 50}},
    };
    fake().SetWorkArea(RECT{100, 50, 1100, 750});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProbeWnd owner, wnd;
        HWND ownerHwnd = nullptr;
        if (c.owner.right > c.owner.left) {
            ownerHwnd = owner.Create(nullptr, "", WS_POPUP | (c.ownerVisible ? WS_VISIBLE : 0), 0, c.owner);
        }
        wnd.Create(ownerHwnd, "", WS_POPUP, 0, 0, 0, c.size.cx, c.size.cy);
        wnd.CenterWindow();
        RECT rc;
        GetWindowRect(wnd, &rc);
        EXPECT_EQ(rc.left, c.expected.x);
        EXPECT_EQ(rc.top, c.expected.y);
        EXPECT_EQ(rc.right - rc.left, c.size.cx);
        if (ownerHwnd) {
            DestroyWindow(ownerHwnd);  // takes the owned window with it
            EXPECT_EQ(wnd.GetHWND(), nullptr);
        }
        DestroyWindow(wnd);
    }
}

TEST_F(WindowWndTest, ShowFocusIconAndResize) {
    ProbeWnd a, b;
    a.Create(nullptr, "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300, 200);
    b.Create(nullptr, "", WS_OVERLAPPEDWINDOW, 0);
    a.ShowWindow(true, true);
    EXPECT_TRUE(IsWindowVisible(a));
    EXPECT_EQ(GetFocus(), a.GetHWND());
    b.ShowWindow(true, false);
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_EQ(GetFocus(), a.GetHWND());
    b.ShowWindow(false);
    EXPECT_FALSE(IsWindowVisible(b));

    uilib::SetAppPathForTesting("/opt/orvella/");
    a.SetIcon(103);
    EXPECT_EQ(fake().WindowIcon(a), "/opt/orvella/icon/orvella.png");
    b.SetIcon(4711);
    EXPECT_EQ(fake().WindowIcon(b), "/opt/orvella/icon/orvella.png");
    uilib::SetAppPathForTesting("");

    a.ResizeClient(500);
    RECT rc;
    GetClientRect(a, &rc);
    EXPECT_EQ(rc.right, 500);
    EXPECT_EQ(rc.bottom, 200);
}

}  // namespace
