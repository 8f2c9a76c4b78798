#include "collision/LinkStandIn.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

using Point = std::array<double, 3>;

// The triangles are cut until no edge is longer than this share of the
// mesh's longest side: for the default arm's upper arm, 28 pose units. The
// count of small triangles stays bounded whatever the mesh's scale.
constexpr double kLongestEdgeShare = 1.0 / 20.0;

double Distance(const Point& a, const Point& b)
{
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Halves the triangle across its longest edge until every edge is at most
// `longestEdge` long, its corners added three by three.
void AddSmall(const Point& a, const Point& b, const Point& c, double longestEdge, std::vector<Point>& corners)
{
    const double ab = Distance(a, b), bc = Distance(b, c), ca = Distance(c, a);
    const double longest = std::max({ab, bc, ca});
    if (!(longest > longestEdge) || !std::isfinite(longest)) {
        corners.insert(corners.end(), {a, b, c});
        return;
    }
    auto middle = [](const Point& p, const Point& q) {
        return Point{0.5 * (p[0] + q[0]), 0.5 * (p[1] + q[1]), 0.5 * (p[2] + q[2])};
    };
    if (longest == ab) {
        AddSmall(a, middle(a, b), c, longestEdge, corners);
        AddSmall(middle(a, b), b, c, longestEdge, corners);
    } else if (longest == bc) {
        AddSmall(a, b, middle(b, c), longestEdge, corners);
        AddSmall(a, middle(b, c), c, longestEdge, corners);
    } else {
        AddSmall(a, b, middle(c, a), longestEdge, corners);
        AddSmall(middle(c, a), b, c, longestEdge, corners);
    }
}

double Volume(const LinkStandIn& s)
{
    switch (s.shape) {
    case StandInShape::Box:
        return 8.0 * s.half[0] * s.half[1] * s.half[2];
    case StandInShape::Capsule:
        return M_PI * s.radius * s.radius * (2.0 * s.halfLength + 4.0 / 3.0 * s.radius);
    case StandInShape::Cylinder:
        return M_PI * s.radius * s.radius * 2.0 * s.halfLength;
    }
    return 0.0;
}

// The square of a point's distance from the line along the third axis
// through `centre`.
double Across2(const Point& q, const double centre[3], int u, int v)
{
    const double du = q[u] - centre[u], dv = q[v] - centre[v];
    return du * du + dv * dv;
}

// The cylinder and the capsule along `axis` whose line runs through the
// middle of the points' extent across it.
void Round(const std::vector<const Point*>& points, const Point& low, const Point& high, int axis,
           LinkStandIn* cylinder, LinkStandIn* capsule)
{
    LinkStandIn s;
    s.axis = axis;
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    for (int k = 0; k < 3; ++k)
        s.centre[k] = 0.5 * (low[k] + high[k]);
    double radius2 = 0.0;
    for (const Point* q : points)
        radius2 = std::max(radius2, Across2(*q, s.centre, u, v));
    s.radius = std::sqrt(radius2);
    *cylinder = s;
    cylinder->shape = StandInShape::Cylinder;
    cylinder->halfLength = 0.5 * (high[axis] - low[axis]);
    // Each point needs the segment to come within its cap's reach of it.
    double top = -std::numeric_limits<double>::infinity(), bottom = std::numeric_limits<double>::infinity();
    for (const Point* q : points) {
        const double reach = std::sqrt(std::max(0.0, radius2 - Across2(*q, s.centre, u, v)));
        top = std::max(top, (*q)[axis] - reach);
        bottom = std::min(bottom, (*q)[axis] + reach);
    }
    if (bottom > top)  // every point within one ball: a segment of no length
        bottom = top = 0.5 * (bottom + top);
    *capsule = s;
    capsule->shape = StandInShape::Capsule;
    capsule->centre[axis] = 0.5 * (top + bottom);
    capsule->halfLength = 0.5 * (top - bottom);
}

// A part of the mesh: its small triangles (by their first corner) and the
// solid around them.
struct Part {
    std::vector<std::size_t> triangles;
    LinkStandIn fit;
    double volume = 0.0;
};

// The small triangles: their corners three by three, each the index of a
// point (corners shared by several triangles are fitted once).
struct Triangles {
    std::vector<Point> points;
    std::vector<std::uint32_t> corners;
    std::vector<Point> centres;       // per triangle (at its first corner / 3)
    std::vector<std::uint32_t> seen;  // per point: the last fit that took it
    std::uint32_t fits = 0;

    explicit Triangles(const std::vector<Point>& corners);
    const Point& Corner(std::size_t c) const { return points[corners[c]]; }
};

Triangles::Triangles(const std::vector<Point>& all)
{
    struct Hash {
        std::size_t operator()(const Point& p) const
        {
            return std::hash<double>()(p[0]) ^ (std::hash<double>()(p[1]) * 31) ^ (std::hash<double>()(p[2]) * 961);
        }
    };
    std::unordered_map<Point, std::uint32_t, Hash> index;
    for (const Point& p : all) {
        const auto found = index.emplace(p, static_cast<std::uint32_t>(points.size()));
        if (found.second)
            points.push_back(p);
        corners.push_back(found.first->second);
    }
    seen.assign(points.size(), 0);
    for (std::size_t t = 0; t < corners.size(); t += 3)
        centres.push_back(Point{(Corner(t)[0] + Corner(t + 1)[0] + Corner(t + 2)[0]) / 3.0,
                                (Corner(t)[1] + Corner(t + 1)[1] + Corner(t + 2)[1]) / 3.0,
                                (Corner(t)[2] + Corner(t + 1)[2] + Corner(t + 2)[2]) / 3.0});
}

Part FitPart(Triangles& mesh, std::vector<std::size_t> triangles)
{
    std::vector<const Point*> points;
    Point low, high;
    low.fill(std::numeric_limits<double>::infinity());
    high.fill(-std::numeric_limits<double>::infinity());
    ++mesh.fits;
    for (std::size_t t : triangles)
        for (std::size_t c = t; c < t + 3; ++c) {
            const std::uint32_t i = mesh.corners[c];
            if (mesh.seen[i] == mesh.fits)
                continue;
            mesh.seen[i] = mesh.fits;
            const Point& p = mesh.points[i];
            points.push_back(&p);
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], p[k]);
                high[k] = std::max(high[k], p[k]);
            }
        }
    Part part;
    part.triangles = std::move(triangles);
    for (int k = 0; k < 3; ++k) {
        part.fit.centre[k] = 0.5 * (low[k] + high[k]);
        part.fit.half[k] = 0.5 * (high[k] - low[k]);
    }
    part.volume = Volume(part.fit);
    for (int axis = 0; axis < 3; ++axis) {
        LinkStandIn round[2];
        Round(points, low, high, axis, &round[0], &round[1]);
        for (const LinkStandIn& fit : round)
            if (Volume(fit) < part.volume) {
                part.fit = fit;
                part.volume = Volume(fit);
            }
    }
    return part;
}

double Centre(const Triangles& mesh, std::size_t t, int axis)
{
    return mesh.centres[t / 3][axis];
}

// The best cut of a part in two, across one axis at a quarter, half or
// three quarters of its triangles' centres: the two of least volume. False
// when the part cannot be cut (all its triangles' centres at one place).
bool Split(Triangles& mesh, const Part& part, Part* first, Part* second)
{
    double best = std::numeric_limits<double>::infinity();
    for (int axis = 0; axis < 3; ++axis) {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        for (std::size_t t : part.triangles) {
            low = std::min(low, Centre(mesh, t, axis));
            high = std::max(high, Centre(mesh, t, axis));
        }
        for (double at : {0.25, 0.5, 0.75}) {
            const double cut = low + at * (high - low);
            std::vector<std::size_t> below, above;
            for (std::size_t t : part.triangles)
                (Centre(mesh, t, axis) < cut ? below : above).push_back(t);
            if (below.empty() || above.empty())
                continue;
            Part a = FitPart(mesh, std::move(below)), b = FitPart(mesh, std::move(above));
            if (a.volume + b.volume < best) {
                best = a.volume + b.volume;
                *first = std::move(a);
                *second = std::move(b);
            }
        }
    }
    return best < std::numeric_limits<double>::infinity();
}

}  // namespace

std::vector<LinkStandIn> FitStandIns(const MeshData& mesh, double scale, int pieces)
{
    std::vector<Point> corners;
    auto vertex = [&](std::uint32_t i) {
        return Point{scale * mesh.vertices[3 * i], scale * mesh.vertices[3 * i + 1], scale * mesh.vertices[3 * i + 2]};
    };
    double low[3], high[3];
    std::fill(low, low + 3, std::numeric_limits<double>::infinity());
    std::fill(high, high + 3, -std::numeric_limits<double>::infinity());
    for (std::size_t i = 0; i < mesh.vertices.size(); ++i) {
        low[i % 3] = std::min(low[i % 3], scale * mesh.vertices[i]);
        high[i % 3] = std::max(high[i % 3], scale * mesh.vertices[i]);
    }
    const double longestEdge = kLongestEdgeShare * std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
    for (std::size_t t = 0; t + 2 < mesh.indices.size(); t += 3)
        AddSmall(vertex(mesh.indices[t]), vertex(mesh.indices[t + 1]), vertex(mesh.indices[t + 2]), longestEdge,
                 corners);
    Triangles small(corners);
    std::vector<std::size_t> all;
    for (std::size_t t = 0; t < corners.size(); t += 3)
        all.push_back(t);
    std::vector<Part> parts;
    if (!all.empty())
        parts.push_back(FitPart(small, std::move(all)));
    // The largest part is cut, again and again: a cut that saves no volume
    // yet lets the next ones fit closer.
    while (static_cast<int>(parts.size()) < pieces) {
        const auto largest = std::max_element(parts.begin(), parts.end(),
                                              [](const Part& a, const Part& b) { return a.volume < b.volume; });
        Part first, second;
        if (!Split(small, *largest, &first, &second))
            break;
        *largest = std::move(first);
        parts.push_back(std::move(second));
    }
    std::vector<LinkStandIn> standIns;
    for (const Part& part : parts)
        standIns.push_back(part.fit);
    return standIns;
}
