#include "analytics/TrackerOutput.h"

#include <mutex>

#include "platform/DebugOutput.h"

namespace zerin::analytics {
namespace {

std::mutex g_mutex;
TrackerOutputSink g_sink;

}  // namespace

void setTrackerDebugOutput(TrackerOutputSink sink) {
    std::lock_guard lock(g_mutex);
    g_sink = std::move(sink);
}

void writeTrackerDebug(std::string_view line) {
    std::lock_guard lock(g_mutex);
    if (g_sink) {
        g_sink(line);
    } else {
        Platform::DebugOutput(line);
    }
}

}  // namespace zerin::analytics
