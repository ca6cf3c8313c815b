#pragma once
#include <cstdint>

namespace Utils {

class Stopwatch final {
public:
    void Start();  // also restarts a running stopwatch
    void Stop();
    bool IsRunning() const { return m_running; }
    // Seconds since Start while running; 0 when not running.
    float Elapsed() const;

private:
    uint32_t m_startTick = 0;
    bool m_running = false;
};

}  // namespace Utils
