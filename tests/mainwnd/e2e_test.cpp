// The real installer in a real window on the test display, clicked with
// xdotool, installing the demo package from a private nginx.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "common/child_process.h"
#include "common/nginx_server.h"
#include "common/test_files.h"

extern char** environ;

namespace fs = std::filesystem;
using lexivar::test::ReadFile;
using lexivar::test::RunProcess;
using lexivar::test::ScratchDir;

namespace {

const std::string kBuild = LEXIVAR_BUILD_DIR;
const std::string kSetup = kBuild + "/lexivar-setup";

bool HaveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display && *display && fs::exists("/usr/bin/xdotool") && RunProcess({"/usr/bin/xdotool", "getdisplaygeometry"}).exitCode == 0;
}

std::unique_ptr<lexivar::test::NginxServer> ServePackage()
{
    std::string md5 = ReadFile(fs::path(kBuild) / "package" / "package.md5");
    md5.resize(32);
    return std::make_unique<lexivar::test::NginxServer>(lexivar::test::NginxOptions{
        fs::path(kBuild) / "package" / "www", ScratchDir("e2e-nginx"),
        {{lexivar::test::kPackageRoute, "/download_silent/" + md5 + "/LexivarSetup.exe"}}});
}

// The records of these runs stay in a home of their own.
void UseScratchHome(const char* name)
{
    const fs::path home = ScratchDir(name);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
}

pid_t Start(const std::vector<std::string>& argv)
{
    std::vector<std::string> copies = argv;
    std::vector<char*> args;
    for (std::string& a : copies) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, args[0], nullptr, nullptr, args.data(), environ) == 0 ? pid : -1;
}

// Exit code of the child, waiting at most `seconds`; -2 when it did not end.
int WaitExit(pid_t pid, int seconds)
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
std::string WaitForWindow(const char* name, pid_t pid)
{
    auto r = RunProcess({"/usr/bin/timeout", "20", "/usr/bin/xdotool", "search", "--sync", "--onlyvisible", "--pid",
                         std::to_string(pid), "--name", name});
    return r.out.substr(0, r.out.find('\n'));
}

// A visible installer window other than `except`: the box the main window opened.
std::string WaitForOtherWindow(const std::string& except, pid_t pid)
{
    for (int i = 0; i < 100; ++i) {
        auto r = RunProcess({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)});
        size_t start = 0;
        for (size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
            if (std::string id = r.out.substr(start, end - start); id != except) return id;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
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

void ClickAt(const std::string& window, int x, int y)
{
    RunProcess({"/usr/bin/xdotool", "mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
}

}  // namespace

TEST(MainWndE2E, DemoClicksThroughAFreshInstallation)
{
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
    auto nginx = ServePackage();
    const fs::path out = ScratchDir("e2e-demo");
    auto r = RunProcess({std::string(LEXIVAR_SOURCE_DIR) + "/scripts/lib/demo-clicks.sh", kBuild, out.string(),
                         "-downloadurl=" + nginx->Url(lexivar::test::kPackageRoute)});
    EXPECT_EQ(r.exitCode, 0) << r.out;
    for (const char* page : {"page-0-default.png", "page-1-custom.png", "page-2-progress.png", "page-3-finished.png"})
        EXPECT_TRUE(fs::exists(out / page)) << page;
    EXPECT_NE(r.out.find("Lexivar was installed into"), std::string::npos) << r.out;
}

TEST(MainWndE2E, SecondInstanceLeavesAtOnceAndClosingFreesTheLock)
{
    if (!HaveDisplay()) GTEST_SKIP() << "no display";
    UseScratchHome("e2e-instances");
    const std::vector<std::string> argv{kSetup, "-downloadurl=http://127.0.0.1:9/software/364"};
    const pid_t first = Start(argv);
    ASSERT_GT(first, 0);
    ChildGuard firstGuard{first};
    const std::string window = WaitForWindow("^Lexivar$", first);
    ASSERT_FALSE(window.empty()) << "no window";

    EXPECT_EQ(RunProcess(argv).exitCode, 255);  // -1

    // "closebtn" on the first page asks first; "是" closes.
    ClickAt(window, 577, 18);
    const std::string box = WaitForOtherWindow(window, first);
    ASSERT_FALSE(box.empty()) << "no exit question";
    ClickAt(box, 208, 146);
    EXPECT_EQ(WaitExit(first, 10), 0);
    firstGuard.pid = -1;

    // The lock went with it: a new copy runs (and is closed the same way).
    const pid_t again = Start(argv);
    ASSERT_GT(again, 0);
    ChildGuard againGuard{again};
    EXPECT_FALSE(WaitForWindow("^Lexivar$", again).empty());
}
