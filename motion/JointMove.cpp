// A synchronised joint move (see JointMove.h).
#include "motion/JointMove.h"

#include "kinematics/KdlFrames.h"
#include "motion/PlanBounds.h"
#include "motion/SpeedProfile.h"

#include <algorithm>
#include <cmath>

namespace {

// No joint turns more than this between two samples. The samples lie on
// the move's straight line whatever their spacing; the spacing only sets
// how closely the straight pieces between them follow the profile's
// timing, and how smooth the drawn path and the plotted curves look.
constexpr double kJointSampleStep = 0.5;  // degrees

PlannedSample SampleOf(const ArmLengths& lengths, double time, const JointAngles& angles)
{
    float x, y, z;
    ComputeMGDPosition(lengths, angles.A12, angles.A23, angles.A34, &x, &y, &z);
    return {time, angles, {x, y, z}};
}

bool RefuseTarget(const MoveSetup& setup, const JointAngles& target, int joint, PlanFailure* failure)
{
    *failure = PlanFailure{};
    const float angle = target.*kJointFields[joint];
    failure->reason = std::isfinite(angle) ? PlanFault::JointLimit : PlanFault::InvalidTarget;
    failure->joint = joint;
    failure->value = angle;
    failure->low = setup.limits.low[joint];
    failure->high = setup.limits.high[joint];
    if (failure->reason == PlanFault::JointLimit) {
        failure->placed = true;
        failure->fraction = 1.0;
        const KDL::Vector tool = (KdlFrameOf(ComputeMGDFrame(setup.lengths, target)) * setup.tool).p;
        std::copy(tool.data, tool.data + 3, failure->place);
    }
    return false;
}

}  // namespace

bool PlanJointMove(const MoveSetup& setup, const JointAngles& start, const JointAngles& target, double speedPercent,
                   CPlannedTrajectory* plan, PlanFailure* failure)
{
    if (!CheckMoveSetup(setup, speedPercent, failure))
        return false;
    for (int joint = 0; joint < 6; ++joint) {
        const float angle = target.*kJointFields[joint];
        if (!(angle >= setup.limits.low[joint] && angle <= setup.limits.high[joint]))
            return RefuseTarget(setup, target, joint, failure);
    }

    // The bounds of s: each joint covers |delta| of its way per unit of s.
    double delta[6], speed = INFINITY, acceleration = INFINITY, longest = 0;
    for (int joint = 0; joint < 6; ++joint) {
        delta[joint] = static_cast<double>(target.*kJointFields[joint]) - start.*kJointFields[joint];
        const double way = std::fabs(delta[joint]);
        if (way == 0)
            continue;
        speed = std::min(speed, setup.maxSpeed[joint] / way);
        if (!NoAccelerationLimit(setup.maxAccel[joint]))
            acceleration = std::min(acceleration, setup.maxAccel[joint] / way);
        longest = std::max(longest, way);
    }

    std::vector<PlannedSample> samples{SampleOf(setup.lengths, 0, start)};
    if (longest > 0) {
        const std::unique_ptr<KDL::VelocityProfile> profile = MakeSpeedProfile(speed, acceleration);
        profile->SetProfile(0, 1);
        const double duration = profile->Duration();
        // As a double: a tiny acceleration makes it far too large for any integer.
        const double steps = std::max(1.0, std::ceil(duration * speed * longest / kJointSampleStep));
        if (!CheckPlanBounds(duration, steps + 1, failure))
            return false;
        for (int k = 1; k < steps; ++k) {
            const double t = duration * k / steps, s = profile->Pos(t);
            JointAngles angles;
            for (int joint = 0; joint < 6; ++joint)
                angles.*kJointFields[joint] = static_cast<float>(start.*kJointFields[joint] + s * delta[joint]);
            samples.push_back(SampleOf(setup.lengths, t, angles));
        }
        samples.push_back(SampleOf(setup.lengths, duration, target));
    }
    StretchTime(&samples, kMaxSpeedPercent / speedPercent);
    *plan = CPlannedTrajectory(std::move(samples));
    return true;
}
