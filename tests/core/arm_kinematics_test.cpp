// The arm as a data set numbers it: its own angles (zero and sense per
// joint) and poses of its tool point. Without either, the models' numbers
// bit for bit; with them, every pose still reached and given back.
#include "arm/ArmKinematics.h"
#include "tests/core/kinematics_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

using kxtest::ExampleArm;
using kxtest::RandomReachableAngles;

ArmDescription ArmWith(const float zero[6], const int sense[6], const float tool[6])
{
    ArmDescription arm{};
    const float offsets[kLinkCount][3] = {{0, 0, 1.0f}, {0.3f, 0, 0}, {1.2f, 0, 0}, {0.2f, -0.2f, 0},
                                          {0, 0, 0.9f}, {0, 0, 0},    {0, 0, 0}};
    std::memcpy(arm.offset, offsets, sizeof offsets);
    arm.exactMGI = true;
    for (int j = 0; j < kJointCount; ++j) {
        arm.zero[j] = zero ? zero[j] : 0.0f;
        arm.sense[j] = sense ? sense[j] : 1;
        arm.limits.low[j] = -360;
        arm.limits.high[j] = 360;
    }
    for (int i = 0; i < 3 && tool; ++i) {
        arm.toolOffset[i] = tool[i];
        arm.toolTurn[i] = tool[3 + i];
    }
    return arm;
}

bool SameBits(const ToolPose& a, const ToolPose& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(ArmKinematics, WithoutZerosSensesOrToolTheModelsOwnNumbers)
{
    const ArmDescription arm = ArmWith(nullptr, nullptr, nullptr);
    std::mt19937 rng(3);
    for (int n = 0; n < 200; ++n) {
        const JointAngles a = RandomReachableAngles(rng);
        ToolPose model;
        ComputeMGD(arm.Lengths(), a, &model);
        EXPECT_TRUE(SameBits(ArmMGD(arm, a), model));
        const MGIResult ours = ArmMGI(arm, model, a);
        const MGIResult theirs = SolveMGI(arm.Lengths(), MGIModel::Exact, model, a, arm.limits);
        EXPECT_EQ(std::memcmp(&ours.angles, &theirs.angles, sizeof ours.angles), 0);
    }
}

TEST(ArmKinematics, ZerosAndSensesNumberTheJointsAsTheDataSetDoes)
{
    const float zero[6] = {0, 90, -90, 0, 180, 0};
    const int sense[6] = {1, -1, -1, -1, 1, -1};
    ArmDescription arm = ArmWith(zero, sense, nullptr);
    arm.limits.low[1] = -60;
    arm.limits.high[1] = 110;
    const JointAngles angles{10, 20, 30, 40, 50, 60};
    const JointAngles model = ModelAngles(arm, angles);
    EXPECT_EQ(model.A23, 70.0f);    // 90 - 20
    EXPECT_EQ(model.A34, -120.0f);  // -90 - 30
    EXPECT_EQ(model.A56, 230.0f);   // 180 + 50
    const JointAngles back = ArmAngles(arm, model);
    for (float JointAngles::*j : kJointFields)
        EXPECT_NEAR(back.*j, angles.*j, 1e-4);
    const JointLimits limits = ModelLimits(arm);
    EXPECT_EQ(limits.low[1], -20.0f) << "a reversed joint's limits swap";
    EXPECT_EQ(limits.high[1], 150.0f);
    ToolPose expected;
    ComputeMGD(arm.Lengths(), model, &expected);
    EXPECT_TRUE(SameBits(ArmMGD(arm, angles), expected));
}

// With a tool, poses are the tool point's: the exact model reaches every
// one and gives it back, and the tool point lies where the hand carries it.
TEST(ArmKinematics, ToolPosesAreReachedAndGivenBack)
{
    const float zero[6] = {0, 90, -90, 0, 0, 180};
    const int sense[6] = {1, -1, 1, -1, 1, -1};
    const float tool[6] = {12.5f, -4, 30, 20, -70, 90};
    const ArmDescription arm = ArmWith(zero, sense, tool);
    std::mt19937 rng(5);
    for (int n = 0; n < 300; ++n) {
        const JointAngles a = ArmAngles(arm, RandomReachableAngles(rng));
        const ToolPose pose = ArmMGD(arm, a);
        const KDL::Frame frame = ArmMGDFrame(arm, a);
        const WristFrame wrist = ComputeMGDFrame(arm.Lengths(), ModelAngles(arm, a));
        const KDL::Vector offset = frame.p - KDL::Vector(wrist.p[0], wrist.p[1], wrist.p[2]);
        EXPECT_NEAR(offset.Norm(), std::sqrt(12.5 * 12.5 + 16 + 900), 1e-6) << "the tool point is carried rigidly";
        const MGISolutions all = ArmMGIAll(arm, pose);
        ASSERT_TRUE(all.Reached()) << n;
        for (int i = 0; i < all.count; ++i) {
            const KDL::Frame reached = ArmMGDFrame(arm, all.configurations[i].angles);
            EXPECT_LT((reached.p - frame.p).Norm(), 0.01) << n << " configuration " << i;
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(reached.M(r, c), frame.M(r, c), 1e-5) << n << " configuration " << i;
        }
    }
}

TEST(ArmKinematics, ColoursAreWrittenAsHashAndSixHexDigits)
{
    float rgb[3];
    EXPECT_TRUE(ParseColour("#ff6e00", rgb));
    EXPECT_FLOAT_EQ(rgb[0], 1.0f);
    EXPECT_FLOAT_EQ(rgb[1], 110.0f / 255);
    EXPECT_FLOAT_EQ(rgb[2], 0.0f);
    for (const char* bad : {"", "ff6e00", "#ff6e0", "#ff6e0g", "#FF6E00 ", "orange"})
        EXPECT_FALSE(ParseColour(bad, nullptr)) << bad;
}

}  // namespace
