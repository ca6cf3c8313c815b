#pragma once
// The list of everything an installation created, kept in the installed
// folder so the uninstaller removes exactly that and nothing the user added.
#include <filesystem>
#include <set>
#include <string>

namespace lexivar::package {

inline constexpr const char* kManifestName = ".lexivar-installed";

struct Manifest final {
  std::set<std::string> m_files;
  std::set<std::string> m_dirs;  // folders the installation created itself

  static bool Load(const std::filesystem::path& folder, Manifest& out);
  bool Save(const std::filesystem::path& folder) const;
};

}  // namespace lexivar::package
