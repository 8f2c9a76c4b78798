// The pairs of links that touch at every pose: none on the shipped arm
// (robot.opt says so, and the sample agrees), and on an arm whose upper arm
// turns inside its body's column, that pair and only it, left out of the
// checks.
#include "collision/AlwaysTouching.h"
#include "collision_fixture.h"

#include <gtest/gtest.h>

using namespace kxtest;

TEST(AlwaysTouching, TheShippedArmHasNoneAndTouchesNothingAtItsStart)
{
    const ArmDescription& arm = SharedShippedCell().arm;
    const CCollisionWorld& world = SharedShippedCell().world;
    const CLinkPairs found = FindAlwaysTouching(world, arm.limits);
    EXPECT_TRUE(found.Empty()) << FormatLinkPairs(found);
    EXPECT_EQ(found, arm.AlwaysTouching()) << "robot.opt's strAlwaysTouching is the sample's";
    EXPECT_TRUE(world.Collisions(arm.start).empty());
}

// The shoulder without offset puts the upper arm's joint on the base's
// axis, inside a column rising from the body: whatever the angles, a cube
// around that joint meets the column. The other links have no mesh.
TEST(AlwaysTouching, FindsThePairThatTouchesAtEveryPoseAndTheChecksLeaveItOut)
{
    ArmDescription arm = ShippedArm();
    arm.offset[1][0] = 0.0f;
    LinkMeshes meshes;
    const double column[2][3] = {{-0.2, -0.2, 0}, {0.2, 0.2, 4.5}}, cube[2][3] = {{-0.3, -0.3, -0.3}, {0.3, 0.3, 0.3}};
    meshes[0] = BoxMesh(column[0], column[1]);
    meshes[2] = BoxMesh(cube[0], cube[1]);
    const CCollisionWorld all(arm, meshes.data());
    CLinkPairs expected;
    expected.Add(0, 2);
    EXPECT_EQ(FindAlwaysTouching(all, arm.limits), expected);
    EXPECT_EQ(Texts(all.Collisions(arm.start)), std::vector<std::string>{"Body:UpperArm"});

    arm.alwaysTouching = FormatLinkPairs(expected);
    const CCollisionWorld checked(arm, meshes.data());
    EXPECT_TRUE(checked.Collisions(arm.start).empty());
    EXPECT_FALSE(checked.FirstCollision(arm.start));
    EXPECT_EQ(checked.LinkContacts(arm.start), expected) << "still in contact, only not checked";
}

// The joint sets are drawn within the limits given: held close around a
// pose where the upper and lower arm meet, that pair touches at every one.
TEST(AlwaysTouching, TheSampleStaysWithinTheLimits)
{
    const ArmDescription& arm = SharedShippedCell().arm;
    const CCollisionWorld& world = SharedShippedCell().world;
    const JointAngles folded = ArmMGI(arm, ToolPose{100, 0, 150, 0, 0, 0}, arm.start).angles;
    ASSERT_TRUE(world.LinkContacts(folded).Has(2, 4));
    JointLimits narrow;
    for (int joint = 0; joint < kJointCount; ++joint) {
        narrow.low[joint] = folded.*kJointFields[joint] - 0.01f;
        narrow.high[joint] = folded.*kJointFields[joint] + 0.01f;
    }
    EXPECT_TRUE(FindAlwaysTouching(world, narrow, 50).Has(2, 4));
    EXPECT_FALSE(FindAlwaysTouching(world, arm.limits, 50).Has(2, 4));
}
