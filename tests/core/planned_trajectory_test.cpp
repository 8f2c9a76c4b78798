// A planned trajectory played: straight pieces between the samples, the
// last sample's angles exactly on arrival, and times before the first.
#include "motion/PlannedTrajectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool Same(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Three samples: A12 from 0 to 10 in the first second, to 40 in the next
// half; the last sample's A56 a value no interpolation gives.
CPlannedTrajectory ThreeSamples()
{
    return CPlannedTrajectory({{0.0, {0, 0, 0, 0, 0, 0}, {0, 0, 0}},
                               {1.0, {10, -2, 0, 0, 0, 0}, {1, 0, 0}},
                               {1.5, {40, -4, 0, 0, 0.1f + 1e-7f, 0}, {2, 0, 0}}});
}

TEST(CPlannedTrajectory, PlaysStraightPiecesBetweenTheSamples)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double t;
        TrajectoryStep step;
        float a12, a23;
    };
    const Case cases[] = {
        {-1.0, TrajectoryStep::Waiting, 0, 0},  // before the start: the first sample, where the arm stands
        {nan, TrajectoryStep::Waiting, 0, 0},       {0.0, TrajectoryStep::Waiting, 0, 0},
        {0.25, TrajectoryStep::Moved, 2.5f, -0.5f}, {1.0, TrajectoryStep::Moved, 10, -2},
        {1.25, TrajectoryStep::Moved, 25, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        CPlannedTrajectory plan = ThreeSamples();
        JointAngles angles{0, 0, 0, 0, 0, 0};
        EXPECT_EQ(plan.Sample(c.t, angles), c.step);
        EXPECT_FLOAT_EQ(angles.A12, c.a12);
        EXPECT_FLOAT_EQ(angles.A23, c.a23);
    }
    EXPECT_DOUBLE_EQ(ThreeSamples().Duration(), 1.5);
}

TEST(CPlannedTrajectory, ArrivesWithExactlyTheLastSample)
{
    for (double t : {1.5, 2.0, 1e9}) {
        CPlannedTrajectory plan = ThreeSamples();
        JointAngles angles{1, 2, 3, 4, 5, 6};
        EXPECT_EQ(plan.Sample(t, angles), TrajectoryStep::Arrived);
        EXPECT_TRUE(Same(angles, plan.Samples().back().angles));
    }
    // No move: arrived at once, where the arm stands.
    CPlannedTrajectory none;
    JointAngles angles{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(none.Sample(0, angles), TrajectoryStep::Arrived);
    EXPECT_TRUE(Same(angles, JointAngles{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(none.Duration(), 0);
}

}  // namespace
