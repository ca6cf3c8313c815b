#pragma once
// A child process whose standard streams are pipes. Usage: create the error,
// output and input pipes, Launch, read the output pipe's read end until it
// fails (the child has ended), poll GetExitCode, Wait, CloseAll.
#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <thread>

#include "platform/Process.h"

namespace Utils {

using Handle = Platform::Handle;
inline constexpr Handle kNullHandle = Platform::kNullHandle;
inline constexpr uint32_t STILL_ACTIVE = Platform::kStillActive;

// Thrown only when a pipe or a process cannot be created.
class Exception : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};

// Reads what is there (blocking until something is); false at end of stream.
bool ReadFile(Handle handle, void* buffer, size_t size, size_t& bytesRead);

class Pipe final {
public:
    void Create();  // throws Exception
    void Close();

    Handle m_writeEnd = kNullHandle;
    Handle m_readEnd = kNullHandle;
};

struct ProcessInformation {
    Platform::ChildProcess child;
    uint32_t processId = 0;
};

class Process final {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // Splits the command line with the system's argument rules and starts its
    // first token directly (never through a shell). Throws Exception when the
    // text does not fit the 1024-character buffer or the program cannot start.
    void Launch(const std::wstring& commandLine);
    // Exit code, or STILL_ACTIVE while the child runs.
    uint32_t GetExitCode();
    void Wait();
    void CloseAll();

    std::array<wchar_t, 1024> m_commandLine{};
    Pipe m_errorPipe;
    Pipe m_outputPipe;
    Pipe m_inputPipe;
    ProcessInformation m_processInformation;

private:
    void StartErrorDrain();
    void StopErrorDrain();

    // Nobody reads the child's error stream; unread, a chatty child would fill
    // the pipe and block forever. This thread reads and discards it.
    std::thread m_errorDrain;
    std::atomic<bool> m_stopDrain{false};
};

}  // namespace Utils
