#include "tools/mesh/SceneMerge.h"

#include <cmath>

namespace {

struct Merger {
    CornerMesh& out;
    MergeCounts& counts;
    bool anyNormals = false;
    bool anyUv = false;
    bool finite = true;
    bool indicesInRange = true;

    void AddCorner(const aiMesh& source, unsigned v, const Affine& place, const double normalMatrix[3][3])
    {
        const aiVector3D& p = source.mVertices[v];
        for (int i = 0; i < 3; ++i) {
            const double x = place.m[i][0] * p.x + place.m[i][1] * p.y + place.m[i][2] * p.z + place.m[i][3];
            const float stored = static_cast<float>(x);
            finite = finite && std::isfinite(stored);
            out.positions.push_back(stored);
        }
        double n[3] = {0, 0, 0};
        if (source.HasNormals()) {
            const aiVector3D& s = source.mNormals[v];
            for (int i = 0; i < 3; ++i)
                n[i] = normalMatrix[i][0] * s.x + normalMatrix[i][1] * s.y + normalMatrix[i][2] * s.z;
            if (!Normalise(n))
                n[0] = n[1] = n[2] = 0.0;  // replaced once the vertices are joined
        }
        for (int i = 0; i < 3; ++i)
            out.normals.push_back(static_cast<float>(n[i]));
        const bool hasUv = source.HasTextureCoords(0);
        out.texCoords.push_back(hasUv ? source.mTextureCoords[0][v].x : 0.0f);
        out.texCoords.push_back(hasUv ? source.mTextureCoords[0][v].y : 0.0f);
    }

    void AddMesh(const aiMesh& source, const Affine& place)
    {
        if (!(source.mPrimitiveTypes & aiPrimitiveType_TRIANGLE) || source.mNumFaces == 0) {
            ++counts.droppedPrimitives;
            return;
        }
        ++counts.sourceMeshes;
        if (source.HasNormals())
            anyNormals = true;
        else
            ++counts.partsWithoutNormals;
        if (source.HasTextureCoords(0))
            anyUv = true;
        else
            ++counts.untexturedParts;
        double normalMatrix[3][3];
        NormalMatrix(place, normalMatrix);
        const bool flip = Determinant(place) < 0;
        for (unsigned f = 0; f < source.mNumFaces; ++f) {
            const aiFace& face = source.mFaces[f];
            if (face.mNumIndices != 3)
                continue;  // points and lines of a mixed mesh
            if (face.mIndices[0] >= source.mNumVertices || face.mIndices[1] >= source.mNumVertices ||
                face.mIndices[2] >= source.mNumVertices) {
                indicesInRange = false;
                continue;
            }
            for (int k : {0, flip ? 2 : 1, flip ? 1 : 2})
                AddCorner(source, face.mIndices[k], place, normalMatrix);
        }
    }

    void AddNode(const aiScene& scene, const aiNode& node, const Affine& parent)
    {
        const Affine place = Multiply(parent, FromAssimp(node.mTransformation));
        for (unsigned i = 0; i < node.mNumMeshes; ++i)
            if (node.mMeshes[i] < scene.mNumMeshes)
                AddMesh(*scene.mMeshes[node.mMeshes[i]], place);
        for (unsigned i = 0; i < node.mNumChildren; ++i)
            AddNode(scene, *node.mChildren[i], place);
    }
};

}  // namespace

bool MergeScene(const aiScene& scene, const Affine& user, CornerMesh& out, MergeCounts& counts, std::string& error)
{
    out = CornerMesh();
    counts = MergeCounts();
    Merger merger{out, counts};
    // The user's steps come after every node transform of the file.
    merger.AddNode(scene, *scene.mRootNode, user);
    if (!merger.indicesInRange) {
        error = "un triangle du fichier désigne un sommet inexistant";
        return false;
    }
    if (!merger.finite) {
        error = "une position de sommet n'est pas un nombre fini en simple précision "
                "(fichier invalide ou échelle trop grande)";
        return false;
    }
    if (!merger.anyNormals)
        out.normals.clear();
    if (!merger.anyUv) {
        out.texCoords.clear();
        counts.untexturedParts = 0;
    }
    return true;
}

namespace {

// Fills a missing per-corner channel with zeros, `width` values per corner.
void Channel(std::vector<float>& into, std::size_t intoCorners, const std::vector<float>& part, std::size_t partCorners,
             int width)
{
    if (into.empty() && part.empty())
        return;
    if (into.empty())
        into.assign(intoCorners * width, 0.0f);
    if (part.empty())
        into.insert(into.end(), partCorners * width, 0.0f);
    else
        into.insert(into.end(), part.begin(), part.end());
}

}  // namespace

void AppendCorners(CornerMesh& into, const CornerMesh& part)
{
    const std::size_t intoCorners = into.positions.size() / 3, partCorners = part.positions.size() / 3;
    Channel(into.normals, intoCorners, part.normals, partCorners, 3);
    Channel(into.texCoords, intoCorners, part.texCoords, partCorners, 2);
    into.positions.insert(into.positions.end(), part.positions.begin(), part.positions.end());
}

void AddCounts(MergeCounts& into, const MergeCounts& part)
{
    into.sourceMeshes += part.sourceMeshes;
    into.droppedPrimitives += part.droppedPrimitives;
    into.untexturedParts += part.untexturedParts;
    into.partsWithoutNormals += part.partsWithoutNormals;
}
