#include "utils/Process.h"

#include "platform/CommandLineSplit.h"
#include "utils/Text.h"

#include <vector>

namespace Utils {

bool ReadFile(Handle handle, void* buffer, size_t size, size_t& bytesRead)
{
    return Platform::ReadFile(handle, buffer, size, bytesRead);
}

void Pipe::Create()
{
    if (!Platform::CreatePipe(m_readEnd, m_writeEnd)) {
        Close();
        throw Exception();
    }
}

void Pipe::Close()
{
    Platform::CloseHandle(m_writeEnd);
    Platform::CloseHandle(m_readEnd);
}

Process::~Process() { CloseAll(); }

void Process::Launch(const std::wstring& commandLine)
{
    if (commandLine.size() >= m_commandLine.size()) throw Exception();
    m_commandLine.fill(L'\0');
    commandLine.copy(m_commandLine.data(), commandLine.size());

    std::vector<std::string> arguments;
    for (const std::wstring& arg : Platform::SplitCommandLine(commandLine)) arguments.push_back(ToNarrow(arg, CP_UTF8));
    int rc = Platform::Spawn(arguments, m_inputPipe.m_readEnd, m_outputPipe.m_writeEnd, m_errorPipe.m_writeEnd, {},
                             m_processInformation.child);
    if (rc != 0) throw Exception();
    m_processInformation.processId = static_cast<uint32_t>(m_processInformation.child.processId);

    // The child holds its own copies now. Closing ours is what makes a read of
    // the output pipe fail once the child has ended.
    Platform::CloseHandle(m_outputPipe.m_writeEnd);
    Platform::CloseHandle(m_errorPipe.m_writeEnd);
    Platform::CloseHandle(m_inputPipe.m_readEnd);
    StartErrorDrain();
}

uint32_t Process::GetExitCode() { return Platform::GetExitCode(m_processInformation.child); }

void Process::Wait() { Platform::WaitForExit(m_processInformation.child); }

void Process::CloseAll()
{
    StopErrorDrain();
    m_errorPipe.Close();
    m_outputPipe.Close();
    m_inputPipe.Close();
    // Reap a child that has already ended, so it does not linger as a zombie.
    if (m_processInformation.child.processId > 0) Platform::GetExitCode(m_processInformation.child);
    m_processInformation = ProcessInformation{};
}

void Process::StartErrorDrain()
{
    Handle errorRead = m_errorPipe.m_readEnd;
    if (errorRead == kNullHandle) return;
    m_stopDrain = false;
    try {
        m_errorDrain = std::thread([this, errorRead] {
            char sink[4096];
            while (!m_stopDrain.load()) {
                if (!Platform::WaitReadable(errorRead, 50)) continue;
                size_t n = 0;
                if (!Platform::ReadFile(errorRead, sink, sizeof sink, n)) return;  // the child closed it
            }
        });
    } catch (const std::system_error&) {
        // Without the drain the child may block on a full error pipe, as it would anywhere else.
    }
}

void Process::StopErrorDrain()
{
    if (!m_errorDrain.joinable()) return;
    m_stopDrain = true;
    m_errorDrain.join();
}

}  // namespace Utils
