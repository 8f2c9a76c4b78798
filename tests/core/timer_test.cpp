#include "app/SystemInfo.h"
#include "app/Timer.h"

#include <gtest/gtest.h>

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

TEST(SystemInfoTest, VersionLineFormat)
{
    KernelVersion version{6, 1, 129, kPlatformIdLinux, "6.1.129-1-amd64"};
    char line[260];
    FormatVersionString(version, line, sizeof line);
    EXPECT_STREQ(line, "Windows 6.1 build129 PlatformId 3 SP=\"6.1.129-1-amd64\"");
}

TEST(SystemInfoTest, DescribesTheRunningKernel)
{
    KernelVersion version;
    ASSERT_TRUE(QueryKernelVersion(&version));
    EXPECT_GT(version.major, 0);
    std::string line = GetWindowsVersionString();
    EXPECT_EQ(line.rfind("Windows ", 0), 0u);
    EXPECT_NE(line.find(std::string("SP=\"") + version.release + "\""), std::string::npos);
    EXPECT_FLOAT_EQ(GetGlutVersion(), 3.0f);
    EXPECT_FLOAT_EQ(GetGluiVersion(), 2.01f);
}

} // namespace
