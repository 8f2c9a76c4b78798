#pragma once
// Interval timer in seconds on a monotonic clock.
#include <cstdint>

class CTimer {
public:
    void Start();
    // Seconds since the last Start or Lap; restarts the timer with a fresh
    // reading, so the time spent between the two readings belongs to no lap.
    double Lap();

    std::int64_t m_iStart = 0;
    std::int64_t m_iLast = 0;
};

// The counter behind CTimer: ticks of a monotonic clock and their rate.
std::int64_t ReadPerformanceCounter();
std::int64_t PerformanceFrequency();

// Seconds on the same monotonic clock, from an arbitrary origin.
double MonotonicSeconds();
