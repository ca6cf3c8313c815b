#pragma once
// Pauses and clocks of the downloaders. The defaults are the product's; tests
// shorten the pauses and drive the clock so that they need not wait.

#include <chrono>
#include <cstdint>
#include <functional>

struct DownloadOptions {
    std::chrono::milliseconds retryPause{500};        // single-stream, between attempts
    std::chrono::milliseconds partRetryPause{400};    // multi-part, between attempts of one part
    std::chrono::milliseconds partStagger{100};       // multi-part, between starting two parts
    std::chrono::milliseconds systemRetryPause{1000}; // system download service, after a failure
    // Calendar time in whole seconds; the progress limits count calendar seconds.
    std::function<std::int64_t()> now;
    // Whether the transfer library initialised; without it the multi-part
    // downloader cannot resolve the real address.
    bool curlUsable = true;
};

std::int64_t CalendarSeconds(const DownloadOptions& options);
