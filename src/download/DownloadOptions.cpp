#include "download/DownloadOptions.h"

#include <ctime>

std::int64_t CalendarSeconds(const DownloadOptions& options) {
    return options.now ? options.now() : static_cast<std::int64_t>(std::time(nullptr));
}
