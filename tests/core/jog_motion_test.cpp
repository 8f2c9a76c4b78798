// The continuous jog played on chosen times, as the simulation's clock
// would give them: the tool along its axis (or the joint) at the jog's
// share of the arm's speeds, no joint faster than its share of its own,
// and an end before a joint's limit, a singularity's threshold, the edge
// of the reach or a contact, never in it, with the planner's words.
#include "arm/ArmKinematics.h"
#include "collision_fixture.h"
#include "motion/JogMotion.h"
#include "motion/MovePlanner.h"
#include "motion/PathChecks.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace {

constexpr double kFrame = 1.0 / 60;  // seconds between samples, as a display steps

// A jog begun on the arm, or a failed test.
std::unique_ptr<CJogMotion> Begin(const ArmDescription& arm, const JointAngles& start, const JogAxis& axis,
                                  const CCollisionWorld* cell = nullptr)
{
    PlanFailure failure;
    std::unique_ptr<CJogMotion> jog = CJogMotion::Begin(arm, start, axis, arm.jogSpeed, cell, &failure);
    EXPECT_TRUE(jog) << DescribeFailure(failure);
    return jog;
}

JogAxis Axis(JogFrame frame, int axis, int direction, ToolPose user = {})
{
    JogAxis jog;
    jog.frame = frame;
    jog.axis = axis;
    jog.direction = direction;
    jog.user = user;
    return jog;
}

// Plays the jog from `start` every `step` seconds up to `until` or its end;
// `visit` sees the angles before and after each step and the time.
JointAngles Play(CJogMotion& jog, const JointAngles& start, double step, double until,
                 const std::function<void(const JointAngles&, const JointAngles&, double)>& visit = nullptr)
{
    JointAngles angles = start;
    EXPECT_EQ(jog.Sample(0, angles), TrajectoryStep::Waiting) << "the first sample starts the clock";
    for (int k = 1; k * step <= until + 1e-12 && !jog.Ended(); ++k) {
        const JointAngles before = angles;
        jog.Sample(k * step, angles);
        if (visit)
            visit(before, angles, k * step);
    }
    return angles;
}

double Turn(const KDL::Rotation& a, const KDL::Rotation& b)
{
    KDL::Vector axis;
    return (a.Inverse() * b).GetRotAngle(axis) * 180 / M_PI;
}

class JogMotionTest : public ::testing::Test {
protected:
    const ArmDescription arm = ShippedArm();
};

// After a second, the tool frame is where the jog target of the speed's
// worth of the axis puts it: 25 % of 200 pose units or of 60 degrees.
TEST_F(JogMotionTest, TheToolFollowsItsAxisAtTheJogSpeed)
{
    ASSERT_EQ(arm.jogSpeed, 25.0f) << "the shipped data set's jog speed";
    const ToolPose user{300, 200, 100, 120, 35, 40};
    struct Case {
        JogAxis axis;
        double perSecond;
    };
    const Case cases[] = {
        {Axis(JogFrame::Base, 0, -1), 50},       {Axis(JogFrame::Base, 2, 1), 50}, {Axis(JogFrame::Tool, 2, -1), 50},
        {Axis(JogFrame::User, 1, 1, user), 50},  {Axis(JogFrame::Base, 5, 1), 15}, {Axis(JogFrame::Tool, 3, -1), 15},
        {Axis(JogFrame::User, 4, -1, user), 15},
    };
    const KDL::Frame start = ArmMGDFrame(arm, arm.start);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(JogAxisWord(c.axis.axis)) + " of frame " + std::to_string(int(c.axis.frame)));
        std::unique_ptr<CJogMotion> jog = Begin(arm, arm.start, c.axis);
        ASSERT_TRUE(jog);
        const JointAngles end = Play(*jog, arm.start, kFrame, 1.0);
        EXPECT_FALSE(jog->Ended());
        const KDL::Frame expected =
            JogToolFrame(start, c.axis.frame, c.axis.axis, c.axis.direction * c.perSecond, c.axis.user);
        const KDL::Frame reached = ArmMGDFrame(arm, end);
        EXPECT_LE((reached.p - expected.p).Norm(), 0.01);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                EXPECT_NEAR(reached.M(i, j), expected.M(i, j), 1e-4);
    }
}

// A joint's jog at its share of its speed, past the wrist's singularity
// (as a joint move goes), ended just before its limit.
TEST_F(JogMotionTest, AJointTurnsAtItsShareOfItsSpeedAndStopsBeforeItsLimit)
{
    struct Case {
        int joint, direction;
        float limit;  // the limit it runs into
        const char* words;
    };
    const Case cases[] = {
        {1, 1, 50, "A23 = 50,"},
        {0, -1, -30, "A12 = -30,"},
        // A56 from 60 down through 0 (the wrist's singularity) to -20.
        {4, -1, -20, "A56 = -20,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kJointNames[c.joint]);
        ArmDescription narrowed = arm;
        (c.direction > 0 ? narrowed.limits.high : narrowed.limits.low)[c.joint] = c.limit;
        std::unique_ptr<CJogMotion> jog = Begin(narrowed, arm.start, Axis(JogFrame::Joints, c.joint, c.direction));
        ASSERT_TRUE(jog);
        const double speed = arm.maxSpeed[c.joint] * 0.25;
        const float from = arm.start.*kJointFields[c.joint];
        bool beyond = false;
        const JointAngles end =
            Play(*jog, arm.start, kFrame, 30, [&](const JointAngles&, const JointAngles& a, double t) {
                const float angle = a.*kJointFields[c.joint];
                beyond = beyond || (c.direction > 0 ? angle > c.limit : angle < c.limit);
                if (!jog->Ended()) {
                    EXPECT_NEAR(angle, from + c.direction * speed * t, 1e-3) << t;
                }
            });
        ASSERT_TRUE(jog->Ended());
        EXPECT_FALSE(beyond);
        EXPECT_LT(std::fabs(end.*kJointFields[c.joint] - c.limit), 0.5) << "the last step before the limit";
        EXPECT_EQ(jog->Reason().reason, PlanFault::JointLimit);
        EXPECT_EQ(DescribeFailure(jog->Reason()).rfind(c.words, 0), 0u) << DescribeFailure(jog->Reason());
        for (int other = 0; other < 6; ++other)
            if (other != c.joint) {
                EXPECT_EQ(end.*kJointFields[other], arm.start.*kJointFields[other]);
            }
    }
}

// A Cartesian jog ends at its last step clear of what the planner refuses:
// the base axis, the stretched elbow, the wrist's alignment.
TEST_F(JogMotionTest, ACartesianJogStopsBeforeASingularity)
{
    struct Case {
        const char* what;
        JointAngles start;
        JogAxis axis;
        PlanFault reason;
        const char* words;
    };
    const Case cases[] = {
        // High above the shoulder, where the upper arm stays within its
        // limits all the way in.
        {"vers l'axe de la base",
         {0, 67.8f, 56.5f, 0, 60, 0},
         Axis(JogFrame::Base, 0, -1),
         PlanFault::ShoulderSingularity,
         "trop près de la singularité de l'épaule"},
        {"bras tendu",
         {0, 45, 15, 0, 60, 0},
         Axis(JogFrame::Base, 0, 1),
         PlanFault::ElbowSingularity,
         "trop près de la singularité du coude"},
        {"poignet aligné",
         {0, 45, 15, 0, 60, 0},
         Axis(JogFrame::Tool, 4, -1),
         PlanFault::WristSingularity,
         "trop près de la singularité du poignet"},
    };
    const CSingularityMeter meter(arm.Lengths());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CJogMotion> jog = Begin(arm, c.start, c.axis);
        ASSERT_TRUE(jog);
        const JointAngles end = Play(*jog, c.start, kFrame, 60);
        ASSERT_TRUE(jog->Ended());
        EXPECT_EQ(jog->Reason().reason, c.reason) << DescribeFailure(jog->Reason());
        EXPECT_EQ(DescribeFailure(jog->Reason()).rfind(c.words, 0), 0u) << DescribeFailure(jog->Reason());
        PlanFailure there;
        EXPECT_TRUE(CheckPathAngles(meter, ModelLimits(arm), ModelAngles(arm, end), &there))
            << "stopped in it: " << DescribeFailure(there);
    }
}

// Where the jog's pace would turn a joint faster than its share of its
// speed, the tool slows down along its axis instead.
TEST_F(JogMotionTest, NoJointTurnsFasterThanItsShare)
{
    ArmDescription slowBase = arm;
    slowBase.maxSpeed[0] = 4;  // A12 at 1 degree per second in the jog: the tool's 50 would need 3.5
    std::unique_ptr<CJogMotion> jog = Begin(slowBase, arm.start, Axis(JogFrame::Base, 1, 1));
    ASSERT_TRUE(jog);
    const KDL::Frame start = ArmMGDFrame(arm, arm.start);
    double fastest = 0, offLine = 0, turned = 0;
    const JointAngles end = Play(*jog, arm.start, kFrame, 1.0, [&](const JointAngles& a, const JointAngles& b, double) {
        for (int joint = 0; joint < 6; ++joint) {
            const double turn = std::fabs(double(b.*kJointFields[joint]) - a.*kJointFields[joint]);
            fastest = std::max(fastest, turn / kFrame / (slowBase.maxSpeed[joint] * 0.25));
        }
        const KDL::Frame f = ArmMGDFrame(arm, b);
        offLine = std::max(offLine, std::hypot(f.p.x() - start.p.x(), f.p.z() - start.p.z()));
        turned = std::max(turned, Turn(start.M, f.M));
    });
    EXPECT_FALSE(jog->Ended());
    EXPECT_LE(fastest, 1.001);
    EXPECT_GT(fastest, 0.99) << "A12 sets the pace";
    EXPECT_LE(offLine, 0.01);
    EXPECT_LE(turned, 1e-3);
    const double moved = ArmMGDFrame(arm, end).p.y() - start.p.y();
    EXPECT_GT(moved, 5);
    EXPECT_LT(moved, 25);
}

// The jog's time is the samples': the same times in one step or in many
// end in the same place, and a sample at the same time moves nothing.
TEST_F(JogMotionTest, TimeIsTheSamples)
{
    const JogAxis axis = Axis(JogFrame::Tool, 0, 1);
    std::unique_ptr<CJogMotion> often = Begin(arm, arm.start, axis), once = Begin(arm, arm.start, axis);
    ASSERT_TRUE(often && once);
    const JointAngles stepped = Play(*often, arm.start, 0.01, 0.8);
    JointAngles angles = arm.start;
    EXPECT_EQ(once->Sample(2.0, angles), TrajectoryStep::Waiting);
    EXPECT_EQ(once->Sample(2.0, angles), TrajectoryStep::Waiting);
    EXPECT_EQ(once->Sample(2.8, angles), TrajectoryStep::Moved);
    const KDL::Vector a = ArmMGDFrame(arm, stepped).p, b = ArmMGDFrame(arm, angles).p;
    EXPECT_LE((a - b).Norm(), 1e-3);
    EXPECT_NEAR((b - ArmMGDFrame(arm, arm.start).p).Norm(), 40, 1e-3);
}

TEST_F(JogMotionTest, AJogThatCannotStartIsRefused)
{
    ArmDescription stopped = arm;
    stopped.maxSpeed[2] = 0;
    const JointAngles wristAligned{-25, 45, 15, 0, 1, 0};
    struct Case {
        const char* what;
        const ArmDescription& arm;
        JointAngles start;
        JogAxis axis;
        const char* words;
    };
    const Case cases[] = {
        {"axe inconnu", arm, arm.start, Axis(JogFrame::Base, 6, 1), "cible non valide"},
        {"sens nul", arm, arm.start, Axis(JogFrame::Base, 0, 0), "cible non valide"},
        {"articulation arrêtée", stopped, arm.start, Axis(JogFrame::Joints, 0, 1),
         "vitesses, accélérations ou réduction de vitesse non valides"},
        {"poignet aligné au départ", arm, wristAligned, Axis(JogFrame::Base, 0, 1),
         "trop près de la singularité du poignet (A56 = 1,0°)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanFailure failure;
        EXPECT_FALSE(CJogMotion::Begin(c.arm, c.start, c.axis, 25, nullptr, &failure));
        EXPECT_EQ(DescribeFailure(failure), c.words);
    }
    // A joint jog goes through the wrist's alignment.
    EXPECT_TRUE(Begin(arm, wristAligned, Axis(JogFrame::Joints, 4, -1)));
}

using JogCellTest = kxtest::ShippedCellTest;

// Down toward a table, the jog ends before the hand touches it, the pair
// named; from inside a contact, it moves out.
TEST_F(JogCellTest, AJogStopsBeforeAContactAndLeavesOne)
{
    const ToolPose tool = ArmMGD(arm, arm.start);
    std::string reason;
    ASSERT_TRUE(world.DefineObject(
        kxtest::Object(ObjectKind::Box, "table", {tool.X, tool.Y, tool.Z - 250, 400, 400, 100}), &reason))
        << reason;
    ASSERT_FALSE(world.FirstCollision(arm.start));
    std::unique_ptr<CJogMotion> down = Begin(arm, arm.start, Axis(JogFrame::Base, 2, -1), &world);
    ASSERT_TRUE(down);
    const JointAngles stopped = Play(*down, arm.start, kFrame, 20);
    ASSERT_TRUE(down->Ended());
    EXPECT_EQ(down->Reason().reason, PlanFault::Collision);
    EXPECT_EQ(DescribeFailure(down->Reason()).rfind("collision entre ", 0), 0u) << DescribeFailure(down->Reason());
    EXPECT_NE(DescribeFailure(down->Reason()).find("table"), std::string::npos) << DescribeFailure(down->Reason());
    EXPECT_FALSE(world.FirstCollision(stopped)) << "stopped before the contact";
    EXPECT_LT(ArmMGD(arm, stopped).Z, tool.Z - 20) << "it went down to the table";

    // The table raised round the hand, its top just above the tool point:
    // up and out of it.
    const float top = ArmMGD(arm, stopped).Z + 20;
    ASSERT_TRUE(world.DefineObject(kxtest::Object(ObjectKind::Box, "table", {tool.X, tool.Y, top - 200, 400, 400, 400}),
                                   &reason));
    ASSERT_TRUE(world.FirstCollision(stopped));
    std::unique_ptr<CJogMotion> up = Begin(arm, stopped, Axis(JogFrame::Base, 2, 1), &world);
    ASSERT_TRUE(up);
    const JointAngles out = Play(*up, stopped, kFrame, 5);
    EXPECT_FALSE(up->Ended()) << DescribeFailure(up->Reason());
    EXPECT_FALSE(world.FirstCollision(out));
}

}  // namespace
