// The package installer: this program with its payload appended.
#include <filesystem>

#include "setup.hpp"

int main(int argc, char** argv) {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  std::vector<std::string> args(argv + 1, argv + argc);
  return lexivar::package::RunSetup(ec ? std::filesystem::path(argv[0]) : self, args);
}
