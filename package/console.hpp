#pragma once
// Console reporting in the line protocol the online installer follows: one
// "Key=value" line per fact, flushed at once so the reader sees progress live.
#include <string>

namespace lexivar::package {

class Console final {
 public:
  explicit Console(bool enabled) : m_enabled(enabled) {}
  void Line(const std::string& key, const std::string& value) const;
  void Progress(double fraction) const;

 private:
  bool m_enabled = false;
};

}  // namespace lexivar::package
