// The link meshes of a data set read as the program reads them: names
// relative to its directory or whole paths, and a mesh that cannot be had
// named with the reason.
#include "arm/LinkMeshFiles.h"
#include "tests/support/ShippedArm.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

const std::string kDefault = KX_SOURCE_DIR "/default";

TEST(LinkMeshFiles, NamesAreReadInTheDirectoryOrAsWholePaths)
{
    ArmDescription arm = ShippedArm();
    LinkMeshes meshes;
    std::string reason;
    ASSERT_TRUE(ReadLinkMeshes(arm, kDefault, &meshes, &reason)) << reason;
    for (const MeshData& mesh : meshes)
        EXPECT_GT(mesh.TriangleCount(), 0);

    arm.meshFile[3] = kDefault + "/" + arm.meshFile[3];
    LinkMeshes again;
    ASSERT_TRUE(ReadLinkMeshes(arm, kDefault, &again, &reason)) << reason;
    EXPECT_EQ(again[3].vertices, meshes[3].vertices);
}

TEST(LinkMeshFiles, AMeshThatCannotBeHadIsNamedWithTheReason)
{
    // The body's first 20 bytes: a header that promises more.
    const std::string cut = ::testing::TempDir() + "kx_cut_mesh.obj";
    {
        std::ifstream body(kDefault + "/robotbody.obj", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(body)), std::istreambuf_iterator<char>());
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, 20);
    }
    const struct {
        std::string name;
        std::string reason;
    } cases[] = {
        {"absent.obj", kDefault + "/absent.obj : impossible d'ouvrir le fichier"},
        {cut, cut + " : Fichier tronqué"},
    };
    for (const auto& c : cases) {
        ArmDescription arm = ShippedArm();
        arm.meshFile[4] = c.name;
        LinkMeshes meshes;
        std::string reason;
        EXPECT_FALSE(ReadLinkMeshes(arm, kDefault, &meshes, &reason));
        EXPECT_EQ(reason, c.reason);
    }
    std::remove(cut.c_str());
}

}  // namespace
