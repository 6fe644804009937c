// Test helpers over the headless backend.
//
//   FakePlatformTest: a GoogleTest fixture. Its constructor installs a fresh
//   platform::FakeBackend and its destructor puts back whatever backend was installed
//   before (usually none). Window objects a test left open that still live (the ones that
//   delete themselves: menus, dialogs, a main window made with new) first get their final
//   call, newest first, so that they free themselves; no message is sent. A window object
//   that was a member of the fixture is gone by then and has let go of its window. So a
//   derived fixture may hold window objects as members:
//
//       class PlayerWndTest : public FakePlatformTest { ... };
//       TEST_F(PlayerWndTest, Closes) {
//           HWND h = ...;
//           fake().CloseRequest(h);
//           fake().DispatchPending();
//           EXPECT_FALSE(IsWindow(h));
//       }
//
//   ScopedFakeBackend: the same as an object, for tests that are not fixtures:
//       ScopedFakeBackend fake;  fake->AdvanceTime(500);
//
//   MessageNames(list): "WM_CREATE, WM_SIZE, ..." for readable failure output;
//   EXPECT_MESSAGES(fake, hwnd, {WM_CREATE, ...}) compares a window's whole log of
//   message numbers and prints both sequences by name when they differ.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/FakeBackend.h"
#include "uilib/WindowWnd.h"

class ScopedFakeBackend {
    // Lets a window object a test left open free itself as its window's end would.
    struct LeftOver : uilib::CWindowWnd {
        static void Release(uilib::CWindowWnd* object, HWND hwnd) { (object->*(&LeftOver::OnFinalMessage))(hwnd); }
    };

public:
    ScopedFakeBackend() {
        auto backend = std::make_unique<platform::FakeBackend>();
        fake_ = backend.get();
        previous_ = platform::InstallBackend(std::move(backend));
    }
    ~ScopedFakeBackend() {
        // The newest first, as a window's children and submenus go before it. No message
        // is sent: what such a window would tell (its owner) may be gone already.
        std::vector<HWND> windows = fake_->LiveWindows();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            if (fake_->GetWindowProc(*it) != &uilib::CWindowWnd::WindowProc) continue;
            if (auto* object = static_cast<uilib::CWindowWnd*>(fake_->GetWindowUserData(*it))) {
                fake_->SetWindowUserData(*it, nullptr);
                LeftOver::Release(object, *it);
            }
        }
        platform::InstallBackend(std::move(previous_));
    }
    ScopedFakeBackend(const ScopedFakeBackend&) = delete;
    ScopedFakeBackend& operator=(const ScopedFakeBackend&) = delete;

    platform::FakeBackend& get() { return *fake_; }
    platform::FakeBackend* operator->() { return fake_; }
    platform::FakeBackend& operator*() { return *fake_; }

private:
    platform::FakeBackend* fake_ = nullptr;
    std::unique_ptr<platform::Backend> previous_;
};

class FakePlatformTest : public ::testing::Test {
protected:
    platform::FakeBackend& fake() { return scoped_.get(); }

private:
    ScopedFakeBackend scoped_;
};

inline std::string MessageNames(const std::vector<UINT>& messages) {
    std::string out;
    for (UINT m : messages) {
        if (!out.empty()) out += ", ";
        out += platform::FakeBackend::MessageName(m);
    }
    return out;
}

#define EXPECT_MESSAGES(fakeBackend, hwnd, ...)                                      \
    do {                                                                             \
        std::vector<UINT> expected_ = __VA_ARGS__;                                   \
        std::vector<UINT> actual_ = (fakeBackend).MessageIds(hwnd);                  \
        EXPECT_EQ(expected_, actual_) << "expected: " << MessageNames(expected_)     \
                                      << "\n  actual: " << MessageNames(actual_);    \
    } while (0)
