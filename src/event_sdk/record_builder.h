#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "event_sdk/properties.h"

namespace event_sdk {

// Everything one record is made of besides its properties.
struct RecordContext {
    std::string_view type;        // "track", "track_signup", "profile_set", ...
    std::string_view eventName;   // track kinds only
    std::string_view distinctId;
    std::string_view originalId;  // "track_signup" only
    const PropertiesNode* superProperties = nullptr;  // merged into track kinds
    bool isLoginId = false;
    int64_t nowMilliseconds = 0;  // used when the properties carry no "$time"
    int64_t trackId = 0;
};

// Validates and serialises one record. Returns nothing, after writing the
// reason to the error output, when the record has to be dropped.
std::optional<std::string> BuildRecord(const RecordContext& context, const PropertiesNode& properties);

// Two random parts and the last four digits of the time, read as one number
// of at most nine digits.
int64_t MakeTrackId(std::mt19937& random, int64_t nowMilliseconds);

int64_t CurrentTimeMilliseconds();

}  // namespace event_sdk
