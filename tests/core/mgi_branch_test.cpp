// The exact model's entries for a planner: the MGD in double
// precision, and one branch solved on a target given in double precision.
#include "kinematics_fixture.h"
#include "kinematics/MGIExact.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace kxtest;

namespace {

WristFrame FrameOfPose(const ToolPose& pose)
{
    WristFrame frame{{pose.X, pose.Y, pose.Z}, {}};
    PoseRotation(pose, frame.r);
    return frame;
}

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ComputeMGDFrame, IsTheForwardModelBeforeRounding)
{
    const ArmLengths arm = DefaultArm();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    for (int n = 0; n < 2000; ++n) {
        const JointAngles a{turn(rng), turn(rng), turn(rng), turn(rng), turn(rng), turn(rng)};
        const WristFrame frame = ComputeMGDFrame(arm, a);
        const ToolPose pose = ArmMGD(arm, a);
        ASSERT_TRUE(SameBits(static_cast<float>(frame.p[0]), pose.X) &&
                    SameBits(static_cast<float>(frame.p[1]), pose.Y) &&
                    SameBits(static_cast<float>(frame.p[2]), pose.Z));
        Mat3 r;
        std::memcpy(r.m, frame.r, sizeof r.m);
        ASSERT_LT(MaxDifference(r, ChainRotation(a)), 1e-9);  // the chain uses pi / 180, the model its own factor
    }
}

// On every branch of random targets, the branch's configuration is the
// exact model's own, bit for bit, and it reproduces the target.
TEST(SolveMGIBranch, IsTheMatchingConfigurationOfTheExactModel)
{
    const ArmLengths arm = DefaultArm();
    std::mt19937 rng(12);
    int compared = 0;
    for (int n = 0; n < 3000; ++n) {
        const ToolPose target = ArmMGD(arm, RandomReachableAngles(rng));
        MGISolutions all;
        SolveMGIExact(arm, target, &all);
        for (int i = 0; i < all.count; ++i) {
            const JointAngles& expected = all.configurations[i].angles;
            JointAngles angles;
            double distance;
            ASSERT_TRUE(SolveMGIBranch(arm, FrameOfPose(target), BranchOf(arm, expected), &angles, &distance));
            ASSERT_TRUE(SameAngles(angles, expected)) << "target " << n << ", configuration " << i;
            ASSERT_EQ(distance, all.configurations[i].distance);
            ++compared;
        }
    }
    EXPECT_GT(compared, 15000);
}

// The trap BranchOf avoids: the wrist centre moved from in front of the
// upper arm's joint to behind it (still in front of the base axis), one
// unit at a time. Nothing is singular there and the branch's angles move
// on a little at each step, yet the posture's elbow label swaps.
TEST(SolveMGIBranch, FollowsTheWristCentreAcrossTheUpperArmJoint)
{
    const ArmLengths arm = DefaultArm();  // the upper arm's joint a2 = 100 from the base axis
    const JointAngles start{0, 30, 150, 20, 60, 10};
    const ArmBranch branch = BranchOf(arm, start);
    WristFrame target = ComputeMGDFrame(arm, start);
    ASSERT_GT(target.p[0], arm.a2 + 20);
    const ElbowBend before = PostureOf(arm, start).elbow;
    JointAngles previous = start;
    bool swapped = false;
    for (double x = target.p[0]; x > arm.a2 - 20; x -= 1.0) {
        target.p[0] = x;
        JointAngles angles;
        double distance;
        ASSERT_TRUE(SolveMGIBranch(arm, target, branch, &angles, &distance));
        ASSERT_LE(distance, kReachTolerance) << "x = " << x;
        for (float JointAngles::*f : kJointFields)
            ASSERT_LT(std::fabs(std::remainder(double(angles.*f) - previous.*f, 360.0)), 2.0) << "x = " << x;
        swapped = swapped || PostureOf(arm, angles).elbow != before;
        previous = angles;
    }
    EXPECT_TRUE(swapped) << "the label swaps where the branch does not";
}

TEST(SolveMGIBranch, ReachDependsOnTheSideOfTheBaseAxis)
{
    const ArmLengths arm = DefaultArm();
    const double far = arm.a3 + std::hypot(arm.e, arm.d);  // from the upper arm's joint
    // Farther than the back branch reaches over the base, nearer than the
    // forward one reaches.
    const WristFrame target{{far - arm.a2 / 2, 0, arm.h}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (bool back : {false, true}) {
        JointAngles angles;
        double distance;
        ASSERT_TRUE(SolveMGIBranch(arm, target, ArmBranch{back, true, false}, &angles, &distance));
        if (back)
            EXPECT_NEAR(distance, arm.a2 / 2, 1e-3);
        else
            EXPECT_LE(distance, kReachTolerance);
    }
}

TEST(SolveMGIBranch, RefusesWhatTheClosedFormCannotTake)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const WristFrame identityAt{{300, 100, 500}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    WristFrame nanPosition = identityAt, nanRotation = identityAt;
    nanPosition.p[1] = nan;
    nanRotation.r[2][1] = nan;
    struct Case {
        const char* what;
        ArmLengths arm;
        WristFrame target;
    };
    const Case cases[] = {
        {"sans bras", {100, 30, 0, 20, 110}, identityAt},
        {"sans avant-bras", {100, 30, 120, 0, 0}, identityAt},
        {"position NaN", DefaultArm(), nanPosition},
        {"rotation NaN", DefaultArm(), nanRotation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JointAngles angles{1, 2, 3, 4, 5, 6};
        double distance = -1;
        EXPECT_FALSE(SolveMGIBranch(c.arm, c.target, ArmBranch{}, &angles, &distance));
        EXPECT_TRUE(SameAngles(angles, JointAngles{1, 2, 3, 4, 5, 6}));
        EXPECT_EQ(distance, -1);
    }
}

}  // namespace
