#include "platform/DiskSpace.h"

#include "platform/Paths.h"

#include <cerrno>
#include <sys/statvfs.h>

namespace Platform {

int GetDiskFreeSpace(const std::string& path, DiskSpace& space)
{
    if (path.empty() || path[0] != '/') return EINVAL;
    std::string probe = path;
    struct statvfs st{};
    while (statvfs(probe.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) return errno;
        if (probe == "/") return ENOENT;
        probe = DirectoryPart(probe);
    }
    space.freeBytesForCaller = static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
    space.totalBytes = static_cast<uint64_t>(st.f_blocks) * st.f_frsize;
    space.totalFreeBytes = static_cast<uint64_t>(st.f_bfree) * st.f_frsize;
    return 0;
}

}  // namespace Platform
