#include <algorithm>

#include "console.hpp"
#include "manifest.hpp"
#include "options.hpp"
#include "setup.hpp"

namespace lexivar::package {
namespace fs = std::filesystem;

int RunUninstall(const std::vector<std::string>& args) {
  const Options opts = ParseOptions(args, "_?=");
  const Console console(opts.m_console);
  console.Line("Encode", "UTF8");
  console.Progress(0.0);

  if (!opts.m_hasTailFolder || opts.m_tailFolder.empty()) {
    console.Line("Error", "未指定安装目录");
    return 1;
  }
  const fs::path folder = fs::path(opts.m_tailFolder).lexically_normal();
  Manifest manifest;
  if (!Manifest::Load(folder, manifest)) {
    // Without the record we cannot tell our files from the user's: touch nothing.
    console.Line("Error", "未找到安装记录: " + folder.string());
    return 1;
  }

  std::error_code ec;
  std::size_t done = 0;
  const std::size_t total = manifest.m_files.size() + manifest.m_dirs.size();
  for (const auto& f : manifest.m_files) {
    fs::remove(f, ec);
    if (++done % 16 == 0) console.Progress(static_cast<double>(done) / static_cast<double>(total));
  }
  // Deepest folders first; a folder the user put files into stays.
  std::vector<std::string> dirs(manifest.m_dirs.begin(), manifest.m_dirs.end());
  std::sort(dirs.begin(), dirs.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  for (const auto& d : dirs) fs::remove(d, ec);
  fs::remove(folder, ec);  // only goes when nothing of the user's is left in it

  console.Progress(1.0);
  console.Line("State", "Success");
  return 0;
}

}  // namespace lexivar::package
