#pragma once
// The arm's cell as the program starts it: the links' collision models
// built from the same mesh files the scene draws, and no object yet.
#include "collision/CollisionWorld.h"

#include <memory>

// Reads the arm's seven link meshes from the data directory (`directory`,
// "" for the current one: ReadLinkMeshes) and builds their collision
// models, about a tenth of a second for the default arm. When a mesh cannot
// be read, the start fails when the scene reads it; until then the arm
// touches nothing. The debug log says which pairs of
// links are never checked.
std::unique_ptr<CCollisionWorld> BuildArmCell(const ArmDescription& arm, const std::string& directory = "");
