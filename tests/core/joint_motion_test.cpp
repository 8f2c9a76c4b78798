// Joint motion: one joint's step toward its target, and the motion's clock:
// laps from the caller, time saved by joints whose step is too small to
// count, starting and stopping.
#include "robot/JointMotion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const float kSpeeds30[6] = {30, 30, 30, 30, 30, 30};

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

// A running motion fed with regular laps from t = 0, the call at 0 only
// starting its clock.
struct Motion {
    CJointMotion motion;
    JointAngles current{0, 0, 0, 0, 0, 0};
    JointAngles target{0, 0, 0, 0, 0, 0};
    double now = 0.0;

    Motion() { Start(); }
    void Start()
    {
        motion.Start();
        EXPECT_EQ(motion.Advance(current, target, kSpeeds30, now), MotionStep::Waiting) << "the clock only";
    }
    MotionStep Lap(double lap, const float* speeds = kSpeeds30)
    {
        now += lap;
        return motion.Advance(current, target, speeds, now);
    }
};

TEST(JointMotion, ThirtyDegreesPerSecondInTenthsOfASecond)
{
    Motion m;
    m.target.A12 = 10;
    const float expected[] = {3, 6, 9, 10};  // the last one snaps: 1 < 3
    for (float value : expected) {
        EXPECT_EQ(m.Lap(0.1), MotionStep::Moved);
        EXPECT_EQ(m.current.A12, value);
    }
    // The snap still counted as a move; the next call finds the joint there
    // and ends the motion.
    EXPECT_EQ(m.Lap(0.1), MotionStep::Arrived);
    EXPECT_FALSE(m.motion.IsRunning());
    EXPECT_EQ(m.current.A12, 10.0f);
}

TEST(JointMotion, EveryJointStepsOnEveryCall)
{
    Motion m;
    m.target = JointAngles{10, -10, 20, -20, 30, -30};
    const float speeds[6] = {10, 20, 30, 40, 50, 60};
    EXPECT_EQ(m.Lap(0.1, speeds), MotionStep::Moved);
    const JointAngles expected{1, -2, 3, -4, 5, -6};
    EXPECT_EQ(std::memcmp(&m.current, &expected, sizeof m.current), 0);
}

TEST(JointMotion, ZeroSpeedNeverEnds)
{
    Motion m;
    m.target.A34 = 20;
    const float speeds[6] = {30, 30, 0, 30, 30, 30};
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(m.Lap(0.5, speeds), MotionStep::Waiting);
    EXPECT_EQ(m.current.A34, 0.0f);
    EXPECT_TRUE(m.motion.IsRunning());
}

TEST(JointMotion, AlreadyThereEndsOnTheFirstLap)
{
    Motion m;
    EXPECT_EQ(m.Lap(1e-7), MotionStep::Arrived);
}

// ---------------------------------------------------------------------------
// Saved-up time
// ---------------------------------------------------------------------------

TEST(JointMotion, ShortLapsAddUpUntilAStepMoves)
{
    // At 300 degrees and 1 degree per second a 10 microsecond step is lost
    // to rounding: stepping every lap would never arrive.
    const float speeds[6] = {1, 1, 1, 1, 1, 1};
    float stalled = 300;
    for (int i = 0; i < 1000; ++i)
        StepJoint(stalled, 0.0f, 1, 1e-5);
    EXPECT_EQ(stalled, 300.0f);

    // Laps of 2^-16 s (15 microseconds), exact in binary: a step once 66 of
    // them pass the millisecond, 15 steps in 1024 laps.
    Motion m;
    m.current.A12 = 300;
    const double lap = 1.0 / 65536;
    int moves = 0;
    for (int i = 0; i < 1024; ++i) {
        const MotionStep step = m.Lap(lap, speeds);
        ASSERT_NE(step, MotionStep::Arrived);
        moves += step == MotionStep::Moved;
    }
    EXPECT_EQ(moves, 15);
    EXPECT_NEAR(m.current.A12, 300 - 15 * 66 * lap, 1e-4);
}

TEST(JointMotion, VerySlowJointWaitsForAStepThatCounts)
{
    // 0.01 degree per second moves 1e-5 degree per millisecond, less than
    // half the spacing of floats at 300: the time keeps adding up.
    const float speeds[6] = {0.01f, 1, 1, 1, 1, 1};
    Motion m;
    m.current.A12 = 300;
    std::vector<MotionStep> steps;
    for (int i = 0; i < 10; ++i)
        steps.push_back(m.Lap(0.001, speeds));
    EXPECT_EQ(steps.front(), MotionStep::Waiting);
    EXPECT_NE(std::count(steps.begin(), steps.end(), MotionStep::Moved), 0);
    EXPECT_LT(m.current.A12, 300.0f);
}

// A joint that cannot move (speed 0) keeps the motion running while the
// others wait at their targets; a new target for one of those is reached at
// its own speed, not with the time the stalled joint has been waiting.
TEST(JointMotion, AStalledJointSavesNoTimeForTheOthers)
{
    const float speeds[6] = {0, 30, 30, 30, 30, 30};
    Motion m;
    m.target.A12 = 50;  // never reached at speed 0
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(m.Lap(0.1, speeds), MotionStep::Waiting);
    m.target.A23 = 10;
    const float expected[] = {3, 6, 9, 10};
    for (float value : expected) {
        EXPECT_EQ(m.Lap(0.1, speeds), MotionStep::Moved);
        EXPECT_EQ(m.current.A23, value);
    }
}

// Stopped part way and started again after a pause: the first lap after the
// start only restarts the clock, then the joints go on at their speed.
TEST(JointMotion, AStoppedMotionRestartsItsClock)
{
    Motion m;
    m.target.A12 = 100;
    EXPECT_EQ(m.Lap(0.1), MotionStep::Moved);
    EXPECT_EQ(m.current.A12, 3.0f);
    m.motion.Stop();
    EXPECT_FALSE(m.motion.IsRunning());
    m.now += 60.0;  // a minute's pause
    m.Start();
    EXPECT_EQ(m.Lap(0.1), MotionStep::Moved);
    EXPECT_EQ(m.current.A12, 6.0f) << "one lap's step, not the whole pause";
}

TEST(JointMotion, StartWhileRunningKeepsTheClock)
{
    Motion m;
    m.target.A12 = 100;
    EXPECT_EQ(m.Lap(0.1), MotionStep::Moved);
    m.motion.Start();  // GO pressed again during the motion
    EXPECT_EQ(m.Lap(0.1), MotionStep::Moved);
    EXPECT_EQ(m.current.A12, 6.0f);
}

}  // namespace
