// The demo package end to end: served by nginx, downloaded, installed into a
// folder with blanks by the controller, then removed by its own uninstaller.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/nginx_server.h"
#include "common/test_files.h"
#include "event_log.h"
#include "install/CDownloadInstaller.h"
#include "utils/ScopedEnv.h"

namespace fs = std::filesystem;

TEST(DemoPackage, DownloadedInstalledAndUninstalled) {
    const fs::path dir = lexivar::test::ScratchDir("demo-package");
    lexivar::test::ScopedEnv home("HOME", (dir / "home").string());
    const fs::path www = fs::path(LEXIVAR_BUILD_DIR) / "package/www";
    const std::string md5 = lexivar::test::ReadFile(fs::path(LEXIVAR_BUILD_DIR) / "package/package.md5").substr(0, 32);
    // The server's own folder has a blank and a quote in its name, as a user's home may.
    lexivar::test::NginxServer nginx({www, dir / "nginx \"work\" files", {{"/software/364", "/download_silent/" + md5 + "/LexivarSetup.exe"}}});

    const fs::path folder = dir / "my apps/Lexivar";
    EventLog log;
    {
        CDownloadInstaller controller(log.Callback(), L"", L"", L"", true, true, true);
        DownloadInstallerEnvironment env;
        env.tempFolder = [&] { return (dir / "temp").wstring() + L"/"; };
        fs::create_directories(dir / "temp");
        controller.SetEnvironment(env);
        const std::string url = nginx.Url("/software/364");
        controller.Init(std::wstring(url.begin(), url.end()), L"", L"", folder.wstring(), true, true, false, false,
                        L"zh-CN");
        controller.Start();
        ASSERT_TRUE(log.WaitFor({1004, 2003, 2004}, std::chrono::seconds(60)));
    }
    const auto events = log.Events();
    ASSERT_EQ(events.back(), (Event{2003, 0.0, L""}));
    EXPECT_NE(std::find(events.begin(), events.end(), Event{3000, 0.0, folder.wstring()}), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), Event{3005, 2.0, L""}), events.end());
    EXPECT_TRUE(fs::exists(folder / "lexivar.exe"));
    EXPECT_TRUE(fs::exists(dir / "home/Desktop/lexivar.desktop"));
    EXPECT_FALSE(fs::exists(folder / "__Package_Lexivar.exe"));

    // Reinstalling over it runs the installed uninstaller first.
    EventLog second;
    {
        CDownloadInstaller controller(second.Callback(), L"", L"", L"", true, true, true);
        DownloadInstallerEnvironment env;
        env.tempFolder = [&] { return (dir / "temp").wstring() + L"/"; };
        controller.SetEnvironment(env);
        const std::string url = nginx.Url("/software/364");
        controller.Init(std::wstring(url.begin(), url.end()), folder.wstring(), (folder / "uninst.ep").wstring(),
                        folder.wstring(), false, false, false, false, L"");
        controller.Start();
        ASSERT_TRUE(second.WaitFor({1004, 2003, 2004, 5004, 5005}, std::chrono::seconds(60)));
    }
    const auto codes = second.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), 5002);
    EXPECT_NE(std::find(codes.begin(), codes.end(), 5003), codes.end());
    EXPECT_EQ(codes.back(), 2003);
    EXPECT_FALSE(fs::exists(dir / "home/Desktop/lexivar.desktop"));  // removed, and not asked for again

    // Finally the uninstaller alone removes the product.
    EventLog third;
    {
        fs::copy_file(folder / "uninst.ep", dir / "temp/Lexivar_un_asa.exe", fs::copy_options::overwrite_existing);
        CUnInstaller runner(third.Callback(), (dir / "temp/Lexivar_un_asa.exe").wstring(), folder.wstring());
        runner.Start();
    }
    EXPECT_EQ(third.Codes().back(), 5003);
    EXPECT_FALSE(fs::exists(folder / "lexivar.exe"));
}
