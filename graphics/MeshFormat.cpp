#include "graphics/MeshFormat.h"

#include "app/Log.h"

#include <cstring>

namespace {

const int kMinHeaderLength = 7;
const std::size_t kMaxCount = 0xFFFF;  // counts are 16-bit fields

bool IsKnownVersion(int version)
{
    return version == 12 || version == 21;
}

void PutU32LE(std::vector<unsigned char>& out, std::uint32_t value)
{
    out.push_back(static_cast<unsigned char>(value & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 16) & 0xFF));
    out.push_back(static_cast<unsigned char>((value >> 24) & 0xFF));
}

void PutFloatsLE(std::vector<unsigned char>& out, const std::vector<float>& values)
{
    static_assert(sizeof(float) == 4, "the format stores IEEE 754 single floats");
    for (float f : values) {
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        PutU32LE(out, bits);
    }
}

// Why a mesh cannot be written, or nullptr when it can.
const char* EncodeProblem(const MeshData& mesh)
{
    if (!IsKnownVersion(mesh.version))
        return "version autre que 12 ou 21";
    if (mesh.vertices.size() % 3 != 0)
        return "nombre de coordonnées de sommets non multiple de 3";
    if (mesh.indices.size() % 3 != 0)
        return "nombre d'indices non multiple de 3";
    std::size_t v = mesh.vertices.size() / 3;
    std::size_t t = mesh.indices.size() / 3;
    if (v > kMaxCount || t > kMaxCount)
        return "plus de 65535 sommets ou triangles";
    if (mesh.normals.size() != mesh.vertices.size())
        return "nombre de normales différent du nombre de sommets";
    if (mesh.texCoords.size() != (mesh.textured ? 2 * v : 0))
        return "coordonnées de texture incohérentes avec le drapeau de texture";
    for (std::uint32_t index : mesh.indices)
        if (index >= v)
            return "indice de sommet hors limites";
    return nullptr;
}

} // namespace

bool EncodeMesh(const MeshData& mesh, std::vector<unsigned char>& out)
{
    out.clear();
    if (const char* problem = EncodeProblem(mesh)) {
        LogError("EncodeMesh -- Maillage incohérent : %s", problem);
        return false;
    }
    std::size_t v = mesh.vertices.size() / 3;
    std::size_t t = mesh.indices.size() / 3;
    out.reserve(kMinHeaderLength + 4 * (mesh.vertices.size() + mesh.normals.size() + mesh.texCoords.size() +
                                        mesh.indices.size()));
    out.push_back(static_cast<unsigned char>(kMinHeaderLength));
    out.push_back(static_cast<unsigned char>(mesh.version));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>(t >> 8));
    out.push_back(static_cast<unsigned char>(t & 0xFF));
    out.push_back(mesh.textured ? 1 : 0);
    PutFloatsLE(out, mesh.vertices);
    PutFloatsLE(out, mesh.normals);
    if (mesh.textured)
        PutFloatsLE(out, mesh.texCoords);
    for (std::uint32_t index : mesh.indices)
        PutU32LE(out, index);
    return true;
}

bool SaveMesh(const char* fileName, const MeshData& mesh)
{
    std::vector<unsigned char> bytes;
    if (!EncodeMesh(mesh, bytes))
        return false;
    FILE* file = std::fopen(fileName, "wb");
    if (!file) {
        LogError("SaveMesh -- Impossible de créer le fichier %s", fileName);
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    // A full disk may only show when the buffer is flushed: check the close too.
    bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        LogError("SaveMesh -- Erreur à l'écriture du fichier %s", fileName);
        return false;
    }
    return true;
}
