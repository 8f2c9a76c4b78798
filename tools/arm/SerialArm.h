#pragma once
// An arm as a robot description gives it: six revolute joints, each with its
// frame fixed in the moving link before it and its axis, and the flange
// fixed in the last link. Metres and radians, as URDF writes them. Both
// kalimbrax-arm commands build one (import from a URDF, make from data-sheet
// dimensions) and everything after that is shared.
#include <kdl/frames.hpp>

#include <string>

constexpr int kArmJoints = 6;

struct SerialJoint {
    std::string name;
    KDL::Frame origin;                // the joint's frame in the previous moving link's frame
    KDL::Vector axis{0, 0, 1};        // unit, in the joint's frame
    double lower = 0.0, upper = 0.0;  // radians
    double velocity = 0.0;            // radians per second; 0 when not given
};

struct SerialArm {
    SerialJoint joints[kArmJoints];
    KDL::Frame flange;  // in the sixth moving link's frame

    // Moving link `link` (0 the base, 1 to 6 the link joint `link` turns) at
    // the joint positions q (radians), in the base frame.
    KDL::Frame LinkFrame(int link, const double q[kArmJoints]) const;
    KDL::Frame FlangeFrame(const double q[kArmJoints]) const;
};
