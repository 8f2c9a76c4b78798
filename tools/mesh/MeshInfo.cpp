#include "tools/mesh/MeshInfo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// Sorting keys: the bits of the coordinates, with -0 taken as 0 so that
// equal positions get equal keys, and any NaN still sorts somewhere.
std::array<std::uint32_t, 3> PositionKey(const float* p)
{
    std::array<std::uint32_t, 3> key;
    for (int k = 0; k < 3; ++k) {
        const float value = p[k] == 0.0f ? 0.0f : p[k];
        std::memcpy(&key[k], &value, sizeof value);
    }
    return key;
}

void CountSharedPositions(const MeshData& mesh, MeshFigures& figures)
{
    std::vector<std::array<std::uint32_t, 3>> keys;
    for (int i = 0; i < mesh.VertexCount(); ++i)
        keys.push_back(PositionKey(&mesh.vertices[3 * i]));
    std::sort(keys.begin(), keys.end());
    for (std::size_t i = 0; i < keys.size();) {
        std::size_t end = i + 1;
        while (end < keys.size() && keys[end] == keys[i])
            ++end;
        ++figures.distinctPositions;
        if (end - i > 1)
            figures.sharedPositionVertices += static_cast<int>(end - i);
        i = end;
    }
}

void CountNormalDirections(const MeshData& mesh, MeshFigures& figures)
{
    double centre[3];
    for (int k = 0; k < 3; ++k)
        centre[k] = (double(figures.min[k]) + figures.max[k]) / 2.0;
    for (int i = 0; i < mesh.VertexCount(); ++i) {
        double dot = 0.0;
        for (int k = 0; k < 3; ++k)
            dot += mesh.normals[3 * i + k] * (mesh.vertices[3 * i + k] - centre[k]);
        if (dot > 0.0)
            ++figures.outwardNormals;
        else if (dot < 0.0)
            ++figures.inwardNormals;
    }
}

}  // namespace

MeshReading ReadMeshFile(const char* fileName)
{
    MeshReading reading;
    FILE* file = std::fopen(fileName, "rb");
    if (!file)
        return reading;
    reading.opened = true;
    int first = std::fgetc(file);
    // The binary header starts with its length (7 or a little more); a text
    // file starts with a letter, '#' or a blank.
    reading.looksLikeText = first == '#' || first == 'v' || first == 'o' || first == 'g' || first == 's' ||
                            first == ' ' || first == '\n' || first == '\r' || first == '\t';
    std::rewind(file);
    reading.decoded = ReadMesh(file, reading.mesh, &reading.error);
    std::fseek(file, 0, SEEK_END);
    reading.fileSize = std::ftell(file);
    std::fclose(file);
    return reading;
}

MeshFigures MeasureMesh(const MeshData& mesh, int headerLength)
{
    MeshFigures figures;
    const int v = mesh.VertexCount();
    for (int i = 0; i < v; ++i) {
        for (int k = 0; k < 3; ++k) {
            const float p = mesh.vertices[3 * i + k];
            if (i == 0 || p < figures.min[k])
                figures.min[k] = p;
            if (i == 0 || p > figures.max[k])
                figures.max[k] = p;
        }
        const float* n = &mesh.normals[3 * i];
        const double length = std::sqrt(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2]);
        if (!(std::fabs(length - 1.0) <= kNormalTolerance)) {  // NaN counts as bad
            if (figures.badNormals++ == 0)
                figures.firstBadNormal = i;
        }
    }
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const std::uint32_t a = mesh.indices[t], b = mesh.indices[t + 1], c = mesh.indices[t + 2];
        if (a == b || b == c || a == c) {
            ++figures.degenerateTriangles;
            continue;
        }
        const float* p0 = &mesh.vertices[3 * a];
        const float* p1 = &mesh.vertices[3 * b];
        const float* p2 = &mesh.vertices[3 * c];
        const double e1[3] = {double(p1[0]) - p0[0], double(p1[1]) - p0[1], double(p1[2]) - p0[2]};
        const double e2[3] = {double(p2[0]) - p0[0], double(p2[1]) - p0[1], double(p2[2]) - p0[2]};
        const double face[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                                e1[0] * e2[1] - e1[1] * e2[0]};
        double dot = 0.0;
        for (std::uint32_t corner : {a, b, c})
            for (int k = 0; k < 3; ++k)
                dot += face[k] * mesh.normals[3 * corner + k];
        if (dot < 0.0)
            ++figures.invertedTriangles;
    }
    CountNormalDirections(mesh, figures);
    CountSharedPositions(mesh, figures);
    figures.expectedSize = headerLength + 4L * (6L * v + (mesh.textured ? 2L * v : 0L) + 3L * mesh.TriangleCount());
    return figures;
}

int PrintMeshInfo(const char* fileName)
{
    MeshReading reading = ReadMeshFile(fileName);
    if (!reading.opened) {
        std::fprintf(stderr, "Erreur : impossible d'ouvrir %s\n", fileName);
        return 1;
    }
    std::printf("Fichier : %s (%ld octets)\n", fileName, reading.fileSize);
    if (!reading.decoded) {
        std::printf("Illisible par le simulateur : %s\n", MeshErrorText(reading.error));
        if (reading.error == MeshError::IndexOutOfRange)
            std::printf("Indices : au moins un indice désigne un sommet inexistant\n");
        if (reading.looksLikeText)
            std::printf("Ce fichier ressemble à un fichier texte (OBJ Wavefront ?) : convertissez-le avec "
                        "« kalimbrax-mesh import ».\n");
        return 1;
    }
    const MeshData& mesh = reading.mesh;
    int headerLength = 7;
    if (FILE* file = std::fopen(fileName, "rb")) {
        headerLength = std::fgetc(file);
        std::fclose(file);
    }
    const MeshFigures figures = MeasureMesh(mesh, headerLength);
    std::printf("Version : %d\n", mesh.version);
    std::printf("Sommets : %d\n", mesh.VertexCount());
    std::printf("Triangles : %d\n", mesh.TriangleCount());
    std::printf("Texturé : %s\n", mesh.textured ? "oui" : "non");
    if (mesh.VertexCount() > 0)
        std::printf("Boîte englobante : x [%g, %g]  y [%g, %g]  z [%g, %g]\n", figures.min[0], figures.max[0],
                    figures.min[1], figures.max[1], figures.min[2], figures.max[2]);
    else
        std::printf("Boîte englobante : vide\n");
    // The decoder refuses any index at or past V, so a decoded mesh has none.
    std::printf("Indices : tous dans les limites\n");
    if (figures.badNormals == 0)
        std::printf("Normales : toutes de longueur unité (tolérance %g)\n", kNormalTolerance);
    else
        std::printf("Normales : %d de longueur différente de 1 (tolérance %g), la première au sommet %d\n",
                    figures.badNormals, kNormalTolerance, figures.firstBadNormal);
    std::printf("Normales vues du centre de la boîte englobante : %d vers l'extérieur, %d vers l'intérieur\n",
                figures.outwardNormals, figures.inwardNormals);
    std::printf("Positions : %d distinctes ; %d sommet(s) à la même position qu'un autre\n", figures.distinctPositions,
                figures.sharedPositionVertices);
    if (figures.degenerateTriangles > 0)
        std::printf("Triangles dégénérés (deux coins sur le même sommet) : %d\n", figures.degenerateTriangles);
    if (figures.invertedTriangles > 0)
        std::printf("Triangles tournés à l'envers de leurs normales (invisibles de face) : %d\n",
                    figures.invertedTriangles);
    if (reading.fileSize > figures.expectedSize)
        std::printf("Octets en trop après le dernier triangle (ignorés) : %ld\n",
                    reading.fileSize - figures.expectedSize);
    return figures.badNormals == 0 ? 0 : 1;
}
