#pragma once

#include <functional>
#include <string_view>

namespace zerin::analytics {

// The tracker's developer diagnostics go to the debugger output; tests may
// redirect them. An empty function restores the default.
using TrackerOutputSink = std::function<void(std::string_view line)>;
void setTrackerDebugOutput(TrackerOutputSink sink);
void writeTrackerDebug(std::string_view line);

}  // namespace zerin::analytics
