#include "kinematics/KdlFrames.h"

KDL::Frame FrameOfPose(const ToolPose& pose)
{
    WristFrame frame{{pose.X, pose.Y, pose.Z}, {}};
    PoseRotation(pose, frame.r);
    return KdlFrameOf(frame);
}

KDL::Frame KdlFrameOf(const WristFrame& f)
{
    return KDL::Frame(KDL::Rotation(f.r[0][0], f.r[0][1], f.r[0][2], f.r[1][0], f.r[1][1], f.r[1][2], f.r[2][0],
                                    f.r[2][1], f.r[2][2]),
                      KDL::Vector(f.p[0], f.p[1], f.p[2]));
}

WristFrame WristFrameOf(const KDL::Frame& f)
{
    WristFrame frame{{f.p.x(), f.p.y(), f.p.z()}, {}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            frame.r[i][j] = f.M(i, j);
    return frame;
}

ToolPose PoseOfFrame(const KDL::Frame& f)
{
    const WristFrame w = WristFrameOf(f);
    ToolPose pose;
    pose.X = static_cast<float>(w.p[0]);
    pose.Y = static_cast<float>(w.p[1]);
    pose.Z = static_cast<float>(w.p[2]);
    RotationToPose(w.r, &pose);
    return pose;
}
