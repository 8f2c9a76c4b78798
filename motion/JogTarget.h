#pragma once
// Where a jog of the teach pendant goes: a joint turned by some degrees, or
// the tool frame moved along an axis or turned about it. The axis is the
// base frame's, the tool frame's as it stands before the jog, or a user
// frame's (a pose in the base frame); a turn is about that axis through the
// tool point, which stays where it is. Pure: no arm, no limits, no checks
// (the planner checks the move there).
#include "kinematics/RobotTypes.h"

#include <kdl/frames.hpp>

enum class JogFrame { Joints, Base, Tool, User };

// Axes 0 to 5: x, y, z (pose units), then rx, ry, rz (degrees); in
// Joints, joint 0 (A12) to 5 (A67), degrees.
constexpr int kJogAxes = 6;

// The axis's word in the commands: "x" ... "rz".
const char* JogAxisWord(int axis);
// A turn about the axis rather than a move along it.
inline bool IsJogTurn(int axis)
{
    return axis >= 3;
}

// The unit direction of a Cartesian axis (x, y, z or the axis of rx, ry,
// rz) in the base frame: the base's own, the tool frame's columns, or the
// user frame's.
KDL::Vector JogDirection(JogFrame frame, int axis, const KDL::Frame& tool, const ToolPose& user);

// The tool frame (in the base frame) after a Cartesian jog of `delta`: pose
// units along the axis, or degrees about it through the tool point.
KDL::Frame JogToolFrame(const KDL::Frame& tool, JogFrame frame, int axis, double delta, const ToolPose& user = {});

// The angles with joint `joint` (0 to 5) turned by `delta` degrees.
JointAngles JogJoints(const JointAngles& angles, int joint, double delta);
