#pragma once
// The real installer on the test display: started as a child, found by its
// process id, clicked with xdotool at window coordinates.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/child_process.h"
#include "common/nginx_server.h"
#include "common/test_files.h"

extern char** environ;

namespace mainwnd_e2e {

namespace fs = std::filesystem;
using lexivar::test::ReadFile;
using lexivar::test::RunProcess;
using lexivar::test::ScratchDir;

inline const std::string kBuild = LEXIVAR_BUILD_DIR;
inline const std::string kSetup = kBuild + "/lexivar-setup";

// Centres of the controls in window coordinates, as the layouts place them.
struct At {
    int x;
    int y;
};
inline constexpr At kDefaultInstallBtn{300, 259};
inline constexpr At kMainCloseBtn{577, 18};
inline constexpr At kExitTipYes{208, 146};
inline constexpr At kNetworkTipClose{345, 15};

inline bool HaveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display && fs::exists("/usr/bin/xdotool") &&
           RunProcess({"/usr/bin/xdotool", "getdisplaygeometry"}).exitCode == 0;
}

// The demo package behind "/software/364" on a private nginx.
inline std::unique_ptr<lexivar::test::NginxServer> ServePackage()
{
    std::string md5 = ReadFile(fs::path(kBuild) / "package" / "package.md5");
    md5.resize(32);
    return std::make_unique<lexivar::test::NginxServer>(lexivar::test::NginxOptions{
        fs::path(kBuild) / "package" / "www", ScratchDir("e2e-nginx"),
        {{lexivar::test::kPackageRoute, "/download_silent/" + md5 + "/LexivarSetup.exe"}}});
}

// The records of these runs stay in a home of their own.
inline void UseScratchHome(const char* name)
{
    const fs::path home = ScratchDir(name);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
}

// The single-instance lock of these runs lives apart from that of any other
// installer on the machine (a benchmark, a person trying it out).
inline void UsePrivateRuntimeDir(const char* name)
{
    const fs::path dir = ScratchDir(name);
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

inline pid_t Start(const std::vector<std::string>& argv)
{
    std::vector<std::string> copies = argv;
    std::vector<char*> args;
    for (std::string& a : copies) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) == 0 ? pid : -1;
}

// Exit code of the child, waiting at most `seconds`; -2 when it did not end.
inline int WaitExit(pid_t pid, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -3;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -2;
}

// A visible window of the given process, so that windows other runs left
// behind on the display are never clicked.
inline std::string WaitForWindow(const char* name, pid_t pid)
{
    auto r = RunProcess({"/usr/bin/timeout", "20", "/usr/bin/xdotool", "search", "--sync", "--onlyvisible", "--pid",
                         std::to_string(pid), "--name", name});
    return r.out.substr(0, r.out.find('\n'));
}

// A visible installer window not in `except`: the box the main window opened.
inline std::string WaitForOtherWindow(const std::set<std::string>& except, pid_t pid)
{
    for (int i = 0; i < 100; ++i) {
        auto r = RunProcess({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)});
        size_t start = 0;
        for (size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
            if (std::string id = r.out.substr(start, end - start); !except.contains(id)) return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

// Waits until `window` of the process is no longer visible; false after 10 s.
inline bool WaitGone(const std::string& window, pid_t pid)
{
    for (int i = 0; i < 100; ++i) {
        auto r = RunProcess({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)});
        if (("\n" + r.out).find("\n" + window + "\n") == std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Ends a child the test started, whatever happened to the test.
struct ChildGuard {
    pid_t pid;
    ~ChildGuard()
    {
        if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
};

inline void ClickAt(const std::string& window, At at)
{
    RunProcess({"/usr/bin/xdotool", "mousemove", "--window", window, std::to_string(at.x), std::to_string(at.y),
                "click", "1"});
}

}  // namespace mainwnd_e2e
