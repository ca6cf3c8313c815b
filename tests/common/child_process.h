#pragma once
// Runs a program of the build (never through a shell) and collects its output.

#include <string>
#include <vector>

namespace lexivar::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when it could not be started or did not exit normally
    std::string out;    // standard output
};

ProcessResult RunProcess(const std::vector<std::string>& argv);

}  // namespace lexivar::test
