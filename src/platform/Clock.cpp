#include "platform/Clock.h"

#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

LocalTime GetLocalTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    localtime_r(&now.tv_sec, &parts);
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    t.milliseconds = static_cast<int>(now.tv_nsec / 1000000);
    return t;
}

uint32_t GetTickCount()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

uint32_t CurrentProcessId() { return static_cast<uint32_t>(getpid()); }

uint32_t CurrentThreadId() { return static_cast<uint32_t>(syscall(SYS_gettid)); }

void SleepMilliseconds(uint32_t ms)
{
    timespec delay{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&delay, &delay) != 0) {
    }
}

}  // namespace Platform
