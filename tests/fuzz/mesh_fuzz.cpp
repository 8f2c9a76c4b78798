// Fuzz target: bytes of a binary mesh file -> DecodeMesh, and the same bytes
// through ReadMesh on a stream. Both paths must agree, and a decoded mesh
// must be safe to draw: arrays of the announced sizes, every index in range.
#include "formats/MeshFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

void CheckDrawable(const MeshData& mesh)
{
    const std::size_t v = mesh.vertices.size() / 3;
    if (mesh.vertices.size() % 3 != 0 || mesh.normals.size() != mesh.vertices.size() || mesh.indices.size() % 3 != 0)
        __builtin_trap();
    if (mesh.texCoords.size() != (mesh.textured ? 2 * v : 0))
        __builtin_trap();
    if (v > 0xFFFF || mesh.indices.size() / 3 > 0xFFFF)
        __builtin_trap();
    for (std::uint32_t index : mesh.indices)
        if (index >= v)
            __builtin_trap();
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), 4 * a.size()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MeshData fromMemory;
    MeshError memoryError = MeshError::None;
    const bool decoded = DecodeMesh(data, size, fromMemory, &memoryError);
    if (decoded) {
        if (memoryError != MeshError::None)
            __builtin_trap();
        CheckDrawable(fromMemory);
    } else if (memoryError == MeshError::None || !fromMemory.vertices.empty() || !fromMemory.indices.empty()) {
        __builtin_trap();  // a refused mesh is left empty, with a reason
    }
    if (MeshErrorText(memoryError) == nullptr)
        __builtin_trap();

    if (size == 0)
        return 0;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    FILE* stream = fmemopen(&bytes[0], size, "rb");
    if (!stream)
        return 0;
    MeshData fromStream;
    MeshError streamError = MeshError::None;
    const bool read = ReadMesh(stream, fromStream, &streamError);
    std::fclose(stream);
    if (read != decoded || streamError != memoryError)
        __builtin_trap();
    if (read &&
        (fromStream.version != fromMemory.version || fromStream.textured != fromMemory.textured ||
         !SameBits(fromStream.vertices, fromMemory.vertices) || !SameBits(fromStream.normals, fromMemory.normals) ||
         !SameBits(fromStream.texCoords, fromMemory.texCoords) || fromStream.indices != fromMemory.indices))
        __builtin_trap();

    // A decoded mesh encodes back to the same blocks (the header length may
    // shrink to 7, the trailing bytes go).
    if (decoded) {
        std::vector<unsigned char> encoded;
        if (!EncodeMesh(fromMemory, encoded))
            __builtin_trap();
        MeshData again;
        if (!DecodeMesh(encoded.data(), encoded.size(), again) || !SameBits(again.vertices, fromMemory.vertices) ||
            again.indices != fromMemory.indices)
            __builtin_trap();
    }
    return 0;
}
