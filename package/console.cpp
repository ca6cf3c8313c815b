#include "console.hpp"

#include <cstdio>

namespace lexivar::package {

void Console::Line(const std::string& key, const std::string& value) const {
  if (!m_enabled) return;
  std::string line = key + "=" + value + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

void Console::Progress(double fraction) const {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", fraction);
  Line("Progress", buf);
}

}  // namespace lexivar::package
