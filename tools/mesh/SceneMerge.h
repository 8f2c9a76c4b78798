#pragma once
// The meshes of an imported scene gathered into one list of triangles whose
// corners share nothing yet, placed by the file's node transforms and then
// by the user's steps. Assimp's welding and normal steps then work on what
// will be stored, whatever the file was: the same triangles, in the same
// order, give the same result.
#include "tools/mesh/Placement.h"

#include <assimp/scene.h>

#include <string>
#include <vector>

struct CornerMesh {
    std::vector<float> positions;  // 3 per corner, 3 corners per triangle
    std::vector<float> normals;    // 3 per corner; empty when no part had any
    std::vector<float> texCoords;  // 2 per corner; empty when no part had any
};

struct MergeCounts {
    int sourceMeshes = 0;       // meshes in the file that held triangles
    int droppedPrimitives = 0;  // meshes of points or lines, left out
    int untexturedParts = 0;    // meshes without coordinates in a textured whole
    int partsWithoutNormals = 0;
};

// Merges every triangle the scene's nodes reach. A part without normals gets
// zero ones when others have some, and (0, 0) texture coordinates when
// others have some. A mirroring placement swaps two corners of each triangle
// so the front faces stay counter-clockwise. False with a French
// explanation when a placed position is not a finite float.
bool MergeScene(const aiScene& scene, const Affine& user, CornerMesh& out, MergeCounts& counts, std::string& error);

// Appends `part` to `into`: a side without normals or texture coordinates
// gets zero normals and (0, 0) coordinates where the other side has them,
// as MergeScene does for the parts of one file.
void AppendCorners(CornerMesh& into, const CornerMesh& part);
void AddCounts(MergeCounts& into, const MergeCounts& part);
