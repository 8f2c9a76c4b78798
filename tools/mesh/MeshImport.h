#pragma once
// Reading a mesh of any format the Open Asset Import Library knows into the
// simulator's mesh record: one mesh, triangles only, smooth normals with
// creases, welded vertices, the first texture-coordinate channel when there
// is one, simplified when it would not fit the format.
#include "formats/MeshFormat.h"
#include "tools/mesh/MeshSimplify.h"
#include "tools/mesh/Placement.h"
#include "tools/mesh/SceneMerge.h"

#include <cstddef>
#include <string>
#include <vector>

// What an import may cost. The whole file is read, then every triangle is
// smoothed, welded and simplified at about 720 bytes of memory a triangle
// (measured: a binary STL of a million triangles, 50 MB, peaks at 718 MB
// and takes 14 s; one of five million took 528 s and 6.4 GB before running
// out of memory). A file over kMaxImportBytes is refused before it is
// read, and one that holds more than kMaxImportTriangles triangles once
// read, before they are processed: an import stays within about 1 GB.
// Compressed formats (3MF) hold more triangles a byte: only the second
// bound holds for them, after the library has read them.
constexpr unsigned long long kMaxImportBytes = 256ull << 20;
constexpr std::size_t kMaxImportTriangles = 1000000;

struct ImportOptions {
    std::vector<MeshTransform> transforms;  // the user's placement, in order
    float creaseDegrees = 30.0f;            // edges sharper than this stay sharp
    bool keepNormals = false;               // the file's normals instead of smooth ones
    bool simplify = true;                   // false: a mesh over the limit is refused
};

// What the import did that the user may want to know.
struct ImportNotes {
    MergeCounts parts;
    int corners = 0;          // triangle corners before welding
    int weldedVertices = 0;   // vertices after welding
    int repairedNormals = 0;  // zero or invalid normals replaced
    bool simplified = false;
    SimplifyReport simplification;  // filled when the mesh was over the limit
};

// The two halves of an import, for a caller that gathers several files into
// one mesh: ReadCorners appends the triangles of `input`, placed by the
// file's node transforms and then by `place` (counts added to `parts`);
// MeshFromCorners smooths, welds and simplifies what was gathered, keeping
// mesh.version as the caller set it. False with a French explanation.
bool ReadCorners(const char* input, const Affine& place, const ImportOptions& options, CornerMesh& corners,
                 MergeCounts& parts, std::string& error);
bool MeshFromCorners(const CornerMesh& corners, const ImportOptions& options, MeshData& mesh, ImportNotes& notes,
                     std::string& error);
// The user's steps as one map, in order.
Affine Placement(const std::vector<MeshTransform>& steps);

// Reads `input` and builds the mesh; mesh.version is kept as the caller set
// it. On failure returns false with a French explanation in `error` (the
// counts, for a mesh over the format's limit; the bound, for an input past
// the bounds above; a file that is not a plain one is refused unread).
bool ImportMesh(const char* input, const ImportOptions& options, MeshData& mesh, ImportNotes& notes,
                std::string& error);

// Writes the mesh to `output` so that no reader ever sees a partial file:
// encoded, decoded again and compared, written beside the target and renamed
// over it. False with a French explanation otherwise.
bool WriteMeshFile(const char* output, const MeshData& mesh, std::string& error);
