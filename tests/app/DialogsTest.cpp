// The player's window holds its whole tool bar whatever plays, and its dialogs stand over
// the window that opened them, take the keys and answer Escape.
#include <gtest/gtest.h>

#include <string>

#include "app/ChildWindows.h"
#include "app/StartupRules.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/AboutWnd.h"
#include "ui/QuestionWnd.h"
#include "ui/SettingsWnd.h"
#include "uilib/Container.h"

namespace orvella {
namespace {

class DialogsTest : public PlaybackTest {
protected:
    void Settle() {
        fake().Render(hwnd_);
        fake().DispatchPending();
        fake().Render(hwnd_);
    }
    // The settings window reports that the key pressed in a field is another action's.
    void ReportTaken(CSettingsWnd* settings, const std::string& action) {
        uilib::TNotifyUI note;
        note.sType = "settings_hotkeywnd_conflict";
        note.pSender = settings->FindControl("ID_EDIT_HOTKEY_STOP");
        note.wParam = reinterpret_cast<WPARAM>(&action);
        settings->Notify(note);
        fake().DispatchPending();
    }
    // Every named control of the tool bar whole inside the bar, the bar inside the
    // window, and the title picture clear of the caption buttons.
    void ExpectEverythingReachable(const std::string& when) {
        RECT client;
        GetClientRect(hwnd_, &client);
        auto inside = [](const RECT& a, const RECT& b) { uilib::CRect both; return both.Intersect(a, b) && both == a; };
        auto* bar = static_cast<uilib::CContainerUI*>(Find("toolbar")->GetInterface("Container"));
        EXPECT_TRUE(inside(bar->GetPos(), client)) << when;
        for (int i = 0; i < bar->GetCount(); ++i) {
            uilib::CControlUI* c = bar->GetItemAt(i);
            const bool shown = c->IsVisible() && !c->GetName().empty();
            EXPECT_TRUE(!shown || inside(c->GetPos(), bar->GetPos())) << when << ": " << c->GetName().c_str();
        }
        for (const char* button : {"minbtn", "maxbtn", "restorebtn", "closebtn"}) {
            uilib::CRect overlap;
            EXPECT_FALSE(Find(button)->IsVisible() && overlap.Intersect(Find("shading")->GetPos(), Find(button)->GetPos()))
                << when << ": " << button;
        }
    }
};

TEST_F(DialogsTest, AudioAndLeastSizesHoldTheWholeToolBarInBothSkins) {
    for (int skin : {0, 1}) {
        SCOPED_TRACE(skin);
        ASSERT_TRUE(MakeFolders(DataFolder()));
        PlayerSettings stored(DataFolder(), "eng");
        stored.skinindex = skin;
        SettingsHost nobody;
        ASSERT_TRUE(stored.Write(DataFolder(), HotkeyTable::Defaults(), nobody));
        StartWithEngine();
        engine_->SetStartLines({"Audio only file format detected.", "ID_LENGTH=60.00"});
        window_->PlaylistCommands().AddAndPlay({clips_[0]});
        ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().audioOnly; }));
        for (bool list : {true, false}) {
            if (Visible("playlistbar") != list) Click("list");
            Settle();
            ExpectEverythingReachable(list ? "audio with the play list" : "audio");
            MINMAXINFO limits{};
            SendMessage(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
            SetWindowPos(hwnd_, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, SWP_NOMOVE);
            Settle();
            ExpectEverythingReachable(list ? "least size with the play list" : "least size");
        }
        DestroyWindow(hwnd_);
    }
}

TEST_F(DialogsTest, DialogsStandOverTheirOpenerTakeTheKeysAndAnswerEscape) {
    StartWithEngine();
    OpenClips({clips_[0], clips_[1]});
    Settle();
    ChildWindows& d = window_->Dialogs();
    const std::string taken = "Mute";
    const struct {
        const char* command;  // a menu command, or "" for the clear question
        bool conflict;        // then the settings window reports a key that is taken
        bool hide;            // the dialog is minimised instead of answered
        bool keyToMain;       // Escape reaches the player's window, not the dialog
    } cases[] = {{"ID_MAINMENU_HELP_ABOUT", false, false, false}, {"", false, false, false},
                 {"ID_MAINMENU_SETTING", false, false, false}, {"ID_MAINMENU_SETTING", true, false, false},
                 {"ID_MAINMENU_HELP_ABOUT", false, true, false}, {"", false, false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.conflict ? " conflict" : "") + (c.hide ? " hidden" : "") +
                     (c.keyToMain ? " key to the player" : ""));
        if (*c.command) window_->RunMenuCommand(c.command);
        else PostMessage(hwnd_, WM_SHOW_QUESTION, 0, 0);
        fake().DispatchPending();
        CSettingsWnd* settings = d.Settings();
        if (c.conflict) ReportTaken(settings, taken);
        CSkinWindow* dialog = d.Question() ? static_cast<CSkinWindow*>(d.Question())
                              : d.About()  ? static_cast<CSkinWindow*>(d.About())
                                           : settings;
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetParent(dialog->GetHWND()), c.conflict ? settings->GetHWND() : hwnd_);
        EXPECT_EQ(GetFocus(), dialog->GetHWND());
        if (c.hide) ShowWindow(dialog->GetHWND(), SW_MINIMIZE);
        else fake().KeyPress(VK_ESCAPE, platform::FakeBackend::kNone, c.keyToMain ? hwnd_ : nullptr);
        fake().DispatchPending();
        // Escape is the question's Cancel: the list stays; the settings stay under it.
        EXPECT_TRUE(c.hide || (!d.About() && !d.Question() && (d.Settings() != nullptr) == c.conflict));
        EXPECT_EQ(window_->PlaylistModel().Count(), 2u);
        EXPECT_TRUE(IsWindowVisible(hwnd_) && !IsIconic(hwnd_));
        // The player still takes clicks.
        const bool shown = Visible("playlistbar");
        const POINT at = Centre("list");
        fake().LeftClick(hwnd_, at.x, at.y);
        Settle();
        EXPECT_NE(Visible("playlistbar"), shown);
        d.CloseAll();
    }
}

TEST_F(DialogsTest, APageNoBrowserOpensIsToldInAQuestion) {
    StartWithEngine();
    for (const char* command : {"ID_MAINMENU_HELP_FILE", "ID_MAINMENU_HELP_MORE", "ID_MAINMENU_HELP_HELP",
                                "ID_MAINMENU_HELP_FORUM", "ID_MAINMENU_HELP_F1"}) {
        SCOPED_TRACE(command);
        const bool opens = std::string(command) == "ID_MAINMENU_HELP_F1";
        fake().SetShellOpenResult(opens);
        window_->RunMenuCommand(command);
        fake().DispatchPending();
        CQuestionWnd* question = window_->Dialogs().Question();
        ASSERT_EQ(question != nullptr, !opens);
        if (!question) continue;
        EXPECT_EQ(std::string(question->FindControl("ID_TITLE")->GetText()), "Cannot open the page");
        const std::string text = question->FindControl("ID_TEXT")->GetText().c_str();
        EXPECT_NE(text.find(fake().ShellOpened().back()), std::string::npos);
        EXPECT_FALSE(question->FindControl("ID_CANCEL_BUTTON")->IsVisible());
        window_->Dialogs().CloseQuestion();
    }
}

}  // namespace
}  // namespace orvella
