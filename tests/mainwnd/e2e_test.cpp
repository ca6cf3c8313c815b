// The real installer in a real window on the test display, clicked with
// xdotool, installing the demo package from a private nginx.
#include <gtest/gtest.h>

#include "mainwnd/e2e_support.h"

using namespace mainwnd_e2e;

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
    ClickAt(window, kMainCloseBtn);
    const std::string box = WaitForOtherWindow({window}, first);
    ASSERT_FALSE(box.empty()) << "no exit question";
    ClickAt(box, kExitTipYes);
    EXPECT_EQ(WaitExit(first, 10), 0);
    firstGuard.pid = -1;

    // The lock went with it: a new copy runs (and is closed the same way).
    const pid_t again = Start(argv);
    ASSERT_GT(again, 0);
    ChildGuard againGuard{again};
    EXPECT_FALSE(WaitForWindow("^Lexivar$", again).empty());
}
