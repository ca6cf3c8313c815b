#pragma once
// The statistics collector of the build (lexivar-collector) as a child of the
// test: a free loopback port, one output file, stopped with its owner.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace lexivar::test {

class CollectorProcess final {
public:
    // Starts the collector writing to `outFile` and waits until it accepts
    // connections; throws std::runtime_error when it cannot be started.
    explicit CollectorProcess(std::filesystem::path outFile);
    ~CollectorProcess();
    CollectorProcess(const CollectorProcess&) = delete;
    CollectorProcess& operator=(const CollectorProcess&) = delete;

    // The statistics address to hand to the installer.
    std::string Url() const;
    // Every record received so far, one JSON text each, in arrival order.
    std::vector<std::string> Records() const;

private:
    bool TryStart();
    void Stop();

    std::filesystem::path m_outFile;
    int m_port = 0;
    pid_t m_pid = -1;
};

}  // namespace lexivar::test
