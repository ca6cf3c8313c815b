#include "ini_file.hpp"

#include <algorithm>
#include <fstream>
#include <vector>

namespace lexivar::package {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Trimmed(const std::string& s) {
  auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool IsSection(const std::string& line, std::string& name) {
  std::string t = Trimmed(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  name = Lower(Trimmed(t.substr(1, t.size() - 2)));
  return true;
}

bool IsKey(const std::string& line, const std::string& key, std::string& value) {
  auto eq = line.find('=');
  if (eq == std::string::npos || Lower(Trimmed(line.substr(0, eq))) != Lower(key)) return false;
  value = Trimmed(line.substr(eq + 1));
  return true;
}

std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::string IniRead(const std::filesystem::path& file, const std::string& section, const std::string& key,
                    const std::string& fallback) {
  std::string current, value;
  for (const auto& line : ReadLines(file)) {
    if (IsSection(line, current)) continue;
    if (current == Lower(section) && IsKey(line, key, value)) return value;
  }
  return fallback;
}

bool IniWrite(const std::filesystem::path& file, const std::string& section, const std::string& key,
              const std::string& value) {
  auto lines = ReadLines(file);
  std::string current, old;
  std::ptrdiff_t sectionEnd = -1;
  bool done = false;
  for (std::size_t i = 0; i < lines.size() && !done; ++i) {
    if (IsSection(lines[i], current)) {
      if (current == Lower(section)) sectionEnd = static_cast<std::ptrdiff_t>(i) + 1;
      continue;
    }
    if (current != Lower(section)) continue;
    if (IsKey(lines[i], key, old)) {
      lines[i] = key + "=" + value;
      done = true;
    } else if (!Trimmed(lines[i]).empty()) {
      sectionEnd = static_cast<std::ptrdiff_t>(i) + 1;
    }
  }
  if (!done && sectionEnd < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(key + "=" + value);
  } else if (!done) {
    lines.insert(lines.begin() + sectionEnd, key + "=" + value);
  }
  std::filesystem::path tmp = file;
  tmp += ".tmp";
  {
    std::ofstream out(tmp, std::ios::trunc);
    for (const auto& l : lines) out << l << '\n';
    if (!out.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(tmp, file, ec);
  return !ec;
}

}  // namespace lexivar::package
