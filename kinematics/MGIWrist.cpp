// The closed-form wrist of the MGI (see MGIWrist.h).
#include "kinematics/MGIWrist.h"

#include "kinematics/ArmGeometry.h"
#include "kinematics/Kinematics.h"

#include <cmath>

namespace {

// t4 and t6 from M = Rz(t4) Ry(t5) Rz(t6): atan2 on its third column and
// third row keeps the signs that square-root formulas lose. At a singular
// wrist only t4 + t6 (t5 = 0) or t6 - t4 (t5 = pi) is defined, and both
// come out of the second row with t4 = 0.
void WristEuler(const double m[3][3], bool singular, double* theta4, double* theta6)
{
    if (!singular) {
        *theta4 = std::atan2(m[1][2], m[0][2]);   // M23, M13
        *theta6 = std::atan2(m[2][1], -m[2][0]);  // M32, -M31
    } else {
        *theta4 = 0.0;
        *theta6 = std::atan2(m[1][0], m[1][1]);  // M21, M22
    }
}

// sin t5 below this is a singular wrist for the exact model. A pose holds its
// angles in single precision, which leaves the target rotation uncertain by
// about 1e-7: below 1e-6 the two wrists are one within that noise, and
// taking t4 = 0 changes the hand's rotation by no more than sin t5.
constexpr double kExactSingularSine = 1e-6;

}  // namespace

void MGIWristMatrix(const double r[3][3], double c1, double s1, double c23, double s23, double m[3][3])
{
    const ArmFrame C = MakeArmFrame(c1, s1, c23, s23);
    const double* columns[3] = {C.a, C.b, C.c};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m[i][j] = columns[i][0] * r[0][j] + columns[i][1] * r[1][j] + columns[i][2] * r[2][j];
}

double MGIWristCosine(const double r[3][3], double c1, double s1, double c23, double s23)
{
    double k;
    if (std::fabs(s23) <= kKinThreshold)
        k = -r[2][2] / c23;
    else
        k = s23 * (c1 * r[0][2] + s1 * r[1][2]) - c23 * r[2][2];
    // Rounding (or a target that the found arm cannot quite face) can push
    // the cosine out of range; a clamped value keeps the square root real.
    if (k > 1.0)
        k = 1.0;
    else if (k < -1.0)
        k = -1.0;
    return k;
}

void MGIWristEuler(const double r[3][3], double c1, double s1, double c23, double s23, double theta5, double* theta4,
                   double* theta6)
{
    double m[3][3];
    MGIWristMatrix(r, c1, s1, c23, s23, m);
    WristEuler(m, std::fabs(std::sin(theta5)) <= kKinThreshold, theta4, theta6);
}

void SolveMGIWrist(const ToolPose& pose, double theta1, float bestA23, float bestA34, JointAngles* angles)
{
    double r[3][3];
    PoseRotation(pose, r);
    const double t2 = bestA23 * kDegToRad, t3 = bestA34 * kDegToRad;
    const double s23 = std::sin(t3 + t2), c23 = std::cos(t3 + t2);
    const double s1 = std::sin(theta1), c1 = std::cos(theta1);
    const double k = MGIWristCosine(r, c1, s1, c23, s23);
    const double t5 = std::atan2(std::sqrt(1 - k * k), k);
    double t4, t6;
    MGIWristEuler(r, c1, s1, c23, s23, t5, &t4, &t6);
    angles->A23 = static_cast<float>(t2 * kRadToDeg);
    angles->A34 = static_cast<float>(t3 * kRadToDeg);
    angles->A45 = static_cast<float>(t4 * kRadToDeg);
    angles->A56 = static_cast<float>(t5 * kRadToDeg);
    angles->A67 = static_cast<float>(t6 * kRadToDeg);
}

bool SolveWristExactly(const double m[3][3], double* theta4, double* theta5, double* theta6)
{
    // Both the sine and the cosine of t5 from M: an arccosine of M33 alone
    // loses half the digits near a stretched wrist.
    const double sine = std::hypot(m[0][2], m[1][2]);
    *theta5 = std::atan2(sine, m[2][2]);
    const bool singular = sine <= kExactSingularSine;
    WristEuler(m, singular, theta4, theta6);
    return !singular;
}
