#pragma once
// The simple solids that stand for a link in the clearances: exact distances
// between the links' meshes cost milliseconds, between a few of these
// solids microseconds. Together they enclose the link's whole mesh, so the
// distance between two links' stand-ins never exceeds their meshes'; how
// much less it can be is measured and stated where it is used
// (CollisionWorld.h).
#include "formats/MeshFormat.h"

#include <vector>

enum class StandInShape { Box, Capsule, Cylinder };

// In the link's drawing frame, pose units.
struct LinkStandIn {
    StandInShape shape = StandInShape::Box;
    int axis = 2;             // a capsule's or cylinder's axis: 0 x, 1 y, 2 z
    double centre[3] = {};    // the solid's centre
    double half[3] = {};      // a box's half sides
    double radius = 0.0;      // a capsule's or cylinder's
    double halfLength = 0.0;  // a capsule's segment, a cylinder's height, halved
};

// How many solids stand for a link. More shrink the default arm's errors
// little (sixteen: its worst pair 71 pose units under the meshes instead of
// 83, its clearance 5.5 on average instead of 6.2) and make every clearance
// cost more.
constexpr int kStandInPieces = 8;

// The mesh (scaled by `scale` first) cut into at most `pieces` parts, each
// enclosed by the smallest in volume of its box and its capsules and
// cylinders along the three axes. Its triangles are first cut down to small
// ones (a long triangle would make every part that holds it long), then the
// part whose cut in two saves the most volume is cut, again and again.
std::vector<LinkStandIn> FitStandIns(const MeshData& mesh, double scale, int pieces = kStandInPieces);
