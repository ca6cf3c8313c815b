#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace collector {

// "%41" → "A"; '+' stands for a blank as in any form body. Nothing when an
// escape is cut off or not hexadecimal.
std::optional<std::string> PercentDecode(std::string_view text);

// Standard alphabet with '=' padding; nothing on any other character.
std::optional<std::string> Base64Decode(std::string_view text);

// One gzip stream, refused when it would inflate beyond `limit` bytes.
std::optional<std::string> Gunzip(std::string_view data, size_t limit);

// The value of one field of an application/x-www-form-urlencoded body, still encoded.
std::optional<std::string_view> FormField(std::string_view body, std::string_view name);

// The records of one batch body ("data_list=...&gzip=1"), each re-written as
// one compact JSON line. Nothing when any step of the decoding fails.
std::optional<std::vector<std::string>> DecodeBatch(std::string_view body);

}  // namespace collector
