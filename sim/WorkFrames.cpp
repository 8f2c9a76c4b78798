#include "sim/WorkFrames.h"

#include "arm/ArmKinematics.h"
#include "kinematics/KdlFrames.h"

#include <algorithm>

const NamedFrame* CWorkFrames::Find(const std::string& name) const
{
    if (name.empty())
        return nullptr;
    const auto found =
        std::find_if(m_Frames.begin(), m_Frames.end(), [&](const NamedFrame& f) { return f.name == name; });
    return found == m_Frames.end() ? nullptr : &*found;
}

void CWorkFrames::Define(const std::string& name, const ToolPose& pose)
{
    for (NamedFrame& frame : m_Frames)
        if (frame.name == name) {
            frame.pose = pose;
            return;
        }
    m_Frames.push_back({name, pose});
}

bool CWorkFrames::Use(const std::string& name)
{
    if (name == kBaseFrameName) {
        m_InUse.clear();
        return true;
    }
    if (!Find(name))
        return false;
    m_InUse = name;
    return true;
}

bool CWorkFrames::Remove(const std::string& name)
{
    const auto found =
        std::find_if(m_Frames.begin(), m_Frames.end(), [&](const NamedFrame& f) { return f.name == name; });
    if (found == m_Frames.end())
        return false;
    m_Frames.erase(found);
    if (m_InUse == name)
        m_InUse.clear();
    return true;
}

KDL::Frame CWorkFrames::InUseFrame() const
{
    const NamedFrame* frame = InUse();
    return frame ? FrameOfPose(frame->pose) : KDL::Frame::Identity();
}

ToolPose CWorkFrames::FromBase(const ToolPose& pose) const
{
    if (!InUse())
        return pose;
    return PoseOfFrame(InUseFrame().Inverse() * FrameOfPose(pose));
}

ToolPose CWorkFrames::ToBase(const ToolPose& pose) const
{
    if (!InUse())
        return pose;
    return PoseOfFrame(InUseFrame() * FrameOfPose(pose));
}

MoveRequest CWorkFrames::ToBase(MoveRequest request) const
{
    if (!InUse())
        return request;
    request.pose = ToBase(request.pose);
    for (ToolPose& target : request.through)
        target = ToBase(target);
    const KDL::Vector via = InUseFrame() * KDL::Vector(request.via[0], request.via[1], request.via[2]);
    for (int i = 0; i < 3; ++i)
        request.via[i] = static_cast<float>(via[i]);
    return request;
}

KDL::Frame ArmMGDFrameIn(const CWorkFrames& frames, const ArmDescription& arm, const JointAngles& angles)
{
    const KDL::Frame base = ArmMGDFrame(arm, angles);
    return frames.InUse() ? frames.InUseFrame().Inverse() * base : base;
}

ToolPose ArmMGDIn(const CWorkFrames& frames, const ArmDescription& arm, const JointAngles& angles)
{
    if (!frames.InUse())
        return ArmMGD(arm, angles);
    return PoseOfFrame(ArmMGDFrameIn(frames, arm, angles));
}
