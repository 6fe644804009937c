// A process killed while it saves must leave either the old or the new settings file,
// complete, never a torn one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <random>
#include <string>

#include "hotkeys/HotkeyTable.h"
#include "library/PlayerSettings.h"
#include "library/SettingsHost.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::ReadBytes;
using orvella_test::TempFolder;

// Two settings that differ throughout and make a file of about a megabyte, so that a save
// takes long enough (some milliseconds) to be interrupted in the middle.
PlayerSettings Version(char fill, int volume) {
    PlayerSettings settings("/data", "eng");
    settings.snappath = std::string(1 << 18, fill);
    settings.background = std::string(1 << 17, fill);
    settings.volume = volume;
    return settings;
}

std::string FileOf(const PlayerSettings& settings) {
    TempFolder folder;
    SettingsHost host;
    EXPECT_TRUE(settings.Write(folder.path(), HotkeyTable::Defaults(), host));
    return ReadBytes(PlayerSettings::FilePath(folder.path()));
}

void SleepMicroseconds(long us) {
    timespec ts{us / 1000000, (us % 1000000) * 1000};
    while (::nanosleep(&ts, &ts) != 0) {
    }
}

TEST(SettingsCrash, AKilledSaveLeavesTheOldOrTheNewFile) {
    const PlayerSettings a = Version('a', 10), b = Version('b', 20);
    const std::string fileA = FileOf(a), fileB = FileOf(b);
    ASSERT_FALSE(fileA.empty());
    ASSERT_NE(fileA, fileB);

    TempFolder folder;
    const std::string path = PlayerSettings::FilePath(folder.path());
    SettingsHost host;
    ASSERT_TRUE(a.Write(folder.path(), HotkeyTable::Defaults(), host));

    std::mt19937 random(7);
    int interrupted = 0;
    const int kRuns = 40;
    for (int run = 0; run < kRuns; ++run) {
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves alternately until killed.
            SettingsHost childHost;
            for (unsigned i = 0;; ++i) {
                (i % 2 ? a : b).Write(folder.path(), HotkeyTable::Defaults(), childHost);
            }
        }
        SleepMicroseconds(std::uniform_int_distribution<long>(0, 40000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == fileA || now == fileB)
            << "run " << run << ": a torn file of " << now.size() << " bytes";
        // A kill in the middle leaves its temporary file, never the settings file itself.
        for (const std::string& name : folder.Names()) {
            if (name == "settings.xml") continue;
            ++interrupted;
            EXPECT_EQ(name.rfind(".settings.xml.", 0), 0u) << name;
            std::filesystem::remove(folder.File(name));
        }
    }
    std::cout << "[          ] " << interrupted << " of " << kRuns
              << " kills interrupted a save in the middle\n";
}

}  // namespace
}  // namespace orvella
