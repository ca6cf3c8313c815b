// Both runners against real child processes that print prepared output.
#include <gtest/gtest.h>

#include <chrono>

#include "child_fixture.h"
#include "common/test_files.h"
#include "event_log.h"
#include "install/CInstaller.h"
#include "install/CUnInstaller.h"
#include "install/Records.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class InstallerRunnerTest : public testing::Test {
protected:
    void SetUp() override {
        m_dir = lexivar::test::ScratchDir("runner " + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        m_package = m_dir / "my folder/__Package_Lexivar.exe";
    }

    // Runs the package with the script and returns its events once the worker has ended.
    std::vector<Event> Run(const std::vector<std::string>& script, std::chrono::milliseconds grace = 30s) {
        PlaceScriptedChild(m_package, script);
        return RunPackage(L"\"" + m_package.wstring() + L"\"", grace);
    }

    std::vector<Event> RunPackage(const std::wstring& argument, std::chrono::milliseconds grace = 30s) {
        EventLog log;
        {
            CInstaller installer(log.Callback(), argument, L"", false, false, false);
            installer.SetExitGrace(grace);
            installer.Start();
        }  // the destructor waits for the worker
        return log.Events();
    }

    fs::path m_dir;
    fs::path m_package;
};

const Event kStart{2001, 0.0, L""};
const Event kFirstProgress{2002, 0.0, L""};

}  // namespace

TEST_F(InstallerRunnerTest, ChildPrintingNothingCountsAsSuccess) {
    EXPECT_EQ(Run({}), (std::vector<Event>{kStart, kFirstProgress, {2003, 1.0, L""}}));
}

TEST_F(InstallerRunnerTest, LinesAndCharactersSplitAcrossReadsArriveWhole) {
    const auto events = Run({"out Encode=UTF8\\nProgress=0.", "sleep 50", "out 5\\nInstPath=/\\xE5\\xAE", "sleep 50",
                             "out \\x89\\xE8\\xA3\\x85\\r\\nStartupStyle=UserStartup\\nState=Succ", "sleep 50",
                             "out ess\\n", "sleep 50"});
    EXPECT_EQ(events, (std::vector<Event>{kStart, kFirstProgress, {2002, 0.5, L""}, {3000, 0.0, L"/安装"},
                                          {3005, 2.0, L""}, {2003, 0.0, L""}}));
}

TEST_F(InstallerRunnerTest, NumberedCodePageDecodesLaterLines) {
    const auto events = Run({"out Encode=936\\nMessage=\\xC4\\xE3\\xBA\\xC3\\n"});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2], (Event{3009, 0.0, L"你好"}));
}

TEST_F(InstallerRunnerTest, ErrorLineEndsTheRunWithOneFailure) {
    const auto events = Run({"out Progress=0.3\\nError=磁盘空间不足\\n", "sleep 50", "out State=Fail\\nProgress=0.9\\n"});
    EXPECT_EQ(events, (std::vector<Event>{kStart, kFirstProgress, {2002, 0.3, L""}, {2004, 1000.0, L"磁盘空间不足"}}));
}

TEST_F(InstallerRunnerTest, ProgramThatCannotStart) {
    EXPECT_EQ(RunPackage(L"\"" + (m_dir / "missing.exe").wstring() + L"\""),
              (std::vector<Event>{kStart, kFirstProgress, {2004, 2.0, L""}}));
    EXPECT_EQ(RunPackage(L""), (std::vector<Event>{kStart, {2004, 1.0, L""}, kFirstProgress, {2004, 2.0, L""}}));
}

TEST_F(InstallerRunnerTest, BadOutputGivesClearEvents) {
    // Binary garbage, a 100 KiB line, a bad number and a chatty error stream.
    const std::string garbage = "out \\x00\\x01\\xFF\\xFE\\x80garbage\\x1B[2J\\n";
    const auto events = Run({garbage, "out Message=" + std::string(100 * 1024, 'm') + "\\n", "err 1000000",
                             "out Progress=fast\\nState=Success\\n"});
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].code, 3009);
    EXPECT_EQ(events[2].text.size(), 771u);
    EXPECT_EQ(events[3], (Event{2003, 0.0, L""}));
}

TEST_F(InstallerRunnerTest, ChildThatNeverExitsAfterItsFinalLineIsLetGo) {
    const auto began = std::chrono::steady_clock::now();
    const auto events = Run({"out State=Success\\n", "sleep 20000"}, 300ms);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 10s);
    EXPECT_EQ(events.back(), (Event{2003, 0.0, L""}));
}

TEST_F(InstallerRunnerTest, PackageReceivesTheCommandLineAsArguments) {
    PlaceScriptedChild(m_package, {});
    EventLog log;
    {
        CInstaller installer(log.Callback(), L"\"" + m_package.wstring() + L"\"", L"/opt/my apps/Lexivar", true,
                             false, false);
        installer.SetInstallLanguage(L"zh-TW");
        installer.Start();
    }
    EXPECT_EQ(RecordedArguments(m_package),
              (std::vector<std::string>{"/S", "-console=show", "-version=1.0.0", "-adminact=false",
                                        "-authorizationact=true", "-dsc=true", "-ssc=false", "-inslang=zh-TW",
                                        "-instdir=/opt/my apps/Lexivar", "/D=/opt/my", "apps/Lexivar"}));
}

TEST_F(InstallerRunnerTest, EncodingStaysForLaterRunsOfTheSameRunner) {
    PlaceScriptedChild(m_package, {"out Encode=936\\n"});
    EventLog log;
    CInstaller installer(log.Callback(), L"\"" + m_package.wstring() + L"\"", L"", false, false, false);
    installer.Start();
    ASSERT_TRUE(log.WaitFor({2003}));
    PlaceScriptedChild(m_package, {"out Message=\\xC4\\xE3\\n"});
    installer.Start();
    ASSERT_TRUE(log.WaitForCount(2003, 2));
    EXPECT_EQ(log.Events()[5], (Event{3009, 0.0, L"你"}));
    EXPECT_EQ(installer.GetOutputCodePage(), 936u);
}

namespace {

class UninstallerRunnerTest : public InstallerRunnerTest {
protected:
    std::vector<Event> RunUninstaller(const std::vector<std::string>* script) {
        const fs::path program = m_dir / "temp/Lexivar_un_asa.exe";
        if (script) PlaceScriptedChild(program, *script);
        EventLog log;
        {
            CUnInstaller runner(log.Callback(), program.wstring(), (m_dir / "old version").wstring());
            runner.SetAdminQueries([] { return false; }, [] { return true; });
            runner.SetExitGrace(300ms);
            runner.Start();
        }
        return log.Events();
    }
};

}  // namespace

TEST_F(UninstallerRunnerTest, OutcomesAsTheChildReportsThem) {
    struct Case {
        std::vector<std::string> script;
        std::vector<Event> events;
    };
    const Case cases[] = {
        {{}, {{5002, 0.0, L""}, {5003, 1.0, L""}}},
        {{"out Encode=UTF8\\nProgress=0.5\\nState=Success\\r\\n"}, {{5002, 0.0, L""}, {5002, 0.5, L""}, {5003, 0.0, L""}}},
        {{"out Error=文件被占用\\n", "sleep 50", "out Progress=0.7\\nState=Fail\\n"},
         {{5002, 0.0, L""}, {5005, 0.0, L"文件被占用"}, {5002, 0.7, L""}}},
        {{"out State=Fail\\n"}, {{5002, 0.0, L""}, {5005, 0.0, L"安装包卸载失败"}}},
        {{"out State=Success\\n", "sleep 2000"}, {{5002, 0.0, L""}, {5003, 0.0, L""}}},
    };
    for (const auto& c : cases) EXPECT_EQ(RunUninstaller(&c.script), c.events);
    // The runner let the last child go; wait for it, so no later test finds a
    // running "Lexivar_un_asa.exe" that is not its own.
    for (int i = 0; i < 100 && FindProcessByName(L"Lexivar_un_asa.exe") != 0; ++i)
        std::this_thread::sleep_for(50ms);
}

TEST_F(UninstallerRunnerTest, MissingOrUnstartableProgram) {
    EXPECT_EQ(RunUninstaller(nullptr), (std::vector<Event>{{5004, 1.0, L"可执行卸载文件不存在"}}));
    fs::create_directories(m_dir / "temp");
    lexivar::test::WriteFile(m_dir / "temp/Lexivar_un_asa.exe", "not a program");
    EXPECT_EQ(RunUninstaller(nullptr), (std::vector<Event>{{5002, 0.0, L""}, {5004, 2.0, L""}}));
}

TEST_F(UninstallerRunnerTest, OldFolderArrivesAfterTheLastSwitch) {
    const std::vector<std::string> none;
    RunUninstaller(&none);
    // The launcher splits the unquoted folder at its blanks.
    std::vector<std::string> expected = {"/S", "-adminact=false", "-authorizationact=true", "-console=show"};
    std::string rest = "_?=" + (m_dir / "old version").string();
    for (size_t blank; (blank = rest.find(' ')) != std::string::npos; rest.erase(0, blank + 1))
        expected.push_back(rest.substr(0, blank));
    expected.push_back(rest);
    EXPECT_EQ(RecordedArguments(m_dir / "temp/Lexivar_un_asa.exe"), expected);
}
