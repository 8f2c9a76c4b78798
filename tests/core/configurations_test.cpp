// Every configuration of the arm's pose: each reaches the pose, the arm's
// own is marked, and those that cannot fit the limits say so.
#include "arm/ArmKinematics.h"
#include "arm/Configurations.h"
#include "tests/core/kinematics_fixture.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

double PoseGap(const ToolPose& a, const ToolPose& b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y, a.Z - b.Z);
}

TEST(Configurations, EachReachesThePoseAndTheArmsOwnIsMarkedOnce)
{
    const ArmDescription arm = ShippedArm();
    std::mt19937 rng(11);
    for (int n = 0; n < 200; ++n) {
        const JointAngles current = kxtest::RandomReachableAngles(rng);
        const ToolPose pose = ArmMGD(arm, current);
        const std::vector<ArmConfiguration> list = ConfigurationsOf(arm, current);
        ASSERT_FALSE(list.empty()) << n;
        int marked = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const ArmConfiguration& c = list[i];
            EXPECT_EQ(c.number, static_cast<int>(i) + 1);
            EXPECT_LT(PoseGap(ArmMGD(arm, c.angles), pose), 0.01) << n << " configuration " << c.number;
            EXPECT_TRUE(c.withinLimits) << "half-turn limits fit every angle";
            marked += c.current;
            if (!c.current)
                continue;
            for (float JointAngles::*joint : kJointFields) {
                EXPECT_LT(std::fabs(std::remainder(c.angles.*joint - current.*joint, 360.0f)), 3.0f)
                    << n << ": the arm's own angles, but near a singularity";
            }
        }
        EXPECT_EQ(marked, 1) << n;
    }
}

TEST(Configurations, AGenericPoseHasEightAndTheLimitsRuleSomeOut)
{
    ArmDescription arm = ShippedArm();
    const JointAngles current{20, 30, -40, 25, 50, -10};
    EXPECT_EQ(ConfigurationsOf(arm, current).size(), 8u);

    // A56 kept positive: the flipped wrists cannot be reached.
    arm.limits.low[4] = 0;
    int within = 0;
    for (const ArmConfiguration& c : ConfigurationsOf(arm, current)) {
        EXPECT_EQ(c.withinLimits, !c.posture.flipped) << c.number;
        within += c.withinLimits;
    }
    EXPECT_EQ(within, 4);
}

// At A56 = 0, A45 and A67 share one turn: the model gives one of the family.
TEST(Configurations, AtTheWristSingularityTheArmsOwnIsStillMarked)
{
    const ArmDescription arm = ShippedArm();
    const JointAngles current{10, 20, -30, 35, 0, 15};
    int marked = 0;
    for (const ArmConfiguration& c : ConfigurationsOf(arm, current))
        marked += c.current;
    EXPECT_EQ(marked, 1);
}

}  // namespace
