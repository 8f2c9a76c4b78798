#include "view/WindowBounds.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

const Matrix4 kIdentity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
// The eye 10 in front of the origin, looking down -z.
const Matrix4 kEyeAt10{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1}};
// A perspective projection reduced to its division: clip w = -eye z.
const Matrix4 kPerspective{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0}};
// The same with x mirrored, as the program's negative field of view makes it.
const Matrix4 kMirroredPerspective{{-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, -1, 0, 0, 0, 0}};
const int kViewport[4] = {10, 20, 100, 50};  // window x = 10 + (ndc x + 1) * 50, y = 20 + (ndc y + 1) * 25

bool SameRect(const PixelRect& a, const PixelRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::string Text(const PixelRect& r)
{
    return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

TEST(WindowBounds, HoldsTheProjectedPointsWithinTheViewport)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const PixelRect whole{10, 20, 100, 50};
    struct Case {
        const char* what;
        std::vector<Point3> points;
        Matrix4 modelview, projection;
        int margin;
        PixelRect expected;
    };
    const Case cases[] = {
        // x 35 .. 85, y 32.5 .. 51.25: whole pixels 35 .. 85 and 32 .. 52.
        {"inside", {{-0.5, -0.5, 0}, {0.5, 0.25, 0}}, kIdentity, kIdentity, 0, {35, 32, 50, 20}},
        {"inside, widened", {{-0.5, -0.5, 0}, {0.5, 0.25, 0}}, kIdentity, kIdentity, 2, {33, 30, 54, 24}},
        {"clipped to the viewport", {{-2, 0, 0}, {0.5, 3, 0}}, kIdentity, kIdentity, 2, {10, 43, 77, 27}},
        {"beyond the viewport", {{3, 3, 0}, {4, 5, 0}}, kIdentity, kIdentity, 2, {110, 70, 0, 0}},
        {"no point", {}, kIdentity, kIdentity, 2, {10, 20, 0, 0}},
        // (5, 0, 0) is 10 in front of the eye: ndc x 0.5, window x 85. The
        // modelview acts first; the other order puts the point in the eye's
        // plane.
        {"in perspective", {{5, 0, 0}, {-5, -2.5, 0}}, kEyeAt10, kPerspective, 0, {35, 38, 50, 7}},
        {"mirrored", {{5, 0, 0}, {-5, -2.5, 0}}, kEyeAt10, kMirroredPerspective, 0, {35, 38, 50, 7}},
        {"a point behind the eye", {{0, 0, 0}, {0, 0, 11}}, kEyeAt10, kPerspective, 0, whole},
        {"a point in the eye's plane", {{0, 0, 0}, {3, 0, 10}}, kEyeAt10, kPerspective, 0, whole},
        {"not a number", {{0, 0, 0}, {nan, 0, 0}}, kIdentity, kIdentity, 0, whole},
    };
    for (const Case& c : cases) {
        const PixelRect got = WindowBounds(c.points, c.modelview, c.projection, kViewport, c.margin);
        EXPECT_TRUE(SameRect(got, c.expected)) << c.what << ": " << Text(got) << ", expected " << Text(c.expected);
    }
}

}  // namespace
