// The string table of a language folder, the rule for the stored language, and the
// English file against the texts the code uses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "engine/CmdMplayer.h"
#include "hotkeys/HotkeyTable.h"
#include "library/LanguageFolders.h"
#include "library/LocalStrings.h"
#include "tests/library/GermanStrings.h"
#include "tests/library/SettingsTestSupport.h"
#include "ui/AboutWnd.h"
#include "ui/QuestionTexts.h"

namespace orvella {
namespace {

using orvella_test::kGermanStrings;
using orvella_test::Utf16WithMark;

TEST(LocalStringsTest, TranslationsAndWhatKeepsEnglish) {
    enum Form { None, Utf8, Utf16 };
    const struct {
        Form form;
        int number;         // -1: the action's name is looked up
        const char* asked;  // the English text, or the action
        const char* answer;
    } cases[] = {
        {Utf8, 0, "Incorrect format", "Falsches Format"}, {Utf16, 0, "Incorrect format", "Falsches Format"},
        {Utf8, 1, "Empty", "Empty"}, {Utf8, 2, "No attribute", "No attribute"}, {Utf8, 12, "No element", "No element"},
        {None, 0, "Incorrect format", "Incorrect format"}, {Utf8, 9, "x", "%n %d Taste \"%s\" %s"},
        {Utf16, -1, "Un-Zoom", "Verkleinern"}, {Utf8, -1, "Mute", "Mute"}, {Utf8, -1, "Stop", "Stop"},
        {None, -1, "Un-Zoom", "Un-Zoom"},
    };
    orvella_test::TempFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.File("strings.xml");
        std::filesystem::remove(path);
        if (c.form != None) std::ofstream(path, std::ios::binary) << (c.form == Utf8 ? kGermanStrings : Utf16WithMark(kGermanStrings));
        CLocalStrings table;
        EXPECT_EQ(table.Load(path), c.form != None);
        EXPECT_EQ(c.number < 0 ? table.ActionName(c.asked) : table.String(c.number, c.asked), c.answer)
            << c.number << " " << c.asked << " " << c.form;
    }
}

TEST(LocalStringsTest, StoredLanguageIsOneOfTheFolders) {
    const std::vector<std::string> folders{"de", "eng", "pt", "pt_BR"};
    const struct {
        const char* value;
        const char* used;
    } cases[] = {{"de", "de"}, {"pt_BR", "pt_BR"}, {"../x", "eng"}, {"a/b", "eng"}, {"a\\b", "eng"},
                 {"..", "eng"}, {"", "eng"},       {"nonexistent", "eng"}, {"fra", "eng"}};
    for (const auto& c : cases) EXPECT_EQ(UsableLanguage(c.value, folders), c.used) << c.value;
}

// Each text the code words in English is message n of the English file, word for word, and
// every keyboard action has its element there: a new text cannot be left out.
TEST(LocalStringsTest, EnglishFileHoldsEveryTextTheCodeUses) {
    const std::string source = ORVELLA_SOURCE_DIR;
    for (const char* skin : {"skin", "skin_classic"}) {
        const std::string path = source + "/data/" + skin + "/language/eng/strings.xml";
        CLocalStrings english;
        ASSERT_TRUE(english.Load(path)) << path;
        auto word = [&](int n) { return english.String(n, "(missing)"); };
        const std::regex use(R"re(LocalString\((\d+),\s*"((?:[^"\\]|\\.)*)")re");
        int uses = 0;
        for (const char* folder : {"app", "ui", "hotkeys", "library"}) {
            for (const auto& entry : std::filesystem::directory_iterator(source + "/" + folder)) {
                std::ifstream in(entry.path());
                const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                for (std::sregex_iterator m(text.begin(), text.end(), use), end; m != end; ++m, ++uses) {
                    const std::string literal = std::regex_replace((*m)[2].str(), std::regex(R"(\\(.))"), "$1");
                    EXPECT_EQ(word(std::stoi((*m)[1])), literal) << entry.path();
                }
            }
        }
        EXPECT_GT(uses, 25);
        for (int kind = 0; kind <= kDamagedSettingsQuestion; ++kind) {
            if (const QuestionPrompt* p = FindQuestionPrompt(kind)) {
                EXPECT_EQ(word(p->titleString) + word(p->textString), std::string(p->title) + p->text);
                EXPECT_EQ(word(p->okString) + word(p->cancelString),
                          p->okText ? std::string(p->okText) + p->cancelText : "(missing)(missing)");
            }
        }
        for (int i = 0; i < 4; ++i) EXPECT_EQ(word(33 + i), kEngineEndTexts[i]);
        EXPECT_EQ(word(52), kAboutLegalNotice);
        for (const HotkeyAction& action : HotkeyTable::Actions())
            EXPECT_EQ(english.ActionName(action.name, "(missing)"), action.label) << action.name;
    }
}

}  // namespace
}  // namespace orvella
