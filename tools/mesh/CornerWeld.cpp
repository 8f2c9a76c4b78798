#include "tools/mesh/CornerWeld.h"

#include <assimp/BaseImporter.h>
#include <assimp/Importer.hpp>
#include <assimp/importerdesc.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

namespace {

const char kExtension[] = "kxcorners";

// Hands the merged corners to the library as if read from a file, so that
// its post-processing steps run on them: they work only on a scene the
// importer itself has loaded.
class CornerLoader : public Assimp::BaseImporter {
public:
    explicit CornerLoader(const CornerMesh& corners) : m_Corners(corners) {}

    bool CanRead(const std::string& file, Assimp::IOSystem*, bool) const override
    {
        return GetExtension(file) == kExtension;
    }

    const aiImporterDesc* GetInfo() const override
    {
        static const aiImporterDesc description = {
            "Kalimbrax merged corners", "", "", "", aiImporterFlags_SupportBinaryFlavour, 0, 0, 0, 0, kExtension};
        return &description;
    }

protected:
    void InternReadFile(const std::string&, aiScene* scene, Assimp::IOSystem*) override
    {
        const unsigned count = static_cast<unsigned>(m_Corners.positions.size() / 3);
        aiMesh* mesh = new aiMesh;
        mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
        mesh->mNumVertices = count;
        mesh->mVertices = Vectors(m_Corners.positions, 3, count);
        if (!m_Corners.normals.empty())
            mesh->mNormals = Vectors(m_Corners.normals, 3, count);
        if (!m_Corners.texCoords.empty()) {
            mesh->mTextureCoords[0] = Vectors(m_Corners.texCoords, 2, count);
            mesh->mNumUVComponents[0] = 2;
        }
        mesh->mNumFaces = count / 3;
        mesh->mFaces = new aiFace[mesh->mNumFaces];
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            mesh->mFaces[f].mNumIndices = 3;
            mesh->mFaces[f].mIndices = new unsigned[3]{3 * f, 3 * f + 1, 3 * f + 2};
        }
        scene->mNumMeshes = 1;
        scene->mMeshes = new aiMesh* [1] { mesh };
        scene->mRootNode = new aiNode;
        scene->mRootNode->mNumMeshes = 1;
        scene->mRootNode->mMeshes = new unsigned[1]{0};
    }

private:
    static aiVector3D* Vectors(const std::vector<float>& values, int size, unsigned count)
    {
        aiVector3D* vectors = new aiVector3D[count];
        for (unsigned i = 0; i < count; ++i)
            for (int k = 0; k < size; ++k)
                vectors[i][k] = values[size * i + k];
        return vectors;
    }

    const CornerMesh& m_Corners;
};

}  // namespace

bool WeldCorners(const CornerMesh& corners, const WeldOptions& options, MeshData& welded, std::string& error)
{
    Assimp::Importer importer;
    importer.RegisterLoader(new CornerLoader(corners));  // owned by the importer
    importer.SetPropertyFloat(AI_CONFIG_PP_GSN_MAX_SMOOTHING_ANGLE, options.creaseDegrees);
    unsigned steps = aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices;
    if (!options.keepNormals)
        steps |= aiProcess_DropNormals;
    // The memory block only names the format; the loader reads the corners.
    const unsigned char block = 0;
    const aiScene* scene = importer.ReadFileFromMemory(&block, 1, steps, kExtension);
    if (!scene || scene->mNumMeshes != 1 || !scene->mMeshes[0]->HasNormals()) {
        error = std::string("échec du calcul des normales et de la soudure : ") + importer.GetErrorString();
        return false;
    }
    const aiMesh& mesh = *scene->mMeshes[0];
    welded.textured = mesh.HasTextureCoords(0);
    welded.vertices.clear();
    welded.normals.clear();
    welded.texCoords.clear();
    welded.indices.clear();
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
        for (int k = 0; k < 3; ++k) {
            welded.vertices.push_back(mesh.mVertices[v][k]);
            welded.normals.push_back(mesh.mNormals[v][k]);
        }
        if (welded.textured) {
            welded.texCoords.push_back(mesh.mTextureCoords[0][v].x);
            welded.texCoords.push_back(mesh.mTextureCoords[0][v].y);
        }
    }
    for (unsigned f = 0; f < mesh.mNumFaces; ++f)
        welded.indices.insert(welded.indices.end(), mesh.mFaces[f].mIndices, mesh.mFaces[f].mIndices + 3);
    return true;
}
