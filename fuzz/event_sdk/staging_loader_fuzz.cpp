// Staging files are whatever the disk holds after the last run: any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "event_sdk/staging_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks how much room the queue has left.
    const size_t keep = data[0] % 8 == 0 ? 1024 : data[0] % 8;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    const auto records = event_sdk::ReadStagingRecords(in, keep);
    if (records.size() > keep) std::abort();
    size_t total = 0;
    for (const auto& record : records) {
        if (!event_sdk::LooksLikeRecord(record) || record.find('\n') != std::string::npos) std::abort();
        total += record.size();
    }
    if (total > size) std::abort();
    return 0;
}
