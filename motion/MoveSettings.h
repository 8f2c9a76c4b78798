#pragma once
// The plain values a planned move is made of: the arm, its joints' limits,
// speeds and accelerations, the tool it carries, the speeds along a
// Cartesian path and the speed override. Nothing here reads an option
// file: the caller gathers them.
#include "kinematics/JointLimits.h"
#include "kinematics/Kinematics.h"
#include "motion/PlanFailure.h"

#include <kdl/frames.hpp>

struct MoveSetup {
    ArmLengths lengths;
    JointLimits limits;  // degrees, the joint angles themselves (no whole-turn shift)
    double maxSpeed[6];  // degrees per second, > 0
    double maxAccel[6];  // degrees per second squared; 0 or +infinity: no limit
    // The tool frame in the wrist frame (pose units): the poses of lines and
    // arcs are the tool's. The identity makes it the wrist centre with the
    // hand's orientation, what every pose means without a tool.
    KDL::Frame tool = KDL::Frame::Identity();
};

struct PathSpeeds {
    double linear;       // pose units per second, > 0
    double linearAccel;  // pose units per second squared; 0 or +infinity: no limit
    double angular;      // degrees per second, > 0
};

// The speed override of a teach pendant, in percent: a move planned at 100
// and played 100 / P times slower (speeds x P, accelerations x P^2).
constexpr double kMinSpeedPercent = 1.0;
constexpr double kMaxSpeedPercent = 100.0;

// The joints' speeds and accelerations and the override within their
// ranges; otherwise false with an InvalidSettings refusal.
bool CheckMoveSetup(const MoveSetup& setup, double speedPercent, PlanFailure* failure);
// The same for the speeds along a path.
bool CheckPathSpeeds(const PathSpeeds& speeds, PlanFailure* failure);
