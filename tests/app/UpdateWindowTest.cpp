// The update check's answers in the main window, against a real local server: what
// the user sees after an automatic and a manual check.
#include <gtest/gtest.h>

#include <cstdlib>

#include "library/AtomicFile.h"
#include "tests/app/PlayerWndFixture.h"
#include "tests/app/VersionServer.h"
#include "ui/CheckUpdateWnd.h"

namespace orvella {

namespace {

orvella_test::VersionServer& Server() {
    static orvella_test::VersionServer server;
    return server;
}

}  // namespace

class UpdateWindowTest : public PlayerWndTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(Server().Start(ORVELLA_VERSION)); }
    static void TearDownTestSuite() { Server().Stop(); }
    void TearDown() override {
        unsetenv("ORVELLA_UPDATE_BASE_URL");
        PlayerWndTest::TearDown();
    }
    bool Settle() { return PumpFor([&] { return !window_->Updates().Running(); }, 10000, 10); }
    uilib::CControlUI* Control(const char* name) {
        CCheckUpdateWnd* update = window_->Dialogs().Update();
        return update ? update->FindControl(name) : nullptr;
    }
    bool Shown(const char* name) { return Control(name) && Control(name)->IsVisible(); }
    std::string Text(const char* name) { return Control(name) ? Control(name)->GetText().c_str() : ""; }
};

TEST_F(UpdateWindowTest, AnswersByOriginAndOutcome) {
    const struct {
        const char* folder;
        bool manual;
        const char* shown;  // the state line shown, or null for no window
    } cases[] = {
        {"newer", false, "ID_TEXT_VERSION_NEW"},   {"equal", false, nullptr},
        {"missing", false, nullptr},               {"garbage", false, nullptr},
        {"newer", true, "ID_TEXT_VERSION_NEW"},    {"equal", true, "ID_TEXT_VERSION_LATEST"},
        {"missing", true, "ID_TEXT_VERSION_FAILED"}, {"short", true, "ID_TEXT_VERSION_FAILED"},
    };
    const std::string own = ORVELLA_VERSION;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + (c.manual ? " manual" : " automatic"));
        // The automatic check runs as the window starts; a manual one from the help menu.
        if (c.manual) unsetenv("ORVELLA_UPDATE_BASE_URL");
        if (!c.manual) setenv("ORVELLA_UPDATE_BASE_URL", Server().Base(c.folder).c_str(), 1);
        Start();
        ASSERT_TRUE(Settle());
        setenv("ORVELLA_UPDATE_BASE_URL", Server().Base(c.folder).c_str(), 1);
        if (c.manual) window_->RunMenuCommand("ID_MAINMENU_HELP_CHECK");
        ASSERT_TRUE(Settle());
        ASSERT_EQ(window_->Dialogs().Update() != nullptr, c.shown != nullptr);
        if (c.shown) {
            for (const char* state : {"ID_TEXT_VERSION_NEW", "ID_TEXT_VERSION_LATEST", "ID_TEXT_VERSION_FAILED"})
                EXPECT_EQ(Shown(state), std::string(state) == c.shown) << state;
            EXPECT_EQ(Shown("ID_BUTTON_URL"), std::string(c.shown) == "ID_TEXT_VERSION_NEW");
            EXPECT_EQ(Text("ID_TEXT_APP_VERSION"), own);
            EXPECT_NE(Text("ID_TEXT_LATEST_VERSION"), "0.0.0");
        }
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

// The user's question is answered even while the automatic check still runs.
TEST_F(UpdateWindowTest, AManualRequestTakesOverTheRunningCheck) {
    setenv("ORVELLA_UPDATE_BASE_URL", Server().Base("delayed").c_str(), 1);
    Start();
    ASSERT_TRUE(window_->Updates().Running());
    window_->RunMenuCommand("ID_MAINMENU_HELP_CHECK");
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(Shown("ID_TEXT_VERSION_LATEST"));
}

// Open through a language switch, in the new layout, and closed by its OK button.
TEST_F(UpdateWindowTest, StaysOpenThroughARebuildAndClosesByItsButton) {
    setenv("ORVELLA_UPDATE_BASE_URL", Server().Base("newer").c_str(), 1);
    Start();
    ASSERT_TRUE(Settle());
    ASSERT_NE(window_->Dialogs().Update(), nullptr);
    std::string kept;
    EXPECT_TRUE(ReadWholeFile(DataFolder() + "/version.ini", &kept) && ParseVersionFile(kept));
    window_->HandleMessage(WM_RELOAD_LAYOUT, 0, 0);
    fake().DispatchPending();
    CCheckUpdateWnd* update = window_->Dialogs().Update();
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->PaintManager().GetParentResource(), window_->GetPaintManager());
    EXPECT_TRUE(Shown("ID_TEXT_VERSION_NEW"));
    uilib::TNotifyUI click;
    click.sType = "click";
    click.pSender = update->FindControl("ID_OK_BUTTON");
    ASSERT_NE(click.pSender, nullptr);
    update->Notify(click);
    fake().DispatchPending();
    EXPECT_EQ(window_->Dialogs().Update(), nullptr);
}

}  // namespace orvella
