// The language folders on the main window: which one the settings and the language menu
// may choose, the menu's rows, and the chosen language's texts in the windows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "app/PlayerMenuStates.h"
#include "app/StartupRules.h"
#include "hotkeys/HotkeyTable.h"
#include "library/LocalStrings.h"
#include "tests/app/PlayerWndFixture.h"
#include "ui/QuestionWnd.h"
#include "uilib/controls/List.h"

namespace orvella {
namespace {

class LanguageTest : public PlayerWndTest {
protected:
    void SetUp() override {
        PlayerWndTest::SetUp();
        program_ = temp_ + "/prog/";
        for (const char* skin : {"skin", "skin_classic"}) {
            const std::string source = std::string(ORVELLA_SOURCE_DIR) + "/data/" + skin + "/language/eng";
            const std::string languages = program_ + skin + "/language/";
            ASSERT_EQ(std::system(("mkdir -p '" + languages + "de'").c_str()), 0);
            for (const char* copy : {"eng", "pt", "pt_BR"}) ASSERT_EQ(symlink(source.c_str(), (languages + copy).c_str()), 0);
            for (const char* layout : {"main.xml", "menu.xml", "question.xml", "settings.xml", "about.xml", "topbar.xml"})
                ASSERT_EQ(symlink((source + "/" + layout).c_str(), (languages + "de/" + layout).c_str()), 0);
            std::ofstream(languages + "de/strings.xml", std::ios::binary) << Utf16(kGerman);
        }
        uilib::SetAppPathForTesting(program_);
    }
    void TearDown() override {
        CurrentLocalStrings().Clear();
        PlayerWndTest::TearDown();
    }
    void StartWithLanguage(const std::string& language) {
        ASSERT_EQ(std::system(("mkdir -p '" + DataFolder() + "'").c_str()), 0);
        std::ofstream(DataFolder() + "/settings.xml") << "<root><Player language='" << language << "'/></root>";
        Start();
    }
    // The file as the translators' tools save it: UTF-16 with its byte-order mark.
    static std::string Utf16(const std::string& ascii) {
        std::string out = "\xFF\xFE";
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    }
    static constexpr const char* kGerman =
        "<?xml version='1.0' encoding='UTF-16'?><root><string>"
        "<data string='Falsches Format'/><data/><data/><data/><data/><data/>"
        "<data string='Wiedergabeliste leeren'/><data string=''/><data string='Tastenkonflikt'/>"
        "<data string='%n %d Die Taste hat schon &quot;%s&quot; %s'/></string>"
        "<hotkey><Un-Zoom string='Verkleinern'/><Mute string=''/></hotkey></root>";

    std::string program_;
};

TEST_F(LanguageTest, StoredLanguageIsAFolderOfTheSkin) {
    const struct {
        const char* stored;
        const char* used;
    } cases[] = {{"de", "de"}, {"pt_BR", "pt_BR"}, {"../x", "eng"}, {"a/b", "eng"}, {"de\\x", "eng"},
                 {"", "eng"}, {"nonexistent", "eng"}};
    for (const auto& c : cases) {
        StartWithLanguage(c.stored);
        EXPECT_EQ(window_->GetLanguage(), c.used) << c.stored;
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

TEST_F(LanguageTest, MenuChoosesTheFolderAfterThePrefix) {
    Start();
    const struct {
        const char* item;
        const char* chosen;
    } cases[] = {{"ID_MAINMENU_LANGUAGE_pt_BR", "pt_BR"}, {"ID_MAINMENU_LANGUAGE_pt", "pt"},
                 {"ID_MAINMENU_LANGUAGE_de", "de"},       {"ID_MAINMENU_LANGUAGE_..", "eng"},
                 {"ID_MAINMENU_LANGUAGE_", "eng"},        {"ID_MAINMENU_LANGUAGE_xx", "eng"}};
    for (const auto& c : cases) {
        window_->RunMenuCommand(c.item);
        EXPECT_EQ(window_->GetLanguage(), c.chosen) << c.item;
    }
}

TEST_F(LanguageTest, SubmenuListsEveryFolderSortedWithTheCurrentOneTicked) {
    StartWithLanguage("pt_BR");
    const std::shared_ptr<const IMenuItemStates> menus = window_->MenuItemStates();
    EXPECT_TRUE(menus->IsEnabled("ID_MAINMENU_LANGUAGE"));
    uilib::CListUI list;
    menus->FillSubmenu("ID_MAINMENU_LANGUAGE", list);
    const char* const names[] = {"de", "eng", "pt", "pt_BR"};
    const char* const texts[] = {"Deutsch", "English", "pt", "pt_BR"};
    ASSERT_EQ(list.GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const std::string item = std::string("ID_MAINMENU_LANGUAGE_") + names[i];
        EXPECT_EQ(list.GetItemAt(i)->GetName(), item);
        auto* row = static_cast<uilib::CContainerUI*>(list.GetItemAt(i)->GetInterface("Container"));
        ASSERT_TRUE(row && row->GetCount() == 1);
        EXPECT_EQ(row->GetItemAt(0)->GetText(), texts[i]);
        EXPECT_EQ(menus->IsChecked(item), i == 3) << item;
    }
}

TEST_F(LanguageTest, ChosenLanguageWordsTheQuestionsAndKeyNames) {
    Start();
    window_->RunMenuCommand("ID_MAINMENU_LANGUAGE_de");
    // An empty translation keeps the English text; the title has its own.
    window_->Dialogs().AskQuestion(0, "");
    CQuestionWnd* question = window_->Dialogs().Question();
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->FindControl("ID_TITLE")->GetText(), "Wiedergabeliste leeren");
    EXPECT_EQ(question->FindControl("ID_TEXT")->GetText(), "Are you sure you want to clear play list?");
    // The key's owner by its translated name, put in the first "%s" only.
    window_->Dialogs().AskQuestion(3, HotkeyTable::LocalDisplayName("Un-Zoom"));
    EXPECT_EQ(window_->Dialogs().Question()->FindControl("ID_TEXT")->GetText(),
              "%n %d Die Taste hat schon \"Verkleinern\" %s");
    // Without a translation the action keeps the words it has in English.
    EXPECT_EQ(HotkeyTable::LocalDisplayName("Mute"), "Mute");
    EXPECT_EQ(HotkeyTable::LocalDisplayName("Zoom"), "Zoom in");
}

}  // namespace
}  // namespace orvella
