// The synchronised joint move: every joint on the same fraction of its way
// at every time, all arriving together at the duration the slowest joint
// needs, no joint faster than its maximum, and a target past the limits
// refused.
#include "planner_fixture.h"
#include "motion/JointMove.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace kxtest;

namespace {

// The time a trapezoid (or, without an acceleration limit, a constant
// speed) needs to cover a way from rest to rest.
double TrapezoidTime(double way, double speed, double acceleration)
{
    if (acceleration == 0)
        return way / speed;
    return way >= speed * speed / acceleration ? way / speed + speed / acceleration : 2 * std::sqrt(way / acceleration);
}

TEST(PlanJointMove, JointsKeepTheSameFractionAndArriveTogether)
{
    MoveSetup setup = ShippedSetup();
    setup.maxAccel[1] = 40;
    const JointAngles start{-25, 45, 15, 0, 60, 0}, target{100, -30, 90, 170, -60, 5};
    CPlannedTrajectory plan;
    PlanFailure failure;
    ASSERT_TRUE(PlanJointMove(setup, start, target, 100, &plan, &failure)) << DescribeFailure(failure);
    ASSERT_GT(plan.Duration(), 0);
    for (double t = 0; t <= plan.Duration(); t += plan.Duration() / 997) {
        const JointAngles a = AnglesAtTime(plan, t);
        const double a12 = (a.A12 - start.A12) / (target.A12 - start.A12);
        for (int joint = 1; joint < 6; ++joint) {
            float JointAngles::*f = kJointFields[joint];
            const double fraction = (a.*f - start.*f) / (target.*f - start.*f);
            ASSERT_NEAR(fraction, a12, 0.02) << kJointNames[joint] << " at t = " << t;
        }
    }
    CPlannedTrajectory played = plan;
    JointAngles angles = start;
    EXPECT_EQ(played.Sample(plan.Duration(), angles), TrajectoryStep::Arrived);
    EXPECT_EQ(std::memcmp(&angles, &target, sizeof angles), 0);
}

// One joint's way dominates: the move takes that joint's own time, and no
// joint ever turns faster than its maximum.
TEST(PlanJointMove, DurationIsTheSlowestJointsTime)
{
    const JointAngles start{0, 0, 0, 0, 30, 0};
    struct Case {
        const char* what;
        JointAngles target;
        double accel;  // every joint's; 0: none
        int slowest;
        double way;
    };
    const Case cases[] = {
        {"sans limite d'accélération", {120, 10, -20, 5, 40, 30}, 0, 0, 120},
        {"trapèze", {120, 10, -20, 5, 40, 30}, 100, 0, 120},
        {"triangle : trop court pour la vitesse maximale", {0, 0, 0, 0, 30, -8}, 100, 5, 8},
        {"le poignet plus lent que la base", {10, 0, 0, 0, 30, 170}, 100, 5, 170},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MoveSetup setup = ShippedSetup();
        std::fill(setup.maxAccel, setup.maxAccel + 6, c.accel);
        CPlannedTrajectory plan;
        PlanFailure failure;
        ASSERT_TRUE(PlanJointMove(setup, start, c.target, 100, &plan, &failure)) << DescribeFailure(failure);
        EXPECT_NEAR(plan.Duration(), TrapezoidTime(c.way, setup.maxSpeed[c.slowest], c.accel), 1e-9);
        EXPECT_LE(FastestJointRatio(plan, setup.maxSpeed, 1e-3), 1.001);
    }
}

TEST(PlanJointMove, NoWayArrivesAtOnce)
{
    const JointAngles start{-25, 45, 15, 0, 60, 0};
    CPlannedTrajectory plan;
    PlanFailure failure;
    ASSERT_TRUE(PlanJointMove(ShippedSetup(), start, start, 100, &plan, &failure));
    EXPECT_EQ(plan.Duration(), 0);
    JointAngles angles = start;
    EXPECT_EQ(plan.Sample(0, angles), TrajectoryStep::Arrived);
}

TEST(PlanJointMove, RefusesATargetPastTheLimits)
{
    MoveSetup setup = ShippedSetup();
    setup.limits.low[1] = -90;
    setup.limits.high[1] = 150;
    const CPlannedTrajectory before = CPlannedTrajectory({{0, {1, 2, 3, 4, 5, 6}, {0, 0, 0}}});
    CPlannedTrajectory plan = before;
    PlanFailure failure;
    const JointAngles target{10, 150.5f, 0, 0, 30, 0};
    ASSERT_FALSE(PlanJointMove(setup, JointAngles{0, 0, 0, 0, 30, 0}, target, 100, &plan, &failure));
    EXPECT_EQ(failure.reason, PlanFault::JointLimit);
    EXPECT_EQ(failure.joint, 1);
    EXPECT_TRUE(failure.placed);
    EXPECT_EQ(failure.fraction, 1.0);
    const ToolPose at = ArmMGD(setup.lengths, target);
    EXPECT_NEAR(failure.place[0], at.X, 1e-3);
    EXPECT_NEAR(failure.place[2], at.Z, 1e-3);
    EXPECT_EQ(DescribeFailure(failure).rfind("A23 = 150,5 hors des limites [-90 ; 150] à 100 % du chemin (", 0), 0u);
    EXPECT_EQ(plan.Samples().size(), 1u) << "the plan is left alone";
}

}  // namespace
