// The main window on the headless platform, as the program's start makes it: a fixture
// with a data folder of its own per test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/PlayerWnd.h"
#include "tests/SourceSkins.h"
#include "tests/TestMedia.h"
#include "tests/TestPlatform.h"
#include "uilib/Control.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"

namespace orvella {

class PlayerWndTest : public FakePlatformTest {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/orvella-player-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        temp_ = tmpl;
        setenv("XDG_CONFIG_HOME", (temp_ + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (temp_ + "/data").c_str(), 1);
        fake().SetPicturesFolder(temp_ + "/Pictures");
        orvella_test::UseSourceSkins();
        fake().SetScreenSize(1280, 800);
        fake().SetWorkArea(RECT{0, 0, 1280, 770});
    }
    void TearDown() override {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
        uilib::SetAppPathForTesting("");
        std::string cmd = "rm -rf '" + temp_ + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }

    // Creates and shows the window as the program's start does, then lets the first
    // paint and the posted "windowinit" happen.
    void Start(std::vector<std::string> args = {}) {
        window_ = new CPlayerWnd(std::move(args));
        hwnd_ = window_->Create(nullptr, kProgramTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0,
                                100, 100);
        ASSERT_NE(hwnd_, nullptr);
        fake().SetMainWindow(hwnd_);
        window_->CenterWindow();
        ::ShowWindow(hwnd_, SW_SHOW);
        fake().Render(hwnd_);
        fake().DispatchPending();
        fake().Render(hwnd_);
        // The play memory, read beside the start, is in.
        PumpFor([&] { return !window_->PlayMemoryPending(); }, 5000, 2);
    }

    // Takes the window's messages until done, up to ms of real time (the engine's
    // answers come from another process).
    bool PumpFor(const std::function<bool()>& done, int ms, int stepMs) {
        for (int waited = 0; waited < ms && !done(); waited += stepMs) {
            fake().DispatchPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
        }
        fake().DispatchPending();
        return done();
    }

    uilib::CControlUI* Find(const char* name) {
        return window_->GetPaintManager() ? window_->GetPaintManager()->FindControl(name) : nullptr;
    }

    POINT Centre(const char* name) {
        uilib::CControlUI* c = Find(name);
        EXPECT_NE(c, nullptr) << name;
        if (!c) return POINT{0, 0};
        const RECT& r = c->GetPos();
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    std::string DataFolder() const { return temp_ + "/config/Orvella"; }

    static std::string ReadBytes(const std::string& path) {
        std::string bytes;
        if (FILE* f = std::fopen(path.c_str(), "rb")) {
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
            std::fclose(f);
        }
        return bytes;
    }

    std::string temp_;
    CPlayerWnd* window_ = nullptr;
    HWND hwnd_ = nullptr;
};

// The real engine, started by the main window with its real argument vector (video and
// audio output "null": the fake platform has no X window to draw into).
class PlayerWndEngineTest : public PlayerWndTest {
protected:
    void SetUp() override {
        PlayerWndTest::SetUp();
        media_ = orvella_test::TestMediaFolder();
        if (media_.empty()) ORVELLA_SKIP_OR_FAIL("test media could not be made (ffmpeg?)");
        // The build folder holds gnu/mplayer and the skins, like an installed program.
        uilib::SetAppPathForTesting(std::string(ORVELLA_BINARY_DIR) + "/");
    }

    bool PumpUntil(const std::function<bool()>& done, int ms = 10000) { return PumpFor(done, ms, 10); }

    // Runs the window for up to ms of real time with its clock (and so its timers)
    // keeping pace, until done.
    bool RunInRealTime(const std::function<bool()>& done, int ms) {
        for (int waited = 0; waited < ms && !done(); waited += 20) {
            fake().DispatchPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            fake().AdvanceTime(20);
        }
        fake().DispatchPending();
        return done();
    }

    std::string media_;
};

}  // namespace orvella
