#pragma once
// How far the arm's points move when its joints turn, bounded from each
// link's extent: what tells a planner how close its samples must be for a
// check at every sample to miss nothing thicker than the step.
#include "kinematics/ArmChain.h"

#include <vector>

// The samples of a path are close enough for the checks when no point of
// any link moves more than this between two of them (pose units): a plate
// 3 units thick cannot pass unseen.
constexpr double kMaxSampleMove = 2.0;

// For each joint, the farthest any point of the links it turns can lie from
// its axis (pose units), as a move per degree: a turn of d degrees of joint
// j moves no point more than perDegree[j] x d.
struct JointReach {
    double perDegree[kJointCount];
};

// From the links' offsets (scene units) and each link's farthest vertex
// from its own frame's origin (pose units): the links a joint turns lie at
// most the offsets between them, plus their own extent, from its axis.
JointReach ReachOf(const float offsets[kLinkCount][3], const double linkExtent[kLinkCount]);

// No point of the arm moves more than this (pose units) while the joints go
// from a to b in a straight line of joint space.
double MoveBound(const JointReach& reach, const JointAngles& a, const JointAngles& b);

// How many equal steps from a to b keep every point's move within
// `maxMove` (at least 1).
int StepsBetween(const JointReach& reach, const JointAngles& a, const JointAngles& b, double maxMove = kMaxSampleMove);

// The samples with, between each two, the joint sets StepsBetween asks for,
// evenly spaced: every sample of the path, and no point moving more than
// `maxMove` from one to the next.
std::vector<JointAngles> Densify(const JointReach& reach, const std::vector<JointAngles>& samples,
                                 double maxMove = kMaxSampleMove);
