#include "kinematics/JointLimits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(ShiftIntoLimits, ShiftsByWholeTurnsIntoTheLimits)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float angle, low, high, current, expected;
    };
    const Case cases[] = {
        {-28.0f, 0.0f, 360.0f, 0.0f, 332.0f},  // negative result of the MGI
        {45.0f, 0.0f, 360.0f, 300.0f, 45.0f},  // already inside: kept
        {-90.0f, -180.0f, 180.0f, 0.0f, -90.0f},
        {270.0f, -180.0f, 180.0f, 0.0f, -90.0f},
        {10.0f, -720.0f, 720.0f, 700.0f, 370.0f},  // the turn nearest the current angle
        {10.0f, -720.0f, 720.0f, -700.0f, -710.0f},
        {200.0f, -90.0f, 90.0f, 0.0f, 200.0f},    // no whole turn fits: left to the spinner
        {50.0f, 90.0f, -90.0f, 0.0f, 50.0f},      // reversed limits: unchanged
        {-360.0f, 0.0f, 360.0f, 360.0f, 360.0f},  // both ends fit: the one nearest the current angle
        {-360.0f, 0.0f, 360.0f, 10.0f, 0.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(ShiftIntoLimits(c.angle, c.low, c.high, c.current), c.expected)
            << c.angle << " in [" << c.low << ", " << c.high << "] near " << c.current;
    EXPECT_TRUE(std::isnan(ShiftIntoLimits(nan, 0.0f, 360.0f, 0.0f)));
    EXPECT_FLOAT_EQ(ShiftIntoLimits(-28.0f, 0.0f, 360.0f, nan), 332.0f);
}

TEST(ShiftIntoLimits, ResultAlwaysWithinLimitsWhenATurnFits)
{
    for (float angle = -1000.0f; angle <= 1000.0f; angle += 7.3f) {
        float shifted = ShiftIntoLimits(angle, 0.0f, 360.0f, 180.0f);
        EXPECT_GE(shifted, 0.0f);
        EXPECT_LE(shifted, 360.0f);
        double turns = (static_cast<double>(shifted) - angle) / 360.0;
        EXPECT_NEAR(turns, std::round(turns), 1e-4);
    }
}

}  // namespace
