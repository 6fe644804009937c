// The settings window against the real engine: a crop starts the engine again where it
// was with the picture cropped, and the picture sliders change the engine's values.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/ChildWindows.h"
#include "tests/app/PlayerWndFixture.h"
#include "ui/SettingsWnd.h"

namespace orvella {
namespace {

class SettingsEngineTest : public PlayerWndEngineTest {
protected:
    void SetUp() override {
        PlayerWndEngineTest::SetUp();
        // Read once per test process, before the first engine talks.
        setenv("ORVELLA_ENGINE_LOG", (temp_ + "/engine.log").c_str(), 1);
    }
    std::string EngineLog() {
        std::ifstream in(temp_ + "/engine.log");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void Tell(CSettingsWnd* s, const char* name, const char* type, WPARAM w = 0) {
        uilib::TNotifyUI msg;
        msg.sType = type;
        msg.pSender = s->FindControl(name);
        msg.wParam = w;
        ASSERT_NE(msg.pSender, nullptr) << name;
        s->Notify(msg);
    }
};

TEST_F(SettingsEngineTest, CropRestartsWhereItWasAndSlidersAdjustThePicture) {
    Start();
    window_->SetEngineOutputsForTesting("null", "null");
    window_->PlaylistCommands().AddAndPlay({media_ + "long.mp4"});
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().videoWidth == 320; }, 8000));
    // The transcript's file is taken once per process: another test in this run took it.
    if (EngineLog().empty()) GTEST_SKIP() << "the engine transcript goes elsewhere in this run";
    ASSERT_TRUE(RunInRealTime([&] { return window_->PlaylistModel().Current()->starttime >= 2; }, 8000));
    const int64_t at = window_->PlaylistModel().Current()->starttime;
    const pid_t before = window_->GetEngine()->GetChildPid();

    window_->RunMenuCommand("ID_MAINMENU_SETTING");
    fake().DispatchPending();
    CSettingsWnd* s = window_->Dialogs().Settings();
    ASSERT_NE(s, nullptr);
    ASSERT_NE(s->FindControl("ID_CROP_HEIGHT"), nullptr) << "the settings layout did not build";
    EXPECT_EQ(std::string(s->FindControl("ID_CROP_HEIGHT")->GetText()), "240");
    s->FindControl("ID_CROP_WIDTH")->SetText("160");
    s->FindControl("ID_CROP_HEIGHT")->SetText("120");
    Tell(s, "ID_EFFECT_CROP_APPLY", "click");
    ASSERT_TRUE(window_->IsEngineRunning());
    const pid_t after = window_->GetEngine()->GetChildPid();
    EXPECT_NE(after, before);
    // The engine crops and says so; it goes on where the first one was.
    ASSERT_TRUE(RunInRealTime([&] { return EngineLog().find("Crop: 160 x 120, 0 ; 0") != std::string::npos; }, 8000))
        << EngineLog();
    window_->Slave().Send(slave::GetTimePos());
    ASSERT_TRUE(RunInRealTime([&] { return window_->GetMediaInfo().position > 0; }, 5000));
    EXPECT_GE(window_->GetMediaInfo().position, at - 0.5f);

    // The brightness slider at three quarters is brightness 50 in the engine.
    Tell(s, "ID_EFFECT_COLOR_BRIGHTNESS", "valuechangebegin", 75);
    window_->Slave().Send(SlaveCommand{"pausing_keep_force get_property brightness\n"});
    EXPECT_TRUE(RunInRealTime([&] { return EngineLog().find("ANS_brightness=50") != std::string::npos; }, 5000))
        << EngineLog();
}

}  // namespace
}  // namespace orvella
