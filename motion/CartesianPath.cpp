// The Cartesian paths of the planned moves (see CartesianPath.h).
#include "motion/CartesianPath.h"

#include "kinematics/MGIExact.h"
#include "motion/SpeedProfile.h"

#include <kdl/path_circle.hpp>
#include <kdl/path_line.hpp>
#include <kdl/path_roundedcomposite.hpp>
#include <kdl/rotational_interpolation_sa.hpp>
#include <kdl/utilities/error.h>

#include <algorithm>
#include <cmath>

namespace {

// The spacing of the samples along a path.
constexpr double kMaxSampleDistance = 1.0;  // pose units
constexpr double kMaxSampleTurn = 0.5;      // degrees

// Two of an arc's points nearer than this are one (pose units): as close
// as the exact model reaches a target.
constexpr double kArcPointTolerance = kReachTolerance;
// The arc's points on one line when the angle between the chords from the
// start is under 1e-6 radians: the circle would be half a million times
// wider than the chords, as good as a line that KDL cannot turn on.
constexpr double kArcMinSine = 1e-6;

// KDL's rounded composite takes a corner that turns less than this
// (radians) as straight on, and one this near a half turn as a segment
// that comes back on the one before.
constexpr double kStraightCorner = 1e-7;

double EquivalentRadius(const PathSpeeds& speeds)
{
    return speeds.linear / (speeds.angular * kDegToRad);
}

bool Finite(const KDL::Vector& v)
{
    return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z());
}

bool Finite(const KDL::Frame& f)
{
    bool finite = Finite(f.p);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            finite = finite && std::isfinite(f.M(i, j));
    return finite;
}

bool Refuse(PlanFault reason, PlanFailure* failure)
{
    *failure = PlanFailure{};
    failure->reason = reason;
    return false;
}

// The path, its profile and their sampling. Trajectory_Segment owns the
// path and the profile from here on.
void Finish(std::unique_ptr<KDL::Path> geometry, const PathSpeeds& speeds, CartesianPath* path)
{
    // This constructor of Trajectory_Segment takes the profile as it is:
    // the path's length is set here.
    std::unique_ptr<KDL::VelocityProfile> profile = MakeSpeedProfile(speeds.linear, speeds.linearAccel);
    profile->SetProfile(0, geometry->PathLength());
    path->trajectory = std::make_unique<KDL::Trajectory_Segment>(geometry.release(), profile.release());
    // A unit of the path's length is at most one pose unit of travel and
    // 1 / eqradius radian of turn; the profile covers at most `linear` of
    // them per second.
    const double step = std::min(kMaxSampleDistance, kMaxSampleTurn * kDegToRad * EquivalentRadius(speeds));
    path->sampleTime = step / speeds.linear;
}

// Builds a path and finishes it, KDL's exceptions turned into refusals.
template <class Build>
bool Guarded(Build build, const PathSpeeds& speeds, CartesianPath* path, PlanFailure* failure)
{
    try {
        Finish(build(), speeds, path);
    } catch (const KDL::Error_MotionPlanning_Circle_ToSmall&) {
        return Refuse(PlanFault::ArcPointsCoincide, failure);
    } catch (const KDL::Error_MotionPlanning_Circle_No_Plane&) {
        return Refuse(PlanFault::ArcPointsAligned, failure);
    } catch (const KDL::Error& e) {
        Refuse(PlanFault::PathRefusedByKdl, failure);
        failure->kdlError = e.GetType();
        return false;
    }
    return true;
}

// KDL's circle through the start, the via point (start + a) and the end
// (start + b): the centre, a point a quarter turn on from the start in the
// direction of travel, and the angle from the start to the end that way
// round.
std::unique_ptr<KDL::Path> Circle(const KDL::Frame& from, const KDL::Vector& a, const KDL::Vector& b,
                                  const KDL::Rotation& end, double eqradius)
{
    const KDL::Vector n = a * b;
    const KDL::Vector centre = from.p + (KDL::dot(a, a) * (b * n) + KDL::dot(b, b) * (n * a)) / (2 * KDL::dot(n, n));
    // The three points go round counterclockwise about n.
    const KDL::Vector normal = n / n.Norm();
    KDL::Vector x = from.p - centre, u = from.p + b - centre;
    const double radius = x.Normalize();
    u.Normalize();
    double angle = std::atan2(KDL::dot(x * u, normal), KDL::dot(x, u));
    if (angle <= 0)
        angle += 2 * M_PI;
    auto orientation = std::make_unique<KDL::RotationalInterpolation_SingleAxis>();
    auto circle = std::make_unique<KDL::Path_Circle>(from, centre, centre + radius * (normal * x), end, angle,
                                                     orientation.get(), eqradius);
    orientation.release();  // the circle owns it now; had KDL thrown, it would not
    return circle;
}

std::unique_ptr<KDL::Path> Line(const KDL::Frame& from, const KDL::Frame& to, double eqradius)
{
    auto orientation = std::make_unique<KDL::RotationalInterpolation_SingleAxis>();
    auto line = std::make_unique<KDL::Path_Line>(from, to, orientation.get(), eqradius);
    orientation.release();  // the line owns it now
    return line;
}

std::unique_ptr<KDL::Path> Rounded(const std::vector<KDL::Frame>& frames, double radius, double eqradius)
{
    auto orientation = std::make_unique<KDL::RotationalInterpolation_SingleAxis>();
    auto rounded = std::make_unique<KDL::Path_RoundedComposite>(radius, eqradius, orientation.get());
    orientation.release();  // the composite owns it now
    for (const KDL::Frame& frame : frames)
        rounded->Add(frame);
    rounded->Finish();
    return rounded;
}

bool RefuseSegment(PlanFault reason, std::size_t segment, double radius, double length, double corners,
                   PlanFailure* failure)
{
    Refuse(reason, failure);
    failure->segment = static_cast<int>(segment) + 1;
    failure->value = radius;
    failure->length = length;
    failure->corners = corners;
    return false;
}

// The rounded corners fit their segments: the radius at most half of each,
// no segment turning straight back, and each segment longer than what its
// corners' roundings take of it (KDL's rule: from a corner that turns by
// `turn`, the rounding starts radius / tan((pi - turn) / 2) back).
bool CheckCorners(const std::vector<KDL::Frame>& frames, double radius, PlanFailure* failure)
{
    const std::size_t segments = frames.size() - 1;
    std::vector<double> length(segments);
    std::vector<KDL::Vector> direction(segments);
    for (std::size_t i = 0; i < segments; ++i) {
        direction[i] = frames[i + 1].p - frames[i].p;
        length[i] = direction[i].Normalize();
        if (radius > length[i] / 2)
            return RefuseSegment(PlanFault::BlendTooLarge, i, radius, length[i], 0, failure);
    }
    // setback[i]: along both segments of the corner at the end of segment i.
    std::vector<double> setback(segments, 0.0);
    for (std::size_t i = 0; i + 1 < segments; ++i) {
        const double turn = std::acos(std::clamp(KDL::dot(direction[i], direction[i + 1]), -1.0, 1.0));
        if (M_PI - turn < kStraightCorner)
            return RefuseSegment(PlanFault::BlendReversal, i + 1, radius, length[i + 1], 0, failure);
        if (turn >= kStraightCorner)
            setback[i] = radius / std::tan((M_PI - turn) / 2);
    }
    // A rounding that ends just where the next one starts is one KDL may
    // count as too long by its rounding: taken as the whole segment.
    for (std::size_t i = 0; i < segments; ++i) {
        const double corners = (i > 0 ? setback[i - 1] : 0.0) + setback[i];
        if (corners >= length[i] * (1 - 1e-9))
            return RefuseSegment(PlanFault::BlendTooLarge, i, radius, length[i], corners, failure);
    }
    return true;
}

}  // namespace

bool MakeLinePath(const KDL::Frame& from, const KDL::Frame& to, const PathSpeeds& speeds, CartesianPath* path,
                  PlanFailure* failure)
{
    if (!CheckPathSpeeds(speeds, failure))
        return false;
    if (!Finite(from) || !Finite(to))
        return Refuse(PlanFault::InvalidTarget, failure);
    return Guarded([&] { return Line(from, to, EquivalentRadius(speeds)); }, speeds, path, failure);
}

bool MakeArcPath(const KDL::Frame& from, const KDL::Vector& via, const KDL::Frame& to, const PathSpeeds& speeds,
                 CartesianPath* path, PlanFailure* failure)
{
    if (!CheckPathSpeeds(speeds, failure))
        return false;
    if (!Finite(from) || !Finite(via) || !Finite(to))
        return Refuse(PlanFault::InvalidTarget, failure);
    const KDL::Vector a = via - from.p, b = to.p - from.p;
    if (a.Norm() <= kArcPointTolerance || b.Norm() <= kArcPointTolerance || (b - a).Norm() <= kArcPointTolerance)
        return Refuse(PlanFault::ArcPointsCoincide, failure);
    if ((a * b).Norm() <= kArcMinSine * a.Norm() * b.Norm())
        return Refuse(PlanFault::ArcPointsAligned, failure);
    return Guarded([&] { return Circle(from, a, b, to.M, EquivalentRadius(speeds)); }, speeds, path, failure);
}

bool MakeBlendedPath(const std::vector<KDL::Frame>& frames, double radius, const PathSpeeds& speeds,
                     CartesianPath* path, PlanFailure* failure)
{
    if (!CheckPathSpeeds(speeds, failure))
        return false;
    const bool finite = std::all_of(frames.begin(), frames.end(), [](const KDL::Frame& f) { return Finite(f); });
    if (frames.size() < 2 || !finite || !(radius > 0 && std::isfinite(radius)))
        return Refuse(PlanFault::InvalidTarget, failure);
    if (!CheckCorners(frames, radius, failure))
        return false;
    return Guarded([&] { return Rounded(frames, radius, EquivalentRadius(speeds)); }, speeds, path, failure);
}
