#include "base/Timer.h"

#include <chrono>

// steady_clock is this platform's high-resolution monotonic counter.
std::int64_t ReadPerformanceCounter()
{
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

std::int64_t PerformanceFrequency()
{
    using Period = std::chrono::steady_clock::period;
    static const std::int64_t frequency = Period::den / Period::num;
    return frequency;
}

double MonotonicSeconds()
{
    return static_cast<double>(ReadPerformanceCounter()) / static_cast<double>(PerformanceFrequency());
}

void CTimer::Start()
{
    m_iStart = ReadPerformanceCounter();
}

double CTimer::Lap()
{
    m_iLast = ReadPerformanceCounter();
    double seconds = static_cast<double>(m_iLast - m_iStart) / static_cast<double>(PerformanceFrequency());
    m_iStart = ReadPerformanceCounter();
    return seconds;
}
