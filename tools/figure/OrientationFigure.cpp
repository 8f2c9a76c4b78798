#include "tools/figure/OrientationFigure.h"

#include "kinematics/Kinematics.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWidth = 480, kHeight = 420, kScale = 150;

struct V3 {
    double x, y, z;
};
V3 operator+(V3 a, V3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
V3 operator*(double k, V3 a)
{
    return {k * a.x, k * a.y, k * a.z};
}
V3 Cross(V3 a, V3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V3 a, V3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
V3 Unit(V3 a)
{
    const double n = std::sqrt(Dot(a, a));
    return n > 0 ? (1 / n) * a : a;
}

// The view: from azimuth 30 degrees to the right of -y, 22 degrees above.
struct Point {
    double x, y;
};
Point Project(V3 p)
{
    const double az = -60 * kPi / 180, el = 22 * kPi / 180;
    const double sx = -std::sin(az) * p.x + std::cos(az) * p.y;
    const double depth = std::cos(az) * p.x + std::sin(az) * p.y;
    const double sy = std::cos(el) * p.z - std::sin(el) * depth;
    return {kWidth / 2 + kScale * sx, kHeight * 0.6 - kScale * sy};
}

class CSvg {
public:
    void Line(V3 a, V3 b, const char* colour, double width, bool dashed = false)
    {
        const Point p = Project(a), q = Project(b);
        Add("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"%.1f\"%s/>", p.x, p.y,
            q.x, q.y, colour, width, dashed ? " stroke-dasharray=\"5 4\"" : "");
    }
    // An arrow from the origin to `tip`, labelled at its end.
    void Arrow(V3 tip, const char* colour, double width, const char* label, bool dashed = false)
    {
        Line({0, 0, 0}, tip, colour, width, dashed);
        const Point p = Project(tip);
        Add("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\" fill=\"%s\"/>", p.x, p.y, width + 1.5, colour);
        Text(1.12 * tip, colour, label);
    }
    // The arc of points f(t), t from 0 to 1, labelled at its middle.
    template <class F>
    void Arc(F f, const char* colour, const char* label)
    {
        std::string points;
        for (int i = 0; i <= 40; ++i) {
            const Point p = Project(f(i / 40.0));
            char xy[48];
            std::snprintf(xy, sizeof xy, "%.1f,%.1f ", p.x, p.y);
            points += xy;
        }
        Add("<polyline points=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.6\"/>", points.c_str(), colour);
        Text(1.18 * f(0.5), colour, label);
    }
    void Text(V3 at, const char* colour, const char* text)
    {
        const Point p = Project(at);
        Add("<text x=\"%.1f\" y=\"%.1f\" fill=\"%s\" font-family=\"sans-serif\" font-size=\"15\" "
            "text-anchor=\"middle\" dominant-baseline=\"middle\">%s</text>",
            p.x, p.y, colour, text);
    }
    void Caption(double y, const char* text)
    {
        Add("<text x=\"%.1f\" y=\"%.1f\" font-family=\"sans-serif\" font-size=\"14\" text-anchor=\"middle\">%s</text>",
            kWidth / 2, y, text);
    }
    std::string Document() const
    {
        char head[256];
        std::snprintf(head, sizeof head,
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f "
                      "%.0f\">\n<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
                      kWidth, kHeight, kWidth, kHeight);
        return head + m_strBody + "</svg>\n";
    }

private:
    template <class... A>
    void Add(const char* format, A... values)
    {
        char element[2048];
        std::snprintf(element, sizeof element, format, values...);
        m_strBody += element;
        m_strBody += '\n';
    }
    std::string m_strBody;
};

// Turns v about the unit axis u by t radians (Rodrigues).
V3 Turn(V3 v, V3 u, double t)
{
    return std::cos(t) * v + std::sin(t) * Cross(u, v) + (Dot(u, v) * (1 - std::cos(t))) * u;
}

}  // namespace

std::string OrientationFigure(const ToolPose& pose)
{
    const double a = pose.alpha * kPi / 180, b = pose.beta * kPi / 180, g = pose.gamma * kPi / 180;
    double m[3][3];
    PoseRotation(pose, m);
    const V3 u{std::sin(b) * std::sin(a), -std::cos(a) * std::sin(b), std::cos(b)};
    const V3 X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};
    // The hand's frame: the columns of the pose's rotation.
    const V3 hx{m[0][0], m[1][0], m[2][0]}, hy{m[0][1], m[1][1], m[2][1]}, hz{m[0][2], m[1][2], m[2][2]};

    CSvg svg;
    // The base frame, dashed, in the scene's colours: x blue, y green, z red.
    svg.Arrow(X, "#3a5fcd", 1.2, "x", true);
    svg.Arrow(Y, "#2e8b57", 1.2, "y", true);
    svg.Arrow(Z, "#cd3333", 1.2, "z", true);
    svg.Line({0, -1, 0}, {0, 0, 0}, "#999999", 1, true);
    svg.Text({0, -1.12, 0}, "#999999", "-y");
    // Alpha: the axis's direction around the vertical, from -y toward +x, in
    // the ground plane; beta: its tilt from the vertical.
    const V3 ground{std::sin(a), -std::cos(a), 0};
    svg.Line({0, 0, 0}, std::sin(b) * ground, "#777777", 1, true);
    svg.Line(std::sin(b) * ground, u, "#777777", 1, true);
    svg.Arc([&](double t) { return 0.45 * V3{std::sin(a * t), -std::cos(a * t), 0}; }, "#000000", "α");
    svg.Arc([&](double t) { return 0.6 * Turn(Z, Unit(Cross(Z, ground)), b * t); }, "#000000", "β");
    svg.Arrow(1.3 * u, "#000000", 2, "u");
    // Gamma: the turn about u, seen on a circle around it.
    const V3 across = Unit(std::fabs(Dot(u, Z)) < 0.9 ? Cross(u, Z) : Cross(u, X));
    svg.Arc([&](double t) { return 1.05 * u + 0.35 * Turn(across, u, g * t); }, "#b8860b", "γ");
    // The hand's frame, solid.
    svg.Arrow(hx, "#3a5fcd", 2.4, "x'");
    svg.Arrow(hy, "#2e8b57", 2.4, "y'");
    svg.Arrow(hz, "#cd3333", 2.4, "z'");

    char caption[160];
    std::snprintf(caption, sizeof caption, "alpha = %g°, bêta = %g°, gamma = %g°", pose.alpha, pose.beta, pose.gamma);
    svg.Caption(22, caption);
    svg.Caption(kHeight - 32, "axe u = (sin β sin α, −cos α sin β, cos β)");
    svg.Caption(kHeight - 12, "la main (x', y', z') tourne de γ autour de u");
    return svg.Document();
}
