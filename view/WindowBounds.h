#pragma once
// The part of the window that the picture of a set of points covers, for
// drawing that can only change pixels near them. Pure arithmetic, tested
// without a window.
#include "kinematics/ArmChain.h"

#include <vector>

struct Point3 {
    double x, y, z;
};

// A rectangle of window pixels, as glScissor takes it: origin at the bottom
// left.
struct PixelRect {
    int x, y, width, height;
};

// The smallest rectangle of whole pixels that holds the projections of the
// points (world coordinates) under GL's modelview and projection matrices
// and viewport (x, y, width, height), widened by `margin` pixels on every
// side and clipped to the viewport; of width or height 0 when nothing of it
// is inside. The whole viewport when a point lies in the eye's plane or
// behind it (or is not a number): the projections of the points then no
// longer bound the projection of what lies between them.
PixelRect WindowBounds(const std::vector<Point3>& points, const Matrix4& modelview, const Matrix4& projection,
                       const int viewport[4], int margin);
