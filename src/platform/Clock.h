#pragma once
// Local time, ticks and identities of the running process and thread.
#include <cstdint>

namespace Platform {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

LocalTime GetLocalTime();
// Milliseconds from a monotonic clock; wraps like a 32-bit tick counter.
uint32_t GetTickCount();
uint32_t CurrentProcessId();
uint32_t CurrentThreadId();
void SleepMilliseconds(uint32_t ms);

}  // namespace Platform
