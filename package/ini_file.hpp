#pragma once
// Minimal INI editing for the product's own small settings files: sections and
// keys compare case-insensitively, every other line is kept as it was.
#include <filesystem>
#include <string>

namespace lexivar::package {

std::string IniRead(const std::filesystem::path& file, const std::string& section, const std::string& key,
                    const std::string& fallback);
bool IniWrite(const std::filesystem::path& file, const std::string& section, const std::string& key,
              const std::string& value);

}  // namespace lexivar::package
