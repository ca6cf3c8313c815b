#include "event_sdk/staging_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "event_sdk/output.h"

namespace event_sdk {
namespace {

std::string TemporaryNameFor(const std::string& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return path + ".tmp" + std::to_string(random() & 0xFFFFFFFFu);
}

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
    const std::string temporary = TemporaryNameFor(path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const auto& record : records) {
            out.write(record.data(), static_cast<std::streamsize>(record.size()));
            out.put('\n');
        }
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            WriteError("Event SDK could not write the staging file: " + path);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        WriteError("Event SDK could not write the staging file: " + path);
        return false;
    }
    return true;
}

}  // namespace event_sdk
