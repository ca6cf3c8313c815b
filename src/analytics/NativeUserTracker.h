#pragma once

#include <cstdint>
#include <string>

namespace zerin::analytics {

// Each profile property has one fixed operation on the server.
enum class ProfileOperation : int32_t { NotSupported = 0, SetOnce = 1, Increment = 2, Set = 3, Append = 4 };

ProfileOperation profileOperation(const std::string& key);

// Typed profile setters. Each sends exactly one profile record, or raises
// ZrException (and sends nothing) when the key's operation does not fit.
void ProfileUserPropertyString(const std::string& key, const std::string& value);
void ProfileUserPropertyNumber(const std::string& key, int32_t value);
void ProfileUserPropertyNumber(const std::string& key, double value);
// `time` is seconds since 1970, or milliseconds when too large for seconds.
void ProfileUserPropertyDateTime(const std::string& key, int64_t time);

}  // namespace zerin::analytics
