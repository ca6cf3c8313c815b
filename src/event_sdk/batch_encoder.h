#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace event_sdk {

// "[" + r1 + "," + ... + "]"
std::string JoinBatch(const std::vector<std::string>& records);

// gzip stream (zlib, level 9, window 15 with the gzip wrapper, memory level 8).
// On failure returns nothing and writes the reason to the error output.
std::optional<std::string> GzipCompress(std::string_view data);

// Standard alphabet with '=' padding and no line breaks.
std::string Base64Encode(std::string_view data);

// Keeps A-Z a-z 0-9 - . _ ~; every other byte becomes %XX (upper-case hex).
std::string PercentEncode(std::string_view data);

// "data_list=" + percent-encoded Base64 of the gzipped batch + "&gzip=1".
std::optional<std::string> BuildRequestBody(const std::vector<std::string>& records);

}  // namespace event_sdk
