// The KDL chain of the benchmarks is the same arm as our MGD: same
// wrist centre, same hand orientation, for random angles. Without this the
// speed comparison would compare different work.
#include "bench/KdlArm.h"
#include "kinematics/Kinematics.h"

#include <gtest/gtest.h>
#include <kdl/chainfksolverpos_recursive.hpp>

#include <cmath>
#include <random>

namespace {

void ExpectSameArm(const ArmLengths& arm, unsigned seed)
{
    const KDL::Chain chain = MakeKdlArm(arm);
    ASSERT_EQ(chain.getNrOfJoints(), 6u);
    KDL::ChainFkSolverPos_recursive fk(chain);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> any(-360.0f, 360.0f);
    int orientations = 0;
    for (int i = 0; i < 5000; ++i) {
        const JointAngles a{any(rng), any(rng), any(rng), any(rng), any(rng), any(rng)};
        ToolPose pose;
        ComputeMGD(arm, a, &pose);
        KDL::Frame frame;
        ASSERT_GE(fk.JntToCart(ToKdl(a), frame), 0);
        // Single-precision results: a few ulps of a few hundred units.
        ASSERT_NEAR(frame.p.x(), pose.X, 1e-3) << i;
        ASSERT_NEAR(frame.p.y(), pose.Y, 1e-3) << i;
        ASSERT_NEAR(frame.p.z(), pose.Z, 1e-3) << i;
        // A half turn is reported without its axis: no matrix to compare.
        if (pose.gamma == 180.0f)
            continue;
        double r[3][3];
        PoseRotation(pose, r);
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                ASSERT_NEAR(frame.M(row, col), r[row][col], 1e-5) << i << " " << row << col;
        ++orientations;
    }
    EXPECT_GT(orientations, 4900);
}

TEST(KdlArm, SameWristCentreAndOrientationAsTheForwardModel)
{
    ExpectSameArm(BenchArm(), 1);
    ExpectSameArm({100, 30, 120, 20, 110}, 2);
    ExpectSameArm(MakeArmLengths(1.3f, 0.27f, 1.13f, -0.21f, 0.97f), 3);
}

TEST(KdlArm, AnglesRoundTripThroughRadians)
{
    const JointAngles a{10, -20, 30.5f, 0, 359, -180};
    const JointAngles b = FromKdl(ToKdl(a));
    EXPECT_FLOAT_EQ(b.A12, a.A12);
    EXPECT_FLOAT_EQ(b.A34, a.A34);
    EXPECT_FLOAT_EQ(b.A56, a.A56);
    EXPECT_FLOAT_EQ(b.A67, a.A67);
}

}  // namespace
