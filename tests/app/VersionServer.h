// The local update server of tests/tools/version_server.py, one per suite: started on a
// free port of 127.0.0.1, stopped by its process id.
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
    // own: the version "equal" answers with.
    bool Start(const std::string& own) {
        int out[2];
        if (pipe(out) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string script = std::string(ORVELLA_SOURCE_DIR) + "/tests/tools/version_server.py";
        char* argv[] = {const_cast<char*>("python3"), const_cast<char*>(script.c_str()),
                        const_cast<char*>(own.c_str()), nullptr};
        const bool spawned = posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (!spawned) {
            close(out[0]);
            return false;
        }
        FILE* in = fdopen(out[0], "r");
        int port = 0;
        const bool read = in && std::fscanf(in, "%d", &port) == 1;
        if (in) std::fclose(in);
        port_ = read ? port : 0;
        return port_ > 0;
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
    }
    // "http://127.0.0.1:<port>/<folder>/"
    std::string Base(const std::string& folder) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + folder + "/";
    }

private:
    pid_t pid_ = 0;
    int port_ = 0;
};

}  // namespace orvella_test
