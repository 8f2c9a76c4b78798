// The exact MGI (see MGIExact.h).
#include "kinematics/MGIExact.h"

#include "kinematics/MGIGrid.h"
#include "kinematics/MGIWrist.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A bend whose sine is this close to 0 is a stretched or folded elbow, for
// telling a posture.
constexpr double kElbowSingularMargin = 1e-6;

// The two bends toward a wrist centre are taken as one, the elbow stretched
// or folded, only where that moves the wrist centre by no more than a few
// roundings of a single-precision pose (this share of the arm's reach):
// the bends that the rounding alone parts. Judged on the elbow's cosine
// instead, near a folded elbow whose links are nearly as long the two
// bends would be merged while still degrees of A23 apart, and the merged
// arm would miss the target.
constexpr double kMergeShareOfReach = 4.0 * FLT_EPSILON;

// Degrees within [-180, 180] from radians, through the inverse of the
// MGD's own factor, so that the MGD gets back the angle.
// Most angles come from atan2 and need no remainder, which is slow in the
// C library; within [-180, 180] it gives back its argument exactly.
float ToDegrees(double radians)
{
    const double degrees = radians / kDegToRad;
    return static_cast<float>(std::fabs(degrees) <= 180.0 ? degrees : std::remainder(degrees, 360.0));
}

// The arm angles of one configuration, before the wrist.
struct ArmSolution {
    float a12, a23, a34;
};

// The planar two-link arm of MGIExact.h: the elbow angles that bring the
// wrist centre nearest (rho, z), one or two of them. Out of reach the
// cosine leaves [-1, 1] and the arm stretches (or folds) toward the target.
int PlanarArm(const ArmLengths& l, float a12, double rho, double z, ArmSolution out[2])
{
    const double link = std::hypot(l.e, l.d);
    const double phi = std::atan2(l.d, l.e);
    const double cosine = (rho * rho + z * z - l.a3 * l.a3 - link * link) / (2.0 * l.a3 * link);
    const double reach = std::hypot(rho, z), merge = kMergeShareOfReach * (l.a3 + link);
    const double bend = cosine >= 1.0 || reach >= l.a3 + link - merge               ? 0.0
                        : cosine <= -1.0 || reach <= std::fabs(l.a3 - link) + merge ? kPi
                                                                                    : std::acos(cosine);
    const double toTarget = std::atan2(z, rho);
    const int roots = bend == 0.0 || bend == kPi ? 1 : 2;
    for (int i = 0; i < roots; ++i) {
        const double b = i == 0 ? bend : -bend;
        const double t2 = toTarget - std::atan2(link * std::sin(b), l.a3 + link * std::cos(b));
        out[i] = ArmSolution{a12, ToDegrees(t2), ToDegrees(b + phi)};
    }
    return roots;
}

// Where the wrist centre lies for the arm: its azimuth, its distance from
// the base axis and its height above the shoulder.
struct ArmTarget {
    double azimuth, reach, z;
};

ArmTarget ArmTargetOf(const ArmLengths& l, const double p[3])
{
    return {std::atan2(p[1], p[0]), std::hypot(p[0], p[1]), p[2] - l.h};
}

// The arm angles of one azimuth: A12 toward the target, or half a turn away
// reaching back over the base; one or two elbows.
int AzimuthArms(const ArmLengths& l, const ArmTarget& t, bool back, ArmSolution out[2])
{
    return back ? PlanarArm(l, ToDegrees(t.azimuth + kPi), -t.reach - l.a2, t.z, out)
                : PlanarArm(l, ToDegrees(t.azimuth), t.reach - l.a2, t.z, out);
}

// The arm angles: two azimuths times one or two elbows.
int SolveArm(const ArmLengths& l, const double p[3], ArmSolution out[4])
{
    const ArmTarget t = ArmTargetOf(l, p);
    const int n = AzimuthArms(l, t, false, out);
    return n + AzimuthArms(l, t, true, out + n);
}

// The closed-form wrist on the single-precision arm angles, with the
// MGD's own products: it makes up for their rounding. False at a
// singular wrist, which has no flipped twin.
bool ArmWrist(const double r[3][3], const ArmSolution& arm, double* t4, double* t5, double* t6)
{
    const double t1 = arm.a12 * kDegToRad, t2 = arm.a23 * kDegToRad, t3 = arm.a34 * kDegToRad;
    const double c2 = std::cos(t2), s2 = std::sin(t2), c3 = std::cos(t3), s3 = std::sin(t3);
    double m[3][3];
    MGIWristMatrix(r, std::cos(t1), std::sin(t1), c2 * c3 - s2 * s3, s2 * c3 + c2 * s3, m);
    return SolveWristExactly(m, t4, t5, t6);
}

// The six angles of an arm and its wrist, or of the wrist's flipped twin.
JointAngles WithWrist(const ArmSolution& arm, double t4, double t5, double t6, bool flip)
{
    const double s = flip ? kPi : 0.0;
    return {arm.a12, arm.a23, arm.a34, ToDegrees(t4 + s), ToDegrees(flip ? -t5 : t5), ToDegrees(t6 + s)};
}

bool Degenerate(const ArmLengths& l)
{
    return l.a3 == 0.0 || (l.e == 0.0 && l.d == 0.0);
}

// The grid model's arm angles, for arms and targets the closed form cannot
// take.
int GridArm(const ArmLengths& l, const ToolPose& target, ArmSolution out[1])
{
    JointAngles grid;
    ComputeMGI(l, target, &grid);
    out[0] = ArmSolution{grid.A12, grid.A23, grid.A34};
    return 1;
}

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

ArmPosture PostureOf(const ArmLengths& l, const JointAngles& a)
{
    const double t2 = a.A23 * kDegToRad, t3 = a.A34 * kDegToRad, t5 = a.A56 * kDegToRad;
    const double c2 = std::cos(t2), s2 = std::sin(t2), c3 = std::cos(t3), s3 = std::sin(t3);
    const double c23 = c2 * c3 - s2 * s3, s23 = s2 * c3 + c2 * s3;
    // In the plane of A12, from the upper arm's joint: the wrist centre
    // (the MGD's r - a2 and Z - h) and the elbow.
    const double wristRho = l.a3 * c2 + l.e * c23 + l.d * s23, wristZ = l.a3 * s2 + l.e * s23 - l.d * c23;
    const double elbowRho = l.a3 * c2, elbowZ = l.a3 * s2;
    // The bend: the forearm's turn against the upper arm, t3 - phi.
    const double bend = t3 - std::atan2(l.d, l.e);
    ElbowBend elbow;
    if (std::fabs(std::sin(bend)) <= kElbowSingularMargin)
        elbow = l.a3 * std::cos(bend) > 0.0 ? ElbowBend::Stretched : ElbowBend::Folded;
    else {
        const double cross = wristRho * elbowZ - wristZ * elbowRho;
        elbow = (wristRho >= 0.0 ? cross > 0.0 : cross < 0.0) ? ElbowBend::Up : ElbowBend::Down;
    }
    return ArmPosture{l.a2 + wristRho < 0.0, elbow, std::sin(t5) < 0.0};
}

void SolveMGIExact(const ArmLengths& l, const ToolPose& target, MGISolutions* solutions)
{
    bool finite = true;
    for (float ToolPose::*field : kPoseFields)
        finite = finite && std::isfinite(target.*field);

    WristFrame frame{{target.X, target.Y, target.Z}, {}};
    PoseRotation(target, frame.r);
    ArmSolution arms[4];
    const int armCount = finite && !Degenerate(l) ? SolveArm(l, frame.p, arms) : GridArm(l, target, arms);

    MGIConfiguration all[kMaxMGIConfigurations];
    int count = 0;
    double nearest = INFINITY;
    for (int i = 0; i < armCount; ++i) {
        const ArmSolution& arm = arms[i];
        double t4, t5, t6;
        const bool twin = ArmWrist(frame.r, arm, &t4, &t5, &t6);
        const double distance = WristCentreDistance(l, JointAngles{arm.a12, arm.a23, arm.a34, 0, 0, 0}, frame.p);
        nearest = std::fmin(nearest, distance);
        for (int flip = 0; flip < (twin ? 2 : 1); ++flip) {
            MGIConfiguration& c = all[count++];
            c.angles = WithWrist(arm, t4, t5, t6, flip);
            c.posture = PostureOf(l, c.angles);
            c.distance = distance;
        }
    }

    // Only the arms that come nearest count; the same angles reached twice
    // (two elbow roots a rounding apart) are one configuration.
    solutions->count = 0;
    solutions->distance = nearest;
    for (int i = 0; i < count; ++i) {
        const MGIConfiguration& c = all[i];
        if (std::isfinite(nearest) && !(c.distance <= nearest + kReachTolerance))
            continue;
        const bool seen = std::any_of(solutions->configurations, solutions->configurations + solutions->count,
                                      [&](const MGIConfiguration& s) { return SameAngles(s.angles, c.angles); });
        if (!seen)
            solutions->configurations[solutions->count++] = c;
    }
    if (!std::isfinite(nearest))
        solutions->distance = all[0].distance;
}

ArmBranch BranchOf(const ArmLengths& l, const JointAngles& angles)
{
    const ArmPosture posture = PostureOf(l, angles);
    const double bend = angles.A34 * kDegToRad - std::atan2(l.d, l.e);
    return {posture.back, std::sin(bend) > 0.0, posture.flipped};
}

bool SolveMGIBranch(const ArmLengths& l, const WristFrame& target, const ArmBranch& branch, JointAngles* angles,
                    double* distance)
{
    bool finite = true;
    for (double v : target.p)
        finite = finite && std::isfinite(v);
    for (const double(&row)[3] : target.r)
        for (double v : row)
            finite = finite && std::isfinite(v);
    if (!finite || Degenerate(l))
        return false;

    // PlanarArm gives the positive bend first; at a stretched or folded
    // elbow both bends are that one.
    ArmSolution elbows[2];
    const int n = AzimuthArms(l, ArmTargetOf(l, target.p), branch.back, elbows);
    const ArmSolution& arm = elbows[n == 2 && !branch.bendPositive ? 1 : 0];
    double t4, t5, t6;
    const bool twin = ArmWrist(target.r, arm, &t4, &t5, &t6);
    *angles = WithWrist(arm, t4, t5, t6, twin && branch.flipped);
    *distance = WristCentreDistance(l, *angles, target.p);
    return true;
}
