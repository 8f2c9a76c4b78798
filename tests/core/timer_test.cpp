#include "base/SystemInfo.h"
#include "base/Timer.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <chrono>
#include <string>

namespace {

// Readings of the same clock in seconds differ by rounding only, far below
// anything the timer is used for.
constexpr double kRounding = 1e-9;

// Spins on the monotonic clock until it has moved on by the given seconds:
// a known interval without sleeping on wall time. Returns the last reading.
double SpinFor(double seconds)
{
    const double start = MonotonicSeconds();
    double now = start;
    while (now - start < seconds)
        now = MonotonicSeconds();
    return now;
}

TEST(TimerTest, ALapIsBracketedByReadingsTakenAroundIt)
{
    // The lap starts inside Start (between t0 and t1) and ends inside Lap
    // (between t2 and t3): it lies between t2 - t1 and t3 - t0.
    CTimer timer;
    const double t0 = MonotonicSeconds();
    timer.Start();
    const double t1 = MonotonicSeconds();
    const double t2 = SpinFor(0.002);
    const double lap = timer.Lap();
    const double t3 = MonotonicSeconds();
    EXPECT_GE(lap, t2 - t1 - kRounding);
    EXPECT_LE(lap, t3 - t0 + kRounding);
}

TEST(TimerTest, TheNextLapStartsWhereTheLastEnded)
{
    // Two laps in a row: the second holds only the time since the first
    // ended, never the first interval again.
    CTimer timer;
    timer.Start();
    const double spun = SpinFor(0.002);
    const double first = timer.Lap();
    const double second = timer.Lap();
    const double after = MonotonicSeconds();
    EXPECT_GE(first, 0.002 - kRounding);
    EXPECT_GE(second, 0.0);
    EXPECT_LE(second, after - spun + kRounding);
}

TEST(TimerTest, TheCounterCountsSecondsOfTheSteadyClock)
{
    // Counter over frequency is the steady clock's time in seconds, and the
    // counter never goes back.
    using Seconds = std::chrono::duration<double>;
    const double before = Seconds(std::chrono::steady_clock::now().time_since_epoch()).count();
    const std::int64_t a = ReadPerformanceCounter();
    const std::int64_t b = ReadPerformanceCounter();
    const double after = Seconds(std::chrono::steady_clock::now().time_since_epoch()).count();
    EXPECT_LE(a, b);
    const double seconds = static_cast<double>(a) / static_cast<double>(PerformanceFrequency());
    EXPECT_GE(seconds, before - kRounding);
    EXPECT_LE(seconds, after + kRounding);
}

TEST(SystemInfoTest, DescribesTheRunningSystem)
{
    char line[64];
    FormatSystemDescription("Linux", "6.1.0-28-amd64", "x86_64", line, sizeof line);
    EXPECT_STREQ(line, "Linux 6.1.0-28-amd64 x86_64");

    struct utsname name;
    ASSERT_EQ(uname(&name), 0);
    EXPECT_EQ(std::string(GetSystemDescription()), std::string(name.sysname) + " " + name.release + " " + name.machine);
}

}  // namespace
