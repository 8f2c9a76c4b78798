// The MGD: the worked examples, the mended identity and half
// turns, the lengths from robot.opt, and the position-only path
// that the MGI's search relies on.
#include "kinematics_fixture.h"
#include "kinematics/Kinematics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

using namespace kxtest;

namespace {

struct MGDExample {
    const char* what;
    JointAngles angles;
    ToolPose expected;
    double tolerance;
};

// Examples with the example arm. The half turns give their axis (about x
// for all zero: u = (1, 0, 0) is alpha = beta = -90).
const MGDExample kExamples[] = {
    {"all zero: half turn about x", {0, 0, 0, 0, 0, 0}, {170, 0, -10, -90, -90, 180}, 0.0},
    {"A23 = 90", {0, 90, 0, 0, 0, 0}, {140, 0, 240, -90, -45, 180}, 1e-4},
    {"A34 = 90", {0, 0, 90, 0, 0, 0}, {260, 0, 120, -90, -45, 180}, 1e-4},
    {"general", {10, 20, 30, 0, 0, 0}, {236.24f, 41.66f, 85.66f, 95.0f, -114.92f, 175.78f}, 0.01},
};

TEST(ComputeMGD, WorkedExamples)
{
    for (const MGDExample& c : kExamples) {
        SCOPED_TRACE(c.what);
        const ToolPose p = ArmMGD(ExampleArm(), c.angles);
        EXPECT_NEAR(p.X, c.expected.X, c.tolerance);
        EXPECT_NEAR(p.Y, c.expected.Y, c.tolerance);
        EXPECT_NEAR(p.Z, c.expected.Z, c.tolerance);
        EXPECT_NEAR(p.alpha, c.expected.alpha, c.tolerance);
        EXPECT_NEAR(p.beta, c.expected.beta, c.tolerance);
        EXPECT_NEAR(p.gamma, c.expected.gamma, c.tolerance);
    }
}

TEST(ComputeMGD, IdentityOrientationGivesZeroAxisAngles)
{
    // Unmended, cg = 1 divides zero by zero and alpha, beta are NaN.
    const JointAngles identities[] = {{0, 0, 0, 0, 180, 180}, {0, 0, 0, 90, 180, 270}, {0, 0, 0, 45, 180, 225}};
    for (const JointAngles& a : identities) {
        const ToolPose p = ArmMGD(ExampleArm(), a);
        EXPECT_TRUE(SameBits(p.alpha, -0.0f)) << p.alpha;
        EXPECT_TRUE(SameBits(p.beta, -0.0f)) << p.beta;
        EXPECT_NEAR(p.gamma, 0.0, 1e-6);
    }
    const ToolPose p = ArmMGD(ExampleArm(), identities[0]);
    EXPECT_EQ(p.X, 170.0f);
    EXPECT_EQ(p.Y, 0.0f);
    EXPECT_EQ(p.Z, -10.0f);
}

// Multiples of 45 degrees give every kind of half turn and identity, where
// rounding drives the axis radicands to tiny negative values. Every result
// must be finite and describe the same rotation as the joint chain, half
// turns included.
TEST(ComputeMGD, SpecialAnglesGiveFiniteMatchingOrientations)
{
    const float steps[] = {0, 45, 90, 135, 180, -90, 270};
    const int n = sizeof steps / sizeof steps[0];
    for (int i = 0; i < n * n * n * n * n; ++i) {
        int r = i;
        auto next = [&] {
            float v = steps[r % n];
            r /= n;
            return v;
        };
        const JointAngles a{next(), next(), 0, next(), next(), next()};
        const ToolPose p = ArmMGD(ExampleArm(), a);
        ASSERT_TRUE(std::isfinite(p.alpha) && std::isfinite(p.beta) && std::isfinite(p.gamma))
            << a.A12 << " " << a.A23 << " " << a.A45 << " " << a.A56 << " " << a.A67;
        ASSERT_LT(MaxDifference(RotationOfPose(p), ChainRotation(a)), 1e-5)
            << a.A12 << " " << a.A23 << " " << a.A45 << " " << a.A56 << " " << a.A67;
    }
}

// A half turn keeps its axis: alpha and beta say about which axis the hand
// is turned, as for every other orientation, so that the pose given back
// rebuilds the hand's rotation (taken back as a target, it does not turn
// the hand). With the arm's joints at whole quarter turns the axis formula's
// differences are exactly 0 and their signs say nothing.
TEST(ComputeMGD, HalfTurnsKeepTheirAxis)
{
    const JointAngles halfTurns[] = {{0, 0, 0, 0, 0, 0},     {0, 60, 20, 0, 0, 0},   {0, 60, 20, 0, 30, 0},
                                     {0, 60, 20, 0, 90, 0},  {0, 90, 0, 0, 0, 0},    {0, 0, 90, 0, 0, 0},
                                     {0, 10, 20, 0, -40, 0}, {0, -20, 70, 0, 120, 0}};
    for (const JointAngles& a : halfTurns) {
        const ToolPose p = ArmMGD(ExampleArm(), a);
        ASSERT_NEAR(p.gamma, 180.0, 1e-4) << a.A12 << " " << a.A23 << " " << a.A34 << " " << a.A56;
        EXPECT_LT(MaxDifference(RotationOfPose(p), ChainRotation(a)), 1e-5)
            << a.A12 << " " << a.A23 << " " << a.A34 << " " << a.A56 << ": " << p.alpha << " " << p.beta;
    }
}

TEST(ComputeMGD, OrientationMatchesTheJointChainOnRandomAngles)
{
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> any(-400.0f, 400.0f);
    for (int i = 0; i < 20000; ++i) {
        const JointAngles a{any(rng), any(rng), any(rng), any(rng), any(rng), any(rng)};
        const ToolPose p = ArmMGD(ExampleArm(), a);
        ASSERT_GE(p.gamma, 0.0f);
        ASSERT_LE(p.gamma, 180.0f);
        ASSERT_LT(MaxDifference(RotationOfPose(p), ChainRotation(a)), 1e-5) << i;
    }
}

TEST(ComputeMGD, PositionDependsOnTheArmJointsOnly)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> any(-360.0f, 360.0f);
    for (int i = 0; i < 1000; ++i) {
        JointAngles a{any(rng), any(rng), any(rng), any(rng), any(rng), any(rng)};
        const ToolPose p = ArmMGD(ExampleArm(), a);
        a.A45 = any(rng);
        a.A56 = any(rng);
        a.A67 = any(rng);
        const ToolPose q = ArmMGD(ExampleArm(), a);
        ASSERT_TRUE(SameBits(p.X, q.X) && SameBits(p.Y, q.Y) && SameBits(p.Z, q.Z));
    }
}

// The search of the MGI evaluates positions through the
// position-only path; a last-bit difference there could change which
// candidate wins a tie, so the two must agree exactly.
TEST(ComputeMGDPosition, BitIdenticalToTheFullModel)
{
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> any(-720.0f, 720.0f);
    std::uniform_int_distribution<int> whole(-400, 400);
    const ArmLengths arms[] = {ExampleArm(), DefaultArm(), MakeArmLengths(1.3f, 0.27f, 1.13f, -0.21f, 0.97f)};
    for (const ArmLengths& arm : arms) {
        for (int i = 0; i < 50000; ++i) {
            // Half the draws are whole degrees, the values the search visits.
            const bool grid = i % 2 == 0;
            const JointAngles a = grid ? JointAngles{any(rng), float(whole(rng)), float(whole(rng)), 0, 0, 0}
                                       : JointAngles{any(rng), any(rng), any(rng), any(rng), any(rng), any(rng)};
            const ToolPose full = ArmMGD(arm, a);
            float x, y, z;
            ComputeMGDPosition(arm, a.A12, a.A23, a.A34, &x, &y, &z);
            ASSERT_TRUE(SameBits(x, full.X) && SameBits(y, full.Y) && SameBits(z, full.Z))
                << a.A12 << " " << a.A23 << " " << a.A34;
        }
    }
}

// ---------------------------------------------------------------------------
// Lengths
// ---------------------------------------------------------------------------

TEST(MakeArmLengths, MultipliesTheSinglePrecisionOffsetsInDouble)
{
    const ArmLengths l = MakeArmLengths(1.0f, 0.3f, 1.2f, 0.2f, 0.9f);
    EXPECT_EQ(l.h, 100.0);
    EXPECT_EQ(l.a2, 100.0 * double(0.3f));  // 30.0000011920929, not 30
    EXPECT_EQ(l.a3, 100.0 * double(1.2f));
    EXPECT_EQ(l.e, 100.0 * double(0.2f));
    EXPECT_EQ(l.d, 100.0 * double(0.9f) + 100.0 * double(0.2f));
}

TEST(MakeArmLengths, NegativeElbowOffsetGivesTheSamePose)
{
    const ArmLengths plus = MakeArmLengths(1.0f, 0.3f, 1.2f, 0.2f, 0.9f);
    const ArmLengths minus = MakeArmLengths(1.0f, 0.3f, 1.2f, -0.2f, 0.9f);
    EXPECT_EQ(minus.e, plus.e);
    EXPECT_EQ(minus.d, plus.d);
    const JointAngles a{10, 20, 30, 40, 50, 60};
    const ToolPose p = ArmMGD(plus, a), q = ArmMGD(minus, a);
    EXPECT_TRUE(SameBits(p.X, q.X) && SameBits(p.Y, q.Y) && SameBits(p.Z, q.Z));
    EXPECT_TRUE(SameBits(p.alpha, q.alpha) && SameBits(p.beta, q.beta) && SameBits(p.gamma, q.gamma));
}

}  // namespace
