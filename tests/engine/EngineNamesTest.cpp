#include "engine/EngineNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvella {
namespace {

std::string LinkTarget(const std::string& link) {
    char buffer[4096];
    const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

TEST(EngineNames, ControlCharactersAreFoundAndEscapedInAddresses) {
    for (const char* text : {"a\nb", "a\rb", "\tx", "x\x1b", "x\x7f"}) EXPECT_TRUE(HasControlCharacter(text)) << text;
    for (const char* text : {"", "plain $x \"q\" -v.mp4", "caf\xC3\xA9\xFF"}) EXPECT_FALSE(HasControlCharacter(text)) << text;
    EXPECT_EQ(EscapeControlCharacters("http://h/a\r\nID_EXIT=1\x7f"), "http://h/a%0D%0AID_EXIT=1%7F");
}

TEST(EngineNames, AliasesArePrivatePlainLinksGoneWithTheFolder) {
    char parent[] = "/tmp/orvella-aliases-XXXXXX";
    ASSERT_NE(::mkdtemp(parent), nullptr);
    std::string folder;
    {
        AliasFolder aliases(parent);
        const std::string media = "/films/a\nID_EXIT=EOF\n.mkv";
        const std::string alias = aliases.Alias(media);
        folder = aliases.Folder();
        EXPECT_EQ(alias, folder + "/1.mkv");
        EXPECT_EQ(LinkTarget(alias), media);
        EXPECT_EQ(aliases.Alias(media), alias);  // a relaunch reuses it
        EXPECT_EQ(aliases.Alias("/films/b\n.x y"), folder + "/2");
        struct stat info {};
        ASSERT_EQ(::stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_FALSE(Exists(folder));

    // A crashed player's folder goes at the next start; a running one's stays.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = std::string(parent) + "/orvella-names-" + std::to_string(gone) + "-abc";
    const std::string running = std::string(parent) + "/orvella-names-" + std::to_string(::getppid()) + "-abc";
    const std::string other = std::string(parent) + "/orvella-other-" + std::to_string(gone) + "-abc";
    for (const std::string& path : {stale, running, other}) ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(::symlink("/films/x", (stale + "/1").c_str()), 0);
    AliasFolder::RemoveStale(parent);
    EXPECT_FALSE(Exists(stale));
    EXPECT_TRUE(Exists(running));
    EXPECT_TRUE(Exists(other));
    EXPECT_EQ(std::system(("rm -rf '" + std::string(parent) + "'").c_str()), 0);
}

}  // namespace
}  // namespace orvella
