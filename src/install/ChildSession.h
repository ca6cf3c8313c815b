#pragma once
// One run of a child program whose standard output speaks the console line
// protocol: start it with three pipes, hand whole output lines to the
// reader, and end it without letting a stuck child hold the caller forever.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "install/LineCarrier.h"
#include "utils/Process.h"

namespace Install {

class ChildSession final {
public:
    enum class End { ChildExited, Stopped };
    // Gets one or more whole lines ("\n"-separated; the very last line of the
    // output may lack its end). Returns true to stop reading (a final line was seen).
    using LineReader = std::function<bool(std::string_view lines)>;

    ChildSession() = default;
    ~ChildSession();
    ChildSession(const ChildSession&) = delete;
    ChildSession& operator=(const ChildSession&) = delete;

    // Creates the error, output and input pipes in this order and starts the
    // command line. False when a pipe or the process cannot be created.
    bool Launch(const std::wstring& commandLine);

    // Reads until the reader asks to stop or the child has ended and its
    // output is exhausted; a last line without "\n" is still handed over.
    End Follow(const LineReader& reader);

    // Makes Follow return Stopped once `when` has passed, even while the
    // child stays silent. Callable from the reader.
    void StopReadingAt(std::chrono::steady_clock::time_point when) { m_stopAt = when; }

    // Waits for the child to end, at most `grace`, then closes everything. A
    // child still running then is left to finish on its own: it has already
    // reported, and waiting longer would keep the next start waiting too.
    // True when the child ended within the bound.
    bool Finish(std::chrono::milliseconds grace);

private:
    std::unique_ptr<Utils::Process> m_process;
    LineCarrier m_lines;
    std::chrono::steady_clock::time_point m_stopAt = std::chrono::steady_clock::time_point::max();
};

}  // namespace Install
