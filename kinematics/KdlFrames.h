#pragma once
// Between the models' frames and KDL's: a pose (position and alpha, beta,
// gamma) and the MGD's double-precision wrist frame as KDL frames,
// and back. The planned moves and the tool point compose frames with KDL.
#include "kinematics/Kinematics.h"

#include <kdl/frames.hpp>

// The frame a pose stands for: its position, and PoseRotation.
KDL::Frame FrameOfPose(const ToolPose& pose);
// The pose of a frame, as the MGD gives one (RotationToPose).
ToolPose PoseOfFrame(const KDL::Frame& frame);
KDL::Frame KdlFrameOf(const WristFrame& frame);
WristFrame WristFrameOf(const KDL::Frame& frame);
