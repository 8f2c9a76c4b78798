#pragma once
// A Cartesian path followed and checked before the arm moves: sampled
// finely, every sample solved with the exact model on the branch the arm
// starts on (MGIExact.h's ArmBranch), each joint kept continuous from one
// sample to the next, and the whole path refused at its first sample that
//  - no configuration reaches (OutOfReach), or only another one does, or
//    where the arm's own configuration jumps (ConfigurationChange);
//  - comes within a threshold of a singularity (Singularity.h);
//  - puts a joint, as the continuous angle it turns to, past its limits.
// The start is checked like every sample: a path cannot begin at a
// singularity, where the branch to follow is not defined (two branches
// leave it), nor with a joint outside its limits.
// A path that leaves the reach comes first near the stretched (or folded)
// elbow; that fault is named for where the reach is lost, if the path
// leaves the reach before it comes clear of the elbow's threshold.
// Where a joint would turn faster than its maximum speed, the whole path is
// slowed by one factor.
// A path past the bounds of PlanBounds.h is not sampled: it is refused
// where it leaves the reach if it does, else for its bound.
#include "motion/CartesianPath.h"
#include "motion/PlannedTrajectory.h"

#include <vector>

// The samples of the path from the start angles (whose frame, times the
// tool, is where the path must begin), at the pace the joints' speeds
// allow; on refusal, *failure says why and where.
bool SamplePath(const MoveSetup& setup, const JointAngles& start, CartesianPath& path,
                std::vector<PlannedSample>* samples, PlanFailure* failure);
