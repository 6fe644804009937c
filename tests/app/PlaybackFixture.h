// The main window on the headless platform with a scripted stand-in engine: what it is
// told and when it starts, without a real engine's timing.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/PlayerWndFixture.h"
#include "tests/app/ScriptedEngine.h"
#include "uilib/controls/Progress.h"

namespace orvella {

class PlaybackTest : public PlayerWndTest {
protected:
    void SetUp() override {
        PlayerWndTest::SetUp();
        engine_ = std::make_unique<orvella_test::ScriptedEngine>(temp_);
        for (const char* name : {"a.mp4", "b.mp4", "c.mp4"}) {
            std::string path = temp_ + "/" + name;
            std::fclose(std::fopen(path.c_str(), "w"));
            clips_.push_back(path);
        }
    }

    void StartWithEngine(std::vector<std::string> args = {}) {
        Start(std::move(args));
        window_->SetProgramFolder(engine_->ProgramFolder());
    }

    bool Pump(const std::function<bool()>& done, int ms = 5000) { return PumpFor(done, ms, 5); }
    // One poll tick, and the engine's answers to it.
    void Tick() {
        size_t before = engine_->Commands().size();
        fake().AdvanceTime(1000);
        Pump([&] { return engine_->Commands().size() >= before + 2; });
        Pump([] { return false; }, 60);
    }
    void Click(const char* name) {
        TNotifyUIForTest(name, "click");
    }
    void TNotifyUIForTest(const char* name, const char* type, WPARAM w = 0, LPARAM l = 0) {
        uilib::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = Find(name);
        msg.wParam = w;
        msg.lParam = l;
        ASSERT_NE(msg.pSender, nullptr) << name;
        window_->Notify(msg);
    }
    void OpenClips(std::vector<std::string> paths) {
        window_->PlaylistCommands().AddAndPlay(paths);
        ASSERT_TRUE(Pump([&] { return engine_->Launches() >= 1 && window_->GetMediaInfo().videoWidth == 320; }));
    }
    bool Enabled(const char* name) { return Find(name)->IsEnabled(); }
    bool Visible(const char* name) { return Find(name)->IsVisible(); }
    int Slider() { return static_cast<uilib::CProgressUI*>(Find("playslider")->GetInterface("Progress"))->GetValue(); }
    bool Sent(const std::string& command) {
        std::vector<std::string> c = engine_->Commands();
        return std::find(c.begin(), c.end(), command) != c.end();
    }

    std::unique_ptr<orvella_test::ScriptedEngine> engine_;
    std::vector<std::string> clips_;
};

}  // namespace orvella
