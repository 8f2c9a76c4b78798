// The per-joint chase of real-time mode: one joint's step toward its
// target, and the chase's clock: laps from the caller, time saved by joints
// whose step is too small to count, starting and stopping, through the
// simulation that runs it as any other trajectory.
#include "motion/JointChase.h"
#include "sim/Simulation.h"

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

TEST(JointChase, StepJointCases)
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

// The arm of a simulation at these speeds (30 degrees per second unless a
// test says otherwise), chasing its
// targets: a running chase fed with regular laps from t = 0, the call at 0
// only starting its clock.
ArmDescription ArmAt(const float speeds[6])
{
    ArmDescription arm;
    std::copy(speeds, speeds + 6, arm.maxSpeed);
    arm.start = JointAngles{0, 0, 0, 0, 0, 0};
    return arm;
}

struct Motion {
    explicit Motion(const float* speeds = kSpeeds30) : simulation(ArmAt(speeds)) { Start(); }

    void Start()
    {
        simulation.SetTargets(target);
        simulation.StartChase();
        EXPECT_EQ(simulation.Advance(now), TrajectoryStep::Waiting) << "the clock only";
    }
    TrajectoryStep Lap(double lap)
    {
        now += lap;
        simulation.SetTargets(target);
        const TrajectoryStep step = simulation.Advance(now);
        current = simulation.Angles();
        return step;
    }
    void SetCurrent(const JointAngles& angles)
    {
        simulation.SetAngles(angles);
        current = angles;
    }

    JointAngles target{0, 0, 0, 0, 0, 0};
    double now = 0.0;
    CSimulation simulation;
    JointAngles current{0, 0, 0, 0, 0, 0};
};

TEST(JointChase, ThirtyDegreesPerSecondInTenthsOfASecond)
{
    Motion m;
    m.target.A12 = 10;
    const float expected[] = {3, 6, 9, 10};  // the last one snaps: 1 < 3
    for (float value : expected) {
        EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
        EXPECT_EQ(m.current.A12, value);
    }
    // The snap still counted as a move; the next call finds the joint there
    // and ends the motion.
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Arrived);
    EXPECT_FALSE(m.simulation.Moving());
    EXPECT_EQ(m.current.A12, 10.0f);
}

TEST(JointChase, EveryJointStepsOnEveryCall)
{
    const float speeds[6] = {10, 20, 30, 40, 50, 60};
    Motion m(speeds);
    m.target = JointAngles{10, -10, 20, -20, 30, -30};
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
    const JointAngles expected{1, -2, 3, -4, 5, -6};
    EXPECT_EQ(std::memcmp(&m.current, &expected, sizeof m.current), 0);
}

TEST(JointChase, ZeroSpeedNeverEnds)
{
    const float speeds[6] = {30, 30, 0, 30, 30, 30};
    Motion m(speeds);
    m.target.A34 = 20;
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(m.Lap(0.5), TrajectoryStep::Waiting);
    EXPECT_EQ(m.current.A34, 0.0f);
    EXPECT_TRUE(m.simulation.Moving());
}

TEST(JointChase, AlreadyThereEndsOnTheFirstLap)
{
    Motion m;
    EXPECT_EQ(m.Lap(1e-7), TrajectoryStep::Arrived);
}

// ---------------------------------------------------------------------------
// Saved-up time
// ---------------------------------------------------------------------------

TEST(JointChase, ShortLapsAddUpUntilAStepMoves)
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
    Motion m(speeds);
    m.SetCurrent(JointAngles{300, 0, 0, 0, 0, 0});
    const double lap = 1.0 / 65536;
    int moves = 0;
    for (int i = 0; i < 1024; ++i) {
        const TrajectoryStep step = m.Lap(lap);
        ASSERT_NE(step, TrajectoryStep::Arrived);
        moves += step == TrajectoryStep::Moved;
    }
    EXPECT_EQ(moves, 15);
    EXPECT_NEAR(m.current.A12, 300 - 15 * 66 * lap, 1e-4);
}

TEST(JointChase, VerySlowJointWaitsForAStepThatCounts)
{
    // 0.01 degree per second moves 1e-5 degree per millisecond, less than
    // half the spacing of floats at 300: the time keeps adding up.
    const float speeds[6] = {0.01f, 1, 1, 1, 1, 1};
    Motion m(speeds);
    m.SetCurrent(JointAngles{300, 0, 0, 0, 0, 0});
    std::vector<TrajectoryStep> steps;
    for (int i = 0; i < 10; ++i)
        steps.push_back(m.Lap(0.001));
    EXPECT_EQ(steps.front(), TrajectoryStep::Waiting);
    EXPECT_NE(std::count(steps.begin(), steps.end(), TrajectoryStep::Moved), 0);
    EXPECT_LT(m.current.A12, 300.0f);
}

// A joint that cannot move (speed 0) keeps the motion running while the
// others wait at their targets; a new target for one of those is reached at
// its own speed, not with the time the stalled joint has been waiting.
TEST(JointChase, AStalledJointSavesNoTimeForTheOthers)
{
    const float speeds[6] = {0, 30, 30, 30, 30, 30};
    Motion m(speeds);
    m.target.A12 = 50;  // never reached at speed 0
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(m.Lap(0.1), TrajectoryStep::Waiting);
    m.target.A23 = 10;
    const float expected[] = {3, 6, 9, 10};
    for (float value : expected) {
        EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
        EXPECT_EQ(m.current.A23, value);
    }
}

// Stopped part way and started again after a pause: the first lap after the
// start only restarts the clock, then the joints go on at their speed.
TEST(JointChase, AStoppedMotionRestartsItsClock)
{
    Motion m;
    m.target.A12 = 100;
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
    EXPECT_EQ(m.current.A12, 3.0f);
    m.simulation.Stop();
    EXPECT_FALSE(m.simulation.Moving());
    m.now += 60.0;  // a minute's pause
    m.Start();
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
    EXPECT_EQ(m.current.A12, 6.0f) << "one lap's step, not the whole pause";
}

TEST(JointChase, StartWhileRunningKeepsTheClock)
{
    Motion m;
    m.target.A12 = 100;
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
    m.simulation.StartChase();  // GO pressed again during the motion
    EXPECT_EQ(m.Lap(0.1), TrajectoryStep::Moved);
    EXPECT_EQ(m.current.A12, 6.0f);
}

}  // namespace
