// The uninstaller an installation leaves behind as "uninst.ep".
#include "setup.hpp"

int main(int argc, char** argv) {
  return lexivar::package::RunUninstall(std::vector<std::string>(argv + 1, argv + argc));
}
