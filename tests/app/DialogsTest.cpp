// The player's window holds its whole tool bar whatever plays, and its dialogs stand over
// the window that opened them, take the keys and answer Escape.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/ChildWindows.h"
#include "app/StartupRules.h"
#include "hotkeys/HotkeyTable.h"
#include "library/PlayerSettings.h"
#include "library/SettingsHost.h"
#include "tests/app/PlaybackFixture.h"
#include "ui/AboutWnd.h"
#include "ui/QuestionWnd.h"
#include "ui/SettingsWnd.h"
#include "uilib/Container.h"

namespace orvella {
namespace {

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.right > inner.left;
}
bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class DialogsTest : public PlaybackTest {
protected:
    void StartInSkin(int skin) {
        ASSERT_TRUE(MakeFolders(DataFolder()));
        PlayerSettings stored(DataFolder(), "eng");
        stored.skinindex = skin;
        HotkeyTable hotkeys = HotkeyTable::Defaults();
        SettingsHost nobody;
        ASSERT_TRUE(stored.Write(DataFolder(), hotkeys, nobody));
        StartWithEngine();
    }
    void Settle() {
        fake().Render(hwnd_);
        fake().DispatchPending();
        fake().Render(hwnd_);
    }
    // Every control of the tool bar whole inside the bar, the bar inside the window, and
    // the title picture clear of the caption buttons.
    void ExpectEverythingReachable(const std::string& when) {
        RECT client;
        GetClientRect(hwnd_, &client);
        auto* bar = static_cast<uilib::CContainerUI*>(Find("toolbar")->GetInterface("Container"));
        EXPECT_TRUE(Inside(bar->GetPos(), client)) << when;
        for (int i = 0; i < bar->GetCount(); ++i) {
            uilib::CControlUI* c = bar->GetItemAt(i);
            if (c->IsVisible() && !c->GetName().empty()) {
                EXPECT_TRUE(Inside(c->GetPos(), bar->GetPos())) << when << ": " << c->GetName().c_str();
            }
        }
        for (const char* button : {"minbtn", "maxbtn", "restorebtn", "closebtn"}) {
            if (Find(button)->IsVisible()) {
                EXPECT_FALSE(Overlap(Find("shading")->GetPos(), Find(button)->GetPos())) << when << ": " << button;
            }
        }
    }
};

TEST_F(DialogsTest, AudioAndLeastSizesHoldTheWholeToolBarInBothSkins) {
    for (int skin : {0, 1}) {
        SCOPED_TRACE(skin);
        StartInSkin(skin);
        engine_->SetStartLines({"Audio only file format detected.", "ID_LENGTH=60.00"});
        window_->PlaylistCommands().AddAndPlay({clips_[0]});
        ASSERT_TRUE(Pump([&] { return window_->GetMediaInfo().audioOnly; }));
        for (bool list : {true, false}) {
            if (Visible("playlistbar") != list) Click("list");
            Settle();
            ExpectEverythingReachable(list ? "audio with the play list" : "audio");
            MINMAXINFO limits{};
            SendMessage(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
            SetWindowPos(hwnd_, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
                         SWP_NOMOVE | SWP_NOZORDER);
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
    auto conflict = [&] {
        uilib::TNotifyUI note;
        note.sType = "settings_hotkeywnd_conflict";
        note.pSender = d.Settings()->FindControl("ID_EDIT_HOTKEY_STOP");
        note.wParam = reinterpret_cast<WPARAM>(&taken);
        d.Settings()->Notify(note);
    };
    auto settingsHwnd = [&] { return d.Settings() ? d.Settings()->GetHWND() : nullptr; };
    const struct {
        const char* command;  // a menu command, or "" for the clear question
        bool fromSettings;    // a taken key reported by the settings window
        bool hide;            // hidden (minimised) rather than answered
        std::function<bool()> answered;
    } cases[] = {
        {"ID_MAINMENU_HELP_ABOUT", false, false, [&] { return !d.About(); }},
        {"", false, false, [&] { return !d.Question() && window_->PlaylistModel().Count() == 2; }},  // Cancel
        {"ID_MAINMENU_SETTING", false, false, [&] { return !d.Settings(); }},
        {"ID_MAINMENU_SETTING", true, false, [&] { return !d.Question() && d.Settings(); }},
        {"ID_MAINMENU_HELP_ABOUT", false, true, [] { return true; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + (c.fromSettings ? " conflict" : "") + (c.hide ? " hidden" : ""));
        if (*c.command) window_->RunMenuCommand(c.command);
        else PostMessage(hwnd_, WM_SHOW_QUESTION, 0, 0);
        fake().DispatchPending();
        if (c.fromSettings) conflict();
        fake().DispatchPending();
        CSkinWindow* dialog = d.Question() ? static_cast<CSkinWindow*>(d.Question())
                              : d.About()  ? static_cast<CSkinWindow*>(d.About())
                                           : d.Settings();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetParent(dialog->GetHWND()), c.fromSettings ? settingsHwnd() : hwnd_);
        EXPECT_EQ(GetFocus(), dialog->GetHWND());
        if (c.hide) ShowWindow(dialog->GetHWND(), SW_MINIMIZE);
        else fake().KeyPress(VK_ESCAPE);
        fake().DispatchPending();
        EXPECT_TRUE(c.answered());
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
    const struct {
        const char* command;
        bool opens;
    } cases[] = {{"ID_MAINMENU_HELP_FILE", false}, {"ID_MAINMENU_HELP_MORE", false},
                 {"ID_MAINMENU_HELP_HELP", false}, {"ID_MAINMENU_HELP_FORUM", false},
                 {"ID_MAINMENU_HELP_F1", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        fake().SetShellOpenResult(c.opens);
        window_->RunMenuCommand(c.command);
        fake().DispatchPending();
        CQuestionWnd* question = window_->Dialogs().Question();
        ASSERT_EQ(question != nullptr, !c.opens);
        if (!question) continue;
        EXPECT_EQ(std::string(question->FindControl("ID_TITLE")->GetText()), "Cannot open the page");
        EXPECT_NE(std::string(question->FindControl("ID_TEXT")->GetText()).find(fake().ShellOpened().back()),
                  std::string::npos);
        EXPECT_FALSE(question->FindControl("ID_CANCEL_BUTTON")->IsVisible());
        window_->Dialogs().CloseQuestion();
        fake().DispatchPending();
    }
}

}  // namespace
}  // namespace orvella
