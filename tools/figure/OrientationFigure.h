#pragma once
// A figure of a pose's orientation, as SVG: the base frame, the axis the
// hand turns about (alpha its direction around the vertical, from -y toward
// +x; beta its tilt from the vertical) and the hand's frame turned by gamma
// about it, with the three angles marked. The hand's frame is the forward
// model's own rotation of the pose (PoseRotation), not a drawing of it.
#include "kinematics/RobotTypes.h"

#include <string>

std::string OrientationFigure(const ToolPose& orientation);
