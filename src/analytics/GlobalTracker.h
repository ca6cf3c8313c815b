#pragma once

#include <chrono>
#include <memory>

#include "analytics/UsageTrackerWrapper.h"

namespace zerin::analytics {

// The process's one tracker. Reports made before it exists or after it is
// released find an empty pointer and are dropped; a caller holding the
// pointer keeps the tracker alive until its report is done.
std::shared_ptr<UsageTrackerWrapper> globalTracker();

// Creates and initialises a tracker (an initialisation failure leaves it
// uninitialised: it checks records but sends nothing) and makes it the global
// one, releasing any previous tracker.
void createGlobalTracker(const TrackerInitInfo& info);
// Drops the global reference; the last holder's release shuts the tracker down
// (saving its state and flushing what is queued).
void releaseGlobalTracker();

}  // namespace zerin::analytics
