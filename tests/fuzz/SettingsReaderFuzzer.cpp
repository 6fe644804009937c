// Fuzz entry for the settings reader: any bytes as "settings.xml" go through the early
// read, the full read and a rewrite, and the rewritten file must read again. Built into the
// test binary (driven by SettingsFuzzTest) and, under clang, into a libFuzzer binary.
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
#include "library/SettingsHost.h"

namespace {

// One folder for the whole run, removed at exit. Never destroyed itself: the exit handler
// still needs its name after static objects are gone.
const std::string& FuzzFolder() {
    static const std::string& folder = *new std::string([] {
        std::string pattern = "/tmp/orvella-fuzz.XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        return std::string(::mkdtemp(name.data()) ? name.data() : "");
    }());
    static const bool cleanup = !folder.empty() &&
                                std::atexit([] { std::filesystem::remove_all(FuzzFolder()); }) == 0;
    (void)cleanup;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvella;
    const std::string& folder = FuzzFolder();
    if (folder.empty()) return 0;
    const std::string path = PlayerSettings::FilePath(folder);
    if (!WriteFileAtomically(path, std::string(reinterpret_cast<const char*>(data), size))) return 0;

    PlayerSettings settings(folder, "eng");
    SettingsHost host;
    HotkeyTable hotkeys = HotkeyTable::Defaults();
    settings.ReadEarly(folder);
    bool read = settings.ReadFull(folder, hotkeys, host);
    if (!settings.Write(folder, hotkeys, host)) abort();

    // Whatever was read, the file written from it is a valid settings file.
    PlayerSettings again(folder, "eng");
    HotkeyTable hotkeysAgain = HotkeyTable::Defaults();
    if (!again.ReadFull(folder, hotkeysAgain, host)) abort();
    if (hotkeysAgain != hotkeys) abort();
    (void)read;
    return 0;
}
