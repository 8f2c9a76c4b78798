#include "tools/mesh/MeshImport.h"

#include "tools/mesh/CornerWeld.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::size_t kMaxCount = 0xFFFF;  // the header's 16-bit counts

// Plain files only: a FIFO would block the reading, a directory or a
// device is no mesh.
bool CheckInput(const char* input, std::string& error)
{
    struct stat info;
    if (stat(input, &info) != 0) {
        error = std::string("lecture impossible de ") + input + " : " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = std::string(input) + " n'est pas un fichier ordinaire (un répertoire, un tube ou un périphérique)";
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > kMaxImportBytes) {
        error = std::string(input) + " : " + std::to_string(info.st_size) + " octets, " +
                std::to_string(kMaxImportBytes) + " au plus (l'import lit le fichier entier) ; rien n'a été lu";
        return false;
    }
    return true;
}

// Whether the triangles the scene's nodes place, each placement of a mesh
// counted, exceed kMaxImportTriangles; counted without recursion, and no
// further than the bound.
bool OverTriangleBound(const aiScene& scene)
{
    std::size_t triangles = 0;
    std::vector<const aiNode*> nodes = {scene.mRootNode};
    while (!nodes.empty() && triangles <= kMaxImportTriangles) {
        const aiNode* node = nodes.back();
        nodes.pop_back();
        for (unsigned i = 0; i < node->mNumMeshes; ++i)
            if (node->mMeshes[i] < scene.mNumMeshes)
                triangles += scene.mMeshes[node->mMeshes[i]]->mNumFaces;
        nodes.insert(nodes.end(), node->mChildren, node->mChildren + node->mNumChildren);
    }
    return triangles > kMaxImportTriangles;
}

// Zero or invalid normals (a vertex used only by degenerate triangles, a
// file whose kept normals are broken) are replaced by the area-weighted
// normal of the triangles around the vertex, or +z when even that is zero.
void RepairNormals(MeshData& mesh, ImportNotes& notes)
{
    const std::size_t v = mesh.vertices.size() / 3;
    std::vector<char> bad(v, 0);
    bool any = false;
    for (std::size_t i = 0; i < v; ++i) {
        double n[3] = {mesh.normals[3 * i], mesh.normals[3 * i + 1], mesh.normals[3 * i + 2]};
        if (!Normalise(n)) {
            bad[i] = 1;
            any = true;
            continue;
        }
        for (int k = 0; k < 3; ++k)
            mesh.normals[3 * i + k] = static_cast<float>(n[k]);
    }
    if (!any)
        return;
    std::vector<double> sum(3 * v, 0.0);
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3) {
        const float* p0 = &mesh.vertices[3 * mesh.indices[t]];
        const float* p1 = &mesh.vertices[3 * mesh.indices[t + 1]];
        const float* p2 = &mesh.vertices[3 * mesh.indices[t + 2]];
        const double e1[3] = {double(p1[0]) - p0[0], double(p1[1]) - p0[1], double(p1[2]) - p0[2]};
        const double e2[3] = {double(p2[0]) - p0[0], double(p2[1]) - p0[1], double(p2[2]) - p0[2]};
        const double c[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                             e1[0] * e2[1] - e1[1] * e2[0]};
        for (int k = 0; k < 3; ++k)
            if (bad[mesh.indices[t + k]])
                for (int i = 0; i < 3; ++i)
                    sum[3 * mesh.indices[t + k] + i] += c[i];
    }
    for (std::size_t i = 0; i < v; ++i) {
        if (!bad[i])
            continue;
        ++notes.repairedNormals;
        double n[3] = {sum[3 * i], sum[3 * i + 1], sum[3 * i + 2]};
        if (!Normalise(n)) {
            n[0] = 0;
            n[1] = 0;
            n[2] = 1;
        }
        for (int k = 0; k < 3; ++k)
            mesh.normals[3 * i + k] = static_cast<float>(n[k]);
    }
}

bool OverLimit(const MeshData& mesh)
{
    return mesh.vertices.size() / 3 > kMaxCount || mesh.indices.size() / 3 > kMaxCount;
}

// Brings a welded mesh over the limit under it, or says why not.
bool FitUnderLimit(const CornerMesh& corners, const ImportOptions& options, MeshData& mesh, ImportNotes& notes,
                   std::string& error)
{
    SimplifyReport& report = notes.simplification;
    report.trianglesBefore = mesh.TriangleCount();
    report.verticesBefore = mesh.VertexCount();
    char text[600];
    if (!options.simplify) {
        std::snprintf(text, sizeof text,
                      "le maillage a %d sommets et %d triangles, le format en accepte au plus 65535 de chaque. "
                      "Sans --no-simplify, l'import le simplifie juste assez pour qu'il tienne. "
                      "Aucun fichier n'a été écrit.",
                      report.verticesBefore, report.trianglesBefore);
        error = text;
        return false;
    }
    MeshData fitted;
    bool fits;
    if (options.keepNormals) {
        // The file's normals stay with their vertices: the welded mesh itself
        // is simplified.
        fits = SimplifyToFit(
            mesh, kMaxCount,
            [&mesh](const std::vector<std::uint32_t>& kept, MeshData& built, std::string&) {
                built = mesh;
                built.indices = kept;
                DropUnusedVertices(built);
                return true;
            },
            fitted, report, error);
    } else {
        // The shape is simplified, then normals are computed and vertices
        // welded again on what remains, as on any mesh.
        const MeshData shape = ShapeOf(corners);
        const WeldOptions weld{options.creaseDegrees, false};
        fits = SimplifyToFit(
            shape, kMaxCount,
            [&shape, &weld](const std::vector<std::uint32_t>& kept, MeshData& built, std::string& failure) {
                return WeldCorners(CornersOf(shape, kept), weld, built, failure);
            },
            fitted, report, error);
    }
    if (fits) {
        fitted.version = mesh.version;
        mesh = std::move(fitted);
        notes.simplified = true;
        return true;
    }
    if (!error.empty())
        return false;
    std::snprintf(text, sizeof text,
                  "le maillage a %d sommets et %d triangles, le format en accepte au plus 65535 de chaque, "
                  "et la simplification s'arrête à %d sommets et %d triangles : elle ne déplace ni les bords "
                  "ouverts ni les sommets où se rejoignent plus de deux jeux de normales ou de coordonnées%s. "
                  "Découpez-le en plusieurs maillages, puis recommencez. Aucun fichier n'a été écrit.",
                  report.verticesBefore, report.trianglesBefore, report.verticesAfter, report.trianglesAfter,
                  options.keepNormals ? " (sans --keep-normals, les normales recalculées le permettent souvent)" : "");
    error = text;
    return false;
}

}  // namespace

bool ReadCorners(const char* input, const Affine& place, const ImportOptions& options, CornerMesh& corners,
                 MergeCounts& parts, std::string& error)
{
    Assimp::Importer importer;
    // Points and lines have no place in a triangle mesh: sorted out and dropped.
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    // The library turns a COLLADA file whose up axis is z so that y points
    // up, its own convention; the simulator's z is up, like most CAD files:
    // keep the file's axes, as for every other format.
    importer.SetPropertyBool(AI_CONFIG_IMPORT_COLLADA_IGNORE_UP_DIRECTION, true);
    importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, options.creaseDegrees);
    if (!CheckInput(input, error))
        return false;
    const aiScene* scene = importer.ReadFile(input, aiProcess_Triangulate | aiProcess_SortByPType);
    // Kept normals: parts that have none get smooth ones here, in the file's
    // own mesh, the only place that tells them apart.
    if (scene && options.keepNormals)
        scene = importer.ApplyPostProcessing(aiProcess_GenSmoothNormals);
    if (!scene || !scene->mRootNode) {
        error = std::string("lecture impossible de ") + input + " : " + importer.GetErrorString();
        return false;
    }
    if (OverTriangleBound(*scene)) {
        error = std::string(input) + " : plus de " + std::to_string(kMaxImportTriangles) +
                " triangles, l'import en traite " + std::to_string(kMaxImportTriangles) +
                " au plus (environ 720 octets de mémoire chacun) ; simplifiez-le d'abord";
        return false;
    }
    CornerMesh read;
    MergeCounts counts;
    if (!MergeScene(*scene, place, read, counts, error))
        return false;
    if (read.positions.empty()) {
        error = std::string("aucun triangle dans ") + input;
        return false;
    }
    AppendCorners(corners, read);
    AddCounts(parts, counts);
    return true;
}

Affine Placement(const std::vector<MeshTransform>& steps)
{
    Affine user;
    for (const MeshTransform& step : steps)
        user = Multiply(StepMatrix(step), user);
    return user;
}

bool MeshFromCorners(const CornerMesh& corners, const ImportOptions& options, MeshData& mesh, ImportNotes& notes,
                     std::string& error)
{
    notes.corners = static_cast<int>(corners.positions.size() / 3);
    MeshData result;
    result.version = mesh.version;
    if (!WeldCorners(corners, WeldOptions{options.creaseDegrees, options.keepNormals}, result, error))
        return false;
    notes.weldedVertices = result.VertexCount();
    if (OverLimit(result) && !FitUnderLimit(corners, options, result, notes, error))
        return false;
    RepairNormals(result, notes);
    DropUnusedVertices(result);
    mesh = std::move(result);
    return true;
}

bool ImportMesh(const char* input, const ImportOptions& options, MeshData& mesh, ImportNotes& notes, std::string& error)
{
    notes = ImportNotes();
    CornerMesh corners;
    return ReadCorners(input, Placement(options.transforms), options, corners, notes.parts, error) &&
           MeshFromCorners(corners, options, mesh, notes, error);
}

bool WriteMeshFile(const char* output, const MeshData& mesh, std::string& error)
{
    std::vector<unsigned char> bytes;
    if (!EncodeMesh(mesh, bytes)) {
        error = "maillage impossible à encoder";
        return false;
    }
    // Read back with the simulator's own decoder before anything touches the
    // disk: what is written is exactly what it will load.
    MeshData check;
    MeshError decodeError = MeshError::None;
    if (!DecodeMesh(bytes.data(), bytes.size(), check, &decodeError) || check.vertices != mesh.vertices ||
        check.normals != mesh.normals || check.texCoords != mesh.texCoords || check.indices != mesh.indices) {
        error = std::string("le fichier encodé ne se relit pas à l'identique (") + MeshErrorText(decodeError) + ")";
        return false;
    }

    const std::string temporary = std::string(output) + ".tmp" + std::to_string(getpid());
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = std::string("impossible de créer ") + temporary + " : " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;  // a full disk may only show here
    if (!written || !closed || std::rename(temporary.c_str(), output) != 0) {
        error = std::string("écriture impossible de ") + output + " : " + std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
