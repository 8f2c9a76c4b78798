#pragma once
// The MGD's chain (kinematics/ArmChain.h ModelChain) as KDL frames in
// pose units, at any set of the models' angles: where each joint turns and
// where each link is drawn. With bWristAsModel the drawing turns exactly
// like this chain, so a mesh placed against these frames lands where the
// simulator draws it.
#include "kinematics/ArmChain.h"

#include <kdl/frames.hpp>

struct ModelFrames {
    KDL::Frame joint[kLinkCount];  // link i's frame before its joint turns it (its fixed turn included)
    KDL::Frame link[kLinkCount];   // link i's frame once turned: where its mesh is drawn
};

// theta: A12 .. A67 of the models, degrees.
ModelFrames ComposeModel(const ArmLengths& lengths, const double theta[kJointCount]);
