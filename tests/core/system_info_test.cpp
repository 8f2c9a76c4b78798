// The system-information line printed at start.
#include "base/SystemInfo.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

#include <string>

namespace {

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
