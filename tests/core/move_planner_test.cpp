// Planned moves of an arm as its data set numbers it: the planners work in
// the models' angles on the wrist, the moves come back in the data set's
// angles and poses of its tool point, refusals in its own numbers.
#include "arm/ArmKinematics.h"
#include "motion/MovePlanner.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <kdl/frames.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The shipped arm, numbered as a maker might number it: A23 and A34 with a
// zero of a quarter turn and A23, A45 turning the other way, limits that
// are not symmetric, and a tool 150 units out of the hand, turned.
ArmDescription NumberedArm()
{
    ArmDescription arm = ShippedArm();
    const float zero[6] = {0, 90, -90, 0, 0, 0};
    const int sense[6] = {1, -1, 1, -1, 1, 1};
    const float low[6] = {-170, -90, -170, -180, -120, -300};
    const float high[6] = {170, 150, 170, 180, 120, 300};
    for (int j = 0; j < kJointCount; ++j) {
        arm.zero[j] = zero[j];
        arm.sense[j] = sense[j];
        arm.limits.low[j] = low[j];
        arm.limits.high[j] = high[j];
    }
    arm.toolOffset[2] = 150;
    arm.toolTurn[1] = 90;
    arm.toolTurn[2] = 30;
    return arm;
}

// Where the moves start, in the numbered arm's angles: the wrist centre in
// front of the arm, the elbow bent, A56 well clear of 0.
constexpr JointAngles kStart{-30, 10, 20, 15, 60, 10};

double Distance(const ToolPose& a, const ToolPose& b)
{
    return std::hypot(a.X - b.X, a.Y - b.Y, a.Z - b.Z);
}

double DistanceToSegment(const ToolPose& p, const ToolPose& a, const ToolPose& b)
{
    const KDL::Vector ab(b.X - a.X, b.Y - a.Y, b.Z - a.Z), ap(p.X - a.X, p.Y - a.Y, p.Z - a.Z);
    const double t = std::clamp(KDL::dot(ap, ab) / KDL::dot(ab, ab), 0.0, 1.0);
    return (ap - ab * t).Norm();
}

JointAngles EndOf(const MovePlan& plan)
{
    return plan.trajectory->Samples().back().angles;
}

TEST(MovePlanner, JointMoveEndsOnTheTargetInTheDataSetsAngles)
{
    const ArmDescription arm = NumberedArm();
    MoveRequest request;
    request.joints = {40, -20, 50, -30, 90, -100};
    const MovePlan plan = PlanMove(arm, kStart, request, 100);
    ASSERT_TRUE(plan.ok) << DescribeFailure(plan.failure);
    const JointAngles end = EndOf(plan);
    for (int j = 0; j < kJointCount; ++j)
        EXPECT_NEAR(end.*kJointFields[j], request.joints.*kJointFields[j], 1e-3) << j;
    const JointAngles first = plan.trajectory->Samples().front().angles;
    for (int j = 0; j < kJointCount; ++j)
        EXPECT_NEAR(first.*kJointFields[j], kStart.*kJointFields[j], 1e-3) << j;
    EXPECT_LT(Distance(plan.path.back(), ArmMGD(arm, request.joints)), 1e-3) << "the way ends at the tool point";
    EXPECT_EQ(plan.refusedFrom, plan.path.size());
    EXPECT_GT(plan.duration, 0);
}

TEST(MovePlanner, LineKeepsTheToolPointOnTheSegmentAndItsOrientationFixed)
{
    const ArmDescription arm = NumberedArm();
    const ToolPose from = ArmMGD(arm, kStart);
    MoveRequest request;
    request.kind = MoveKind::Linear;
    request.pose = from;
    request.pose.X += 120;
    request.pose.Y -= 80;
    request.pose.Z -= 60;
    const MovePlan plan = PlanMove(arm, kStart, request, 50);
    ASSERT_TRUE(plan.ok) << DescribeFailure(plan.failure);
    const KDL::Rotation held = ArmMGDFrame(arm, kStart).M;
    for (const PlannedSample& s : plan.trajectory->Samples()) {
        const KDL::Frame f = ArmMGDFrame(arm, s.angles);
        EXPECT_LT(DistanceToSegment(ArmMGD(arm, s.angles), from, request.pose), 0.5) << s.time;
        KDL::Vector axis;
        const double turn = (held.Inverse() * f.M).GetRotAngle(axis) * 180 / M_PI;
        EXPECT_LT(turn, 0.1) << s.time;
    }
    EXPECT_LT(Distance(ArmMGD(arm, EndOf(plan)), request.pose), 0.5);

    // At half the speed, the move takes longer than at full speed.
    EXPECT_GT(plan.duration, PlanMove(arm, kStart, request, 100).duration * 1.5);
}

struct Refusal {
    const char* name;
    MoveRequest request;
    const char* words;  // what the refusal's words hold
};

TEST(MovePlanner, RefusalsSpeakInTheDataSetsNumbersAndDrawTheWay)
{
    const ArmDescription arm = NumberedArm();
    const ToolPose from = ArmMGD(arm, kStart);
    ToolPose far = from;
    far.X += 5000;
    MoveRequest pastLimit;
    pastLimit.joints = kStart;
    pastLimit.joints.A23 = 160;
    MoveRequest outOfReach;
    outOfReach.kind = MoveKind::Linear;
    outOfReach.pose = far;
    const Refusal cases[] = {
        {"joint target past its limits", pastLimit, "A23 = 160 hors des limites [-90 ; 150]"},
        {"line out of reach", outOfReach, "hors d'atteinte"},
    };
    for (const Refusal& c : cases) {
        const MovePlan plan = PlanMove(arm, kStart, c.request, 100);
        ASSERT_FALSE(plan.ok) << c.name;
        EXPECT_EQ(plan.trajectory, nullptr) << c.name;
        EXPECT_NE(DescribeFailure(plan.failure).find(c.words), std::string::npos)
            << c.name << ": " << DescribeFailure(plan.failure);
        ASSERT_FALSE(plan.path.empty()) << c.name;
        EXPECT_LT(Distance(plan.path.front(), from), 0.5) << c.name << ": the way starts at the tool point";
        EXPECT_LT(plan.refusedFrom, plan.path.size()) << c.name;
    }
}

// An imported arm is refused in its own words: its joints as its panel
// names them, a limit written the same by a joint move and a line, and the
// place the tool point the user speaks of, not the wrist centre.
TEST(MovePlanner, RefusalsSpeakTheArmsOwnWords)
{
    ArmDescription arm = NumberedArm();
    for (int j = 0; j < kJointCount; ++j)
        arm.jointName[j] = "joint_" + std::to_string(j + 1);
    arm.limits.low[0] = -35.9967f;  // as a robot description's radians give them
    const ToolPose from = ArmMGD(arm, kStart);

    MoveRequest pastLimit;
    pastLimit.joints = kStart;
    pastLimit.joints.A12 = -40;
    MoveRequest sideways;
    sideways.kind = MoveKind::Linear;
    sideways.pose = from;
    sideways.pose.Y -= 600;
    MoveRequest outOfReach;
    outOfReach.kind = MoveKind::Linear;
    outOfReach.pose = from;
    outOfReach.pose.X += 5000;
    const std::string limits = " hors des limites [-35,9967 ; 170]";
    const Refusal cases[] = {
        {"a joint move past a limit", pastLimit, "joint_1 = -40"},
        {"a line past a limit", sideways, "joint_1 = -"},
        {"a line out of reach", outOfReach, "hors d'atteinte à "},
    };
    for (const Refusal& c : cases) {
        const MovePlan plan = PlanMove(arm, kStart, c.request, 100);
        ASSERT_FALSE(plan.ok) << c.name;
        const std::string words = DescribeFailure(plan.failure);
        EXPECT_EQ(words.rfind(c.words, 0), 0u) << c.name << ": " << words;
        if (c.request.kind == MoveKind::Joint || plan.failure.reason == PlanFault::JointLimit) {
            EXPECT_NE(words.find(limits), std::string::npos) << c.name << ": " << words;
        }
        if (c.request.kind == MoveKind::Linear) {
            const ToolPose place{static_cast<float>(plan.failure.place[0]),
                                 static_cast<float>(plan.failure.place[1]),
                                 static_cast<float>(plan.failure.place[2]),
                                 0,
                                 0,
                                 0};
            EXPECT_LT(DistanceToSegment(place, from, c.request.pose), 0.5) << c.name << ": on the tool's line";
        }
    }
}

// Targets and option values that once froze the planner, exhausted its
// memory or overflowed its sample count: each is refused with its reason
// before the samples are made, and the arm is left where it stands.
TEST(MovePlanner, HostileTargetsAndSettingsAreRefusedBeforeSampling)
{
    const ArmDescription shipped = NumberedArm();
    const ToolPose from = ArmMGD(shipped, kStart);
    const auto line = [&](float dx) {
        MoveRequest r;
        r.kind = MoveKind::Linear;
        r.pose = from;
        r.pose.X += dx;
        return r;
    };
    const auto far = [](float x) {
        MoveRequest r;
        r.kind = MoveKind::Linear;
        r.pose = {x, 0, 0, 0, 0, 0};
        return r;
    };
    MoveRequest farArc;
    farArc.kind = MoveKind::Arc;
    farArc.via[2] = 1e9f;
    farArc.pose = {1e9f, 0, 0, 0, 0, 0};
    MoveRequest joints;
    joints.joints = kStart;
    joints.joints.A12 += 100;
    joints.joints.A23 += 50;
    struct Case {
        const char* what;
        void (*change)(ArmDescription&);
        MoveRequest request;
        const char* words;  // how the refusal begins
    };
    const auto none = [](ArmDescription&) {};
    const Case cases[] = {
        {"movel 1e9", none, far(1e9f), "hors d'atteinte à 0 % du chemin ("},
        {"movel 1e30", none, far(1e30f), "hors d'atteinte à 0 % du chemin ("},
        {"movec 0 0 1e9 1e9 0 0 0 0 0", none, farArc, "hors d'atteinte à 0 % du chemin ("},
        {"fLinearAccel = 1e-6", [](ArmDescription& a) { a.linearAccel = 1e-6f; }, line(100),
         "mouvement trop long : 20000 s à pleine vitesse, 3600 s au plus"},
        {"fLinearAccel = 1e-10", [](ArmDescription& a) { a.linearAccel = 1e-10f; }, line(100),
         "mouvement trop long : "},
        {"every fAngleNNMaxAccel = 1e-8",
         [](ArmDescription& a) { std::fill(a.maxAccel, a.maxAccel + kJointCount, 1e-8f); }, joints,
         "mouvement trop long : "},
        {"fAngle12MaxAccel = 1e-12", [](ArmDescription& a) { a.maxAccel[0] = 1e-12f; }, joints,
         "mouvement trop long : "},
        {"fAngularSpeed = 1000000", [](ArmDescription& a) { a.angularSpeed = 1e6f; }, line(100),
         "chemin trop long à vérifier : plus de 100000 échantillons"},
        {"fLinearSpeed = 0.001", [](ArmDescription& a) { a.linearSpeed = 0.001f; }, line(100),
         "mouvement trop long : "},
        {"fLinearSpeed = 1e38", [](ArmDescription& a) { a.linearSpeed = 1e38f; }, line(100),
         "chemin trop long à vérifier : plus de 100000 échantillons"},
        {"fToolX = 1e30", [](ArmDescription& a) { a.toolOffset[0] = 1e30f; }, far(100), "hors d'atteinte à 0 % "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ArmDescription arm = shipped;
        c.change(arm);
        const MovePlan plan = PlanMove(arm, kStart, c.request, 100);
        const std::string words = DescribeFailure(plan.failure);
        EXPECT_FALSE(plan.ok) << "planned: " << plan.duration << " s";
        EXPECT_EQ(plan.trajectory, nullptr);
        EXPECT_EQ(words.rfind(c.words, 0), 0u) << words;
    }
}

}  // namespace
