#include "tools/arm/SerialArm.h"

KDL::Frame SerialArm::LinkFrame(int link, const double q[kArmJoints]) const
{
    KDL::Frame frame = KDL::Frame::Identity();
    for (int joint = 0; joint < link && joint < kArmJoints; ++joint)
        frame = frame * joints[joint].origin * KDL::Frame(KDL::Rotation::Rot2(joints[joint].axis, q[joint]));
    return frame;
}

KDL::Frame SerialArm::FlangeFrame(const double q[kArmJoints]) const
{
    return LinkFrame(kArmJoints, q) * flange;
}
