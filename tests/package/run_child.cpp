#include "run_child.hpp"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ChildResult RunChild(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env) {
  std::vector<std::string> envText;
  for (char** e = environ; *e; ++e) {
    std::string kv = *e;
    if (!env.count(kv.substr(0, kv.find('=')))) envText.push_back(kv);
  }
  for (const auto& [k, v] : env) envText.push_back(k + "=" + v);
  std::vector<char*> args, envp;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const auto& e : envText) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);

  int fds[2];
  ChildResult result;
  if (pipe(fds) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  pid_t pid = 0;
  int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc == 0) {
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) result.m_output.append(buf, static_cast<size_t>(n));
    int status = 0;
    waitpid(pid, &status, 0);
    result.m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  close(fds[0]);
  return result;
}
