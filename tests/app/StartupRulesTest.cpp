#include "app/StartupRules.h"
#include "ui/SkinWindow.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace orvella {
namespace {

TEST(StartupRules, ProgramVersionParts) {
    struct Case {
        const char* text;
        int major, minor, build;
    } cases[] = {
        {"1.2.3", 1, 2, 3},   {"10.20.300", 10, 20, 300}, {"2", 2, 0, 0},
        {"4.5", 4, 5, 0},     {"1.x.7", 1, 0, 7},         {"", 0, 0, 0},
        {"1.2.3.4", 1, 2, 3},  // the rest after the second dot reads as far as it is a number
    };
    for (const auto& c : cases) {
        ProgramVersion v = ParseProgramVersion(c.text);
        EXPECT_EQ(v.major, c.major) << c.text;
        EXPECT_EQ(v.minor, c.minor) << c.text;
        EXPECT_EQ(v.build, c.build) << c.text;
    }
}

TEST(StartupRules, LanguageFromLocale) {
    struct Case {
        const char *all, *messages, *lang, *expected;
    } cases[] = {
        {nullptr, nullptr, "zh_CN.UTF-8", "chn"},
        {nullptr, nullptr, "zh_TW.UTF-8", "eng"},
        {nullptr, nullptr, "en_GB.UTF-8", "eng"},
        {nullptr, nullptr, "de_AT.UTF-8", "de"},
        {nullptr, nullptr, "de", "de"},
        {nullptr, nullptr, "ja_JP.UTF-8", "jpn"},
        {nullptr, nullptr, "fr_FR.UTF-8", "eng"},
        {nullptr, nullptr, "C", "eng"},
        {nullptr, nullptr, nullptr, "eng"},
        {nullptr, nullptr, "eo", "eng"},          // Esperanto is not English
        {nullptr, nullptr, "deu_XX", "eng"},      // a prefix must end at a separator
        {"ja_JP.UTF-8", "de_DE.UTF-8", "en_US", "jpn"},  // LC_ALL wins
        {"", "de_DE.UTF-8", "en_US", "de"},              // empty values are skipped
        {nullptr, nullptr, "de_DE@euro", "de"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageFromLocale(c.all, c.messages, c.lang), c.expected)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(StartupRules, LayoutPathBySkinIndex) {
    EXPECT_EQ(LayoutPath("/opt/orvella/", 0, "eng", "main.xml"),
              "/opt/orvella/skin_classic/language/eng/main.xml");
    EXPECT_EQ(LayoutPath("/opt/orvella/", 1, "de", "main.xml"),
              "/opt/orvella/skin/language/de/main.xml");
    EXPECT_EQ(LayoutPath("/opt/orvella/", 2, "eng", "main.xml"), "");
    EXPECT_EQ(LayoutPath("/opt/orvella/", -1, "eng", "main.xml"), "");
}

TEST(StartupRules, DataAndScreenshotFolders) {
    EXPECT_EQ(DataFolderPath("/x/config", "/home/u"), "/x/config/Orvella");
    EXPECT_EQ(DataFolderPath("/x/config/", "/home/u"), "/x/config/Orvella");
    EXPECT_EQ(DataFolderPath(nullptr, "/home/u"), "/home/u/.config/Orvella");
    EXPECT_EQ(DataFolderPath("", "/home/u"), "/home/u/.config/Orvella");
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    EXPECT_EQ(DataFolderPath("rel/dir", "/home/u"), "/home/u/.config/Orvella");
    EXPECT_EQ(ScreenshotFolderPath("/home/u/Bilder"), "/home/u/Bilder/Orvella");
    EXPECT_EQ(ScreenshotFolderPath("/home/u/Bilder//"), "/home/u/Bilder/Orvella");
    EXPECT_EQ(ScreenshotFolderPath("/"), "/Orvella");
}

TEST(StartupRules, MakeFoldersCreatesParentsAndAcceptsExisting) {
    char tmpl[] = "/tmp/orvella-folders-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string deep = std::string(tmpl) + "/a b/$c/'d'/Orvella";
    EXPECT_TRUE(MakeFolders(deep));
    struct stat st {};
    EXPECT_EQ(stat(deep.c_str(), &st), 0);
    EXPECT_TRUE(MakeFolders(deep));  // again: fine
    std::string file = std::string(tmpl) + "/plain";
    FILE* f = fopen(file.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_FALSE(MakeFolders(file + "/below"));  // a file in the way
    EXPECT_FALSE(MakeFolders(""));
    std::string cmd = std::string("rm -rf '") + tmpl + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
}

TEST(CommandLine, OnlyALoneVersionOrHelpIsAnsweredAndADoubleDashEndsOptions) {
    using Args = std::vector<std::string>;
    struct Row { Args given; CommandLineAsk ask; Args files; };
    const Row rows[] = {
        {{"--version"}, CommandLineAsk::Version, {"--version"}},
        {{"--help"}, CommandLineAsk::Help, {"--help"}},
        {{"-h"}, CommandLineAsk::Help, {"-h"}},
        {{"a.mp4", "--version"}, CommandLineAsk::Run, {"a.mp4", "--version"}},
        {{"--", "--version"}, CommandLineAsk::Run, {"--version"}},
        {{"--", "-odd.mp4", "--"}, CommandLineAsk::Run, {"-odd.mp4", "--"}},
        {{"-odd.mp4"}, CommandLineAsk::Run, {"-odd.mp4"}},
        {{}, CommandLineAsk::Run, {}},
    };
    for (const Row& row : rows) {
        Args args = row.given;
        EXPECT_EQ(ReadCommandLine(&args), row.ask) << ::testing::PrintToString(row.given);
        EXPECT_EQ(args, row.files) << ::testing::PrintToString(row.given);
    }
    EXPECT_EQ(CommandLineAnswer(CommandLineAsk::Version), std::string("Orvella ") + ORVELLA_VERSION + "\n");
    EXPECT_NE(CommandLineAnswer(CommandLineAsk::Help).find("--version"), std::string::npos);
}

}  // namespace
}  // namespace orvella
