#pragma once
// Opening what a user would double-click: addresses go to the desktop's
// handler (xdg-open), programs are started detached in their working folder.
#include <string>
#include <vector>

namespace Platform {

// True when the handler or program could be started.
bool OpenUrl(const std::string& url);
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder);

}  // namespace Platform
