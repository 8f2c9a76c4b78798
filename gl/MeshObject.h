#pragma once
// A triangle mesh read from the binary mesh format (formats/MeshFormat.h)
// and drawn with client-side vertex arrays in one indexed call.
//
// The arrays are public: the robot's link class reads them right after
// Load to record the same draw into a display list.
#include "gl/BaseObject.h"

#include <cstdint>
#include <vector>

class CMeshObject : public CBaseObject {
public:
    // An empty mesh: no arrays, no vertex, no triangle, not textured.
    CMeshObject() = default;

    // Reads the file (a relative name is taken from the current directory,
    // the data directory). Any old arrays are released first; on failure one
    // French record naming the file goes to the error log and the mesh stays
    // empty.
    bool Load(const char* fileName);

    // Draws with the caller's GL state (matrices, colour, material, texture);
    // enables the client arrays it needs and disables all three afterwards.
    void Draw() override;

    std::vector<float> m_Vertices;         // x, y, z per vertex
    std::vector<float> m_Normals;          // nx, ny, nz per vertex
    std::vector<float> m_TexCoords;        // s, t per vertex; empty unless textured
    std::vector<std::uint32_t> m_Indices;  // three per triangle, all below m_iVertexCount
    int m_iVertexCount = 0;
    int m_iTriangleCount = 0;
    bool m_bTextured = false;
};
