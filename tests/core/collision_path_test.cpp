// Paths checked for collisions: how far the arm's points can move between
// two samples, the samples a planner adds so that no point moves more than
// two units, and a plate three units thick that a fast joint move crosses
// between coarse samples but not between dense ones.
#include "collision/AlwaysTouching.h"
#include "collision/PathCheck.h"
#include "collision_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

using namespace kxtest;

namespace {

// Every vertex of the arm placed as the scene draws it, pose units.
std::vector<fcl::Vector3d> Vertices(const ArmDescription& arm, const LinkMeshes& meshes, const JointAngles& angles)
{
    std::vector<fcl::Vector3d> points;
    for (int link = 0; link < kLinkCount; ++link) {
        const fcl::Transform3d pose = DrawnPose(arm, angles, link);
        const MeshData& mesh = meshes[static_cast<std::size_t>(link)];
        for (int v = 0; v < mesh.VertexCount(); ++v)
            points.push_back(pose * (100.0 * fcl::Vector3d(mesh.vertices[3 * v], mesh.vertices[3 * v + 1],
                                                           mesh.vertices[3 * v + 2])));
    }
    return points;
}

JointAngles Turned(JointAngles angles, float a12)
{
    angles.A12 += a12;
    return angles;
}

class PathCheck : public ShippedCellTest {};

}  // namespace

// Between joint sets a few degrees apart, no vertex moves farther than the
// bound, and the bound is not loose by more than the chain's arithmetic
// makes it.
TEST(JointReach, BoundsHowFarEveryPointMoves)
{
    const ShippedCell& cell = SharedShippedCell();
    const ArmDescription& arm = cell.arm;
    const LinkMeshes& meshes = cell.meshes;
    const CCollisionWorld& world = cell.world;
    std::mt19937 random(3u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f), step(-3.0f, 3.0f);
    double tightest = 1e9;
    for (int n = 0; n < 200; ++n) {
        const JointAngles a{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
        JointAngles b = a;
        for (float JointAngles::*joint : kJointFields)
            b.*joint += step(random);
        const std::vector<fcl::Vector3d> from = Vertices(arm, meshes, a), to = Vertices(arm, meshes, b);
        double moved = 0.0;
        for (std::size_t i = 0; i < from.size(); ++i)
            moved = std::max(moved, (to[i] - from[i]).norm());
        const double bound = MoveBound(world.Reach(), a, b);
        EXPECT_LE(moved, bound) << n;
        tightest = std::min(tightest, bound / moved);
    }
    EXPECT_LT(tightest, 3.0) << "a bound far above every move would make the planner check in vain";

    // One joint alone, the base: the hand's fingers move the farthest.
    const double perDegree = world.Reach().perDegree[0];
    EXPECT_NEAR(MoveBound(world.Reach(), arm.start, Turned(arm.start, 10)), 10 * perDegree, 1e-9);
    EXPECT_EQ(StepsBetween(world.Reach(), arm.start, arm.start), 1);
    EXPECT_EQ(StepsBetween(world.Reach(), arm.start, Turned(arm.start, 10)),
              static_cast<int>(std::ceil(10 * perDegree / kMaxSampleMove)));
}

TEST(JointReach, DensifiedSamplesKeepEveryStepWithinTheBound)
{
    const ArmDescription& arm = SharedShippedCell().arm;
    const CCollisionWorld& world = SharedShippedCell().world;
    const std::vector<JointAngles> coarse = {arm.start, Turned(arm.start, 40), JointAngles{0, 30, 20, 10, -30, 90},
                                             JointAngles{0, 30, 20, 10, -30, 90}};
    const std::vector<JointAngles> dense = Densify(world.Reach(), coarse);
    ASSERT_GT(dense.size(), coarse.size());
    EXPECT_EQ(dense.front().A12, coarse.front().A12);
    EXPECT_EQ(dense.back().A67, coarse.back().A67);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < dense.size(); ++i) {
        if (i > 0) {
            EXPECT_LE(MoveBound(world.Reach(), dense[i - 1], dense[i]), kMaxSampleMove * (1 + 1e-6)) << i;
        }
        if (kept < coarse.size() && std::memcmp(&dense[i], &coarse[kept], sizeof(JointAngles)) == 0)
            ++kept;
    }
    EXPECT_EQ(kept, coarse.size()) << "every sample of the path stays, in order";
}

// A plate 3 units thick stands across the way of the arm's fingers while the
// base turns 90 degrees: samples every 10 degrees step over it; the
// samples densified to 2 units find it, where the plate stands.
TEST_F(PathCheck, DenseSamplesCatchAThinPlateAcrossAFastJointMove)
{
    // Radial at 20 degrees (the arm's plane starts at -25): 300 long from
    // 600 to 900 from the base's axis, 400 high, 3 thick.
    const double c = std::cos(20 * M_PI / 180), s = std::sin(20 * M_PI / 180);
    std::string reason;
    ASSERT_TRUE(
        world.DefineObject(Object(ObjectKind::Box, "plate", {750 * c, 750 * s, 540, 300, 3, 400, 0, 0, 20}), &reason))
        << reason;
    std::vector<JointAngles> coarse;
    for (int step = 0; step <= 9; ++step)
        coarse.push_back(Turned(arm.start, 10.0f * step));
    EXPECT_EQ(FirstCollisionOnPath(world, coarse).index, -1);

    const std::vector<JointAngles> dense = Densify(world.Reach(), coarse);
    const PathCollision found = FirstCollisionOnPath(world, dense);
    ASSERT_GE(found.index, 0);
    EXPECT_EQ(found.pair.object, "plate");
    // The fingers reach the plate's near face a few degrees before 20.
    const float a12 = dense[static_cast<std::size_t>(found.index)].A12;
    EXPECT_GT(a12, 10.0f);
    EXPECT_LT(a12, 20.0f);
    EXPECT_FALSE(world.FirstCollision(dense[static_cast<std::size_t>(found.index) - 1]));
}

TEST_F(PathCheck, TheFirstSampleInContactAndItsPair)
{
    const std::vector<JointAngles> path = {arm.start, JointAngles{0, 0, 0, 0, 0, 0}, arm.start};
    const PathCollision found = FirstCollisionOnPath(world, path);
    EXPECT_EQ(found.index, 1);
    EXPECT_EQ(found.pair.Text(), "LowerArm:ground");
    EXPECT_EQ(FirstCollisionOnPath(world, {arm.start}).index, -1);
    EXPECT_EQ(FirstCollisionOnPath(world, {}).index, -1);
}
