#include "collision/FclGeometry.h"

#include <fcl/geometry/shape/box.h>
#include <fcl/geometry/shape/capsule.h>
#include <fcl/geometry/shape/cylinder.h>
#include <fcl/geometry/shape/sphere.h>
#include <fcl/narrowphase/collision.h>
#include <fcl/narrowphase/distance.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Wider than any cell (a thousand scene units), deeper than any arm reaches
// under it.
constexpr double kGroundWidth = 1e5;
constexpr double kGroundDepth = 1e4;

fcl::Transform3d Pose(const double centre[3], const double r[3][3])
{
    fcl::Transform3d pose = fcl::Transform3d::Identity();
    for (int i = 0; i < 3; ++i) {
        pose.translation()[i] = centre[i];
        for (int j = 0; j < 3; ++j)
            pose.linear()(i, j) = r[i][j];
    }
    return pose;
}

}  // namespace

bool Bounds::Overlaps(const Bounds& other) const
{
    for (int k = 0; k < 3; ++k)
        if (low[k] > other.high[k] || other.low[k] > high[k])
            return false;
    return true;
}

double Bounds::Gap(const Bounds& other) const
{
    double squared = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double gap = std::max({0.0, low[k] - other.high[k], other.low[k] - high[k]});
        squared += gap * gap;
    }
    return std::sqrt(squared);
}

Bounds PlacedBounds(const fcl::Transform3d& pose, const double centre[3], const double half[3])
{
    const Eigen::Vector3d placed = pose * Eigen::Vector3d(centre[0], centre[1], centre[2]);
    Bounds bounds;
    for (int i = 0; i < 3; ++i) {
        double reach = 0.0;
        for (int j = 0; j < 3; ++j)
            reach += std::fabs(pose.linear()(i, j)) * half[j];
        bounds.low[i] = placed[i] - reach;
        bounds.high[i] = placed[i] + reach;
    }
    return bounds;
}

void MeshExtent(const MeshData& mesh, double scale, double centre[3], double half[3])
{
    double low[3], high[3];
    std::fill(low, low + 3, std::numeric_limits<double>::infinity());
    std::fill(high, high + 3, -std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        const int k = static_cast<int>(i % 3);
        low[k] = std::min(low[k], scale * mesh.vertices[i]);
        high[k] = std::max(high[k], scale * mesh.vertices[i]);
    }
    for (int k = 0; k < 3; ++k) {
        centre[k] = mesh.vertices.empty() ? 0.0 : 0.5 * (low[k] + high[k]);
        half[k] = mesh.vertices.empty() ? 0.0 : 0.5 * (high[k] - low[k]);
    }
}

std::shared_ptr<const FclMesh> BuildMesh(const MeshData& mesh, double scale)
{
    std::vector<fcl::Vector3d> points(static_cast<std::size_t>(mesh.VertexCount()));
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = scale * fcl::Vector3d(mesh.vertices[3 * i], mesh.vertices[3 * i + 1], mesh.vertices[3 * i + 2]);
    std::vector<fcl::Triangle> triangles(static_cast<std::size_t>(mesh.TriangleCount()));
    for (std::size_t i = 0; i < triangles.size(); ++i)
        triangles[i].set(mesh.indices[3 * i], mesh.indices[3 * i + 1], mesh.indices[3 * i + 2]);
    auto model = std::make_shared<FclMesh>();
    model->beginModel(static_cast<int>(triangles.size()), static_cast<int>(points.size()));
    model->addSubModel(points, triangles);
    model->endModel();
    model->computeLocalAABB();
    return model;
}

PlacedSolid ObjectSolid(const ObjectDefinition& object)
{
    const ObjectPlacement placement = PlacementOf(object);
    PlacedSolid solid;
    solid.pose = Pose(placement.centre, placement.r);
    const std::vector<double>& n = object.numbers;
    double centre[3] = {0, 0, 0}, half[3];
    switch (object.kind) {
    case ObjectKind::Box:
        solid.geometry = std::make_shared<fcl::Boxd>(n[3], n[4], n[5]);
        std::copy(n.begin() + 3, n.begin() + 6, half);
        std::for_each(half, half + 3, [](double& h) { h *= 0.5; });
        break;
    case ObjectKind::Cylinder:
        solid.geometry = std::make_shared<fcl::Cylinderd>(n[3], n[4]);
        half[0] = half[1] = n[3];
        half[2] = 0.5 * n[4];
        break;
    case ObjectKind::Sphere:
        solid.geometry = std::make_shared<fcl::Sphered>(n[3]);
        std::fill(half, half + 3, n[3]);
        break;
    case ObjectKind::Mesh:
        solid.geometry = BuildMesh(*object.mesh, kPoseUnitsPerSceneUnit);
        MeshExtent(*object.mesh, kPoseUnitsPerSceneUnit, centre, half);
        break;
    }
    solid.bounds = PlacedBounds(solid.pose, centre, half);
    return solid;
}

PlacedSolid GroundSolid()
{
    PlacedSolid solid;
    solid.geometry = std::make_shared<fcl::Boxd>(kGroundWidth, kGroundWidth, kGroundDepth);
    solid.pose.translation() = fcl::Vector3d(0, 0, -0.5 * kGroundDepth);
    const double centre[3] = {0, 0, 0}, half[3] = {0.5 * kGroundWidth, 0.5 * kGroundWidth, 0.5 * kGroundDepth};
    solid.bounds = PlacedBounds(solid.pose, centre, half);
    return solid;
}

PlacedSolid StandInSolid(const LinkStandIn& s)
{
    PlacedSolid solid;
    solid.pose.translation() = fcl::Vector3d(s.centre[0], s.centre[1], s.centre[2]);
    // FCL's capsules and cylinders lie along their z: turn z onto the axis.
    if (s.axis == 0)
        solid.pose.linear() = Eigen::AngleAxisd(M_PI / 2, Eigen::Vector3d::UnitY()).toRotationMatrix();
    else if (s.axis == 1)
        solid.pose.linear() = Eigen::AngleAxisd(-M_PI / 2, Eigen::Vector3d::UnitX()).toRotationMatrix();
    switch (s.shape) {
    case StandInShape::Box:
        solid.geometry = std::make_shared<fcl::Boxd>(2 * s.half[0], 2 * s.half[1], 2 * s.half[2]);
        break;
    case StandInShape::Capsule:
        solid.geometry = std::make_shared<fcl::Capsuled>(s.radius, 2 * s.halfLength);
        break;
    case StandInShape::Cylinder:
        solid.geometry = std::make_shared<fcl::Cylinderd>(s.radius, 2 * s.halfLength);
        break;
    }
    return solid;
}

bool Touch(const fcl::CollisionGeometryd& a, const fcl::Transform3d& poseA, const fcl::CollisionGeometryd& b,
           const fcl::Transform3d& poseB)
{
    static const fcl::CollisionRequestd request;  // one contact is enough
    fcl::CollisionResultd result;
    return fcl::collide(&a, poseA, &b, poseB, request, result) > 0;
}

double Distance(const fcl::CollisionGeometryd& a, const fcl::Transform3d& poseA, const fcl::CollisionGeometryd& b,
                const fcl::Transform3d& poseB, double nearest[2][3])
{
    static const fcl::DistanceRequestd request(true);
    fcl::DistanceResultd result;
    // In contact FCL answers a negative number of its own choosing (-1
    // mostly): the distance is 0 then.
    const double distance = fcl::distance(&a, poseA, &b, poseB, request, result);
    if (!(distance > 0.0))
        return 0.0;
    fcl::Vector3d points[2] = {result.nearest_points[0], result.nearest_points[1]};
    const bool meshA = a.getObjectType() == fcl::OT_BVH, meshB = b.getObjectType() == fcl::OT_BVH;
    if (meshA != meshB) {
        // FCL 0.7 answers a mesh and a shape with the mesh's point first,
        // in the mesh's own frame, and the shape's astray: the mesh's is
        // placed, and the shape's is the shape's nearest to it.
        const fcl::Vector3d onMesh = (meshA ? poseA : poseB) * result.nearest_points[0];
        fcl::Transform3d at = fcl::Transform3d::Identity();
        at.translation() = onMesh;
        static const fcl::Sphered point(0.0);
        fcl::DistanceResultd toShape;
        fcl::distance(meshA ? &b : &a, meshA ? poseB : poseA, &point, at, request, toShape);
        points[meshA ? 0 : 1] = onMesh;
        points[meshA ? 1 : 0] = toShape.nearest_points[0];
    }
    for (int i = 0; i < 2; ++i)
        for (int k = 0; k < 3; ++k)
            nearest[i][k] = points[i][k];
    return distance;
}
