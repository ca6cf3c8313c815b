#include "event_sdk/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace event_sdk::test {
namespace {

std::vector<char*> ArgumentPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    for (const auto& a : argv) pointers.push_back(const_cast<char*>(a.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Spawns with stdin and stdout connected to the returned pipe ends.
pid_t Spawn(const std::vector<std::string>& argv, int& toChild, int& fromChild, bool searchPath) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    auto args = ArgumentPointers(argv);
    pid_t pid = -1;
    const int rc = searchPath ? posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ)
                              : posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (rc != 0) {
        close(in[1]);
        close(out[0]);
        throw std::runtime_error("cannot start " + argv[0]);
    }
    toChild = in[1];
    fromChild = out[0];
    return pid;
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
    return text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

std::string RunProgram(const std::vector<std::string>& argv, const std::string& input, int& status) {
    int toChild = -1, fromChild = -1;
    const pid_t pid = Spawn(argv, toChild, fromChild, true);
    // Feed stdin from a thread so a child that writes a lot cannot deadlock us.
    std::thread writer([&] {
        size_t done = 0;
        while (done < input.size()) {
            const ssize_t n = write(toChild, input.data() + done, input.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        close(toChild);
    });
    std::string output = ReadAll(fromChild);
    writer.join();
    close(fromChild);
    int raw = 0;
    waitpid(pid, &raw, 0);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

Collector::Collector(const std::string& folder, std::vector<std::string> extraArguments)
    : m_outPath(folder + "/records.jsonl"), m_logPath(folder + "/requests.jsonl") {
    std::vector<std::string> argv = {std::string(LEXIVAR_BUILD_DIR) + "/lexivar-collector", "--port", "0", "--out",
                                      m_outPath, "--log", m_logPath};
    argv.insert(argv.end(), extraArguments.begin(), extraArguments.end());
    int toChild = -1, fromChild = -1;
    m_pid = Spawn(argv, toChild, fromChild, false);
    close(toChild);
    // The collector's first line names its port: "listening on 127.0.0.1:PORT".
    std::string line;
    char c;
    pollfd poller{fromChild, POLLIN, 0};
    while (poll(&poller, 1, 10000) > 0 && read(fromChild, &c, 1) == 1 && c != '\n') line += c;
    close(fromChild);
    const size_t colon = line.rfind(':');
    if (colon != std::string::npos) m_port = std::atoi(line.c_str() + colon + 1);
}

Collector::~Collector() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string Collector::Url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/collect?project=pc"; }

std::vector<std::string> Collector::Records() const { return ReadLines(m_outPath); }

std::vector<std::string> Collector::Requests() const { return ReadLines(m_logPath); }

}  // namespace event_sdk::test
