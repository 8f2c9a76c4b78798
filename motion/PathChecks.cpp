// What every point of a Cartesian motion must pass (see PathChecks.h).
#include "motion/PathChecks.h"

#include <cmath>

JointAngles Unwrapped(const JointAngles& angles, const JointAngles& previous)
{
    // Rounding the turns rather than std::remainder, several times slower,
    // on a path of a thousand samples.
    JointAngles continuous;
    for (float JointAngles::*field : kJointFields) {
        const double turn = static_cast<double>(angles.*field) - previous.*field;
        continuous.*field = static_cast<float>(previous.*field + (turn - 360.0 * std::round(turn / 360.0)));
    }
    return continuous;
}

double LargestTurn(const JointAngles& from, const JointAngles& to, int* joint)
{
    double largest = 0;
    *joint = 0;
    for (int i = 0; i < 6; ++i) {
        const double d = std::fabs(static_cast<double>(to.*kJointFields[i]) - from.*kJointFields[i]);
        if (d > largest) {
            largest = d;
            *joint = i;
        }
    }
    return largest;
}

bool SolveOnBranch(const ArmLengths& lengths, const WristFrame& wrist, const ArmBranch& branch, JointAngles* angles,
                   PlanFault* fault)
{
    double distance;
    if (!SolveMGIBranch(lengths, wrist, branch, angles, &distance)) {
        *fault = PlanFault::InvalidTarget;
        return false;
    }
    if (distance <= kReachTolerance)
        return true;
    // Which branches reach depends only on the side of the base axis.
    ArmBranch other = branch;
    other.back = !other.back;
    JointAngles elsewhere;
    const bool otherReaches =
        SolveMGIBranch(lengths, wrist, other, &elsewhere, &distance) && distance <= kReachTolerance;
    *fault = otherReaches ? PlanFault::ConfigurationChange : PlanFault::OutOfReach;
    return false;
}

namespace {

bool Refuse(PlanFault reason, int joint, double value, PlanFailure* failure)
{
    *failure = PlanFailure{};
    failure->reason = reason;
    failure->joint = joint;
    failure->value = value;
    return false;
}

}  // namespace

bool CheckPathAngles(const CSingularityMeter& meter, const JointLimits& limits, const JointAngles& angles,
                     PlanFailure* failure)
{
    const SingularityMeasures m = meter.Measure(angles);
    if (m.wrist < kWristSingularDegrees)
        return Refuse(PlanFault::WristSingularity, 4, std::remainder(angles.A56, 360.0), failure);
    if (m.elbow < kElbowSingularDegrees)
        return Refuse(PlanFault::ElbowSingularity, -1, m.elbow, failure);
    if (m.shoulder < meter.ShoulderThreshold())
        return Refuse(PlanFault::ShoulderSingularity, -1, m.shoulder, failure);
    for (int joint = 0; joint < 6; ++joint) {
        const float angle = angles.*kJointFields[joint];
        if (!(angle >= limits.low[joint] && angle <= limits.high[joint])) {
            Refuse(PlanFault::JointLimit, joint, angle, failure);
            failure->low = limits.low[joint];
            failure->high = limits.high[joint];
            return false;
        }
    }
    return true;
}
