#include "platform/Accounts.h"
#include "platform/Connectivity.h"
#include "platform/CrashHandler.h"
#include "platform/ProcessList.h"
#include "platform/SingleInstance.h"

#include "common/test_files.h"
#include "utils/ScopedEnv.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(Connectivity, NetworkManagerStates)
{
    EXPECT_FALSE(Platform::FromNetworkManagerState(0));  // unknown: ask the routing table
    struct Case {
        uint32_t state;
        uint32_t flags;
        bool internet;
    } cases[] = {{1, 0x0, false}, {2, 0x20, false}, {3, 0x20, false}, {4, 0x40, true}};
    for (const Case& c : cases) {
        auto got = Platform::FromNetworkManagerState(c.state);
        ASSERT_TRUE(got);
        EXPECT_EQ(got->flags, c.flags);
        EXPECT_EQ(got->connectedToInternet, c.internet);
    }
}

TEST(Connectivity, DefaultRoute)
{
    const std::string header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\n";
    EXPECT_TRUE(Platform::HasDefaultRoute(header + "eth0\t00000000\t0100A8C0\t0003\t0\t0\t0\t00000000\n"));
    EXPECT_FALSE(Platform::HasDefaultRoute(header + "eth0\t0000A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\n"));
    EXPECT_FALSE(Platform::HasDefaultRoute(header + "eth0\t00000000\t0100A8C0\t0002\t0\t0\t0\t00000000\n"));
    EXPECT_FALSE(Platform::HasDefaultRoute(header));
    EXPECT_FALSE(Platform::HasDefaultRoute("garbage\n\t\t\n00000000"));
}

TEST(SingleInstance, OneHolderAtATime)
{
    fs::path runtime = lexivar::test::ScratchDir("SingleInstance");
    lexivar::test::ScopedEnv env("XDG_RUNTIME_DIR", runtime.string());
    Platform::SingleInstanceLock first, second;
    EXPECT_TRUE(first.Acquire("D1A547DB89C0BC61_Installer_Lexivar"));
    EXPECT_TRUE(first.Acquire("D1A547DB89C0BC61_Installer_Lexivar"));  // again: still ours
    EXPECT_FALSE(second.Acquire("D1A547DB89C0BC61_Installer_Lexivar"));
    EXPECT_TRUE(fs::exists(runtime / "D1A547DB89C0BC61_Installer_Lexivar.lock"));
    first.Release();
    EXPECT_TRUE(second.Acquire("D1A547DB89C0BC61_Installer_Lexivar"));
    EXPECT_FALSE(first.Acquire("../escape"));
}

TEST(Accounts, Queries)
{
    EXPECT_EQ(Platform::IsProcessAdmin(), geteuid() == 0);
    EXPECT_TRUE(Platform::IsAdminAccount("root"));
    EXPECT_FALSE(Platform::IsAdminAccount("no-such-user-lexivar"));
    EXPECT_FALSE(Platform::IsAdminAccount(""));
    std::string console;
    EXPECT_TRUE(Platform::GetConsoleUserName(console));
    EXPECT_FALSE(console.empty());
}

TEST(ProcessList, FindsLongImageNames)
{
    fs::path dir = lexivar::test::ScratchDir("ProcessList");
    fs::path exe = dir / "Lexivar_un_asa.exe";  // longer than the kernel's 15-byte comm
    fs::copy_file(LEXIVAR_BUILD_DIR "/tests/utils/test_child", exe);
    int toChild[2], fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[1]);  // or its input would never end
        close(fromChild[0]);
        execl(exe.c_str(), "Lexivar_un_asa.exe", "wait", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    char ready[6] = {};
    ASSERT_EQ(read(fromChild[0], ready, 6), 6);  // it runs the program image now

    // Other programs of that name may run at the same time (children other
    // tests let go), so only this child's presence and absence are checked.
    const auto has = [pid](const std::vector<uint32_t>& found) {
        return std::find(found.begin(), found.end(), static_cast<uint32_t>(pid)) != found.end();
    };
    EXPECT_TRUE(has(Platform::FindProcessesByImageName("Lexivar_un_asa.exe")));
    EXPECT_FALSE(has(Platform::FindProcessesByImageName("lexivar_un_asa.exe")));  // exact case
    EXPECT_FALSE(has(Platform::FindProcessesByImageName("Lexivar_un_asa")));
    close(toChild[1]);
    close(fromChild[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_FALSE(has(Platform::FindProcessesByImageName("Lexivar_un_asa.exe")));
}

TEST(CrashHandlerDeathTest, HookRunsThenTheProcessDiesTheDefaultWay)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Platform::InstallCrashHandlers([] { (void)!write(2, "crash reported\n", 15); });
            raise(SIGSEGV);
        },
        ::testing::KilledBySignal(SIGSEGV), "crash reported");
    EXPECT_EXIT(
        {
            Platform::InstallCrashHandlers([] { (void)!write(2, "terminate reported\n", 19); });
            std::terminate();
        },
        ::testing::KilledBySignal(SIGABRT), "terminate reported");
}

TEST(CrashHandlerDeathTest, AHookThatHangsIsCutOff)
{
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "the thread sanitizer holds back signals raised inside a signal handler";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Platform::InstallCrashHandlers([] {
                for (;;) pause();
            });
            raise(SIGBUS);
        },
        ::testing::KilledBySignal(SIGALRM), "");
}
