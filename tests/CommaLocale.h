// A decimal-comma C locale for the length of a test, and a quiet program runner.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace orvella_test {

// Runs a program found on PATH with its output discarded; its exit status, -1 when it
// could not run or did not end normally.
inline int RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Switches LC_NUMERIC to a decimal-comma locale for its lifetime, building one with
// localedef in a scratch folder when none is installed.
class CommaLocale {
public:
    CommaLocale() {
        const char* before = std::setlocale(LC_NUMERIC, nullptr);
        m_saved = before ? before : "C";
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return;
        char pattern[] = "/tmp/orvella-locale-XXXXXX";
        if (!mkdtemp(pattern)) return;
        m_folder = pattern;
        if (RunProgram({"localedef", "-i", "de_DE", "-f", "UTF-8", m_folder + "/de_DE.UTF-8"}) != 0)
            return;
        setenv("LOCPATH", m_folder.c_str(), 1);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~CommaLocale() {
        std::setlocale(LC_NUMERIC, m_saved.c_str());
        if (!m_folder.empty()) {
            unsetenv("LOCPATH");
            RunProgram({"rm", "-rf", "--", m_folder});
        }
    }
    bool Active() const {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        return std::string(buf) == "1,5";
    }

private:
    std::string m_saved;
    std::string m_folder;
};

}  // namespace orvella_test
