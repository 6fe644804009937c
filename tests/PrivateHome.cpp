// No test writes into the real home: before anything reads them, the configuration and
// data folders of the whole test program are private ones, removed at its end.
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace {

struct PrivateHome {
    std::string folder;
    PrivateHome() {
        char tmpl[] = "/tmp/orvella-home-XXXXXX";
        if (!mkdtemp(tmpl)) abort();
        folder = tmpl;
        setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    }
    ~PrivateHome() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
} privateHome;

}  // namespace
