#include "manifest.hpp"

#include <fstream>

namespace lexivar::package {

// One entry per line: "F <absolute path>" or "D <absolute path>".
bool Manifest::Load(const std::filesystem::path& folder, Manifest& out) {
  std::ifstream in(folder / kManifestName);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() < 3 || line[1] != ' ') continue;
    if (line[0] == 'F') out.m_files.insert(line.substr(2));
    if (line[0] == 'D') out.m_dirs.insert(line.substr(2));
  }
  return true;
}

bool Manifest::Save(const std::filesystem::path& folder) const {
  std::filesystem::path tmp = folder / (std::string(kManifestName) + ".tmp");
  {
    std::ofstream out(tmp, std::ios::trunc);
    for (const auto& d : m_dirs) out << "D " << d << '\n';
    for (const auto& f : m_files) out << "F " << f << '\n';
    out << "F " << (folder / kManifestName).string() << '\n';
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, folder / kManifestName, ec);
  return !ec;
}

}  // namespace lexivar::package
