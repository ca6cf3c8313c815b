#include "utils/Stopwatch.h"

#include "platform/Clock.h"

namespace Utils {

void Stopwatch::Start()
{
    m_startTick = Platform::GetTickCount();
    m_running = true;
}

void Stopwatch::Stop() { m_running = false; }

float Stopwatch::Elapsed() const
{
    if (!m_running) return 0.0f;
    // Unsigned subtraction stays right across the 32-bit tick wrap.
    return static_cast<float>(Platform::GetTickCount() - m_startTick) / 1000.0f;
}

}  // namespace Utils
