#pragma once
// A complete data directory for an arm of the family: the template's ground,
// sky, window and panel labels, and the arm's own robot.opt, glui.opt and
// seven meshes, and in robot.opt the pairs of links that touch at every
// pose (strAlwaysTouching), found on the written files themselves. Written
// into a temporary folder beside the target, read back with the simulator's
// own reader, checked against the arm's chain, and only then renamed into
// place: a failure leaves nothing behind.
#include "formats/MeshFormat.h"
#include "kinematics/ArmChain.h"
#include "tools/arm/FamilyFit.h"

#include <string>

struct ArmDataSet {
    std::string source;  // what the arm was made from, for the files' headers
    SerialArm chain;     // the arm itself: names, limits, speeds, and what the check compares with
    ArmFit fit;
    KDL::Frame bake[kLinkCount];     // each drawn link's frame in the arm's link frame, metres
    MeshData mesh[kLinkCount];       // in the drawn links' frames, scene units
    std::string colour[kLinkCount];  // "#rrggbb", or empty for the arm's texture
};

// The drawn links' frames in the arm's link frames, from the arm at its zero.
void BakeFrames(const SerialArm& chain, const ArmFit& fit, KDL::Frame bake[kLinkCount]);

// The source tree's default/, where the template's files come from when no
// other is given.
std::string DefaultTemplateDirectory();

// Writes `directory`, which must not exist yet. False with one French record.
bool WriteArmDataSet(const ArmDataSet& arm, const std::string& directory, const std::string& templateDirectory);
