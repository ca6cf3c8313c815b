#pragma once
// Free space of the volume that holds a folder.
#include <cstdint>
#include <string>

namespace Platform {

struct DiskSpace {
    uint64_t freeBytesForCaller = 0;
    uint64_t totalBytes = 0;
    uint64_t totalFreeBytes = 0;
};

// Queries the nearest existing ancestor of `path`, since the folder the user
// chose usually does not exist yet. Only absolute paths are accepted.
// Returns 0 or an errno value.
int GetDiskFreeSpace(const std::string& path, DiskSpace& space);

}  // namespace Platform
