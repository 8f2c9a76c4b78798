#include "formats/MeshFormat.h"

#include "base/Cp1252.h"
#include "base/Log.h"

#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

bool FileExists(const std::string& name)
{
    FILE* f = std::fopen(name.c_str(), "rb");
    if (f)
        std::fclose(f);
    return f != nullptr;
}

// A mesh from vectors: positions, then one normal per vertex derived from
// them (any distinct values do), optional texture coordinates, indices.
MeshData Mesh(const std::vector<float>& vertices, const std::vector<std::uint32_t>& indices, bool textured = false)
{
    MeshData m;
    m.vertices = vertices;
    for (float v : vertices)
        m.normals.push_back(-v * 0.5f);
    m.textured = textured;
    if (textured)
        for (std::size_t i = 0; i < vertices.size() / 3 * 2; ++i)
            m.texCoords.push_back(0.125f * static_cast<float>(i));
    m.indices = indices;
    return m;
}

MeshData Triangle(bool textured = false)
{
    return Mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2}, textured);
}

Bytes Encoded(const MeshData& m)
{
    Bytes b;
    EXPECT_TRUE(EncodeMesh(m, b));
    return b;
}

// The same file with a longer header: extra bytes after the flag.
Bytes WithHeaderLength(Bytes file, unsigned length, unsigned char filler = 0xEE)
{
    file.insert(file.begin() + 7, length - 7, filler);
    file[0] = static_cast<unsigned char>(length);
    return file;
}

std::uint32_t Bits(float f)
{
    std::uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}

std::vector<std::uint32_t> BitsOf(const std::vector<float>& values)
{
    std::vector<std::uint32_t> bits;
    for (float f : values)
        bits.push_back(Bits(f));
    return bits;
}

// Equal arrays, compared bit for bit (a NaN or -0 must come back as stored).
void ExpectSameMesh(const MeshData& a, const MeshData& b)
{
    EXPECT_EQ(a.textured, b.textured);
    EXPECT_EQ(BitsOf(a.vertices), BitsOf(b.vertices));
    EXPECT_EQ(BitsOf(a.normals), BitsOf(b.normals));
    EXPECT_EQ(BitsOf(a.texCoords), BitsOf(b.texCoords));
    EXPECT_EQ(a.indices, b.indices);
}

bool IsEmpty(const MeshData& m)
{
    return m.vertices.empty() && m.normals.empty() && m.texCoords.empty() && m.indices.empty() && !m.textured;
}

class MeshFormatTest : public ErrorLogTest {
protected:
    MeshFormatTest() : ErrorLogTest("kx_mesh_format_test.obj") {}
};

TEST_F(MeshFormatTest, EncodeWritesBigEndianCountsAndLittleEndianValues)
{
    MeshData m = Triangle(true);
    m.version = 21;
    m.vertices[3] = 1.5f;  // 0x3FC00000
    m.indices = {2, 0, 0x01020304 % 3};
    Bytes b;
    ASSERT_TRUE(EncodeMesh(m, b));
    ASSERT_EQ(b.size(), 7u + 4 * (9 + 9 + 6 + 3));
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 7), (Bytes{7, 21, 0, 3, 0, 1, 1}));
    // Second vertex's x, little-endian.
    EXPECT_EQ(Bytes(b.begin() + 7 + 12, b.begin() + 7 + 16), (Bytes{0x00, 0x00, 0xC0, 0x3F}));
    // First index at the end: 2, little-endian.
    std::size_t firstIndex = b.size() - 12;
    EXPECT_EQ(Bytes(b.begin() + firstIndex, b.begin() + firstIndex + 4), (Bytes{2, 0, 0, 0}));
}

TEST_F(MeshFormatTest, EncodeRefusesInconsistentMeshes)
{
    struct Case {
        const char* what;
        MeshData mesh;
    };
    std::vector<Case> cases;
    cases.push_back({"version 13", Triangle()});
    cases.back().mesh.version = 13;
    cases.push_back({"coordinates not by three", Triangle()});
    cases.back().mesh.vertices.push_back(1);
    cases.push_back({"normals missing", Triangle()});
    cases.back().mesh.normals.pop_back();
    cases.push_back({"texture coordinates without flag", Triangle()});
    cases.back().mesh.texCoords = {0, 0, 0, 0, 0, 0};
    cases.push_back({"flag without texture coordinates", Triangle()});
    cases.back().mesh.textured = true;
    cases.push_back({"indices not by three", Triangle()});
    cases.back().mesh.indices.push_back(0);
    cases.push_back({"index out of range", Mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 3})});
    cases.push_back({"65536 vertices", Mesh(std::vector<float>(3 * 65536), {})});
    cases.push_back({"65536 triangles", Mesh({0, 0, 0}, std::vector<std::uint32_t>(3 * 65536))});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_Records.clear();
        Bytes b = {1, 2, 3};
        EXPECT_FALSE(EncodeMesh(c.mesh, b));
        EXPECT_TRUE(b.empty());
        EXPECT_EQ(g_Records.size(), 1u);
        EXPECT_FALSE(SaveMesh(path.c_str(), c.mesh));
        EXPECT_FALSE(FileExists(path));
    }
}

TEST_F(MeshFormatTest, LargestCountsAreAccepted)
{
    Bytes b;
    ASSERT_TRUE(EncodeMesh(Mesh(std::vector<float>(3 * 65535), std::vector<std::uint32_t>(3 * 65535)), b));
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 7), (Bytes{7, 12, 0xFF, 0xFF, 0xFF, 0xFF, 0}));
}

TEST_F(MeshFormatTest, SaveWritesTheEncodedBytes)
{
    MeshData m = Triangle(true);
    Bytes encoded;
    ASSERT_TRUE(EncodeMesh(m, encoded));
    ASSERT_TRUE(SaveMesh(path.c_str(), m));
    EXPECT_EQ(ReadBytes(path), encoded);
    EXPECT_FALSE(SaveMesh((::testing::TempDir() + "kx_no_such_dir/m.obj").c_str(), m));
    EXPECT_EQ(g_Records.size(), 1u);
}

TEST_F(MeshFormatTest, DecodeReadsHandWrittenBytes)
{
    // One vertex at (1, -2, 0.5), normal (0, 0, 1), one degenerate triangle.
    const Bytes file = {
        7,    12,   0,    1,    0,    1,    0,    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0xC0,
        0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80,
        0x3F, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    };
    MeshData m;
    ASSERT_TRUE(DecodeMesh(file.data(), file.size(), m));
    EXPECT_EQ(m.vertices, (std::vector<float>{1.0f, -2.0f, 0.5f}));
    EXPECT_EQ(m.normals, (std::vector<float>{0.0f, 0.0f, 1.0f}));
    EXPECT_TRUE(m.texCoords.empty());
    EXPECT_EQ(m.indices, (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST_F(MeshFormatTest, RoundTripKeepsEveryBit)
{
    MeshData m = Mesh({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}, {0, 1, 2, 2, 1, 3}, true);
    m.vertices[0] = -0.0f;
    m.vertices[1] = std::numeric_limits<float>::quiet_NaN();
    m.vertices[2] = std::numeric_limits<float>::infinity();
    m.normals[0] = std::numeric_limits<float>::denorm_min();
    for (bool textured : {false, true}) {
        SCOPED_TRACE(textured);
        MeshData source = m;
        source.textured = textured;
        if (!textured)
            source.texCoords.clear();
        Bytes file = Encoded(source);
        MeshData decoded;
        MeshError error = MeshError::Truncated;
        ASSERT_TRUE(DecodeMesh(file.data(), file.size(), decoded, &error));
        EXPECT_EQ(error, MeshError::None);
        ExpectSameMesh(decoded, source);
        EXPECT_EQ(decoded.VertexCount(), 4);
        EXPECT_EQ(decoded.TriangleCount(), 2);
    }
}

TEST_F(MeshFormatTest, HeaderVariantsDecodeTheSameMesh)
{
    const MeshData reference = Triangle(true);
    const Bytes base = Encoded(reference);
    struct Case {
        const char* what;
        Bytes file;
        int version;
    };
    Bytes version21 = base;
    version21[1] = 21;
    Bytes flag2 = base, flag255 = base;
    flag2[6] = 2;
    flag255[6] = 255;
    const Case cases[] = {
        {"version 12", base, 12},
        {"version 21", version21, 21},
        {"header length 9", WithHeaderLength(base, 9), 12},
        {"header length 255", WithHeaderLength(base, 255, 0x15), 12},
        {"texture flag 2", flag2, 12},
        {"texture flag 255", flag255, 12},
        {"bytes after the last triangle",
         [&] {
             Bytes b = base;
             b.push_back(0x55);
             b.push_back(0xAA);
             return b;
         }(),
         12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshData m;
        ASSERT_TRUE(DecodeMesh(c.file.data(), c.file.size(), m));
        EXPECT_EQ(m.version, c.version);
        ExpectSameMesh(m, reference);
    }
}

TEST_F(MeshFormatTest, FlagZeroPutsIndicesRightAfterNormals)
{
    MeshData m;
    const Bytes file = Encoded(Triangle(false));
    ASSERT_EQ(file.size(), 7u + 36 + 36 + 12);
    ASSERT_TRUE(DecodeMesh(file.data(), file.size(), m));
    EXPECT_FALSE(m.textured);
    EXPECT_TRUE(m.texCoords.empty());
    EXPECT_EQ(m.indices, (std::vector<std::uint32_t>{0, 1, 2}));
}

TEST_F(MeshFormatTest, CountsAreBigEndian)
{
    // 0x01 0x02 vertices is 258, not 513; one triangle.
    std::vector<float> vertices(3 * 258);
    for (std::size_t i = 0; i < vertices.size(); ++i)
        vertices[i] = static_cast<float>(i);
    const Bytes file = Encoded(Mesh(vertices, {0, 128, 257}));
    EXPECT_EQ(file[2], 0x01);
    EXPECT_EQ(file[3], 0x02);
    MeshData m;
    ASSERT_TRUE(DecodeMesh(file.data(), file.size(), m));
    EXPECT_EQ(m.VertexCount(), 258);
    EXPECT_EQ(m.vertices.back(), 3 * 258 - 1);
    EXPECT_EQ(m.indices, (std::vector<std::uint32_t>{0, 128, 257}));
}

TEST_F(MeshFormatTest, NoTrianglesAndNoVerticesDecode)
{
    for (const MeshData& source : {Mesh({0, 0, 0, 1, 1, 1}, {}), Mesh({}, {}), Mesh({}, {}, true)}) {
        MeshData m = Triangle();
        const Bytes file = Encoded(source);
        ASSERT_TRUE(DecodeMesh(file.data(), file.size(), m));
        ExpectSameMesh(m, source);
        EXPECT_EQ(m.TriangleCount(), 0);
    }
}

TEST_F(MeshFormatTest, EveryPrefixOfAFileIsTruncated)
{
    const Bytes file = Encoded(Mesh({0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2, 2, 1, 0}, true));
    for (std::size_t n = 0; n < file.size(); ++n) {
        SCOPED_TRACE(n);
        MeshData m = Triangle(true);
        MeshError error = MeshError::None;
        EXPECT_FALSE(DecodeMesh(file.data(), n, m, &error));
        EXPECT_EQ(error, MeshError::Truncated);
        EXPECT_TRUE(IsEmpty(m));
    }
}

TEST_F(MeshFormatTest, RefusedFilesLeaveTheMeshEmpty)
{
    const Bytes base = Encoded(Triangle());
    auto patched = [&](std::size_t at, unsigned char value) {
        Bytes b = base;
        b[at] = value;
        return b;
    };
    // The last index is the final 4 bytes of the file.
    auto lastIndex = [&](std::uint32_t value) {
        Bytes b = base;
        for (int i = 0; i < 4; ++i)
            b[b.size() - 4 + i] = static_cast<unsigned char>(value >> (8 * i));
        return b;
    };
    struct Case {
        const char* what;
        Bytes file;
        MeshError error;
    };
    const Case cases[] = {
        {"header length 0", patched(0, 0), MeshError::HeaderTooShort},
        {"header length 1", patched(0, 1), MeshError::HeaderTooShort},
        {"header length 6", patched(0, 6), MeshError::HeaderTooShort},
        {"version 0", patched(1, 0), MeshError::BadVersion},
        {"version 11", patched(1, 11), MeshError::BadVersion},
        {"version 13", patched(1, 13), MeshError::BadVersion},
        {"version 0x21", patched(1, 0x21), MeshError::BadVersion},
        {"index equal to V", lastIndex(3), MeshError::IndexOutOfRange},
        {"index 0xFFFFFFFF", lastIndex(0xFFFFFFFFu), MeshError::IndexOutOfRange},
        {"triangles but no vertex", Bytes{7, 12, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         MeshError::IndexOutOfRange},
        {"more vertices announced than present", patched(3, 4), MeshError::Truncated},
        {"more triangles announced than present", patched(5, 2), MeshError::Truncated},
        {"flag set but no texture block", patched(6, 1), MeshError::Truncated},
        {"header longer than the file", patched(0, 200), MeshError::Truncated},
        {"65535 vertices announced by a short file",
         [&] {
             Bytes b = patched(2, 0xFF);
             b[3] = 0xFF;
             return b;
         }(),
         MeshError::Truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshData m = Triangle(true);
        MeshError error = MeshError::None;
        EXPECT_FALSE(DecodeMesh(c.file.data(), c.file.size(), m, &error));
        EXPECT_EQ(error, c.error);
        EXPECT_TRUE(IsEmpty(m));
        EXPECT_STRNE(MeshErrorText(error), "");
    }
    MeshData m;
    EXPECT_FALSE(DecodeMesh(nullptr, 0, m));
    EXPECT_TRUE(g_Records.empty());  // decoding never logs
}

TEST_F(MeshFormatTest, ReadMeshDecodesFromTheStreamPosition)
{
    const MeshData source = Triangle(true);
    Bytes file = {0xAB, 0xCD};  // something the caller already consumed
    Bytes encoded = Encoded(source);
    file.insert(file.end(), encoded.begin(), encoded.end());
    file.push_back(0x99);
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fseek(f, 2, SEEK_SET), 0);
    MeshData m;
    MeshError error = MeshError::Truncated;
    EXPECT_TRUE(ReadMesh(f, m, &error));
    EXPECT_EQ(error, MeshError::None);
    ExpectSameMesh(m, source);
    EXPECT_EQ(std::fgetc(f), 0x99);  // left right after the last triangle
    std::fclose(f);

    // The same stream cut inside the indices.
    file.resize(file.size() - 3);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
    f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 2, SEEK_SET);
    EXPECT_FALSE(ReadMesh(f, m, &error));
    EXPECT_EQ(error, MeshError::Truncated);
    EXPECT_TRUE(IsEmpty(m));
    std::fclose(f);
}

}  // namespace
