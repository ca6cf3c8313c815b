#pragma once

#include <string>
#include <string_view>

namespace event_sdk {

class PropertiesNode;

inline constexpr size_t kMaxNameLength = 100;
inline constexpr size_t kMaxIdLength = 255;
inline constexpr size_t kMaxStringLength = 8192;

// Strict UTF-8 that the statistics server accepts: no overlong forms, no
// surrogates, nothing above U+10FFFF, and of the control characters only tab,
// line feed and carriage return. A sequence cut off by the end is invalid.
bool IsValidUtf8(std::string_view text);

// Each check returns an empty text when the value passes, otherwise the
// message that the SDK writes to its error output.

// 1 to 100 bytes; first byte a letter, '$' or '_'; then letters, digits, '$', '_'.
std::string CheckName(std::string_view name, std::string_view label);
// 1 to 255 bytes.
std::string CheckLength(std::string_view id, std::string_view label);
// Keys follow the name rule; "$time" must be a date-time, "$project" a string.
std::string CheckProperties(const PropertiesNode& properties);
// The checks a string value passes before it may be stored under a key.
std::string CheckStringValue(std::string_view key, std::string_view text);

}  // namespace event_sdk
