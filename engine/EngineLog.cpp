#include "engine/EngineLog.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace orvella {

namespace {
// Commands come from the window's thread, lines from the reader thread.
std::mutex g_logLock;

void Append(char direction, std::string_view text) {
    static const char* const path = std::getenv("ORVELLA_ENGINE_LOG");
    if (!path || !*path) return;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    std::lock_guard<std::mutex> hold(g_logLock);
    if (FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%c %.*s\n", direction, static_cast<int>(text.size()), text.data());
        std::fclose(f);
    }
}
}  // namespace

void LogEngineCommand(std::string_view command) { Append('>', command); }
void LogEngineLine(std::string_view line) { Append('<', line); }
void LogEngineEnd(std::string_view reason) { Append('!', reason); }

}  // namespace orvella
