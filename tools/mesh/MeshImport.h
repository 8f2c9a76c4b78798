#pragma once
// Reading a mesh of any format the Open Asset Import Library knows into the
// simulator's mesh record: one mesh, triangles only, welded vertices, unit
// normals, the first texture-coordinate channel when there is one.
#include "graphics/MeshFormat.h"

#include <string>
#include <vector>

// One step of the user's placement, applied in command-line order.
struct MeshTransform {
    enum Kind { Scale, RotateX, RotateY, RotateZ, Translate } kind;
    double x = 0.0, y = 0.0, z = 0.0;  // Scale: x; Rotate*: x in degrees
};

// What the import did that the user may want to know.
struct ImportNotes {
    int sourceMeshes = 0;          // meshes in the file that held triangles
    int droppedPrimitives = 0;     // meshes of points or lines, left out
    int untexturedParts = 0;       // meshes without coordinates in a textured whole
    int repairedNormals = 0;       // zero or invalid normals replaced
    bool generatedNormals = false; // the file had no normals
    int droppedVertices = 0;       // vertices no triangle used
};

// Reads `input` and builds the mesh; mesh.version is kept as the caller set
// it. On failure returns false with a French
// explanation in `error` (the counts, for a mesh over the format's limit).
bool ImportMesh(const char* input, const std::vector<MeshTransform>& transforms, MeshData& mesh,
                ImportNotes& notes, std::string& error);

// Writes the mesh to `output` so that no reader ever sees a partial file:
// encoded, decoded again and compared, written beside the target and renamed
// over it. False with a French explanation otherwise.
bool WriteMeshFile(const char* output, const MeshData& mesh, std::string& error);
