// A settings file that cannot be read whole is kept beside the new one, what was read whole
// before the damage is salvaged, and the user is told once; killed saves leave nothing.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "hotkeys/HotkeyTable.h"
#include "library/PlayerSettings.h"
#include "tests/library/SettingsRecorder.h"
#include "tests/library/SettingsTestSupport.h"

namespace orvella {
namespace {

using orvella_test::ReadBytes;
using orvella_test::Utf16;
using orvella_test::WriteBytes;
using Texts = std::vector<std::string>;

PlayerSettings Defaults() { return PlayerSettings("/pictures", "eng"); }

// What one start read (entries, volume, keepsize, the Pause key) and told.
using Read = std::tuple<size_t, int, bool, HotkeyCode>;
Read StartUp(const std::string& folder, Texts* told = nullptr, bool close = true) {
    PlayerSettings settings = Defaults();
    orvella_test::PlayMemoryHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    settings.ReadEarly(folder);
    settings.ReadFull(folder, hotkeys, host);
    EXPECT_TRUE(!close || settings.Write(folder, hotkeys, host));
    if (told) *told = host.told;
    return {host.list.Count(), settings.volume, settings.keepsize, hotkeys.Code("Pause")};
}

TEST(DamagedSettings, AreKeptAsideSalvagedAndToldOnce) {
    std::string text = "<?xml version='1.0' encoding='UTF-16'?>\n<root>\n\t<Media count=\"20\" current=\"0\">";
    for (int i = 0; i < 20; ++i) text += "\n\t<Data filename=\"/v/" + std::to_string(i) + ".avi\" starttime=\"9\"/>\n";
    text += "</Media>\n\t<Player keepsize=\"0\" volume=\"80\" mute=\"0\"/>\n\t<Hotkey><Pause virtualkey=\"80\"/></Hotkey>\n</root>\n";
    auto with = [&text](const char* at, const std::string& what, size_t replacing = 0) {
        std::string changed = text;
        return Utf16(changed.replace(changed.find(at), replacing, what));
    };
    std::string flipped = Utf16(text);  // the closing quote of the eighth entry's file name
    flipped[2 + 2 * text.find('"', text.find("/v/7.avi"))] ^= 1;
    std::string open, close;
    for (int i = 0; i < 200000; ++i) open += "<a>", close += "</a>";
    const HotkeyCode pause = HotkeyTable::Defaults().Code("Pause");
    const Read lostPlayer{7, Defaults().volume, Defaults().keepsize, pause}, all{20, 80, false, 'P'};
    const struct {
        const char* what;
        std::string bytes;
        bool damaged;
        Read read;
    } cases[] = {
        {"a byte flipped", flipped, true, lostPlayer},
        {"cut in a value", Utf16(text.substr(0, text.find("volume=\"8") + 9)), true, {20, 50, false, pause}},
        {"a NUL", with("\n\t<Hotkey", std::string(1, '\0')), true, {20, 80, false, pause}},
        {"text after the root", Utf16(text + "junk"), true, all},
        {"two roots", Utf16(text + "<root><Player volume=\"5\"/></root>"), true, all},
        {"nested 200,000 deep", with("\n\t<Hotkey", open + close), true, {20, 80, false, pause}},
        {"count below the entries", with("count=\"20\"", "count=\"1\"", 10), false, all},
        {"count above the entries", with("count=\"20\"", "count=\"50\"", 10), false, all},
    };
    for (const auto& c : cases) {
        orvella_test::TempFolder folder;
        const std::string path = PlayerSettings::FilePath(folder.path());
        WriteBytes(path, c.bytes);
        Texts told, toldNext;
        EXPECT_EQ(StartUp(folder.path(), &told), c.read) << c.what;
        EXPECT_EQ(told, c.damaged ? Texts{path + ".damaged"} : Texts{}) << c.what;
        EXPECT_EQ(ReadBytes(path + ".damaged"), c.damaged ? c.bytes : "") << c.what;
        // The next start finds what was salvaged and has nothing more to tell.
        EXPECT_EQ(StartUp(folder.path(), &toldNext, false), c.read) << c.what;
        EXPECT_EQ(toldNext, Texts{}) << c.what;
    }
}

TEST(DamagedSettings, TheNewestThreeCopiesStayAndAFileThatCannotMoveIsLeftAlone) {
    orvella_test::TempFolder folder, blocked;
    const std::string path = PlayerSettings::FilePath(folder.path()), stuck = PlayerSettings::FilePath(blocked.path());
    for (const char* bytes : {"a", "b", "c", "d"}) WriteBytes(path, bytes), StartUp(folder.path());
    WriteBytes(path, "e");  // damaged while the player ran: the close keeps it too
    SettingsHost host;
    ASSERT_TRUE(Defaults().Write(folder.path(), HotkeyTable::Defaults(), host));
    const Texts copies = {ReadBytes(path + ".damaged"), ReadBytes(path + ".damaged.1"), ReadBytes(path + ".damaged.2")};
    EXPECT_EQ(copies, (Texts{"e", "d", "c"}));
    EXPECT_EQ(folder.Names().size(), 4u);

    WriteBytes(stuck, "f");
    for (const char* place : {".damaged", ".damaged.1", ".damaged.2"})
        std::filesystem::create_directories(stuck + place + "/in the way");
    Texts told;
    StartUp(blocked.path(), &told, false);
    EXPECT_EQ(told, Texts{stuck});
    EXPECT_FALSE(Defaults().Write(blocked.path(), HotkeyTable::Defaults(), host));
    EXPECT_EQ(ReadBytes(stuck), "f");
}

TEST(SettingsStart, RemovesTheTemporaryFilesOfKilledSavesOnly) {
    pid_t dead = ::fork(), same = 0, other = 0;
    if (dead == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
    if ((same = ::fork()) == 0) ::pause(), ::_exit(0);  // this program, live, as if saving
    const char* sleeper[] = {"sleep", "60", nullptr};  // another program, live
    ASSERT_EQ(::posix_spawnp(&other, "sleep", nullptr, nullptr, const_cast<char**>(sleeper), environ), 0);
    auto name = [](pid_t pid, const char* rest) { return ".settings.xml." + std::to_string(pid) + rest; };
    Texts kept = {name(same, "-0-1.tmp"), name(::getpid(), "-3-4.tmp"), name(dead, "-0.tmp"), name(dead, "-0-1.tmp.x"),
                  ".list.orv." + std::to_string(dead) + "-0-1.tmp", ".settings.xml.x-0-1.tmp"};
    orvella_test::TempFolder folder;
    for (const std::string& file : kept) WriteBytes(folder.File(file), "kept");
    for (const std::string& file : {name(dead, "-0-123456.tmp"), name(other, "-17-9.tmp")}) WriteBytes(folder.File(file), "x");
    StartUp(folder.path(), nullptr, false);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(folder.Names(), kept);
    for (pid_t child : {same, other}) ::kill(child, SIGKILL), ::waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace orvella
