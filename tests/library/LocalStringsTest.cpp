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
#include "library/XmlDocument.h"
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
    // A translation is no format: only its first "%s" takes the value.
    EXPECT_EQ(FillPlaceholder("%n %d Taste \"%s\" %s", "Mute %d"), "%n %d Taste \"Mute %d\" %s");
}

TEST(LocalStringsTest, StoredLanguageIsOneOfTheFolders) {
    orvella_test::TempFolder program;
    for (const char* name : {"pt_BR", "eng", "de", "pt"})
        std::filesystem::create_directories(LanguagesFolder(program.path() + "/", 1) + name);
    std::ofstream(LanguagesFolder(program.path() + "/", 1) + "notes.txt") << "not a language";
    const std::vector<std::string> folders = LanguageFolderNames(LanguagesFolder(program.path() + "/", 1));
    EXPECT_EQ(folders, (std::vector<std::string>{"de", "eng", "pt", "pt_BR"}));
    const struct {
        const char* value;
        const char* used;
    } cases[] = {{"de", "de"}, {"pt_BR", "pt_BR"}, {"../x", "eng"}, {"a/b", "eng"}, {"a\\b", "eng"},
                 {"..", "eng"}, {"", "eng"},       {"nonexistent", "eng"}, {"fra", "eng"}};
    for (const auto& c : cases) EXPECT_EQ(UsableLanguage(c.value, folders), c.used) << c.value;
    EXPECT_EQ(UsableLanguageOf("pt_BR", program.path() + "/", 0), "eng");  // the classic skin has none
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
            const QuestionPrompt* p = FindQuestionPrompt(kind);
            if (!p) continue;
            EXPECT_EQ(word(p->titleString), p->title);
            EXPECT_EQ(word(p->textString), p->text);
            if (p->okText) EXPECT_EQ(word(p->okString), p->okText);
            if (p->cancelText) EXPECT_EQ(word(p->cancelString), p->cancelText);
        }
        for (int i = 0; i < 4; ++i) EXPECT_EQ(word(33 + i), kEngineEndTexts[i]);
        EXPECT_EQ(word(52), kAboutLegalNotice);
        XmlDocument document;
        ASSERT_TRUE(document.Open(path));
        for (const HotkeyAction& action : HotkeyTable::Actions()) {
            std::string name;
            EXPECT_EQ(document.GetAttribute(std::string("root/hotkey/") + action.name, "string", &name), 0);
            EXPECT_EQ(name, action.label) << action.name;
        }
    }
}

}  // namespace
}  // namespace orvella
