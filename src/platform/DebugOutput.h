#pragma once
// The developer-only diagnostic stream: the system journal (ident
// "lexivar-setup", debug priority), copied to stderr when LEXIVAR_DEBUG_OUTPUT=1.
// Nothing here is ever shown to a user and nothing is written to a file.
#include <string_view>

namespace Platform {

void DebugOutput(std::string_view utf8Line);

}  // namespace Platform
