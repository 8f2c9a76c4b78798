#pragma once
// Angles, poses and frames as the kalimbrax-kin tool and the command port
// write them: numbers that read back to the same floats.
#include "kinematics/RobotTypes.h"

#include <kdl/frames.hpp>

#include <string>

// Six values with "%.9g" (enough to read the same float back), separated by
// single spaces: a line of the tool's output and of the command port's
// replies, without its end.
std::string FormatKinValues(const float values[6]);
std::string FormatKinValues(const JointAngles& angles);
std::string FormatKinValues(const ToolPose& pose);
// A frame as twelve numbers, the same way: its rotation matrix by rows,
// then its position. Two poses are the same when these are, whichever
// alpha, beta and gamma name the rotation.
std::string FormatMatrix(const KDL::Frame& frame);
