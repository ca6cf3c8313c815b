#pragma once

#include <functional>
#include <string_view>

namespace event_sdk {

// Where the SDK's one-line messages go. The error output carries validation
// and transport problems (standard error unless redirected); the debugger
// output carries the short diagnostic line of a failed send (the process's
// diagnostic stream unless redirected). Passing an empty function restores the default.
using OutputSink = std::function<void(std::string_view line)>;
void SetErrorOutput(OutputSink sink);
void SetDebugOutput(OutputSink sink);

void WriteError(std::string_view line);
void WriteDebug(std::string_view line);

}  // namespace event_sdk
