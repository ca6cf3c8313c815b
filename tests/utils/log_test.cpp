#include "utils/Log.h"

#include "platform/DebugOutput.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

TEST(Log, PrefixFields)
{
    Platform::LocalTime t{2023, 2, 22, 8, 23, 47, 15};
    EXPECT_EQ(Utils::FormatLogPrefix(4312, 7716, t, L"Utils::Thread::CallBack", 101),
              L"<P04312><T07716><2023-02-22 08:23:47.015>(Utils::Thread::CallBack)<0101>: ");
    EXPECT_EQ(Utils::FormatLogPrefix(1234567, 98765432, t, L"F", 35),
              L"<P1234567><T98765432><2023-02-22 08:23:47.015>(F)<0035>: ");
}

class LogCapture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Platform::SetDebugOutputSink([this](std::string_view line) { m_lines.emplace_back(line); });
    }
    void TearDown() override { Platform::SetDebugOutputSink({}); }
    std::vector<std::string> m_lines;
};

TEST_F(LogCapture, WholeLineWithWideAndNarrowArguments)
{
    Utils::Log(L"CDownloadInstaller::Start", 35, L"code=%d name=%s raw=%hs %%", 5, L"中文", "x");
    ASSERT_EQ(m_lines.size(), 1u);
    std::regex shape(R"(<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(CDownloadInstaller::Start\)<0035>: )"
                     "code=5 name=\xE4\xB8\xAD\xE6\x96\x87 raw=x %");
    EXPECT_TRUE(std::regex_match(m_lines[0], shape)) << m_lines[0];
}

TEST_F(LogCapture, NoLineEndIsAddedAndLongMessagesAreWhole)
{
    std::wstring big(10000, L'z');
    LEXIVAR_LOG(L"F", L"%s", big.c_str());
    LEXIVAR_LOG(L"F", L"THREAD END\r\n");
    ASSERT_EQ(m_lines.size(), 2u);
    EXPECT_EQ(m_lines[0].substr(m_lines[0].size() - 10000), std::string(10000, 'z'));
    EXPECT_EQ(m_lines[1].substr(m_lines[1].size() - 12), "THREAD END\r\n");
}
