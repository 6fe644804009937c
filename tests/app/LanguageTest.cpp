// The language folders on the main window: the language the settings and the menu may
// choose, the menu's rows, and the chosen language's words in the windows.
#include <gtest/gtest.h>

#include <fstream>

#include "app/PlayerMenuStates.h"
#include "hotkeys/HotkeyTable.h"
#include "library/LocalStrings.h"
#include "tests/app/PlayerWndFixture.h"
#include "tests/library/GermanStrings.h"
#include "ui/QuestionWnd.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

// A program folder whose skins have the languages de (its own strings.xml, in UTF-16),
// eng, pt and pt_BR.
class LanguageTest : public PlayerWndTest {
protected:
    void SetUp() override {
        PlayerWndTest::SetUp();
        for (const std::string skin : {"skin", "skin_classic"}) {
            const std::string eng = std::string(ORVELLA_SOURCE_DIR) + "/data/" + skin + "/language/eng";
            const std::string languages = temp_ + "/prog/" + skin + "/language/";
            const std::string make = "mkdir -p " + languages + "de && ln -s " + eng + "/*.xml " + languages +
                                     "de/ && rm " + languages + "de/strings.xml && for l in eng pt pt_BR; do ln -s " +
                                     eng + " " + languages + "$l; done";
            ASSERT_EQ(std::system(make.c_str()), 0);
            std::ofstream(languages + "de/strings.xml", std::ios::binary) << orvella_test::Utf16WithMark(orvella_test::kGermanStrings);
        }
        uilib::SetAppPathForTesting(temp_ + "/prog/");
    }
    void TearDown() override {
        CurrentLocalStrings().Clear();
        PlayerWndTest::TearDown();
    }
    void StartWithLanguage(const std::string& language) {
        ASSERT_EQ(std::system(("mkdir -p " + DataFolder()).c_str()), 0);
        std::ofstream(DataFolder() + "/settings.xml") << "<root><Player language='" << language << "'/></root>";
        Start();
    }
};

TEST_F(LanguageTest, SettingsAndMenuChooseOnlyAFolderOfTheSkin) {
    const struct {
        bool fromMenu;
        const char* value;
        const char* used;
    } cases[] = {{false, "pt_BR", "pt_BR"}, {false, "../x", "eng"}, {false, "nonexistent", "eng"},
                 {true, "pt_BR", "pt_BR"},  {true, "de", "de"},     {true, "..", "eng"}, {true, "", "eng"}};
    for (const auto& c : cases) {
        if (c.fromMenu) {
            window_->RunMenuCommand(std::string("ID_MAINMENU_LANGUAGE_") + c.value);
        } else {
            if (hwnd_) DestroyWindow(hwnd_);
            StartWithLanguage(c.value);
        }
        EXPECT_EQ(window_->GetLanguage(), c.used) << c.value;
    }
}

TEST_F(LanguageTest, SubmenuListsEveryFolderSortedWithTheCurrentOneTicked) {
    StartWithLanguage("pt_BR");
    const std::shared_ptr<const IMenuItemStates> menus = window_->MenuItemStates();
    EXPECT_TRUE(menus->IsEnabled("ID_MAINMENU_LANGUAGE"));
    uilib::CListUI list;
    menus->FillSubmenu("ID_MAINMENU_LANGUAGE", list);
    const char* const rows[][2] = {{"de", "Deutsch"}, {"eng", "English"}, {"pt", "pt"}, {"pt_BR", "pt_BR"}};
    ASSERT_EQ(list.GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const std::string item = std::string("ID_MAINMENU_LANGUAGE_") + rows[i][0];
        EXPECT_EQ(list.GetItemAt(i)->GetName(), item);
        auto* row = static_cast<uilib::CContainerUI*>(list.GetItemAt(i)->GetInterface("Container"));
        EXPECT_EQ(row->GetItemAt(0)->GetText(), rows[i][1]);
        EXPECT_EQ(menus->IsChecked(item), i == 3) << item;
    }
}

TEST_F(LanguageTest, ChosenLanguageWordsTheQuestionsAndKeyNames) {
    Start();
    window_->RunMenuCommand("ID_MAINMENU_LANGUAGE_de");
    // The title translated; the text's translation is empty, so it stays English.
    window_->Dialogs().AskQuestion(0);
    EXPECT_EQ(window_->Dialogs().Question()->FindControl("ID_TITLE")->GetText(), "Liste leeren");
    EXPECT_EQ(window_->Dialogs().Question()->FindControl("ID_TEXT")->GetText(), "Are you sure you want to clear play list?");
    // The key's owner by its translated name, in the first "%s" only.
    window_->Dialogs().AskQuestion(3, HotkeyTable::LocalDisplayName("Un-Zoom"));
    EXPECT_EQ(window_->Dialogs().Question()->FindControl("ID_TEXT")->GetText(), "%n %d Taste \"Verkleinern\" %s");
    EXPECT_EQ(HotkeyTable::LocalDisplayName("Zoom"), "Zoom in");  // not translated: its English
}

}  // namespace
}  // namespace orvella
