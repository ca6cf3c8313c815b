#pragma once

#include "analytics/ZrContextProperties.h"

namespace event_sdk {
class PropertiesNode;
}

namespace zerin::analytics {

// Sets every context property registered for `type` on `record`, in order (a
// later entry with the same key wins). Returns whether there was any.
bool mergeContextProperties(const ZrContextProperties* props, ZrEventType type, event_sdk::PropertiesNode& record);

}  // namespace zerin::analytics
