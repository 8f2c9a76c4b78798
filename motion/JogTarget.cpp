// Where a jog goes (see JogTarget.h).
#include "motion/JogTarget.h"

#include "kinematics/KdlFrames.h"

#include <cmath>

namespace {

// The frame whose axes the jog follows, as a rotation in the base frame.
KDL::Rotation AxesOf(JogFrame frame, const KDL::Frame& tool, const ToolPose& user)
{
    switch (frame) {
    case JogFrame::Tool:
        return tool.M;
    case JogFrame::User:
        return FrameOfPose(user).M;
    default:
        return KDL::Rotation::Identity();
    }
}

}  // namespace

const char* JogAxisWord(int axis)
{
    static const char* const kWords[kJogAxes] = {"x", "y", "z", "rx", "ry", "rz"};
    return axis >= 0 && axis < kJogAxes ? kWords[axis] : "?";
}

KDL::Vector JogDirection(JogFrame frame, int axis, const KDL::Frame& tool, const ToolPose& user)
{
    const KDL::Rotation axes = AxesOf(frame, tool, user);
    const int column = axis % 3;
    return KDL::Vector(axes(0, column), axes(1, column), axes(2, column));
}

KDL::Frame JogToolFrame(const KDL::Frame& tool, JogFrame frame, int axis, double delta, const ToolPose& user)
{
    const KDL::Vector direction = JogDirection(frame, axis, tool, user);
    if (!IsJogTurn(axis))
        return KDL::Frame(tool.M, tool.p + direction * delta);
    // The axis is given in the base frame: the turn applies on the left,
    // and the tool point stays.
    return KDL::Frame(KDL::Rotation::Rot2(direction, delta * M_PI / 180) * tool.M, tool.p);
}

JointAngles JogJoints(const JointAngles& angles, int joint, double delta)
{
    JointAngles jogged = angles;
    float& angle = jogged.*kJointFields[joint];
    angle = static_cast<float>(angle + delta);
    return jogged;
}
