#include "shortcuts.hpp"

#include <cstdlib>
#include <fstream>

namespace lexivar::package {
namespace fs = std::filesystem;
namespace {

fs::path FromEnv(const char* name) {
  const char* v = std::getenv(name);
  return v && *v ? fs::path(v) : fs::path();
}

// An Exec argument: quoted, with the characters the quoting reserves escaped,
// then backslashes doubled once more for the string level of the entry file.
std::string QuoteExecArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string out;
  for (char c : quoted) {
    out += c;
    if (c == '\\') out += '\\';
  }
  return out;
}

}  // namespace

fs::path DesktopFolder() {
  if (auto d = FromEnv("XDG_DESKTOP_DIR"); !d.empty()) return d;
  auto home = FromEnv("HOME");
  return home.empty() ? home : home / "Desktop";
}

fs::path ApplicationMenuFolder() {
  if (auto d = FromEnv("XDG_DATA_HOME"); !d.empty()) return d / "applications";
  auto home = FromEnv("HOME");
  return home.empty() ? home : home / ".local/share/applications";
}

std::string DesktopEntryText(const fs::path& folder) {
  return "[Desktop Entry]\nType=Application\nName=Lexivar\nComment=Document translation\nExec=" +
         QuoteExecArgument((folder / "lexivar.exe").string()) + "\nPath=" + folder.string() +
         "\nTerminal=false\nCategories=Office;\n";
}

bool WriteDesktopEntry(const fs::path& dir, const fs::path& folder, fs::path& written) {
  if (dir.empty()) return false;
  std::error_code ec;
  fs::create_directories(dir, ec);
  written = dir / "lexivar.desktop";
  std::ofstream out(written, std::ios::trunc);
  out << DesktopEntryText(folder);
  if (!out.flush()) return false;
  out.close();
  fs::permissions(written, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  return true;
}

}  // namespace lexivar::package
