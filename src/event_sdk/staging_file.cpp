#include "event_sdk/staging_file.h"

#include <fstream>

#include "event_sdk/output.h"
#include "platform/FileSystem.h"

namespace event_sdk {
namespace {

void TruncateFile(const std::string& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
}

}  // namespace

bool LooksLikeRecord(std::string_view line) { return !line.empty() && line.front() == '{' && line.back() == '}'; }

std::deque<std::string> ReadStagingRecords(std::istream& in, size_t keep) {
    std::deque<std::string> records;
    if (keep == 0) return records;
    std::string line;
    while (std::getline(in, line)) {
        // Files written on other systems may carry "\r\n" line ends.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!LooksLikeRecord(line)) continue;
        if (records.size() == keep) records.pop_front();
        records.push_back(std::move(line));
    }
    return records;
}

std::deque<std::string> LoadAndTruncateStagingFile(const std::string& path, size_t keep) {
    std::deque<std::string> records;
    if (keep != 0) {
        std::ifstream in(path, std::ios::binary);
        if (in) records = ReadStagingRecords(in, keep);
    }
    TruncateFile(path);
    return records;
}

bool WriteStagingFile(const std::string& path, const std::deque<std::string>& records) {
    size_t size = 0;
    for (const auto& record : records) size += record.size() + 1;
    std::string content;
    content.reserve(size);
    for (const auto& record : records) {
        content += record;
        content += '\n';
    }
    // Records carry the user's ids: a new file is for this user's eyes only.
    if (Platform::ReplaceFileAtomically(path, content, 0600)) return true;
    WriteError("Event SDK could not write the staging file: " + path);
    return false;
}

}  // namespace event_sdk
