#include "tools/arm/ModelFrames.h"

ModelFrames ComposeModel(const ArmLengths& lengths, const double theta[kJointCount])
{
    ModelLink chain[kLinkCount];
    ModelChain(lengths, chain);
    ModelFrames frames;
    KDL::Frame current = KDL::Frame::Identity();
    for (int link = 0; link < kLinkCount; ++link) {
        current = current * KDL::Frame(KDL::Rotation::RotX(chain[link].turnX * M_PI / 180.0));
        frames.joint[link] = current;
        if (link > 0)
            current = current * KDL::Frame(KDL::Rotation::RotZ(theta[link - 1] * M_PI / 180.0));
        frames.link[link] = current;
        current =
            current * KDL::Frame(KDL::Vector(chain[link].offset[0], chain[link].offset[1], chain[link].offset[2]));
    }
    return frames;
}
