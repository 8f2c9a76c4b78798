#include "tools/datagen/Scenery.h"

#include "tools/datagen/Geometry.h"

#include <cmath>
#include <cstdint>

namespace datagen {

namespace {
const double kPi = 3.14159265358979323846;
}  // namespace

MeshData BuildGround()
{
    // Rings closer together near the arm; the light is directional, so the
    // lighting is the same everywhere and the rings only serve the texture
    // interpolation.
    const int segments = 48, rings = 16;
    MeshBuilder m;
    const Vec3 up{0, 0, 1};
    auto uv = [](double x, double y) { return Vec2{x / kGroundTextureSpan, y / kGroundTextureSpan}; };
    const std::uint32_t centre = m.Vertex({0, 0, kGroundHeight}, up, 0.0, 0.0);
    for (int j = 1; j <= rings; ++j) {
        const double r = kGroundRadius * std::pow(static_cast<double>(j) / rings, 1.6);
        for (int i = 0; i < segments; ++i) {
            const double a = 2.0 * kPi * i / segments;
            const double x = r * std::cos(a), y = r * std::sin(a);
            const Vec2 t = uv(x, y);
            m.Vertex({x, y, kGroundHeight}, up, t.x, t.y);
        }
    }
    auto ring = [&](int j, int i) { return static_cast<std::uint32_t>(1 + (j - 1) * segments + i % segments); };
    for (int i = 0; i < segments; ++i)
        m.Triangle(centre, ring(1, i), ring(1, i + 1));
    for (int j = 1; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            m.Triangle(ring(j, i), ring(j + 1, i), ring(j + 1, i + 1));
            m.Triangle(ring(j, i), ring(j + 1, i + 1), ring(j, i + 1));
        }
    }
    return m.ToMesh();
}

MeshData BuildSkyDome()
{
    const int segments = 48, rings = 16;
    MeshBuilder m;
    for (int j = 0; j <= rings; ++j) {
        // The last ring is the zenith, repeated once per column so each
        // column keeps its own s.
        const double elevation = 0.5 * kPi * j / rings;
        const double ce = j == rings ? 0.0 : std::cos(elevation), se = std::sin(elevation);
        for (int i = 0; i <= segments; ++i) {
            const double a = 2.0 * kPi * (i % segments) / segments;
            const Vec3 p{kSkyDomeRadius * ce * std::cos(a), kSkyDomeRadius * ce * std::sin(a),
                         j == 0 ? 0.0 : kSkyDomeRadius * se};
            // The clouds go round twice: the texture repeats along s.
            m.Vertex(p, p * -1.0, 2.0 * i / segments, static_cast<double>(j) / rings);
        }
    }
    const int row = segments + 1;
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            const std::uint32_t a = j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            // Reverse of the outward order: counter-clockwise from inside.
            m.Triangle(a, c, b);
            if (j + 1 < rings)
                m.Triangle(a, d, c);
        }
    }
    return m.ToMesh();
}

}  // namespace datagen
