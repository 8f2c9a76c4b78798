#include "tools/mesh/Placement.h"

#include <cmath>

namespace {

// Sine and cosine of an angle in degrees, exact at multiples of 90: a
// quarter turn must give 0 and 1, not 6e-17, or a flat face would acquire a
// tilt and its normals digits that no text format carries back exactly.
void SinCosDegrees(double degrees, double& s, double& c)
{
    double turns = std::fmod(degrees, 360.0);
    if (turns < 0)
        turns += 360.0;
    if (turns == 0.0) {
        s = 0;
        c = 1;
        return;
    }
    if (turns == 90.0) {
        s = 1;
        c = 0;
        return;
    }
    if (turns == 180.0) {
        s = 0;
        c = -1;
        return;
    }
    if (turns == 270.0) {
        s = -1;
        c = 0;
        return;
    }
    const double radians = degrees * M_PI / 180.0;
    s = std::sin(radians);
    c = std::cos(radians);
}

}  // namespace

Affine Multiply(const Affine& a, const Affine& b)  // a after b
{
    Affine r;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = j == 3 ? a.m[i][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                sum += a.m[i][k] * b.m[k][j];
            r.m[i][j] = sum;
        }
    }
    return r;
}

Affine FromAssimp(const aiMatrix4x4& t)
{
    Affine r;
    const double rows[3][4] = {{t.a1, t.a2, t.a3, t.a4}, {t.b1, t.b2, t.b3, t.b4}, {t.c1, t.c2, t.c3, t.c4}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = rows[i][j];
    return r;
}

Affine StepMatrix(const MeshTransform& step)
{
    Affine r;
    switch (step.kind) {
    case MeshTransform::Scale:
        for (int i = 0; i < 3; ++i)
            r.m[i][i] = step.x;
        break;
    case MeshTransform::Translate:
        r.m[0][3] = step.x;
        r.m[1][3] = step.y;
        r.m[2][3] = step.z;
        break;
    default: {
        // The plane turned: (y, z) about x, (z, x) about y, (x, y) about z.
        const int axis = step.kind - MeshTransform::RotateX;
        const int i = (axis + 1) % 3, j = (axis + 2) % 3;
        double s, c;
        SinCosDegrees(step.x, s, c);
        r.m[i][i] = c;
        r.m[i][j] = -s;
        r.m[j][i] = s;
        r.m[j][j] = c;
        break;
    }
    }
    return r;
}

double Determinant(const Affine& a)
{
    const double(*m)[4] = a.m;
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

// The cofactor matrix of the linear part has the direction of its inverse
// transpose (up to the determinant's sign, which is corrected) and needs no
// division.
void NormalMatrix(const Affine& a, double n[3][3])
{
    const double(*m)[4] = a.m;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            n[i][j] = m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1];
        }
    }
    // Scaled so that its largest entry is 1: a tiny scale factor must not
    // shrink the normals toward zero before they are renormalised.
    double largest = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            largest = std::fmax(largest, std::fabs(n[i][j]));
    const double factor = largest > 0.0 ? (Determinant(a) < 0 ? -1.0 : 1.0) / largest : 1.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            n[i][j] *= factor;
}

bool Normalise(double n[3])
{
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!std::isfinite(length) || length < 1e-12)
        return false;
    if (std::fabs(length - 1.0) > 1e-6)
        for (int i = 0; i < 3; ++i)
            n[i] /= length;
    return true;
}
