#include <gtest/gtest.h>

#include "event_log.h"
#include "install/CInstaller.h"
#include "install/ConsoleProtocol.h"
#include "install/InstallCodes.h"
#include "install/LineCarrier.h"
#include "install/OutputDecoder.h"

using Install::Dialect;
using namespace std::string_view_literals;

namespace {

struct Case {
    std::wstring line;
    std::vector<Event> events;
    int32_t result = 0;
};

void Check(Dialect dialect, const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        EventLog log;
        Install::ProtocolState state;
        EXPECT_EQ(Install::ParseBlock(dialect, c.line, state, log.Callback()), c.result) << testing::PrintToString(std::string(c.line.begin(), c.line.end()));
        EXPECT_EQ(log.Events(), c.events) << std::string(c.line.begin(), c.line.end());
    }
}

}  // namespace

TEST(ConsoleProtocol, InstallerDialectKeys) {
    Check(Dialect::Installer, {
        {L"Progress=37.5", {{2002, 37.5, L""}}},
        {L"Progress=abc", {}},
        {L"Progress=nan", {}},
        {L"  Progress=0.5", {}},  // keys match only at the start of the line
        {L"InstPath=/opt/my apps/Lexivar\r", {{3000, 0.0, L"/opt/my apps/Lexivar"}}},
        {L"State=Success\r", {{2003, 0.0, L""}}, 1},
        {L"State=  Fail ", {{2004, 0.0, L"安装包安装失败"}}, 1000},
        {L"State=success", {}},
        {L"State=Done", {}},
        {L"ExePath=/opt/L/lexivar.exe", {{3001, 0.0, L"/opt/L/lexivar.exe"}}},
        {L"StartExe=/opt/L/run", {{3001, 0.0, L"/opt/L/run"}}},
        {L"UninstExePath=/a/u", {{3002, 0.0, L"/a/u"}}},
        {L"UninstExe=/a/v", {{3002, 0.0, L"/a/v"}}},
        {L"UninstEp=/a/uninst.ep", {{3003, 0.0, L"/a/uninst.ep"}}},
        {L"Error=磁盘已满", {{2004, 1000.0, L"磁盘已满"}}, 1000},
        {L"Error=", {{2004, 1000.0, L""}}, 1000},
        {L"TopShowDetention=1500", {{3007, 1500.0, L""}}},
        {L"FinsihCloseDetention=-1", {{3008, 4294967295.0, L""}}},
        {L"FinishCloseDetention=5", {}},  // only the key's own spelling counts
        {L"StartUrl=https://example.test/welcome", {{3004, 0.0, L"https://example.test/welcome"}}},
        {L"StartupStyle=NonStartup", {{3005, 0.0, L""}}},
        {L"StartupStyle=AutoStartup\r", {{3005, 1.0, L""}}},
        {L"StartupStyle= UserStartup", {{3005, 2.0, L""}}},
        {L"StartupStyle=Other", {{3005, 0.0, L""}}},
        {L"Message=请重启", {{3009, 0.0, L"请重启"}}},
        {L"InstallVersion=1.7.9", {}},
        {L"Encode=UTF8", {}},
        {L"Unknown=1", {}},
        // The first final line ends the block: one outcome per run.
        {L"Progress=0.2\nError=bad\nState=Fail\nProgress=0.9", {{2002, 0.2, L""}, {2004, 1000.0, L"bad"}}, 1000},
    });
}

TEST(ConsoleProtocol, UninstallerDialectKeys) {
    Check(Dialect::Uninstaller, {
        {L"Progress=0.25", {{5002, 0.25, L""}}},
        {L"Error=in use", {{5005, 0.0, L"in use"}}, 1000},
        {L"State=Success", {{5003, 0.0, L""}}, 1},
        {L"State=Fail\r", {{5005, 0.0, L"安装包卸载失败"}}, 1000},
        {L"State=success", {}},
        {L"InstPath=/x", {}},  // installer keys mean nothing here
        // Parsing goes on after a failure line.
        {L"Error=x\nProgress=0.5", {{5005, 0.0, L"x"}, {5002, 0.5, L""}}, 1000},
    });
}

TEST(ConsoleProtocol, EncodeAndVersionChangeState) {
    const std::pair<std::wstring, unsigned int> installer[] = {
        {L"Encode=UTF8", 65001}, {L"Encode=ACP", 0}, {L"Encode=936\r", 936}, {L"Encode=GBK", 0}, {L"Encode=-5", 0}};
    for (const auto& [line, page] : installer) {
        Install::ProtocolState state;
        state.codePage = 1252;
        Install::ParseBlock(Dialect::Installer, line, state, nullptr);
        EXPECT_EQ(state.codePage, page);
    }
    Install::ProtocolState state;
    state.codePage = 1252;
    Install::ParseBlock(Dialect::Uninstaller, L"Encode=936\nEncode=GBK", state, nullptr);
    EXPECT_EQ(state.codePage, 1252u);  // the uninstaller knows only the two names
    Install::ParseBlock(Dialect::Uninstaller, L"Encode=UTF8", state, nullptr);
    EXPECT_EQ(state.codePage, 65001u);

    Install::ParseBlock(Dialect::Installer, L"InstallVersion=2.10.3\nInstallVersion=4.x", state, nullptr);
    EXPECT_EQ(state.version[0], 4);
    EXPECT_EQ(state.version[1], 10);
    EXPECT_EQ(state.version[2], 3);
}

TEST(ConsoleProtocol, LongValuesAreCut) {
    EventLog log;
    Install::ProtocolState state;
    Install::ParseBlock(Dialect::Installer, L"Message=" + std::wstring(100 * 1024, L'm'), state, log.Callback());
    ASSERT_EQ(log.Events().size(), 1u);
    EXPECT_EQ(log.Events()[0].text.size(), Install::kMaxValueChars);
}

TEST(LineCarrier, KeepsUnfinishedLinesAndCharactersForTheNextRead) {
    Install::LineCarrier carrier;
    EXPECT_EQ(carrier.Feed("Progress=0."), "");
    EXPECT_EQ(carrier.Feed("5\nInstPath=/\xE5\xAE"), "Progress=0.5\n");
    EXPECT_EQ(carrier.Feed("\x89\xE8\xA3\x85\nState="), "InstPath=/\xE5\xAE\x89\xE8\xA3\x85\n");
    EXPECT_EQ(carrier.TakeRest(), "State=");
    EXPECT_EQ(carrier.TakeRest(), "");
    // A line that never ends is handed on once it passes the bound.
    const std::string big(Install::LineCarrier::kMaxCarry + 1, 'x');
    EXPECT_EQ(carrier.Feed(big).size(), big.size());
}

TEST(OutputDecoder, CodePageSwitchAppliesToTheNextLineOfTheSameRead) {
    unsigned int page = 0;
    std::vector<std::wstring> lines;
    const bool stopped = Install::DecodeLines("Encode=936\nMessage=\xC4\xE3\nA\0hidden\nB"sv, page, [&](std::wstring_view l) {
        lines.emplace_back(l);
        if (l == L"Encode=936") page = 936;
        return false;
    });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Encode=936", L"Message=你", L"A", L"B"}));
    // Stopping at a line leaves the rest unread.
    lines.clear();
    EXPECT_TRUE(Install::DecodeLines("x\ny\nz", page, [&](std::wstring_view l) {
        lines.emplace_back(l);
        return l == L"y";
    }));
    EXPECT_EQ(lines.size(), 2u);
}
