#pragma once
// Bringing a mesh under the format's counts with meshoptimizer's simplifier.
#include "formats/MeshFormat.h"
#include "tools/mesh/SceneMerge.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

struct SimplifyReport {
    int trianglesBefore = 0, verticesBefore = 0;
    int trianglesAfter = 0, verticesAfter = 0;  // the best reached, even when not enough
    float error = 0.0f;                         // the library's error, relative to the mesh's extent
};

// The shape of merged corners for the simplifier: corners with the same
// position and texture coordinates joined, normals left out (they are
// computed again on what remains). Vertices and indices only, plus the
// texture coordinates when the corners have them.
MeshData ShapeOf(const CornerMesh& corners);

// The triangles of a shape that `indices` keep, as corners again.
CornerMesh CornersOf(const MeshData& shape, const std::vector<std::uint32_t>& indices);

// Makes the mesh that would be stored from the triangles the simplifier kept
// (indices into the shape's vertices). False with a French explanation.
using BuildFromTriangles =
    std::function<bool(const std::vector<std::uint32_t>& indices, MeshData& built, std::string& error)>;

// Removes as few triangles of `shape` as it takes for the mesh `build` makes
// of the rest to have at most `limit` vertices and triangles; vertices on an
// open border stay where they are. True with that mesh in `out`. False when
// the library cannot go that far (`report` holds the closest it came, and
// `error` stays empty) or when `build` fails (with its explanation).
bool SimplifyToFit(const MeshData& shape, std::size_t limit, const BuildFromTriangles& build, MeshData& out,
                   SimplifyReport& report, std::string& error);

// Vertices numbered in the order the triangles first use them, and those no
// triangle uses dropped: the same mesh always comes out the same.
void DropUnusedVertices(MeshData& mesh);
