// The local update server of tests/tools/version_server.py, one per suite, on a free
// port of 127.0.0.1.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

extern char** environ;

namespace orvella_test {

class VersionServer {
public:
    // own: the version "equal" answers with. The server prints its port first.
    bool Start(const std::string& own) {
        int out[2];
        if (pipe(out) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        const std::string script = std::string(ORVELLA_SOURCE_DIR) + "/tests/tools/version_server.py";
        const char* argv[] = {"python3", script.c_str(), own.c_str(), nullptr};
        if (posix_spawnp(&pid_, "python3", &actions, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        FILE* in = fdopen(out[0], "r");
        if (pid_ == 0 || std::fscanf(in, "%d", &port_) != 1) port_ = 0;
        std::fclose(in);
        return port_ > 0;
    }
    void Stop() {
        if (pid_ > 0 && kill(pid_, SIGTERM) == 0) waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    std::string Base(const std::string& folder) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + folder + "/";
    }

private:
    pid_t pid_ = 0;
    int port_ = 0;
};

}  // namespace orvella_test
