#pragma once
// The Cartesian moves of a robot controller: a straight line (MoveL), lines
// through several targets with or without rounded corners, and an arc
// through a via point (MoveC) of the tool frame, from where the arm stands,
// each planned and checked whole before the arm moves (PathSampler.h).
#include "motion/CartesianPath.h"
#include "motion/MoveSettings.h"
#include "motion/PlannedTrajectory.h"

#include <kdl/frames.hpp>

#include <vector>

// The straight line from the start angles' tool frame to the target tool
// frame. On success *plan holds the move at the override's pace; on
// refusal *failure says why and where, and *plan is left alone.
bool PlanLinearMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start,
                    const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure);

// The lines from the start angles' tool frame through the targets in turn.
// Without a blend (0) the arm stops at each target: one profile per
// segment, the segments played one after the other as one trajectory. With
// a blend radius the corners at every target but the last are rounded and
// one profile covers the whole (MakeBlendedPath). A refusal's fraction is
// of the whole way.
bool PlanLinesMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start,
                   const std::vector<KDL::Frame>& targets, double blend, double speedPercent, CPlannedTrajectory* plan,
                   PlanFailure* failure);

// The paths of those lines from the frame `from`: the rounded one, or one
// per segment.
bool MakeLinesPaths(const KDL::Frame& from, const std::vector<KDL::Frame>& targets, double blend,
                    const PathSpeeds& speeds, std::vector<CartesianPath>* paths, PlanFailure* failure);

// The arc from the start angles' tool frame through the via point (a
// position) to the target tool frame.
bool PlanArcMove(const MoveSetup& setup, const PathSpeeds& speeds, const JointAngles& start, const KDL::Vector& via,
                 const KDL::Frame& target, double speedPercent, CPlannedTrajectory* plan, PlanFailure* failure);
