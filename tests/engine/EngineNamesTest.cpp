#include "engine/EngineNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvella {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

TEST(EngineNames, AliasesArePrivateLinksGoneWithTheirPlayer) {
    char parent[] = "/tmp/orvella-aliases-XXXXXX";
    ASSERT_NE(::mkdtemp(parent), nullptr);
    const std::string base = parent, media = "/films/a\nID_EXIT=EOF\n.mkv";
    std::string folder;
    {
        AliasFolder aliases(base);
        const std::string alias = aliases.Alias(media);
        folder = aliases.Folder();
        EXPECT_EQ(alias, folder + "/1.mkv");
        char target[256] = {};
        EXPECT_EQ(std::string(target, std::max<ssize_t>(0, ::readlink(alias.c_str(), target, 255))), media);
        EXPECT_EQ(aliases.Alias(media), alias);  // a relaunch reuses it
        EXPECT_EQ(aliases.Alias("/films/b\n.x y"), folder + "/2");
        struct stat info {};
        EXPECT_TRUE(::stat(folder.c_str(), &info) == 0 && (info.st_mode & 0777) == 0700);
    }
    EXPECT_FALSE(Exists(folder));
    // A crashed player's folder goes at the next start; a running one's stays.
    const std::string stale = base + "/orvella-names-2147483647-a";  // no such process
    const std::string running = base + "/orvella-names-" + std::to_string(::getppid()) + "-a";
    for (const std::string& path : {stale, running}) ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(media.c_str(), (stale + "/1").c_str()), 0);
    AliasFolder::RemoveStale(base);
    EXPECT_FALSE(Exists(stale));
    EXPECT_EQ(::rmdir(running.c_str()), 0);
    EXPECT_EQ(::rmdir(parent), 0);
}

}  // namespace
}  // namespace orvella
