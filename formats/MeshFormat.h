#pragma once
// The binary triangle-mesh format of the data directory (".obj" files that
// are not Wavefront text). Pure decoding and encoding, no GL.
//
//   offset 0  header length L (>= 7)      offset 1  version, 12 or 21
//   offset 2  vertex count V, big-endian  offset 4  triangle count T, big-endian
//   offset 6  texture flag (0: none)      offset 7  L - 7 further header bytes
//   then V x (x, y, z), V x (nx, ny, nz), [V x (s, t)], T x (i, j, k):
//   floats and indices little-endian, 32 bits each.
//
// Every multi-byte value is assembled from its bytes, so the code gives the
// same result on a host of either byte order.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct MeshData {
    int version = 12;
    bool textured = false;
    std::vector<float> vertices;         // 3 per vertex
    std::vector<float> normals;          // 3 per vertex
    std::vector<float> texCoords;        // 2 per vertex, empty unless textured
    std::vector<std::uint32_t> indices;  // 3 per triangle

    int VertexCount() const { return static_cast<int>(vertices.size() / 3); }
    int TriangleCount() const { return static_cast<int>(indices.size() / 3); }
};

// Why a mesh could not be decoded. The format has no checksum: these are the
// faults that would otherwise make a reader or a draw run outside the arrays.
enum class MeshError {
    None,
    Truncated,        // the data ends (or cannot be read) before the last block
    HeaderTooShort,   // header length below 7: no room for counts and flag
    BadVersion,       // version byte neither 12 nor 21
    IndexOutOfRange,  // a triangle names a vertex at or past V
};

// A short French description of the fault, for tools ("Fichier tronqué").
const char* MeshErrorText(MeshError error);

// Decodes a whole mesh from bytes in memory or from a stream at its current
// position (the stream is neither rewound nor closed). Bytes after the last
// triangle are ignored. On success the mesh holds exactly what the data says
// (nothing scaled, recomputed or rebased). On failure the mesh is left empty
// (a default MeshData) and *error, when given, says why. Neither logs: the
// caller decides what a failure means.
bool DecodeMesh(const unsigned char* data, std::size_t size, MeshData& mesh, MeshError* error = nullptr);
bool ReadMesh(FILE* file, MeshData& mesh, MeshError* error = nullptr);

// Serialises a mesh (header length 7). The counts must fit in 16 bits and
// the arrays must agree with each other; EncodeMesh returns false otherwise.
bool EncodeMesh(const MeshData& mesh, std::vector<unsigned char>& out);
bool SaveMesh(const char* fileName, const MeshData& mesh);
