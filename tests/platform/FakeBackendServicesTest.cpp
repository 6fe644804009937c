// The fake backend's file dialogs, file manager and tray: what window tests script and read.
#include "TestPlatform.h"

namespace {

using platform::FileDialogRequest;
using platform::TrayKind;

constexpr UINT kTrayMessage = WM_USER + 20;

HWND MakeWindow() {
    platform::CreateParams p;
    p.style = WS_OVERLAPPEDWINDOW;
    return CreateWindowEx(p);
}

class FakeBackendServices : public FakePlatformTest {};

TEST_F(FakeBackendServices, FileDialogAnswersInQueueOrderThenCancels) {
    FileDialogRequest open;
    open.kind = FileDialogRequest::Kind::OpenMany;
    open.filters = {{"Video", "*.avi"}};
    fake().QueueFileDialogAnswer({"/m/a.avi", "/m/b.avi"});
    fake().QueueFileDialogAnswer({});

    auto& backend = platform::GetBackend();
    EXPECT_EQ(backend.RunFileDialog(nullptr, open), (std::vector<std::string>{"/m/a.avi", "/m/b.avi"}));
    EXPECT_TRUE(backend.RunFileDialog(nullptr, open).empty());  // scripted cancel
    EXPECT_TRUE(backend.RunFileDialog(nullptr, open).empty());  // nothing scripted: cancel
    ASSERT_EQ(fake().FileDialogRequests().size(), 3u);
    EXPECT_EQ(fake().FileDialogRequests()[0].filters[0].patterns, "*.avi");
}

TEST_F(FakeBackendServices, SavedNameGetsTheDefaultExtensionAsInTheRealChooser) {
    FileDialogRequest save;
    save.kind = FileDialogRequest::Kind::Save;
    save.defaultExtension = "orv";
    fake().QueueFileDialogAnswer({"/m/list"});
    fake().QueueFileDialogAnswer({"/m/list.m3u"});
    EXPECT_EQ(platform::GetBackend().RunFileDialog(nullptr, save), std::vector<std::string>{"/m/list.orv"});
    EXPECT_EQ(platform::GetBackend().RunFileDialog(nullptr, save), std::vector<std::string>{"/m/list.m3u"});
}

TEST_F(FakeBackendServices, ShowInFileManagerIsRecordedWithTheConfiguredAnswer) {
    fake().SetShowInFileManagerResult(false);
    EXPECT_FALSE(platform::GetBackend().ShowInFileManager("/m/a.avi"));
    EXPECT_EQ(fake().ShownInFileManager(), std::vector<std::string>{"/m/a.avi"});
}

TEST_F(FakeBackendServices, TrayIconIsOnePerWindowAndIdAndPostsItsClicks) {
    fake().SetTrayAvailable(TrayKind::StatusNotifier);
    HWND hwnd = MakeWindow();
    auto& backend = platform::GetBackend();
    EXPECT_EQ(backend.AddTrayIcon(hwnd, 1, kTrayMessage, "i.png", "old"), TrayKind::StatusNotifier);
    EXPECT_EQ(backend.AddTrayIcon(hwnd, 1, kTrayMessage, "i.png", "new"), TrayKind::StatusNotifier);
    ASSERT_EQ(fake().TrayIcons().size(), 1u);
    EXPECT_EQ(fake().TrayIcons()[0].tip, "new");

    fake().ClearMessageLog();
    EXPECT_TRUE(fake().ActivateTrayIcon(hwnd, 1));
    EXPECT_TRUE(fake().OpenTrayIconMenu(hwnd, 1));
    EXPECT_FALSE(fake().ActivateTrayIcon(hwnd, 2));
    fake().DispatchPending();
    auto log = fake().MessageLog(hwnd);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].msg, kTrayMessage);
    EXPECT_EQ(log[0].wParam, 1u);
    EXPECT_EQ(log[0].lParam, WM_LBUTTONDBLCLK);
    EXPECT_EQ(log[1].lParam, WM_RBUTTONDOWN);
}

TEST_F(FakeBackendServices, TrayIconGoesWithRemoveOrWithItsWindow) {
    HWND a = MakeWindow(), b = MakeWindow();
    auto& backend = platform::GetBackend();
    EXPECT_EQ(backend.AddTrayIcon(a, 1, kTrayMessage, "i.png", ""), TrayKind::None);  // no tray by default
    EXPECT_TRUE(fake().TrayIcons().empty());
    fake().SetTrayAvailable(TrayKind::XEmbed);
    backend.AddTrayIcon(a, 1, kTrayMessage, "i.png", "");
    backend.AddTrayIcon(a, 2, kTrayMessage, "i.png", "");
    backend.AddTrayIcon(b, 1, kTrayMessage, "i.png", "");
    backend.RemoveTrayIcon(a, 2);
    backend.RemoveTrayIcon(a, 9);  // none: nothing happens
    EXPECT_EQ(fake().TrayIcons().size(), 2u);
    DestroyWindow(a);
    ASSERT_EQ(fake().TrayIcons().size(), 1u);
    EXPECT_EQ(fake().TrayIcons()[0].hwnd, b);
    EXPECT_EQ(backend.AddTrayIcon(a, 1, kTrayMessage, "i.png", ""), TrayKind::None);  // dead window
}

}  // namespace
