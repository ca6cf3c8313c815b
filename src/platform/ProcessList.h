#pragma once
// Finding running processes by the file name of their program.
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

// Ids of the other processes whose image name is exactly `imageName`
// (case-sensitive), in ascending id order. The image name is the base name of
// /proc/<id>/exe, or of argv[0] when exe cannot be read (another user's
// process) or names an interpreter; the kernel's "comm" would cut names at 15
// characters.
std::vector<uint32_t> FindProcessesByImageName(const std::string& imageName);

}  // namespace Platform
