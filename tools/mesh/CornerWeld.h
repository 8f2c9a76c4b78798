#pragma once
// Smooth normals and welding of a merged mesh, by the Open Asset Import
// Library's own steps: the file's normals dropped (unless kept), smooth
// normals computed with a crease angle where none are left, then identical
// vertices joined.
#include "formats/MeshFormat.h"
#include "tools/mesh/SceneMerge.h"

#include <string>

struct WeldOptions {
    float creaseDegrees = 30.0f;  // edges sharper than this stay sharp
    bool keepNormals = false;     // keep the normals the corners carry
};

// Fills `welded` (vertices, normals, texture coordinates, indices, textured
// flag; the version is left alone). False with a French explanation when
// the library fails.
bool WeldCorners(const CornerMesh& corners, const WeldOptions& options, MeshData& welded, std::string& error);
