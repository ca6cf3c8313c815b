#include "utils/CommandLine.h"

#include "platform/CommandLineSplit.h"

#include <cmath>
#include <gtest/gtest.h>

using Args = std::vector<std::wstring>;

TEST(CommandLineSplit, SystemQuotingRules)
{
    struct Case {
        std::wstring line;
        Args args;
    } cases[] = {
        {L"p \"a b c\" d e", {L"p", L"a b c", L"d", L"e"}},
        {L"p \"ab\\\"c\" \"\\\\\" d", {L"p", L"ab\"c", L"\\", L"d"}},
        {L"p a\\\\\\b d\"e f\"g h", {L"p", L"a\\\\\\b", L"de fg", L"h"}},
        {L"p a\\\\\\\"b c d", {L"p", L"a\\\"b", L"c", L"d"}},
        {L"p a\\\\\\\\\"b c\" d e", {L"p", L"a\\\\b c", L"d", L"e"}},
        {L"p a\"b\"\" c d", {L"p", L"ab\"", L"c", L"d"}},  // a doubled quote inside quotes ends them
        {L"\"C:\\Program Files\\x.exe\"-a b", {L"C:\\Program Files\\x.exe", L"-a", L"b"}},
        {L"C:\\dir\\x.exe \t -k=v\t", {L"C:\\dir\\x.exe", L"-k=v"}},
        {L"p \"unterminated arg", {L"p", L"unterminated arg"}},
        {L"p \"\"", {L"p", L""}},
        {L"\"dangling", {L"dangling"}},
        {L"   ", {}},
        {L"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Platform::SplitCommandLine(c.line), c.args) << c.line.size();
}

TEST(CommandLineSplit, QuotingRoundTrips)
{
    Args args = {L"/opt/my app/setup", L"", L"a b", L"q\"uote", L"tail\\", L"mid\\\"x", L"tab\there", L"\\\\server\\"};
    EXPECT_EQ(Platform::SplitCommandLine(Platform::QuoteArguments(args)), args);
}

TEST(CommandLine, OptionsAndValues)
{
    Utils::CommandLine cl(L"setup.exe -downloadtype=3 -downloadtype=1 -DownloadType=2 -insnew "
                          L"\"-instcmd=/S /D=x\" -url=a=b -empty= plain");
    EXPECT_EQ(cl.GetInt(L"-downloadtype"), 3);  // first occurrence wins
    EXPECT_EQ(cl.GetInt(L"-DownloadType"), 2);  // keys are case-sensitive
    EXPECT_TRUE(cl.find(L"-insnew"));
    EXPECT_FALSE(cl.GetBool(L"-insnew"));
    EXPECT_EQ(cl.GetString(L"-instcmd"), L"/S /D=x");
    EXPECT_EQ(cl.GetString(L"-url"), L"a=b");
    EXPECT_TRUE(cl.find(L"-empty"));
    EXPECT_EQ(cl.GetString(L"-empty"), L"");
    EXPECT_TRUE(cl.find(L"plain"));
    EXPECT_TRUE(cl.find(L"setup.exe"));
    EXPECT_FALSE(cl.find(L"-missing"));
    EXPECT_EQ(cl.GetString(L"-missing"), L"");
}

TEST(CommandLine, TypedReads)
{
    Utils::CommandLine cl(Args{L"p", L"-t=true", L"-T=True", L"-i= 12abc", L"-n=abc", L"-d=0.5x", L"-big=1e999",
                               L"-huge=99999999999"});
    EXPECT_TRUE(cl.GetBool(L"-t"));
    EXPECT_FALSE(cl.GetBool(L"-T"));
    EXPECT_FALSE(cl.GetBool(L"-absent"));
    EXPECT_EQ(cl.GetInt(L"-i"), 12);
    EXPECT_EQ(cl.GetInt(L"-n"), 0);
    EXPECT_EQ(cl.GetInt(L"-absent"), 0);
    EXPECT_EQ(cl.GetInt(L"-huge"), INT32_MAX);
    EXPECT_DOUBLE_EQ(cl.GetDouble(L"-d", 9.0), 0.5);
    EXPECT_DOUBLE_EQ(cl.GetDouble(L"-n", 9.0), 9.0);
    EXPECT_DOUBLE_EQ(cl.GetDouble(L"-big", 9.0), 9.0);
    EXPECT_TRUE(std::isnan(cl.GetDouble(L"-absent", NAN)));
}
