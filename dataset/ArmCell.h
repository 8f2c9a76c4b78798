#pragma once
// The arm's cell as the program starts it: the links' collision models
// built from the same mesh files the scene draws, and no object yet.
#include "collision/CollisionWorld.h"

#include <memory>

// Reads the arm's seven link meshes from the data directory (`directory`,
// ending with '/', or "" for the current one) and builds their collision models, about a tenth of a second for
// the default arm. A link whose file cannot be read touches nothing (the
// scene, reading it too, says why). The debug log says which pairs of
// links are never checked.
std::unique_ptr<CCollisionWorld> BuildArmCell(const ArmDescription& arm, const std::string& directory = "");
