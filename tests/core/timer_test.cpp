#include "app/SystemInfo.h"
#include "app/Timer.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

TEST(TimerTest, LapMeasuresOnlyItsOwnInterval)
{
    CTimer timer;
    timer.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    double first = timer.Lap();
    double second = timer.Lap();
    EXPECT_GE(first, 0.049);
    // The second lap starts after the first one ended: it does not hold the
    // 50 ms again.
    EXPECT_LT(second, 0.025);
    EXPECT_GE(second, 0.0);
}

TEST(TimerTest, FrequencyIsTicksPerSecond)
{
    EXPECT_EQ(PerformanceFrequency(), 1000000000);
    std::int64_t a = ReadPerformanceCounter();
    std::int64_t b = ReadPerformanceCounter();
    EXPECT_LE(a, b);
}

TEST(SystemInfoTest, DescribesTheRunningSystem)
{
    char line[64];
    FormatSystemDescription("Linux", "6.1.0-28-amd64", "x86_64", line, sizeof line);
    EXPECT_STREQ(line, "Linux 6.1.0-28-amd64 x86_64");

    struct utsname name;
    ASSERT_EQ(uname(&name), 0);
    EXPECT_EQ(std::string(GetSystemDescription()), std::string(name.sysname) + " " + name.release + " " + name.machine);
    EXPECT_EQ(std::string(GetSystemDescription()).find("Windows"), std::string::npos);
    EXPECT_FLOAT_EQ(GetGlutVersion(), 3.0f);
    EXPECT_FLOAT_EQ(GetGluiVersion(), 2.01f);
}

}  // namespace
