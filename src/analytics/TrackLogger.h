#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zerin::analytics {

// A human-readable local copy of tracked events: one line per event, fields
// separated by tabs.
class TrackLogger {
public:
    using Line = std::vector<std::string>;

    virtual ~TrackLogger() = default;
    // Reads up to `count` lines starting at line `first` (negative: from the
    // last read position) into `out`, each split at its tabs.
    virtual void read(std::vector<Line>& out, int64_t first, int64_t count) = 0;
    virtual void clear() = 0;
};

}  // namespace zerin::analytics
