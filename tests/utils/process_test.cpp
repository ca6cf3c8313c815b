#include "utils/Process.h"

#include "utils/ScopedEnv.h"
#include "utils/Text.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::wstring kChild = Utils::ToWide(LEXIVAR_BUILD_DIR "/tests/utils/test_child", Utils::CP_UTF8);

struct ChildRun {
    std::string output;
    uint32_t exitCode = 0;
};

int OpenDescriptors()
{
    int count = 0;
    for (int fd = 0; fd < 1024; ++fd)
        if (fcntl(fd, F_GETFD) != -1) ++count;
    return count;
}

// The order the runners use: pipes, launch, read until the read fails, wait, close.
ChildRun RunChild(const std::wstring& arguments)
{
    Utils::Process process;
    process.m_errorPipe.Create();
    process.m_outputPipe.Create();
    process.m_inputPipe.Create();
    process.Launch(L"\"" + kChild + L"\" " + arguments);
    ChildRun run;
    char buffer[512];
    size_t n = 0;
    while (Utils::ReadFile(process.m_outputPipe.m_readEnd, buffer, sizeof buffer, n)) run.output.append(buffer, n);
    process.Wait();
    run.exitCode = process.GetExitCode();
    process.CloseAll();
    return run;
}

}  // namespace

TEST(Process, SilentChildEndsReadsAndClosesEverything)
{
    int before = OpenDescriptors();
    Utils::Process process;
    process.m_errorPipe.Create();
    process.m_outputPipe.Create();
    process.m_inputPipe.Create();
    process.Launch(kChild + L" exit 7");
    EXPECT_EQ(process.m_outputPipe.m_writeEnd, Utils::kNullHandle);  // the child's end is gone from here
    char buffer[16];
    size_t n = 1;
    EXPECT_FALSE(Utils::ReadFile(process.m_outputPipe.m_readEnd, buffer, sizeof buffer, n));
    EXPECT_EQ(n, 0u);
    process.Wait();
    EXPECT_EQ(process.GetExitCode(), 7u);
    process.CloseAll();
    EXPECT_EQ(process.m_outputPipe.m_readEnd, Utils::kNullHandle);
    EXPECT_EQ(OpenDescriptors(), before);
    process.CloseAll();  // a second close touches nothing
    EXPECT_EQ(OpenDescriptors(), before);
}

TEST(Process, ArgumentsArriveIntact)
{
    struct Case {
        std::wstring commandLine;
        std::string expected;
    } cases[] = {
        {L"args \"a b\" c", "<a b>\n<c>\n"},
        {L"args \"say \\\"hi\\\"\" x\\y", "<say \"hi\">\n<x\\y>\n"},
        {L"args \"-instcmd=/S /D=C:\\Program Files\\\\\"", "<-instcmd=/S /D=C:\\Program Files\\>\n"},
        {L"args ; $(id) `x` |", "<;>\n<$(id)>\n<`x`>\n<|>\n"},  // no shell sees these
    };
    for (const Case& c : cases) EXPECT_EQ(RunChild(c.commandLine).output, c.expected);
}

TEST(Process, LongestCommandLine)
{
    std::wstring prefix = L"\"" + kChild + L"\" args ";
    std::wstring arg(1023 - prefix.size(), L'x');
    ChildRun run = RunChild(L"args " + arg);
    EXPECT_EQ(run.output, "<" + std::string(arg.size(), 'x') + ">\n");

    Utils::Process process;
    EXPECT_THROW(process.Launch(prefix + arg + L"y"), Utils::Exception);  // 1024 characters do not fit
}

TEST(Process, ErrorFloodDoesNotBlockTheChild)
{
    ChildRun run = RunChild(L"flood 4000000");
    EXPECT_EQ(run.output, "done\n");
    EXPECT_EQ(run.exitCode, 0u);
}

TEST(Process, EnvironmentIsSanitised)
{
    lexivar::test::ScopedEnv preload("LD_PRELOAD", "/nonexistent/evil.so");
    lexivar::test::ScopedEnv kept("LEXIVAR_TEST_KEPT", "yes");
    EXPECT_EQ(RunChild(L"env LD_PRELOAD").output, "<unset>\n");
    EXPECT_EQ(RunChild(L"env LEXIVAR_TEST_KEPT").output, "yes\n");
}

TEST(Process, MissingProgramThrows)
{
    Utils::Process process;
    process.m_outputPipe.Create();
    EXPECT_THROW(process.Launch(L"/nonexistent/program.exe -x"), Utils::Exception);
    EXPECT_THROW(process.Launch(L""), Utils::Exception);
    process.CloseAll();
}
