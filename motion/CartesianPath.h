#pragma once
// The Cartesian paths of the planned moves, in KDL's terms: the tool frame
// along a straight segment (Path_Line), along an arc through a via point
// (Path_Circle) or along straight segments through several targets whose
// corners are rounded (Path_RoundedComposite), the orientation turning
// about a single axis along each piece (RotationalInterpolation_
// SingleAxis), a trapezoidal profile along the way (Trajectory_Segment). The equivalent radius, linear speed over
// angular speed in radians per second, weighs a turn of the hand against a distance: a path on which the hand turns
// more than it travels goes at the angular speed.
#include "kinematics/KdlFrames.h"
#include "motion/MoveSettings.h"
#include "kinematics/RobotTypes.h"

#include <kdl/trajectory_segment.hpp>

#include <memory>
#include <vector>

struct CartesianPath {
    std::unique_ptr<KDL::Trajectory_Segment> trajectory;  // the tool frame against time, at full speed
    double sampleTime = 0;  // seconds between samples that lie at most 1 pose unit and 0.5 degree apart
};

// The straight path from one frame to the other. Refused (InvalidTarget)
// when a frame is not finite.
bool MakeLinePath(const KDL::Frame& from, const KDL::Frame& to, const PathSpeeds& speeds, CartesianPath* path,
                  PlanFailure* failure);

// The arc from one frame through a via point to the other frame's
// position, the orientation turning from one frame's to the other's.
// Refused when two of the three points coincide or the three lie on one
// line (no circle), or when KDL refuses the circle.
bool MakeArcPath(const KDL::Frame& from, const KDL::Vector& via, const KDL::Frame& to, const PathSpeeds& speeds,
                 CartesianPath* path, PlanFailure* failure);

// The segments from one frame to the next through `frames` (the first where
// the path starts), each corner rounded by an arc of `radius` (> 0) tangent
// to both its segments, the whole under one profile: the tool point never
// stops on the way, and its orientation turns along each straight piece and
// each arc from the frame there on the unrounded segments to the next.
// Refused (BlendTooLarge) when the radius is more than half of a segment, or
// when a segment's rounded corners would take all of it (a sharp corner's
// rounding starts further back than its radius; at exactly the whole
// segment no straight piece is left, which KDL's composite cannot build);
// refused (BlendReversal) where a segment turns straight back.
bool MakeBlendedPath(const std::vector<KDL::Frame>& frames, double radius, const PathSpeeds& speeds,
                     CartesianPath* path, PlanFailure* failure);
