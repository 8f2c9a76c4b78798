#pragma once
// A synchronised joint move (an industrial controller's MoveJ): every joint
// starts and arrives together along the straight line in joint space, one
// trapezoidal profile s(t) from 0 to 1 shared by all. Its speed and
// acceleration bounds are the tightest of each joint's own bound over its
// share of the way, so the joint that needs longest sets the duration and
// no joint exceeds its bounds.
#include "motion/MoveSettings.h"
#include "motion/PlannedTrajectory.h"

// The move from the start angles to the target angles, taken as they are
// (a target of 270 turns A12 three quarters on, not a quarter back). The
// target must lie within the limits; the straight line from a start within
// them then does too. A move past the bounds of PlanBounds.h is refused.
// On success *plan holds the move at the override's pace; on refusal
// *failure says why and *plan is left alone.
bool PlanJointMove(const MoveSetup& setup, const JointAngles& start, const JointAngles& target, double speedPercent,
                   CPlannedTrajectory* plan, PlanFailure* failure);
