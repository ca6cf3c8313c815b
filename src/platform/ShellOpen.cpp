#include "platform/ShellOpen.h"

#include "platform/Process.h"

namespace Platform {

bool OpenUrl(const std::string& url)
{
    if (url.empty()) return false;
    // "--" would be taken literally by xdg-open; an address starting with "-" is refused instead.
    if (url[0] == '-') return false;
    return SpawnDetached({"xdg-open", url}, {}) == 0;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& workingFolder)
{
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return SpawnDetached(argv, workingFolder) == 0;
}

}  // namespace Platform
