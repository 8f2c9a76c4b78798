#include "arm/ArmKinematics.h"

#include "kinematics/KdlFrames.h"

#include <algorithm>

namespace {

bool Reversed(const ArmDescription& arm, int joint)
{
    return arm.sense[joint] < 0;
}

bool Numbered(const ArmDescription& arm, int joint)
{
    return arm.zero[joint] != 0.0f || Reversed(arm, joint);
}

double Sense(const ArmDescription& arm, int joint)
{
    return Reversed(arm, joint) ? -1.0 : 1.0;
}

}  // namespace

JointAngles ModelAngles(const ArmDescription& arm, const JointAngles& angles)
{
    JointAngles model = angles;
    for (int joint = 0; joint < kJointCount; ++joint)
        if (Numbered(arm, joint)) {
            float& a = model.*kJointFields[joint];
            a = static_cast<float>(arm.zero[joint] + Sense(arm, joint) * static_cast<double>(a));
        }
    return model;
}

JointAngles ArmAngles(const ArmDescription& arm, const JointAngles& modelAngles)
{
    JointAngles angles = modelAngles;
    for (int joint = 0; joint < kJointCount; ++joint)
        if (Numbered(arm, joint)) {
            float& a = angles.*kJointFields[joint];
            a = static_cast<float>(Sense(arm, joint) * (static_cast<double>(a) - arm.zero[joint]));
        }
    return angles;
}

JointLimits ModelLimits(const ArmDescription& arm)
{
    JointLimits limits = arm.limits;
    for (int joint = 0; joint < kJointCount; ++joint)
        if (Numbered(arm, joint)) {
            const float a = static_cast<float>(arm.zero[joint] + Sense(arm, joint) * arm.limits.low[joint]);
            const float b = static_cast<float>(arm.zero[joint] + Sense(arm, joint) * arm.limits.high[joint]);
            limits.low[joint] = std::min(a, b);
            limits.high[joint] = std::max(a, b);
        }
    return limits;
}

// The pose's gamma is the turn itself, alpha and beta only place its axis:
// a tool is turned when gamma is not 0.
bool HasTool(const ArmDescription& arm)
{
    return arm.toolOffset[0] != 0.0f || arm.toolOffset[1] != 0.0f || arm.toolOffset[2] != 0.0f ||
           arm.toolTurn[2] != 0.0f;
}

KDL::Frame ToolFrame(const ArmDescription& arm)
{
    if (!HasTool(arm))
        return KDL::Frame::Identity();
    const ToolPose tool{arm.toolOffset[0], arm.toolOffset[1], arm.toolOffset[2],
                        arm.toolTurn[0],   arm.toolTurn[1],   arm.toolTurn[2]};
    return FrameOfPose(tool);
}

KDL::Frame ArmMGDFrame(const ArmDescription& arm, const JointAngles& angles)
{
    return KdlFrameOf(ComputeMGDFrame(arm.Lengths(), ModelAngles(arm, angles))) * ToolFrame(arm);
}

ToolPose ArmMGD(const ArmDescription& arm, const JointAngles& angles)
{
    if (HasTool(arm))
        return PoseOfFrame(ArmMGDFrame(arm, angles));
    ToolPose pose;
    ComputeMGD(arm.Lengths(), ModelAngles(arm, angles), &pose);
    return pose;
}

ToolPose WristPose(const ArmDescription& arm, const ToolPose& target)
{
    if (!HasTool(arm))
        return target;
    return PoseOfFrame(FrameOfPose(target) * ToolFrame(arm).Inverse());
}

MGIResult ArmMGI(const ArmDescription& arm, const ToolPose& target, const JointAngles& reference)
{
    MGIResult result =
        SolveMGI(arm.Lengths(), arm.Model(), WristPose(arm, target), ModelAngles(arm, reference), ModelLimits(arm));
    result.angles = ArmAngles(arm, result.angles);
    return result;
}

MGISolutions ArmMGIAll(const ArmDescription& arm, const ToolPose& target)
{
    MGISolutions solutions;
    SolveMGIExact(arm.Lengths(), WristPose(arm, target), &solutions);
    for (int i = 0; i < solutions.count; ++i)
        solutions.configurations[i].angles = ArmAngles(arm, solutions.configurations[i].angles);
    return solutions;
}
