#include "view/Camera.h"

#include <cmath>

namespace {

Vec3f Cross(const Vec3f& a, const Vec3f& b)
{
    return Vec3f{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// v turned by -angle about the unit axis k, for v perpendicular to k.
Vec3f TurnAbout(const Vec3f& v, const Vec3f& k, float c, float s)
{
    Vec3f kv = Cross(k, v);
    return Vec3f{v.x * c - kv.x * s, v.y * c - kv.y * s, v.z * c - kv.z * s};
}

}  // namespace

CCamera StartCamera()
{
    // The direction is (0, -2, -3) / sqrt(13). The up vector's z differs
    // from -0.5547002 in its fourth digit, as the camera has always had it.
    return CCamera{
        {0.0f, 15.0f, 21.0f},
        {0.0f, -0.5547002f, -0.8320503f},
        {0.0f, 0.8320503f, -0.5554002f},
    };
}

namespace {

bool MoveEye(CCamera& c, int key)
{
    const Vec3f& d = c.direction;
    Vec3f side = Cross(d, c.up);
    float horizontal = std::sqrt(d.x * d.x + d.y * d.y);
    float sign = 1.0f;
    switch (key) {
    case kKeyRight:
        sign = -1.0f;
        [[fallthrough]];
    case kKeyLeft:
        c.eye.x += sign * kCameraStep * side.x;
        c.eye.y += sign * kCameraStep * side.y;
        c.eye.z += sign * kCameraStep * side.z;
        return true;
    case kKeyDown:
        sign = -1.0f;
        [[fallthrough]];
    case kKeyUp:
        if (horizontal > 0.0f) {
            c.eye.x += sign * kCameraStep * d.x / horizontal;
            c.eye.y += sign * kCameraStep * d.y / horizontal;
        }
        return true;
    case kKeyPageUp:
        c.eye.z += kCameraStep;
        return true;
    case kKeyPageDown:
        c.eye.z -= kCameraStep;
        return true;
    default:
        return false;
    }
}

}  // namespace

bool MoveCamera(CCamera& c, int key)
{
    if (!MoveEye(c, key))
        return false;
    if (c.eye.z < kMinEyeHeight)
        c.eye.z = kMinEyeHeight;
    return true;
}

void TurnCamera(CCamera& c, int dx, int dy)
{
    // The pitch turns direction and up about their common normal. For an
    // orthonormal pair this is d' = d cos a - u sin a, u' = d sin a + u cos a;
    // the start camera's pair is not quite orthonormal (its up vector is
    // 1.0004 long and 0.04 degree off square), and those formulas would then
    // stretch and shear it a little with every drag, where a true rotation
    // keeps both lengths and the angle between them.
    float a = static_cast<float>(dy) * kCameraTurnPerPixel;
    Vec3f d1 = c.direction, u1 = c.up;
    Vec3f n = Cross(c.direction, c.up);
    float nLength = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (nLength > 0.0f) {
        Vec3f k{n.x / nLength, n.y / nLength, n.z / nLength};
        float ca = std::cos(a), sa = std::sin(a);
        d1 = TurnAbout(c.direction, k, ca, sa);
        u1 = TurnAbout(c.up, k, ca, sa);
    }

    float b = static_cast<float>(dx) * kCameraTurnPerPixel;
    float cb = std::cos(b), sb = std::sin(b);
    c.direction = Vec3f{d1.x * cb - d1.y * sb, d1.x * sb + d1.y * cb, d1.z};
    c.up = Vec3f{u1.x * cb - u1.y * sb, u1.x * sb + u1.y * cb, u1.z};
}
