#pragma once
// The Cartesian moves of a robot controller: a straight line (MoveL) and an
// arc through a via point (MoveC) of the tool frame, from where the arm
// stands, each planned and checked whole before the arm moves
// (PathSampler.h).
#include "motion/MoveSettings.h"
#include "motion/PlannedTrajectory.h"

#include <kdl/frames.hpp>

// The straight line from the start angles' tool frame to the target tool
// frame. On success *plan holds the move at the override's pace; on
// refusal *failure says why and where, and *plan is left alone.
bool PlanLinearMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start,
                    const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure);

// The arc from the start angles' tool frame through the via point (a
// position) to the target tool frame.
bool PlanArcMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start, const KDL::Vector& via,
                 const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure);
