#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace lexivar::package {

inline constexpr const char* kProductVersion = "1.7.9";

// Installs the payload of package into the folder its command line names.
// Returns the process exit code (0 on success).
int RunSetup(const std::filesystem::path& package, const std::vector<std::string>& args);

// Removes what the installation in the folder named by the command line created.
int RunUninstall(const std::vector<std::string>& args);

}  // namespace lexivar::package
