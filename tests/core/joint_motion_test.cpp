// Joint motion: one joint's step toward its target, the six-joint update and
// the accumulation of short idle laps.
#include "robot/JointMotion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const float kSpeeds30[6] = {30, 30, 30, 30, 30, 30};

// A motion where only A12 has somewhere to go.
struct OneJoint {
    JointAngles current{0, 0, 0, 0, 0, 0};
    JointAngles target{0, 0, 0, 0, 0, 0};
};

TEST(JointMotion, ThirtyDegreesPerSecondInTenthsOfASecond)
{
    OneJoint m;
    m.target.A12 = 10;
    const float expected[] = {3, 6, 9, 10};  // the last one snaps: 1 < 3
    for (float value : expected) {
        EXPECT_FALSE(UpdateMotion(m.current, m.target, kSpeeds30, 0.1));
        EXPECT_EQ(m.current.A12, value);
    }
    // The snap still counted as a move; the next call finds the joint there.
    EXPECT_TRUE(UpdateMotion(m.current, m.target, kSpeeds30, 0.1));
    EXPECT_EQ(m.current.A12, 10.0f);
}

struct StepCase {
    const char* what;
    float current, target, speed;
    double dt;
    bool moved;
    float after;
};

TEST(JointMotion, StepJointCases)
{
    const StepCase cases[] = {
        {"toward a lower target", 10, 0, 30, 0.1, true, 7},
        {"within the tolerance: not snapped", 0, 0.0009f, 30, 0.1, false, 0},
        {"just outside the tolerance: snaps", 0, 0.0011f, 30, 0.1, true, 0.0011f},
        {"long pause snaps", -50, 250, 1, 1000, true, 250},
        {"zero speed stays", 5, 10, 0, 0.1, true, 5},
        {"negative speed moves away", 5, 10, -10, 0.1, true, 4},
    };
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.what);
        float current = c.current;
        EXPECT_EQ(StepJoint(current, c.target, c.speed, c.dt), c.moved);
        EXPECT_FLOAT_EQ(current, c.after);
    }
}

TEST(JointMotion, ZeroSpeedNeverEnds)
{
    OneJoint m;
    m.target.A34 = 20;
    const float speeds[6] = {30, 30, 0, 30, 30, 30};
    for (int i = 0; i < 1000; ++i)
        ASSERT_FALSE(UpdateMotion(m.current, m.target, speeds, 0.5));
    EXPECT_EQ(m.current.A34, 0.0f);
}

TEST(JointMotion, EveryJointStepsOnEveryCall)
{
    JointAngles current{0, 0, 0, 0, 0, 0};
    const JointAngles target{10, -10, 20, -20, 30, -30};
    const float speeds[6] = {10, 20, 30, 40, 50, 60};
    EXPECT_FALSE(UpdateMotion(current, target, speeds, 0.1));
    const JointAngles expected{1, -2, 3, -4, 5, -6};
    EXPECT_EQ(std::memcmp(&current, &expected, sizeof current), 0);
}

// ---------------------------------------------------------------------------
// Short laps
// ---------------------------------------------------------------------------

TEST(AdvanceMotion, ShortLapsAccumulateUntilAStepMoves)
{
    // At 300 degrees and 1 degree per second a 10 microsecond step is lost
    // to rounding: stepping every lap would never arrive.
    JointAngles stalled{300, 0, 0, 0, 0, 0};
    const JointAngles target{0, 0, 0, 0, 0, 0};
    const float speeds[6] = {1, 1, 1, 1, 1, 1};
    for (int i = 0; i < 1000; ++i)
        UpdateMotion(stalled, target, speeds, 1e-5);
    EXPECT_EQ(stalled.A12, 300.0f);

    JointAngles current{300, 0, 0, 0, 0, 0};
    double pending = 0;
    int moves = 0;
    for (int i = 0; i < 1000; ++i) {
        const MotionStep step = AdvanceMotion(current, target, speeds, 1e-5, &pending);
        ASSERT_NE(step, MotionStep::Arrived);
        moves += step == MotionStep::Moved;
    }
    EXPECT_EQ(moves, 10);  // one step per millisecond
    EXPECT_NEAR(current.A12, 300 - 0.01, 1e-4);
}

TEST(AdvanceMotion, VerySlowJointWaitsForAStepThatCounts)
{
    // 0.01 degree per second moves 1e-5 degree per millisecond, less than
    // half the spacing of floats at 300: the time keeps accumulating.
    JointAngles current{300, 0, 0, 0, 0, 0};
    const JointAngles target{0, 0, 0, 0, 0, 0};
    const float speeds[6] = {0.01f, 1, 1, 1, 1, 1};
    double pending = 0;
    std::vector<MotionStep> steps;
    for (int i = 0; i < 10; ++i)
        steps.push_back(AdvanceMotion(current, target, speeds, 0.001, &pending));
    EXPECT_EQ(steps.front(), MotionStep::Waiting);
    EXPECT_NE(std::count(steps.begin(), steps.end(), MotionStep::Moved), 0);
    EXPECT_LT(current.A12, 300.0f);
}

TEST(AdvanceMotion, ReportsArrivalWhateverTheLap)
{
    OneJoint m;
    m.target.A12 = 10;
    double pending = 0;
    std::vector<MotionStep> steps;
    for (int i = 0; i < 5; ++i)
        steps.push_back(AdvanceMotion(m.current, m.target, kSpeeds30, 0.1, &pending));
    const std::vector<MotionStep> expected = {MotionStep::Moved, MotionStep::Moved, MotionStep::Moved,
                                              MotionStep::Moved, MotionStep::Arrived};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(m.current.A12, 10.0f);
    // Already there: arrival on the first call, even with a tiny lap.
    EXPECT_EQ(AdvanceMotion(m.current, m.target, kSpeeds30, 1e-7, &pending), MotionStep::Arrived);
    EXPECT_EQ(pending, 0.0);
}

}  // namespace
