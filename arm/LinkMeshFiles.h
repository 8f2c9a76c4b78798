#pragma once
// The seven link meshes a data set's arm names (robot.opt's str...FileObj),
// read from its directory with the decoder the drawing uses: what the
// collision checks of that data set are built from.
#include "arm/ArmDescription.h"
#include "formats/MeshFormat.h"

#include <array>
#include <string>

using LinkMeshes = std::array<MeshData, kLinkCount>;

// Names are taken as the program takes them once it has moved into the data
// directory: relative to `directory` ("" for the current one), or absolute.
// False, with one French sentence naming the file, when a mesh cannot be
// opened or decoded.
bool ReadLinkMeshes(const ArmDescription& arm, const std::string& directory, LinkMeshes* meshes, std::string* reason);
