// The camera turning around the arm: where its eye goes for a drag and a
// wheel step, and that it always looks at the arm, upright, above the floor.
#include "view/OrbitCamera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

float Length(const Vec3f& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
float Dot(const Vec3f& a, const Vec3f& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3f ToCentre(const CCamera& c)
{
    return {kOrbitCentre.x - c.eye.x, kOrbitCentre.y - c.eye.y, kOrbitCentre.z - c.eye.z};
}

// Looking at the centre, up square to the line of sight and pointing away
// from +z, as the start camera's does for the window's negative field of view.
void ExpectLooksAtTheArm(const CCamera& c)
{
    const Vec3f to = ToCentre(c);
    const float distance = Length(to);
    EXPECT_NEAR(Dot(to, c.direction) / distance, 1.0f, 1e-5);
    EXPECT_NEAR(Length(c.direction), 1.0f, 1e-5);
    EXPECT_NEAR(Length(c.up), 1.0f, 1e-5);
    EXPECT_NEAR(Dot(c.up, c.direction), 0.0f, 1e-5);
    EXPECT_LE(c.up.z, 0.0f);
    EXPECT_GE(c.eye.z, kMinEyeHeight - 1e-4f);
}

TEST(OrbitCamera, FromTheStartEyeTheViewTurnsToTheArm)
{
    const CCamera start = StartCamera();
    const OrbitView view = OrbitOfCamera(start);
    EXPECT_NEAR(view.azimuth, 90.0f, 1e-4);
    const CCamera c = CameraOfOrbit(view);
    EXPECT_NEAR(c.eye.x, start.eye.x, 1e-4);
    EXPECT_NEAR(c.eye.y, start.eye.y, 1e-4);
    EXPECT_NEAR(c.eye.z, start.eye.z, 1e-4);
    ExpectLooksAtTheArm(c);
    // Nearly the start camera's own up: the same picture turned a little.
    EXPECT_GT(Dot(c.up, start.up), 0.99f);
}

TEST(OrbitCamera, DragsAndWheelStepsKeepTheArmInViewAndTheEyeAboveTheFloor)
{
    struct Case {
        const char* what;
        int dx, dy, wheel;
    };
    const Case cases[] = {
        {"across", 300, 0, 0},         {"back across", -1200, 0, 0},      {"down, far", 0, 5000, 0},
        {"up, far", 0, -5000, 0},      {"nearer, many steps", 0, 0, 100}, {"away, many steps", 0, 0, -100},
        {"down and near", 0, 400, 30}, {"diagonal", 700, -250, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OrbitView view = DragOrbit(OrbitOfCamera(StartCamera()), c.dx, c.dy);
        view = ZoomOrbit(view, c.wheel);
        ExpectLooksAtTheArm(CameraOfOrbit(view));
        EXPECT_GE(view.distance, kOrbitMinDistance);
        EXPECT_LE(view.distance, kOrbitMaxDistance);
        EXPECT_LE(view.elevation, kOrbitMaxElevation);
    }
}

TEST(OrbitCamera, AHorizontalDragTurnsAroundTheBaseAxisOnly)
{
    const OrbitView start = OrbitOfCamera(StartCamera());
    const OrbitView turned = DragOrbit(start, 100, 0);
    EXPECT_NEAR(turned.azimuth - start.azimuth, 100 * kOrbitDegreesPerPixel, 1e-3);
    EXPECT_EQ(turned.elevation, start.elevation);
    EXPECT_EQ(turned.distance, start.distance);
    const CCamera a = CameraOfOrbit(start), b = CameraOfOrbit(turned);
    EXPECT_NEAR(a.eye.z, b.eye.z, 1e-4);
    EXPECT_NEAR(std::hypot(a.eye.x, a.eye.y), std::hypot(b.eye.x, b.eye.y), 1e-4);
}

TEST(OrbitCamera, TheWheelMovesAlongTheLineOfSight)
{
    const OrbitView start = OrbitOfCamera(StartCamera());
    const CCamera far = CameraOfOrbit(start), near = CameraOfOrbit(ZoomOrbit(start, 2));
    EXPECT_NEAR(Length(ToCentre(near)), start.distance * kOrbitWheelFactor * kOrbitWheelFactor, 1e-3);
    EXPECT_NEAR(Dot(far.direction, near.direction), 1.0f, 1e-6);
}

}  // namespace
