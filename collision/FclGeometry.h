#pragma once
// FCL's side of the collision layer, included by the layer's own sources
// only: the layers above see none of FCL's (heavy) headers. Everything here
// is in the base frame and pose units.
#include "collision/CellObject.h"
#include "collision/LinkStandIn.h"
#include "formats/MeshFormat.h"
#include "kinematics/ArmChain.h"

#include <fcl/geometry/bvh/BVH_model.h>
#include <fcl/math/bv/OBBRSS.h>

#include <memory>

using FclGeometry = std::shared_ptr<const fcl::CollisionGeometryd>;
using FclMesh = fcl::BVHModel<fcl::OBBRSSd>;

// An axis-aligned box: the test that spares FCL's for what lies apart.
struct Bounds {
    double low[3], high[3];
    bool Overlaps(const Bounds& other) const;
    // How far apart the two boxes are (0 when they overlap): no point of
    // one lies nearer than this to a point of the other.
    double Gap(const Bounds& other) const;
};
// A box given in a frame (centre, half sides), around it once placed.
Bounds PlacedBounds(const fcl::Transform3d& pose, const double centre[3], const double half[3]);
// The box around a mesh's vertices, scaled: centre and half sides.
void MeshExtent(const MeshData& mesh, double scale, double centre[3], double half[3]);

// A mesh's triangles as FCL's hierarchy of oriented boxes, scaled.
std::shared_ptr<const FclMesh> BuildMesh(const MeshData& mesh, double scale);

// A solid where it lies, with the box around it.
struct PlacedSolid {
    FclGeometry geometry;
    fcl::Transform3d pose = fcl::Transform3d::Identity();
    Bounds bounds{};
};
// An object as FCL's box, cylinder, sphere or mesh, placed. The definition
// must have passed CheckObject.
PlacedSolid ObjectSolid(const ObjectDefinition& object);
// The ground: a box whose top is z = 0, wider and deeper than any arm
// reaches (FCL's half-space costs a hundred times more to test against a
// mesh, and its distance to a mesh crashes).
PlacedSolid GroundSolid();
// A link's stand-in as FCL's box, capsule or cylinder, posed in its link's
// frame (no bounds).
PlacedSolid StandInSolid(const LinkStandIn& standIn);

// Whether two solids touch.
bool Touch(const fcl::CollisionGeometryd& a, const fcl::Transform3d& poseA, const fcl::CollisionGeometryd& b,
           const fcl::Transform3d& poseB);
// Their distance, exact, and the nearest point of each (0 and no points
// when they touch).
double Distance(const fcl::CollisionGeometryd& a, const fcl::Transform3d& poseA, const fcl::CollisionGeometryd& b,
                const fcl::Transform3d& poseB, double nearest[2][3]);
