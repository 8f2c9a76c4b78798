#pragma once
// Descriptions of binary meshes, shared by "info" and the data check.
#include "formats/MeshFormat.h"

#include <cstdio>
#include <string>

// What the simulator's decoder makes of a file.
struct MeshReading {
    bool opened = false;
    bool decoded = false;
    MeshError error = MeshError::None;
    MeshData mesh;
    long fileSize = -1;
    bool looksLikeText = false;  // starts like a Wavefront or other text file
};

// Reads the file with the simulator's decoder (ReadMesh), as CMeshObject does.
MeshReading ReadMeshFile(const char* fileName);

// The figures "info" prints and the check looks at.
struct MeshFigures {
    float min[3] = {0, 0, 0}, max[3] = {0, 0, 0};
    int badNormals = 0;  // length off 1 by more than the tolerance
    int firstBadNormal = -1;
    int degenerateTriangles = 0;  // two corners on the same vertex
    // Triangles whose corners turn clockwise seen from where their normals
    // point: the window culls them, so the surface shows its inside.
    int invertedTriangles = 0;
    // Normals seen from the centre of the bounding box: pointing away from
    // it or toward it. The inner walls of a hollow part point inward.
    int outwardNormals = 0, inwardNormals = 0;
    // Vertices at the same position as another vertex (split by their
    // normals or texture coordinates, or never welded), and the number of
    // distinct positions.
    int sharedPositionVertices = 0, distinctPositions = 0;
    long expectedSize = 0;  // bytes the header announces, header included
};

const double kNormalTolerance = 1e-3;

MeshFigures MeasureMesh(const MeshData& mesh, int headerLength);

// Prints the "info" report; returns the process status (0 when the
// simulator loads the file and every normal is a unit vector).
int PrintMeshInfo(const char* fileName);
