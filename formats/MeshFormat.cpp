#include "formats/MeshFormat.h"

#include "base/Log.h"

#include <cstring>
#include <utility>

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

// The two places bytes come from. Read() fills exactly n bytes or fails;
// Holds(n) tells, when it can know, whether n more bytes exist, so a decoder
// fed a few bytes claiming 65535 vertices does not allocate for them first.
class MemorySource {
public:
    MemorySource(const unsigned char* data, std::size_t size) : m_pData(data), m_size(size) {}
    bool Read(void* out, std::size_t n)
    {
        if (n > m_size - m_offset)
            return false;
        if (n > 0)
            std::memcpy(out, m_pData + m_offset, n);
        m_offset += n;
        return true;
    }
    bool Holds(std::size_t n) const { return n <= m_size - m_offset; }

private:
    const unsigned char* m_pData;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

class FileSource {
public:
    explicit FileSource(FILE* file) : m_pFile(file) {}
    bool Read(void* out, std::size_t n) { return n == 0 || std::fread(out, 1, n, m_pFile) == n; }
    bool Holds(std::size_t) const { return true; }  // a short stream shows at Read

private:
    FILE* m_pFile;
};

// Reads count little-endian 32-bit words straight into the array's storage,
// then rebuilds each value from its bytes in place: no second buffer, and
// correct whatever the host's byte order (on a little-endian host the
// rebuild changes nothing).
template <class Source, class T>
bool ReadWordsLE(Source& source, std::vector<T>& values, std::size_t count)
{
    static_assert(sizeof(T) == 4, "the format's words are 32 bits");
    values.resize(count);
    if (!source.Read(values.data(), 4 * count))
        return false;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(values.data());
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* b = bytes + 4 * i;
        std::uint32_t word = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                             (std::uint32_t(b[3]) << 24);
        std::memcpy(&values[i], &word, 4);
    }
    return true;
}

template <class Source>
MeshError Decode(Source& source, MeshData& mesh)
{
    unsigned char header[256];
    if (!source.Read(header, 1))
        return MeshError::Truncated;
    const unsigned headerLength = header[0];
    // Below 7 the counts and the flag would come from the vertex block.
    if (headerLength < unsigned(kMinHeaderLength))
        return MeshError::HeaderTooShort;
    if (!source.Read(header + 1, headerLength - 1))
        return MeshError::Truncated;
    if (!IsKnownVersion(header[1]))
        return MeshError::BadVersion;

    mesh.version = header[1];
    const std::size_t v = (std::size_t(header[2]) << 8) | header[3];  // big-endian
    const std::size_t t = (std::size_t(header[4]) << 8) | header[5];
    mesh.textured = header[6] != 0;

    const std::size_t floatsPerVertex = mesh.textured ? 8 : 6;
    if (!source.Holds(4 * (floatsPerVertex * v + 3 * t)))
        return MeshError::Truncated;
    if (!ReadWordsLE(source, mesh.vertices, 3 * v) || !ReadWordsLE(source, mesh.normals, 3 * v))
        return MeshError::Truncated;
    if (mesh.textured && !ReadWordsLE(source, mesh.texCoords, 2 * v))
        return MeshError::Truncated;
    if (!ReadWordsLE(source, mesh.indices, 3 * t))
        return MeshError::Truncated;

    // glDrawElements would read vertices past the arrays.
    for (std::uint32_t index : mesh.indices)
        if (index >= v)
            return MeshError::IndexOutOfRange;
    return MeshError::None;
}

template <class Source>
bool DecodeInto(Source& source, MeshData& mesh, MeshError* error)
{
    MeshData decoded;
    MeshError result = Decode(source, decoded);
    if (error)
        *error = result;
    // No partial mesh: either all of it or nothing.
    mesh = result == MeshError::None ? std::move(decoded) : MeshData();
    return result == MeshError::None;
}

}  // namespace

const char* MeshErrorText(MeshError error)
{
    switch (error) {
    case MeshError::None:
        return "Pas d'erreur";
    case MeshError::Truncated:
        return "Fichier tronqué";
    case MeshError::HeaderTooShort:
        return "En-tête trop court";
    case MeshError::BadVersion:
        return "Mauvaise version de fichier !";
    case MeshError::IndexOutOfRange:
        return "Indice de sommet hors limites";
    }
    return "Erreur inconnue";
}

bool DecodeMesh(const unsigned char* data, std::size_t size, MeshData& mesh, MeshError* error)
{
    static const unsigned char kNothing = 0;
    MemorySource source(data ? data : &kNothing, data ? size : 0);
    return DecodeInto(source, mesh, error);
}

bool ReadMesh(FILE* file, MeshData& mesh, MeshError* error)
{
    if (!file) {
        if (error)
            *error = MeshError::Truncated;
        mesh = MeshData();
        return false;
    }
    FileSource source(file);
    return DecodeInto(source, mesh, error);
}

bool EncodeMesh(const MeshData& mesh, std::vector<unsigned char>& out)
{
    out.clear();
    if (const char* problem = EncodeProblem(mesh)) {
        LogError("EncodeMesh -- Maillage incohérent : %s", problem);
        return false;
    }
    std::size_t v = mesh.vertices.size() / 3;
    std::size_t t = mesh.indices.size() / 3;
    out.reserve(kMinHeaderLength +
                4 * (mesh.vertices.size() + mesh.normals.size() + mesh.texCoords.size() + mesh.indices.size()));
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
