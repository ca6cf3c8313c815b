#pragma once

#include <cstddef>
#include <deque>
#include <istream>
#include <string>
#include <string_view>

namespace event_sdk {

// A staging line is taken for a record only when it is not empty, begins
// with '{' and ends with '}'; anything else in the file is skipped.
bool LooksLikeRecord(std::string_view line);

// The last `keep` record lines of the stream, in stream order. Memory stays
// bounded by `keep` lines however long the file is.
std::deque<std::string> ReadStagingRecords(std::istream& in, size_t keep);

// Reads the staging file (missing or unreadable: nothing) and then empties it.
std::deque<std::string> LoadAndTruncateStagingFile(const std::string& path, size_t keep);

// Replaces the file with one record per line, oldest first. The text goes to a
// temporary file beside it that is then renamed over the old one, so a crash
// midway leaves either the old file or the new one, never half of one.
bool WriteStagingFile(const std::string& path, const std::deque<std::string>& records);

}  // namespace event_sdk
