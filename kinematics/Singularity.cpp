// Distances to the arm's singularities (see Singularity.h).
#include "kinematics/Singularity.h"

#include <cmath>

namespace {

// Degrees from the nearest multiple of 180: how far sin(angle) is from 0.
// (Rounding rather than std::remainder, several times slower: a planner
// measures every sample.)
double DegreesFromHalfTurns(double degrees)
{
    return std::fabs(degrees - 180.0 * std::round(degrees / 180.0));
}

// |det J| of the wrist centre against A12, A23, A34. The base joint moves
// it across the plane of the arm by its distance r from the base axis; in
// that plane A23 and A34 move it as a two-link arm, a3 L |sin b| with b
// the elbow's bend. The columns being orthogonal across and within the
// plane, the determinant is their product.
double RawManipulability(double r, double a3, double link, double bendDegrees)
{
    return std::fabs(r * a3 * link * std::sin(bendDegrees * kDegToRad));
}

// The best pose: for a bend b, A23 can lay the wrist centre level with the
// upper arm's joint, at r = |a2| + sqrt(a3^2 + L^2 + 2 a3 L cos b), the
// largest r of that bend; what is left is one variable. A search by whole
// degrees finds its hill, a golden section its top.
double BestRawManipulability(const ArmLengths& l, double link)
{
    auto raw = [&](double bend) {
        const double planar = std::sqrt(std::fmax(0.0, l.a3 * l.a3 + link * link + 2 * l.a3 * link * std::cos(bend)));
        return RawManipulability(std::fabs(l.a2) + planar, l.a3, link, bend / kDegToRad);
    };
    const double degree = M_PI / 180;
    double best = 0;
    for (int d = 1; d < 180; ++d)
        if (raw(d * degree) > raw(best))
            best = d * degree;
    double low = best - degree, high = best + degree;
    const double golden = (std::sqrt(5.0) - 1) / 2;
    while (high - low > 1e-9) {
        const double a = high - golden * (high - low), b = low + golden * (high - low);
        if (raw(a) < raw(b))
            low = a;
        else
            high = b;
    }
    return raw((low + high) / 2);
}

}  // namespace

CSingularityMeter::CSingularityMeter(const ArmLengths& lengths)
    : m_Lengths(lengths), m_dLink(std::hypot(lengths.e, lengths.d)),
      m_dPhi(std::atan2(lengths.d, lengths.e) / kDegToRad), m_dBestRaw(BestRawManipulability(lengths, m_dLink))
{
}

SingularityMeasures CSingularityMeter::Measure(const JointAngles& angles) const
{
    float x, y, z;
    ComputeMGDPosition(m_Lengths, angles.A12, angles.A23, angles.A34, &x, &y, &z);
    SingularityMeasures m;
    m.wrist = DegreesFromHalfTurns(angles.A56);
    const double bend = angles.A34 - m_dPhi;
    m.elbow = DegreesFromHalfTurns(bend);
    m.shoulder = std::hypot(x, y);
    m.manipulability = m_dBestRaw > 0 ? RawManipulability(m.shoulder, m_Lengths.a3, m_dLink, bend) / m_dBestRaw : 0.0;
    return m;
}

double CSingularityMeter::ShoulderThreshold() const
{
    return kShoulderSingularFraction * (std::fabs(m_Lengths.a2) + m_Lengths.a3 + m_dLink);
}
