#include "tools/datagen/Geometry.h"

#include <algorithm>
#include <cmath>

namespace datagen {

namespace {
const double kPi = 3.14159265358979323846;
const double kDegToRad = kPi / 180.0;

float Quantize(double v)
{
    return static_cast<float>(std::round(v * 1e6) / 1e6);
}
}  // namespace

double Length(Vec3 a)
{
    return std::sqrt(Dot(a, a));
}

Vec3 Normalize(Vec3 a)
{
    const double l = Length(a);
    return l > 0.0 ? a * (1.0 / l) : a;
}

Frame Frame::operator*(const Frame& local) const
{
    Frame r;
    r.ex = Direction(local.ex);
    r.ey = Direction(local.ey);
    r.ez = Direction(local.ez);
    r.origin = Point(local.origin);
    return r;
}

Frame Translation(Vec3 t)
{
    Frame f;
    f.origin = t;
    return f;
}

// Exact quarter turns: the arm's fixed Rx(90) must not leave 6e-17 residues
// that would show up as sub-ulp differences between identical links.
static void SinCosDegrees(double degrees, double& s, double& c)
{
    const double q = degrees / 90.0;
    if (q == std::floor(q)) {
        const long k = static_cast<long>(q) % 4;
        const long m = k < 0 ? k + 4 : k;
        const double sv[4] = {0, 1, 0, -1};
        const double cv[4] = {1, 0, -1, 0};
        s = sv[m];
        c = cv[m];
        return;
    }
    s = std::sin(degrees * kDegToRad);
    c = std::cos(degrees * kDegToRad);
}

Frame RotationX(double degrees)
{
    double s, c;
    SinCosDegrees(degrees, s, c);
    Frame f;
    f.ey = {0, c, s};
    f.ez = {0, -s, c};
    return f;
}

Frame RotationZ(double degrees)
{
    double s, c;
    SinCosDegrees(degrees, s, c);
    Frame f;
    f.ex = {c, s, 0};
    f.ey = {-s, c, 0};
    return f;
}

Frame AxisFrame(Vec3 origin, Vec3 zAxis, Vec3 xHint)
{
    Frame f;
    f.ez = Normalize(zAxis);
    f.ex = Normalize(xHint - f.ez * Dot(xHint, f.ez));
    f.ey = Cross(f.ez, f.ex);
    f.origin = origin;
    return f;
}

std::uint32_t MeshBuilder::Vertex(Vec3 position, Vec3 normal, double s, double t)
{
    m_Positions.push_back(position * scale);
    m_Normals.push_back(Normalize(normal));
    m_TexCoords.push_back({s * uvScale.x + uvOffset.x, t * uvScale.y + uvOffset.y});
    return static_cast<std::uint32_t>(m_Positions.size() - 1);
}

void MeshBuilder::Triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    m_Indices.push_back(a);
    m_Indices.push_back(b);
    m_Indices.push_back(c);
}

void MeshBuilder::Frustum(const Frame& f, double z0, double z1, double r0, double r1, int segments, bool capBottom,
                          bool capTop)
{
    // Side: one column of two vertices per angle, the first column repeated
    // at the end with s = 1 so the texture does not wrap backwards.
    const std::uint32_t first = static_cast<std::uint32_t>(m_Positions.size());
    for (int i = 0; i <= segments; ++i) {
        const double a = 2.0 * kPi * (i % segments) / segments;
        const double c = std::cos(a), s = std::sin(a);
        // Outward normal of the cone: radial part grows with the height,
        // axial part with the narrowing.
        const Vec3 n = f.Direction(Normalize({c * (z1 - z0), s * (z1 - z0), r0 - r1}));
        const double u = static_cast<double>(i) / segments;
        Vertex(f.Point({r0 * c, r0 * s, z0}), n, u, 0.0);
        Vertex(f.Point({r1 * c, r1 * s, z1}), n, u, 1.0);
    }
    for (int i = 0; i < segments; ++i) {
        const std::uint32_t b0 = first + 2 * i, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
        Triangle(b0, b1, t1);
        Triangle(b0, t1, t0);
    }
    auto cap = [&](double z, double r, bool top) {
        if (r <= 0.0)
            return;
        const Vec3 n = f.Direction({0, 0, top ? 1.0 : -1.0});
        const std::uint32_t centre = Vertex(f.Point({0, 0, z}), n, 0.5, 0.5);
        const std::uint32_t ring = static_cast<std::uint32_t>(m_Positions.size());
        for (int i = 0; i < segments; ++i) {
            const double a = 2.0 * kPi * i / segments;
            const double c = std::cos(a), s = std::sin(a);
            Vertex(f.Point({r * c, r * s, z}), n, 0.5 + 0.5 * c, 0.5 + 0.5 * s);
        }
        for (int i = 0; i < segments; ++i) {
            const std::uint32_t a = ring + i, b = ring + (i + 1) % segments;
            if (top)
                Triangle(centre, a, b);
            else
                Triangle(centre, b, a);
        }
    };
    if (capBottom)
        cap(z0, r0, false);
    if (capTop)
        cap(z1, r1, true);
}

void MeshBuilder::Box(const Frame& f, Vec3 lo, Vec3 hi)
{
    const Vec3 c = (lo + hi) * 0.5, h = (hi - lo) * 0.5;
    // For each face: its normal and two in-face axes u, v with u x v = n, so
    // the corners -u-v, +u-v, +u+v, -u+v run counter-clockwise from outside.
    struct Face {
        Vec3 n, u, v;
    };
    const Face faces[6] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}},
    };
    auto scale = [&](Vec3 a) { return Vec3{a.x * h.x, a.y * h.y, a.z * h.z}; };
    for (const Face& face : faces) {
        const Vec3 centre = c + scale(face.n);
        const Vec3 u = scale(face.u), v = scale(face.v);
        const Vec3 n = f.Direction(face.n);
        const std::uint32_t a = Vertex(f.Point(centre - u - v), n, 0, 0);
        const std::uint32_t b = Vertex(f.Point(centre + u - v), n, 1, 0);
        const std::uint32_t d = Vertex(f.Point(centre + u + v), n, 1, 1);
        const std::uint32_t e = Vertex(f.Point(centre - u + v), n, 0, 1);
        Triangle(a, b, d);
        Triangle(a, d, e);
    }
}

void MeshBuilder::Loop(const Frame& f, const std::vector<Vec2>& points, const std::vector<Vec2>& normals, double z0,
                       double z1, bool caps)
{
    const int n = static_cast<int>(points.size());
    std::vector<double> along(n + 1, 0.0);
    for (int i = 1; i <= n; ++i) {
        const Vec2 a = points[i - 1], b = points[i % n];
        along[i] = along[i - 1] + std::hypot(b.x - a.x, b.y - a.y);
    }
    const std::uint32_t first = static_cast<std::uint32_t>(m_Positions.size());
    for (int i = 0; i <= n; ++i) {
        const Vec2 p = points[i % n], q = normals[i % n];
        const Vec3 nn = f.Direction({q.x, q.y, 0});
        const double u = along[i] / along[n];
        Vertex(f.Point({p.x, p.y, z0}), nn, u, 0.0);
        Vertex(f.Point({p.x, p.y, z1}), nn, u, 1.0);
    }
    for (int i = 0; i < n; ++i) {
        const std::uint32_t b0 = first + 2 * i, t0 = b0 + 1, b1 = b0 + 2, t1 = b0 + 3;
        Triangle(b0, b1, t1);
        Triangle(b0, t1, t0);
    }
    if (!caps)
        return;
    Vec2 lo = points[0], hi = points[0], mid{0, 0};
    for (const Vec2& p : points) {
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y)};
        mid = {mid.x + p.x / n, mid.y + p.y / n};
    }
    const double span = std::fmax(hi.x - lo.x, hi.y - lo.y);
    for (int top = 0; top < 2; ++top) {
        const double z = top ? z1 : z0;
        const Vec3 nn = f.Direction({0, 0, top ? 1.0 : -1.0});
        auto uv = [&](Vec2 p) { return Vec2{(p.x - lo.x) / span, (p.y - lo.y) / span}; };
        const Vec2 cm = uv(mid);
        const std::uint32_t centre = Vertex(f.Point({mid.x, mid.y, z}), nn, cm.x, cm.y);
        const std::uint32_t ring = static_cast<std::uint32_t>(m_Positions.size());
        for (int i = 0; i < n; ++i) {
            const Vec2 t = uv(points[i]);
            Vertex(f.Point({points[i].x, points[i].y, z}), nn, t.x, t.y);
        }
        for (int i = 0; i < n; ++i) {
            const std::uint32_t a = ring + i, b = ring + (i + 1) % n;
            if (top)
                Triangle(centre, a, b);
            else
                Triangle(centre, b, a);
        }
    }
}

void MeshBuilder::Slab(const Frame& f, Vec2 c0, double r0, Vec2 c1, double r1, double z0, double z1, int segments)
{
    // Work in a 2-D basis whose first axis runs from c0 to c1.
    const double dx = c1.x - c0.x, dy = c1.y - c0.y;
    const double len = std::hypot(dx, dy);
    const Vec2 ax{dx / len, dy / len}, ay{-ax.y, ax.x};
    // The outer tangents touch both circles where the normal n satisfies
    // n . (c1 - c0) = r0 - r1; alpha is that normal's angle on the upper side.
    const double nx = (r0 - r1) / len;
    const double alpha = std::atan2(std::sqrt(1.0 - nx * nx), nx);
    std::vector<Vec2> points, normals;
    auto arc = [&](Vec2 c, double r, double from, double to) {
        const int steps = std::max(2, static_cast<int>(std::ceil(segments * (to - from) / (2.0 * kPi))));
        for (int i = 0; i <= steps; ++i) {
            const double a = from + (to - from) * i / steps;
            const Vec2 n{std::cos(a) * ax.x + std::sin(a) * ay.x, std::cos(a) * ax.y + std::sin(a) * ay.y};
            points.push_back({c.x + r * n.x, c.y + r * n.y});
            normals.push_back(n);
        }
    };
    arc(c1, r1, -alpha, alpha);
    arc(c0, r0, alpha, 2.0 * kPi - alpha);
    Loop(f, points, normals, z0, z1, true);
}

void MeshBuilder::Cap(const Frame& f, double radius, double height, int segments, int rings)
{
    const std::uint32_t first = static_cast<std::uint32_t>(m_Positions.size());
    for (int j = 0; j <= rings; ++j) {
        // Rings from the base (phi = 0) to the pole (phi = 90 degrees); the
        // pole is a ring of coincident vertices so every column keeps its s.
        const double phi = 0.5 * kPi * j / rings;
        const double cr = std::cos(phi), sr = std::sin(phi);
        for (int i = 0; i <= segments; ++i) {
            const double a = 2.0 * kPi * (i % segments) / segments;
            const double c = std::cos(a), s = std::sin(a);
            const Vec3 p{radius * cr * c, radius * cr * s, height * sr};
            // Normal of the ellipsoid x^2/r^2 + y^2/r^2 + z^2/h^2 = 1.
            const Vec3 n{p.x / (radius * radius), p.y / (radius * radius), p.z / (height * height)};
            Vertex(f.Point(p), f.Direction(n), static_cast<double>(i) / segments, static_cast<double>(j) / rings);
        }
    }
    const int row = segments + 1;
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            const std::uint32_t a = first + j * row + i, b = a + 1, c = a + row + 1, d = a + row;
            Triangle(a, b, c);
            if (j + 1 < rings)
                Triangle(a, c, d);
        }
    }
}

MeshData MeshBuilder::ToMesh() const
{
    MeshData mesh;
    mesh.version = 12;
    mesh.textured = true;
    for (std::size_t i = 0; i < m_Positions.size(); ++i) {
        const Vec3 p = m_Positions[i], n = m_Normals[i];
        const Vec2 t = m_TexCoords[i];
        mesh.vertices.insert(mesh.vertices.end(), {Quantize(p.x), Quantize(p.y), Quantize(p.z)});
        mesh.normals.insert(mesh.normals.end(), {Quantize(n.x), Quantize(n.y), Quantize(n.z)});
        mesh.texCoords.insert(mesh.texCoords.end(), {Quantize(t.x), Quantize(t.y)});
    }
    mesh.indices = m_Indices;
    return mesh;
}

}  // namespace datagen
