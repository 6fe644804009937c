// Moving the engine's shots into the screenshot folder: names already there are kept, and
// a move to another file system copies.
#include "app/ScreenshotFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace orvella {
namespace {

std::string MakeTemp(const char* base) {
    std::string tmpl = std::string(base) + "/orvella-shots-XXXXXX";
    return mkdtemp(&tmpl[0]) ? tmpl : std::string();
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return in ? s.str() : std::string("<none>");
}

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

TEST(ScreenshotFiles, MovesUnderTheFirstFreeNameOnOneAndAcrossFileSystems) {
    const std::string engine = MakeTemp("/tmp");
    ASSERT_FALSE(engine.empty());
    // /dev/shm is another file system than /tmp on most machines; the same one works too.
    for (const char* base : {"/tmp", "/dev/shm"}) {
        const std::string shots = MakeTemp(base);
        if (shots.empty()) continue;
        SCOPED_TRACE(base);
        EXPECT_TRUE(IsFolder(shots));
        EXPECT_FALSE(SameFolder(engine, shots));
        EXPECT_TRUE(SameFolder(shots, shots + "/."));

        Write(engine + "/shot0001.png", "first");
        EXPECT_EQ(MoveShot(engine, 1, shots), 1);
        EXPECT_EQ(Read(shots + "/shot0001.png"), "first");
        EXPECT_FALSE(Exists(engine + "/shot0001.png"));

        // The next engine starts counting again: the shots already there stay.
        Write(shots + "/shot0002.png", "older");
        Write(engine + "/shot0001.png", "second");
        EXPECT_EQ(MoveShot(engine, 1, shots), 3);
        EXPECT_EQ(Read(shots + "/shot0001.png"), "first");
        EXPECT_EQ(Read(shots + "/shot0002.png"), "older");
        EXPECT_EQ(Read(shots + "/shot0003.png"), "second");

        // Nothing to move, or nowhere to move it: nothing happens.
        EXPECT_EQ(MoveShot(engine, 7, shots), 0);
        EXPECT_FALSE(Exists(shots + "/shot0007.png"));
        Write(engine + "/shot0004.png", "kept");
        EXPECT_EQ(MoveShot(engine, 4, shots + "/missing"), 0);
        EXPECT_EQ(Read(engine + "/shot0004.png"), "kept");
        std::remove((engine + "/shot0004.png").c_str());
        EXPECT_EQ(std::system(("rm -rf '" + shots + "'").c_str()), 0);
    }
    EXPECT_EQ(ShotFileName(12345), "shot12345.png");
    EXPECT_EQ(std::system(("rm -rf '" + engine + "'").c_str()), 0);
}

}  // namespace
}  // namespace orvella
