// What the trail remembers: every motion made while it is on, since it was
// switched on or cleared, each finished one as the rows of its own
// trajectory, and no more than its bound.
#include "sim/TrailHistory.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every joint turns at 10 degrees per second for `seconds`, as a function of
// time.
struct Ramp : CTrajectory {
    Ramp(JointAngles from, double seconds) : start(from), duration(seconds) {}
    TrajectoryStep Sample(double t, JointAngles& angles) override
    {
        At(t, angles);
        return t < duration ? TrajectoryStep::Moved : TrajectoryStep::Arrived;
    }
    double Duration() const override { return duration; }
    bool At(double t, JointAngles& angles) const override
    {
        const double s = t < duration ? t : duration;
        for (float JointAngles::*joint : kJointFields)
            angles.*joint = static_cast<float>(start.*joint + 10.0 * s);
        return true;
    }
    JointAngles start;
    double duration;
};

class TrailHistoryTest : public ::testing::Test {
protected:
    // One motion of `seconds`, its display stepped every `every` seconds.
    void Move(double seconds, double every = 0.25)
    {
        simulation.Start(std::make_unique<Ramp>(simulation.Angles(), seconds));
        for (double now = clock; simulation.Moving(); now += every)
            simulation.Advance(now);
        clock += seconds + 1;
    }
    void Show(bool on) { simulation.SetDisplay(DisplayFlag::Trail, on); }

    CSimulation simulation{ArmDescription{}};
    CMotionRecorder recorder{simulation};
    CTrailHistory trail{simulation, recorder};
    double clock = 10.0;
};

TEST_F(TrailHistoryTest, KeepsEveryMotionMadeWhileItIsOn)
{
    Move(1.0);
    EXPECT_TRUE(trail.Paths().empty()) << "off at start: nothing kept";
    Show(true);
    EXPECT_TRUE(trail.Paths().empty()) << "switched on: from now";
    for (int side = 0; side < 4; ++side)
        Move(1.0);
    ASSERT_EQ(trail.Paths().size(), 4u) << "a square's four sides";
    for (const std::vector<MotionSample>& path : trail.Paths()) {
        ASSERT_EQ(path.size(), 51u) << "every 20 ms of the trajectory, not the four steps";
        EXPECT_DOUBLE_EQ(path.back().t, 1.0);
    }
    EXPECT_EQ(trail.Paths()[3].front().angles.A12, 40.0f) << "the fourth starts where the third ended";

    trail.Clear();
    EXPECT_TRUE(trail.Paths().empty());
    Move(1.0);
    EXPECT_EQ(trail.Paths().size(), 1u);
    Show(false);
    EXPECT_TRUE(trail.Paths().empty());
    Move(1.0);
    Show(true);
    EXPECT_TRUE(trail.Paths().empty()) << "what was made while off is not shown";
}

TEST_F(TrailHistoryTest, TheMotionUnderWayGrowsStepByStep)
{
    Show(true);
    simulation.Start(std::make_unique<Ramp>(simulation.Angles(), 1.0));
    simulation.Advance(0.0);
    simulation.Advance(0.5);
    ASSERT_EQ(trail.Paths().size(), 1u);
    EXPECT_EQ(trail.Paths().back().size(), 3u) << "the start, then the two steps";
}

TEST_F(TrailHistoryTest, PastItsBoundTheOldestMotionsGo)
{
    Show(true);
    const double seconds = 0.02 * (kTrailPoints / 2.0);  // half the bound each
    for (int motion = 0; motion < 3; ++motion)
        Move(seconds, seconds / 4);
    ASSERT_EQ(trail.Paths().size(), 1u) << "two halves and a bit are over the bound";
    EXPECT_EQ(trail.Paths().front().front().angles.A12, static_cast<float>(20.0 * seconds));
}

}  // namespace
