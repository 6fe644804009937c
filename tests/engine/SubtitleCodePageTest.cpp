// The code page a subtitle file is read in: decided from its first bytes, and checked
// against what the real engine makes of the file with it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "engine/SubtitleCodePage.h"
#include "tests/TestMedia.h"

extern char** environ;

namespace orvella {
namespace {

const std::string kText = "\xC3\x9Cn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9";  // "Ünïcödé"
const std::string kLatin1 = "\xDCn\xEF" "c\xF6" "d\xE9";
const std::string kCue = "1\n00:00:00,000 --> 00:00:05,000\n";

std::string Utf16(const std::string& ascii, bool bigEndian) {
    std::string out;
    for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

TEST(SubtitleCodePage, TheFileSaysElseTheSetting) {
    const struct {
        const char* what;
        std::string head;
        const char* expected;
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + kCue + kLatin1, "UTF-8"},
        {"UTF-16LE mark", "\xFF\xFE" + Utf16("1\n", false), "UTF-16LE"},
        {"UTF-16BE mark", "\xFE\xFF" + Utf16("1\n", true), "UTF-16BE"},
        {"valid UTF-8", kCue + kText + "\n", "UTF-8"},
        {"UTF-8 cut inside its last character", kCue + kText.substr(0, kText.size() - 1), "UTF-8"},
        {"Latin-1 bytes", kCue + kLatin1 + "\n", "CP1252"},
        {"UTF-8 then a Latin-1 byte", kText + kLatin1, "CP1252"},
        {"overlong slash", "a\xC0\xAF", "CP1252"},
        {"surrogate", "a\xED\xA0\x80", "CP1252"},
        {"plain ASCII", kCue + "plain\n", "CP1252"},
        {"empty file", "", "CP1252"},
    };
    for (const auto& c : cases) EXPECT_EQ(SubtitleCodePage(c.head, "CP1252"), c.expected) << c.what;
    // A file that cannot be read says nothing.
    EXPECT_EQ(SubtitleCodePage(ReadFileHead("/nonexistent/x.srt"), "UTF-16"), "UTF-16");
}

// The real engine reads each file with the code page decided for it: it writes what it
// read to "dumpsub.srt" in its working folder.
TEST(SubtitleCodePage, TheRealEngineReadsEachFileRight) {
    const std::string& media = orvella_test::TestMediaFolder();
    if (media.empty()) ORVELLA_SKIP_OR_FAIL("test media could not be made (ffmpeg?)");
    const std::string engine = std::string(ORVELLA_BINARY_DIR) + "/gnu/mplayer";
    char pattern[] = "/tmp/orvella-subcp-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    const struct {
        const char* name;
        std::string bytes;
        const char* setting;
    } files[] = {
        {"utf8.srt", kCue + kText + "\n", "UTF-16"},
        {"utf8_under_cp1251.srt", kCue + kText + "\n", "CP1251"},
        {"mark_utf8.srt", "\xEF\xBB\xBF" + kCue + kText + "\n", "ISO-8859-1"},
        {"latin1.srt", kCue + kLatin1 + "\n", "ISO-8859-1"},
        {"mark_utf16le.srt", "\xFF\xFE" + Utf16(kCue, false) + std::string("\xDC\0n\0\xEF\0" "c\0\xF6\0" "d\0\xE9\0\n\0", 16), "CP1251"},
    };
    for (const auto& f : files) {
        const std::string path = folder + "/" + f.name;
        std::ofstream(path, std::ios::binary) << f.bytes;
        const std::string codePage = SubtitleCodePage(ReadFileHead(path), f.setting);
        std::remove((folder + "/dumpsub.srt").c_str());
        std::vector<std::string> args = {engine, "-really-quiet", "-nolirc", "-vo", "null", "-ao", "null",
                                         media + "video.mp4", "-sub", path, "-subcp", codePage, "-dumpsrtsub"};
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        int status = 0;
        ASSERT_EQ(posix_spawn(&pid, engine.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        waitpid(pid, &status, 0);
        std::ifstream dump(folder + "/dumpsub.srt");
        std::string line, third;
        for (int n = 0; n < 3 && std::getline(dump, line); ++n) third = line;
        EXPECT_EQ(third, kText) << f.name << " read as " << codePage;
        std::remove(path.c_str());
    }
    std::remove((folder + "/dumpsub.srt").c_str());
    rmdir(folder.c_str());
}

}  // namespace
}  // namespace orvella
