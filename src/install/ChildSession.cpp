#include "install/ChildSession.h"

#include <thread>

#include "platform/Process.h"

namespace Install {
namespace {

constexpr int kPollMs = 100;
constexpr size_t kReadBlock = 16 * 1024;

}  // namespace

ChildSession::~ChildSession() { Finish(std::chrono::milliseconds(0)); }

bool ChildSession::Launch(const std::wstring& commandLine) {
    Finish(std::chrono::milliseconds(0));
    m_lines = LineCarrier();
    m_stopAt = std::chrono::steady_clock::time_point::max();
    m_process = std::make_unique<Utils::Process>();
    try {
        m_process->m_errorPipe.Create();
        m_process->m_outputPipe.Create();
        m_process->m_inputPipe.Create();
        m_process->Launch(commandLine);
        return true;
    } catch (const std::exception&) {
        m_process->CloseAll();
        m_process.reset();
        return false;
    }
}

ChildSession::End ChildSession::Follow(const LineReader& reader) {
    if (!m_process) return End::ChildExited;
    const Utils::Handle out = m_process->m_outputPipe.m_readEnd;
    char buffer[kReadBlock];
    bool outputEnded = false;
    for (;;) {
        if (std::chrono::steady_clock::now() >= m_stopAt) return End::Stopped;
        // Asked before reading: output written just before the exit is still
        // in the pipe and is read before the run counts as ended.
        const bool exited = m_process->GetExitCode() != Utils::STILL_ACTIVE;
        bool readable = false;
        if (!outputEnded) {
            readable = Platform::WaitReadable(out, kPollMs);
            size_t got = 0;
            if (readable && Utils::ReadFile(out, buffer, sizeof buffer, got) && got > 0) {
                const std::string_view lines = m_lines.Feed(std::string_view(buffer, got));
                if (!lines.empty() && reader(lines)) return End::Stopped;
                continue;
            }
            outputEnded = readable;  // readable but nothing to read: every writer has closed it
        } else if (!exited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        }
        // A grandchild may keep the pipe open after the child ended; the
        // child's end is what counts once nothing more is waiting to be read.
        if (exited && (outputEnded || !readable)) {
            const std::string rest = m_lines.TakeRest();
            if (!rest.empty() && reader(rest)) return End::Stopped;
            return End::ChildExited;
        }
    }
}

bool ChildSession::Finish(std::chrono::milliseconds grace) {
    if (!m_process) return true;
    const auto deadline = std::chrono::steady_clock::now() + grace;
    bool ended = m_process->GetExitCode() != Utils::STILL_ACTIVE;
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ended = m_process->GetExitCode() != Utils::STILL_ACTIVE;
    }
    if (ended) m_process->Wait();
    m_process->CloseAll();
    m_process.reset();
    return ended;
}

}  // namespace Install
