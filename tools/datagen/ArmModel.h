#pragma once
// The arm of the default data set: its lengths, the link offsets written to
// robot.opt, the start pose written to glui.opt, the seven link meshes and
// the drawing chain that places them.
//
// Each link mesh is modelled in the frame the drawing chain gives it: the
// frame reached after the link's own rotation and before its own
// translation. The link therefore spans from its local origin toward its
// offset vector.
#include "formats/MeshFormat.h"
#include "kinematics/ArmChain.h"
#include "tools/datagen/Geometry.h"

#include <array>

namespace datagen {

// Lengths in scene units. h, a2, a3, e and d are the five lengths of the
// geometric models (which use them multiplied by 100); wrist and tool only
// shape the drawing.
struct ArmLengths {
    double h;      // shoulder axis above the base plane
    double a2;     // base axis to the upper arm's joint
    double a3;     // upper arm
    double e;      // elbow offset
    double d;      // elbow axis to the wrist centre, along the forearm
    double wrist;  // wrist centre to the flange
    double tool;   // flange to the gripper's fingertips
};

const ArmLengths& DefaultArmLengths();

// Offsets (x, y, z) of the seven links in chain order: body, shoulder, upper
// arm, elbow, lower arm, wrist, hand.
std::array<Vec3, kLinkCount> LinkOffsets(const ArmLengths& arm);

// Start angles A12 .. A67 in degrees (a natural pose, gripper down).
std::array<double, kJointCount> StartAngles();

// The frames of the drawing chain for a pose, in the arm's base frame:
// meshFrame[i] is where link i's mesh is drawn, endFrame[i] the frame after
// its translation (endFrame[4].origin is the drawn wrist centre).
struct ChainFrames {
    std::array<Frame, kLinkCount> meshFrame;
    std::array<Frame, kLinkCount> endFrame;
};
ChainFrames ComposeChain(const std::array<Vec3, kLinkCount>& offsets, const std::array<double, kJointCount>& angles);

// The link meshes, in chain order.
std::array<MeshData, kLinkCount> BuildArmMeshes(const ArmLengths& arm);

}  // namespace datagen
