#include "library/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::ReadBytes;
using orvella_test::TempFolder;
using orvella_test::WriteBytes;

using Names = std::vector<std::string>;

TEST(AtomicFile, WritesNewAndReplacesOldFilesLeavingNothingElse) {
    TempFolder folder;
    const std::string path = folder.File("settings.xml");
    std::string binary("a\0b\xFF", 4);
    ASSERT_TRUE(WriteFileAtomically(path, binary));
    EXPECT_EQ(ReadBytes(path), binary);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadBytes(path), "new");
    ASSERT_TRUE(WriteFileAtomically(path, ""));
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(folder.Names(), Names{"settings.xml"});
}

TEST(AtomicFile, KeepsTheModeOfTheFileItReplaces) {
    TempFolder folder;
    const std::string path = folder.File("list.xml");
    WriteBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(AtomicFile, ReplacesTheFileALinkPointsToAndKeepsTheLink) {
    TempFolder folder;
    WriteBytes(folder.File("real.xml"), "old");
    ASSERT_EQ(::symlink("real.xml", folder.File("link.xml").c_str()), 0);
    ASSERT_TRUE(WriteFileAtomically(folder.File("link.xml"), "new"));
    struct stat st {};
    ASSERT_EQ(::lstat(folder.File("link.xml").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(folder.File("real.xml")), "new");
    EXPECT_EQ(folder.Names(), (Names{"link.xml", "real.xml"}));
}

TEST(AtomicFile, FailuresLeaveTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/a.xml"), "x"));
    EXPECT_FALSE(WriteFileAtomically("", "x"));
    EXPECT_FALSE(WriteFileAtomically(folder.path() + "/", "x"));
    // A folder where the file should be: the rename fails, the folder stays as it was.
    ASSERT_EQ(::mkdir(folder.File("taken").c_str(), 0700), 0);
    WriteBytes(folder.File("taken/inside"), "keep");
    EXPECT_FALSE(WriteFileAtomically(folder.File("taken"), "x"));
    EXPECT_EQ(ReadBytes(folder.File("taken/inside")), "keep");
    EXPECT_EQ(folder.Names(), Names{"taken"});
}

TEST(AtomicFile, ReadWholeFileReadsOnlyRegularFiles) {
    TempFolder folder;
    std::string big(300000, 'x');
    big[123456] = '\0';
    WriteBytes(folder.File("big"), big);
    std::string bytes = "untouched";
    ASSERT_TRUE(ReadWholeFile(folder.File("big"), &bytes));
    EXPECT_EQ(bytes, big);
    bytes = "untouched";
    EXPECT_FALSE(ReadWholeFile(folder.File("missing"), &bytes));
    EXPECT_FALSE(ReadWholeFile(folder.path(), &bytes));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(ReadWholeFile(folder.File("fifo"), &bytes));
    EXPECT_EQ(bytes, "untouched");
}

}  // namespace
}  // namespace orvella
