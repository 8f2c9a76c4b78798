// Lines through several targets: with rounded corners the tool point cuts
// each corner on an arc of the radius, keeps to the sides elsewhere and
// never stops on the way; without, it stops at each target. A radius too
// large for a segment is refused with the segment named, and a fault along
// a later segment is placed on the whole way.
#include "planner_fixture.h"
#include "motion/CartesianMove.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace kxtest;

namespace {

double DistanceToSegment(const KDL::Vector& p, const KDL::Vector& a, const KDL::Vector& b)
{
    const KDL::Vector ab = b - a;
    const double u = std::clamp(KDL::dot(p - a, ab) / KDL::dot(ab, ab), 0.0, 1.0);
    return (p - (a + u * ab)).Norm();
}

// The turn about the vertical, degrees, of a rotation that only turns
// about the vertical from the start's.
double Yaw(const KDL::Rotation& from, const KDL::Rotation& to)
{
    const KDL::Rotation turn = to * from.Inverse();
    return std::atan2(turn(1, 0), turn(0, 0)) * 180 / M_PI;
}

// A square of side 200 in the vertical plane of the start, corner A where
// the arm stands, then B, C, D and back to A; the hand turns 10 degrees
// about the vertical at each target.
struct Square {
    Square() : setup(ShippedSetup())
    {
        const KDL::Frame a = ToolFrameAt(setup, kStart);
        const KDL::Vector sides[] = {{0, 200, 0}, {0, 200, -200}, {0, 0, -200}, {0, 0, 0}};
        corners.push_back(a.p);
        for (int i = 0; i < 4; ++i) {
            targets.push_back(Moved(a, sides[i], 10.0 * (i + 1)));
            corners.push_back(targets.back().p);
        }
    }
    MoveSetup setup;
    std::vector<KDL::Frame> targets;
    std::vector<KDL::Vector> corners;  // A, B, C, D, A
};

struct Played {
    std::vector<KDL::Frame> frames;
    std::vector<double> speeds;  // of the tool point between two frames, pose units per second
};

// The plan played every `dt` seconds, the end included.
Played Play(const MoveSetup& setup, const CPlannedTrajectory& plan, double dt)
{
    Played played;
    for (double t = 0; t < plan.Duration() + dt; t += dt) {
        played.frames.push_back(ToolFrameAt(setup, AnglesAtTime(plan, std::min(t, plan.Duration()))));
        if (played.frames.size() > 1)
            played.speeds.push_back((played.frames.back().p - played.frames[played.frames.size() - 2].p).Norm() / dt);
    }
    return played;
}

TEST(PlanLinesMove, RoundedCornersPassNearEachCornerWithoutStopping)
{
    const Square square;
    const double radius = 20;
    CPlannedTrajectory plan;
    PlanFailure failure;
    ASSERT_TRUE(PlanLinesMove(square.setup, kPathSpeeds, kStart, square.targets, radius, 100, &plan, &failure))
        << DescribeFailure(failure);
    const Played played = Play(square.setup, plan, 1e-3);

    // Within the radius of B, C and D, but never on them: the corners are
    // cut, by radius x (sqrt 2 - 1) at a right angle.
    for (int corner = 1; corner <= 3; ++corner) {
        double nearest = INFINITY;
        for (const KDL::Frame& f : played.frames)
            nearest = std::min(nearest, (f.p - square.corners[corner]).Norm());
        EXPECT_LE(nearest, radius) << corner;
        EXPECT_NEAR(nearest, radius * (std::sqrt(2.0) - 1), 0.05) << corner;
    }
    // On the sides wherever the tool is farther than the radius from every
    // corner: the roundings start and end there, at a right angle.
    double farthest = 0;
    for (const KDL::Frame& f : played.frames) {
        double toCorner = INFINITY, toSide = INFINITY;
        for (int i = 0; i < 4; ++i) {
            toCorner = std::min(toCorner, (f.p - square.corners[i + 1]).Norm());
            toSide = std::min(toSide, DistanceToSegment(f.p, square.corners[i], square.corners[i + 1]));
        }
        if (toCorner > radius)
            farthest = std::max(farthest, toSide);
    }
    EXPECT_LE(farthest, 0.01);
    // One profile: after the start's acceleration and before the end's
    // deceleration the tool keeps its pace, corners included.
    const double ramp = kPathSpeeds.linear / kPathSpeeds.linearAccel;
    const double cruise = *std::max_element(played.speeds.begin(), played.speeds.end());
    const std::size_t from = static_cast<std::size_t>(ramp / 1e-3) + 1;
    const auto middle = std::min_element(played.speeds.begin() + from, played.speeds.end() - from);
    EXPECT_GT(*middle, 0.95 * cruise);
    EXPECT_GT(*std::min_element(played.speeds.begin(), played.speeds.end() - 1), 0.0);
    // The hand turns one way all along, to the last target's orientation.
    const KDL::Rotation start = ToolFrameAt(square.setup, kStart).M;
    double yaw = 0;
    for (const KDL::Frame& f : played.frames) {
        const double now = Yaw(start, f.M);
        EXPECT_GE(now, yaw - 1e-6);
        yaw = now;
    }
    const KDL::Frame end = ToolFrameAt(square.setup, plan.Samples().back().angles);
    EXPECT_LE((end.p - square.targets.back().p).Norm(), 0.01);
    EXPECT_LE(TurnBetween(end.M, square.targets.back().M), 1e-3);
}

TEST(PlanLinesMove, WithoutBlendTheArmStopsAtEachTarget)
{
    const Square square;
    CPlannedTrajectory plan;
    PlanFailure failure;
    ASSERT_TRUE(PlanLinesMove(square.setup, kPathSpeeds, kStart, square.targets, 0, 100, &plan, &failure))
        << DescribeFailure(failure);
    // Each target is reached, and the move lasts as long as the four lines
    // one after the other.
    double alone = 0;
    JointAngles from = kStart;
    for (const KDL::Frame& target : square.targets) {
        CPlannedTrajectory line;
        ASSERT_TRUE(PlanLinearMove(square.setup, kPathSpeeds, from, target, 100, &line, &failure));
        alone += line.Duration();
        from = line.Samples().back().angles;
        double nearest = INFINITY;
        for (const PlannedSample& s : plan.Samples())
            nearest = std::min(nearest, (ToolFrameAt(square.setup, s.angles).p - target.p).Norm());
        EXPECT_LE(nearest, 0.01);
    }
    EXPECT_NEAR(plan.Duration(), alone, 1e-6);
    // Where it stops, the tool's pace falls to nearly nothing.
    const Played played = Play(square.setup, plan, 1e-3);
    const double ramp = kPathSpeeds.linear / kPathSpeeds.linearAccel;
    const std::size_t from1 = static_cast<std::size_t>(ramp / 1e-3) + 1;
    const double cruise = *std::max_element(played.speeds.begin(), played.speeds.end());
    EXPECT_LT(*std::min_element(played.speeds.begin() + from1, played.speeds.end() - from1), 0.05 * cruise);
}

TEST(PlanLinesMove, RefusalsNameTheSegment)
{
    const MoveSetup setup = ShippedSetup();
    const KDL::Frame a = ToolFrameAt(setup, kStart);
    struct Case {
        const char* what;
        std::vector<KDL::Vector> offsets;  // the targets, from the start
        double radius;
        PlanFault reason;
        int segment;
        const char* words;
    };
    const Case cases[] = {
        {"30 sur un segment de 40",
         {{0, 200, 0}, {0, 200, -40}, {0, 0, -40}},
         30,
         PlanFault::BlendTooLarge,
         2,
         "rayon de raccordement 30 trop grand pour le segment 2 (longueur 40,0)"},
        {"la moitié exacte : plus rien de droit entre les coins",
         {{0, 200, 0}, {0, 200, -40}, {0, 0, -40}},
         20,
         PlanFault::BlendTooLarge,
         2,
         "rayon de raccordement 20 trop grand pour le segment 2 (longueur 40,0 ; ses coins en demandent 40,0)"},
        {"un coin aigu prend plus que son rayon",
         {{0, 200, 0}, {0, 0, -20}},
         20,
         PlanFault::BlendTooLarge,
         1,
         "rayon de raccordement 20 trop grand pour le segment 1 (longueur 200,0 ; ses coins en demandent"},
        {"un segment revient sur le précédent",
         {{0, 200, 0}, {0, 100, 0}},
         10,
         PlanFault::BlendReversal,
         2,
         "coin impossible à arrondir : le segment 2 revient sur le segment 1"},
        {"deux cibles confondues",
         {{0, 200, 0}, {0, 200, 0}, {0, 0, 0}},
         5,
         PlanFault::BlendTooLarge,
         2,
         "rayon de raccordement 5 trop grand pour le segment 2 (longueur 0,0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<KDL::Frame> targets;
        for (const KDL::Vector& offset : c.offsets)
            targets.push_back(Moved(a, offset));
        CPlannedTrajectory plan;
        PlanFailure failure;
        ASSERT_FALSE(PlanLinesMove(setup, kPathSpeeds, kStart, targets, c.radius, 100, &plan, &failure));
        EXPECT_EQ(failure.reason, c.reason);
        EXPECT_EQ(failure.segment, c.segment);
        EXPECT_EQ(DescribeFailure(failure).rfind(c.words, 0), 0u) << DescribeFailure(failure);
        EXPECT_EQ(plan.Samples().size(), 0u) << "nothing planned";
    }
}

// A fault on a later segment is placed on the whole way: out of reach
// along the last of three lines, with or without rounded corners, where
// that line alone leaves the reach.
TEST(PlanLinesMove, AFaultFurtherOnIsPlacedOnTheWholeWay)
{
    const MoveSetup setup = ShippedSetup();
    const KDL::Frame a = ToolFrameAt(setup, kStart);
    const std::vector<KDL::Frame> targets = {Moved(a, {0, 300, 0}), Moved(a, {0, 300, -300}),
                                             Moved(a, {900, 300, -300})};
    CPlannedTrajectory twoLines, plan;
    PlanFailure alone, failure;
    ASSERT_TRUE(PlanLinesMove(setup, kPathSpeeds, kStart, {targets[0], targets[1]}, 0, 100, &twoLines, &failure))
        << DescribeFailure(failure);
    ASSERT_FALSE(PlanLinearMove(setup, kPathSpeeds, twoLines.Samples().back().angles, targets[2], 100, &plan, &alone));
    ASSERT_EQ(alone.reason, PlanFault::OutOfReach);
    const double fraction = (600 + 900 * alone.fraction) / 1500;
    for (double radius : {0.0, 10.0}) {
        SCOPED_TRACE(radius);
        ASSERT_FALSE(PlanLinesMove(setup, kPathSpeeds, kStart, targets, radius, 100, &plan, &failure));
        EXPECT_EQ(failure.reason, PlanFault::OutOfReach);
        // The rounded corners shorten the way by a few units.
        EXPECT_NEAR(failure.fraction, fraction, 0.01);
    }
}

}  // namespace
