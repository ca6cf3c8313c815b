#include "platform/Process.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace Platform {
namespace {

bool Injects(const char* entry)
{
    static const char* const kBanned[] = {"LD_PRELOAD=", "LD_LIBRARY_PATH=", "LD_AUDIT=", "LD_DEBUG_OUTPUT=",
                                          "LD_PROFILE=", "GCONV_PATH=", "MALLOC_TRACE="};
    for (const char* banned : kBanned)
        if (std::strncmp(entry, banned, std::strlen(banned)) == 0) return true;
    return false;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> out;
    for (std::string& t : texts) out.push_back(t.data());
    out.push_back(nullptr);
    return out;
}

class SpawnSetup final {
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&m_actions);
        posix_spawnattr_init(&m_attr);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    void Stream(Handle from, int to)
    {
        if (from == kNullHandle) posix_spawn_file_actions_addopen(&m_actions, to, "/dev/null", O_RDWR, 0);
        else posix_spawn_file_actions_adddup2(&m_actions, from, to);  // dup2 clears close-on-exec
    }

    void Finish(const std::string& workingFolder, bool newSession)
    {
        // Descriptors opened elsewhere without close-on-exec must not leak either.
        posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
        if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&m_actions, workingFolder.c_str());
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attr, &none);
        sigset_t defaults;
        sigfillset(&defaults);
        posix_spawnattr_setsigdefault(&m_attr, &defaults);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
        if (newSession) flags |= POSIX_SPAWN_SETSID;
        posix_spawnattr_setflags(&m_attr, flags);
    }

    int Run(const std::vector<std::string>& arguments, int& pid)
    {
        if (arguments.empty() || arguments[0].empty()) return ENOENT;
        std::vector<std::string> args = arguments;
        std::vector<std::string> env = SanitisedEnvironment();
        std::vector<char*> argv = Pointers(args);
        std::vector<char*> envp = Pointers(env);
        pid_t child = 0;
        int rc = arguments[0].find('/') == std::string::npos
                     ? posix_spawnp(&child, argv[0], &m_actions, &m_attr, argv.data(), envp.data())
                     : posix_spawn(&child, argv[0], &m_actions, &m_attr, argv.data(), envp.data());
        pid = child;
        return rc;
    }

private:
    posix_spawn_file_actions_t m_actions;
    posix_spawnattr_t m_attr;
};

uint32_t DecodeStatus(int status)
{
    if (WIFEXITED(status)) return static_cast<uint32_t>(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return 128u + static_cast<uint32_t>(WTERMSIG(status));
    return 0;
}

}  // namespace

bool CreatePipe(Handle& readEnd, Handle& writeEnd)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    readEnd = fds[0];
    writeEnd = fds[1];
    return true;
}

void CloseHandle(Handle& handle)
{
    if (handle != kNullHandle) close(handle);
    handle = kNullHandle;
}

bool ReadFile(Handle handle, void* buffer, size_t size, size_t& bytesRead)
{
    bytesRead = 0;
    if (handle == kNullHandle || size == 0) return false;
    for (;;) {
        ssize_t n = read(handle, buffer, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytesRead = static_cast<size_t>(n);
        return true;
    }
}

bool WriteFile(Handle handle, const void* buffer, size_t size)
{
    const char* data = static_cast<const char*>(buffer);
    while (size > 0) {
        ssize_t n = write(handle, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool WaitReadable(Handle handle, int timeoutMs)
{
    pollfd p{handle, POLLIN, 0};
    int rc = poll(&p, 1, timeoutMs);
    return rc > 0;
}

std::vector<std::string> SanitisedEnvironment()
{
    std::vector<std::string> env;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e)
        if (!Injects(*e)) env.emplace_back(*e);
    return env;
}

int Spawn(const std::vector<std::string>& arguments, Handle stdinRead, Handle stdoutWrite, Handle stderrWrite,
          const std::string& workingFolder, ChildProcess& child)
{
    SpawnSetup setup;
    setup.Stream(stdinRead, 0);
    setup.Stream(stdoutWrite, 1);
    setup.Stream(stderrWrite, 2);
    setup.Finish(workingFolder, false);
    child = ChildProcess{};
    return setup.Run(arguments, child.processId);
}

int SpawnDetached(const std::vector<std::string>& arguments, const std::string& workingFolder)
{
    SpawnSetup setup;
    setup.Stream(kNullHandle, 0);
    setup.Stream(kNullHandle, 1);
    setup.Stream(kNullHandle, 2);
    setup.Finish(workingFolder, true);
    int pid = 0;
    int rc = setup.Run(arguments, pid);
    if (rc == 0) {
        // Nobody waits for it, so a helper thread reaps it when it ends.
        std::thread([pid] {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    return rc;
}

uint32_t GetExitCode(ChildProcess& child)
{
    if (child.reaped) return child.exitCode;
    if (child.processId <= 0) return 0;
    int status = 0;
    pid_t rc = waitpid(child.processId, &status, WNOHANG);
    if (rc == 0) return kStillActive;
    if (rc < 0 && errno == EINTR) return kStillActive;
    child.reaped = true;
    child.exitCode = rc < 0 ? 0 : DecodeStatus(status);
    return child.exitCode;
}

void WaitForExit(ChildProcess& child)
{
    if (child.reaped || child.processId <= 0) return;
    int status = 0;
    pid_t rc;
    while ((rc = waitpid(child.processId, &status, 0)) < 0 && errno == EINTR) {
    }
    child.reaped = true;
    child.exitCode = rc < 0 ? 0 : DecodeStatus(status);
}

void Terminate(const ChildProcess& child)
{
    // A reaped id may already belong to another process.
    if (!child.reaped && child.processId > 0) kill(child.processId, SIGTERM);
}

}  // namespace Platform
