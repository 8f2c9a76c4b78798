#pragma once
// Builders shared by the planner's tests: the shipped arm with its joints'
// speeds, a line and an arc it can follow, and what the tests measure on a
// planned trajectory (the tool frame at a time, the fastest joint).
#include "kinematics_fixture.h"
#include "motion/CartesianPath.h"
#include "kinematics/MGI.h"
#include "motion/PlannedTrajectory.h"

#include <algorithm>
#include <cmath>

namespace kxtest {

constexpr JointLimits kHalfTurnLimits = {{-180, -180, -180, -180, -180, -180}, {180, 180, 180, 180, 180, 180}};

// The shipped arm, the shipped joints' speeds (robot.opt), limits of half a
// turn either way, no acceleration limits, no tool.
inline MoveSetup ShippedSetup()
{
    return MoveSetup{DefaultArm(), kHalfTurnLimits, {60, 50, 60, 90, 90, 120}, {0, 0, 0, 0, 0, 0}};
}

constexpr PathSpeeds kPathSpeeds{250, 1000, 90};

// Where the lines and arcs start: the wrist centre in front of the arm and
// to its right, A56 well clear of 0, the elbow bent the way that keeps A34
// within [-97, 83] (bent the other way it folds toward 263 and meets the
// half-turn limit).
constexpr JointAngles kStart{-40, 60, 20, 0, 60, 0};

inline KDL::Frame ToolFrameAt(const MoveSetup& setup, const JointAngles& angles)
{
    return KdlFrameOf(ComputeMGDFrame(setup.lengths, angles)) * setup.tool;
}

// The start's tool frame moved by `offset` and turned by `turn` about the
// base's vertical.
inline KDL::Frame Moved(const KDL::Frame& from, const KDL::Vector& offset, double turnDegrees = 0)
{
    return KDL::Frame(KDL::Rotation::RotZ(turnDegrees * M_PI / 180) * from.M, from.p + offset);
}

// The configuration reaching forward with the wrist not flipped that puts
// the wrist frame on the pose.
inline JointAngles AnglesAt(const ArmLengths& arm, const ToolPose& pose)
{
    return SolveMGINearGrid(arm, pose, kHalfTurnLimits).angles;
}

// The trajectory at time t, from a copy (Sample may keep state).
inline JointAngles AnglesAtTime(const CPlannedTrajectory& plan, double t)
{
    CPlannedTrajectory copy = plan;
    JointAngles angles = plan.Samples().front().angles;
    copy.Sample(t, angles);
    return angles;
}

// The largest ratio of a joint's speed to its maximum over the trajectory
// played in steps of dt, by finite differences.
inline double FastestJointRatio(const CPlannedTrajectory& plan, const double maxSpeed[6], double dt)
{
    CPlannedTrajectory copy = plan;
    JointAngles previous = plan.Samples().front().angles, angles = previous;
    double worst = 0;
    for (double t = dt; t < plan.Duration() + dt; t += dt) {
        copy.Sample(std::min(t, plan.Duration()), angles);
        for (int joint = 0; joint < 6; ++joint) {
            const double turn = std::fabs(double(angles.*kJointFields[joint]) - previous.*kJointFields[joint]);
            worst = std::max(worst, turn / dt / maxSpeed[joint]);
        }
        previous = angles;
    }
    return worst;
}

// Degrees between two rotations.
inline double TurnBetween(const KDL::Rotation& a, const KDL::Rotation& b)
{
    KDL::Vector axis;
    return (a.Inverse() * b).GetRotAngle(axis) * 180 / M_PI;
}

}  // namespace kxtest
