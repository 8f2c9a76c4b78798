#pragma once
// The arm's seven links as the drawing chains them, shared by the drawing
// and by the code that checks it without a window.
#include "robot/RobotTypes.h"

enum { kLinkCount = 7 };

// Configuration keys of one link in robot.opt.
struct LinkKeys {
    const char* meshKey;
    const char* defaultMeshFile;
    const char* offsetKeys[3];
};

// Body, shoulder, upper arm, elbow, lower arm, wrist, hand: the chain order.
extern const LinkKeys kLinkKeys[kLinkCount];

// The rotation (degrees about x, y, z) each link gets before its mesh is
// drawn: the joint angle about z, after a fixed quarter turn about x for the
// upper arm, lower arm, wrist and hand. The body never turns.
void LinkRotations(const JointAngles& angles, float rotations[kLinkCount][3]);

// Column-major 4x4 matrix, as GL takes it.
struct Matrix4 {
    double m[16];
};

// The model transform of the chain up to and including link `last`'s own
// translation: Rx·Ry·Rz then T for every link from the body to `last`. The
// frame after the lower arm (last = 4) has the wrist centre at its origin.
Matrix4 ChainTransform(const JointAngles& angles, const float offsets[kLinkCount][3], int last);

// The model transform under which link `link`'s mesh is drawn: the chain up
// to and including that link's rotation, before its own translation.
Matrix4 LinkMeshTransform(const JointAngles& angles, const float offsets[kLinkCount][3], int link);
