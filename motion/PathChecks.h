#pragma once
// What every point of a Cartesian motion must pass, whoever follows it: the
// planner's sampling of a whole path before the arm moves (PathSampler.h)
// and the continuous jog, step by step as it goes (JogMotion.h). In the
// models' angles.
#include "kinematics/JointLimits.h"
#include "kinematics/MGIExact.h"
#include "kinematics/Singularity.h"
#include "motion/PlanFailure.h"

// No joint turns more than this between two points: a larger step is split
// in halves until it is not. Along a path that keeps clear of the
// singularities' thresholds the joints turn smoothly, so halving shrinks
// the step; a step that is still larger after kMaxHalvings halvings (a
// thousandth of a sample) is a jump from one configuration to another.
constexpr double kMaxJointStep = 1.0;  // degrees
constexpr int kMaxHalvings = 10;

// The angles turned by whole turns to lie within half a turn of the
// previous ones: what the joints reach by turning continuously.
JointAngles Unwrapped(const JointAngles& angles, const JointAngles& previous);

// The largest turn of a joint from one set to the other, degrees, and that
// joint.
double LargestTurn(const JointAngles& from, const JointAngles& to, int* joint);

// The branch's configuration (each angle within [-180, 180]) that puts the
// wrist on `wrist`; false with the fault where it does not: not a number
// (InvalidTarget), reached only by the other side of the base axis
// (ConfigurationChange), or by none (OutOfReach).
bool SolveOnBranch(const ArmLengths& lengths, const WristFrame& wrist, const ArmBranch& branch, JointAngles* angles,
                   PlanFault* fault);

// The thresholds of the singularities, then the limits; false with the
// first fault's reason, joint, value and limits (not placed).
bool CheckPathAngles(const CSingularityMeter& meter, const JointLimits& limits, const JointAngles& angles,
                     PlanFailure* failure);
