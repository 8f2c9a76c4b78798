#pragma once
// A link drawn as a plain shape where its description's mesh cannot be had:
// a cylinder from the joint that turns it to the next joint (the flange for
// the hand), in the frame the simulator draws the link in.
#include "formats/MeshFormat.h"
#include "kinematics/ArmChain.h"
#include "tools/arm/SerialArm.h"

#include <kdl/frames.hpp>

// bake[link]: the drawn link's frame in the arm's link frame (metres).
// The mesh is in scene units.
MeshData PlainLinkMesh(const SerialArm& arm, const KDL::Frame bake[kLinkCount], int link);
