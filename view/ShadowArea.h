#pragma once
// Where the arm's shadow falls: the projection that flattens the arm onto the
// ground, and points whose convex hull holds the flattened arm, from which
// the shadow pass learns which part of the window it can change. Pure
// arithmetic, tested without a window.
#include "formats/MeshBox.h"
#include "kinematics/ArmChain.h"
#include "view/WindowBounds.h"

#include <vector>

// The projection onto the ground z = 0 along the light (1, 1, 1.2),
// column-major: a point (x, y, z) lands on (x - z / 1.2, y - z / 1.2, 0).
extern const float kShadowMatrix[16];
// The flattened arm is drawn this far above the ground, over the grid.
constexpr float kShadowLift = 0.05f;

// Where a point of the world lands in the shadow pass: flattened by
// kShadowMatrix, lifted by kShadowLift.
Point3 ShadowOf(const Point3& world);

// The corners of every link's box, placed as the link is drawn at these
// angles, flattened by kShadowMatrix and lifted by kShadowLift. The
// flattening is affine, so the flattened arm lies within their convex hull.
std::vector<Point3> ShadowCorners(const float turnX[kLinkCount], const JointAngles& angles,
                                  const float offsets[kLinkCount][3], const MeshBox boxes[kLinkCount]);
