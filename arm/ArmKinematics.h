#pragma once
// The arm's geometry as a data set numbers it: its own joint angles (the
// models turn each joint by zero + sense x that angle) and poses of its tool
// point (the tool frame, fixed in the hand, or the wrist centre without a
// tool). Every caller that shows or takes angles and poses (the panel, the
// commands, kalimbrax-kin, the planned moves) goes through here; an arm with
// no zero, sense or tool gives the models' own numbers, bit for bit.
#include "arm/ArmDescription.h"

#include <kdl/frames.hpp>

// The models' angles of the data set's angles, and back.
JointAngles ModelAngles(const ArmDescription& arm, const JointAngles& angles);
JointAngles ArmAngles(const ArmDescription& arm, const JointAngles& modelAngles);
// The limits of the models' angles.
JointLimits ModelLimits(const ArmDescription& arm);

// The tool frame in the hand's frame (pose units), the identity without a
// tool.
KDL::Frame ToolFrame(const ArmDescription& arm);
bool HasTool(const ArmDescription& arm);

// The tool frame of a set of the data set's angles, in the base frame.
KDL::Frame ArmMGDFrame(const ArmDescription& arm, const JointAngles& angles);
// The pose of the tool point: its MGD.
ToolPose ArmMGD(const ArmDescription& arm, const JointAngles& angles);

// The MGI on a pose of the tool point, with the arm's model and
// limits; the reference and the result in the data set's angles (see
// SolveMGI).
MGIResult ArmMGI(const ArmDescription& arm, const ToolPose& target, const JointAngles& reference);
// Every exact configuration of a pose of the tool point, in the data set's
// angles, and the wrist-centre distance left when it is out of reach.
MGISolutions ArmMGIAll(const ArmDescription& arm, const ToolPose& target);

// The wrist pose whose tool frame is this pose: what the models solve.
ToolPose WristPose(const ArmDescription& arm, const ToolPose& target);
