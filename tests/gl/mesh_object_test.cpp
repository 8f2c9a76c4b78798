#include "gl/MeshObject.h"

#include "base/Cp1252.h"
#include "base/Log.h"
#include "formats/MeshFormat.h"

#include "tests/support/ErrorLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// Loading only: drawing needs a GL context, which these tests never create.

namespace {

// A square of two triangles, optionally textured: a mesh from vectors.
MeshData Square(bool textured)
{
    MeshData m;
    m.vertices = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    m.normals = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    m.textured = textured;
    if (textured)
        m.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
    m.indices = {0, 1, 2, 0, 2, 3};
    return m;
}

Bytes Encoded(const MeshData& m)
{
    Bytes b;
    EXPECT_TRUE(EncodeMesh(m, b));
    return b;
}

void WriteBytes(const std::string& name, const Bytes& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Patched(Bytes b, std::size_t at, unsigned char value)
{
    b[at] = value;
    return b;
}

Bytes Prefix(const Bytes& b, std::size_t n)
{
    return Bytes(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
}

void ExpectHolds(const CMeshObject& o, const MeshData& m)
{
    EXPECT_EQ(o.m_iVertexCount, m.VertexCount());
    EXPECT_EQ(o.m_iTriangleCount, m.TriangleCount());
    EXPECT_EQ(o.m_bTextured, m.textured);
    EXPECT_EQ(o.m_Vertices, m.vertices);
    EXPECT_EQ(o.m_Normals, m.normals);
    EXPECT_EQ(o.m_TexCoords, m.texCoords);
    EXPECT_EQ(o.m_Indices, m.indices);
}

void ExpectEmpty(const CMeshObject& o)
{
    EXPECT_EQ(o.m_iVertexCount, 0);
    EXPECT_EQ(o.m_iTriangleCount, 0);
    EXPECT_FALSE(o.m_bTextured);
    EXPECT_TRUE(o.m_Vertices.empty());
    EXPECT_TRUE(o.m_Normals.empty());
    EXPECT_TRUE(o.m_TexCoords.empty());
    EXPECT_TRUE(o.m_Indices.empty());
}

class MeshObjectTest : public ErrorLogTest {
protected:
    MeshObjectTest() : ErrorLogTest("kx_mesh_object_test.obj") {}
};

TEST_F(MeshObjectTest, NewMeshIsEmpty)
{
    CMeshObject mesh;
    ExpectEmpty(mesh);
    EXPECT_FALSE(mesh.Init());
}

TEST_F(MeshObjectTest, LoadsFilesThatDifferOnlyInHeader)
{
    const Bytes textured = Encoded(Square(true));
    Bytes longHeader = textured;
    longHeader.insert(longHeader.begin() + 7, {0xAA, 0xBB});
    longHeader[0] = 9;
    struct Case {
        const char* what;
        Bytes file;
        bool textured;
    };
    const Case cases[] = {
        {"untextured", Encoded(Square(false)), false},     {"textured, version 12", textured, true},
        {"version 21", Patched(textured, 1, 21), true},    {"header length 9", longHeader, true},
        {"texture flag 2", Patched(textured, 6, 2), true}, {"texture flag 255", Patched(textured, 6, 255), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(path, c.file);
        CMeshObject mesh;
        ASSERT_TRUE(mesh.Load(path.c_str()));
        ExpectHolds(mesh, Square(c.textured));
    }
    EXPECT_TRUE(g_Records.empty());
}

TEST_F(MeshObjectTest, NoTriangleLoads)
{
    MeshData points = Square(false);
    points.indices.clear();
    WriteBytes(path, Encoded(points));
    CMeshObject mesh;
    ASSERT_TRUE(mesh.Load(path.c_str()));
    EXPECT_EQ(mesh.m_iVertexCount, 4);
    EXPECT_EQ(mesh.m_iTriangleCount, 0);
    EXPECT_TRUE(mesh.m_Indices.empty());
}

TEST_F(MeshObjectTest, SecondLoadReplacesTheFirstMesh)
{
    CMeshObject mesh;
    WriteBytes(path, Encoded(Square(true)));
    ASSERT_TRUE(mesh.Load(path.c_str()));
    MeshData triangle = Square(false);
    triangle.indices = {2, 1, 0};
    WriteBytes(path, Encoded(triangle));
    ASSERT_TRUE(mesh.Load(path.c_str()));
    ExpectHolds(mesh, triangle);
}

TEST_F(MeshObjectTest, RefusedFileGivesOneRecordAndAnEmptyMesh)
{
    const Bytes good = Encoded(Square(true));  // 7 + 48 + 48 + 32 + 24 bytes
    const std::string missing = ::testing::TempDir() + "kx_no_such_mesh.obj";
    // Each record names the file it refuses.
    const char* const open = "Erreur à l'ouverture du fichier";
    const char* const version = "Mauvaise version de fichier !";
    const char* const truncated = "Fichier tronqué";
    const char* const shortHeader = "En-tête trop court";
    const char* const badIndex = "Indice de sommet hors limites";
    struct Case {
        const char* what;
        Bytes file;
        const char* message;
    };
    const Case cases[] = {
        {"missing file", {}, open},
        {"version 13", Patched(good, 1, 13), version},
        {"version 0", Patched(good, 1, 0), version},
        {"empty file", {}, truncated},
        {"cut in the header", Prefix(good, 5), truncated},
        {"cut in the vertices", Prefix(good, 7 + 20), truncated},
        {"cut in the normals", Prefix(good, 7 + 48 + 47), truncated},
        {"cut in the texture coordinates", Prefix(good, 7 + 96 + 4), truncated},
        {"cut in the indices", Prefix(good, good.size() - 1), truncated},
        {"header length 6", Patched(good, 0, 6), shortHeader},
        {"header length 0", Patched(good, 0, 0), shortHeader},
        {"index equal to V", Patched(good, good.size() - 4, 4), badIndex},
        {"index above 2^24", Patched(good, good.size() - 1, 1), badIndex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_Records.clear();
        std::string name = c.message == open ? missing : path;
        if (c.message != open)
            WriteBytes(path, c.file);
        CMeshObject mesh;
        // Loaded first, so the refusal must also drop the old arrays.
        std::string goodPath = path + ".good";
        WriteBytes(goodPath, good);
        ASSERT_TRUE(mesh.Load(goodPath.c_str()));
        std::remove(goodPath.c_str());

        EXPECT_FALSE(mesh.Load(name.c_str()));
        ExpectEmpty(mesh);
        ASSERT_EQ(g_Records.size(), 1u);
        EXPECT_EQ(MessageOf(g_Records[0]), "C3DSObject::LoadOBJ -- " + name + " : " + c.message);
        // One line per record, also for the message that ends with "\n".
        EXPECT_EQ(std::count(g_Records[0].begin(), g_Records[0].end(), '\n'), 1);
    }
}

}  // namespace
