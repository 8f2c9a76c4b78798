#include "tools/mesh/MeshImport.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const std::size_t kMaxCount = 0xFFFF;  // the header's 16-bit counts

// Row-major 4x4 affine transform in double precision, so that a chain of
// user steps adds no float rounding before the final conversion.
struct Affine {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
};

Affine Multiply(const Affine& a, const Affine& b)  // a after b
{
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = j == 3 ? a.m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    }
    return r;
}

Affine FromAssimp(const aiMatrix4x4& t)
{
    Affine r;
    const ai_real* rows[3] = {t[0], t[1], t[2]};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = rows[i][j];
    return r;
}

// Sine and cosine of an angle in degrees, exact at multiples of 90: a
// quarter turn must give 0 and 1, not 6e-17, or a flat face would acquire a
// tilt and its normals digits that no text format carries back exactly.
void SinCosDegrees(double degrees, double& s, double& c)
{
    double turns = std::fmod(degrees, 360.0);
    if (turns < 0)
        turns += 360.0;
    if (turns == 0.0) { s = 0; c = 1; return; }
    if (turns == 90.0) { s = 1; c = 0; return; }
    if (turns == 180.0) { s = 0; c = -1; return; }
    if (turns == 270.0) { s = -1; c = 0; return; }
    const double radians = degrees * M_PI / 180.0;
    s = std::sin(radians);
    c = std::cos(radians);
}

Affine StepMatrix(const MeshTransform& step)
{
    Affine r;
    switch (step.kind) {
    case MeshTransform::Scale:
        for (int i = 0; i < 3; ++i)
            r.m[i][i] = step.x;
        break;
    case MeshTransform::Translate:
        r.m[0][3] = step.x;
        r.m[1][3] = step.y;
        r.m[2][3] = step.z;
        break;
    default: {
        // The plane turned: (y, z) about x, (z, x) about y, (x, y) about z.
        const int axis = step.kind - MeshTransform::RotateX;
        const int i = (axis + 1) % 3, j = (axis + 2) % 3;
        double s, c;
        SinCosDegrees(step.x, s, c);
        r.m[i][i] = c;
        r.m[i][j] = -s;
        r.m[j][i] = s;
        r.m[j][j] = c;
        break;
    }
    }
    return r;
}

double Determinant(const Affine& a)
{
    const double(*m)[4] = a.m;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// Normals follow the inverse transpose of the linear part; its cofactor
// matrix has the same direction (up to the determinant's sign, which is
// corrected), and needs no division.
void NormalMatrix(const Affine& a, double n[3][3])
{
    const double(*m)[4] = a.m;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            n[i][j] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
        }
    }
    // Scaled so that its largest entry is 1: a tiny scale factor must not
    // shrink the normals toward zero before they are renormalised.
    double largest = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            largest = std::fmax(largest, std::fabs(n[i][j]));
    const double factor = largest > 0.0 ? (Determinant(a) < 0 ? -1.0 : 1.0) / largest : 1.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            n[i][j] *= factor;
}

struct Builder {
    std::vector<double> positions, normals, uvs;  // 3, 3, 2 per vertex
    std::vector<bool> hasNormal;
    std::vector<std::size_t> indices;
    bool anyUv = false;
};

void AddMesh(const aiMesh& source, const Affine& transform, Builder& out, ImportNotes& notes)
{
    if (!(source.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) || source.mNumFaces == 0) {
        ++notes.droppedPrimitives;
        return;
    }
    ++notes.sourceMeshes;
    const std::size_t base = out.positions.size() / 3;
    double normalMatrix[3][3];
    NormalMatrix(transform, normalMatrix);
    const bool hasUv = source.HasTextureCoords(0);
    if (hasUv)
        out.anyUv = true;
    else
        ++notes.untexturedParts;

    for (unsigned v = 0; v < source.mNumVertices; ++v) {
        const aiVector3D& p = source.mVertices[v];
        const double in[3] = {p.x, p.y, p.z};
        for (int i = 0; i < 3; ++i)
            out.positions.push_back(transform.m[i][0] * in[0] + transform.m[i][1] * in[1] + transform.m[i][2] * in[2] +
                                    transform.m[i][3]);
        double n[3] = {0, 0, 0};
        if (source.HasNormals()) {
            const aiVector3D& s = source.mNormals[v];
            for (int i = 0; i < 3; ++i)
                n[i] = normalMatrix[i][0] * s.x + normalMatrix[i][1] * s.y + normalMatrix[i][2] * s.z;
        }
        out.normals.insert(out.normals.end(), n, n + 3);
        out.hasNormal.push_back(source.HasNormals());
        out.uvs.push_back(hasUv ? source.mTextureCoords[0][v].x : 0.0);
        out.uvs.push_back(hasUv ? source.mTextureCoords[0][v].y : 0.0);
    }
    // A mirroring transform turns every triangle over: swap two corners so
    // the front faces stay counter-clockwise seen from outside.
    const bool flip = Determinant(transform) < 0;
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        if (face.mNumIndices != 3)
            continue;  // points and lines of a mixed mesh
        out.indices.push_back(base + face.mIndices[0]);
        out.indices.push_back(base + face.mIndices[flip ? 2 : 1]);
        out.indices.push_back(base + face.mIndices[flip ? 1 : 2]);
    }
}

void AddNode(const aiScene& scene, const aiNode& node, const Affine& parent, Builder& out, ImportNotes& notes)
{
    const Affine transform = Multiply(parent, FromAssimp(node.mTransformation));
    for (unsigned i = 0; i < node.mNumMeshes; ++i)
        if (node.mMeshes[i] < scene.mNumMeshes)
            AddMesh(*scene.mMeshes[node.mMeshes[i]], transform, out, notes);
    for (unsigned i = 0; i < node.mNumChildren; ++i)
        AddNode(scene, *node.mChildren[i], transform, out, notes);
}

// Unit length within a millionth is left as it is: renormalising a normal
// that is already unit would change its last bits on every pass, and a mesh
// exported and imported again must come back identical.
bool Normalise(double n[3])
{
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!std::isfinite(length) || length < 1e-12)
        return false;
    if (std::fabs(length - 1.0) > 1e-6)
        for (int i = 0; i < 3; ++i)
            n[i] /= length;
    return true;
}

// Zero or invalid normals (degenerate faces, a file with broken normals) are
// replaced by the area-weighted normal of the triangles around the vertex,
// or +z when even that is zero.
void RepairNormals(Builder& b, ImportNotes& notes)
{
    const std::size_t v = b.positions.size() / 3;
    std::vector<char> bad(v, 0);
    bool any = false;
    for (std::size_t i = 0; i < v; ++i) {
        if (!Normalise(&b.normals[3 * i])) {
            bad[i] = 1;
            any = true;
        }
    }
    if (!any)
        return;
    std::vector<double> sum(3 * v, 0.0);
    for (std::size_t t = 0; t + 2 < b.indices.size(); t += 3) {
        const double* p0 = &b.positions[3 * b.indices[t]];
        const double* p1 = &b.positions[3 * b.indices[t + 1]];
        const double* p2 = &b.positions[3 * b.indices[t + 2]];
        const double e1[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const double e2[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        const double c[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
        for (int k = 0; k < 3; ++k)
            if (bad[b.indices[t + k]])
                for (int i = 0; i < 3; ++i)
                    sum[3 * b.indices[t + k] + i] += c[i];
    }
    for (std::size_t i = 0; i < v; ++i) {
        if (!bad[i])
            continue;
        ++notes.repairedNormals;
        double* n = &b.normals[3 * i];
        for (int k = 0; k < 3; ++k)
            n[k] = sum[3 * i + k];
        if (!Normalise(n)) {
            n[0] = 0;
            n[1] = 0;
            n[2] = 1;
        }
    }
}

} // namespace

bool ImportMesh(const char* input, const std::vector<MeshTransform>& transforms, MeshData& mesh,
                ImportNotes& notes, std::string& error)
{
    notes = ImportNotes();
    Assimp::Importer importer;
    // Points and lines have no place in a triangle mesh: sorted out and dropped.
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    // Computed normals are smoothed only across edges flatter than 80 degrees:
    // the library's default (175) would round off the rim of a cylinder or
    // the edges of a box, which machine parts are full of.
    importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, 80.0f);
    // Read first, then weld and compute normals: whether the file carried
    // normals can only be seen before the library fills them in.
    const aiScene* scene = importer.ReadFile(input, aiProcess_Triangulate | aiProcess_SortByPType);
    if (!scene || !scene->mRootNode) {
        error = std::string("lecture impossible de ") + input + " : " + importer.GetErrorString();
        return false;
    }
    for (unsigned i = 0; i < scene->mNumMeshes; ++i)
        if (!scene->mMeshes[i]->HasNormals())
            notes.generatedNormals = true;
    scene = importer.ApplyPostProcessing(aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices);
    if (!scene || !scene->mRootNode) {
        error = std::string("traitement impossible de ") + input + " : " + importer.GetErrorString();
        return false;
    }

    Affine user;
    for (const MeshTransform& step : transforms)
        user = Multiply(StepMatrix(step), user);
    Builder built;
    AddNode(*scene, *scene->mRootNode, user, built, notes);
    if (!built.anyUv)
        notes.untexturedParts = 0;
    if (built.indices.empty()) {
        error = std::string("aucun triangle dans ") + input;
        return false;
    }
    for (double p : built.positions) {
        if (!std::isfinite(p)) {
            error = "une position de sommet n'est pas un nombre fini (fichier ou transformation invalide)";
            return false;
        }
    }
    RepairNormals(built, notes);

    // Vertices numbered in the order the triangles first use them, and the
    // unused ones dropped: the same mesh always comes out the same, whatever
    // order the source file listed its vertices in.
    const std::size_t sourceCount = built.positions.size() / 3;
    std::vector<std::size_t> newIndex(sourceCount, SIZE_MAX);
    std::vector<std::size_t> order;
    for (std::size_t index : built.indices) {
        if (newIndex[index] == SIZE_MAX) {
            newIndex[index] = order.size();
            order.push_back(index);
        }
    }
    notes.droppedVertices = static_cast<int>(sourceCount - order.size());

    const std::size_t vertexCount = order.size(), triangleCount = built.indices.size() / 3;
    if (vertexCount > kMaxCount || triangleCount > kMaxCount) {
        char text[512];
        std::snprintf(text, sizeof text,
                      "le maillage a %zu sommets et %zu triangles, le format en accepte au plus 65535 de chaque. "
                      "Simplifiez le maillage (décimation dans Blender ou MeshLab, par exemple) ou découpez-le, "
                      "puis recommencez. Aucun fichier n'a été écrit.",
                      vertexCount, triangleCount);
        error = text;
        return false;
    }

    MeshData result;
    result.textured = built.anyUv;
    result.vertices.reserve(3 * vertexCount);
    result.normals.reserve(3 * vertexCount);
    for (std::size_t source : order) {
        for (int i = 0; i < 3; ++i) {
            result.vertices.push_back(static_cast<float>(built.positions[3 * source + i]));
            result.normals.push_back(static_cast<float>(built.normals[3 * source + i]));
        }
        if (result.textured) {
            result.texCoords.push_back(static_cast<float>(built.uvs[2 * source]));
            result.texCoords.push_back(static_cast<float>(built.uvs[2 * source + 1]));
        }
    }
    for (float p : result.vertices) {
        if (!std::isfinite(p)) {
            error = "une position dépasse la plage des réels simple précision (échelle trop grande ?)";
            return false;
        }
    }
    for (std::size_t index : built.indices)
        result.indices.push_back(static_cast<std::uint32_t>(newIndex[index]));
    result.version = mesh.version;
    mesh = std::move(result);
    return true;
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
