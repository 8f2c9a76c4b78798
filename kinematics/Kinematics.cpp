// The arm's geometry (see Kinematics.h).
//
//   1. Lengths            (MakeArmLengths)
//   2. MGD      (ComputeMGD, ComputeMGDFrame, ComputeMGDPosition,
//                          WristCentreDistance)
//   3. Target orientation (PoseRotation)
#include "kinematics/Kinematics.h"

#include "kinematics/ArmGeometry.h"

#include <cmath>

namespace {

// ============================================================================
// Shared pieces
// ============================================================================

double Sgn(double v)
{
    return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0);
}

// A radicand of the axis formula: rounding can make r_ii - cg slightly
// negative near a half turn, which would give a not-a-number axis. Such a
// value is taken as 0; a not-a-number (from not-a-number angles) is kept.
double AxisRadicand(double numerator, double denominator)
{
    double v = numerator / denominator;
    return v < 0 ? 0.0 : v;
}

}  // namespace

// ============================================================================
// 1. Lengths
// ============================================================================

ArmLengths MakeArmLengths(float fBodySizeZ, float fShoulderSizeX, float fUpperArmSizeX, float fElbowSizeY,
                          float fLowerArmSizeZ)
{
    ArmLengths l;
    l.h = 100.0 * static_cast<double>(fBodySizeZ);
    l.a2 = 100.0 * static_cast<double>(fShoulderSizeX);
    l.a3 = 100.0 * static_cast<double>(fUpperArmSizeX);
    l.e = 100.0 * std::fabs(static_cast<double>(fElbowSizeY));
    l.d = 100.0 * static_cast<double>(fLowerArmSizeZ) + l.e;
    return l;
}

// ============================================================================
// 2. MGD
// ============================================================================

namespace {

// The sines and cosines of the six joints, each angle through the models'
// own factor.
struct JointTrig {
    double c1, s1, c2, s2, c3, s3, c4, s4, c5, s5, c6, s6;
};

JointTrig TrigOf(const JointAngles& angles)
{
    const double t1 = angles.A12 * kDegToRad, t2 = angles.A23 * kDegToRad, t3 = angles.A34 * kDegToRad;
    const double t4 = angles.A45 * kDegToRad, t5 = angles.A56 * kDegToRad, t6 = angles.A67 * kDegToRad;
    return {std::cos(t1), std::sin(t1), std::cos(t2), std::sin(t2), std::cos(t3), std::sin(t3),
            std::cos(t4), std::sin(t4), std::cos(t5), std::sin(t5), std::cos(t6), std::sin(t6)};
}

// The hand's rotation R: Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90) Rz(t4) Rx(-90)
// Rz(t5) Rx(+90) Rz(t6), multiplied from the left. The quarter turns are
// exact permutations with one sign change, so the product is written out by
// columns: only the joint rotations round. A rounded cos 90 (6e-17) would
// turn the zero differences of every half turn into signs.
void HandRotation(const JointTrig& t, double r[3][3])
{
    const double c23 = t.c2 * t.c3 - t.s2 * t.s3;
    const double s23 = t.s2 * t.c3 + t.c2 * t.s3;
    // D = C Rz(t4); E = D Rx(-90) = [D1, -D3, D2]; F = E Rz(t5);
    // G = F Rx(+90) = [F1, F3, -F2]; R = G Rz(t6).
    const ArmFrame C = MakeArmFrame(t.c1, t.s1, c23, s23);
    for (int i = 0; i < 3; ++i) {
        const double d1 = C.a[i] * t.c4 + C.b[i] * t.s4;
        const double d2 = C.a[i] * -t.s4 + C.b[i] * t.c4;
        const double e2 = -C.c[i];
        const double f1 = d1 * t.c5 + e2 * t.s5;
        const double f2 = d1 * -t.s5 + e2 * t.c5;
        r[i][0] = f1 * t.c6 + d2 * t.s6;
        r[i][1] = f1 * -t.s6 + d2 * t.c6;
        r[i][2] = -f2;
    }
}

// At a half turn the differences r32 - r23, r13 - r31, r21 - r12 vanish
// (sin gamma = 0) and their signs say nothing of the axis; the symmetric
// part still holds it: r_ij + r_ji = 2 (1 - cg) u_i u_j. Below this sum of
// their sizes (rounding of a turn by a few 1e-16), the axis's signs come from
// there, the largest component taken positive (u and -u are the same half
// turn).
constexpr double kHalfTurnDifferences = 1e-9;

void HalfTurnSigns(const double r[3][3], double* ux, double* uy, double* uz)
{
    double* u[3] = {ux, uy, uz};
    int k = 0;
    for (int i = 1; i < 3; ++i)
        if (*u[i] > *u[k])
            k = i;
    for (int i = 0; i < 3; ++i)
        if (i != k && r[i][k] + r[k][i] < 0)
            *u[i] = -*u[i];
}

}  // namespace

void ComputeMGD(const ArmLengths& lengths, const JointAngles& angles, ToolPose* pose)
{
    const JointTrig t = TrigOf(angles);
    RowPosition(lengths, MakeArmRow(lengths, t.c2, t.s2), t.c1, t.s1, t.c3, t.s3, &pose->X, &pose->Y, &pose->Z);
    double r[3][3];
    HandRotation(t, r);
    RotationToPose(r, pose);
}

void RotationToPose(const double r[3][3], ToolPose* pose)
{
    // Rotation angle and axis.
    const double cg = (r[0][0] + r[1][1] + r[2][2] - 1) / 2;
    const double dx = r[2][1] - r[1][2], dy = r[0][2] - r[2][0], dz = r[1][0] - r[0][1];
    const double gamma = std::atan2(0.5 * std::sqrt(dx * dx + dy * dy + dz * dz), cg);
    double ux = 0.0, uy = 0.0, uz = 0.0;
    if (!(cg >= 1.0)) {
        const double den = 1 - cg;
        ux = std::sqrt(AxisRadicand(r[0][0] - cg, den));
        uy = std::sqrt(AxisRadicand(r[1][1] - cg, den));
        uz = std::sqrt(AxisRadicand(r[2][2] - cg, den));
        if (std::fabs(dx) + std::fabs(dy) + std::fabs(dz) > kHalfTurnDifferences) {
            ux *= Sgn(dx);
            uy *= Sgn(dy);
            uz *= Sgn(dz);
        } else {
            HalfTurnSigns(r, &ux, &uy, &uz);
        }
    }
    // else: the identity (cg = 1 divides 0 by 0). Any axis is right for a
    // zero rotation; a zero axis gives alpha = beta = -0 below.

    // Axis direction as two angles. q = -sqrt(ux^2 + uy^2), taken through
    // the sine of alpha or, where that sine vanishes, its cosine. The sine
    // vanishes near alpha = 0 and also near +-180 (an axis with ux = 0 and
    // uy < 0, common at whole-degree angles): there sin(pi) = 1.2e-16 would
    // turn q into 0 and the axis into z.
    const double alpha = std::atan2(-ux, uy);
    const bool sineForm = std::fabs(alpha) > kKinThreshold && std::fabs(alpha) < M_PI - kKinThreshold;
    const double q = sineForm ? ux / std::sin(alpha) : -uy / std::cos(alpha);
    const double beta = std::atan2(q, uz);

    pose->alpha = static_cast<float>(alpha * kRadToDeg);
    pose->beta = static_cast<float>(beta * kRadToDeg);
    pose->gamma = static_cast<float>(gamma * kRadToDeg);
}

WristFrame ComputeMGDFrame(const ArmLengths& lengths, const JointAngles& angles)
{
    const JointTrig t = TrigOf(angles);
    WristFrame frame;
    RowPosition(lengths, MakeArmRow(lengths, t.c2, t.s2), t.c1, t.s1, t.c3, t.s3, frame.p);
    HandRotation(t, frame.r);
    return frame;
}

void ComputeMGDPosition(const ArmLengths& lengths, float a12, float a23, float a34, float* x, float* y, float* z)
{
    const double t1 = a12 * kDegToRad, t2 = a23 * kDegToRad, t3 = a34 * kDegToRad;
    RowPosition(lengths, MakeArmRow(lengths, std::cos(t2), std::sin(t2)), std::cos(t1), std::sin(t1), std::cos(t3),
                std::sin(t3), x, y, z);
}

double WristCentreDistance(const ArmLengths& lengths, const JointAngles& angles, const ToolPose& target)
{
    const double p[3] = {target.X, target.Y, target.Z};
    return WristCentreDistance(lengths, angles, p);
}

double WristCentreDistance(const ArmLengths& lengths, const JointAngles& angles, const double target[3])
{
    float x, y, z;
    ComputeMGDPosition(lengths, angles.A12, angles.A23, angles.A34, &x, &y, &z);
    return std::hypot(x - target[0], y - target[1], z - target[2]);
}

// ============================================================================
// 3. Target orientation
// ============================================================================

void PoseRotation(const ToolPose& pose, double m[3][3])
{
    const double a = pose.alpha * kDegToRad, b = pose.beta * kDegToRad, g = pose.gamma * kDegToRad;
    const double ux = std::sin(b) * std::sin(a);
    const double uy = -std::cos(a) * std::sin(b);
    const double uz = std::cos(b);
    const double cg = std::cos(g), sg = std::sin(g);
    const double v = 1 - cg;
    m[0][0] = v * ux * ux + cg;
    m[0][1] = v * ux * uy - sg * uz;
    m[0][2] = v * ux * uz + sg * uy;
    m[1][0] = v * ux * uy + sg * uz;
    m[1][1] = v * uy * uy + cg;
    m[1][2] = v * uy * uz - sg * ux;
    m[2][0] = v * ux * uz - sg * uy;
    m[2][1] = v * uy * uz + sg * ux;
    m[2][2] = v * uz * uz + cg;
}
