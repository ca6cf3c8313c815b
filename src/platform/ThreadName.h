#pragma once
// Naming the calling thread for debuggers and process viewers.
#include <string>

namespace Platform {

// The kernel keeps 15 bytes of a thread name; longer names are cut.
void SetCurrentThreadName(const std::string& name);

}  // namespace Platform
