#include "common/collector_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "common/loopback.h"

extern char** environ;

namespace lexivar::test {

CollectorProcess::CollectorProcess(std::filesystem::path outFile) : m_outFile(std::move(outFile)) {
    // Another process may take the port between our probe and the collector's bind.
    for (int attempt = 0; attempt < 5; ++attempt)
        if (TryStart()) return;
    throw std::runtime_error("lexivar-collector did not start");
}

CollectorProcess::~CollectorProcess() { Stop(); }

std::string CollectorProcess::Url() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/collect?project=pc";
}

std::vector<std::string> CollectorProcess::Records() const {
    std::vector<std::string> records;
    std::ifstream in(m_outFile, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) records.push_back(line);
    return records;
}

bool CollectorProcess::TryStart() {
    m_port = FreeLoopbackPort();
    if (m_port == 0) return false;
    std::vector<std::string> args = {std::string(LEXIVAR_BUILD_DIR) + "/lexivar-collector", "--port",
                                     std::to_string(m_port), "--out", m_outFile.string()};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        m_pid = -1;
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (AcceptsConnections(m_port)) return true;
        if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {  // exited, probably the port was taken
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    return false;
}

void CollectorProcess::Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}

}  // namespace lexivar::test
