#include "event_sdk/output.h"

#include "platform/DebugOutput.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace event_sdk {
namespace {

struct Sinks {
    std::mutex mutex;
    OutputSink error;
    OutputSink debug;
};

Sinks& TheSinks() {
    static Sinks sinks;
    return sinks;
}

}  // namespace

void SetErrorOutput(OutputSink sink) {
    std::lock_guard lock(TheSinks().mutex);
    TheSinks().error = std::move(sink);
}

void SetDebugOutput(OutputSink sink) {
    std::lock_guard lock(TheSinks().mutex);
    TheSinks().debug = std::move(sink);
}

void WriteError(std::string_view line) {
    std::lock_guard lock(TheSinks().mutex);
    if (TheSinks().error) {
        TheSinks().error(line);
        return;
    }
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void WriteDebug(std::string_view line) {
    std::lock_guard lock(TheSinks().mutex);
    if (TheSinks().debug)
        TheSinks().debug(line);
    else
        Platform::DebugOutput(line);
}

}  // namespace event_sdk
