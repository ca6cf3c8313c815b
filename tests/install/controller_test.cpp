// The controller chaining the real runners with a scripted downloader.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "child_fixture.h"
#include "common/test_files.h"
#include "event_log.h"
#include "install/CDownloadInstaller.h"
#include "install/Records.h"
#include "utils/Process.h"
#include "scripted_downloader.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::vector<Event> kDownloadOk = {{1001, 1.0, L""}, {1002, 0.5, L""}, {1003, 0.0, L"LibCurl"}};
const std::vector<Event> kDownloadFails = {{1001, 1.0, L""}, {1004, 28.0, L"LibCurl"}};
const std::vector<std::string> kInstallOk = {"out Encode=UTF8\\nProgress=0.5\\nState=Success\\n"};

class ControllerTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = lexivar::test::ScratchDir("controller " + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        m_folder = m_dir / "new place/Lexivar";
    }

    // A controller whose downloader plays `runs`; the package it "downloads" follows `packageScript`.
    std::unique_ptr<CDownloadInstaller> Make(std::vector<std::vector<Event>> runs,
                                             std::vector<std::string> packageScript = kInstallOk,
                                             bool insNew = false) {
        auto controller = std::make_unique<CDownloadInstaller>(m_log.Callback(), L"", L"", L"", true, true, true);
        DownloadInstallerEnvironment env;
        env.insNew = insNew;
        env.tempFolder = [this] { return (m_dir / "temp").wstring() + L"/"; };
        env.makeDownloader = [this, runs, packageScript](int32_t, StatusCallback cb, const std::wstring&,
                                                         const std::wstring& path) {
            ++m_downloadersMade;
            auto d = std::make_unique<ScriptedDownloader>(std::move(cb), path, runs, packageScript);
            m_downloader = d.get();
            return d;
        };
        controller->SetEnvironment(env);
        return controller;
    }

    void Init(CDownloadInstaller& c, const std::wstring& previousUninstaller = L"") {
        c.Init(L"http://127.0.0.1/software/364", L"", previousUninstaller, m_folder.wstring(), true, false, false,
               false, L"en-US");
    }

    fs::path PlacePreviousVersion(const std::vector<std::string>& script) {
        const fs::path uninst = m_dir / "old version/uninst.ep";
        PlaceScriptedChild(uninst, script);
        fs::create_directories(m_dir / "temp");
        // The runner starts the copy, which reads its script beside itself.
        fs::copy_file(uninst.string() + ".script", m_dir / "temp/Lexivar_un_asa.exe.script",
                      fs::copy_options::overwrite_existing);
        return uninst;
    }

    fs::path m_dir;
    fs::path m_folder;
    EventLog m_log;
    int m_downloadersMade = 0;
    ScriptedDownloader* m_downloader = nullptr;
};

bool HasUninstallEvents(const std::vector<int32_t>& codes) {
    return std::any_of(codes.begin(), codes.end(), [](int32_t c) { return c >= 5001 && c <= 5005; });
}

}  // namespace

TEST_F(ControllerTest, WithoutPreviousVersionDownloadsAndInstalls) {
    auto c = Make({kDownloadOk});
    Init(*c);
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({2003, 2004}));
    c.reset();
    EXPECT_EQ(m_log.Codes(), (std::vector<int32_t>{1001, 1002, 1003, 2001, 2002, 2002, 2003}));
    EXPECT_TRUE(fs::is_directory(m_folder));
    EXPECT_FALSE(fs::exists(m_folder / "__Package_Lexivar.exe"));
    // The package got the folder and choices of Init.
    const auto args = RecordedArguments(m_folder / "__Package_Lexivar.exe");
    EXPECT_NE(std::find(args.begin(), args.end(), "-inslang=en-US"), args.end());
    const std::string d = "/D=" + m_folder.string();
    EXPECT_EQ(args.back(), d.substr(d.rfind(' ') + 1));
}

TEST_F(ControllerTest, PreviousVersionIsUninstalledFromATemporaryCopyFirst) {
    const fs::path uninst = PlacePreviousVersion({"out Progress=0.5\\nState=Success\\n"});
    auto c = Make({kDownloadOk});
    Init(*c, uninst.wstring());
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({2003, 2004}));
    EXPECT_EQ(m_downloader->Started(), 1u);  // the controller owns the downloader
    c.reset();
    EXPECT_EQ(m_log.Codes(), (std::vector<int32_t>{5002, 5002, 5003, 1001, 1002, 1003, 2001, 2002, 2002, 2003}));
    const auto args = RecordedArguments(m_dir / "temp/Lexivar_un_asa.exe");
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args.back(), "version");  // "_?=<old folder>" last, split at its blank
}

TEST_F(ControllerTest, UninstallFailureStopsTheChain) {
    for (const auto& script : std::vector<std::vector<std::string>>{{"out State=Fail\\n"}, {"out Error=busy\\n"}}) {
        const fs::path uninst = PlacePreviousVersion(script);
        auto c = Make({kDownloadOk});
        Init(*c, uninst.wstring());
        c->Start();
        ASSERT_TRUE(m_log.WaitFor({5005}));
        EXPECT_EQ(m_downloader->Started(), 0u);
        c.reset();
    }
    auto codes = m_log.Codes();
    EXPECT_TRUE(std::none_of(codes.begin(), codes.end(), [](int32_t code) { return code < 5000; }));
}

TEST_F(ControllerTest, InsNewWaitsForTheRunningProductToEnd) {
    const fs::path uninst = PlacePreviousVersion({"out State=Success\\n"});
    const fs::path product = m_dir / "running/lexivar.exe";
    PlaceScriptedChild(product, {"sleep 600"});
    Utils::Process running;
    running.m_errorPipe.Create();
    running.m_outputPipe.Create();
    running.m_inputPipe.Create();
    running.Launch(L"\"" + product.wstring() + L"\"");
    while (FindProcessByName(L"lexivar.exe") == 0) std::this_thread::sleep_for(10ms);

    auto c = Make({kDownloadOk}, kInstallOk, true);
    Init(*c, uninst.wstring());
    const auto began = std::chrono::steady_clock::now();
    c->Start();  // blocks while the product runs
    EXPECT_GE(std::chrono::steady_clock::now() - began, 200ms);
    EXPECT_NE(running.GetExitCode(), Utils::STILL_ACTIVE);
    ASSERT_TRUE(m_log.WaitFor({2003, 2004}));
    c.reset();
    EXPECT_EQ(m_log.Codes().front(), 5002);
    running.Wait();
    running.CloseAll();
}

TEST_F(ControllerTest, DownloadFailureThenRetryReusesTheDownloader) {
    auto c = Make({kDownloadFails, kDownloadOk});
    Init(*c);
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({1004}));
    // The partial package goes at once.
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(fs::exists(m_folder / "__Package_Lexivar.exe"));
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({2003, 2004}));
    c.reset();
    EXPECT_EQ(m_downloadersMade, 1);
    EXPECT_EQ(m_log.Codes(), (std::vector<int32_t>{1001, 1004, 1001, 1002, 1003, 2001, 2002, 2002, 2003}));
    EXPECT_FALSE(fs::exists(m_folder / "__Package_Lexivar.exe"));
}

TEST_F(ControllerTest, RetryRequestRestartsFromTheDownloadersOwnThread) {
    auto c = Make({{{1001, 1.0, L""}, {1005, 0.0, L"LibCurl"}}, kDownloadOk});
    Init(*c);
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({2003, 2004}));
    c.reset();
    EXPECT_EQ(m_log.Codes(), (std::vector<int32_t>{1001, 1005, 1001, 1002, 1003, 2001, 2002, 2002, 2003}));
}

TEST_F(ControllerTest, InstallFailureDeletesThePackage) {
    auto c = Make({kDownloadOk}, {"out Error=磁盘已满\\n"});
    Init(*c);
    c->Start();
    ASSERT_TRUE(m_log.WaitFor({2004}));
    c.reset();
    EXPECT_EQ(m_log.Events().back(), (Event{2004, 1000.0, L"磁盘已满"}));
    EXPECT_FALSE(fs::exists(m_folder / "__Package_Lexivar.exe"));
    EXPECT_FALSE(HasUninstallEvents(m_log.Codes()));
}
