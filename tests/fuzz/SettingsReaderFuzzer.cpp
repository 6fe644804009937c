// Fuzz entry for the settings reader: any bytes as "settings.xml" go through the early
// read, the full read with the play memory and a rewrite. Nothing is lost: the file is
// left as it was unless it was damaged, and then its copy holds its bytes; the rewritten
// file reads again as the same play list, keys and settings. Built into the test binary
// (driven by SettingsFuzzTest) and, under clang, into a libFuzzer binary.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "hotkeys/HotkeyTable.h"
#include "library/AtomicFile.h"
#include "library/PlayerSettings.h"
#include "library/XmlDocument.h"
#include "tests/library/SettingsRecorder.h"

namespace {

// One folder for the whole run, removed at exit. Never destroyed itself: the exit handler
// still needs its name after static objects are gone.
const std::string& FuzzFolder() {
    static const std::string& folder = *new std::string([] {
        // Every save flushes to disk; in memory the flushes cost nothing.
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/orvella-fuzz.XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        return std::string(::mkdtemp(name.data()) ? name.data() : "");
    }());
    static const bool cleanup = !folder.empty() &&
                                std::atexit([] { std::filesystem::remove_all(FuzzFolder()); }) == 0;
    (void)cleanup;
    return folder;
}

std::string Bytes(const std::string& path) {
    std::string bytes;
    orvella::ReadWholeFile(path, &bytes);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvella;
    const std::string& folder = FuzzFolder();
    if (folder.empty()) return 0;
    const std::string path = PlayerSettings::FilePath(folder);
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::filesystem::remove(path + ".damaged");
    if (!WriteFileAtomically(path, input)) return 0;

    // A file that does not open whole is damaged, and the user is told, once.
    const bool whole = XmlDocument().Open(path);
    PlayerSettings settings(folder, "eng");
    orvella_test::PlayMemoryHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    settings.ReadEarly(folder);
    settings.ReadFull(folder, hotkeys, host);
    if (host.told.size() != (whole ? 0u : 1u)) abort();
    if (host.told.empty() && Bytes(path) != input) abort();
    if (!host.told.empty() && (host.told.front() != path + ".damaged" || Bytes(host.told.front()) != input)) abort();
    if (!settings.Write(folder, hotkeys, host)) abort();
    const std::string written = Bytes(path);

    // Whatever was read, the file written from it is a whole settings file that reads back
    // as the same play list, keys and settings: written again, it is the same file.
    PlayerSettings again(folder, "eng");
    orvella_test::PlayMemoryHost hostAgain;
    HotkeyTable hotkeysAgain = HotkeyTable::Defaults();
    again.color = settings.color;
    again.ReadEarly(folder);
    if (!again.ReadFull(folder, hotkeysAgain, hostAgain) || !hostAgain.told.empty()) abort();
    if (!again.Write(folder, hotkeysAgain, hostAgain) || Bytes(path) != written) abort();
    return 0;
}
