#pragma once
// Starting the programs the tests talk to: our collector and python3.

#include <sys/types.h>

#include <string>
#include <vector>

namespace event_sdk::test {

// Runs a program found on PATH (never through a shell) with `input` on its
// standard input; returns its standard output, and its exit code in `status`.
std::string RunProgram(const std::vector<std::string>& argv, const std::string& input, int& status);

// lexivar-collector on 127.0.0.1 at a free port, stopped when destroyed.
class Collector final {
public:
    explicit Collector(const std::string& folder, std::vector<std::string> extraArguments = {});
    ~Collector();
    Collector(const Collector&) = delete;
    Collector& operator=(const Collector&) = delete;

    bool running() const { return m_port > 0; }
    std::string Url() const;
    // Records received so far, one JSON text each.
    std::vector<std::string> Records() const;
    // One JSON text per request: status, records, cookie, user_agent, content_type.
    std::vector<std::string> Requests() const;

private:
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_outPath;
    std::string m_logPath;
};

}  // namespace event_sdk::test
