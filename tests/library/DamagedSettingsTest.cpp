// A settings file that cannot be read whole: it is kept beside the new one, what was read
// whole before the damage is salvaged, and the user is told once.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hotkeys/HotkeyTable.h"
#include "library/PlayerSettings.h"
#include "tests/library/SettingsRecorder.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::PlayMemoryHost;
using orvella_test::ReadBytes;
using orvella_test::TempFolder;
using orvella_test::Utf16;
using orvella_test::Utf8FromUtf16;
using orvella_test::WriteBytes;

constexpr size_t kEntries = 20;
PlayerSettings Defaults() { return PlayerSettings("/pictures", "eng"); }

// What one start read: the play list, two keys with values other than their defaults and
// one rebound key.
struct Start {
    size_t entries = 0;
    int volume = 0;
    bool keepsize = true;
    HotkeyCode pause = 0;
    std::vector<std::string> told;
};

Start StartUp(const std::string& folder, bool close = true) {
    PlayerSettings settings = Defaults();
    PlayMemoryHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    settings.ReadEarly(folder);
    settings.ReadFull(folder, hotkeys, host);
    if (close) {
        EXPECT_TRUE(settings.Write(folder, hotkeys, host));
    }
    return {host.list.Count(), settings.volume, settings.keepsize, hotkeys.Code("Pause"), host.told};
}

// The file a run with a 20-entry play list, volume 80, keepsize off and Pause on "P"
// writes, as UTF-8 text (every character ASCII).
std::string StoredText() {
    TempFolder folder;
    PlayerSettings settings = Defaults();
    settings.volume = 80;
    settings.keepsize = false;
    PlayMemoryHost host;
    std::vector<PlaylistItem> items(kEntries);
    for (size_t i = 0; i < kEntries; ++i) {
        items[i].filename = "/v/" + std::to_string(i) + ".avi";
        items[i].shortname = std::to_string(i) + ".avi";
    }
    host.list.AppendAll(items, false);
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    hotkeys.SetCode("Pause", 'P');
    EXPECT_TRUE(settings.Write(folder.path(), hotkeys, host));
    return Utf8FromUtf16(ReadBytes(PlayerSettings::FilePath(folder.path())));
}

std::string Inserted(std::string text, const std::string& before, const std::string& what) {
    return text.insert(text.find(before), what);
}

std::string Replaced(std::string text, const std::string& what, const std::string& by) {
    return text.replace(text.find(what), what.size(), by);
}

TEST(DamagedSettings, AreKeptAsideSalvagedAndToldOnce) {
    const std::string text = StoredText();
    const std::string file = Utf16(text);
    ASSERT_NE(text.find("count=\"20\""), std::string::npos);
    std::string flipped = file;  // the closing quote of the eighth entry's file name
    flipped[2 + 2 * text.find('"', text.find("filename=\"/v/7.avi") + 10)] ^= 1;
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<a>";
    for (int i = 0; i < 200000; ++i) deep += "</a>";
    const HotkeyCode pause = HotkeyTable::Defaults().Code("Pause");
    const int volume = Defaults().volume;
    const bool keepsize = Defaults().keepsize;
    struct Case {
        const char* what;
        std::string bytes;
        bool damaged;
        size_t entries;
        int volume;
        bool keepsize;
        HotkeyCode pause;
    } cases[] = {
        {"a byte flipped", flipped, true, 7, volume, keepsize, pause},
        {"truncated", Utf16(text.substr(0, text.find("mute=") + 3)), true, kEntries, 80, false, pause},
        {"a NUL", Utf16(Inserted(text, "\n\t<Hotkey", std::string(1, '\0'))), true, kEntries, 80, false, pause},
        {"text after the root", Utf16(text + "junk"), true, kEntries, 80, false, 'P'},
        {"two roots", Utf16(text + "<root><Player volume=\"5\"/></root>"), true, kEntries, 80, false, 'P'},
        {"nested 200,000 deep", Utf16(Inserted(text, "<Hotkey", deep)), true, kEntries, 80, false, pause},
        {"count below the entries", Utf16(Replaced(text, "count=\"20\"", "count=\"1\"")), false, kEntries, 80, false, 'P'},
        {"count above the entries", Utf16(Replaced(text, "count=\"20\"", "count=\"50\"")), false, kEntries, 80, false, 'P'},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = PlayerSettings::FilePath(folder.path());
        WriteBytes(path, c.bytes);
        Start first = StartUp(folder.path());
        EXPECT_EQ(first.entries, c.entries) << c.what;
        EXPECT_EQ(first.volume, c.volume) << c.what;
        EXPECT_EQ(first.keepsize, c.keepsize) << c.what;
        EXPECT_EQ(first.pause, c.pause) << c.what;
        const std::vector<std::string> told =
            c.damaged ? std::vector<std::string>{path + ".damaged"} : std::vector<std::string>{};
        EXPECT_EQ(first.told, told) << c.what;
        if (c.damaged) {
            EXPECT_EQ(ReadBytes(path + ".damaged"), c.bytes) << c.what;
        }

        // The next start finds what was salvaged and has nothing more to tell.
        Start next = StartUp(folder.path(), false);
        EXPECT_EQ(next.entries, c.entries) << c.what;
        EXPECT_EQ(next.volume, c.volume) << c.what;
        EXPECT_TRUE(next.told.empty()) << c.what;
        EXPECT_EQ(folder.Names().size(), c.damaged ? 2u : 1u) << c.what;
    }
}

TEST(DamagedSettings, TheNewestThreeCopiesAreKeptAndAFileThatCannotMoveStays) {
    TempFolder folder;
    const std::string path = PlayerSettings::FilePath(folder.path());
    for (char c : std::string("abcd")) {
        WriteBytes(path, std::string(1, c));
        EXPECT_EQ(StartUp(folder.path()).told, std::vector<std::string>{path + ".damaged"});
    }
    EXPECT_EQ(ReadBytes(path + ".damaged"), "d");
    EXPECT_EQ(ReadBytes(path + ".damaged.1"), "c");
    EXPECT_EQ(ReadBytes(path + ".damaged.2"), "b");
    EXPECT_EQ(folder.Names().size(), 4u);

    // A damaged file that happens to be there at the close is kept too.
    WriteBytes(path, "e");
    SettingsHost host;
    ASSERT_TRUE(Defaults().Write(folder.path(), HotkeyTable::Defaults(), host));
    EXPECT_EQ(ReadBytes(path + ".damaged"), "e");

    // Where it cannot be moved (a folder in the way of its copy), it is neither replaced
    // nor read, and the user is told where it stays.
    TempFolder blocked;
    const std::string stuck = PlayerSettings::FilePath(blocked.path());
    WriteBytes(stuck, "f");
    for (const char* place : {".damaged", ".damaged.1", ".damaged.2"}) {
        std::filesystem::create_directories(stuck + place + "/x");
    }
    EXPECT_EQ(StartUp(blocked.path(), false).told, std::vector<std::string>{stuck});
    EXPECT_FALSE(Defaults().Write(blocked.path(), HotkeyTable::Defaults(), host));
    EXPECT_EQ(ReadBytes(stuck), "f");
}

TEST(SettingsStart, RemovesTheTemporaryFilesOfKilledSavesOnly) {
    pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    pid_t same = ::fork();  // a live process of this program, as if saving
    if (same == 0) {
        ::pause();
        ::_exit(0);
    }
    pid_t other = 0;  // a live process of another program
    const char* sleepArgs[] = {"sleep", "60", nullptr};
    ASSERT_EQ(::posix_spawnp(&other, "sleep", nullptr, nullptr, const_cast<char**>(sleepArgs), environ), 0);

    TempFolder folder;
    auto name = [](pid_t pid, const std::string& rest) { return ".settings.xml." + std::to_string(pid) + rest; };
    const std::vector<std::string> stale = {name(dead, "-0-123456.tmp"), name(other, "-17-9.tmp")};
    std::vector<std::string> kept = {
        name(same, "-0-1.tmp"), name(::getpid(), "-3-4.tmp"), ".list.orv." + std::to_string(dead) + "-0-1.tmp",
        name(dead, "-0.tmp"), name(dead, "-0-1.tmp.part"), "settings.xml." + std::to_string(dead) + "-0-1.tmp",
        ".settings.xml.x-0-1.tmp", "settings.xml.damaged"};
    for (const std::string& file : stale) WriteBytes(folder.File(file), "half a save");
    for (const std::string& file : kept) WriteBytes(folder.File(file), "kept");

    PlayerSettings settings = Defaults();
    SettingsHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    settings.ReadFull(folder.path(), hotkeys, host);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.Names(), kept);

    ::kill(same, SIGKILL);
    ::kill(other, SIGKILL);
    ::waitpid(same, nullptr, 0);
    ::waitpid(other, nullptr, 0);
}

}  // namespace
}  // namespace orvella
