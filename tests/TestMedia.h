// The media the engine tests play, made once per test run by tests/media/make_test_media.sh
// into the build folder (kept between runs: the script skips what exists).
#pragma once

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <mutex>
#include <string>

extern char** environ;

namespace orvella_test {

// The README's test command sets ORVELLA_REQUIRE_ALL=1: there a missing engine, ffmpeg or
// test tool fails the test instead of skipping it, so a run can never pass without them.
inline bool RequireAll() {
    const char* v = std::getenv("ORVELLA_REQUIRE_ALL");
    return v && std::string(v) == "1";
}

inline const std::string& TestMediaFolder() {
    static std::string folder;
    static std::once_flag once;
    std::call_once(once, [] {
        std::string target = std::string(ORVELLA_BINARY_DIR) + "/test-media";
        std::string script = std::string(ORVELLA_SOURCE_DIR) + "/tests/media/make_test_media.sh";
        char* argv[] = {const_cast<char*>("bash"), script.data(), target.data(), nullptr};
        pid_t pid = 0;
        int status = -1;
        if (posix_spawnp(&pid, "bash", nullptr, nullptr, argv, environ) == 0 &&
            waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            folder = target + "/";
        }
    });
    return folder;  // empty when the media could not be made
}

}  // namespace orvella_test

// Skips the test (or fails it where everything is required) with the reason given.
#define ORVELLA_SKIP_OR_FAIL(why)                                              \
    do {                                                                      \
        if (orvella_test::RequireAll()) {                                     \
            GTEST_FAIL() << why << " (required: ORVELLA_REQUIRE_ALL=1)";      \
        } else {                                                              \
            GTEST_SKIP() << why;                                              \
        }                                                                     \
    } while (0)
