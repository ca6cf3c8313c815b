#include "app/Entry.h"

#include "common/test_files.h"
#include "utils/CommandLine.h"
#include "utils/Process.h"
#include "utils/ScopedEnv.h"
#include "utils/Text.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using lexivar::test::ScopedEnv;

TEST(Entry, AttachmentPointsInOrder)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", lexivar::test::ScratchDir("EntryOrder").string());
    for (bool sensors : {true, false}) {
        std::vector<std::string> calls;
        std::wstring appName;
        EntryHooks hooks;
        hooks.AnalyticsStart = [&](const InstallerSettings& s) {
            calls.push_back("analytics start");
            appName = s.ProductName + s.DlAppNameSuffix;
        };
        hooks.WindowStart = [&]() -> std::shared_ptr<void> {
            calls.push_back("window");
            return std::shared_ptr<void>(nullptr, [&](void*) { calls.push_back("window destroyed"); });
        };
        hooks.AnalyticsStop = [&] { calls.push_back("analytics stop"); };
        std::wstring cl = std::wstring(L"setup -dlappnamesuffix=.web -isenableappsensors=") + (sensors ? L"true" : L"no");
        EXPECT_EQ(RunInstaller(hooks, Utils::CommandLine(cl)), 0);
        if (sensors) {
            EXPECT_EQ(calls, (std::vector<std::string>{"analytics start", "window", "analytics stop", "window destroyed"}));
            EXPECT_EQ(appName, L"Lexivar.web");
        } else {
            EXPECT_EQ(calls, (std::vector<std::string>{"window", "window destroyed"}));
        }
    }
    InstallerSettings::Instance().ApplyCommandLine(Utils::CommandLine(L"p -isenableappsensors=true -dlappnamesuffix=.downloader"));
}

TEST(Entry, SecondInstanceLeavesAtOnce)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", lexivar::test::ScratchDir("EntrySecond").string());
    bool windowShown = false;
    EntryHooks outer;
    outer.WindowStart = [&]() -> std::shared_ptr<void> {
        EntryHooks inner;
        inner.WindowStart = [&]() -> std::shared_ptr<void> {
            windowShown = true;
            return nullptr;
        };
        EXPECT_EQ(RunInstaller(inner, Utils::CommandLine(L"setup")), -1);
        return nullptr;
    };
    EXPECT_EQ(RunInstaller(outer, Utils::CommandLine(L"setup")), 0);
    EXPECT_FALSE(windowShown);
}

TEST(Entry, TwoProcessesStartedTogether)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", lexivar::test::ScratchDir("EntryTwo").string());
    ScopedEnv hold("LEXIVAR_TEST_HOLD_MS", "3000");
    const std::wstring exe = Utils::ToWide(LEXIVAR_BUILD_DIR "/lexivar-setup", Utils::CP_UTF8);
    Utils::Process a, b;
    for (Utils::Process* p : {&a, &b}) {
        p->m_errorPipe.Create();
        p->m_outputPipe.Create();
        p->m_inputPipe.Create();
    }
    auto start = std::chrono::steady_clock::now();
    a.Launch(exe);
    b.Launch(exe);
    // Whichever lost the race ends first, with -1 and without a word on its streams.
    std::vector<uint32_t> codes;
    std::vector<double> seconds;
    std::string output;
    while (codes.size() < 2) {
        for (Utils::Process* p : {&a, &b}) {
            if (p->m_processInformation.processId == 0) continue;
            uint32_t code = p->GetExitCode();
            if (code == Utils::STILL_ACTIVE) continue;
            codes.push_back(code);
            seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            char buffer[256];
            size_t n = 0;
            while (Utils::ReadFile(p->m_outputPipe.m_readEnd, buffer, sizeof buffer, n)) output.append(buffer, n);
            p->CloseAll();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // The loser does not wait for anything: it is gone while the winner still holds.
    EXPECT_EQ(codes, (std::vector<uint32_t>{255, 0}));
    EXPECT_LT(seconds[0], 2.5);
    EXPECT_GE(seconds[1], 2.9);
    EXPECT_EQ(output, "");
}
