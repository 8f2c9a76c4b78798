#pragma once
// The grid model of the MGI: A12 from the target's azimuth,
// A23 and A34 by a coarse grid and a moving one-degree window that call the
// MGD's position, then the grid model's closed-form wrist. Its
// results are reproduced bit for bit, since data sets and files were made
// with it: its wrist centre is as close as the one-degree grid allows, and
// it never looks beyond the one configuration its search lands in.
#include "kinematics/Kinematics.h"

// What one search did, for tests and measurements.
struct MGISearchInfo {
    int coarseEvaluations = 0;  // always 66
    int fineEvaluations = 0;    // at most kMaxFineEvaluations
    bool bounded = false;       // the fine search stopped at the bound
    double bestDistance2 = 0;   // squared distance of the kept candidate
};

// Bound of the fine search. An arm whose wrist centre does not depend on A23
// and A34 (all lengths 0), or moves with only one of them, makes the window
// run away forever; ordinary arms need a few thousand evaluations at most.
constexpr int kMaxFineEvaluations = 20000;

// Never fails: a position out of reach gives the arm angles of the nearest
// candidate found, the wrist angles are always finite for a finite pose.
// Returns angles.
JointAngles* ComputeMGI(const ArmLengths& lengths, const ToolPose& pose, JointAngles* angles,
                        MGISearchInfo* info = nullptr);
