// The contacts and clearances against FCL on the link meshes built here on
// their own: the contacts, every pair tested; the clearance to one object,
// exact; the arm's on the links' stand-ins, never more than the exact one
// and within the error the header states; and exact, the same as measuring
// every pair.
#include "collision/LinkStandIn.h"
#include "collision_fixture.h"

#include <fcl/geometry/shape/box.h>
#include <fcl/geometry/shape/sphere.h>
#include <fcl/narrowphase/collision.h>
#include <fcl/narrowphase/distance.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace kxtest;

namespace {

class AgainstFclTest : public ShippedCellTest {
protected:
    AgainstFclTest()
    {
        for (int link = 0; link < kLinkCount; ++link)
            models[link] = FclModel(meshes[static_cast<std::size_t>(link)]);
    }

    // The exact distance between two FCL models, 0 when they touch.
    static double Between(const fcl::CollisionGeometryd& a, const fcl::Transform3d& poseA,
                          const fcl::CollisionGeometryd& b, const fcl::Transform3d& poseB)
    {
        fcl::CollisionResultd contact;
        if (fcl::collide(&a, poseA, &b, poseB, fcl::CollisionRequestd(), contact) > 0)
            return 0.0;
        fcl::DistanceResultd result;
        return fcl::distance(&a, poseA, &b, poseB, fcl::DistanceRequestd(), result);
    }

    // Every checked pair of the bare arm in contact, tested on the meshes,
    // in the order of Collisions.
    std::vector<std::string> ContactsOf(const JointAngles& angles) const
    {
        std::vector<std::string> pairs;
        fcl::Transform3d groundPose = fcl::Transform3d::Identity();
        groundPose.translation()[2] = -5e3;
        for (int link = 1; link < kLinkCount; ++link)
            if (Between(*models[link], DrawnPose(arm, angles, link), ground, groundPose) == 0.0)
                pairs.push_back(std::string(kLinkNames[link]) + ":ground");
        for (int a = 0; a < kLinkCount; ++a)
            for (int b = a + 2; b < kLinkCount; ++b) {
                fcl::CollisionResultd contact;
                if (fcl::collide(models[a].get(), DrawnPose(arm, angles, a), models[b].get(), DrawnPose(arm, angles, b),
                                 fcl::CollisionRequestd(), contact) > 0)
                    pairs.push_back(std::string(kLinkNames[a]) + ":" + kLinkNames[b]);
            }
        return pairs;
    }

    // Every checked pair of the bare arm measured on the meshes: the
    // smallest distance and its pair.
    std::pair<double, std::string> NearestPair(const JointAngles& angles) const
    {
        fcl::Transform3d groundPose = fcl::Transform3d::Identity();
        groundPose.translation()[2] = -5e3;
        std::pair<double, std::string> nearest{std::numeric_limits<double>::infinity(), ""};
        auto consider = [&](double d, const std::string& pair) {
            if (d < nearest.first)
                nearest = {d, pair};
        };
        for (int link = 1; link < kLinkCount; ++link)
            consider(Between(*models[link], DrawnPose(arm, angles, link), ground, groundPose),
                     std::string(kLinkNames[link]) + ":ground");
        for (int a = 0; a < kLinkCount; ++a)
            for (int b = a + 2; b < kLinkCount; ++b)
                consider(Between(*models[a], DrawnPose(arm, angles, a), *models[b], DrawnPose(arm, angles, b)),
                         std::string(kLinkNames[a]) + ":" + kLinkNames[b]);
        return nearest;
    }

    std::shared_ptr<fcl::BVHModel<fcl::OBBRSSd>> models[kLinkCount];
    // The ground as the world models it: a box whose top is z = 0.
    const fcl::Boxd ground{1e5, 1e5, 1e4};
};

double Length(const double a[3], const double b[3])
{
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// The stand-ins' error on the shipped arm, as CollisionWorld.h states it.
constexpr double kStatedClearanceError = 14.4;

}  // namespace

// The boxes around links and objects only spare FCL the pairs that lie
// apart: over poses drawn within the limits, the contacts are those FCL
// finds testing every pair.
TEST_F(AgainstFclTest, ContactsAreFclsTestingEveryPair)
{
    std::mt19937 random(9u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    for (int n = 0; n < 300; ++n) {
        const JointAngles a{turn(random), turn(random), turn(random), turn(random), turn(random), turn(random)};
        EXPECT_EQ(Texts(world.Collisions(a)), ContactsOf(a)) << n;
    }
}

// A ball beside the lower arm at the start angles: its clearance is the
// distance from its centre to the nearest link's mesh less its radius, and
// moved straight away from that link, it grows by as much.
TEST_F(AgainstFclTest, ToABallIsTheDistanceToItsCentreLessItsRadius)
{
    const double centre[3] = {520, -140, 760}, radius = 40;
    std::string reason;
    ASSERT_TRUE(
        world.DefineObject(Object(ObjectKind::Sphere, "ball", {centre[0], centre[1], centre[2], radius}), &reason))
        << reason;
    ASSERT_TRUE(world.Collisions(arm.start).empty());
    Clearance clearance;
    ASSERT_TRUE(world.ClearanceTo(arm.start, "ball", &clearance, &reason)) << reason;

    // FCL on its own: the centre as a ball of a thousandth of a unit.
    const double dot = 1e-3;
    fcl::Sphered point(dot);
    fcl::Transform3d at = fcl::Transform3d::Identity();
    at.translation() = fcl::Vector3d(centre[0], centre[1], centre[2]);
    double nearest = std::numeric_limits<double>::infinity();
    int nearestLink = -1;
    for (int link = 0; link < kLinkCount; ++link) {
        const double d = Between(*models[link], DrawnPose(arm, arm.start, link), point, at) + dot;
        if (d < nearest) {
            nearest = d;
            nearestLink = link;
        }
    }
    EXPECT_NEAR(clearance.distance, nearest - radius, 1e-3);
    EXPECT_EQ(clearance.pair.Text(), std::string(kLinkNames[nearestLink]) + ":ball");
    EXPECT_GT(clearance.distance, 20.0) << "a ball near the arm, not on it";
    // The nearest points, in the base frame: one on the ball, the gap
    // between them.
    EXPECT_NEAR(Length(clearance.nearest[1], centre), radius, 1e-3);
    EXPECT_NEAR(Length(clearance.nearest[0], clearance.nearest[1]), clearance.distance, 1e-3);

    const double away = 35.0;
    double moved[3];
    const double gap = Length(centre, clearance.nearest[0]);
    for (int k = 0; k < 3; ++k)
        moved[k] = centre[k] + away * (centre[k] - clearance.nearest[0][k]) / gap;
    ASSERT_TRUE(
        world.DefineObject(Object(ObjectKind::Sphere, "ball", {moved[0], moved[1], moved[2], radius}), &reason));
    Clearance further;
    ASSERT_TRUE(world.ClearanceTo(arm.start, "ball", &further, &reason));
    EXPECT_NEAR(further.distance, clearance.distance + away, 1e-3);
    EXPECT_EQ(further.pair, clearance.pair);
}

TEST_F(AgainstFclTest, ToTheGroundLeavesTheBodyOutAndToNothingIsRefused)
{
    Clearance clearance;
    std::string reason;
    ASSERT_TRUE(world.ClearanceTo(arm.start, kGroundName, &clearance, &reason));
    // The shoulder's turntable is the lowest link above the body, at 264.3.
    EXPECT_EQ(clearance.pair.Text(), "Shoulder:ground");
    EXPECT_NEAR(clearance.distance, 264.3, 0.1);
    ASSERT_TRUE(world.ClearanceTo(JointAngles{0, 0, 0, 0, 0, 0}, kGroundName, &clearance, &reason));
    EXPECT_EQ(clearance.distance, 0.0);
    EXPECT_FALSE(world.ClearanceTo(arm.start, "table", &clearance, &reason));
    EXPECT_EQ(reason, "aucun objet « table »");
}

// Over poses drawn within the limits: in contact, both clearances are 0
// with the first pair the checks find; otherwise the exact one is the
// nearest of every pair measured here, and the stand-ins' never exceeds it
// nor falls more than the stated error under it.
TEST_F(AgainstFclTest, OnTheStandInsWithinTheStatedErrorOfTheExactOne)
{
    std::mt19937 random(5u);
    std::uniform_real_distribution<float> turn(-180.0f, 180.0f);
    int free = 0;
    for (int n = 0; n < 120; ++n) {
        const JointAngles a = n == 0 ? arm.start : JointAngles{turn(random), turn(random), turn(random),
                                                               turn(random), turn(random), turn(random)};
        SCOPED_TRACE(n);
        const Clearance standIn = world.ClearanceOf(a);
        const Clearance exact = world.ExactClearanceOf(a);
        CollisionPair first;
        if (world.FirstCollision(a, &first)) {
            EXPECT_EQ(standIn.distance, 0.0);
            EXPECT_EQ(exact.distance, 0.0);
            EXPECT_EQ(standIn.pair, first);
            EXPECT_EQ(exact.pair, first);
            continue;
        }
        ++free;
        const auto [distance, pair] = NearestPair(a);
        EXPECT_NEAR(exact.distance, distance, 1e-6);
        EXPECT_EQ(exact.pair.Text(), pair);
        EXPECT_LE(standIn.distance, distance + 1e-2);
        EXPECT_LE(distance - standIn.distance, kStatedClearanceError);
    }
    EXPECT_GT(free, 20);
}

// Every point of every triangle lies in one of the link's stand-in pieces:
// their corners, middles and centres checked.
TEST(LinkStandIns, EncloseTheWholeMesh)
{
    const LinkMeshes& meshes = SharedShippedCell().meshes;
    auto holds = [](const LinkStandIn& s, const double p[3]) {
        double d[3];
        for (int k = 0; k < 3; ++k)
            d[k] = p[k] - s.centre[k];
        const double slack = 1e-6;
        if (s.shape == StandInShape::Box)
            return std::fabs(d[0]) <= s.half[0] + slack && std::fabs(d[1]) <= s.half[1] + slack &&
                   std::fabs(d[2]) <= s.half[2] + slack;
        const double along = std::fabs(d[s.axis]);
        const double across = std::hypot(d[(s.axis + 1) % 3], d[(s.axis + 2) % 3]);
        if (s.shape == StandInShape::Cylinder)
            return along <= s.halfLength + slack && across <= s.radius + slack;
        return std::hypot(std::max(0.0, along - s.halfLength), across) <= s.radius + slack;
    };
    for (int link = 0; link < kLinkCount; ++link) {
        const MeshData& mesh = meshes[static_cast<std::size_t>(link)];
        const std::vector<LinkStandIn> pieces = FitStandIns(mesh, 100.0);
        EXPECT_GE(pieces.size(), 2u) << kLinkNames[link];
        EXPECT_LE(pieces.size(), static_cast<std::size_t>(kStandInPieces));
        int outside = 0;
        for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
            const float* v[3];
            for (int c = 0; c < 3; ++c)
                v[c] = &mesh.vertices[3 * mesh.indices[t + static_cast<std::size_t>(c)]];
            // Barycentric weights of the corners, the middles and the centre.
            const double weights[7][3] = {
                {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {.5, .5, 0}, {0, .5, .5}, {.5, 0, .5}, {1 / 3., 1 / 3., 1 / 3.}};
            for (const auto& w : weights) {
                double p[3];
                for (int k = 0; k < 3; ++k)
                    p[k] = 100.0 * (w[0] * v[0][k] + w[1] * v[1][k] + w[2] * v[2][k]);
                if (std::none_of(pieces.begin(), pieces.end(), [&](const LinkStandIn& s) { return holds(s, p); }))
                    ++outside;
            }
        }
        EXPECT_EQ(outside, 0) << kLinkNames[link];
    }
}
