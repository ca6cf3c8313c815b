#include "analytics/GlobalTracker.h"

#include <cstdlib>
#include <mutex>

#include "analytics/UsageTrackerImpl.h"

namespace zerin::analytics {
namespace {

std::mutex g_mutex;
std::shared_ptr<UsageTrackerWrapper> g_tracker;

}  // namespace

std::shared_ptr<UsageTrackerWrapper> globalTracker() {
    std::lock_guard lock(g_mutex);
    return g_tracker;
}

void createGlobalTracker(const TrackerInitInfo& info) {
    // A program that leaves through exit() with the tracker still running would
    // otherwise shut it down among the static destructors, after the recording
    // SDK's own globals may be gone. Registered now, after those globals exist,
    // the release runs before any of them is destroyed.
    static std::once_flag releaseAtExit;
    std::call_once(releaseAtExit, [] { std::atexit(releaseGlobalTracker); });
    // The recording SDK is one per process: the old tracker must have shut it
    // down before the new one starts it.
    releaseGlobalTracker();
    auto impl = std::make_unique<UsageTrackerImpl>(info);
    try {
        impl->init();
    } catch (...) {
        // An uninitialised tracker still checks every record; it just has no SDK to hand them to.
    }
    auto wrapper = std::make_shared<UsageTrackerWrapper>(std::move(impl));
    std::lock_guard lock(g_mutex);
    g_tracker = std::move(wrapper);
}

void releaseGlobalTracker() {
    std::shared_ptr<UsageTrackerWrapper> previous;
    {
        std::lock_guard lock(g_mutex);
        previous = std::move(g_tracker);
    }
    // `previous` shuts the tracker down here, outside the lock, so reports
    // made meanwhile are dropped at once instead of waiting for its final flush.
}

}  // namespace zerin::analytics
