#pragma once
// The seven link meshes of an imported arm, through kalimbrax-mesh's import:
// every visual of a body read, placed in the frame the simulator draws that
// link in, scaled from metres to scene units, gathered into one mesh with
// smooth normals, and simplified when over the format's limit.
#include "formats/MeshFormat.h"
#include "kinematics/ArmChain.h"
#include "tools/arm/UrdfArm.h"

// bake[link]: the drawn link's frame in the arm's link frame (metres).
// colours[link] receives "#rrggbb" from the first visual of the body whose
// material has a colour, else stays empty. A mesh file that is missing or
// cannot be read leaves its link a plain cylinder (PlainLink.h), with a
// record naming the link and the file; `strict` refuses it instead. False
// with one French record naming the link and the file.
bool BuildLinkMeshes(const SerialArm& arm, const std::vector<LinkVisual>& visuals, const KDL::Frame bake[kLinkCount],
                     bool strict, MeshData meshes[kLinkCount], std::string colours[kLinkCount]);

// "#rrggbb" of a colour whose channels run from 0 to 1.
std::string ColourText(const double rgb[3]);
