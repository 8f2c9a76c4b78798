// Lines and arcs planned through the exact model: the tool on its segment
// or its circle at every time, the target reached, no joint faster than
// its maximum, the override's pace, and each refusal with its reason and
// its place.
#include "planner_fixture.h"
#include "motion/CartesianMove.h"
#include "motion/JointMove.h"
#include "kinematics/MGIExact.h"
#include "kinematics/Singularity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace kxtest;

namespace {

double DistanceToSegment(const KDL::Vector& p, const KDL::Vector& a, const KDL::Vector& b)
{
    const KDL::Vector ab = b - a;
    const double u = std::clamp(KDL::dot(p - a, ab) / KDL::dot(ab, ab), 0.0, 1.0);
    return (p - (a + u * ab)).Norm();
}

// The tool frame of the plan at every one of `count` times, the end
// included.
template <class Visit>
void ForEachTime(const MoveSetup& setup, const CPlannedTrajectory& plan, int count, Visit visit)
{
    for (int k = 0; k <= count; ++k)
        visit(ToolFrameAt(setup, AnglesAtTime(plan, plan.Duration() * k / count)));
}

void ExpectReached(const MoveSetup& setup, const CPlannedTrajectory& plan, const KDL::Frame& target)
{
    const KDL::Frame end = ToolFrameAt(setup, plan.Samples().back().angles);
    EXPECT_LE((end.p - target.p).Norm(), 0.01);
    EXPECT_LE(TurnBetween(end.M, target.M), 1e-3);
}

TEST(PlanLinearMove, TheToolStaysOnTheSegment)
{
    struct Case {
        const char* what;
        KDL::Frame tool;
        KDL::Vector offset;
        double turn;  // degrees about the vertical; 0: the orientation is kept all the way
    };
    const Case cases[] = {
        {"1000 unités et un quart de tour de la main", KDL::Frame::Identity(), {0, 1000, 0}, 90},
        {"orientation gardée", KDL::Frame::Identity(), {0, 600, -200}, 0},
        {"outil décalé de 150 et tourné", KDL::Frame(KDL::Rotation::RotX(0.3), {0, 0, 150}), {100, 500, -100}, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MoveSetup setup = ShippedSetup();
        setup.tool = c.tool;
        const KDL::Frame from = ToolFrameAt(setup, kStart), to = Moved(from, c.offset, c.turn);
        CPlannedTrajectory plan;
        PlanFailure failure;
        ASSERT_TRUE(PlanLinearMove(setup, kPathSpeeds, kStart, to, 100, &plan, &failure)) << DescribeFailure(failure);
        double farthest = 0, turned = 0;
        ForEachTime(setup, plan, 5000, [&](const KDL::Frame& f) {
            farthest = std::max(farthest, DistanceToSegment(f.p, from.p, to.p));
            turned = std::max(turned, TurnBetween(from.M, f.M));
        });
        EXPECT_LE(farthest, 1.0);
        if (c.turn == 0) {
            EXPECT_LE(turned, 0.1);
        }
        ExpectReached(setup, plan, to);
    }
}

// The centre of the circle through three points, from the two bisecting
// planes and the points' plane (Cramer's rule).
KDL::Vector CircleCentre(const KDL::Vector& p0, const KDL::Vector& p1, const KDL::Vector& p2)
{
    const KDL::Vector rows[3] = {p1 - p0, p2 - p1, (p1 - p0) * (p2 - p0)};
    const double rhs[3] = {KDL::dot(p1 - p0, (p0 + p1) / 2), KDL::dot(p2 - p1, (p1 + p2) / 2), KDL::dot(rows[2], p0)};
    auto det = [](const KDL::Vector& a, const KDL::Vector& b, const KDL::Vector& c) {
        return a.x() * (b.y() * c.z() - b.z() * c.y()) - a.y() * (b.x() * c.z() - b.z() * c.x()) +
               a.z() * (b.x() * c.y() - b.y() * c.x());
    };
    const double d = det(rows[0], rows[1], rows[2]);
    double c[3];
    for (int i = 0; i < 3; ++i) {
        KDL::Vector m[3] = {rows[0], rows[1], rows[2]};
        for (int r = 0; r < 3; ++r)
            m[r](i) = rhs[r];
        c[i] = det(m[0], m[1], m[2]) / d;
    }
    return KDL::Vector(c[0], c[1], c[2]);
}

TEST(PlanArcMove, TheToolGoesRoundThroughTheViaPoint)
{
    const MoveSetup setup = ShippedSetup();
    const KDL::Frame from = ToolFrameAt(setup, kStart);
    struct Case {
        const char* what;
        KDL::Vector via, end;  // from the start
    };
    const Case cases[] = {
        {"un demi-cercle vers le bas", {0, 300, -300}, {0, 600, 0}},
        {"plus d'un demi-tour", {-150, 250, 0}, {0, 100, -50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KDL::Vector via = from.p + c.via;
        const KDL::Frame to = Moved(from, c.end, 20);
        CPlannedTrajectory plan;
        PlanFailure failure;
        ASSERT_TRUE(PlanArcMove(setup, kPathSpeeds, kStart, via, to, 100, &plan, &failure)) << DescribeFailure(failure);
        const KDL::Vector centre = CircleCentre(from.p, via, to.p);
        KDL::Vector normal = c.via * c.end;
        normal.Normalize();
        const double radius = (from.p - centre).Norm();
        double offCircle = 0, nearestVia = INFINITY;
        ForEachTime(setup, plan, 5000, [&](const KDL::Frame& f) {
            offCircle = std::max(offCircle, std::hypot((f.p - centre).Norm() - radius, KDL::dot(f.p - centre, normal)));
            nearestVia = std::min(nearestVia, (f.p - via).Norm());
        });
        EXPECT_LE(offCircle, 1.0);
        EXPECT_LE(nearestVia, 1.0);
        ExpectReached(setup, plan, to);
    }
}

// Played at the shipped joints' speeds, the line keeps the path's own
// pace; with a slow base joint, the whole path is slowed until that joint
// is just at its maximum.
TEST(PlanLinearMove, NoJointTurnsFasterThanItsMaximum)
{
    const double pathTime = 1000 / kPathSpeeds.linear + kPathSpeeds.linear / kPathSpeeds.linearAccel;
    for (double a12Speed : {60.0, 10.0}) {
        SCOPED_TRACE(a12Speed);
        MoveSetup setup = ShippedSetup();
        setup.maxSpeed[0] = a12Speed;
        const KDL::Frame to = Moved(ToolFrameAt(setup, kStart), {0, 1000, 0}, 90);
        CPlannedTrajectory plan;
        PlanFailure failure;
        ASSERT_TRUE(PlanLinearMove(setup, kPathSpeeds, kStart, to, 100, &plan, &failure)) << DescribeFailure(failure);
        const double fastest = FastestJointRatio(plan, setup.maxSpeed, 1e-3);
        EXPECT_LE(fastest, 1.001);
        if (a12Speed == 60.0) {
            EXPECT_NEAR(plan.Duration(), pathTime, 1e-9);
        } else {
            EXPECT_GT(plan.Duration(), 1.5 * pathTime);
            EXPECT_GT(fastest, 0.99);
        }
    }
}

// Each of the three moves planned at P % takes 100 / P times as long, on
// the same angles at the same fraction of its time.
TEST(PlannedMoves, TheOverrideStretchesTime)
{
    const MoveSetup setup = ShippedSetup();
    const KDL::Frame from = ToolFrameAt(setup, kStart);
    using Planner = std::function<bool(double, CPlannedTrajectory*, PlanFailure*)>;
    const std::pair<const char*, Planner> moves[] = {
        {"movej",
         [&](double p, CPlannedTrajectory* plan, PlanFailure* f) {
             return PlanJointMove(setup, kStart, JointAngles{20, -10, 90, 40, 80, -30}, p, plan, f);
         }},
        {"movel",
         [&](double p, CPlannedTrajectory* plan, PlanFailure* f) {
             return PlanLinearMove(setup, kPathSpeeds, kStart, Moved(from, {0, 500, 100}, 30), p, plan, f);
         }},
        {"movec",
         [&](double p, CPlannedTrajectory* plan, PlanFailure* f) {
             return PlanArcMove(setup, kPathSpeeds, kStart, from.p + KDL::Vector(0, 300, -300),
                                Moved(from, {0, 600, 0}), p, plan, f);
         }},
    };
    for (const auto& [what, planner] : moves) {
        SCOPED_TRACE(what);
        CPlannedTrajectory full;
        PlanFailure failure;
        ASSERT_TRUE(planner(100, &full, &failure)) << DescribeFailure(failure);
        for (double percent : {50.0, 10.0, 1.0}) {
            CPlannedTrajectory slow;
            ASSERT_TRUE(planner(percent, &slow, &failure));
            const double stretch = 100 / percent;
            EXPECT_NEAR(slow.Duration(), full.Duration() * stretch, 1e-9 * slow.Duration());
            for (double u : {0.1, 0.37, 0.8}) {
                const JointAngles a = AnglesAtTime(full, u * full.Duration());
                const JointAngles b = AnglesAtTime(slow, u * slow.Duration());
                for (float JointAngles::*f : kJointFields)
                    EXPECT_NEAR(a.*f, b.*f, 1e-3);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Refusals
// ---------------------------------------------------------------------------

const ToolPose kHandDown = {0, 0, 0, 90, 90, 180};  // the hand's axis pointing down

ToolPose HandDownAt(float x, float y, float z)
{
    return {x, y, z, kHandDown.alpha, kHandDown.beta, kHandDown.gamma};
}

// The configuration reaching back over the base, the wrist not flipped,
// the elbow bent as kStart's.
JointAngles BackAt(const ArmLengths& arm, const ToolPose& pose)
{
    MGISolutions all;
    SolveMGIExact(arm, pose, &all);
    for (int i = 0; i < all.count; ++i) {
        const ArmBranch branch = BranchOf(arm, all.configurations[i].angles);
        if (branch.back && !branch.bendPositive && !branch.flipped)
            return all.configurations[i].angles;
    }
    ADD_FAILURE() << "no configuration reaching back";
    return {};
}

// Where the upper arm's joint is when the arm turns toward p.
double FromUpperArmJoint(const ArmLengths& arm, const double p[3])
{
    return std::hypot(std::hypot(p[0], p[1]) - arm.a2, p[2] - arm.h);
}

TEST(PlannedMoves, RefusalsSayWhyAndWhere)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const MoveSetup shipped = ShippedSetup();
    const ArmLengths& arm = shipped.lengths;
    MoveSetup narrowA12 = shipped;
    narrowA12.limits.low[0] = -60;
    narrowA12.limits.high[0] = 20;
    // Reaching back, the upper arm leans back past a half turn.
    MoveSetup wideA23 = shipped;
    wideA23.limits.low[1] = -270;
    wideA23.limits.high[1] = 270;
    PathSpeeds stopped = kPathSpeeds;
    stopped.linear = 0;
    const JointAngles wristBent{20, 10, 110, 30, 10, 0}, wristBentBack{20, 10, 110, 30, -10, 0};
    const JointAngles behind{170, 10, 120, 0, 60, 0};
    const CSingularityMeter meter(arm);

    struct Case {
        const char* what;
        MoveSetup setup;
        PathSpeeds speeds;
        JointAngles start;
        std::function<KDL::Frame(const KDL::Frame& from)> target;
        std::function<KDL::Vector(const KDL::Frame& from)> via;  // empty: a line
        double percent;
        PlanFault reason;
        int joint;
        double fractionLow, fractionHigh;  // where along the path; both -1: no place
        std::function<bool(const PlanFailure&)> there;
        const char* words;  // how the reply begins
    };
    const Case cases[] = {
        {"par l'axe de la base", shipped, kPathSpeeds, AnglesAt(arm, HandDownAt(300, -200, 700)),
         [](const KDL::Frame&) { return FrameOfPose(HandDownAt(-300, 200, 700)); }, nullptr, 100,
         PlanFault::ShoulderSingularity, -1, 0.45, 0.5,
         [&](const PlanFailure& f) {
             return std::hypot(f.place[0], f.place[1]) < meter.ShoulderThreshold() &&
                    f.value < meter.ShoulderThreshold();
         },
         "trop près de la singularité de l'épaule (à "},
        {"A56 par 0", shipped, kPathSpeeds, wristBent,
         [&](const KDL::Frame&) { return ToolFrameAt(shipped, wristBentBack); }, nullptr, 100,
         PlanFault::WristSingularity, 4, 0.35, 0.45,
         [](const PlanFailure& f) { return std::fabs(f.value) < kWristSingularDegrees; },
         "trop près de la singularité du poignet (A56 = "},
        {"coude replié", shipped, kPathSpeeds, AnglesAt(arm, HandDownAt(100, -150, 405)),
         [](const KDL::Frame&) { return FrameOfPose(HandDownAt(100, 150, 405)); }, nullptr, 100,
         PlanFault::ElbowSingularity, -1, 0.3, 0.5,
         [](const PlanFailure& f) { return f.value < kElbowSingularDegrees; },
         "trop près de la singularité du coude (à "},
        {"hors d'atteinte", shipped, kPathSpeeds, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {1000, 0, 0});
         },
         nullptr, 100, PlanFault::OutOfReach, -1, 0.05, 0.95,
         [&](const PlanFailure& f) {
             return std::fabs(FromUpperArmJoint(arm, f.place) - (arm.a3 + std::hypot(arm.e, arm.d))) < 1.0;
         },
         "hors d'atteinte à "},
        {"A12 au-delà de sa limite", narrowA12, kPathSpeeds, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {0, 1000, 0}, 90);
         },
         nullptr, 100, PlanFault::JointLimit, 0, 0.3, 0.9,
         [](const PlanFailure& f) {
             return f.value > 20 && f.value < 21 && f.low == -60 && f.high == 20 &&
                    std::fabs(std::atan2(f.place[1], f.place[0]) * 180 / M_PI - 20) < 1;
         },
         "A12 = 20,"},
        {"A12 continu au-delà de 180, pas ramené à -180", shipped, kPathSpeeds, behind,
         [](const KDL::Frame& from) {
             return Moved(from, {0, -300, 0});
         },
         nullptr, 100, PlanFault::JointLimit, 0, 0.2, 0.8,
         [](const PlanFailure& f) { return f.value > 180 && f.value < 181; }, "A12 = 180,"},
        {"le bras en arrière ne peut plus suivre", wideA23, kPathSpeeds, BackAt(arm, HandDownAt(-400, 0, 600)),
         [](const KDL::Frame&) { return FrameOfPose(HandDownAt(-900, 0, 600)); }, nullptr, 100,
         PlanFault::ConfigurationChange, -1, 0.6, 0.85,
         [&](const PlanFailure& f) {
             // Reaching back, the upper arm's joint lies on the far side of the base.
             const double r = std::hypot(f.place[0], f.place[1]);
             return std::fabs(std::hypot(r + arm.a2, f.place[2] - arm.h) - (arm.a3 + std::hypot(arm.e, arm.d))) < 1.0;
         },
         "configuration à changer à "},
        {"arc par trois points alignés", shipped, kPathSpeeds, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {0, 400, 0});
         },
         [](const KDL::Frame& from) { return from.p + KDL::Vector(0, 200, 0); }, 100, PlanFault::ArcPointsAligned, -1,
         -1, -1, nullptr, "arc impossible : points alignés"},
        {"arc dont le point de passage est le départ", shipped, kPathSpeeds, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {0, 400, 0});
         },
         [](const KDL::Frame& from) { return from.p; }, 100, PlanFault::ArcPointsCoincide, -1, -1, -1, nullptr,
         "arc impossible : points confondus"},
        {"cible NaN", shipped, kPathSpeeds, kStart,
         [&](const KDL::Frame& from) {
             return Moved(from, {nan, 0, 0});
         },
         nullptr, 100, PlanFault::InvalidTarget, -1, -1, -1, nullptr, "cible non valide"},
        {"vitesse linéaire nulle", shipped, stopped, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {0, 100, 0});
         },
         nullptr, 100, PlanFault::InvalidSettings, -1, -1, -1, nullptr, "vitesses, accélérations"},
        {"réduction de vitesse sous 1 %", shipped, kPathSpeeds, kStart,
         [](const KDL::Frame& from) {
             return Moved(from, {0, 100, 0});
         },
         nullptr, 0.5, PlanFault::InvalidSettings, -1, -1, -1, nullptr, "vitesses, accélérations"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KDL::Frame from = ToolFrameAt(c.setup, c.start);
        const CPlannedTrajectory before({{0, {1, 2, 3, 4, 5, 6}, {0, 0, 0}}});
        CPlannedTrajectory plan = before;
        PlanFailure failure;
        const bool planned =
            c.via ? PlanArcMove(c.setup, c.speeds, c.start, c.via(from), c.target(from), c.percent, &plan, &failure)
                  : PlanLinearMove(c.setup, c.speeds, c.start, c.target(from), c.percent, &plan, &failure);
        ASSERT_FALSE(planned);
        const std::string words = DescribeFailure(failure);
        SCOPED_TRACE(words);
        EXPECT_EQ(failure.reason, c.reason);
        EXPECT_EQ(failure.joint, c.joint);
        EXPECT_EQ(words.rfind(c.words, 0), 0u);
        EXPECT_EQ(plan.Samples().size(), 1u) << "the plan is left alone";
        EXPECT_EQ(failure.placed, c.fractionLow >= 0);
        if (c.fractionLow >= 0) {
            EXPECT_GE(failure.fraction, c.fractionLow);
            EXPECT_LE(failure.fraction, c.fractionHigh);
            EXPECT_TRUE(c.there(failure));
            EXPECT_NE(words.find(" % du chemin ("), std::string::npos);
        }
    }
}

}  // namespace
