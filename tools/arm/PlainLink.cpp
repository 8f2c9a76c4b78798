#include "tools/arm/PlainLink.h"

#include "tools/datagen/Geometry.h"

#include <cmath>

namespace {

constexpr double kSceneUnitsPerMetre = 10.0;
// As thick as a mid-size arm's links, whatever the arm: 6 cm.
constexpr double kRadius = 0.6;  // scene units
constexpr int kSegments = 16;

}  // namespace

MeshData PlainLinkMesh(const SerialArm& arm, const KDL::Frame bake[kLinkCount], int link)
{
    // From the link's own origin, where its joint turns it, to where the
    // next one attaches, seen from the drawn frame.
    const KDL::Vector next = link + 1 < kLinkCount ? arm.joints[link].origin.p : arm.flange.p;
    const KDL::Frame drawn = bake[link].Inverse();
    const KDL::Vector from = drawn.p * kSceneUnitsPerMetre;
    const KDL::Vector to = (drawn * next) * kSceneUnitsPerMetre;
    datagen::Vec3 start{from.x(), from.y(), from.z()}, way{to.x() - from.x(), to.y() - from.y(), to.z() - from.z()};
    double length = datagen::Length(way);
    // Joints that meet: a short upright drum, as thick as it is long.
    if (length < 2 * kRadius) {
        way = {0, 0, 1};
        start.z -= kRadius;
        length = 2 * kRadius;
    }
    const datagen::Vec3 axis = datagen::Normalize(way);
    const datagen::Vec3 hint = std::fabs(axis.x) < 0.9 ? datagen::Vec3{1, 0, 0} : datagen::Vec3{0, 1, 0};
    datagen::MeshBuilder builder;
    builder.Frustum(datagen::AxisFrame(start, axis, hint), 0, length, kRadius, kRadius, kSegments);
    return builder.ToMesh();
}
