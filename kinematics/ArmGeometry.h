#pragma once
// The arm's wrist-centre position and the frame of its first three joints,
// written once for the MGD and both inverse solvers. Internal to
// kinematics/: callers outside it use Kinematics.h.
//
// Bit-exactness matters here: the grid search keeps the nearest candidate
// with a less-or-equal rule, so a last-bit difference in a position can pick
// another candidate. Every caller that must agree goes through these inline
// functions, written in the order a + b + c + d evaluates (left to right, no
// contraction).
#include "kinematics/Kinematics.h"

// The wrist centre from the sines and cosines of the three arm joints, split
// so that a search over A34 computes the A23 part once per row.
struct ArmRow {
    double radial;  // a2 + a3*c2: the part of r fixed by A23
    double height;  // h + a3*s2: the part of Z fixed by A23
    double c2, s2;
};

inline ArmRow MakeArmRow(const ArmLengths& l, double c2, double s2)
{
    return {l.a2 + l.a3 * c2, l.h + l.a3 * s2, c2, s2};
}

inline void RowPosition(const ArmLengths& l, const ArmRow& row, double c1, double s1, double c3, double s3, double p[3])
{
    const double c23 = row.c2 * c3 - row.s2 * s3;
    const double s23 = row.s2 * c3 + row.c2 * s3;
    const double r = row.radial + l.e * c23 + l.d * s23;
    p[0] = c1 * r;
    p[1] = s1 * r;
    p[2] = row.height + l.e * s23 - l.d * c23;
}

// The same rounded to single precision, as a pose stores it.
inline void RowPosition(const ArmLengths& l, const ArmRow& row, double c1, double s1, double c3, double s3, float* x,
                        float* y, float* z)
{
    double p[3];
    RowPosition(l, row, c1, s1, c3, s3, p);
    *x = static_cast<float>(p[0]);
    *y = static_cast<float>(p[1]);
    *z = static_cast<float>(p[2]);
}

// C = Rz(t1) Rx(+90) Rz(t2+t3) Rx(+90), the rotation up to the forearm, by
// columns. The quarter turns are exact permutations with one sign change, so
// only the joint angles round.
struct ArmFrame {
    double a[3], b[3], c[3];
};

inline ArmFrame MakeArmFrame(double c1, double s1, double c23, double s23)
{
    return {{c1 * c23, s1 * c23, s23}, {s1, -c1, 0.0}, {c1 * s23, s1 * s23, -c23}};
}
