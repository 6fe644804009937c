// A transcript of the conversation with the engine, for tests and for finding faults:
// every command written ("> " line), every line read ("< " line) and an end it did not
// announce ("! " line with the reason), appended to the file
// named by ORVELLA_ENGINE_LOG. Silent and free when the variable is not set.
#pragma once

#include <string_view>

namespace orvella {

void LogEngineCommand(std::string_view command);
void LogEngineLine(std::string_view line);
void LogEngineEnd(std::string_view reason);

}  // namespace orvella
