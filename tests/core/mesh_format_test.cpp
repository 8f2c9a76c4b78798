#include "graphics/MeshFormat.h"

#include "app/Cp1252.h"
#include "app/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::vector<std::string> g_Records;
void CollectRecord(const char* record) { g_Records.emplace_back(record); }

Bytes ReadBytes(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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

class MeshFormatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LogReset();
        g_Records.clear();
        logPath = ::testing::TempDir() + "kx_mesh_format_test.log";
        ASSERT_TRUE(LogOpen(LOG_ERROR, logPath.c_str()));
        LogSetPrintHook(LOG_ERROR, CollectRecord);
        path = ::testing::TempDir() + "kx_mesh_format_test.obj";
        std::remove(path.c_str());
    }
    void TearDown() override
    {
        LogClose(LOG_ERROR);
        std::remove(path.c_str());
        std::remove(logPath.c_str());
    }
    std::string logPath;
    std::string path;
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
    struct Case { const char* what; MeshData mesh; };
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
        EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
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

} // namespace
