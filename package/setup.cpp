#include "setup.hpp"

#include <cstdlib>

#include "console.hpp"
#include "ini_file.hpp"
#include "manifest.hpp"
#include "options.hpp"
#include "payload.hpp"
#include "shortcuts.hpp"

namespace lexivar::package {
namespace fs = std::filesystem;
namespace {

fs::path TargetFolder(const Options& opts) {
  std::string folder = opts.m_hasTailFolder ? opts.m_tailFolder : opts.Get("instdir");
  if (folder.empty()) {
    const char* home = std::getenv("HOME");
    folder = std::string(home ? home : "/tmp") + "/.local/opt/Lexivar";
  }
  std::error_code ec;
  fs::path abs = fs::absolute(folder, ec);
  return (ec ? fs::path(folder) : abs).lexically_normal();
}

// Creates folder, noting each level that did not exist so the uninstaller
// removes only what the installation added.
bool CreateFolder(const fs::path& folder, Manifest& manifest) {
  std::vector<fs::path> missing;
  for (fs::path p = folder; !p.empty() && !fs::exists(p); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder)) return false;
  for (const auto& p : missing) manifest.m_dirs.insert(p.string());
  return true;
}

int Fail(const Console& console, const std::string& message) {
  console.Line("Error", message);
  console.Line("State", "Fail");
  return 1;
}

void WriteSettings(const fs::path& folder, const Options& opts, Manifest& manifest) {
  std::string lang = opts.Get("inslang");
  IniWrite(folder / "config.ini", "Install", "Language", lang.empty() ? "en-US" : lang);
  // A product that was told to keep its data leaves "false" here; keep it.
  const fs::path set = folder / "set.ini";
  IniWrite(set, "Uninstall", "IsOverride", IniRead(set, "Uninstall", "IsOverride", "true"));
  manifest.m_files.insert((folder / "config.ini").string());
  manifest.m_files.insert(set.string());
}

void WriteShortcuts(const fs::path& folder, const Options& opts, Manifest& manifest) {
  fs::path written;
  if (opts.Flag("dsc") && WriteDesktopEntry(DesktopFolder(), folder, written))
    manifest.m_files.insert(written.string());
  if (opts.Flag("ssc") && WriteDesktopEntry(ApplicationMenuFolder(), folder, written))
    manifest.m_files.insert(written.string());
}

}  // namespace

int RunSetup(const fs::path& package, const std::vector<std::string>& args) {
  const Options opts = ParseOptions(args, "/D=");
  const Console console(opts.m_console);
  console.Line("Encode", "UTF8");
  console.Progress(0.0);

  PayloadRegion region;
  if (!FindPayload(package, region)) return Fail(console, "安装包已损坏");
  const fs::path folder = TargetFolder(opts);
  Manifest created;
  if (!CreateFolder(folder, created)) return Fail(console, "无法写入安装目录: " + folder.string());

  double shown = 0.0;
  auto result = ExtractPayload(package, region, folder, [&](double share) {
    if (share - shown < 0.05) return;  // a line per 5% keeps the reader's work small
    shown = share;
    console.Progress(0.05 + 0.8 * share);
  });
  if (!result.m_ok) {
    // Undo the folder levels we made, leaving anything that existed before.
    std::error_code ec;
    for (auto it = created.m_dirs.rbegin(); it != created.m_dirs.rend(); ++it) fs::remove(*it, ec);
    return Fail(console, "无法写入安装目录: " + folder.string() + " (" + result.m_error + ")");
  }
  // An installation over an earlier one keeps the earlier record's entries.
  Manifest manifest = created;
  Manifest::Load(folder, manifest);
  manifest.m_files.insert(result.m_files.begin(), result.m_files.end());
  manifest.m_dirs.insert(result.m_dirs.begin(), result.m_dirs.end());

  WriteSettings(folder, opts, manifest);
  WriteShortcuts(folder, opts, manifest);
  if (!manifest.Save(folder)) return Fail(console, "无法写入安装目录: " + folder.string());

  console.Progress(0.95);
  console.Line("InstallVersion", kProductVersion);
  console.Line("InstPath", folder.string());
  console.Line("ExePath", (folder / "lexivar.exe").string());
  console.Line("UninstEp", (folder / "uninst.ep").string());
  console.Line("StartupStyle", "UserStartup");
  console.Progress(1.0);
  console.Line("State", "Success");
  return 0;
}

}  // namespace lexivar::package
