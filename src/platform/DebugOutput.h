#pragma once
// The developer-only diagnostic stream: the system journal (ident
// "lexivar-setup", debug priority), copied to stderr when LEXIVAR_DEBUG_OUTPUT=1.
// Nothing here is ever shown to a user and nothing is written to a file.
#include <functional>
#include <string_view>

namespace Platform {

void DebugOutput(std::string_view utf8Line);

// Tests watch the stream through a sink that receives every line as well;
// an empty function removes it.
using DebugSink = std::function<void(std::string_view)>;
void SetDebugOutputSink(DebugSink sink);

}  // namespace Platform
