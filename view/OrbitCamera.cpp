#include "view/OrbitCamera.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRadians = 3.14159265358979f / 180.0f;

}  // namespace

OrbitView ClampOrbit(OrbitView v)
{
    v.distance = std::clamp(v.distance, kOrbitMinDistance, kOrbitMaxDistance);
    // The eye's height is the centre's plus distance x sin(elevation).
    const float lowest = std::asin((kMinEyeHeight - kOrbitCentre.z) / v.distance) / kRadians;
    v.elevation = std::clamp(v.elevation, lowest, kOrbitMaxElevation);
    v.azimuth = std::remainder(v.azimuth, 360.0f);
    return v;
}

OrbitView OrbitOfCamera(const CCamera& c)
{
    const float x = c.eye.x - kOrbitCentre.x, y = c.eye.y - kOrbitCentre.y, z = c.eye.z - kOrbitCentre.z;
    const float distance = std::sqrt(x * x + y * y + z * z);
    return ClampOrbit({std::atan2(y, x) / kRadians, std::atan2(z, std::hypot(x, y)) / kRadians, distance});
}

CCamera CameraOfOrbit(const OrbitView& v)
{
    const float az = v.azimuth * kRadians, el = v.elevation * kRadians;
    const Vec3f toEye{std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el)};
    CCamera c;
    c.eye = {kOrbitCentre.x + v.distance * toEye.x, kOrbitCentre.y + v.distance * toEye.y,
             kOrbitCentre.z + v.distance * toEye.z};
    c.direction = {-toEye.x, -toEye.y, -toEye.z};
    // World z made square to the line of sight, then reversed: the window's
    // negative field of view turns the picture by half a turn, as with the
    // start camera, whose up vector points away from +z.
    const float along = c.direction.z;
    Vec3f up{-along * c.direction.x, -along * c.direction.y, 1.0f - along * c.direction.z};
    const float length = std::sqrt(up.x * up.x + up.y * up.y + up.z * up.z);
    c.up = {-up.x / length, -up.y / length, -up.z / length};
    return c;
}

OrbitView DragOrbit(const OrbitView& v, int dx, int dy)
{
    return ClampOrbit({v.azimuth + kOrbitDegreesPerPixel * static_cast<float>(dx),
                       v.elevation - kOrbitDegreesPerPixel * static_cast<float>(dy), v.distance});
}

OrbitView ZoomOrbit(const OrbitView& v, int steps)
{
    return ClampOrbit({v.azimuth, v.elevation, v.distance * std::pow(kOrbitWheelFactor, static_cast<float>(steps))});
}
