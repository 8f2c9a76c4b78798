#pragma once
// Small geometry kit of the data generator: vectors, rigid frames and a mesh
// builder with the few primitives the arm and the scenery are made of
// (frustums, boxes, slabs with rounded ends). Double precision throughout;
// the values are rounded once, when the mesh is handed over for writing.
//
// Winding: every primitive emits counter-clockwise triangles seen from the
// side its normals point to, which is what back-face culling keeps.
#include "formats/MeshFormat.h"

#include <cstdint>
#include <vector>

namespace datagen {

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, double k)
{
    return {a.x * k, a.y * k, a.z * k};
}
inline double Dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Length(Vec3 a);
Vec3 Normalize(Vec3 a);

// A rigid frame: three orthonormal axes and an origin, all expressed in the
// parent frame. Composition follows the GL matrix stack: (A * B) applies B
// first, in A's local coordinates.
struct Frame {
    Vec3 ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
    Vec3 origin{};

    Vec3 Point(Vec3 p) const { return origin + ex * p.x + ey * p.y + ez * p.z; }
    Vec3 Direction(Vec3 d) const { return ex * d.x + ey * d.y + ez * d.z; }
    Frame operator*(const Frame& local) const;
};

Frame Translation(Vec3 t);
Frame RotationX(double degrees);
Frame RotationZ(double degrees);
// A frame at origin whose z axis is the given direction; x is taken from the
// hint with its z part removed (the hint must not be parallel to the axis).
Frame AxisFrame(Vec3 origin, Vec3 zAxis, Vec3 xHint);

struct Vec2 {
    double x = 0.0, y = 0.0;
};

class MeshBuilder {
public:
    std::uint32_t Vertex(Vec3 position, Vec3 normal, double s, double t);
    void Triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);

    // Texture coordinates of the primitives below run over [0, 1] and are
    // then mapped to s * uvScale + uvOffset (per component).
    Vec2 uvScale{1.0, 1.0};
    Vec2 uvOffset{0.0, 0.0};
    // Uniform scale applied to every position (normals are unaffected).
    double scale = 1.0;

    // A cone frustum around the frame's z axis from z0 (radius r0) to z1
    // (radius r1), z1 > z0, closed by flat caps on request.
    void Frustum(const Frame& f, double z0, double z1, double r0, double r1, int segments, bool capBottom = true,
                 bool capTop = true);
    // An axis-aligned box of the frame between two corners.
    void Box(const Frame& f, Vec3 lo, Vec3 hi);
    // The convex hull of two circles of the frame's xy plane (a link with
    // rounded ends, possibly tapered), extruded along z from z0 to z1.
    void Slab(const Frame& f, Vec2 c0, double r0, Vec2 c1, double r1, double z0, double z1, int segments);
    // A half ellipsoid on the frame's xy plane, bulging toward +z (a rounded
    // cover), open at its base.
    void Cap(const Frame& f, double radius, double height, int segments, int rings);

    std::size_t TriangleCount() const { return m_Indices.size() / 3; }
    // Rounds every value to a millionth before it becomes a float, so that
    // the files do not depend on the last bits of the maths library (and
    // -0.01 stays the float nearest to -0.01).
    MeshData ToMesh() const;

private:
    void Loop(const Frame& f, const std::vector<Vec2>& points, const std::vector<Vec2>& normals, double z0, double z1,
              bool caps);

    std::vector<Vec3> m_Positions, m_Normals;
    std::vector<Vec2> m_TexCoords;
    std::vector<std::uint32_t> m_Indices;
};

}  // namespace datagen
