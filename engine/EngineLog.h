// A transcript of the conversation with the engine, for tests and for finding faults:
// every command written ("> " line) and every line read ("< " line), appended to the file
// named by ORVELLA_ENGINE_LOG. Silent and free when the variable is not set.
#pragma once

#include <string_view>

namespace orvella {

void LogEngineCommand(std::string_view command);
void LogEngineLine(std::string_view line);

}  // namespace orvella
