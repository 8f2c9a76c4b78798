#include "tools/mesh/MeshSimplify.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <cstdint>

MeshData ShapeOf(const CornerMesh& corners)
{
    const std::size_t count = corners.positions.size() / 3;
    const bool textured = !corners.texCoords.empty();
    const std::size_t width = textured ? 5 : 3;  // floats per corner
    std::vector<float> packed(width * count);
    for (std::size_t i = 0; i < count; ++i) {
        std::copy_n(&corners.positions[3 * i], 3, &packed[width * i]);
        if (textured)
            std::copy_n(&corners.texCoords[2 * i], 2, &packed[width * i + 3]);
    }
    std::vector<unsigned> remap(count);
    const std::size_t unique =
        meshopt_generateVertexRemap(remap.data(), nullptr, count, packed.data(), count, width * sizeof(float));
    std::vector<float> joined(width * unique);
    meshopt_remapVertexBuffer(joined.data(), packed.data(), count, width * sizeof(float), remap.data());

    MeshData shape;
    shape.textured = textured;
    for (std::size_t v = 0; v < unique; ++v) {
        shape.vertices.insert(shape.vertices.end(), &joined[width * v], &joined[width * v + 3]);
        if (textured)
            shape.texCoords.insert(shape.texCoords.end(), &joined[width * v + 3], &joined[width * v + 5]);
    }
    shape.indices.assign(remap.begin(), remap.end());  // corner i is remap[i]
    return shape;
}

CornerMesh CornersOf(const MeshData& shape, const std::vector<std::uint32_t>& indices)
{
    CornerMesh corners;
    for (std::uint32_t index : indices) {
        corners.positions.insert(corners.positions.end(), &shape.vertices[3 * index], &shape.vertices[3 * index + 3]);
        if (shape.textured)
            corners.texCoords.insert(corners.texCoords.end(), &shape.texCoords[2 * index],
                                     &shape.texCoords[2 * index + 2]);
    }
    return corners;
}

bool SimplifyToFit(const MeshData& shape, std::size_t limit, const BuildFromTriangles& build, MeshData& out,
                   SimplifyReport& report, std::string& error)
{
    error.clear();
    // Every try starts from the whole shape. The first aims at the triangle
    // limit; when what is built of the kept triangles still has too many
    // vertices, the next aims lower in proportion. No bound on the error:
    // the limit decides.
    const std::size_t vertexCount = shape.vertices.size() / 3;
    std::vector<std::uint32_t> kept(shape.indices.size());
    std::size_t targetTriangles = std::min(shape.indices.size() / 3, limit);
    std::size_t previous = SIZE_MAX;
    const int kTries = 12;
    for (int attempt = 0; attempt < kTries && targetTriangles > 0; ++attempt) {
        float relativeError = 0.0f;
        kept.resize(shape.indices.size());  // the library may write up to the whole list
        kept.resize(meshopt_simplify(kept.data(), shape.indices.data(), shape.indices.size(), shape.vertices.data(),
                                     vertexCount, 3 * sizeof(float), 3 * targetTriangles, 1.0f,
                                     meshopt_SimplifyLockBorder, &relativeError));
        MeshData built;
        if (!build(kept, built, error))
            return false;
        report.trianglesAfter = built.TriangleCount();
        report.verticesAfter = built.VertexCount();
        report.error = relativeError;
        if (std::size_t(built.TriangleCount()) <= limit && std::size_t(built.VertexCount()) <= limit) {
            out = std::move(built);
            return true;
        }
        // Stopped short of the aim (locked borders and seams): no lower aim helps.
        if (kept.size() / 3 > targetTriangles || kept.size() >= previous)
            return false;
        previous = kept.size();
        targetTriangles = kept.size() / 3 * limit / built.VertexCount() * 99 / 100;
    }
    return false;
}

void DropUnusedVertices(MeshData& mesh)
{
    const std::size_t count = mesh.vertices.size() / 3;
    std::vector<std::uint32_t> newIndex(count, UINT32_MAX);
    MeshData compact;
    compact.version = mesh.version;
    compact.textured = mesh.textured;
    for (std::uint32_t index : mesh.indices) {
        if (newIndex[index] == UINT32_MAX) {
            newIndex[index] = static_cast<std::uint32_t>(compact.vertices.size() / 3);
            compact.vertices.insert(compact.vertices.end(), &mesh.vertices[3 * index], &mesh.vertices[3 * index + 3]);
            compact.normals.insert(compact.normals.end(), &mesh.normals[3 * index], &mesh.normals[3 * index + 3]);
            if (mesh.textured)
                compact.texCoords.insert(compact.texCoords.end(), &mesh.texCoords[2 * index],
                                         &mesh.texCoords[2 * index + 2]);
        }
        compact.indices.push_back(newIndex[index]);
    }
    mesh = std::move(compact);
}
