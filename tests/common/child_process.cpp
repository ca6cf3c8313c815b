#include "common/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lexivar::test {

ProcessResult RunProcess(const std::vector<std::string>& argv) {
    ProcessResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<std::string> copies = argv;
    std::vector<char*> args;
    for (std::string& arg : copies) args.push_back(arg.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned == 0) {
        char buffer[4096];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) result.out.append(buffer, static_cast<size_t>(n));
        int status = 0;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    }
    close(fds[0]);
    return result;
}

}  // namespace lexivar::test
