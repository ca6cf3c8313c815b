#include "platform/DebugOutput.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <syslog.h>
#include <unistd.h>

namespace Platform {
namespace {

bool CopyToStderr()
{
    static const bool copy = [] {
        const char* value = std::getenv("LEXIVAR_DEBUG_OUTPUT");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return copy;
}

void OpenJournal()
{
    static std::once_flag once;
    std::call_once(once, [] { openlog("lexivar-setup", LOG_PID | LOG_NDELAY, LOG_USER); });
}

std::mutex& SinkMutex()
{
    static std::mutex m;
    return m;
}

DebugSink& Sink()
{
    static DebugSink sink;
    return sink;
}

}  // namespace

void SetDebugOutputSink(DebugSink sink)
{
    std::lock_guard<std::mutex> lock(SinkMutex());
    Sink() = std::move(sink);
}

void DebugOutput(std::string_view utf8Line)
{
    {
        std::lock_guard<std::mutex> lock(SinkMutex());
        if (Sink()) Sink()(utf8Line);
    }
    OpenJournal();
    // The line is data, never a format.
    syslog(LOG_DEBUG, "%.*s", static_cast<int>(utf8Line.size()), utf8Line.data());
    if (CopyToStderr()) {
        // One write per line keeps lines of different threads whole.
        ssize_t ignored = write(STDERR_FILENO, utf8Line.data(), utf8Line.size());
        (void)ignored;
    }
}

}  // namespace Platform
