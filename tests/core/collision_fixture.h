#pragma once
// Builders shared by the collision tests: the shipped arm with its link
// meshes as the program reads them, a box as a mesh, objects by their
// numbers, and FCL's own models of the links, built here apart from the
// collision layer, to check its answers against.
#include "arm/ArmKinematics.h"
#include "arm/LinkMeshFiles.h"
#include "collision/CollisionWorld.h"
#include "tests/support/ShippedArm.h"

#include <fcl/geometry/bvh/BVH_model.h>
#include <fcl/math/bv/OBBRSS.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace kxtest {

inline LinkMeshes ShippedLinkMeshes(const ArmDescription& arm)
{
    LinkMeshes meshes;
    std::string reason;
    EXPECT_TRUE(ReadLinkMeshes(arm, KX_SOURCE_DIR "/default", &meshes, &reason)) << reason;
    return meshes;
}

// The shipped arm's cell: its description, its link meshes and its world,
// whose links' stand-ins take about 0.1 s to fit. Built once for the test
// program (SharedShippedCell): the tests that define objects in it do so in
// a ShippedCellTest, which finds the world without objects and leaves it so;
// the others only read it.
struct ShippedCell {
    ShippedCell() : arm(ShippedArm()), meshes(ShippedLinkMeshes(arm)), world(arm, meshes.data()) {}
    const ArmDescription arm;
    const LinkMeshes meshes;
    CCollisionWorld world;
};

inline ShippedCell& SharedShippedCell()
{
    static ShippedCell cell;
    return cell;
}

class ShippedCellTest : public ::testing::Test {
protected:
    ShippedCellTest() { world.RemoveAllObjects(); }
    ~ShippedCellTest() override { world.RemoveAllObjects(); }

    const ArmDescription& arm = SharedShippedCell().arm;
    const LinkMeshes& meshes = SharedShippedCell().meshes;
    CCollisionWorld& world = SharedShippedCell().world;
};

// A closed box from `low` to `high` (scene units), twelve triangles.
inline MeshData BoxMesh(const double low[3], const double high[3])
{
    MeshData mesh;
    for (int corner = 0; corner < 8; ++corner)
        for (int k = 0; k < 3; ++k)
            mesh.vertices.push_back(static_cast<float>((corner >> k) & 1 ? high[k] : low[k]));
    mesh.normals.assign(mesh.vertices.size(), 0.0f);
    mesh.indices = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                    2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
    return mesh;
}

inline ObjectDefinition Object(ObjectKind kind, const std::string& name, std::vector<double> numbers,
                               std::shared_ptr<const MeshData> mesh = nullptr)
{
    ObjectDefinition object;
    object.kind = kind;
    object.name = name;
    object.numbers = std::move(numbers);
    object.mesh = std::move(mesh);
    object.meshFile = object.mesh ? name + ".obj" : "";
    return object;
}

// FCL's model of a mesh, in pose units.
inline std::shared_ptr<fcl::BVHModel<fcl::OBBRSSd>> FclModel(const MeshData& mesh)
{
    std::vector<fcl::Vector3d> points;
    for (int i = 0; i < mesh.VertexCount(); ++i)
        points.push_back(100.0 *
                         fcl::Vector3d(mesh.vertices[3 * i], mesh.vertices[3 * i + 1], mesh.vertices[3 * i + 2]));
    std::vector<fcl::Triangle> triangles;
    for (int i = 0; i < mesh.TriangleCount(); ++i)
        triangles.emplace_back(mesh.indices[3 * i], mesh.indices[3 * i + 1], mesh.indices[3 * i + 2]);
    auto model = std::make_shared<fcl::BVHModel<fcl::OBBRSSd>>();
    model->beginModel();
    model->addSubModel(points, triangles);
    model->endModel();
    return model;
}

// Where the scene draws a link at the data set's angles, in pose units.
inline fcl::Transform3d DrawnPose(const ArmDescription& arm, const JointAngles& angles, int link)
{
    const Matrix4 m = LinkMeshTransform(arm.LinkTurns().x, ModelAngles(arm, angles), arm.offset, link);
    fcl::Transform3d pose = fcl::Transform3d::Identity();
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            pose.linear()(row, column) = m.m[4 * column + row];
        pose.translation()[row] = 100.0 * m.m[12 + row];
    }
    return pose;
}

inline std::vector<std::string> Texts(const std::vector<CollisionPair>& pairs)
{
    std::vector<std::string> texts;
    for (const CollisionPair& pair : pairs)
        texts.push_back(pair.Text());
    return texts;
}

}  // namespace kxtest
